#include "mapcanvas.h"

#include "mapcursors.h"

#include <QMouseEvent>
#include <QPainter>
#include <QtMath>

namespace {

bool isWhole(qreal value)
{
    return value == qFloor(value);
}

} // namespace

MapCanvas::MapCanvas(MapDocument &document, ToolState &tool, PreviewState &preview, QWidget *parent)
    : QWidget(parent), m_document(document), m_tool(tool), m_preview(preview),
      m_view(document.picture())
{
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    setFixedSize(sizeHint());
    // Whatever changed before the first paint is painted anyway.
    m_document.takeChanged();
    m_timer.setInterval(50);
    connect(&m_timer, &QTimer::timeout, this, &MapCanvas::tick);
    m_timer.start();
}

QSize MapCanvas::pictureSize() const
{
    return m_document.picture().size().expandedTo(board::kOverlayRect.size());
}

QSize MapCanvas::sizeHint() const
{
    return m_zoom.widgetSize(pictureSize());
}

void MapCanvas::setZoom(board::Zoom zoom)
{
    if (zoom == m_zoom)
        return;
    m_zoom = zoom;
    setFixedSize(sizeHint());
    update();
    if (m_cursorSet)
        updateCursor();
}

void MapCanvas::pictureReplaced()
{
    showChanges();
}

void MapCanvas::repaintPicture(const QRegion &pictureRegion)
{
    const QRegion widgetRegion = m_zoom.widgetRegion(pictureRegion);
    const qreal ratio = devicePixelRatioF();
    if (isWhole(ratio)) {
        update(widgetRegion);
        return;
    }
    // A widget rectangle repaints the device pixels whose centres lie in it,
    // but a device pixel shows the picture pixel under its top-left corner:
    // the last device row and column showing a changed pixel may lie in the
    // next widget pixel.
    QRegion grown;
    for (const QRect &rect : widgetRegion)
        grown += rect.adjusted(0, 0, 1, 1);
    update(grown);
}

void MapCanvas::showChanges()
{
    const QRegion changed = m_document.takeChanged();
    m_view.pictureChanged(changed);
    repaintPicture(changed);
}

void MapCanvas::tick()
{
    QRegion dirty = board::previewTick(m_preview, m_tool, m_overlay);
    if (!dirty.isEmpty())
        dirty += keyFrameArea(); // shown again where the ghost went
    repaintPicture(dirty);
    keyCursorTick();
}

void MapCanvas::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    // Pixels stay crisp at any display scale: no smoothing when scaled.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    const QColor background = palette().color(QPalette::Window);
    // At 100 % on whole device pixels the painter's own scaling shows each
    // picture pixel where a click reaches it. At a fractional display scale
    // it samples device pixels at their centres, while a click goes by
    // their top-left corners: the view then maps each device pixel itself.
    const qreal ratio = devicePixelRatioF();
    const QTransform toDevice = painter.deviceTransform();
    const bool plain = m_zoom == board::Zoom() && toDevice.type() <= QTransform::TxScale &&
                       isWhole(toDevice.m11()) && isWhole(toDevice.m22()) &&
                       isWhole(toDevice.dx()) && isWhole(toDevice.dy());
    for (const QRect &dirty : event->region()) {
        if (plain)
            m_view.paint(painter, dirty, m_overlay, background);
        else
            m_view.paintZoomed(painter, dirty, m_overlay, background, m_zoom, ratio);
    }
    paintKeyCursor(painter);
}

QPointF MapCanvas::exactPosition(const QMouseEvent *event) const
{
    // Qt hands a child widget its mouse position rounded to whole logical
    // pixels; at a display scale of 2 that is half a device pixel off. The
    // position in the window keeps the fraction. (An event made up by the
    // program itself may carry the widget's own position there instead.)
    const QPointF inWindow = mapFrom(window(), event->scenePosition());
    const QPointF rounding = inWindow - event->position();
    if (qAbs(rounding.x()) <= 0.5 && qAbs(rounding.y()) <= 0.5)
        return inWindow;
    return event->position();
}

void MapCanvas::mousePressEvent(QMouseEvent *event)
{
    const QPoint pos = pictureAt(exactPosition(event));
    if (event->button() == Qt::RightButton && board::kOverlayRect.contains(pos)) {
        Q_EMIT overlayMenuRequested(event->globalPosition().toPoint());
        return;
    }
    // Zoomed out, the widget's last pixel may reach past the picture.
    if (event->button() != Qt::LeftButton || !QRect(QPoint(0, 0), pictureSize()).contains(pos))
        return;
    placeAt(pos);
}

void MapCanvas::placeAt(const QPoint &pos)
{
    m_document.mouseDown(Qt::LeftButton, pos.x(), pos.y(), m_tool);
    showChanges();
    Q_EMIT placed();
}

void MapCanvas::mouseMoveEvent(QMouseEvent *event)
{
    const QPointF at = exactPosition(event);
    const QPoint pos = pictureAt(at);
    if (!board::kOverlayRect.contains(pos)) {
        // The board picture beyond the overlay shows the plain arrow.
        unsetCursor();
        m_cursorSet = false;
        return;
    }
    updateCursor();
    // Qt makes up moves of its own when a window appears or scrolls under a
    // resting pointer. They are no move of the user: a map the pointer has
    // not moved over yet stays without a ghost.
    if (!event->spontaneous() && (!m_overlay.pointerOver || m_keyCursorShown))
        return;
    if (event->spontaneous())
        pointerTookOver(pos);
    m_pointer = mapToGlobal(at);
    board::previewMouseMove(m_preview, m_overlay, pos.x(), pos.y());
    if (!m_timer.isActive())
        m_timer.start();
}

void MapCanvas::moveEvent(QMoveEvent *event)
{
    // Zooming and scrolling move the map under a resting pointer.
    followPointer();
    QWidget::moveEvent(event);
}

void MapCanvas::resizeEvent(QResizeEvent *event)
{
    followPointer();
    QWidget::resizeEvent(event);
}

void MapCanvas::followPointer()
{
    // The pointer now rests over another picture pixel: the ghost follows it
    // there as after a move, so that it shows where a click would draw.
    if (!m_overlay.pointerOver || m_keyCursorShown)
        return;
    const QPoint pos = pictureAt(mapFromGlobal(m_pointer));
    if (board::kOverlayRect.contains(pos))
        board::previewMouseMove(m_preview, m_overlay, pos.x(), pos.y());
}

void MapCanvas::leaveEvent(QEvent *event)
{
    repaintPicture(board::previewPointerLeft(m_preview, m_overlay));
    QWidget::leaveEvent(event);
}

void MapCanvas::updateCursor()
{
    const board::OverlayCursor wanted = board::overlayCursor(m_tool.statusText());
    const qreal ratio = board::cursorPixelRatio(devicePixelRatioF());
    if (m_cursorSet && wanted == m_cursorShown && m_zoom == m_cursorZoom && ratio == m_cursorRatio)
        return;
    m_cursorShown = wanted;
    m_cursorZoom = m_zoom;
    m_cursorRatio = ratio;
    m_cursorSet = true;
    setCursor(board::overlayCursorFor(wanted, m_zoom, ratio));
}
