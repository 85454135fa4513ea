#pragma once

#include <QImage>
#include <QRect>

#include <functional>

namespace raster {

/// Told each run of pixels [from, to) of row y just before the fill writes it.
using RunObserver = std::function<void(int y, int from, int to)>;

/// Fills the 4-connected region of pixels that have exactly the colour of the
/// pixel at (x, y) with the colour `fill` (nearest colour-table entry in an
/// indexed picture). Iterative span fill: it needs no stack proportional to
/// the region, reads each run of the region word-wise and looks at the rows
/// next to a run once. Returns the bounding box of what changed.
/// `beforeWrite`, when given, hears of every run before it changes.
QRect floodFill(QImage &target, int x, int y, QRgb fill, const RunObserver &beforeWrite = {});

} // namespace raster
