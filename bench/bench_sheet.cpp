// The quest sheet: composing the scroll and the legend, and one whole sheet
// printed into a PDF file at 600 dots per inch.

#include "dialogs.h"
#include "sheet.h"
#include "sheetprint.h"

#include <QApplication>
#include <QPrinter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

QuestDocument fullQuest()
{
    QuestDocument doc;
    doc.title = QStringLiteral("Die Gruft des Hexers");
    for (int i = 0; i < 6; ++i)
        doc.intro
            << QStringLiteral("Tief unter der Stadt liegt die alte Gruft, Zeile %1.").arg(i + 1);
    doc.introSize = 12;
    for (int n = 0; n < QuestDocument::NoteCount; ++n) {
        doc.active[std::size_t(n)] = true;
        doc.notes[std::size_t(n)] = {QStringLiteral("Eine Falle im Gang."),
                                     QStringLiteral("Sie löst bei jedem Schritt aus.")};
    }
    doc.monster = QStringLiteral("Goblin");
    return doc;
}

QImage boardLike()
{
    QImage map(880, 656, QImage::Format_RGB32);
    map.fill(qRgb(192, 192, 192));
    return map;
}

// The print dialog answered at once, with a PDF file as the printer.
class PdfDialogs : public Dialogs {
public:
    QString pdf;
    QString openFile(QWidget *, const QString &, const QString &, const QString &) override
    {
        return {};
    }
    QString saveFile(QWidget *, const QString &, const QString &, const QString &) override
    {
        return {};
    }
    Answer ask(QWidget *, const QString &) override { return Answer::No; }
    bool confirmOverwrite(QWidget *, const QString &, const QString &) override { return false; }
    void error(QWidget *, const QString &) override {}
    bool offerRestore(QWidget *, const QString &) override { return false; }
    bool print(QWidget *, QPrinter &printer) override
    {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        printer.setResolution(600);
        return true;
    }
};

} // namespace

static void ComposeScroll(benchmark::State &state)
{
    const QuestDocument doc = fullQuest();
    for (auto _ : state)
        benchmark::DoNotOptimize(composeScroll(doc));
}
BENCHMARK(ComposeScroll)->Unit(benchmark::kMicrosecond);

// The same without reading the scroll background from the artwork each time.
static void ComposeScrollBackgroundGiven(benchmark::State &state)
{
    const QuestDocument doc = fullQuest();
    const QImage background = sheet::scrollBackground();
    const double dpi = sheet::screenDpi();
    for (auto _ : state)
        benchmark::DoNotOptimize(sheet::composeScroll(doc, background, dpi));
}
BENCHMARK(ComposeScrollBackgroundGiven)->Unit(benchmark::kMicrosecond);

static void ComposeLegend(benchmark::State &state)
{
    const QuestDocument doc = fullQuest();
    for (auto _ : state)
        benchmark::DoNotOptimize(composeLegend(doc));
}
BENCHMARK(ComposeLegend)->Unit(benchmark::kMicrosecond);

// The three pictures drawn into a 600 dpi PDF page (printGraphics alone).
static void PrintGraphicsPdf600(benchmark::State &state)
{
    QTemporaryDir dir;
    const QuestDocument doc = fullQuest();
    const QImage map = boardLike();
    const QImage scroll = composeScroll(doc);
    const QImage legend = composeLegend(doc);
    for (auto _ : state) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setResolution(600);
        printer.setOutputFileName(dir.filePath(QStringLiteral("sheet.pdf")));
        const auto rects = sheet::sheetRects(map, scroll, legend, sheet::deviceInfo(printer));
        sheet::printGraphics(printer, {map, scroll, legend}, rects);
    }
}
BENCHMARK(PrintGraphicsPdf600)->Unit(benchmark::kMillisecond);

// "Quest drucken" whole: compose, working file out and back, page into a PDF.
static void PrintQuestSheetPdf600(benchmark::State &state)
{
    QTemporaryDir dir;
    PdfDialogs dialogs;
    dialogs.pdf = dir.filePath(QStringLiteral("sheet.pdf"));
    setDialogs(&dialogs);
    const QuestDocument doc = fullQuest();
    const QImage map = boardLike();
    sheet::SheetPrinter printer;
    for (auto _ : state)
        printer.print(nullptr, doc, map);
    setDialogs(nullptr);
    state.counters["pdf_bytes"] = double(QFileInfo(dialogs.pdf).size());
}
BENCHMARK(PrintQuestSheetPdf600)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
