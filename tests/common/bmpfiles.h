#pragma once

// BMP files built byte by byte for tests: the good and the broken files the
// tests need are made here, so no test depends on files outside the
// repository. Each builder returns the whole file.

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QProcess>
#include <QRgb>
#include <QStandardPaths>
#include <QVector>
#include <QtEndian>

#include <functional>

namespace bmpfiles {

inline void put16(QByteArray &d, int at, quint16 v)
{
    qToLittleEndian<quint16>(v, d.data() + at);
}
inline void put32(QByteArray &d, int at, quint32 v)
{
    qToLittleEndian<quint32>(v, d.data() + at);
}

/// File header, info header (Windows, 40 bytes; OS/2, 12 bytes) and a grey
/// colour table of `colours` entries; the pixel data follows at once.
/// finish() fills in the file size.
inline QByteArray headers(qint32 w, qint32 h, quint16 bits, quint32 compression, int colours,
                          bool os2 = false)
{
    const int info = os2 ? 12 : 40;
    const int entry = os2 ? 3 : 4;
    QByteArray d(14 + info + colours * entry, '\0');
    d[0] = 'B';
    d[1] = 'M';
    put32(d, 10, quint32(d.size()));
    put32(d, 14, quint32(info));
    if (os2) {
        put16(d, 18, quint16(w));
        put16(d, 20, quint16(h));
        put16(d, 22, 1);
        put16(d, 24, bits);
    } else {
        put32(d, 18, quint32(w));
        put32(d, 22, quint32(h));
        put16(d, 26, 1);
        put16(d, 28, bits);
        put32(d, 30, compression);
        put32(d, 46, quint32(colours));
    }
    for (int i = 0; i < colours; ++i) {
        const char level = char(colours > 1 ? i * 255 / (colours - 1) : 0);
        for (int c = 0; c < 3; ++c)
            d[14 + info + i * entry + c] = level;
    }
    return d;
}

inline QByteArray finish(QByteArray d)
{
    put32(d, 2, quint32(d.size()));
    return d;
}

/// An uncompressed file whose pixel (x, y) (y from the top) has the given
/// value: a colour index for 1, 4 and 8 bits, 0xRRGGBB for 24 bits. Row
/// padding bytes hold `pad`.
inline QByteArray uncompressed(qint32 w, qint32 h, quint16 bits,
                               const std::function<quint32(int, int)> &value, bool topDown = false,
                               bool os2 = false, char pad = '\0')
{
    QByteArray d = headers(w, topDown ? -h : h, bits, 0, bits <= 8 ? 1 << bits : 0, os2);
    const int stride = ((w * bits + 31) / 32) * 4;
    for (int row = 0; row < h; ++row) {
        const int y = topDown ? row : h - 1 - row;
        QByteArray line(stride, pad);
        for (int x = 0; x < w; ++x) {
            const quint32 v = value(x, y);
            if (bits == 24) {
                line[3 * x] = char(v & 0xff);
                line[3 * x + 1] = char((v >> 8) & 0xff);
                line[3 * x + 2] = char((v >> 16) & 0xff);
            } else if (bits == 8) {
                line[x] = char(v);
            } else {
                const int perByte = 8 / bits;
                const int shift = 8 - bits * (x % perByte + 1);
                if (x % perByte == 0)
                    line[x / perByte] = '\0';
                line[x / perByte] =
                    char(uchar(line[x / perByte]) | ((v & ((1u << bits) - 1)) << shift));
            }
        }
        d.append(line);
    }
    return finish(d);
}

/// A 16- or 32-bit file whose pixel (x, y) (y from the top) has the raw
/// value given; compression 0 (the usual layout), 3 (three masks) or 6 (four
/// masks), the masks following the 40-byte header.
inline QByteArray masked(qint32 w, qint32 h, quint16 bits, quint32 compression,
                         const QList<quint32> &masks, const std::function<quint32(int, int)> &value)
{
    QByteArray d = headers(w, h, bits, compression, 0);
    for (const quint32 mask : masks) {
        d.append(QByteArray(4, '\0'));
        put32(d, d.size() - 4, mask);
    }
    put32(d, 10, quint32(d.size()));
    const int stride = ((w * bits + 31) / 32) * 4;
    for (int row = 0; row < h; ++row) {
        QByteArray line(stride, '\0');
        for (int x = 0; x < w; ++x) {
            if (bits == 16)
                put16(line, 2 * x, quint16(value(x, h - 1 - row)));
            else
                put32(line, 4 * x, value(x, h - 1 - row));
        }
        d.append(line);
    }
    return finish(d);
}

/// The pixels of a file from its pixel offset on: for comparing files
/// written bit for bit.
inline QByteArray pixelBytes(const QByteArray &file)
{
    return file.mid(int(qFromLittleEndian<quint32>(file.constData() + 10)));
}

/// The pixels ImageMagick decodes from the file, as ARGB values row by row
/// from the top; empty when ImageMagick is not installed.
inline QVector<QRgb> imageMagickPixels(const QString &path)
{
    const QString convert = QStandardPaths::findExecutable(QStringLiteral("convert"));
    if (convert.isEmpty())
        return {};
    QProcess process;
    process.start(convert, {QStringLiteral("BMP:") + path, QStringLiteral("-depth"),
                            QStringLiteral("8"), QStringLiteral("RGBA:-")});
    process.waitForFinished(60000);
    const QByteArray out = process.readAllStandardOutput();
    QVector<QRgb> pixels;
    for (int i = 0; i + 3 < out.size(); i += 4)
        pixels << qRgba(uchar(out[i]), uchar(out[i + 1]), uchar(out[i + 2]), uchar(out[i + 3]));
    return pixels;
}

/// A run-length encoded file (RLE8 for 8 bits, RLE4 for 4 bits) with the
/// given data stream.
inline QByteArray rle(qint32 w, qint32 h, quint16 bits, const QByteArray &stream)
{
    QByteArray d = headers(w, h, bits, bits == 8 ? 1 : 2, 1 << bits);
    d.append(stream);
    return finish(d);
}

/// Pieces of an RLE stream.
inline QByteArray run(int count, int value)
{
    return QByteArray(1, char(count)) + char(value);
}
inline QByteArray endOfLine()
{
    return QByteArray("\0\0", 2);
}
inline QByteArray endOfPicture()
{
    return QByteArray("\0\1", 2);
}
inline QByteArray delta(int dx, int dy)
{
    return QByteArray("\0\2", 2) + char(dx) + char(dy);
}

/// The project's own set of good and broken files, by name. Good ones
/// decode; broken ones are either refused as not valid or decode the same
/// way every time, with zeros where the file gives no pixels.
inline QList<QPair<QString, QByteArray>> cases()
{
    const auto pattern = [](int x, int y) { return quint32((x * 7 + y * 3) % 251); };
    QList<QPair<QString, QByteArray>> files;
    const auto add = [&files](const char *name, const QByteArray &bytes) {
        files.append({QString::fromLatin1(name), bytes});
    };

    // Widths that need row padding, in every depth the program writes.
    add("pal8-127", uncompressed(127, 9, 8, pattern));
    add("pal4-13", uncompressed(13, 5, 4, [](int x, int y) { return quint32((x + y) % 16); }));
    add("rgb24-127",
        uncompressed(127, 5, 24, [](int x, int y) { return quint32(x * 0x010203 + y); }));
    add("pal1-13", uncompressed(13, 4, 1, [](int x, int y) { return quint32((x + y) & 1); }));
    add("pal8-topdown", uncompressed(31, 6, 8, pattern, true));
    add("pal8-os2", uncompressed(33, 5, 8, pattern, false, true));
    // Row padding full of rubbish in the file itself.
    add("pal8-dirty-padding", uncompressed(13, 4, 8, pattern, false, false, '\x5a'));

    // RLE8 that leaves pixels out: a jump, a line ended early, the picture
    // ended early.
    add("rle8-gaps", rle(127, 40, 8,
                         run(20, 200) + delta(30, 3) + run(10, 100) + endOfLine() + run(127, 50) +
                             endOfLine() + run(5, 9) + endOfPicture()));
    // Runs longer than the row, absolute runs, a stream that just stops.
    add("rle8-overlong", rle(127, 8, 8, run(255, 77) + run(255, 78) + endOfLine() + run(3, 1)));
    add("rle8-absolute-cut", rle(61, 6, 8, QByteArray("\0\5\1\2\3\4\5\0", 8) + run(10, 44)));
    add("rle8-cut", rle(127, 30, 8, run(50, 9) + endOfLine() + run(60, 10)));
    add("rle4-gaps", rle(25, 12, 4, run(7, 0x12) + delta(5, 2) + run(9, 0x34) + endOfPicture()));
    // RLE with a negative height (not allowed by the format).
    {
        QByteArray d = headers(127, -8, 8, 1, 256);
        d.append(run(40, 3) + endOfPicture());
        add("rle8-topdown", finish(d));
    }

    // A file cut off in its last row (its top row is then left out), and one
    // cut off long before its end (refused: it cannot hold its picture).
    {
        const QByteArray whole = uncompressed(127, 40, 8, pattern);
        add("pal8-truncated", whole.left(whole.size() - 60));
        add("pal8-cut-short", whole.left(1200));
    }
    // Pixel indexes past the end of a short colour table.
    {
        QByteArray d = headers(9, 3, 8, 0, 4);
        for (int i = 0; i < 3; ++i)
            d.append(QByteArray("\0\1\2\3\7\x80\xff\3\2\0\0\0", 12));
        add("pal8-bad-index", finish(d));
    }

    // Refused: impossible headers.
    {
        QByteArray d = uncompressed(8, 8, 8, pattern);
        put16(d, 28, 3);
        add("bad-bit-count", d);
    }
    {
        QByteArray d = uncompressed(8, 8, 8, pattern);
        put32(d, 18, quint32(-8));
        add("bad-width", d);
    }
    {
        QByteArray d = headers(50000, 50000, 24, 0, 0);
        d.append(QByteArray(200, '\x11'));
        add("really-big", finish(d));
    }
    add("not-a-bitmap", QByteArray("GIF89a this is no bitmap at all, only words."));
    add("header-only", headers(10, 10, 8, 0, 0).left(20));
    return files;
}

/// One file of cases() by name (empty when there is none of that name).
inline QByteArray named(const char *name)
{
    for (const auto &file : cases())
        if (file.first == QLatin1String(name))
            return file.second;
    return QByteArray();
}

/// An 8-bit 6 x 2 file whose colour table has four entries: without its
/// depth, the picture would be saved as a 4-bit file.
inline QByteArray eightBitFewColours()
{
    QByteArray file = headers(6, 2, 8, 0, 4);
    file.append(QByteArray("\0\1\2\3\1\0\0\0\3\2\1\0\0\0\0\0", 16));
    return finish(file);
}

} // namespace bmpfiles
