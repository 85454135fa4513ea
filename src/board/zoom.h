#pragma once

#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QRegion>
#include <QSize>

#include <array>

namespace board {

/// How large a map window shows its picture: one picture pixel spans
/// num / den widget pixels. A fraction rather than a floating factor, so that
/// every widget position lies on exactly one picture pixel and the mouse, the
/// ghost and the screen agree on which one. The picture itself never changes.
struct Zoom {
    int num = 1;
    int den = 1;

    /// num / den in lowest terms; both must be positive.
    static Zoom fraction(qint64 num, qint64 den);

    bool operator==(const Zoom &o) const { return num == o.num && den == o.den; }
    bool operator!=(const Zoom &o) const { return !(*this == o); }
    bool operator<(const Zoom &o) const { return qint64(num) * o.den < qint64(o.num) * den; }
    bool operator>(const Zoom &o) const { return o < *this; }

    double factor() const { return double(num) / den; }
    /// The zoom in per cent, rounded (33 for a third).
    int percent() const;

    /// The picture column or row under a widget position: the position
    /// divided by the zoom, rounded down. Positions are logical pixels; at a
    /// display scale other than 1 they carry fractions.
    int pixelAt(qreal position) const;
    QPoint pixelAt(const QPointF &position) const;

    /// The widget area that shows a picture area, rounded outwards.
    QRect widgetRect(const QRect &pictureRect) const;
    QRegion widgetRegion(const QRegion &pictureRegion) const;
    /// The widget size that shows a whole picture of `size`.
    QSize widgetSize(const QSize &size) const;
};

/// The steps Ctrl+wheel and the zoom keys go through, from 25 % to 800 %.
constexpr std::array<Zoom, 11> kZoomSteps = {
    {{1, 4}, {1, 3}, {1, 2}, {2, 3}, {1, 1}, {3, 2}, {2, 1}, {3, 1}, {4, 1}, {6, 1}, {8, 1}}};
constexpr Zoom kMinZoom = kZoomSteps.front();
constexpr Zoom kMaxZoom = kZoomSteps.back();

/// The next step above or below `zoom` (which need not be a step itself);
/// `zoom` at the end of the steps stays.
Zoom zoomIn(Zoom zoom);
Zoom zoomOut(Zoom zoom);

/// The largest zoom at which a picture of `size` fits into `viewport`
/// whole, kept between the smallest and the largest step.
Zoom fitZoom(const QSize &size, const QSize &viewport);

/// The scroll position after a change of zoom that keeps the picture point
/// under `anchor` (a point of the viewport) under it. `scroll` is the scroll
/// position before; the result may lie beyond the scroll range, which the
/// scroll bars clamp.
QPoint anchoredScroll(const QPoint &scroll, const QPointF &anchor, Zoom from, Zoom to);

} // namespace board
