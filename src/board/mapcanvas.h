#pragma once

#include "keycursor.h"
#include "mapdocument.h"
#include "mapview.h"
#include "preview.h"
#include "toolstate.h"
#include "zoom.h"

#include <QTimer>
#include <QWidget>

class QPainter;

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
///
/// The map also works from the keyboard (mapcanvaskeys.cpp): with the focus
/// on the map, the arrow keys move a square cursor, shown as the ghost a
/// pointer resting on the square's centre would show (as a frame around the
/// square in the modes without a ghost), and Space or Return places as a left
/// click on that centre does.
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

    /// The square the keyboard works on, and whether its cursor shows.
    board::Square keySquare() const { return m_keySquare; }
    bool keyCursorShown() const { return m_keyCursorShown; }

Q_SIGNALS:
    /// A left click was placed: the document is now modified.
    void placed();
    /// The right button was pressed on the overlay, or the menu key with
    /// the focus on the map.
    void overlayMenuRequested(const QPoint &globalPos);
    /// The keyboard's square cursor moved to `widgetArea`, which should be
    /// scrolled into view.
    void keyCursorMoved(const QRect &widgetArea);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    // A left click at the picture pixel `pos`, from the mouse or the keyboard.
    void placeAt(const QPoint &pos);
    // The keyboard's square cursor (mapcanvaskeys.cpp).
    bool cursorKey(const QKeyEvent *event);
    void showKeyCursor(board::Square square);
    void drawKeyGhost();
    void keyCursorTick();
    void hideKeyCursor();
    void pointerTookOver(const QPoint &pos);
    QRegion keyFrameArea() const;
    void paintKeyCursor(QPainter &painter);
    void openMenuAtKeySquare();

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

    // The keyboard's square, and whether its cursor shows.
    board::Square m_keySquare{0, 0};
    bool m_keyCursorShown = false;
    board::Mode m_keyGhostMode = board::Mode::Interior; ///< the tool its ghost shows
    qint64 m_keyGhostStamp = 0;
};
