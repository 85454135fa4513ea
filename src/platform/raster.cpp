#include "raster.h"

#include "errors.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <vector>

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

QImage raster::reducedToWidth(const QImage &picture, int width)
{
    const int w = picture.width(), h = picture.height();
    if (picture.isNull() || width <= 0 || w <= width)
        return picture;
    const int height = std::max(1, int((qint64(h) * width + w / 2) / w));
    QImage reduced(width, height, QImage::Format_RGB32);
    if (reduced.isNull())
        throw DkError(errors::outOfMemory());
    std::vector<int> column(static_cast<size_t>(w));
    for (int x = 0; x < w; ++x)
        column[size_t(x)] = int(qint64(x) * width / w);
    // Sums of red, green, blue and the count of pixels, per result column.
    std::vector<quint64> sums(size_t(width) * 4, 0);
    std::vector<QRgb> colours(static_cast<size_t>(w));
    const bool indexed = picture.format() == QImage::Format_Indexed8;
    const bool rgb = picture.format() == QImage::Format_RGB32;
    const QVector<QRgb> table = picture.colorTable();
    for (int y = 0; y < h; ++y) {
        const uchar *line = picture.constScanLine(y);
        for (int x = 0; x < w; ++x) {
            if (indexed)
                colours[size_t(x)] = line[x] < table.size() ? table[line[x]] : 0u;
            else if (rgb)
                colours[size_t(x)] = reinterpret_cast<const QRgb *>(line)[x];
            else
                colours[size_t(x)] = picture.pixel(x, y);
        }
        for (int x = 0; x < w; ++x) {
            quint64 *sum = &sums[size_t(column[size_t(x)]) * 4];
            sum[0] += quint64(qRed(colours[size_t(x)]));
            sum[1] += quint64(qGreen(colours[size_t(x)]));
            sum[2] += quint64(qBlue(colours[size_t(x)]));
            ++sum[3];
        }
        const int row = int(qint64(y) * height / h);
        if (y + 1 < h && int(qint64(y + 1) * height / h) == row)
            continue;
        auto *out = reinterpret_cast<QRgb *>(reduced.scanLine(row));
        for (int x = 0; x < width; ++x) {
            quint64 *sum = &sums[size_t(x) * 4];
            const quint64 n = std::max<quint64>(sum[3], 1);
            out[x] = qRgb(int((sum[0] + n / 2) / n), int((sum[1] + n / 2) / n),
                          int((sum[2] + n / 2) / n));
            std::fill(sum, sum + 4, 0);
        }
    }
    return reduced;
}

QImage raster::keyOut(const QImage &picture, QRgb replacement, QRgb key)
{
    if (picture.isNull())
        return picture;
    key = opaque(key);
    const bool opaqueResult = qAlpha(replacement) == 255;
    QImage out = picture;
    if (opaqueResult && out.format() == QImage::Format_Indexed8) {
        // Recolour the table: every entry of the key colour takes the replacement.
        QVector<QRgb> table = out.colorTable();
        for (QRgb &c : table) {
            if (opaque(c) == key)
                c = replacement;
        }
        out.setColorTable(table);
        return out;
    }
    out = out.convertToFormat(opaqueResult ? QImage::Format_RGB32 : QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            if (opaque(line[x]) == key)
                line[x] = replacement;
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
        return index < picture.colorCount() ? opaque(picture.color(index)) : qRgb(0, 0, 0);
    }
    return opaque(picture.pixel(x, y));
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
            colours.resize(256, qRgb(0, 0, 0));
            for (int i = 0; i < source.colorCount() && i < 256; ++i)
                colours[i] = raster::opaque(source.color(i));
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
                const QRgb c = raster::opaque(reinterpret_cast<const QRgb *>(sline)[sx]);
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

void raster::fillRect(QImage &target, const QRect &rect, QRgb colour)
{
    const QRect area = rect.intersected(target.rect());
    if (area.isEmpty())
        return;
    colour = opaque(colour);
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
