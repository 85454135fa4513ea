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
    switch (step) {
    case Step::Left:
        --from.column;
        break;
    case Step::Right:
        ++from.column;
        break;
    case Step::Up:
        --from.row;
        break;
    case Step::Down:
        ++from.row;
        break;
    }
    return clamped(from, size);
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
