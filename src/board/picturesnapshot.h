#pragma once

#include <QImage>
#include <QVector>

#include <mutex>
#include <vector>

/// The pixels of a map at one moment, read on another thread while the user
/// draws on. No copy is made up front: the map's document tells the snapshot
/// of every row it is about to overwrite, and a row the reader has not yet
/// taken is set aside just before, so that a click on a large map never waits
/// for a copy of all of it.
class PictureSnapshot {
public:
    /// Made on the thread that owns the picture, which must keep its pixels
    /// where they are until it calls abandon() or the reader is done.
    explicit PictureSnapshot(const QImage &picture);
    PictureSnapshot(const PictureSnapshot &) = delete;
    PictureSnapshot &operator=(const PictureSnapshot &) = delete;

    /// Owner: rows top..bottom are about to change.
    void beforeChange(int top, int bottom);
    /// Owner: the pixels are about to move or go. The reader gets nothing.
    void abandon();
    /// Owner: whether the snapshot still reads these pixels.
    bool reads(const uchar *pixels) const;

    /// Reader: the picture as it was when the snapshot was made, as a picture
    /// of its own; a null picture once abandoned. Throws DkError when the
    /// memory for it cannot be had.
    QImage take();

private:
    mutable std::mutex m_mutex;
    const uchar *m_pixels;
    qsizetype m_bytesPerLine;
    int m_width;
    int m_height;
    QImage::Format m_format;
    QVector<QRgb> m_colorTable;
    int m_dotsPerMeterX;
    int m_dotsPerMeterY;
    int m_nextRow = 0; ///< rows above it are taken
    bool m_abandoned = false;
    std::vector<QByteArray> m_setAside; ///< by row; empty: not set aside
};
