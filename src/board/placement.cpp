#include "placement.h"

#include "floodfill.h"
#include "geometry.h"
#include "raster.h"

namespace board {

QPoint stampPosition(quint8 mode, QPoint base)
{
    switch (mode) {
    case ToolState::Square:
        return base + QPoint(25, 25);
    case ToolState::Correct:
        return base + QPoint(24, 24);
    case ToolState::LeftLine:
        return base + QPoint(15, 25);
    case ToolState::TopLine:
        return base + QPoint(25, 15);
    case ToolState::OutLeft:
        return base + QPoint(-1, 25);
    case ToolState::OutUp:
        return base + QPoint(25, 0);
    default:
        return base;
    }
}

namespace {

// Draws the stamp at `at`, keeping what it covers for the undo first.
QRect drawKept(QImage &picture, const QImage &stamp, QPoint at, PixelUndo *undo)
{
    if (undo)
        undo->keepRect(picture, QRect(at, stamp.size()));
    return raster::drawStamp(picture, stamp, at.x(), at.y());
}

} // namespace

QRect place(QImage &picture, ToolState &tool, int x, int y, PixelUndo *undo)
{
    const QPoint base = snapBase(x, y);
    switch (tool.mode) {
    case ToolState::Square: {
        // Strict bound: a stamp that would end on the picture's last pixel
        // column or row is not drawn either.
        const QPoint at = stampPosition(tool.mode, base);
        if (tool.stamp.width() + at.x() < picture.width() &&
            tool.stamp.height() + at.y() < picture.height())
            return drawKept(picture, tool.stamp, at, undo);
        return QRect();
    }
    case ToolState::Correct: {
        // Squares outside the table (the right and bottom margins, or beyond
        // the 26 x 19 grid of a larger picture) have no pristine state to go
        // back to: such a click restores nothing and keeps the stamp.
        const Square square = squareAt(x, y);
        const char letter = squareLetter(square.column, square.row);
        if (!letter)
            return QRect();
        tool.stamp = squareBitmap(letter);
        return drawKept(picture, tool.stamp, stampPosition(tool.mode, base), undo);
    }
    case ToolState::LeftLine:
    case ToolState::TopLine:
    case ToolState::OutLeft:
    case ToolState::OutUp:
        return drawKept(picture, tool.stamp, stampPosition(tool.mode, base), undo);
    case ToolState::Fill: {
        if (raster::pixel(picture, x, y) != kWhite)
            return QRect();
        raster::RunObserver keep;
        if (undo)
            keep = [&picture, undo](int row, int from, int to) {
                undo->keepRun(picture, row, from, to);
            };
        return raster::floodFill(picture, x, y, kFillGrey, keep);
    }
    default:
        return QRect();
    }
}

} // namespace board
