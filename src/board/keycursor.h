#pragma once

#include "geometry.h"

#include <QPoint>
#include <QRect>
#include <QSize>

/// The square cursor of a map window worked from the keyboard: the arrow
/// keys move it by one square, Space and Return place as a left click at its
/// square's centre would.
namespace board::keycursor {

/// The direction of an arrow key.
enum class Step { Left, Right, Up, Down };

/// The whole squares of a picture of `size`: columns and rows from 0 whose
/// 32 x 32 block lies inside it (26 x 19 for the default board), at least one.
Square lastSquare(const QSize &size);

/// The square one step from `from`, held inside the squares of `size`.
Square moved(Square from, Step step, const QSize &size);

/// `square` held inside the squares of `size`.
Square clamped(Square square, const QSize &size);

/// The picture pixel a click on the middle of the square is taken at.
QPoint centre(Square square);

/// The square's 32 x 32 block, its share of the lines around it included.
QRect block(Square square);

} // namespace board::keycursor
