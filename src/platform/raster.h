#pragma once

#include <QImage>
#include <QRect>
#include <QVector>

/// Drawing on board pictures and stamps.
///
/// A picture is a QImage in one of two working formats: Format_Indexed8 (with
/// its colour table) or Format_RGB32. QPainter cannot draw into indexed
/// pictures, and a new map is an 8-bit grey picture that must stay one, so the
/// few drawing operations the editor needs are done here pixel by pixel.
/// Drawing into an indexed picture reduces each colour to the nearest entry of
/// its colour table. BMP files are bmpcodec.h's, the flood fill floodfill.h's.
namespace raster {

/// The fixed transparent colour of every stamp: pure blue.
constexpr QRgb kTransparent = 0xff0000ffu;

/// The colour with full alpha: how the editor compares colours, whatever the
/// alpha byte of a pixel or a colour-table entry holds.
constexpr QRgb opaque(QRgb colour)
{
    return colour | 0xff000000u;
}

/// Brings a decoded picture into a working format (Indexed8 or RGB32).
QImage toWorkingFormat(const QImage &picture);

/// The picture reduced to `width` pixels wide, its height in proportion
/// (rounded, at least 1): each pixel of the result is the mean colour of the
/// source pixels it covers. Made row by row; the result is RGB32 and the
/// only picture made ("Out of memory" where it cannot be). A picture no
/// wider is given back as it is.
QImage reducedToWidth(const QImage &picture, int width);

/// The picture with every pixel of the colour `key` (pure blue unless told
/// otherwise; alpha bytes are not looked at) replaced by `replacement`. With
/// an opaque replacement an indexed picture stays indexed (its colour table
/// is recoloured) and any other becomes RGB32; with a transparent one, such
/// as 0, the result is ARGB32.
QImage keyOut(const QImage &picture, QRgb replacement, QRgb key = kTransparent);

/// A stamp picture with white in place of its transparent pure blue, as the
/// palette and the legend show it.
inline QImage whiteGround(const QImage &stamp)
{
    return keyOut(stamp, 0xffffffffu);
}

/// Colour of the pixel at (x, y), opaque; 0 when outside the picture.
QRgb pixel(const QImage &picture, int x, int y);

/// Index of the colour-table entry nearest to c (ties go to the lower index).
int nearestIndex(const QVector<QRgb> &table, QRgb c);

/// Draws the stamp with its top-left corner at (x, y), leaving out every pure
/// blue pixel; what falls outside the target is cut off. Returns the rectangle
/// of the target that may have changed (empty when nothing was drawn).
QRect drawStamp(QImage &target, const QImage &stamp, int x, int y);

/// Copies the source opaque (no transparent colour) to (x, y), cut at the edges.
QRect drawOpaque(QImage &target, const QImage &source, int x, int y);

/// Fills the rectangle (clipped to the picture) with a solid colour.
void fillRect(QImage &target, const QRect &rect, QRgb colour);

/// Draws a 1-pixel outline along the rectangle's edges (clipped).
void drawOutline(QImage &target, const QRect &rect, QRgb colour);

} // namespace raster
