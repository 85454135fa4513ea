#pragma once

#include "preview.h"
#include "zoom.h"

#include <QHash>
#include <QImage>
#include <QRegion>

class QPainter;

/// What a map window shows of its board picture: the picture drawn from
/// displayable copies of its tiles, with the overlay's ghost on top.
///
/// An indexed picture cannot be put on screen as it is; converting it on
/// every paint would cost as much as the whole picture. The view keeps
/// converted tiles of the parts it has shown (a bounded number, the least
/// recently drawn go first) and brings them up to date rectangle by rectangle
/// as the picture changes. A 32-bit picture is drawn directly.
class MapView {
public:
    /// Shows `picture`, which must outlive the view.
    explicit MapView(const QImage &picture);

    /// The picture changed inside `region`: the tiles holding those pixels
    /// are brought up to date.
    void pictureChanged(const QRegion &region);

    /// Draws the part `area` of the map: the picture and, where nothing is,
    /// `background`, then the overlay's ghost.
    void paint(QPainter &painter, const QRect &area, const board::Overlay &overlay,
               const QColor &background);

    /// Draws the widget area `area` of the map shown at `zoom` on a surface
    /// of `devicePixelRatio` device pixels per widget pixel, without
    /// smoothing: each device pixel shows the picture pixel that
    /// Zoom::pixelAt gives for its top-left corner, the pixel a click there
    /// places on, also where the widget starts between two device pixels.
    /// Only the pixels shown are read; no tile is needed.
    void paintZoomed(QPainter &painter, const QRect &area, const board::Overlay &overlay,
                     const QColor &background, board::Zoom zoom, qreal devicePixelRatio);

    /// Side of the square tiles, and how many are kept at most.
    static constexpr int kTileSize = 256;
    static constexpr int kMaxTiles = 192;
    /// Tiles held now (for tests and benchmarks).
    int tileCount() const { return int(m_tiles.size()); }

private:
    struct Tile {
        QImage pixels;
        quint64 lastUse = 0;
    };
    bool cached() const;
    Tile &tile(int column, int row);
    void convert(const QRect &area, QImage &target, QPoint targetOrigin) const;

    const QImage &m_picture;
    QRgb m_screen[256];   ///< screen colour of each value of an indexed picture
    bool m_opaque = true; ///< every colour of the table is opaque
    QHash<quint64, Tile> m_tiles;
    quint64 m_uses = 0;
};
