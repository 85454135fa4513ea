#pragma once

#include "pixelundo.h"
#include "toolstate.h"

#include <QImage>
#include <QPoint>
#include <QRect>

namespace board {

/// Where the current stamp goes for a click snapped to `base` in `mode`
/// (modes 0 and 2 to 5; the correction draws at base + (24, 24)).
QPoint stampPosition(quint8 mode, QPoint base);

/// What a left click at (x, y) draws into the board picture by the tool
/// state's mode. A correction click loads the clicked square's bitmap into the
/// current stamp. Returns the rectangle that may have changed. When `undo` is
/// given, every pixel is kept there before it is overwritten.
QRect place(QImage &board, ToolState &tool, int x, int y, PixelUndo *undo = nullptr);

} // namespace board
