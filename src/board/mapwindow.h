#pragma once

#include "mapcanvas.h"
#include "mapdocument.h"
#include "preview.h"
#include "toolstate.h"
#include "userfiles.h"

#include <QImage>
#include <QMdiSubWindow>
#include <QString>

#include <functional>

class QAction;
class QMenu;
class QScrollArea;

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
/// "Beenden", the two tool modes) are passed on as signals. Its file is
/// written through mapfile; file errors are thrown as DkError and reach the
/// program-wide error report.
class MapWindow : public QMdiSubWindow {
    Q_OBJECT
public:
    /// A new map on the default board, caption "New*".
    MapWindow(ToolState &tool, PreviewState &preview, QWidget *parent = nullptr);
    /// A map read from the file `path` (see mapfile::read), handed over with
    /// std::move; every save writes it in its file's format. The caption is
    /// the path ("New*" for an empty path: a map without a file).
    MapWindow(ToolState &tool, PreviewState &preview, MapDocument document, const QString &path,
              QWidget *parent = nullptr);

    MapDocument &document() { return m_document; }
    MapCanvas *canvas() const { return m_canvas; }
    /// The caption: the file the map is saved to, as it shows ("New*": none).
    QString caption() const { return m_caption; }
    /// The file the map is saved to, exactly (see filenames); empty for a new
    /// map.
    QString filePath() const { return m_path; }
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
    /// Save: a map without a file asks for one. When its file was changed on
    /// the disk since it was opened or last saved, the user is asked first.
    /// Returns false when the save dialog was cancelled or the question was
    /// not answered Yes; throws when the file cannot be written.
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
    /// The picture changed (a click, undo, a repair).
    void changed();
    /// The map was written to its file.
    void saved();
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
    QString m_caption;
    userfiles::FileVersion m_fileVersion; ///< the file as read or last written
    QScrollArea *m_scroll = nullptr;
    MapCanvas *m_canvas = nullptr;
    QMenu *m_mapMenu = nullptr;
    QMenu *m_editMenu = nullptr;
    QMenu *m_popup = nullptr;
    QAction *m_undo = nullptr;
    int m_wheelAngle = 0; ///< Ctrl+wheel turned by less than one notch so far
};
