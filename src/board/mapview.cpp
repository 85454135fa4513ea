#include "mapview.h"

#include <QPainter>

#include <algorithm>

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
