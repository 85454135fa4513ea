#pragma once

#include "mapfile.h"
#include "picturesnapshot.h"
#include "pixelundo.h"
#include "toolstate.h"

#include <QImage>
#include <QRect>
#include <QRegion>
#include <QString>

#include <memory>

/// One map as a document: its board picture, how its file stores the
/// pixels, one level of undo and the modified flag. The map window shows it
/// and forwards the user's actions.
class MapDocument {
public:
    /// A new map on the default board.
    MapDocument();
    /// A map taking over the given picture (for instance one read from a
    /// file, with that file's format): handed over with std::move, no copy of
    /// its pixels is made.
    explicit MapDocument(QImage picture, mapfile::Format fileFormat = {});

    const QImage &picture() const { return m_picture; }
    /// The format every save writes the map in: its file's own.
    const mapfile::Format &fileFormat() const { return m_fileFormat; }
    bool isModified() const { return m_modified; }
    bool canUndo() const { return m_canUndo; }
    void setModified(bool modified) { m_modified = modified; }

    /// A mouse press on the map. Only the left button acts: it starts a new
    /// undo state, places by the tool state, marks the map modified and makes
    /// undo possible, whether or not anything was drawn. Returns the rectangle
    /// of the picture that may have changed.
    QRect mouseDown(Qt::MouseButton button, int x, int y, ToolState &tool);

    /// Brings back the picture as it was before the last click or repair; a
    /// second undo waits for the next change. The modified flag is left as it
    /// is.
    void undo();

    /// Redraws the 24-pixel margins and the 2-pixel frame for the picture's
    /// own width and height.
    void repairEdge();

    /// The picture the next undo would bring back, made on request.
    QImage undoCopy() const;
    /// What the next undo needs: the pixels the last change overwrote.
    const PixelUndo &undoState() const { return m_undo; }

    /// The picture as it is now, to be read on another thread while the map
    /// is drawn on (see PictureSnapshot). One at a time: a new one abandons
    /// the last if that is still being read.
    std::shared_ptr<PictureSnapshot> snapshot();

    /// The parts of the picture changed since the last call (by clicks, undo
    /// and repair); whoever shows the picture refreshes them.
    QRegion takeChanged();

private:
    /// The snapshot being read, if any: never shared by a copy of the
    /// document, abandoned when the document goes.
    class SnapshotLink {
    public:
        SnapshotLink() = default;
        SnapshotLink(const SnapshotLink &) {}
        SnapshotLink(SnapshotLink &&other) noexcept : m_snapshot(std::move(other.m_snapshot)) {}
        SnapshotLink &operator=(const SnapshotLink &other);
        SnapshotLink &operator=(SnapshotLink &&other) noexcept;
        ~SnapshotLink() { reset(); }
        void reset(std::shared_ptr<PictureSnapshot> snapshot = {});
        PictureSnapshot *get() const { return m_snapshot.get(); }

    private:
        std::shared_ptr<PictureSnapshot> m_snapshot;
    };

    /// Runs a change of the picture, telling the snapshot of the rows it
    /// overwrites.
    template <typename Change> void changePicture(Change &&change);
    void changed(const QRegion &region);

    QImage m_picture;
    mapfile::Format m_fileFormat;
    PixelUndo m_undo;
    QRegion m_undoArea; ///< where the next undo writes
    QRegion m_changed;  ///< changed since takeChanged()
    bool m_modified = false;
    bool m_canUndo = false;
    SnapshotLink m_snapshot;
};
