#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

class QWidget;
struct PreviewState;

/// How the frame window learns that the pointer left the maps: a mouse move
/// over any widget it watches sets the off-map flag, and every running map
/// timer then empties its preview. The frame owns the one watch; its own
/// surface is watched alone (the maps live inside it), the tool bar, the
/// palette, the overlay browsers and the about box with all they hold.
class OffMapWatch : public QObject {
    Q_OBJECT
public:
    /// Watches the surface of `frame`, which becomes its parent.
    OffMapWatch(QWidget *frame, PreviewState &preview);

    /// Watches `widget` and everything inside it, also what is added later.
    void watch(QWidget *widget);
    /// Moves over `widget` and what it holds never count, also where they
    /// reach a watched widget around it.
    void exclude(QWidget *widget);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void attach(QWidget *widget);
    bool excluded(const QWidget *widget) const;

    PreviewState &m_preview;
    QList<QPointer<QWidget>> m_excluded;
};
