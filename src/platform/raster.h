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
/// be read (also when it is no regular file: a pipe or a device is never
/// opened) and "Bitmap image is not valid" when it is no readable BMP picture;
/// the headers are checked before the pixels are read, so a file that cannot
/// be a picture is refused at once, whatever its size. Pixels the file does
/// not supply (a truncated file, a short RLE stream) are zero, never leftover
/// memory. A zero-length file reads as a null picture. `fileBits`, when
/// given, receives the file's bits per pixel (0 for a null picture), which
/// saving needs to keep the file's depth.
QImage readBmpFile(const QString &path, int *fileBits = nullptr);

/// Decodes BMP data held in memory (a file's bytes, the clipboard's "image/bmp");
/// same rules as readBmpFile.
QImage readBmpData(const QByteArray &data, int *fileBits = nullptr);

/// Encodes the picture as a BMP in its own pixel format: an indexed picture
/// keeps its colour table (4 bits for up to 16 colours, else 8 bits), RGB
/// pictures are 24 bits. An indexed picture of up to 16 colours read from an
/// 8-bit file (`fileBits` 8) stays 8-bit. Row padding is always zero: the
/// bytes depend on the picture alone. Throws DkError "Bitmap image is not
/// valid" for a null picture.
QByteArray encodeBmp(const QImage &picture, int fileBits = 0);

/// Writes the picture as a BMP file (as encodeBmp) straight to the disk,
/// atomically: the old file keeps its place until the new one is complete,
/// and a failed write leaves it untouched. Throws DkError "Cannot create file
/// %s" on failure.
void writeBmpFile(const QImage &picture, const QString &path, int fileBits = 0);

/// Brings a decoded picture into a working format (Indexed8 or RGB32).
QImage toWorkingFormat(const QImage &picture);

/// A stamp picture with white in place of its transparent pure blue, as the
/// palette and the legend show it. An indexed picture keeps its format (its
/// colour table is recoloured); any other becomes RGB32.
QImage whiteGround(const QImage &stamp);

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
