#pragma once

#include "mapdocument.h"
#include "mapview.h"
#include "preview.h"
#include "toolstate.h"
#include "zoom.h"

#include <QTimer>
#include <QWidget>

/// The surface of a map window: the board picture with the transparent overlay
/// (880 x 656) on top, at 100 % or zoomed. Mouse presses go to placement, mouse
/// moves over the overlay to the hover preview, driven by a 50 ms timer.
/// Every repaint covers only what changed: the rectangle a click or an undo
/// changed, the old and the new ghost.
///
/// The zoom changes only what is shown: the picture, the overlay and the
/// preview state keep picture coordinates, and every widget position is
/// taken to the picture pixel Zoom::pixelAt gives for it, for presses, moves
/// and the ghost alike.
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

    board::Zoom zoom() const { return m_zoom; }
    /// Shows the map at `zoom`; the caller keeps the view in place.
    void setZoom(board::Zoom zoom);
    /// The picture pixel under a widget position.
    QPoint pictureAt(const QPointF &position) const { return m_zoom.pixelAt(position); }
    /// The size of board picture and overlay together, in picture pixels.
    QSize pictureSize() const;

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
    void moveEvent(QMoveEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void updateCursor();
    void showChanges();
    void repaintPicture(const QRegion &pictureRegion);
    void followPointer();
    QPointF exactPosition(const QMouseEvent *event) const;

    MapDocument &m_document;
    ToolState &m_tool;
    PreviewState &m_preview;
    board::Overlay m_overlay;
    MapView m_view;
    QTimer m_timer;
    board::Zoom m_zoom;
    board::OverlayCursor m_cursorShown = board::OverlayCursor::CrossHair;
    board::Zoom m_cursorZoom;
    qreal m_cursorRatio = 1; ///< the display scale the cursor was made for
    bool m_cursorSet = false;
    QPointF m_pointer; ///< where the pointer last moved, in global coordinates
};
