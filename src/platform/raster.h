#pragma once

#include <QByteArray>
#include <QImage>
#include <QRect>
#include <QString>

#include <functional>

/// Raster operations on board pictures and stamps.
///
/// A picture is a QImage in one of two working formats: Format_Indexed8 (with
/// its colour table) or Format_RGB32. QPainter cannot draw into indexed
/// pictures, and a new map is an 8-bit grey picture that must stay one, so the
/// few drawing operations the editor needs are done here pixel by pixel.
/// Drawing into an indexed picture reduces each colour to the nearest entry of
/// its colour table.
namespace raster {

/// The fixed transparent colour of every stamp: pure blue.
constexpr QRgb kTransparent = 0xff0000ffu;

/// Reads a BMP file. Throws DkError "Cannot open file %s" when the file cannot
/// be read and "Bitmap image is not valid" when it is no readable BMP picture.
/// Pixels the file does not supply (a truncated file, a short RLE stream) are
/// zero, never leftover memory. A zero-length file reads as a null picture.
QImage readBmpFile(const QString &path);

/// Decodes BMP data held in memory; same rules as readBmpFile.
QImage readBmpData(const QByteArray &data);

/// Encodes the picture as a BMP in its own pixel format: an indexed picture
/// keeps its colour table and depth (4 or 8 bits), RGB pictures are 24 bits.
QByteArray encodeBmp(const QImage &picture);

/// Writes the picture as a BMP file atomically: a failed write leaves any old
/// file untouched. Throws DkError "Cannot create file %s" on failure.
void writeBmpFile(const QImage &picture, const QString &path);

/// Brings a decoded picture into a working format (Indexed8 or RGB32).
QImage toWorkingFormat(const QImage &picture);

/// Colour of the pixel at (x, y); 0 when outside the picture.
QRgb pixel(const QImage &picture, int x, int y);

/// Index of the colour-table entry nearest to c (ties go to the lower index).
int nearestIndex(const QVector<QRgb> &table, QRgb c);

/// Draws the stamp with its top-left corner at (x, y), leaving out every pure
/// blue pixel; what falls outside the target is cut off. Returns the rectangle
/// of the target that may have changed (empty when nothing was drawn).
QRect drawStamp(QImage &target, const QImage &stamp, int x, int y);

/// Copies the source opaque (no transparent colour) to (x, y), cut at the edges.
QRect drawOpaque(QImage &target, const QImage &source, int x, int y);

/// Told each run of pixels [from, to) of row y just before the fill writes it.
using RunObserver = std::function<void(int y, int from, int to)>;

/// Fills the 4-connected region of pixels that have exactly the colour of the
/// pixel at (x, y) with the colour `fill`. Iterative span fill: it needs no
/// stack proportional to the region, reads each run of the region word-wise
/// and looks at the rows next to a run once. Returns the bounding box of what
/// changed. `beforeWrite`, when given, hears of every run before it changes.
QRect floodFill(QImage &target, int x, int y, QRgb fill, const RunObserver &beforeWrite = {});

/// Fills the rectangle (clipped to the picture) with a solid colour.
void fillRect(QImage &target, const QRect &rect, QRgb colour);

/// Draws a 1-pixel outline along the rectangle's edges (clipped).
void drawOutline(QImage &target, const QRect &rect, QRgb colour);

} // namespace raster
