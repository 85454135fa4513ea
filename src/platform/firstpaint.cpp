#include "firstpaint.h"

#include <QEvent>
#include <QPointer>
#include <QWidget>

namespace {

class FirstPaintWatch : public QObject {
public:
    FirstPaintWatch(QWidget *widget, QObject *context, std::function<void()> job)
        : QObject(widget), m_context(context), m_job(std::move(job))
    {
        widget->installEventFilter(this);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !m_queued) {
            m_queued = true;
            watched->removeEventFilter(this);
            QMetaObject::invokeMethod(
                this,
                [this] {
                    const std::function<void()> job = std::move(m_job);
                    deleteLater();
                    if (m_context)
                        job();
                },
                Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QPointer<QObject> m_context;
    std::function<void()> m_job;
    bool m_queued = false;
};

} // namespace

void afterFirstPaint(QWidget *widget, QObject *context, std::function<void()> job)
{
    new FirstPaintWatch(widget, context, std::move(job));
}
