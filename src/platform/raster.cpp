#include "raster.h"

#include "errors.h"
#include "userfiles.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QtEndian>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <sys/mman.h>

namespace {

quint32 u32(const QByteArray &d, int at)
{
    const auto *p = reinterpret_cast<const uchar *>(d.constData()) + at;
    return quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16 | quint32(p[3]) << 24;
}
quint16 u16(const QByteArray &d, int at)
{
    const auto *p = reinterpret_cast<const uchar *>(d.constData()) + at;
    return quint16(p[0] | p[1] << 8);
}

// The largest picture we accept at all, in pixels. A board is 0.6 megapixels;
// this leaves room for very large user maps (10,000 x 10,000 and more).
constexpr qint64 kMaxPixels = qint64(1) << 28;

// The headers that the checks below look at lie within the first bytes.
constexpr qint64 kHeaderBytes = 64;

// Looks at the headers before anything is allocated or read: a file that
// declares more pixels than it can possibly hold is refused here, so a few
// hundred bytes can never make us reserve gigabytes, and a file that is no
// BMP at all is refused after its first bytes, whatever its size.
bool headerPlausible(const QByteArray &d, qint64 fileSize)
{
    if (d.size() < 26 || d[0] != 'B' || d[1] != 'M')
        return false;
    const qint64 offBits = u32(d, 10);
    const quint32 infoSize = u32(d, 14);
    qint64 w = 0, h = 0;
    int bpp = 0;
    quint32 compression = 0;
    if (infoSize == 12) {
        w = u16(d, 18);
        h = u16(d, 20);
        bpp = u16(d, 24);
    } else {
        if (d.size() < 34)
            return false;
        w = qint32(u32(d, 18));
        h = qint32(u32(d, 22));
        bpp = u16(d, 28);
        compression = u32(d, 30);
    }
    if (w <= 0 || h == 0 || h == std::numeric_limits<qint32>::min())
        return false;
    h = std::abs(h);
    if (w > 65535 || h > 65535 || w * h > kMaxPixels)
        return false;
    const qint64 available = fileSize - std::min(offBits, fileSize);
    switch (compression) {
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

// Decodes the BMP that `device` holds from its start (`size` bytes): the
// headers are checked first, then the pixels are decoded straight into the
// one picture that is returned.
QImage decodeBmp(QIODevice &device, qint64 size, int *fileBits)
{
    if (fileBits)
        *fileBits = 0;
    if (size == 0)
        return QImage();
    const QByteArray head = device.peek(kHeaderBytes);
    if (!headerPlausible(head, size))
        throw DkError(errors::invalidBitmap());

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
        throw DkError(errors::invalidBitmap());
    if (!reader.read(&picture) || picture.isNull())
        throw DkError(errors::invalidBitmap());

    // Indexes past the end of the colour table (a broken file) read as
    // black, the same on every load.
    if (picture.format() == QImage::Format_Indexed8 && picture.colorCount() < 256) {
        uchar highest = 0;
        for (int y = 0; y < picture.height(); ++y) {
            const uchar *line = picture.constScanLine(y);
            for (int x = 0; x < picture.width(); ++x)
                highest = std::max(highest, line[x]);
        }
        if (highest >= picture.colorCount()) {
            QVector<QRgb> table = picture.colorTable();
            while (table.size() <= highest)
                table.append(qRgb(0, 0, 0));
            picture.setColorTable(table);
        }
    }

    if (fileBits)
        *fileBits = u32(head, 14) == 12 ? u16(head, 24) : u16(head, 28);
    return raster::toWorkingFormat(picture);
}

} // namespace

QImage raster::readBmpData(const QByteArray &data, int *fileBits)
{
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    return decodeBmp(buffer, data.size(), fileBits);
}

QImage raster::readBmpFile(const QString &path, int *fileBits)
{
    const std::unique_ptr<QFile> file = userfiles::openForReading(path);
    QImage picture = decodeBmp(*file, file->size(), fileBits);
    if (file->error() != QFileDevice::NoError)
        throw DkError(errors::cannotOpen(path));
    return picture;
}

QImage raster::toWorkingFormat(const QImage &picture)
{
    if (picture.isNull())
        return picture;
    switch (picture.format()) {
    case QImage::Format_Indexed8:
    case QImage::Format_RGB32:
        return picture;
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
        return picture.convertToFormat(QImage::Format_Indexed8);
    default:
        return picture.convertToFormat(QImage::Format_RGB32);
    }
}

namespace {

// Writes the picture as a BMP file, piece by piece, to `out(data, size)`: the
// headers, the colour table, then the rows from the bottom up, each padded
// with zero bytes to a multiple of four. The bytes are those Qt's own BMP
// writer gives, except that its row padding is copied from the picture's
// memory and ours is always zero.
template <typename Out> void writeBmp(const QImage &source, int fileBits, Out &&out)
{
    if (source.isNull())
        throw DkError(errors::invalidBitmap());
    const QImage picture = raster::toWorkingFormat(source);
    const bool indexed = picture.format() == QImage::Format_Indexed8;
    QVector<QRgb> table = indexed ? picture.colorTable() : QVector<QRgb>();
    // An indexed picture of up to 16 colours is a 4-bit file; one that came
    // from an 8-bit file stays 8-bit, with its colour table padded.
    if (indexed && table.size() <= 16 && fileBits == 8) {
        while (table.size() <= 16)
            table.append(qRgb(0, 0, 0));
    }
    const int bits = !indexed ? 24 : table.size() <= 16 ? 4 : 8;
    const int w = picture.width(), h = picture.height();
    const qint64 stride = ((qint64(w) * bits + 31) / 32) * 4;
    const qint64 offBits = 14 + 40 + qint64(table.size()) * 4;

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
    put32(14, 40);
    put32(18, quint32(w));
    put32(22, quint32(h));
    put16(26, 1);
    put16(28, quint16(bits));
    put32(34, quint32(stride * h));
    put32(38, quint32(picture.dotsPerMeterX() ? picture.dotsPerMeterX() : 2834));
    put32(42, quint32(picture.dotsPerMeterY() ? picture.dotsPerMeterY() : 2834));
    put32(46, quint32(table.size()));
    put32(50, quint32(table.size()));
    for (int i = 0; i < table.size(); ++i) {
        head[54 + 4 * i] = char(qBlue(table[i]));
        head[55 + 4 * i] = char(qGreen(table[i]));
        head[56 + 4 * i] = char(qRed(table[i]));
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
        } else {
            const auto *pixels = reinterpret_cast<const QRgb *>(line);
            char *b = row.data();
            for (int x = 0; x < w; ++x) {
                *b++ = char(qBlue(pixels[x]));
                *b++ = char(qGreen(pixels[x]));
                *b++ = char(qRed(pixels[x]));
            }
        }
        out(row.data(), stride);
    }
}

} // namespace

QByteArray raster::encodeBmp(const QImage &picture, int fileBits)
{
    QByteArray bytes;
    writeBmp(picture, fileBits, [&bytes](const char *data, qint64 size) {
        if (bytes.isEmpty()) // the headers come first: they give the file's size
            bytes.reserve(qFromLittleEndian<quint32>(data + 2));
        bytes.append(data, size);
    });
    return bytes;
}

void raster::writeBmpFile(const QImage &picture, const QString &path, int fileBits)
{
    if (picture.isNull())
        throw DkError(errors::invalidBitmap());
    userfiles::Replacement file(path);
    file.open();
    writeBmp(picture, fileBits, [&file](const char *data, qint64 size) { file.write(data, size); });
    file.commit();
}

QImage raster::whiteGround(const QImage &stamp)
{
    if (stamp.isNull())
        return stamp;
    QImage out = stamp;
    if (out.format() == QImage::Format_Indexed8) {
        // Recolour the table: every blue entry becomes white.
        QVector<QRgb> table = out.colorTable();
        for (QRgb &c : table) {
            if ((c | 0xff000000u) == kTransparent)
                c = 0xffffffffu;
        }
        out.setColorTable(table);
        return out;
    }
    out = out.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < out.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            if ((line[x] | 0xff000000u) == kTransparent)
                line[x] = 0xffffffffu;
        }
    }
    return out;
}

QRgb raster::pixel(const QImage &picture, int x, int y)
{
    if (!picture.valid(x, y))
        return 0;
    if (picture.format() == QImage::Format_Indexed8) {
        const int index = picture.constScanLine(y)[x];
        return index < picture.colorCount() ? picture.color(index) | 0xff000000u : 0xff000000u;
    }
    return picture.pixel(x, y) | 0xff000000u;
}

int raster::nearestIndex(const QVector<QRgb> &table, QRgb c)
{
    int best = 0;
    int bestDistance = std::numeric_limits<int>::max();
    const QRgb *entries = table.constData();
    for (int i = 0; i < table.size(); ++i) {
        const int dr = qRed(entries[i]) - qRed(c);
        const int dg = qGreen(entries[i]) - qGreen(c);
        const int db = qBlue(entries[i]) - qBlue(c);
        const int distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = i;
            if (distance == 0)
                break;
        }
    }
    return best;
}

namespace {

// The colour of every possible source pixel value, for one stamp: an indexed
// stamp has at most 256 of them, which we look up instead of converting pixels.
struct SourceColours {
    explicit SourceColours(const QImage &source)
    {
        if (source.format() == QImage::Format_Indexed8) {
            colours.resize(256, 0xff000000u);
            for (int i = 0; i < source.colorCount() && i < 256; ++i)
                colours[i] = source.color(i) | 0xff000000u;
        }
    }
    std::vector<QRgb> colours;
};

// Maps the source's indexed colours to target indexes in one pass; entries
// that are transparent map to -1.
std::vector<int> indexMap(const SourceColours &src, const QImage &target, bool skipBlue)
{
    std::vector<int> map(src.colours.size(), -1);
    const QVector<QRgb> table = target.colorTable();
    for (size_t i = 0; i < src.colours.size(); ++i) {
        if (skipBlue && src.colours[i] == raster::kTransparent)
            continue;
        map[i] = raster::nearestIndex(table, src.colours[i]);
    }
    return map;
}

// A cache for RGB sources drawn into an indexed target: the nearest entry of
// each colour met, in a table indexed by a hash of the colour. A stamp holds
// few colours, but they alternate from pixel to pixel.
struct NearestCache {
    explicit NearestCache(const QImage &target) : table(target.colorTable()) {}
    int operator()(QRgb c)
    {
        Slot &slot = cache[(c ^ (c >> 7) ^ (c >> 15)) & (kSlots - 1)];
        if (slot.index < 0 || slot.colour != c) {
            slot.colour = c;
            slot.index = raster::nearestIndex(table, c);
        }
        return slot.index;
    }
    static constexpr int kSlots = 1024;
    struct Slot {
        QRgb colour = 0;
        int index = -1;
    };
    QVector<QRgb> table;
    std::vector<Slot> cache = std::vector<Slot>(kSlots);
};

QRect blit(QImage &target, const QImage &source, int x, int y, bool skipBlue)
{
    if (target.isNull() || source.isNull())
        return QRect();
    const QImage src = raster::toWorkingFormat(source);
    const QRect area = QRect(x, y, src.width(), src.height()).intersected(target.rect());
    if (area.isEmpty())
        return QRect();
    const bool targetIndexed = target.format() == QImage::Format_Indexed8;
    const bool sourceIndexed = src.format() == QImage::Format_Indexed8;
    const SourceColours colours(src);
    std::vector<int> map;
    if (targetIndexed && sourceIndexed)
        map = indexMap(colours, target, skipBlue);
    NearestCache nearest(target);

    for (int ty = area.top(); ty <= area.bottom(); ++ty) {
        const uchar *sline = src.constScanLine(ty - y);
        uchar *tline = target.scanLine(ty);
        for (int tx = area.left(); tx <= area.right(); ++tx) {
            const int sx = tx - x;
            if (sourceIndexed) {
                const uchar v = sline[sx];
                if (targetIndexed) {
                    const int to = map[v];
                    if (to >= 0)
                        tline[tx] = uchar(to);
                } else {
                    const QRgb c = colours.colours[v];
                    if (!(skipBlue && c == raster::kTransparent))
                        reinterpret_cast<QRgb *>(tline)[tx] = c;
                }
            } else {
                const QRgb c = reinterpret_cast<const QRgb *>(sline)[sx] | 0xff000000u;
                if (skipBlue && c == raster::kTransparent)
                    continue;
                if (targetIndexed)
                    tline[tx] = uchar(nearest(c));
                else
                    reinterpret_cast<QRgb *>(tline)[tx] = c;
            }
        }
    }
    return area;
}

} // namespace

QRect raster::drawStamp(QImage &target, const QImage &stamp, int x, int y)
{
    return blit(target, stamp, x, y, true);
}

QRect raster::drawOpaque(QImage &target, const QImage &source, int x, int y)
{
    return blit(target, source, x, y, false);
}

namespace {

// The span fill below asks a matcher whether pixels belong to the region. A
// matcher finds the end of a run of region pixels forwards and backwards and
// the next region pixel, eight bytes at a time where it can.

#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
constexpr bool kWordWise = true; // the lowest byte of a loaded word comes first
#else
constexpr bool kWordWise = false;
#endif

inline quint64 load64(const void *p)
{
    quint64 word;
    std::memcpy(&word, p, sizeof word);
    return word;
}

// Sets the top bit of the lowest zero byte of `word` (bytes above it may be
// flagged wrongly, which does not matter when only the lowest one is used).
inline quint64 lowestZeroByte(quint64 word)
{
    return (word - 0x0101010101010101ull) & ~word & 0x8080808080808080ull;
}

// The region is every byte of one value: an indexed picture whose colour table
// holds the region's colour once.
struct OneIndex {
    using Pixel = uchar;
    explicit OneIndex(uchar v) : value(v), pattern(0x0101010101010101ull * v) {}
    bool operator()(uchar p) const { return p == value; }

    // First position in [x, end) that is not in the region, or end.
    int runEnd(const uchar *line, int x, int end) const
    {
        if (kWordWise)
            for (; x + 8 <= end; x += 8)
                if (const quint64 d = load64(line + x) ^ pattern)
                    return x + (__builtin_ctzll(d) >> 3);
        while (x < end && line[x] == value)
            ++x;
        return x;
    }
    // Smallest position s >= begin such that [s, x) is all region.
    int runStart(const uchar *line, int x, int begin) const
    {
        if (kWordWise)
            for (; x - 8 >= begin; x -= 8)
                if (const quint64 d = load64(line + x - 8) ^ pattern)
                    return x - 8 + ((63 - __builtin_clzll(d)) >> 3) + 1;
        while (x > begin && line[x - 1] == value)
            --x;
        return x;
    }
    // First region position in [x, end), or end.
    int next(const uchar *line, int x, int end) const
    {
        if (kWordWise)
            for (; x + 8 <= end; x += 8)
                if (const quint64 z = lowestZeroByte(load64(line + x) ^ pattern))
                    return x + (__builtin_ctzll(z) >> 3);
        while (x < end && line[x] != value)
            ++x;
        return x;
    }

    uchar value;
    quint64 pattern;
};

// The region is a set of byte values: several entries of the colour table
// hold the region's colour.
struct IndexSet {
    using Pixel = uchar;
    bool operator()(uchar p) const { return member[p]; }
    int runEnd(const uchar *line, int x, int end) const
    {
        while (x < end && member[line[x]])
            ++x;
        return x;
    }
    int runStart(const uchar *line, int x, int begin) const
    {
        while (x > begin && member[line[x - 1]])
            --x;
        return x;
    }
    int next(const uchar *line, int x, int end) const
    {
        while (x < end && !member[line[x]])
            ++x;
        return x;
    }

    const bool *member;
};

// The region is one colour of a 32-bit picture, whatever its alpha byte.
struct OneColour {
    using Pixel = QRgb;
    static constexpr quint64 kAlphas = 0xff000000ff000000ull;
    explicit OneColour(QRgb c) : colour(c | 0xff000000u), pattern(quint64(colour) << 32 | colour) {}
    bool operator()(QRgb p) const { return (p | 0xff000000u) == colour; }
    int runEnd(const QRgb *line, int x, int end) const
    {
        if (kWordWise)
            for (; x + 2 <= end; x += 2)
                if (const quint64 d = (load64(line + x) | kAlphas) ^ pattern)
                    return x + (__builtin_ctzll(d) >> 5);
        while (x < end && (*this)(line[x]))
            ++x;
        return x;
    }
    int runStart(const QRgb *line, int x, int begin) const
    {
        if (kWordWise)
            for (; x - 2 >= begin; x -= 2)
                if (const quint64 d = (load64(line + x - 2) | kAlphas) ^ pattern)
                    return x - 2 + ((63 - __builtin_clzll(d)) >> 5) + 1;
        while (x > begin && (*this)(line[x - 1]))
            --x;
        return x;
    }
    int next(const QRgb *line, int x, int end) const
    {
        while (x < end && !(*this)(line[x]))
            ++x;
        return x;
    }

    QRgb colour;
    quint64 pattern;
};

// Span fill: every stacked span (x1..x2 on row y, reached from row y - dy)
// is filled run by run; the row beyond (y + dy) is stacked below each run,
// the row it came from only where the run reaches past its parent span. A
// filled pixel never counts as the region again, so each is set once and the
// loop ends; the stack holds spans, never pixels.
template <typename Inside, typename SetRun>
QRect spanFill(uchar *bits, qsizetype bytesPerLine, int width, int height, int x0, int y0,
               const Inside &inside, SetRun setRun, const raster::RunObserver &beforeWrite)
{
    using Pixel = typename Inside::Pixel;
    struct Span {
        int x1, x2, y, dy;
    };
    std::vector<Span> stack{{x0, x0, y0, 1}, {x0, x0, y0 - 1, -1}};
    int minX = x0, maxX = x0, minY = y0, maxY = y0;
    while (!stack.empty()) {
        auto [x1, x2, y, dy] = stack.back();
        stack.pop_back();
        if (y < 0 || y >= height)
            continue;
        Pixel *line = reinterpret_cast<Pixel *>(bits + y * bytesPerLine);
        int x = x1;
        if (inside(line[x1])) {
            x = inside.runStart(line, x1, 0);
            if (x < x1)
                stack.push_back({x, x1 - 1, y - dy, -dy});
        }
        while (x1 <= x2) {
            const int end = inside.runEnd(line, x1, width);
            if (end > x) {
                if (beforeWrite)
                    beforeWrite(y, x, end);
                setRun(line, x, end);
                minX = std::min(minX, x);
                maxX = std::max(maxX, end - 1);
                minY = std::min(minY, y);
                maxY = std::max(maxY, y);
                stack.push_back({x, end - 1, y + dy, dy});
                if (end - 1 > x2)
                    stack.push_back({x2 + 1, end - 1, y - dy, -dy});
            }
            x1 = inside.next(line, end + 1, x2);
            x = x1;
        }
    }
    return QRect(QPoint(minX, minY), QPoint(maxX, maxY));
}

} // namespace

QRect raster::floodFill(QImage &target, int x, int y, QRgb fill, const RunObserver &beforeWrite)
{
    if (!target.valid(x, y))
        return QRect();
    fill |= 0xff000000u;
    const int w = target.width(), h = target.height();
    const QRgb regionColour = pixel(target, x, y);
    if (target.format() == QImage::Format_Indexed8) {
        const QVector<QRgb> table = target.colorTable();
        const int fillIndex = nearestIndex(table, fill);
        if (fillIndex < table.size() && (table[fillIndex] | 0xff000000u) == regionColour)
            return QRect(); // the fill would not change a thing
        // Several entries of a table may hold the region's colour.
        bool member[256] = {};
        for (int i = 0; i < table.size() && i < 256; ++i)
            member[i] = (table[i] | 0xff000000u) == regionColour;
        if (table.size() < 256 && regionColour == 0xff000000u)
            for (int i = table.size(); i < 256; ++i)
                member[i] = true; // out-of-table indexes read as black
        member[fillIndex] = false;
        const auto setRun = [index = uchar(fillIndex)](uchar *line, int from, int to) {
            std::memset(line + from, index, size_t(to - from));
        };
        uchar *bits = target.bits();
        const qsizetype bpl = target.bytesPerLine();
        if (std::count(std::begin(member), std::end(member), true) == 1) {
            const auto only = uchar(std::find(std::begin(member), std::end(member), true) - member);
            return spanFill(bits, bpl, w, h, x, y, OneIndex(only), setRun, beforeWrite);
        }
        return spanFill(bits, bpl, w, h, x, y, IndexSet{member}, setRun, beforeWrite);
    }
    if (regionColour == fill)
        return QRect();
    const auto setRun = [fill](QRgb *line, int from, int to) {
        std::fill(line + from, line + to, fill);
    };
    return spanFill(target.bits(), target.bytesPerLine(), w, h, x, y, OneColour(regionColour),
                    setRun, beforeWrite);
}

void raster::fillRect(QImage &target, const QRect &rect, QRgb colour)
{
    const QRect area = rect.intersected(target.rect());
    if (area.isEmpty())
        return;
    colour |= 0xff000000u;
    if (target.format() == QImage::Format_Indexed8) {
        const uchar index = uchar(nearestIndex(target.colorTable(), colour));
        for (int y = area.top(); y <= area.bottom(); ++y)
            std::memset(target.scanLine(y) + area.left(), index, size_t(area.width()));
        return;
    }
    for (int y = area.top(); y <= area.bottom(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(target.scanLine(y));
        std::fill(line + area.left(), line + area.right() + 1, colour);
    }
}

void raster::drawOutline(QImage &target, const QRect &rect, QRgb colour)
{
    if (rect.isEmpty())
        return;
    fillRect(target, QRect(rect.left(), rect.top(), rect.width(), 1), colour);
    fillRect(target, QRect(rect.left(), rect.bottom(), rect.width(), 1), colour);
    fillRect(target, QRect(rect.left(), rect.top(), 1, rect.height()), colour);
    fillRect(target, QRect(rect.right(), rect.top(), 1, rect.height()), colour);
}
