#pragma once

#include "toolstate.h"

#include <QImage>
#include <QPoint>

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

/// A mouse move over an overlay: clears the off-map flag and stores the position.
void previewMouseMove(PreviewState &state, int x, int y);

/// One tick of a running map timer. `overlay` is the window's ghost picture;
/// a null image means the overlay holds nothing and the board shows through.
/// Returns true when the overlay changed and must be repainted.
bool previewTick(PreviewState &state, const ToolState &tool, QImage &overlay);

/// Which cursor the overlay shows for a status text.
enum class OverlayCursor { CrossHair, Correction, Fill };
OverlayCursor overlayCursor(const QString &statusText);

} // namespace board
