#pragma once

#include "bmpmasks.h"

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
/// picture alone decides.
struct BmpFormat {
    BmpFormat() = default;
    BmpFormat(int bits, bmpmasks::Masks fileMasks = {}) : bitsPerPixel(bits), masks(fileMasks) {}

    /// Bits per pixel of the file (1, 4, 8, 16, 24 or 32); 0 for no file.
    int bitsPerPixel = 0;
    /// The channel masks of a 16- or 32-bit file (as the file gives them or
    /// as its depth implies them); all zero stands for the usual ones.
    bmpmasks::Masks masks;

    bool operator==(const BmpFormat &other) const
    {
        return bitsPerPixel == other.bitsPerPixel && masks == other.masks;
    }
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
/// which saving needs to keep the file's depth. The channels of 16- and
/// 32-bit files are widened to 8 bits by repeating their top bits, and their
/// alpha channel, where the file has one, is kept in the alpha bytes of the
/// RGB32 picture (255 without one).
QImage readBmpFile(const QString &path, BmpFormat *format = nullptr);

/// Reads a BMP file (as readBmpFile) for a use that needs it at most
/// `maxWidth` pixels wide: a wider picture is decoded in its file's own
/// depth and reduced (see reducedToWidth) before anything larger is made, so
/// that a huge map costs little more memory than its pixels at their depth.
/// A picture up to that width comes back as readBmpFile gives it.
QImage readBmpFileReduced(const QString &path, int maxWidth);

/// Decodes BMP data held in memory (a file's bytes, the clipboard's "image/bmp");
/// same rules as readBmpFile.
QImage readBmpData(const QByteArray &data, BmpFormat *format = nullptr);

/// Encodes the picture as a BMP. Without a file's format it is written in
/// its own pixel format: an indexed picture keeps its colour table (4 bits
/// for up to 16 colours, else 8 bits), an RGB picture is 24 bits. With a
/// file's format the picture keeps that format wherever it fits: an indexed
/// picture whose colour table fits the file's 1, 4 or 8 bits keeps that depth
/// (an 8-bit file of up to 16 colours stays 8-bit), and an RGB picture is
/// written in 16 or 32 bits with the file's masks, each channel cut to its
/// top bits, the alpha channel taken from the pixels' alpha bytes. RLE files
/// are written uncompressed at their depth, every file from the bottom row
/// up. Row padding is always zero: the bytes depend on the picture alone.
/// Throws DkError "Bitmap image is not valid" for a null picture.
QByteArray encodeBmp(const QImage &picture, const BmpFormat &format = {});

/// Writes the picture as a BMP file (as encodeBmp) straight to the disk,
/// atomically: the old file keeps its place until the new one is complete,
/// and a failed write leaves it untouched. Throws DkError "Cannot create file
/// %s" on failure.
void writeBmpFile(const QImage &picture, const QString &path, const BmpFormat &format = {});

} // namespace raster
