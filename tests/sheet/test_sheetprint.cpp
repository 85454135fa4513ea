// The print command end to end (into a PDF file that poppler rasterises) and
// the preview buttons.
#include "bmpcodec.h"
#include "errors.h"
#include "forkedchild.h"
#include "pdfpage.h"
#include "raster.h"
#include "scripteddialogs.h"
#include "sheet.h"
#include "sheetprint.h"
#include "testhelpers.h"

#include <QFile>
#include <QPageLayout>
#include <QPrinter>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/resource.h>

namespace {

QuestDocument sampleQuest()
{
    QuestDocument doc;
    doc.title = QStringLiteral("Die Gruft des Hexers");
    doc.intro = QStringList{QStringLiteral("Tief unter der Stadt liegt die alte Gruft."),
                            QStringLiteral("Findet den Hexer und bringt sein Buch zurück.")};
    doc.introSize = 12;
    doc.active[QuestDocument::A] = true;
    doc.notes[QuestDocument::A] = QStringList{QStringLiteral("Eine Falle im Gang."),
                                              QStringLiteral("Sie löst bei jedem Schritt aus.")};
    doc.monster = QStringLiteral("Goblin");
    return doc;
}

QImage darkMap()
{
    return solidPicture(880, 656, qRgb(20, 20, 20));
}

// Page pixel at 100 dpi of a position in millimetres.
int px(double mm)
{
    return int(mm * 100.0 / 25.4);
}

bool dark(const QImage &page, int x, int y)
{
    return qGray(page.pixel(x, y)) < 100;
}

bool anyDark(const QImage &page, double leftMm, double topMm, double rightMm, double bottomMm)
{
    for (int y = px(topMm); y <= px(bottomMm); ++y)
        for (int x = px(leftMm); x <= px(rightMm); ++x)
            if (dark(page, x, y))
                return true;
    return false;
}

int firstDarkColumn(const QImage &page, int row, int from)
{
    for (int x = from; x < page.width(); ++x)
        if (dark(page, x, row))
            return x;
    return -1;
}

int firstDarkRow(const QImage &page, int left, int right, int from)
{
    for (int y = from; y < page.height(); ++y)
        for (int x = left; x <= right; ++x)
            if (dark(page, x, y))
                return y;
    return -1;
}

} // namespace

class TestSheetPrint : public QObject {
    Q_OBJECT

    ScriptedDialogs *m_dialogs = nullptr;
    QTemporaryDir m_dir;

    void setPdf(QPrinter &printer, const QString &name)
    {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(m_dir.filePath(name));
        printer.setResolution(600);
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setPageOrientation(QPageLayout::Portrait);
    }

    QImage rasterise(const QString &pdf) { return rasterisePdf(pdf); }

private Q_SLOTS:
    // The sheet prints its map 160 mm wide, 7,559 pixels at 1,200 dpi: a
    // wider map is read at that width (each pixel the mean of those it
    // covers, the height in proportion), one up to that width as it is.
    void sheetMapsAreReadAtMostAtThePrintedWidth()
    {
        QTemporaryDir dir;
        QImage stripes(2 * 7559, 4, QImage::Format_Indexed8);
        stripes.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < stripes.width(); ++x)
                stripes.scanLine(y)[x] = uchar(x & 1);
        const QString wide = dir.filePath(QStringLiteral("breit.bmp"));
        raster::writeBmpFile(stripes, wide, {1});
        const QImage reduced = sheet::readSheetMap(wide);
        QCOMPARE(reduced.size(), QSize(7559, 2));
        QCOMPARE(raster::pixel(reduced, 0, 0), qRgb(128, 128, 128));
        QCOMPARE(raster::pixel(reduced, 7558, 1), qRgb(128, 128, 128));

        const QImage narrowMap = stripes.copy(0, 0, 7559, 3);
        const QString narrow = dir.filePath(QStringLiteral("schmal.bmp"));
        raster::writeBmpFile(narrowMap, narrow, {8});
        QCOMPARE(sheet::readSheetMap(narrow), raster::readBmpFile(narrow));
        QCOMPARE(sheet::readSheetMap(narrow).size(), QSize(7559, 3));
    }

    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QFont::insertSubstitution(sheet::kDefaultFace, QStringLiteral("DejaVu Sans"));
    }
    // Only the print dialog may be asked; it is confirmed unless a test says otherwise.
    void init()
    {
        m_dialogs = new ScriptedDialogs;
        m_dialogs->printAnswers << true;
    }
    void cleanup()
    {
        QCOMPARE(m_dialogs->openQuestions.size() + m_dialogs->saveQuestions.size() +
                     m_dialogs->questions.size() + m_dialogs->errors.size(),
                 0);
        delete m_dialogs;
    }

    // The sheet printed into a PDF and rasterised at 100 dpi: the map, the
    // scroll and the legend lie at their millimetre positions from the sheet's
    // corner, whatever margins the printer keeps.
    void printedSheet_data()
    {
        QTest::addColumn<double>("marginLeft");
        QTest::addColumn<double>("marginTop");
        QTest::addColumn<bool>("fullPage");
        QTest::newRow("margins 12 and 17 mm") << 12.0 << 17.0 << false;
        QTest::newRow("full page") << 12.0 << 17.0 << true;
    }
    void printedSheet()
    {
        QFETCH(double, marginLeft);
        QFETCH(double, marginTop);
        QFETCH(bool, fullPage);
        if (QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty())
            QSKIP("pdftoppm is not installed");

        sheet::SheetPrinter printer;
        const QString name =
            QStringLiteral("sheet-%1.pdf").arg(QTest::currentDataTag()).replace(' ', '-');
        setPdf(printer.printer(), name);
        printer.printer().setPageMargins(QMarginsF(marginLeft, marginTop, marginLeft, marginTop),
                                         QPageLayout::Millimeter);
        printer.printer().setFullPage(fullPage);

        const QuestDocument doc = sampleQuest();
        printer.print(nullptr, doc, darkMap());
        QCOMPARE(m_dialogs->printCount, 1);

        // The working file is gone; the holders keep what was printed.
        QVERIFY(!printer.lastWorkingFile().isEmpty());
        QVERIFY(!QFile::exists(printer.lastWorkingFile()));
        QCOMPARE(printer.lastScroll(), composeScroll(doc));
        QCOMPARE(printer.lastLegend(), composeLegend(doc));

        const QImage page = rasterise(m_dir.filePath(name));
        QVERIFY(!page.isNull());
        QCOMPARE(page.width(), 827); // A4 at 100 dpi
        QVERIFY(page.height() >= 1169 && page.height() <= 1170);

        // Map: 25 to 185 mm across, 10 to 129.27 mm down.
        const int row = px(70);
        QVERIFY(std::abs(firstDarkColumn(page, row, 0) - px(25)) <= 1);
        int right = firstDarkColumn(page, row, 0);
        while (right < page.width() && dark(page, right, row))
            ++right;
        QVERIFY2(std::abs(right - px(185)) <= 1, qPrintable(QString::number(right)));
        QVERIFY(std::abs(firstDarkRow(page, px(100), px(110), 0) - px(10)) <= 1);
        int bottom = px(70);
        while (dark(page, px(60), bottom))
            ++bottom;
        QVERIFY2(std::abs(bottom - px(129.27)) <= 1, qPrintable(QString::number(bottom)));

        // Scroll: the title centred on 105 mm, 15 scroll rows below 130 mm.
        const double scrollMm = 140.0 / 492.0;
        QVERIFY(anyDark(page, 90, 130 + 15 * scrollMm, 120, 130 + 36 * scrollMm));
        QVERIFY(!anyDark(page, 176, 131, 205, 200)); // right of the scroll

        // Legend from 185 mm down at 25 mm: note text from its column 40, and
        // nothing left of it, right of it or below it.
        const double legendMm = 125.0 / 492.0;
        const int noteTop = firstDarkRow(page, px(25 + 40 * legendMm), px(150), px(180));
        QVERIFY2(noteTop >= px(185) && noteTop <= px(187.5), qPrintable(QString::number(noteTop)));
        const int legendLeft = firstDarkColumn(page, px(185 + 50 * legendMm), px(15));
        QVERIFY2(legendLeft >= px(25) && legendLeft <= px(26),
                 qPrintable(QString::number(legendLeft)));
        QVERIFY(!anyDark(page, 10, 130, 24, 280));
        QVERIFY(!anyDark(page, 152, 201, 205, 280));
        QVERIFY(!anyDark(page, 10, 268.5, 205, 290));
    }

    // The pictures go into the PDF without loss: none is stored as JPEG, and
    // the scroll rendered from the PDF equals the composed scroll pixel for
    // pixel. (Rendered at five times its own resolution, where poppler
    // replicates pixels instead of smoothing them, and read at the centre of
    // each of its pixels.)
    void picturesArePrintedLossless()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty())
            QSKIP("pdftoppm is not installed");
        sheet::SheetPrinter printer;
        const QString pdf = m_dir.filePath(QStringLiteral("lossless.pdf"));
        setPdf(printer.printer(), QStringLiteral("lossless.pdf"));
        printer.printer().setPageMargins(QMarginsF(12, 17, 12, 17), QPageLayout::Millimeter);
        // A map of fine detail, which JPEG blurs.
        QImage map(880, 656, QImage::Format_RGB32);
        for (int y = 0; y < map.height(); ++y)
            for (int x = 0; x < map.width(); ++x)
                map.setPixel(x, y, (x + y) % 2 ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
        const QuestDocument doc = sampleQuest();
        printer.print(nullptr, doc, map);

        const QByteArray bytes = readBytes(pdf);
        QCOMPARE(bytes.count("/Subtype /Image"), 3);
        QCOMPARE(bytes.count("/DCTDecode"), 0);

        const QImage scroll = composeScroll(doc).convertToFormat(QImage::Format_RGB32);
        const sheet::DeviceInfo device = sheet::deviceInfo(printer.printer());
        const QVector<sheet::DeviceRect> rects =
            sheet::sheetRects(map, scroll, composeLegend(doc), device);
        const QRectF rect = rects[1].toRect();
        // The legend, printed after the scroll, covers the scroll's lower left.
        const QRectF legend = rects[2].toRect();
        const double printerDpi = printer.printer().resolution();
        // The scroll on the page, in printer pixels from the sheet's corner.
        const double left = rect.left() + device.offX, top = rect.top() + device.offY;
        const double dpi = 5.0 * printerDpi *
                           std::max(scroll.width() / rect.width(), scroll.height() / rect.height());
        const double toRender = dpi / printerDpi;
        const int cropX = int(left * toRender) - 2, cropY = int(top * toRender) - 2;
        const QImage rendered = rasterisePdf(pdf, dpi,
                                             QRect(cropX, cropY, int(rect.width() * toRender) + 4,
                                                   int(rect.height() * toRender) + 4));
        QVERIFY(!rendered.isNull());

        int compared = 0, differing = 0;
        for (int y = 0; y < scroll.height(); ++y)
            for (int x = 0; x < scroll.width(); ++x) {
                const QPointF centre(rect.left() + (x + 0.5) * rect.width() / scroll.width(),
                                     rect.top() + (y + 0.5) * rect.height() / scroll.height());
                if (legend.adjusted(-1, -1, 1, 1).contains(centre))
                    continue;
                const int px = int((centre.x() + device.offX) * toRender) - cropX;
                const int py = int((centre.y() + device.offY) * toRender) - cropY;
                ++compared;
                differing += rendered.pixel(px, py) != scroll.pixel(x, y);
            }
        QVERIFY(compared > scroll.width() * scroll.height() / 2);
        QCOMPARE(differing, 0);
    }

    void cancelledDialogPrintsNothing()
    {
        m_dialogs->printAnswers.clear();
        m_dialogs->printAnswers << false;
        sheet::SheetPrinter printer;
        setPdf(printer.printer(), QStringLiteral("cancelled.pdf"));
        printer.print(nullptr, sampleQuest(), darkMap());
        QCOMPARE(m_dialogs->printCount, 1);
        QVERIFY(!QFile::exists(m_dir.filePath(QStringLiteral("cancelled.pdf"))));
        QVERIFY(printer.lastWorkingFile().isEmpty());
        QVERIFY(printer.lastScroll().isNull());
    }

    void failures_data()
    {
        QTest::addColumn<QString>("output"); // empty: no destination
        QTest::addColumn<QString>("error");
        const QString missing = QStringLiteral("missing/folder/sheet.pdf");
        QTest::newRow("no printer") << QString() << errors::noPrinter();
        QTest::newRow("output cannot be written")
            << missing << QStringLiteral("Cannot create file %1");
    }
    void failures()
    {
        QFETCH(QString, output);
        QFETCH(QString, error);
        sheet::SheetPrinter printer;
        setPdf(printer.printer(), output);
        if (output.isEmpty()) { // a PDF printer without a file
            printer.printer().setOutputFileName(QString());
            printer.printer().setOutputFormat(QPrinter::PdfFormat);
        }
        const QString path = printer.printer().outputFileName();
        const QString text = errorOf([&] { printer.print(nullptr, sampleQuest(), darkMap()); });
        QCOMPARE(text, error.contains(QLatin1String("%1")) ? error.arg(path) : error);
        // The working file never outlives the print.
        if (!printer.lastWorkingFile().isEmpty())
            QVERIFY(!QFile::exists(printer.lastWorkingFile()));
        if (!output.isEmpty())
            QVERIFY(!printer.lastWorkingFile().isEmpty());
    }

    // A map that the memory cannot hold in the form the printer takes is
    // reported; nothing is printed and the old PDF stays as it was.
    void pictureThatCannotBeMadePrintsNothing()
    {
        SKIP_UNDER_MEMORY_LIMIT_WITH_SANITIZER();
        QTemporaryDir folder;
        const QString pdf = folder.filePath(QStringLiteral("alt.pdf"));
        QVERIFY(writeBytes(pdf, "alte Datei"));
        QImage map(12000, 12000, QImage::Format_Indexed8); // 144 MB, 576 MB as colour
        QVERIFY(!map.isNull());
        map.setColorCount(2);
        map.setColor(0, qRgb(40, 40, 40));
        map.setColor(1, qRgb(200, 200, 200));
        map.fill(1);
        sheet::SheetPrinter printer;
        setPdf(printer.printer(), QStringLiteral("unbenutzt.pdf"));
        printer.printer().setOutputFileName(pdf);
        const QString result = inForkedChild([&] {
            QFile statm(QStringLiteral("/proc/self/statm"));
            if (!statm.open(QIODevice::ReadOnly))
                return QStringLiteral("no statm");
            const rlim_t used =
                statm.readAll().split(' ').value(0).toULongLong() * rlim_t(sysconf(_SC_PAGESIZE));
            const rlimit limit{used + (300u << 20), RLIM_INFINITY};
            setrlimit(RLIMIT_AS, &limit);
            return errorOf([&] { printer.printWithoutDialog(sampleQuest(), map); });
        });
        QCOMPARE(result, errors::outOfMemory());
        QCOMPARE(readBytes(pdf), QByteArray("alte Datei"));
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"alt.pdf"});
    }

    // Any mouse button held on a preview button shows the composed picture;
    // the release brings the map back; the keyboard does nothing.
    void previewButtons()
    {
        QPushButton scrollButton(QStringLiteral("Schriftrolle"));
        QPushButton legendButton(QStringLiteral("Legende"));
        const QuestDocument doc = sampleQuest();
        QVector<QImage> shown;
        int restored = 0;
        new PreviewController(
            &scrollButton, &legendButton, [&] { return doc; },
            [&](const QImage &picture) { shown << picture; }, [&] { ++restored; });
        scrollButton.show();
        legendButton.show();

        QTest::mousePress(&scrollButton, Qt::LeftButton);
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown.last(), composeScroll(doc));
        QCOMPARE(restored, 0);
        QTest::mouseRelease(&scrollButton, Qt::LeftButton);
        QCOMPARE(restored, 1);

        QTest::mousePress(&legendButton, Qt::RightButton);
        QCOMPARE(shown.size(), 2);
        QCOMPARE(shown.last(), composeLegend(doc));
        QTest::mouseRelease(&legendButton, Qt::RightButton);
        QCOMPARE(restored, 2);

        legendButton.setFocus();
        QTest::keyClick(&legendButton, Qt::Key_Space);
        QCOMPARE(shown.size(), 2);
        QCOMPARE(restored, 2);
    }
};

QTEST_MAIN(TestSheetPrint)
#include "test_sheetprint.moc"
