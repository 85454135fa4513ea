#pragma once

#include <QAction>
#include <QKeySequence>
#include <QMenu>

/// Adds a menu command whose slot runs queued: the menu has closed before the
/// command starts, and a command that fails ends in the application's error
/// report instead of inside Qt's menu code. `name` is the item's component
/// name, kept as the action's object name.
template <typename Receiver, typename Slot>
QAction *addCommand(QMenu *menu, const char *name, const QString &text, Receiver *receiver,
                    Slot slot, const QKeySequence &key = QKeySequence())
{
    QAction *action = menu->addAction(text);
    action->setObjectName(QLatin1String(name));
    if (!key.isEmpty())
        action->setShortcut(key);
    QObject::connect(action, &QAction::triggered, receiver, slot, Qt::QueuedConnection);
    return action;
}
