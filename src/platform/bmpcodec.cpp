#include "bmpcodec.h"

#include "errors.h"
#include "raster.h"
#include "userfiles.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QtEndian>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>
#include <vector>

#include <sys/mman.h>

namespace {

// A little-endian field of a BMP header, `at` bytes into `data`.
template <typename T> T field(const char *data, int at)
{
    return qFromLittleEndian<T>(data + at);
}

// The largest picture we accept at all, in pixels. A board is 0.6 megapixels;
// this leaves room for very large user maps (10,000 x 10,000 and more).
constexpr qint64 kMaxPixels = qint64(1) << 28;

// The headers that the checks below look at lie within the first bytes, and
// so do the two colours of a 1-bit file.
constexpr qint64 kHeaderBytes = 256;

// What the file and info headers say about the picture, as far as the
// checks and the file's pixel format need it.
struct BmpHeader {
    qint64 pixelOffset = 0; // where the pixel data starts in the file
    qint64 width = 0;
    qint64 height = 0; // negative for a picture stored top-down
    int bitsPerPixel = 0;
    quint32 compression = 0;
    int infoSize = 0;
    bmpmasks::Masks masks; // of a 16- or 32-bit file: as given, else its depth's own

    // Whether the pixels are 16 or 32 bits in channel masks (decoded here,
    // not by Qt).
    bool masked() const
    {
        return infoSize >= 40 && (bitsPerPixel == 16 || bitsPerPixel == 32) &&
               (compression == 0 || compression == 3 || compression == 6);
    }
};

// Reads the headers from the first bytes of a file; nothing for a file that
// is too short to hold them or does not start like a BMP.
std::optional<BmpHeader> parseHeader(const QByteArray &head)
{
    const char *d = head.constData();
    if (head.size() < 26 || d[0] != 'B' || d[1] != 'M')
        return std::nullopt;
    BmpHeader header;
    header.pixelOffset = field<quint32>(d, 10);
    if (field<quint32>(d, 14) == 12) { // the old OS/2 core header
        header.width = field<quint16>(d, 18);
        header.height = field<quint16>(d, 20);
        header.bitsPerPixel = field<quint16>(d, 24);
        return header;
    }
    if (head.size() < 34)
        return std::nullopt;
    header.width = field<qint32>(d, 18);
    header.height = field<qint32>(d, 22);
    header.bitsPerPixel = field<quint16>(d, 28);
    header.compression = field<quint32>(d, 30);
    header.infoSize = int(std::min<quint32>(field<quint32>(d, 14), 1024));
    if (header.masked()) {
        // The masks follow a 40-byte header or lie in a longer one, at the
        // same place either way; the alpha mask only where the header or the
        // compression makes room for it.
        header.masks = bmpmasks::defaultMasks(header.bitsPerPixel);
        if (header.compression != 0) {
            const QByteArray masks = head.mid(54, 16).leftJustified(16, '\0');
            const char *m = masks.constData();
            const bool alpha = header.compression == 6 || header.infoSize >= 56;
            header.masks = {field<quint32>(m, 0), field<quint32>(m, 4), field<quint32>(m, 8),
                            alpha ? field<quint32>(m, 12) : 0u};
        }
    }
    return header;
}

// Looks at the headers before anything is allocated or read: a file that
// declares more pixels than it can possibly hold is refused here, so a few
// hundred bytes can never make us reserve gigabytes, and a file that is no
// BMP at all is refused after its first bytes, whatever its size.
bool plausible(const BmpHeader &header, qint64 fileSize)
{
    const qint64 w = header.width;
    qint64 h = header.height;
    const int bpp = header.bitsPerPixel;
    if (w <= 0 || h == 0 || h == std::numeric_limits<qint32>::min())
        return false;
    h = std::abs(h);
    if (w > 65535 || h > 65535 || w * h > kMaxPixels)
        return false;
    const qint64 available = fileSize - std::min(header.pixelOffset, fileSize);
    switch (header.compression) {
    case 0:   // uncompressed
    case 3:   // bit fields
    case 6: { // alpha bit fields
        if (bpp <= 0 || bpp > 64)
            return false;
        const qint64 stride = ((w * bpp + 31) / 32) * 4;
        // Allow the padding of the last row to be missing, nothing more.
        return stride * h <= available + stride;
    }
    case 1: // RLE8
    case 2: // RLE4
        // A run of two bytes covers at most 255 pixels and a delta of four
        // bytes skips at most 255 x 255; an end-of-picture mark leaves the rest
        // at zero. Ask for at least one byte of data per 1024 pixels.
        return available > 0 && w * h <= available * 1024;
    default:
        return true; // other encodings: left to the decoder to accept or refuse
    }
}

// Pictures from this size on get memory of their own from the system.
constexpr size_t kLargePicture = size_t(8) << 20;

struct Mapping {
    void *address;
    size_t length;
};

// A picture whose every byte is zero, padding included, so that pixels the
// file does not supply (a truncated file, a short RLE stream, the gaps an RLE
// jump leaves) are zero, never leftover memory. Zeroed memory costs nothing
// extra for a large picture: it comes fresh from the system, in huge pages
// where the system offers them (a 100 MB picture then takes 50 page faults
// instead of 25,000).
QImage zeroedPicture(QSize size, QImage::Format format)
{
    const int depth = QImage::toPixelFormat(format).bitsPerPixel();
    const qsizetype stride = ((qsizetype(size.width()) * depth + 31) / 32) * 4;
    const size_t bytes = size_t(stride) * size_t(size.height());
    if (bytes >= kLargePicture) {
        void *memory =
            mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (memory == MAP_FAILED)
            return QImage();
        madvise(memory, bytes, MADV_HUGEPAGE);
        auto *mapping = new Mapping{memory, bytes};
        return QImage(
            static_cast<uchar *>(memory), size.width(), size.height(), stride, format,
            [](void *info) {
                auto *m = static_cast<Mapping *>(info);
                munmap(m->address, m->length);
                delete m;
            },
            mapping);
    }
    void *memory = std::calloc(bytes, 1);
    if (!memory)
        return QImage();
    return QImage(
        static_cast<uchar *>(memory), size.width(), size.height(), stride, format,
        [](void *bits) { std::free(bits); }, memory);
}

// Indexes past the end of the colour table (a broken file) read as black,
// the same on every load.
void blackenOutOfTableIndexes(QImage &picture)
{
    if (picture.format() != QImage::Format_Indexed8 || picture.colorCount() >= 256)
        return;
    uchar highest = 0;
    for (int y = 0; y < picture.height(); ++y) {
        const uchar *line = picture.constScanLine(y);
        for (int x = 0; x < picture.width(); ++x)
            highest = std::max(highest, line[x]);
    }
    if (highest < picture.colorCount())
        return;
    QVector<QRgb> table = picture.colorTable();
    while (table.size() <= highest)
        table.append(qRgb(0, 0, 0));
    picture.setColorTable(table);
}

// Decodes the pixels of the whole picture that `device` holds from its start
// straight into one zeroed picture.
QImage decodePixels(QIODevice &device)
{
    QImageReader reader(&device, "bmp");
    reader.setAutoTransform(false);
    // A top-down file reports a negative height.
    const QSize pictureSize(reader.size().width(), std::abs(reader.size().height()));
    const QImage::Format format = reader.imageFormat();
    if (!pictureSize.isValid() || format == QImage::Format_Invalid)
        throw DkError(errors::invalidBitmap());

    // The decoder writes into the picture we hand it when size and format match.
    QImage picture = zeroedPicture(pictureSize, format);
    if (picture.isNull())
        throw DkError(errors::outOfMemory());
    if (!reader.read(&picture) || picture.isNull())
        throw DkError(errors::invalidBitmap());
    return picture;
}

// Qt hands out a 1-bit picture with its two colours in an order of its own
// and the pixels flipped to match; the file's order comes back here, so that
// a save writes the very bits the file held.
void keepFileColourOrder(QImage &picture, const QByteArray &head, int infoSize)
{
    const int at = 14 + infoSize;
    if (picture.colorCount() != 2 || head.size() < at + 3)
        return;
    const QRgb first = qRgb(uchar(head[at + 2]), uchar(head[at + 1]), uchar(head[at]));
    QVector<QRgb> table = picture.colorTable();
    if (raster::opaque(table[0]) == first || raster::opaque(table[1]) != first)
        return;
    std::swap(table[0], table[1]);
    picture.setColorTable(table);
    for (int y = 0; y < picture.height(); ++y) {
        uchar *line = picture.scanLine(y);
        for (int x = 0; x < picture.width(); ++x)
            line[x] ^= 1;
    }
}

// Decodes the pixels of a 16- or 32-bit file, row by row, into RGB32 with
// its alpha channel in the alpha bytes. Rows the file does not hold decode
// as pixels of zero bits.
QImage decodeMaskedPixels(QIODevice &device, const BmpHeader &header)
{
    const int w = int(header.width);
    const int h = int(std::abs(header.height));
    QImage picture = zeroedPicture(QSize(w, h), QImage::Format_RGB32);
    if (picture.isNull())
        throw DkError(errors::outOfMemory());
    if (!device.seek(header.pixelOffset))
        throw DkError(errors::invalidBitmap());
    const int bytes = header.bitsPerPixel / 8;
    const qint64 stride = ((qint64(w) * header.bitsPerPixel + 31) / 32) * 4;
    std::vector<char> row(size_t(stride), '\0');
    for (int i = 0; i < h; ++i) {
        const qint64 got = std::max<qint64>(device.read(row.data(), stride), 0);
        if (got < stride)
            std::fill(row.begin() + got, row.end(), '\0');
        const int y = header.height < 0 ? i : h - 1 - i;
        bmpmasks::decodeRow(reinterpret_cast<const uchar *>(row.data()), w, bytes, header.masks,
                            reinterpret_cast<QRgb *>(picture.scanLine(y)));
    }
    return picture;
}

// Decodes the BMP that `device` holds from its start (`size` bytes): the
// headers are checked first, then the pixels are decoded. `working`: in a
// working format, else as compact as the decoder gives it (1-bit pictures
// stay 1-bit).
QImage decodeBmp(QIODevice &device, qint64 size, raster::BmpFormat *format, bool working = true)
{
    if (format)
        *format = raster::BmpFormat();
    if (size == 0)
        return QImage();
    const QByteArray head = device.peek(kHeaderBytes);
    const std::optional<BmpHeader> header = parseHeader(head);
    if (!header || !plausible(*header, size))
        throw DkError(errors::invalidBitmap());

    QImage picture = header->masked() ? decodeMaskedPixels(device, *header) : decodePixels(device);
    blackenOutOfTableIndexes(picture);

    if (format) {
        format->bitsPerPixel = header->bitsPerPixel;
        format->masks = header->masks;
    }
    if (!working)
        return picture;
    picture = raster::toWorkingFormat(picture);
    if (header->bitsPerPixel == 1)
        keepFileColourOrder(picture, head, header->infoSize ? header->infoSize : 12);
    return picture;
}

} // namespace

QImage raster::readBmpData(const QByteArray &data, BmpFormat *format)
{
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    return decodeBmp(buffer, data.size(), format);
}

QImage raster::readBmpFile(const QString &path, BmpFormat *format)
{
    const std::unique_ptr<QFile> file = userfiles::openForReading(path);
    QImage picture = decodeBmp(*file, file->size(), format);
    if (file->error() != QFileDevice::NoError)
        throw DkError(errors::cannotOpen(path));
    return picture;
}

QImage raster::readBmpFileReduced(const QString &path, int maxWidth)
{
    const std::unique_ptr<QFile> file = userfiles::openForReading(path);
    QImage picture = decodeBmp(*file, file->size(), nullptr, false);
    if (file->error() != QFileDevice::NoError)
        throw DkError(errors::cannotOpen(path));
    if (picture.width() <= maxWidth)
        return toWorkingFormat(picture);
    return reducedToWidth(picture, maxWidth);
}

namespace {

// Writes the picture as a BMP file, piece by piece, to `out(data, size)`: the
// headers, the colour table, then the rows from the bottom up, each padded
// with zero bytes to a multiple of four. Without masks, the bytes are those
// Qt's own BMP writer gives, except that its row padding is copied from the
// picture's memory and ours is always zero.
template <typename Out>
void writeBmp(const QImage &source, const raster::BmpFormat &format, Out &&out)
{
    if (source.isNull())
        throw DkError(errors::invalidBitmap());
    const QImage picture = raster::toWorkingFormat(source);
    const bmpmasks::FileLayout layout =
        bmpmasks::fileLayout(picture, format.bitsPerPixel, format.masks);
    const QVector<QRgb> &table = layout.table;
    const int bits = layout.bits;
    const int w = picture.width(), h = picture.height();
    const qint64 stride = ((qint64(w) * bits + 31) / 32) * 4;
    const int tableAt = 14 + layout.infoSize + layout.maskBytes;
    const qint64 offBits = tableAt + qint64(table.size()) * 4;

    QByteArray head(int(offBits), '\0');
    const auto put16 = [&head](int at, quint16 v) {
        qToLittleEndian<quint16>(v, head.data() + at);
    };
    const auto put32 = [&head](int at, quint32 v) {
        qToLittleEndian<quint32>(v, head.data() + at);
    };
    head[0] = 'B';
    head[1] = 'M';
    put32(2, quint32(offBits + stride * h));
    put32(10, quint32(offBits));
    put32(14, quint32(layout.infoSize));
    put32(18, quint32(w));
    put32(22, quint32(h));
    put16(26, 1);
    put16(28, quint16(bits));
    put32(30, layout.compression);
    put32(34, quint32(stride * h));
    put32(38, quint32(picture.dotsPerMeterX() ? picture.dotsPerMeterX() : 2834));
    put32(42, quint32(picture.dotsPerMeterY() ? picture.dotsPerMeterY() : 2834));
    put32(46, quint32(table.size()));
    put32(50, quint32(table.size()));
    if (layout.compression == 3) {
        put32(54, layout.masks.red);
        put32(58, layout.masks.green);
        put32(62, layout.masks.blue);
        if (layout.infoSize >= 56)
            put32(66, layout.masks.alpha);
        if (layout.infoSize >= 108)
            put32(70, 0x73524742u); // the colour space: sRGB
    }
    for (int i = 0; i < table.size(); ++i) {
        head[tableAt + 4 * i] = char(qBlue(table[i]));
        head[tableAt + 1 + 4 * i] = char(qGreen(table[i]));
        head[tableAt + 2 + 4 * i] = char(qRed(table[i]));
    }
    out(head.constData(), head.size());

    std::vector<char> row(size_t(stride), '\0');
    for (int y = h - 1; y >= 0; --y) {
        const uchar *line = picture.constScanLine(y);
        if (bits == 8) {
            if (stride == w) { // no padding: the row as it is
                out(reinterpret_cast<const char *>(line), stride);
                continue;
            }
            std::memcpy(row.data(), line, size_t(w));
        } else if (bits == 4) {
            char *b = row.data();
            for (int x = 0; x + 1 < w; x += 2)
                *b++ = char((line[x] << 4) | (line[x + 1] & 0x0f));
            if (w & 1)
                *b = char(line[w - 1] << 4);
        } else if (bits == 1) {
            std::fill(row.begin(), row.end(), '\0');
            for (int x = 0; x < w; ++x)
                row[size_t(x >> 3)] = char(row[size_t(x >> 3)] | ((line[x] & 1) << (7 - (x & 7))));
        } else if (bits == 24) {
            const auto *pixels = reinterpret_cast<const QRgb *>(line);
            char *b = row.data();
            for (int x = 0; x < w; ++x) {
                *b++ = char(qBlue(pixels[x]));
                *b++ = char(qGreen(pixels[x]));
                *b++ = char(qRed(pixels[x]));
            }
        } else {
            bmpmasks::encodeRow(reinterpret_cast<const QRgb *>(line), w, bits / 8, layout.masks,
                                reinterpret_cast<uchar *>(row.data()));
        }
        out(row.data(), stride);
    }
}

} // namespace

QByteArray raster::encodeBmp(const QImage &picture, const BmpFormat &format)
{
    QByteArray bytes;
    writeBmp(picture, format, [&bytes](const char *data, qint64 size) {
        if (bytes.isEmpty()) // the headers come first: they give the file's size
            bytes.reserve(field<quint32>(data, 2));
        bytes.append(data, size);
    });
    return bytes;
}

void raster::writeBmpFile(const QImage &picture, const QString &path, const BmpFormat &format)
{
    if (picture.isNull())
        throw DkError(errors::invalidBitmap());
    userfiles::Replacement file(path);
    file.open();
    writeBmp(picture, format, [&file](const char *data, qint64 size) { file.write(data, size); });
    file.commit();
}
