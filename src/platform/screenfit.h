#pragma once

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>

/// Where a top-level window goes so that all of it can be reached on screen.
namespace screenfit {

/// A window's place: the top-left corner of its frame on the desktop and the
/// size of its client area (the frame lies around it).
struct Placement {
    QPoint framePosition;
    QSize clientSize;

    bool operator==(const Placement &o) const
    {
        return framePosition == o.framePosition && clientSize == o.clientSize;
    }
};

/// Places a window of the client size `design` with the window frame `frame`
/// on the screen area `available`: at its design size, centred, where the
/// area holds it with its frame; otherwise shrunk until it fits (never below
/// `minimum`), and never with its frame above or left of the area, so that
/// its title bar and menus stay reachable.
Placement place(const QSize &design, const QMargins &frame, const QRect &available,
                const QSize &minimum = QSize(0, 0));

} // namespace screenfit
