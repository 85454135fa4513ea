#include "zoom.h"

#include <QtMath>

#include <numeric>

namespace board {

namespace {

// Integer division rounding down, and up, also for negative numerators.
qint64 floorDiv(qint64 a, qint64 b)
{
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

qint64 ceilDiv(qint64 a, qint64 b)
{
    return -floorDiv(-a, b);
}

} // namespace

Zoom Zoom::fraction(qint64 num, qint64 den)
{
    const qint64 divisor = std::gcd(num, den);
    return Zoom{int(num / divisor), int(den / divisor)};
}

int Zoom::percent() const
{
    return int((qint64(num) * 200 + den) / (2 * qint64(den)));
}

int Zoom::pixelAt(qreal position) const
{
    // A position that is exactly a pixel's edge can come out a hair below it
    // after the platform divided device pixels by the display scale; the
    // small allowance puts it on that pixel. Genuine positions between two
    // edges lie much farther from either.
    return qFloor(position * den / num + 1e-7);
}

QPoint Zoom::pixelAt(const QPointF &position) const
{
    return QPoint(pixelAt(position.x()), pixelAt(position.y()));
}

QRect Zoom::widgetRect(const QRect &pictureRect) const
{
    if (pictureRect.isEmpty())
        return QRect();
    const qint64 left = floorDiv(qint64(pictureRect.left()) * num, den);
    const qint64 top = floorDiv(qint64(pictureRect.top()) * num, den);
    const qint64 right = ceilDiv((qint64(pictureRect.right()) + 1) * num, den);
    const qint64 bottom = ceilDiv((qint64(pictureRect.bottom()) + 1) * num, den);
    return QRect(int(left), int(top), int(right - left), int(bottom - top));
}

QRegion Zoom::widgetRegion(const QRegion &pictureRegion) const
{
    if (num == den)
        return pictureRegion;
    QRegion region;
    for (const QRect &rect : pictureRegion)
        region += widgetRect(rect);
    return region;
}

QSize Zoom::widgetSize(const QSize &size) const
{
    return QSize(int(ceilDiv(qint64(size.width()) * num, den)),
                 int(ceilDiv(qint64(size.height()) * num, den)));
}

Zoom zoomIn(Zoom zoom)
{
    for (const Zoom &step : kZoomSteps)
        if (step > zoom)
            return step;
    return kMaxZoom;
}

Zoom zoomOut(Zoom zoom)
{
    for (auto it = kZoomSteps.rbegin(); it != kZoomSteps.rend(); ++it)
        if (*it < zoom)
            return *it;
    return kMinZoom;
}

Zoom fitZoom(const QSize &size, const QSize &viewport)
{
    if (size.isEmpty() || viewport.isEmpty())
        return kMinZoom;
    // The narrower of the two ratios, exactly: the picture then fills the
    // viewport's width or height to the pixel.
    const bool byWidth =
        qint64(viewport.width()) * size.height() <= qint64(viewport.height()) * size.width();
    const Zoom fit = byWidth ? Zoom::fraction(viewport.width(), size.width())
                             : Zoom::fraction(viewport.height(), size.height());
    if (fit < kMinZoom)
        return kMinZoom;
    if (fit > kMaxZoom)
        return kMaxZoom;
    return fit;
}

QPoint anchoredScroll(const QPoint &scroll, const QPointF &anchor, Zoom from, Zoom to)
{
    const QPointF picturePoint = (QPointF(scroll) + anchor) / from.factor();
    return (picturePoint * to.factor() - anchor).toPoint();
}

} // namespace board
