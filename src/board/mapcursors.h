#pragma once

#include "modes.h"
#include "zoom.h"

#include <QCursor>
#include <QImage>

namespace board {

/// The cross-hair shown over a map when no mode of its own has a cursor: a
/// black cross with a white rim on a transparent ground, 23 x 23 logical
/// pixels, its hot spot on the centre pixel.
QImage crossHairPicture();
constexpr QPoint kCrossHairHotSpot{11, 11};

/// A cursor picture of logical pixels with its hot spot, drawn with
/// `devicePixelRatio` device pixels per logical pixel and enlarged or reduced
/// by `scale` besides: each device pixel shows the picture pixel under its
/// top-left corner, and the hot spot lies on the middle of the device pixels
/// showing the hot pixel.
QCursor scaledCursor(const QImage &picture, QPoint hotSpot, qreal scale, qreal devicePixelRatio);

/// The device pixels per logical pixel a cursor of the program's own is to
/// be drawn with on a display of `devicePixelRatio`: X11 shows a cursor's
/// pixels as they are, while a Wayland compositor enlarges a cursor by its
/// output's scale itself.
qreal cursorPixelRatio(qreal devicePixelRatio);

/// The cursor over a map's overlay: the cross-hair, or the correction or the
/// fill cursor, which grow and shrink with the squares between half and twice
/// their size; all follow the display scale.
QCursor overlayCursorFor(OverlayCursor kind, Zoom zoom, qreal devicePixelRatio);

} // namespace board
