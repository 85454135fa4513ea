#pragma once

#include "mapcanvas.h"
#include "mapdocument.h"
#include "preview.h"
#include "toolstate.h"

#include <QImage>
#include <QMdiSubWindow>
#include <QString>

#include <functional>

class QAction;
class QMenu;
class QScrollArea;

/// File rules of map documents, free of any window.
namespace mapfiles {

/// Caption of a map that has no file yet.
inline const QString kNewCaption = QStringLiteral("New*");
/// Filter of the open dialog.
inline const QString kOpenFilter = QStringLiteral("Bitmaps (*.bmp)|*.bmp");
/// Filter of the save dialog.
inline const QString kSaveFilter = QStringLiteral("Bitmaps|*.bmp");

/// Reads a map file. Throws DkError "Cannot open file %1" or "Bitmap image is
/// not valid"; an empty file is no picture either. `fileBits` receives the
/// file's bits per pixel, which its map window keeps for saving.
QImage readMap(const QString &path, int *fileBits = nullptr);

/// The path a save-as writes to: the chosen name as it is when it contains
/// ".bmp" anywhere (case-sensitive), otherwise the name with ".bmp" appended.
QString saveTarget(const QString &chosen);

/// A file that could not be opened, with the error's text.
struct Failure {
    QString path;
    QString error;
};

/// The one error report for the files of a drop that could not be opened:
/// for a single dropped file its own error text (as "Öffnen..." gives it),
/// for several files a list naming each file that failed with its error.
QString openFailures(const QList<Failure> &failures, int dropped);

/// The question asked before a modified map is closed.
QString closeQuestion(const QString &caption);

} // namespace mapfiles

/// One open map: a child window of the frame window showing a board picture
/// (MapCanvas in a scroll area) with its own menus "Karte" and "Bearbeiten",
/// which the frame window shows while this window is active, and the popup
/// menu of the overlay.
///
/// Each map window has its own zoom, from 25 % to 800 %: Ctrl+wheel zooms
/// about the pointer, the zoom keys (which the frame window carries, see
/// addZoomKeys) about the middle of the view. Zooming changes only what is
/// shown, never the picture.
///
/// The commands it shares with the frame window ("Neu", "Öffnen...",
/// "Beenden", the two tool modes) are passed on as signals. File errors are
/// thrown as DkError and reach the program-wide error report.
class MapWindow : public QMdiSubWindow {
    Q_OBJECT
public:
    /// A new map on the default board, caption "New*".
    MapWindow(ToolState &tool, PreviewState &preview, QWidget *parent = nullptr);
    /// A map showing a picture read from `path`, a file of `fileBits` bits per
    /// pixel (kept by every save of the map); the caption is the path.
    MapWindow(ToolState &tool, PreviewState &preview, QImage picture, const QString &path,
              int fileBits = 0, QWidget *parent = nullptr);

    MapDocument &document() { return m_document; }
    MapCanvas *canvas() const { return m_canvas; }
    /// The caption, which is also the file the map is saved to ("New*": none).
    QString caption() const { return m_caption; }
    bool isNew() const { return m_path.isEmpty(); }

    /// The menus merged into the frame window's menu bar while this window
    /// is the active child.
    QMenu *mapMenu() const { return m_mapMenu; }
    QMenu *editMenu() const { return m_editMenu; }
    /// The overlay's context menu.
    QMenu *popupMenu() const { return m_popup; }
    QAction *undoAction() const { return m_undo; }

    board::Zoom zoom() const { return m_canvas->zoom(); }
    /// The part of the window the map scrolls in, and the scroll area.
    QWidget *viewport() const;
    QScrollArea *scrollArea() const { return m_scroll; }

    /// Gives `frame` the zoom keys: Ctrl++ (also Ctrl+=, shifted or not, and
    /// the keypad's plus), Ctrl+- (and the keypad's minus), Ctrl+0 for
    /// 100 % and Ctrl+/ or Ctrl+9 for the whole board. They act on the map
    /// `activeMap` returns (if any), wherever the keyboard focus is in the
    /// frame. No menu shows them.
    static void addZoomKeys(QWidget *frame, std::function<MapWindow *()> activeMap);

public Q_SLOTS:
    /// Save: a map without a file asks for one. Returns false when the save
    /// dialog was cancelled; throws when the file cannot be written.
    bool save();
    /// Save as: returns false when cancelled.
    bool saveAs();
    /// Closes this window (asking first when modified).
    void closeMap();
    void undo();
    void copyToClipboard();
    void repairEdge();

    /// One zoom step up or down, about the middle of the view.
    void zoomIn();
    void zoomOut();
    /// 100 %, about the middle of the view.
    void zoomToActualSize();
    /// The largest zoom that shows the whole board in the window.
    void zoomToFit();
    /// Shows the map at `zoom`, keeping the picture point under `anchor` (a
    /// point of the viewport) where it is.
    void setZoom(board::Zoom zoom, const QPointF &anchor);

Q_SIGNALS:
    void newRequested();
    void openRequested();
    void quitRequested();
    void correctionModeRequested();
    void fillModeRequested();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void build();
    void setCaption(const QString &caption);
    void pictureChanged();
    void writeTo(const QString &path);

    ToolState &m_tool;
    PreviewState &m_preview;
    MapDocument m_document;
    QString m_path;
    int m_fileBits = 0;
    QString m_caption;
    QScrollArea *m_scroll = nullptr;
    MapCanvas *m_canvas = nullptr;
    QMenu *m_mapMenu = nullptr;
    QMenu *m_editMenu = nullptr;
    QMenu *m_popup = nullptr;
    QAction *m_undo = nullptr;
    int m_wheelAngle = 0; ///< Ctrl+wheel turned by less than one notch so far
};
