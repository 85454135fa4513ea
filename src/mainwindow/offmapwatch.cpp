#include "offmapwatch.h"

#include "preview.h"

#include <QChildEvent>
#include <QMouseEvent>
#include <QWidget>

OffMapWatch::OffMapWatch(QWidget *frame, PreviewState &preview) : QObject(frame), m_preview(preview)
{
    frame->setMouseTracking(true);
    frame->installEventFilter(this);
}

void OffMapWatch::watch(QWidget *widget)
{
    if (!widget)
        return;
    attach(widget);
    const auto children = widget->findChildren<QWidget *>();
    for (QWidget *child : children)
        attach(child);
}

void OffMapWatch::attach(QWidget *widget)
{
    if (excluded(widget))
        return;
    // Moves without a button reach only widgets that track the mouse.
    widget->setMouseTracking(true);
    widget->installEventFilter(this);
}

void OffMapWatch::exclude(QWidget *widget)
{
    m_excluded.append(widget);
    widget->removeEventFilter(this);
    const auto children = widget->findChildren<QWidget *>();
    for (QWidget *child : children)
        child->removeEventFilter(this);
}

bool OffMapWatch::excluded(const QWidget *widget) const
{
    // Up the parent chain, across the windows a drop-down list opens.
    for (const QWidget *w = widget; w; w = w->parentWidget()) {
        if (m_excluded.contains(const_cast<QWidget *>(w)))
            return true;
    }
    return false;
}

bool OffMapWatch::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseMove: {
        // A move that an excluded child left to its parent names the child
        // as the widget under the pointer.
        auto *widget = static_cast<QWidget *>(watched);
        const QPoint pos = static_cast<QMouseEvent *>(event)->position().toPoint();
        QWidget *under = widget->childAt(pos);
        if (!excluded(under ? under : widget))
            m_preview.offMap = true;
        break;
    }
    case QEvent::ChildAdded:
        // Controls added later (palette entries, overlay browsers) report
        // their moves too; the frame's own children are not watched, as the
        // maps live there.
        if (watched != parent()) {
            QObject *child = static_cast<QChildEvent *>(event)->child();
            if (child->isWidgetType())
                watch(static_cast<QWidget *>(child));
        }
        break;
    default:
        break;
    }
    return false;
}
