#include "mapcursors.h"

#include "artwork.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>
#include <QtMath>

#include <algorithm>

namespace board {

QImage crossHairPicture()
{
    QImage picture(23, 23, QImage::Format_ARGB32);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    // A white rim keeps the black lines visible on the black frame lines.
    painter.fillRect(10, 0, 3, 23, Qt::white);
    painter.fillRect(0, 10, 23, 3, Qt::white);
    painter.fillRect(11, 1, 1, 21, Qt::black);
    painter.fillRect(1, 11, 21, 1, Qt::black);
    return picture;
}

QCursor scaledCursor(const QImage &picture, QPoint hotSpot, qreal scale, qreal devicePixelRatio)
{
    const qreal factor = scale * devicePixelRatio;
    if (factor == 1.0)
        return QCursor(QPixmap::fromImage(picture), hotSpot.x(), hotSpot.y());
    // The first device pixel showing picture pixel `at`, and the picture
    // pixel a device pixel shows; the allowance absorbs rounding in factors
    // such as 8/11.
    const auto firstDevicePixel = [factor](int at) { return qCeil(at * factor - 1e-9); };
    const auto pictureAt = [factor](int device) { return qFloor(device / factor + 1e-9); };
    const QImage source = picture.convertToFormat(QImage::Format_ARGB32);
    QImage scaled(firstDevicePixel(source.width()), firstDevicePixel(source.height()),
                  QImage::Format_ARGB32);
    for (int y = 0; y < scaled.height(); ++y) {
        const auto *in = reinterpret_cast<const QRgb *>(source.constScanLine(pictureAt(y)));
        auto *out = reinterpret_cast<QRgb *>(scaled.scanLine(y));
        for (int x = 0; x < scaled.width(); ++x)
            out[x] = in[pictureAt(x)];
    }
    const auto middle = [&](int at) {
        return std::max(0, (firstDevicePixel(at) + firstDevicePixel(at + 1) - 1) / 2);
    };
    return QCursor(QPixmap::fromImage(scaled), middle(hotSpot.x()), middle(hotSpot.y()));
}

qreal cursorPixelRatio(qreal devicePixelRatio)
{
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        return 1.0;
    return devicePixelRatio;
}

QCursor overlayCursorFor(OverlayCursor kind, Zoom zoom, qreal devicePixelRatio)
{
    if (kind == OverlayCursor::CrossHair)
        return scaledCursor(crossHairPicture(), kCrossHairHotSpot, 1.0, devicePixelRatio);
    const QCursor plain = artwork::cursor(
        kind == OverlayCursor::Fill ? QStringLiteral("CROSS") : QStringLiteral("EMPTYCURSOR"));
    return scaledCursor(plain.pixmap().toImage(), plain.hotSpot(),
                        std::clamp(zoom.factor(), 0.5, 2.0), devicePixelRatio);
}

} // namespace board
