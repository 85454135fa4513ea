#pragma once

#include "mapdocument.h"
#include "mapview.h"
#include "preview.h"
#include "toolstate.h"

#include <QTimer>
#include <QWidget>

/// The surface of a map window: the board picture at its natural size with the
/// transparent overlay (880 x 656) on top. Mouse presses go to placement, mouse
/// moves over the overlay to the hover preview, driven by a 50 ms timer.
/// Every repaint covers only what changed: the rectangle a click or an undo
/// changed, the old and the new ghost.
class MapCanvas : public QWidget {
    Q_OBJECT
public:
    MapCanvas(MapDocument &document, ToolState &tool, PreviewState &preview,
              QWidget *parent = nullptr);

    MapDocument &document() { return m_document; }
    /// The overlay: the ghost it shows and whether the pointer is over it.
    const board::Overlay &overlay() const { return m_overlay; }
    QTimer &timer() { return m_timer; }

    /// Repaints what changed after the document's picture was changed from
    /// outside (undo, repair).
    void pictureReplaced();

    /// One timer tick (also called by tests instead of waiting 50 ms).
    void tick();

    QSize sizeHint() const override;

Q_SIGNALS:
    /// A left click was placed: the document is now modified.
    void placed();
    /// The right button was pressed on the overlay.
    void overlayMenuRequested(const QPoint &globalPos);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    void updateCursor();
    void showChanges();
    QRect overlayRect() const { return QRect(0, 0, board::kOverlayWidth, board::kOverlayHeight); }

    MapDocument &m_document;
    ToolState &m_tool;
    PreviewState &m_preview;
    board::Overlay m_overlay;
    MapView m_view;
    QTimer m_timer;
    board::OverlayCursor m_cursorShown = board::OverlayCursor::CrossHair;
    bool m_cursorSet = false;
};
