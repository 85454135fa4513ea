#include "mapcanvas.h"

#include "artwork.h"

#include <QMouseEvent>
#include <QPainter>

MapCanvas::MapCanvas(MapDocument &document, ToolState &tool, PreviewState &preview,
                     QWidget *parent)
    : QWidget(parent), m_document(document), m_tool(tool), m_preview(preview)
{
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFixedSize(sizeHint());
    m_timer.setInterval(50);
    connect(&m_timer, &QTimer::timeout, this, &MapCanvas::tick);
    m_timer.start();
}

QSize MapCanvas::sizeHint() const
{
    return m_document.picture().size().expandedTo(overlayRect().size());
}

void MapCanvas::pictureReplaced()
{
    setFixedSize(sizeHint());
    update();
}

void MapCanvas::tick()
{
    if (board::previewTick(m_preview, m_tool, m_overlay))
        update(overlayRect());
}

void MapCanvas::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    // Pixels stay crisp at any display scale: no smoothing when scaled.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    const QRect dirty = event->rect();
    painter.fillRect(dirty, palette().color(QPalette::Window));
    const QImage &picture = m_document.picture();
    const QRect pictureDirty = dirty.intersected(picture.rect());
    if (!pictureDirty.isEmpty())
        painter.drawImage(pictureDirty, picture, pictureDirty);
    if (!m_overlay.isNull()) {
        const QRect overlayDirty = dirty.intersected(m_overlay.rect());
        if (!overlayDirty.isEmpty())
            painter.drawImage(overlayDirty, m_overlay, overlayDirty);
    }
}

void MapCanvas::mousePressEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    if (event->button() == Qt::RightButton && overlayRect().contains(pos)) {
        Q_EMIT overlayMenuRequested(event->globalPosition().toPoint());
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;
    const QRect changed = m_document.mouseDown(event->button(), pos.x(), pos.y(), m_tool);
    if (!changed.isEmpty())
        update(changed);
    Q_EMIT placed();
}

void MapCanvas::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    if (!overlayRect().contains(pos)) {
        // The board picture beyond the overlay shows the plain arrow.
        unsetCursor();
        m_cursorSet = false;
        return;
    }
    board::previewMouseMove(m_preview, pos.x(), pos.y());
    if (!m_timer.isActive())
        m_timer.start();
    updateCursor();
}

void MapCanvas::updateCursor()
{
    const board::OverlayCursor wanted = board::overlayCursor(m_tool.statusText());
    if (m_cursorSet && wanted == m_cursorShown)
        return;
    m_cursorShown = wanted;
    m_cursorSet = true;
    switch (wanted) {
    case board::OverlayCursor::CrossHair: setCursor(Qt::CrossCursor); break;
    case board::OverlayCursor::Correction: setCursor(artwork::cursor(QStringLiteral("EMPTYCURSOR"))); break;
    case board::OverlayCursor::Fill: setCursor(artwork::cursor(QStringLiteral("CROSS"))); break;
    }
}
