#pragma once

#include <QImage>
#include <QRect>

#include <functional>
#include <vector>

/// What the next undo of a map needs: the pixels that the last change
/// overwrote, each kept just before it was overwritten. A stamp keeps its
/// rectangle, a repair the strips along the edges, a fill its runs (a run of
/// one colour as that colour alone), so the cost follows the change, not the
/// size of the map. What is kept never grows beyond about one copy of the
/// picture: past that, the whole old picture is kept instead.
class PixelUndo {
public:
    /// Forgets what was kept: a new change begins.
    void clear();

    /// Keeps the picture's pixels inside `rect` (cut at the picture's edges).
    void keepRect(const QImage &picture, const QRect &rect);

    /// Keeps the pixels [from, to) of row y.
    void keepRun(const QImage &picture, int y, int from, int to);

    /// Writes every kept pixel back into the picture.
    void restore(QImage &picture) const;
    /// The rectangle holding every pixel restore() writes.
    QRect extent() const;

    /// Whoever still reads the old pixels elsewhere is told of rows top to
    /// bottom just before a change overwrites them; nobody by default.
    using Watch = std::function<void(int top, int bottom)>;
    void setWatch(Watch watch) { m_watch = std::move(watch); }

    bool isEmpty() const { return m_patches.empty(); }
    /// Bytes held, the bookkeeping included.
    size_t size() const { return m_bytes.size() + m_patches.size() * sizeof(Patch); }

private:
    struct Patch {
        QRect rect;
        size_t offset; ///< where its pixels start in m_bytes
        bool uniform;  ///< every pixel of the rectangle is the one kept pixel
    };
    void keepWholePicture(const QImage &picture);

    std::vector<Patch> m_patches;
    std::vector<uchar> m_bytes;
    bool m_whole = false; ///< the whole old picture is kept
    Watch m_watch;
};
