#include "picturesnapshot.h"

#include "errors.h"

#include <algorithm>
#include <cstring>

PictureSnapshot::PictureSnapshot(const QImage &picture)
    : m_pixels(picture.constBits()), m_bytesPerLine(picture.bytesPerLine()),
      m_width(picture.width()), m_height(picture.height()), m_format(picture.format()),
      m_colorTable(picture.colorTable()), m_dotsPerMeterX(picture.dotsPerMeterX()),
      m_dotsPerMeterY(picture.dotsPerMeterY())
{
}

void PictureSnapshot::beforeChange(int top, int bottom)
{
    std::lock_guard<std::mutex> guard(m_mutex);
    if (m_abandoned)
        return;
    top = std::max(top, m_nextRow);
    bottom = std::min(bottom, m_height - 1);
    if (top > bottom)
        return;
    if (m_setAside.empty())
        m_setAside.resize(size_t(m_height));
    for (int y = top; y <= bottom; ++y) {
        QByteArray &row = m_setAside[size_t(y)];
        if (row.isEmpty())
            row = QByteArray(reinterpret_cast<const char *>(m_pixels + y * m_bytesPerLine),
                             m_bytesPerLine);
    }
}

void PictureSnapshot::abandon()
{
    std::lock_guard<std::mutex> guard(m_mutex);
    m_abandoned = true;
    m_setAside.clear();
}

bool PictureSnapshot::reads(const uchar *pixels) const
{
    std::lock_guard<std::mutex> guard(m_mutex);
    return !m_abandoned && m_nextRow < m_height && pixels == m_pixels;
}

QImage PictureSnapshot::take()
{
    QImage picture(m_width, m_height, m_format);
    if (picture.isNull() && m_width > 0 && m_height > 0)
        throw DkError(errors::outOfMemory());
    picture.setColorTable(m_colorTable);
    picture.setDotsPerMeterX(m_dotsPerMeterX);
    picture.setDotsPerMeterY(m_dotsPerMeterY);
    const size_t rowBytes = size_t(std::min(m_bytesPerLine, picture.bytesPerLine()));
    for (int y = 0; y < m_height; ++y) {
        std::lock_guard<std::mutex> guard(m_mutex);
        if (m_abandoned)
            return QImage();
        QByteArray set;
        if (!m_setAside.empty())
            set.swap(m_setAside[size_t(y)]);
        const uchar *from = set.isEmpty() ? m_pixels + y * m_bytesPerLine
                                          : reinterpret_cast<const uchar *>(set.constData());
        std::memcpy(picture.scanLine(y), from, rowBytes);
        m_nextRow = y + 1;
    }
    std::lock_guard<std::mutex> guard(m_mutex);
    m_setAside.clear();
    return picture;
}
