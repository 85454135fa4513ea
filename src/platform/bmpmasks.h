#pragma once

#include <QImage>
#include <QVector>
#include <QtGlobal>

/// How a saved BMP file lays out its pixels, and the pixels of 16- and 32-bit
/// files, whose channels lie in bit masks (5-5-5, 5-6-5, 8-8-8 with or
/// without alpha, or any other the file names). Part of the BMP codec
/// (bmpcodec.h): rows in, rows out.
namespace bmpmasks {

/// The four channel masks of a file's pixels.
struct Masks {
    quint32 red = 0;
    quint32 green = 0;
    quint32 blue = 0;
    quint32 alpha = 0;

    bool operator==(const Masks &o) const
    {
        return red == o.red && green == o.green && blue == o.blue && alpha == o.alpha;
    }
    bool operator!=(const Masks &o) const { return !(*this == o); }
};

/// The masks a file of that depth has without masks of its own: 5-5-5 for
/// 16 bits, 8-8-8 for 32 bits, both without alpha.
Masks defaultMasks(int bitsPerPixel);

/// A channel of `bits` bits widened to 8 by repeating its top bits (31 of 5
/// bits is 255, 16 is 132); a channel of more than 8 bits keeps its top 8.
quint32 widen(quint32 value, int bits);
/// The 8-bit value as a channel of `bits` bits: its top bits, so that a
/// widened value comes back as it was; a wider channel repeats them.
quint32 narrow(quint32 value, int bits);

/// How a picture is laid out in the file a save writes.
struct FileLayout {
    int bits = 24;
    QVector<QRgb> table;
    Masks masks;             ///< of 16 and 32 bits
    quint32 compression = 0; ///< 3 where the masks are no default ones
    int infoSize = 40;       ///< 108 (a version 4 header) for an alpha mask
    int maskBytes = 0;       ///< masks after a 40-byte header
};

/// The layout a save gives a working picture (Indexed8 or RGB32) read from a
/// file of `fileBits` bits with those masks (0 bits for no file): an indexed
/// picture keeps 1, 4 or 8 bits where its colour table fits them (an 8-bit
/// file of up to 16 colours gets 17 entries, as Qt's writer needs to keep it
/// 8-bit), else 4 bits for up to 16 colours and 8 bits for more; an RGB
/// picture keeps 16 or 32 bits with the file's masks, else 24 bits.
FileLayout fileLayout(const QImage &picture, int fileBits, const Masks &fileMasks);

/// Decodes one row of 2- or 4-byte pixels into RGB32 values; the alpha byte
/// holds the alpha channel, 255 where the masks have none.
void decodeRow(const uchar *in, int width, int bytesPerPixel, const Masks &masks, QRgb *out);

/// Encodes one row of RGB32 values as 2- or 4-byte pixels; the alpha channel
/// comes from the alpha byte.
void encodeRow(const QRgb *in, int width, int bytesPerPixel, const Masks &masks, uchar *out);

} // namespace bmpmasks
