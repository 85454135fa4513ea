#pragma once

#include "questdocument.h"
#include "sheetlayout.h"

#include <QImage>
#include <QObject>
#include <QString>
#include <QVector>

#include <functional>
#include <memory>

class QAbstractButton;
class QPaintDevice;
class QPrinter;
class QWidget;

namespace sheet {

/// Resolution and printable-area offsets of a printer. The offsets are where
/// the printer's drawing coordinates start, measured from the sheet's corner
/// (zero when the printer draws on the full page).
DeviceInfo deviceInfo(const QPrinter &printer);

/// Draws picture i scaled into rectangle i, first to last, on one page of the
/// device; a later picture covers an earlier one. Returns false when the
/// device cannot be painted on (no printer, an output file that cannot be
/// written).
bool printGraphics(QPaintDevice &device, const QVector<QImage> &pictures,
                   const QVector<DeviceRect> &rects);

/// The sheet's three pictures on paper: map, scroll and legend.
QVector<DeviceRect> sheetRects(const QImage &map, const QImage &scroll, const QImage &legend,
                               const DeviceInfo &device);

/// The map picture of a sheet printed without the editor (the command line),
/// read from its file. The sheet prints a map 160 mm wide, which at the
/// printer's 1,200 dpi is 7,559 pixels: a wider map is reduced to that width
/// as it is read (see raster::readBmpFileReduced), so that a huge map does
/// not need gigabytes, and one up to that width is printed as it is. Throws
/// DkError as mapfile::read does.
QImage readSheetMap(const QString &path);

/// The title of the sheet's print job, by which spoolers list it and name
/// what they write: the quest's title, else "DK-Edit Quest".
QString jobTitle(const QuestDocument &doc);

/// The print command of the quest editor. Keeps the printer with the settings
/// chosen in its dialog from one print to the next, and the last printed
/// scroll and legend pictures.
class SheetPrinter {
public:
    SheetPrinter();
    ~SheetPrinter();

    /// Asks with the print dialog and prints the sheet on one page: the map
    /// picture, then the scroll and legend composed from the document. A
    /// cancelled dialog does nothing. The scroll and legend go through a BMP
    /// working file of their own (removed again in every case). Throws DkError
    /// "There is no default printer currently selected" when no printer is
    /// chosen, "Cannot create file %1" / "Cannot open file %1" when the working
    /// file or the output file fails, and the print spooler's own words when
    /// it refuses the job, and "Out of memory" when a picture cannot be made
    /// or drawn (nothing is printed then). A PDF file is written under a temporary
    /// name beside its target and replaces it only when it is complete: a
    /// failed print leaves any old file as it was.
    void print(QWidget *parent, const QuestDocument &doc, const QImage &map);

    /// The same with the printer as it is set now, without asking (the
    /// sheet written from the command line).
    void printWithoutDialog(const QuestDocument &doc, const QImage &map);

    QPrinter &printer() { return *m_printer; }

    /// The scroll and legend pictures of the last print, as read back from the
    /// working file; null before the first print.
    const QImage &lastScroll() const { return m_scroll; }
    const QImage &lastLegend() const { return m_legend; }

    /// Path the last print used for its working file (gone after the print).
    const QString &lastWorkingFile() const { return m_workingFile; }

private:
    std::unique_ptr<QPrinter> m_printer;
    QImage m_scroll;
    QImage m_legend;
    QString m_workingFile;
};

} // namespace sheet

/// "Quest drucken": prints the quest sheet with the program's one printer.
void printQuestSheet(QWidget *parent, const QuestDocument &doc, const QImage &mapPicture);

/// The two preview buttons of the quest editor: while any mouse button is held
/// down on one of them, the composed scroll or legend is shown unstretched;
/// the release restores the map. Keyboard activation does nothing. The
/// controller watches the buttons' mouse events and belongs to the scroll
/// button unless given a parent.
class PreviewController : public QObject {
    Q_OBJECT
public:
    PreviewController(QAbstractButton *scrollButton, QAbstractButton *legendButton,
                      std::function<QuestDocument()> document,
                      std::function<void(const QImage &)> showUnstretched,
                      std::function<void()> restore, QObject *parent = nullptr);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QAbstractButton *m_scrollButton;
    QAbstractButton *m_legendButton;
    std::function<QuestDocument()> m_document;
    std::function<void(const QImage &)> m_show;
    std::function<void()> m_restore;
};
