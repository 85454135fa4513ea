#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QRect>

class QWidget;

/// The arrow keys among the entries of an area (a palette page, the tool
/// bar): an arrow moves the keyboard focus to the nearest entry of the same
/// area in its direction, as Tab would move it on, so the focus mark shows.
/// An entry with nothing in that direction keeps the focus. The entry with
/// the focus wears a frame in the selection colour over its edge, plainer
/// to see than the style's own mark on a picture.
class ArrowKeys : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    /// Lets the arrow keys move from `entry` to the other entries of `area`
    /// (an ancestor of each of them).
    void add(QWidget *entry, QWidget *area);

    /// The candidate nearest to `from` in the direction of the arrow key
    /// `key` (Qt::Key_Left ... Qt::Key_Down), or -1 for none. A candidate in
    /// line with `from` (overlapping it across the direction) comes before
    /// one off to the side; among equals the nearer one.
    static int nearest(const QRect &from, const QList<QRect> &candidates, int key);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QHash<QObject *, QPointer<QWidget>> m_areas;
};
