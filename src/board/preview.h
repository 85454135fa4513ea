#pragma once

#include "toolstate.h"

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QRegion>

/// The hover preview state, one set for the whole program: every map window's
/// timer and overlay read and write the same values.
struct PreviewState {
    QPoint mouse;          ///< last position reported by a move over an overlay
    QPoint previousSample; ///< mouse position seen by the previous tick
    QPoint snapped;        ///< snap base of the resting mouse
    QPoint lastPreview;    ///< snap base + (25, 25) where the ghost was last drawn
    bool offMap = true;    ///< the mouse is elsewhere: previews are to be cleared

    /// A new map window starts the tick logic afresh.
    void resetForNewWindow()
    {
        previousSample = QPoint(0, 0);
        lastPreview = QPoint(0, 0);
    }
};

namespace board {

/// Size of every overlay: the default board's size.
constexpr int kOverlayWidth = 880;
constexpr int kOverlayHeight = 656;
constexpr QRect kOverlayRect(0, 0, kOverlayWidth, kOverlayHeight);

/// One map's overlay: the ghost it shows and whether the pointer is over it.
struct Overlay {
    /// The stamp as the ghost shows it: its colours opaque, its pure blue
    /// transparent. Null while the overlay shows nothing and the board shows
    /// through.
    QImage ghost;
    /// Where the ghost's top-left corner lies on the overlay.
    QPoint ghostAt;
    /// The pointer has moved over this map and not left it since. Only such
    /// a map shows a ghost.
    bool pointerOver = false;

    /// The part of the overlay the ghost covers: cut at the overlay's edges,
    /// empty without a ghost.
    QRect ghostRect() const;
    /// The overlay's pixel at (x, y): transparent where it shows nothing.
    QRgb pixel(int x, int y) const;
};

/// A mouse move over an overlay: the pointer is over this map, the off-map
/// flag is cleared and the position stored.
void previewMouseMove(PreviewState &state, Overlay &overlay, int x, int y);

/// The pointer left the map (to the frame, another map, another program):
/// its ghost goes at once, and the off-map flag is set as a move over the
/// frame sets it. Returns the part of the overlay to repaint.
QRegion previewPointerLeft(PreviewState &state, Overlay &overlay);

/// One tick of a running map timer. Returns the part of the overlay to
/// repaint (the old and the new ghost), empty when nothing changed.
QRegion previewTick(PreviewState &state, const ToolState &tool, Overlay &overlay);

/// Which cursor the overlay shows for a status text: the cursor of the mode
/// whose marker it is; any other text shows the fill tool's.
OverlayCursor overlayCursor(const QString &statusText);

} // namespace board
