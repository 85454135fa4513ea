#pragma once

#include "pixelundo.h"
#include "toolstate.h"

#include <QImage>
#include <QPoint>
#include <QRect>

namespace board {

/// Where the current stamp goes for a click snapped to `base` in `mode` (the
/// restored square goes there too).
QPoint stampPosition(Mode mode, QPoint base);

/// What a left click at (x, y) draws into the board picture, as the row of the
/// tool state's mode in modeRules() says. A correction click loads the clicked
/// square's bitmap into the current stamp. Returns the rectangle that may have
/// changed. When `undo` is given, every pixel is kept there before it is
/// overwritten.
QRect place(QImage &board, ToolState &tool, int x, int y, PixelUndo *undo = nullptr);

} // namespace board
