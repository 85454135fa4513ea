#pragma once

#include "mapfile.h"
#include "pixelundo.h"
#include "toolstate.h"

#include <QImage>
#include <QRect>
#include <QRegion>
#include <QString>

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

    /// The parts of the picture changed since the last call (by clicks, undo
    /// and repair); whoever shows the picture refreshes them.
    QRegion takeChanged();

private:
    void changed(const QRegion &region);

    QImage m_picture;
    mapfile::Format m_fileFormat;
    PixelUndo m_undo;
    QRegion m_undoArea; ///< where the next undo writes
    QRegion m_changed;  ///< changed since takeChanged()
    bool m_modified = false;
    bool m_canUndo = false;
};
