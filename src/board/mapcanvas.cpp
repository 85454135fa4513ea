#include "mapcanvas.h"

#include "artwork.h"

#include <QMouseEvent>
#include <QPainter>

MapCanvas::MapCanvas(MapDocument &document, ToolState &tool, PreviewState &preview,
                     QWidget *parent)
    : QWidget(parent), m_document(document), m_tool(tool), m_preview(preview),
      m_view(document.picture())
{
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFixedSize(sizeHint());
    // Whatever changed before the first paint is painted anyway.
    m_document.takeChanged();
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
    showChanges();
}

void MapCanvas::showChanges()
{
    const QRegion changed = m_document.takeChanged();
    m_view.pictureChanged(changed);
    update(changed);
}

void MapCanvas::tick()
{
    update(board::previewTick(m_preview, m_tool, m_overlay));
}

void MapCanvas::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    // Pixels stay crisp at any display scale: no smoothing when scaled.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    const QColor background = palette().color(QPalette::Window);
    for (const QRect &dirty : event->region())
        m_view.paint(painter, dirty, m_overlay, background);
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
    m_document.mouseDown(event->button(), pos.x(), pos.y(), m_tool);
    showChanges();
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
    updateCursor();
    // Qt makes up moves of its own when a window appears or scrolls under a
    // resting pointer. They are no move of the user: a map the pointer has
    // not moved over yet stays without a ghost.
    if (!event->spontaneous() && !m_overlay.pointerOver)
        return;
    board::previewMouseMove(m_preview, m_overlay, pos.x(), pos.y());
    if (!m_timer.isActive())
        m_timer.start();
}

void MapCanvas::leaveEvent(QEvent *event)
{
    update(board::previewPointerLeft(m_preview, m_overlay));
    QWidget::leaveEvent(event);
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
