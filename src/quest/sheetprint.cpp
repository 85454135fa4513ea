#include "sheetprint.h"

#include "bmpcodec.h"
#include "dialogs.h"
#include "errors.h"
#include "printspooler.h"
#include "sheet.h"
#include "userfiles.h"

#include <QAbstractButton>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryFile>

#include <new>

namespace {

// The BMP file through which the scroll and legend pass on their way to the
// printer. It is private to this print and removed when the print ends, also
// when the print fails.
class WorkingFile {
public:
    WorkingFile() : m_file(folder() + QStringLiteral("/dkedit-XXXXXX.bmp")) {}

    // The temporary folder. Qt gives an empty path when TMPDIR names no
    // folder, which would put the file into the root folder; the folder as
    // named is taken then, so that the error names it.
    static QString folder()
    {
        const QString temp = QDir::tempPath();
        if (!temp.isEmpty())
            return temp;
        const QString named = QDir::cleanPath(qEnvironmentVariable("TMPDIR"));
        return named.isEmpty() || named == QLatin1String(".") ? QStringLiteral("/tmp") : named;
    }

    QString path() const { return m_file.fileName(); }

    void create()
    {
        if (!m_file.open())
            throw DkError(errors::cannotCreate(m_file.fileTemplate()));
    }

    // Writes the picture as BMP over whatever the file held and reads it back.
    QImage roundTrip(const QImage &picture)
    {
        const QByteArray data = raster::encodeBmp(picture);
        if (!m_file.resize(0) || !m_file.seek(0) || m_file.write(data) != data.size() ||
            !m_file.flush())
            throw DkError(errors::cannotCreate(path()));
        return raster::readBmpFile(path());
    }

private:
    QTemporaryFile m_file;
};

// Whether the file is a PDF written to its end: its last lines give the
// position of the cross-reference table ("startxref", the position, "%%EOF"),
// and the table is there. A write that failed part of the way (a full disk)
// leaves a file without them: Qt's PDF writer does not report it.
bool completePdf(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() < 16)
        return false;
    const qint64 size = file.size();
    const qint64 tailStart = std::max<qint64>(0, size - 1024);
    if (!file.seek(tailStart))
        return false;
    const QByteArray tail = file.readAll().trimmed();
    if (!tail.endsWith("%%EOF"))
        return false;
    const qsizetype at = tail.lastIndexOf("startxref");
    if (at < 0)
        return false;
    bool ok = false;
    const qint64 xref = tail.mid(at + 9, tail.size() - 5 - at - 9).trimmed().toLongLong(&ok);
    if (!ok || xref < 0 || xref >= tailStart + at || !file.seek(xref))
        return false;
    return file.read(4) == "xref";
}

// The picture in the form the printer's engine stores it: a black-and-white
// bitmap as it is, every other picture as 32-bit colour. Made here, before
// anything is printed, so that a picture the memory cannot hold is reported
// instead of being left out of the page by the engine without a word.
QImage drawable(const QImage &picture)
{
    const QVector<QRgb> blackWhite{qRgb(0, 0, 0), qRgb(255, 255, 255)};
    if (picture.isNull() || (picture.depth() == 1 && picture.colorTable() == blackWhite) ||
        picture.format() == QImage::Format_RGB32 || picture.format() == QImage::Format_ARGB32)
        return picture;
    const QImage converted = picture.convertToFormat(QImage::Format_ARGB32);
    if (converted.isNull())
        throw DkError(errors::outOfMemory());
    return converted;
}

} // namespace

sheet::DeviceInfo sheet::deviceInfo(const QPrinter &printer)
{
    DeviceInfo info;
    info.dpiX = printer.logicalDpiX();
    info.dpiY = printer.logicalDpiY();
    // The painter's origin is the top-left of the paint rectangle (the whole
    // sheet in full-page mode); its distance from the sheet's corner is what
    // the layout subtracts.
    const QPageLayout layout = printer.pageLayout();
    const QPoint origin = layout.paintRectPixels(printer.resolution()).topLeft() -
                          layout.fullRectPixels(printer.resolution()).topLeft();
    info.offX = origin.x();
    info.offY = origin.y();
    return info;
}

bool sheet::printGraphics(QPaintDevice &device, const QVector<QImage> &pictures,
                          const QVector<DeviceRect> &rects)
{
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    // The pictures go onto the page pixel for pixel: a PDF would otherwise
    // store them as JPEG, with speckles around every letter of the scroll.
    painter.setRenderHint(QPainter::LosslessImageRendering);
    const int count = std::min(pictures.size(), rects.size());
    for (int i = 0; i < count; ++i) {
        if (pictures[i].isNull())
            continue;
        painter.drawImage(rects[i].toRect(), pictures[i]);
    }
    return painter.end();
}

QVector<sheet::DeviceRect> sheet::sheetRects(const QImage &map, const QImage &scroll,
                                             const QImage &legend, const DeviceInfo &device)
{
    return {placeGraphicMm(map.size(), true, 25, 160, 10, device),
            placeGraphicMm(scroll.size(), true, 35, 140, 130, device),
            placeGraphicMm(legend.size(), true, 25, 125, 185, device)};
}

QImage sheet::readSheetMap(const QString &path)
{
    const int printedWidth = mmToDevice(1200, 160);
    const QImage picture = raster::readBmpFileReduced(path, printedWidth);
    if (picture.isNull())
        throw DkError(errors::invalidBitmap());
    return picture;
}

QString sheet::jobTitle(const QuestDocument &doc)
{
    const QString title = doc.title.simplified();
    return title.isEmpty() ? QStringLiteral("DK-Edit Quest") : title;
}

sheet::SheetPrinter::SheetPrinter()
    : m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution))
{
    m_printer->setCopyCount(1);
}

sheet::SheetPrinter::~SheetPrinter() = default;

void sheet::SheetPrinter::print(QWidget *parent, const QuestDocument &doc, const QImage &map)
{
    // Named before the dialog, whose file for printing to PDF follows the name.
    m_printer->setDocName(jobTitle(doc));
    if (dialogs().print(parent, *m_printer))
        printWithoutDialog(doc, map);
}

void sheet::SheetPrinter::printWithoutDialog(const QuestDocument &doc, const QImage &map)
{
    QPrinter &printer = *m_printer;
    const bool toFile = printer.outputFormat() == QPrinter::PdfFormat;
    if (!printer.isValid() || (toFile && printer.outputFileName().isEmpty()))
        throw DkError(errors::noPrinter());

    const QImage scroll = composeScroll(doc);
    const QImage legend = composeLegend(doc);

    WorkingFile working;
    working.create();
    m_workingFile = working.path();
    m_scroll = working.roundTrip(scroll);
    m_legend = working.roundTrip(legend);

    if (m_scroll.isNull() || m_legend.isNull())
        throw DkError(errors::outOfMemory());
    const QVector<QImage> pictures{drawable(map), drawable(m_scroll), drawable(m_legend)};
    const QVector<DeviceRect> rects = sheetRects(map, m_scroll, m_legend, deviceInfo(printer));
    printer.setDocName(jobTitle(doc));
    // The engine's own buffers may still run out: an error like any other,
    // with the job or the file given up.
    const auto print = [&] {
        try {
            return printGraphics(printer, pictures, rects);
        } catch (const std::bad_alloc &) {
            throw DkError(errors::outOfMemory());
        }
    };
    if (!toFile) {
        const printspooler::SpooledJob job(printer);
        if (!print())
            throw DkError(errors::noPrinter());
        job.checkAccepted();
        return;
    }

    // A PDF file is written beside the target under a name of its own and
    // takes the old file's place only when it is whole: a full disk leaves
    // the old file as it was and says so.
    const QString target = printer.outputFileName();
    userfiles::Replacement pdf(target);
    pdf.open();
    printer.setOutputFileName(pdf.temporaryPath());
    bool printed = false;
    try {
        printed = print();
    } catch (...) {
        printer.setOutputFileName(target);
        throw;
    }
    printer.setOutputFileName(target);
    if (!printed || !completePdf(pdf.temporaryPath()))
        throw DkError(errors::cannotCreate(target));
    pdf.commit();
}

void printQuestSheet(QWidget *parent, const QuestDocument &doc, const QImage &mapPicture)
{
    // One printer for the whole run, so the choices made in its dialog stay.
    static sheet::SheetPrinter printer;
    printer.print(parent, doc, mapPicture);
}

PreviewController::PreviewController(QAbstractButton *scrollButton, QAbstractButton *legendButton,
                                     std::function<QuestDocument()> document,
                                     std::function<void(const QImage &)> showUnstretched,
                                     std::function<void()> restore, QObject *parent)
    : QObject(parent ? parent : scrollButton), m_scrollButton(scrollButton),
      m_legendButton(legendButton), m_document(std::move(document)),
      m_show(std::move(showUnstretched)), m_restore(std::move(restore))
{
    // QPushButton's own pressed() answers the left button only; the previews
    // answer every mouse button, so they watch the raw mouse events.
    if (m_scrollButton)
        m_scrollButton->installEventFilter(this);
    if (m_legendButton)
        m_legendButton->installEventFilter(this);
}

bool PreviewController::eventFilter(QObject *watched, QEvent *event)
{
    const bool scroll = watched == m_scrollButton;
    const bool legend = watched == m_legendButton;
    if (!scroll && !legend)
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: // the second press of a double click
        if (m_document && m_show) {
            const QuestDocument doc = m_document();
            m_show(scroll ? scrollPreview(doc) : legendPreview(doc));
        }
        break;
    case QEvent::MouseButtonRelease:
        if (m_restore)
            m_restore();
        break;
    default:
        break;
    }
    // The button still gets the event: it looks pressed and keeps the mouse
    // until the release, wherever the pointer goes.
    return false;
}
