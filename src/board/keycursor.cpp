#include "keycursor.h"

#include <algorithm>

namespace board::keycursor {

Square lastSquare(const QSize &size)
{
    return {std::max(0, (size.width() - 2 * kMargin) / kPitch - 1),
            std::max(0, (size.height() - 2 * kMargin) / kPitch - 1)};
}

Square clamped(Square square, const QSize &size)
{
    const Square last = lastSquare(size);
    return {std::clamp(square.column, 0, last.column), std::clamp(square.row, 0, last.row)};
}

Square moved(Square from, Step step, const QSize &size)
{
    // Columns and rows of one step, in the order of Step.
    static constexpr int kColumnStep[] = {-1, 1, 0, 0};
    static constexpr int kRowStep[] = {0, 0, -1, 1};
    const auto at = size_t(step);
    return clamped({from.column + kColumnStep[at], from.row + kRowStep[at]}, size);
}

QPoint centre(Square square)
{
    return block(square).topLeft() + QPoint(kPitch / 2, kPitch / 2);
}

QRect block(Square square)
{
    return QRect(kMargin + kPitch * square.column, kMargin + kPitch * square.row, kPitch, kPitch);
}

} // namespace board::keycursor
