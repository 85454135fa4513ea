#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

/// BMP pictures in and out: the one codec of the program, for map files,
/// own overlays, the artwork, the clipboard's "image/bmp" and the print
/// command's working file. Pictures come out in a working format of
/// raster.h (Indexed8 or RGB32).
namespace raster {

/// How a BMP file lays out its pixels, as far as a save keeps it: read with
/// the picture and handed back to encodeBmp or writeBmpFile, so that a file
/// is written in the format it came in. The default describes no file: the
/// picture alone decides. What else a save may keep (the channel masks of
/// 16- and 32-bit files, the compression) belongs here too.
struct BmpFormat {
    /// Bits per pixel of the file (1, 4, 8, 16, 24 or 32); 0 for no file.
    int bitsPerPixel = 0;

    bool operator==(const BmpFormat &other) const { return bitsPerPixel == other.bitsPerPixel; }
    bool operator!=(const BmpFormat &other) const { return !(*this == other); }
};

/// Reads a BMP file. Throws DkError "Cannot open file %s" when the file cannot
/// be read (also when it is no regular file: a pipe or a device is never
/// opened) and "Bitmap image is not valid" when it is no readable BMP picture;
/// the headers are checked before the pixels are read, so a file that cannot
/// be a picture is refused at once, whatever its size. Pixels the file does
/// not supply (a truncated file, a short RLE stream) are zero, never leftover
/// memory. A zero-length file reads as a null picture. `format`, when given,
/// receives the file's pixel format (the default one for a null picture),
/// which saving needs to keep the file's depth.
QImage readBmpFile(const QString &path, BmpFormat *format = nullptr);

/// Decodes BMP data held in memory (a file's bytes, the clipboard's "image/bmp");
/// same rules as readBmpFile.
QImage readBmpData(const QByteArray &data, BmpFormat *format = nullptr);

/// Encodes the picture as a BMP in its own pixel format: an indexed picture
/// keeps its colour table (4 bits for up to 16 colours, else 8 bits), RGB
/// pictures are 24 bits. An indexed picture of up to 16 colours read from an
/// 8-bit file (`format` of 8 bits) stays 8-bit. Row padding is always zero:
/// the bytes depend on the picture alone. Throws DkError "Bitmap image is not
/// valid" for a null picture.
QByteArray encodeBmp(const QImage &picture, const BmpFormat &format = {});

/// Writes the picture as a BMP file (as encodeBmp) straight to the disk,
/// atomically: the old file keeps its place until the new one is complete,
/// and a failed write leaves it untouched. Throws DkError "Cannot create file
/// %s" on failure.
void writeBmpFile(const QImage &picture, const QString &path, const BmpFormat &format = {});

} // namespace raster
