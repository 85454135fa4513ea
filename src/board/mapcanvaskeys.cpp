// The map surface worked from the keyboard: a square cursor moved by the
// arrow keys, placing with Space or Return as a left click would.

#include "mapcanvas.h"

#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QPainter>

namespace {

// Width of the frame around the keyboard's square, in widget pixels.
constexpr int kFrameWidth = 2;

} // namespace

void MapCanvas::keyPressEvent(QKeyEvent *event)
{
    if (cursorKey(event))
        event->accept();
    else
        QWidget::keyPressEvent(event);
}

bool MapCanvas::cursorKey(const QKeyEvent *event)
{
    using board::keycursor::Step;
    if (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier) {
        openMenuAtKeySquare();
        return true;
    }
    if (event->modifiers() & ~Qt::KeypadModifier)
        return false;
    const auto step = [this](Step direction) {
        showKeyCursor(board::keycursor::moved(m_keySquare, direction, pictureSize()));
        return true;
    };
    switch (event->key()) {
    case Qt::Key_Left:
        return step(Step::Left);
    case Qt::Key_Right:
        return step(Step::Right);
    case Qt::Key_Up:
        return step(Step::Up);
    case Qt::Key_Down:
        return step(Step::Down);
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // A key held down places once, as one click does.
        if (!event->isAutoRepeat()) {
            showKeyCursor(board::keycursor::clamped(m_keySquare, pictureSize()));
            placeAt(board::keycursor::centre(m_keySquare));
        }
        return true;
    default:
        return false;
    }
}

void MapCanvas::showKeyCursor(board::Square square)
{
    QRegion dirty = keyFrameArea();
    m_keySquare = square;
    m_keyCursorShown = true;
    dirty += keyFrameArea();
    repaintPicture(dirty);
    drawKeyGhost();
    Q_EMIT keyCursorMoved(m_zoom.widgetRect(board::keycursor::block(m_keySquare)));
}

void MapCanvas::keyCursorTick()
{
    // A tool chosen while the cursor rests (from the popup menu, say) shows
    // at once: the keyboard has no move to wait for. While the pointer is on
    // the palette, the map shows no ghost, as for the mouse.
    if (m_keyCursorShown && hasFocus() && !m_preview.offMap &&
        (m_tool.mode != m_keyGhostMode || m_tool.stamp.cacheKey() != m_keyGhostStamp))
        drawKeyGhost();
}

void MapCanvas::drawKeyGhost()
{
    m_keyGhostMode = m_tool.mode;
    m_keyGhostStamp = m_tool.stamp.cacheKey();
    QRegion dirty = keyFrameArea();
    const QPoint centre = board::keycursor::centre(m_keySquare);
    if (board::kOverlayRect.contains(centre)) {
        // The ghost a pointer resting on the square's centre shows, drawn at
        // once and afresh: the tool may have changed since the last one.
        board::previewMouseMove(m_preview, m_overlay, centre.x(), centre.y());
        m_preview.previousSample = m_preview.mouse;
        m_preview.lastPreview = QPoint(-1, -1);
        dirty += board::previewTick(m_preview, m_tool, m_overlay);
        if (!m_timer.isActive())
            m_timer.start();
    } else {
        // Beyond the overlay of a large picture no ghost shows; the frame does.
        dirty += m_overlay.ghostRect();
        m_overlay.ghost = QImage();
    }
    repaintPicture(dirty);
}

void MapCanvas::hideKeyCursor()
{
    if (!m_keyCursorShown)
        return;
    const QRegion frame = keyFrameArea();
    m_keyCursorShown = false;
    repaintPicture(frame);
}

void MapCanvas::pointerTookOver(const QPoint &pos)
{
    // The user moved the mouse: the keyboard goes on from the square under it.
    const board::Square square = board::squareAt(pos.x(), pos.y());
    m_keySquare = board::keycursor::clamped(square, pictureSize());
    hideKeyCursor();
}

void MapCanvas::contextMenuEvent(QContextMenuEvent *event)
{
    // The right button opens the popup menu as it is pressed; the menu key
    // (or Shift+F10) opens it at the keyboard's square.
    if (event->reason() != QContextMenuEvent::Keyboard) {
        event->ignore();
        return;
    }
    openMenuAtKeySquare();
}

void MapCanvas::openMenuAtKeySquare()
{
    const QRect area = m_zoom.widgetRect(board::keycursor::block(m_keySquare));
    Q_EMIT overlayMenuRequested(mapToGlobal(area.center()));
}

void MapCanvas::focusInEvent(QFocusEvent *event)
{
    // Reached with Tab, the map shows at once where the keys work; back from
    // its popup menu, the cursor shows its ghost again.
    const Qt::FocusReason reason = event->reason();
    if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
        (reason == Qt::PopupFocusReason && m_keyCursorShown))
        showKeyCursor(m_keySquare);
    QWidget::focusInEvent(event);
}

void MapCanvas::focusOutEvent(QFocusEvent *event)
{
    // Left by the keyboard, the map's ghost goes as when the pointer leaves.
    // A popup menu or another window takes the focus only for a while.
    const Qt::FocusReason reason = event->reason();
    if (m_keyCursorShown && reason != Qt::PopupFocusReason &&
        reason != Qt::ActiveWindowFocusReason) {
        hideKeyCursor();
        repaintPicture(board::previewPointerLeft(m_preview, m_overlay));
    }
    QWidget::focusOutEvent(event);
}

QRegion MapCanvas::keyFrameArea() const
{
    if (!m_keyCursorShown)
        return QRegion();
    return QRegion(board::keycursor::block(m_keySquare));
}

void MapCanvas::paintKeyCursor(QPainter &painter)
{
    // Where the mode shows no ghost (restore, fill) or none shows just now,
    // a frame around the square marks it.
    if (!m_keyCursorShown || !m_overlay.ghost.isNull())
        return;
    const QRect area = m_zoom.widgetRect(board::keycursor::block(m_keySquare));
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBrush(Qt::NoBrush);
    // Dark outside and light inside: it shows on white, grey and black.
    painter.setPen(QPen(palette().color(QPalette::Highlight), kFrameWidth, Qt::SolidLine,
                        Qt::SquareCap, Qt::MiterJoin));
    painter.drawRect(QRectF(area).adjusted(kFrameWidth / 2.0, kFrameWidth / 2.0, -kFrameWidth / 2.0,
                                           -kFrameWidth / 2.0));
    painter.setPen(QPen(Qt::white, 1));
    painter.drawRect(area.adjusted(kFrameWidth, kFrameWidth, -kFrameWidth - 1, -kFrameWidth - 1));
    painter.restore();
}
