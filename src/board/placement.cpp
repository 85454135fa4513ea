#include "placement.h"

#include "floodfill.h"
#include "geometry.h"
#include "raster.h"

namespace board {

QPoint stampPosition(Mode mode, QPoint base)
{
    const ModeRule *rule = modeRule(mode);
    return rule ? base + rule->offset : base;
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
    const ModeRule *rule = modeRule(tool.mode);
    if (!rule)
        return QRect();
    const QPoint at = snapBase(x, y) + rule->offset;
    switch (rule->click) {
    case ClickAction::Stamp:
        // Strict bound: a stamp that would end on the picture's last pixel
        // column or row is not drawn either.
        if (rule->fitsOnly && (tool.stamp.width() + at.x() >= picture.width() ||
                               tool.stamp.height() + at.y() >= picture.height()))
            return QRect();
        return drawKept(picture, tool.stamp, at, undo);
    case ClickAction::RestoreSquare: {
        // Squares outside the table (the right and bottom margins, or beyond
        // the 26 x 19 grid of a larger picture) have no pristine state to go
        // back to: such a click restores nothing and keeps the stamp.
        const Square square = squareAt(x, y);
        const char letter = squareLetter(square.column, square.row);
        if (!letter)
            return QRect();
        tool.stamp = squareBitmap(letter);
        return drawKept(picture, tool.stamp, at, undo);
    }
    case ClickAction::FloodFill: {
        if (raster::pixel(picture, x, y) != kWhite)
            return QRect();
        raster::RunObserver keep;
        if (undo)
            keep = [&picture, undo](int row, int from, int to) {
                undo->keepRun(picture, row, from, to);
            };
        return raster::floodFill(picture, x, y, kFillGrey, keep);
    }
    }
    return QRect();
}

} // namespace board
