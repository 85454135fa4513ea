#include "arrowkeys.h"

#include <QKeyEvent>
#include <QPainter>
#include <QWidget>

#include <limits>

void ArrowKeys::add(QWidget *entry, QWidget *area)
{
    m_areas.insert(entry, area);
    entry->installEventFilter(this);
    connect(entry, &QObject::destroyed, this, [this, entry] { m_areas.remove(entry); });
}

int ArrowKeys::nearest(const QRect &from, const QList<QRect> &candidates, int key)
{
    const bool across = key == Qt::Key_Left || key == Qt::Key_Right;
    const bool forward = key == Qt::Key_Right || key == Qt::Key_Down;
    const QPoint start = from.center();
    int best = -1;
    qint64 bestCost = std::numeric_limits<qint64>::max();
    for (int i = 0; i < candidates.size(); ++i) {
        const QRect &r = candidates[i];
        const QPoint c = r.center();
        const int ahead = across ? c.x() - start.x() : c.y() - start.y();
        if ((forward ? ahead : -ahead) <= 0)
            continue;
        const bool inLine = across ? r.top() <= from.bottom() && r.bottom() >= from.top()
                                   : r.left() <= from.right() && r.right() >= from.left();
        const int aside = inLine ? 0 : qAbs(across ? c.y() - start.y() : c.x() - start.x());
        // An entry in the row (column) wins; off to the side counts double.
        const qint64 cost = qAbs(ahead) + 2 * qint64(aside) + (inLine ? 0 : 100000);
        if (cost < bestCost) {
            bestCost = cost;
            best = i;
        }
    }
    return best;
}

bool ArrowKeys::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Paint && m_areas.contains(watched)) {
        auto *entry = static_cast<QWidget *>(watched);
        if (!entry->hasFocus())
            return QObject::eventFilter(watched, event);
        // The entry paints itself first, the focus mark goes on top.
        watched->event(event);
        QPainter painter(entry);
        painter.setPen(QPen(entry->palette().color(QPalette::Highlight), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(entry->rect()).adjusted(1, 1, -1, -1));
        return true;
    }
    if (event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    auto *keyEvent = static_cast<QKeyEvent *>(event);
    const int key = keyEvent->key();
    if ((key != Qt::Key_Left && key != Qt::Key_Right && key != Qt::Key_Up && key != Qt::Key_Down) ||
        (keyEvent->modifiers() & ~Qt::KeypadModifier))
        return QObject::eventFilter(watched, event);
    auto *from = qobject_cast<QWidget *>(watched);
    QWidget *area = m_areas.value(watched);
    if (!from || !area)
        return QObject::eventFilter(watched, event);

    QList<QWidget *> entries;
    QList<QRect> places;
    for (auto it = m_areas.cbegin(); it != m_areas.cend(); ++it) {
        auto *entry = static_cast<QWidget *>(it.key());
        if (it.value() != area || entry == from || !entry->isVisibleTo(area) || !entry->isEnabled())
            continue;
        entries.append(entry);
        places.append(QRect(entry->mapTo(area, QPoint(0, 0)), entry->size()));
    }
    const int next = nearest(QRect(from->mapTo(area, QPoint(0, 0)), from->size()), places, key);
    // As Tab moves it: the window then shows the focus mark.
    if (next >= 0)
        entries[next]->setFocus(Qt::TabFocusReason);
    return true;
}
