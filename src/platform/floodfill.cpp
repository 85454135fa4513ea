// The span flood fill, apart from the other drawing operations: the region
// test and the span stack are all it needs.
#include "floodfill.h"

#include "raster.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <vector>

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
    explicit OneColour(QRgb c) : colour(raster::opaque(c)), pattern(quint64(colour) << 32 | colour)
    {
    }
    bool operator()(QRgb p) const { return raster::opaque(p) == colour; }
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
    fill = opaque(fill);
    const int w = target.width(), h = target.height();
    const QRgb regionColour = pixel(target, x, y);
    if (target.format() == QImage::Format_Indexed8) {
        const QVector<QRgb> table = target.colorTable();
        const int fillIndex = nearestIndex(table, fill);
        if (fillIndex < table.size() && opaque(table[fillIndex]) == regionColour)
            return QRect(); // the fill would not change a thing
        // Several entries of a table may hold the region's colour.
        bool member[256] = {};
        for (int i = 0; i < table.size() && i < 256; ++i)
            member[i] = opaque(table[i]) == regionColour;
        if (table.size() < 256 && regionColour == qRgb(0, 0, 0))
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
