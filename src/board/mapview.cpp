#include "mapview.h"

#include <QPainter>
#include <QtMath>

#include <algorithm>
#include <cstring>
#include <vector>

MapView::MapView(const QImage &picture) : m_picture(picture)
{
    // The screen colours of the 256 possible values, as the painter would
    // convert them: premultiplied, values beyond the table black for an
    // opaque table and transparent otherwise, a picture without a table grey.
    const QVector<QRgb> table = picture.colorTable();
    m_opaque = std::all_of(table.begin(), table.end(), [](QRgb c) { return qAlpha(c) == 255; });
    for (int i = 0; i < 256; ++i) {
        if (table.isEmpty())
            m_screen[i] = qRgb(i, i, i);
        else if (i < table.size())
            m_screen[i] = m_opaque ? table[i] : qPremultiply(table[i]);
        else
            m_screen[i] = m_opaque ? 0xff000000u : 0u;
    }
}

bool MapView::cached() const
{
    return m_picture.format() == QImage::Format_Indexed8;
}

void MapView::convert(const QRect &area, QImage &target, QPoint targetOrigin) const
{
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const uchar *from = m_picture.constScanLine(y) + area.left();
        auto *to = reinterpret_cast<QRgb *>(target.scanLine(y - targetOrigin.y())) +
                   (area.left() - targetOrigin.x());
        for (int x = 0; x < area.width(); ++x)
            to[x] = m_screen[from[x]];
    }
}

MapView::Tile &MapView::tile(int column, int row)
{
    const quint64 key = quint64(quint32(column)) << 32 | quint32(row);
    auto found = m_tiles.find(key);
    if (found == m_tiles.end()) {
        if (m_tiles.size() >= kMaxTiles) {
            const auto oldest =
                std::min_element(m_tiles.begin(), m_tiles.end(), [](const Tile &a, const Tile &b) {
                    return a.lastUse < b.lastUse;
                });
            m_tiles.erase(oldest);
        }
        const QRect area = QRect(column * kTileSize, row * kTileSize, kTileSize, kTileSize)
                               .intersected(m_picture.rect());
        Tile fresh;
        fresh.pixels = QImage(area.size(), m_opaque ? QImage::Format_RGB32
                                                    : QImage::Format_ARGB32_Premultiplied);
        convert(area, fresh.pixels, area.topLeft());
        found = m_tiles.insert(key, fresh);
    }
    found->lastUse = ++m_uses;
    return *found;
}

void MapView::pictureChanged(const QRegion &region)
{
    if (!cached() || m_tiles.isEmpty())
        return;
    for (auto it = m_tiles.begin(); it != m_tiles.end(); ++it) {
        const QPoint origin(int(it.key() >> 32) * kTileSize, int(quint32(it.key())) * kTileSize);
        const QRect tileArea(origin, it->pixels.size());
        for (const QRect &rect : region) {
            const QRect part = rect.intersected(tileArea);
            if (!part.isEmpty())
                convert(part, it->pixels, origin);
        }
    }
}

void MapView::paint(QPainter &painter, const QRect &area, const board::Overlay &overlay,
                    const QColor &background)
{
    const QRect pictureArea = area.intersected(m_picture.rect());
    // The picture covers its part unless its colours let the ground through.
    const bool opaque = !cached() || m_opaque;
    for (const QRect &ground : opaque ? QRegion(area) - pictureArea : QRegion(area))
        painter.fillRect(ground, background);

    if (!pictureArea.isEmpty()) {
        if (!cached()) {
            painter.drawImage(pictureArea, m_picture, pictureArea);
        } else {
            for (int row = pictureArea.top() / kTileSize; row <= pictureArea.bottom() / kTileSize;
                 ++row)
                for (int column = pictureArea.left() / kTileSize;
                     column <= pictureArea.right() / kTileSize; ++column) {
                    const QPoint origin(column * kTileSize, row * kTileSize);
                    const Tile &shown = tile(column, row);
                    const QRect part = pictureArea.intersected(QRect(origin, shown.pixels.size()));
                    painter.drawImage(part, shown.pixels, part.translated(-origin));
                }
        }
    }

    const QRect ghostArea = overlay.ghostRect().intersected(area);
    if (!ghostArea.isEmpty())
        painter.drawImage(ghostArea, overlay.ghost, ghostArea.translated(-overlay.ghostAt));
}

void MapView::paintZoomed(QPainter &painter, const QRect &area, const board::Overlay &overlay,
                          const QColor &background, board::Zoom zoom, qreal devicePixelRatio)
{
    const qreal ratio = devicePixelRatio;
    // Where the widget's origin lies on the surface: inside a window, at a
    // display scale that is not whole, between two device pixels.
    const QPointF origin = painter.deviceTransform().map(QPointF(0, 0));
    const QRect device(
        QPoint(qFloor(origin.x() + area.left() * ratio), qFloor(origin.y() + area.top() * ratio)),
        QPoint(qCeil(origin.x() + (area.right() + 1) * ratio) - 1,
               qCeil(origin.y() + (area.bottom() + 1) * ratio) - 1));
    if (device.isEmpty())
        return;
    // The picture column of every device column and the row of every device
    // row, by the mapping the mouse uses: a press on a device pixel comes as
    // that pixel's top-left corner in logical pixels of the window, less the
    // widget's position there.
    const QPointF originLogical = origin / ratio;
    std::vector<int> columns(size_t(device.width()));
    std::vector<int> rows(size_t(device.height()));
    for (int i = 0; i < device.width(); ++i)
        columns[size_t(i)] = zoom.pixelAt((device.left() + i) / ratio - originLogical.x());
    for (int i = 0; i < device.height(); ++i)
        rows[size_t(i)] = zoom.pixelAt((device.top() + i) / ratio - originLogical.y());
    // The mapping grows with the position: the device pixels showing picture
    // pixels from..to-1 are one run.
    const auto span = [](const std::vector<int> &map, int from, int to) {
        const auto first = std::lower_bound(map.begin(), map.end(), from);
        const auto last = std::lower_bound(first, map.end(), to);
        return std::pair<int, int>(int(first - map.begin()), int(last - map.begin()));
    };
    const auto [c0, c1] = span(columns, 0, m_picture.width());
    const auto [r0, r1] = span(rows, 0, m_picture.height());

    QImage shown(device.size(), QImage::Format_RGB32);
    const bool indexed = cached();
    const bool opaque = !indexed || m_opaque;
    if (!opaque || c0 > 0 || r0 > 0 || c1 < device.width() || r1 < device.height())
        shown.fill(background);

    // The picture's pixels: straight into the result when they cover the
    // ground, else on a layer of their own drawn over it as at 100 %.
    QImage layer;
    if (!opaque) {
        layer = QImage(device.size(), QImage::Format_ARGB32_Premultiplied);
        layer.fill(Qt::transparent);
    }
    QImage &target = opaque ? shown : layer;
    for (int y = r0; y < r1; ++y) {
        auto *out = reinterpret_cast<QRgb *>(target.scanLine(y));
        if (y > r0 && rows[size_t(y)] == rows[size_t(y) - 1]) {
            // Enlarged: the row repeats the one above.
            std::memcpy(out + c0, target.constScanLine(y - 1) + 4 * c0, size_t(c1 - c0) * 4);
            continue;
        }
        const int row = rows[size_t(y)];
        if (indexed) {
            const uchar *in = m_picture.constScanLine(row);
            for (int x = c0; x < c1; ++x)
                out[x] = m_screen[in[columns[size_t(x)]]];
        } else {
            // A working picture is indexed or RGB32; the alpha bytes of a
            // 32-bit file with alpha are kept for saving, not shown.
            const auto *in = reinterpret_cast<const QRgb *>(m_picture.constScanLine(row));
            for (int x = c0; x < c1; ++x)
                out[x] = in[columns[size_t(x)]] | 0xff000000u;
        }
    }

    QPainter compose;
    if (!opaque) {
        compose.begin(&shown);
        compose.drawImage(0, 0, layer);
    }
    // The ghost, scaled by the same mapping.
    const QRect ghostArea = overlay.ghostRect();
    if (!ghostArea.isEmpty()) {
        const auto [g0, g1] = span(columns, ghostArea.left(), ghostArea.right() + 1);
        const auto [h0, h1] = span(rows, ghostArea.top(), ghostArea.bottom() + 1);
        if (g1 > g0 && h1 > h0) {
            QImage ghost(g1 - g0, h1 - h0, QImage::Format_ARGB32_Premultiplied);
            for (int y = h0; y < h1; ++y) {
                const auto *in = reinterpret_cast<const QRgb *>(
                    overlay.ghost.constScanLine(rows[size_t(y)] - overlay.ghostAt.y()));
                auto *out = reinterpret_cast<QRgb *>(ghost.scanLine(y - h0));
                for (int x = g0; x < g1; ++x)
                    out[x - g0] = in[columns[size_t(x)] - overlay.ghostAt.x()];
            }
            if (!compose.isActive())
                compose.begin(&shown);
            compose.drawImage(g0, h0, ghost);
        }
    }
    if (compose.isActive())
        compose.end();

    shown.setDevicePixelRatio(ratio);
    painter.drawImage((QPointF(device.topLeft()) - origin) / ratio, shown);
}
