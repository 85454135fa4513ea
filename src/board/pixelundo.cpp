#include "pixelundo.h"

#include <algorithm>
#include <cstring>

namespace {

// Bytes of one pixel of a picture in a working format (8 or 32 bits).
size_t pixelBytes(const QImage &picture)
{
    return size_t(picture.depth() / 8);
}

} // namespace

void PixelUndo::clear()
{
    m_patches.clear();
    m_bytes.clear();
    m_whole = false;
    // A large change may have kept a whole picture: give that memory back
    // rather than hold it for the next small change.
    if (m_bytes.capacity() > (size_t(1) << 20)) {
        m_bytes.shrink_to_fit();
        m_patches.shrink_to_fit();
    }
}

void PixelUndo::keepRect(const QImage &picture, const QRect &rect)
{
    const QRect area = rect.intersected(picture.rect());
    if (!area.isEmpty() && m_watch)
        m_watch(area.top(), area.bottom());
    if (area.isEmpty() || m_whole)
        return;
    const size_t bpp = pixelBytes(picture);
    const size_t rowBytes = size_t(area.width()) * bpp;
    m_patches.push_back({area, m_bytes.size(), false});
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const uchar *from = picture.constScanLine(y) + size_t(area.left()) * bpp;
        m_bytes.insert(m_bytes.end(), from, from + rowBytes);
    }
    if (size() > size_t(picture.sizeInBytes()))
        keepWholePicture(picture);
}

void PixelUndo::keepRun(const QImage &picture, int y, int from, int to)
{
    const QRect run = QRect(from, y, to - from, 1).intersected(picture.rect());
    if (!run.isEmpty() && m_watch)
        m_watch(y, y);
    if (run.isEmpty() || m_whole)
        return;
    const size_t bpp = pixelBytes(picture);
    const uchar *pixels = picture.constScanLine(y) + size_t(run.left()) * bpp;
    // Each pixel equal to the next one: the run is one colour.
    if (std::memcmp(pixels, pixels + bpp, size_t(run.width() - 1) * bpp) != 0) {
        keepRect(picture, run);
        return;
    }
    // A run of the same colour right above or below the last one widens it:
    // a fill of a plain area keeps a few rectangles.
    if (!m_patches.empty()) {
        Patch &last = m_patches.back();
        if (last.uniform && last.rect.left() == run.left() && last.rect.right() == run.right() &&
            (y == last.rect.bottom() + 1 || y == last.rect.top() - 1) &&
            std::memcmp(m_bytes.data() + last.offset, pixels, bpp) == 0) {
            last.rect = last.rect.united(run);
            return;
        }
    }
    m_patches.push_back({run, m_bytes.size(), true});
    m_bytes.insert(m_bytes.end(), pixels, pixels + bpp);
    if (size() > size_t(picture.sizeInBytes()))
        keepWholePicture(picture);
}

void PixelUndo::keepWholePicture(const QImage &picture)
{
    // The old picture is the present one with what was kept written back.
    QImage old = picture.copy();
    restore(old);
    clear();
    const size_t rowBytes = size_t(old.width()) * pixelBytes(old);
    m_bytes.reserve(rowBytes * size_t(old.height()));
    for (int y = 0; y < old.height(); ++y)
        m_bytes.insert(m_bytes.end(), old.constScanLine(y), old.constScanLine(y) + rowBytes);
    m_patches.push_back({old.rect(), 0, false});
    m_whole = true;
}

QRect PixelUndo::extent() const
{
    QRect area;
    for (const Patch &patch : m_patches)
        area |= patch.rect;
    return area;
}

void PixelUndo::restore(QImage &picture) const
{
    const size_t bpp = pixelBytes(picture);
    // Backwards: where kept parts overlap, the one kept first holds the
    // oldest pixels and is written last.
    for (auto patch = m_patches.rbegin(); patch != m_patches.rend(); ++patch) {
        const QRect &area = patch->rect;
        const uchar *from = m_bytes.data() + patch->offset;
        const size_t rowBytes = size_t(area.width()) * bpp;
        for (int y = area.top(); y <= area.bottom(); ++y) {
            uchar *to = picture.scanLine(y) + size_t(area.left()) * bpp;
            if (!patch->uniform) {
                std::memcpy(to, from, rowBytes);
                from += rowBytes;
            } else if (bpp == 1) {
                std::memset(to, *from, rowBytes);
            } else {
                QRgb colour;
                std::memcpy(&colour, from, sizeof colour);
                std::fill_n(reinterpret_cast<QRgb *>(to), area.width(), colour);
            }
        }
    }
}
