#include "raster.h"

#include "errors.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>
#include <QSaveFile>

#include <algorithm>
#include <cstring>
#include <vector>

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

// Looks at the headers before anything is allocated: a file that declares more
// pixels than it can possibly hold is refused here, so a few hundred bytes can
// never make us reserve gigabytes.
bool headerPlausible(const QByteArray &d)
{
    if (d.size() < 26 || d[0] != 'B' || d[1] != 'M')
        return false;
    const qint64 fileSize = d.size();
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
    case 0: // uncompressed
    case 3: // bit fields
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

} // namespace

QImage raster::readBmpData(const QByteArray &data)
{
    if (data.isEmpty())
        return QImage();
    if (!headerPlausible(data))
        throw DkError(errors::invalidBitmap());

    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "bmp");
    reader.setAutoTransform(false);
    // A top-down file reports a negative height.
    const QSize size(reader.size().width(), std::abs(reader.size().height()));
    const QImage::Format format = reader.imageFormat();
    if (!size.isValid() || format == QImage::Format_Invalid)
        throw DkError(errors::invalidBitmap());

    // The decoder writes into the picture we hand it when size and format
    // match. Zeroing it first means a truncated file gives zero pixels where
    // its data ends, never leftover memory.
    QImage picture(size, format);
    if (picture.isNull())
        throw DkError(errors::invalidBitmap());
    picture.fill(0);
    if (!reader.read(&picture) || picture.isNull())
        throw DkError(errors::invalidBitmap());

    // Indexes past the end of the colour table (a broken file) read as
    // black, the same on every load.
    if (picture.format() == QImage::Format_Indexed8 && picture.colorCount() < 256) {
        int highest = 0;
        for (int y = 0; y < picture.height(); ++y) {
            const uchar *line = picture.constScanLine(y);
            for (int x = 0; x < picture.width(); ++x)
                highest = std::max(highest, int(line[x]));
        }
        if (highest >= picture.colorCount()) {
            QVector<QRgb> table = picture.colorTable();
            while (table.size() <= highest)
                table.append(qRgb(0, 0, 0));
            picture.setColorTable(table);
        }
    }

    // Remember the depth the file was stored in, so saving keeps it.
    int bits = 0;
    if (data.size() >= 30)
        bits = u32(data, 14) == 12 ? u16(data, 24) : u16(data, 28);
    QImage working = toWorkingFormat(picture);
    working.setText(QStringLiteral("dk-bits"), QString::number(bits));
    return working;
}

QImage raster::readBmpFile(const QString &path)
{
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly))
        throw DkError(errors::cannotOpen(path));
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw DkError(errors::cannotOpen(path));
    return readBmpData(data);
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

QByteArray raster::encodeBmp(const QImage &picture)
{
    QImage out = picture;
    if (out.format() == QImage::Format_Indexed8 && out.colorCount() <= 16 &&
        out.text(QStringLiteral("dk-bits")) == QLatin1String("8")) {
        // Qt writes an indexed picture with up to 16 colours as a 4-bit file.
        // One that came from an 8-bit file stays 8-bit: pad its colour table.
        QVector<QRgb> table = out.colorTable();
        while (table.size() <= 16)
            table.append(qRgb(0, 0, 0));
        out.setColorTable(table);
    } else if (out.format() != QImage::Format_Indexed8 && out.format() != QImage::Format_RGB32) {
        out = toWorkingFormat(out);
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "bmp");
    if (!writer.write(out))
        throw DkError(errors::invalidBitmap());
    return bytes;
}

void raster::writeBmpFile(const QImage &picture, const QString &path)
{
    const QByteArray bytes = encodeBmp(picture);
    QSaveFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::WriteOnly))
        throw DkError(errors::cannotCreate(path));
    // Flush before commit: QSaveFile::commit() flushes its buffer only after
    // checking for write errors, so a failing last write (a full disk, a file
    // size limit) would otherwise replace the old file with a cut-off one.
    if (file.write(bytes) != bytes.size() || !file.flush() || !file.commit()) {
        file.cancelWriting();
        throw DkError(errors::cannotCreate(path));
    }
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
    for (int i = 0; i < table.size(); ++i) {
        const int dr = qRed(table[i]) - qRed(c);
        const int dg = qGreen(table[i]) - qGreen(c);
        const int db = qBlue(table[i]) - qBlue(c);
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

// A small cache for RGB sources drawn into an indexed target.
struct NearestCache {
    explicit NearestCache(const QImage &target) : table(target.colorTable()) {}
    int operator()(QRgb c)
    {
        if (c != lastColour) {
            lastColour = c;
            lastIndex = raster::nearestIndex(table, c);
        }
        return lastIndex;
    }
    QVector<QRgb> table;
    QRgb lastColour = 0;
    int lastIndex = -1;
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
    const auto setRun = [fill](QRgb *line, int from, int to) { std::fill(line + from, line + to, fill); };
    return spanFill(target.bits(), target.bytesPerLine(), w, h, x, y, OneColour(regionColour), setRun,
                    beforeWrite);
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
