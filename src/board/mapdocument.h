#pragma once

#include "toolstate.h"

#include <QImage>
#include <QRect>
#include <QString>

/// One map as a document: its board picture, one level of undo and the
/// modified flag. The map window shows it and forwards the user's actions.
class MapDocument {
public:
    /// A new map on the default board.
    MapDocument();
    /// A map holding the given picture (for instance one read from a file).
    explicit MapDocument(const QImage &picture);

    const QImage &picture() const { return m_picture; }
    const QImage &undoCopy() const { return m_undo; }
    bool isModified() const { return m_modified; }
    bool canUndo() const { return m_canUndo; }
    void setModified(bool modified) { m_modified = modified; }

    /// A mouse press on the map. Only the left button acts: it keeps the
    /// picture as the undo copy, places by the tool state, marks the map
    /// modified and makes undo possible, whether or not anything was drawn.
    /// Returns the rectangle of the picture that may have changed.
    QRect mouseDown(Qt::MouseButton button, int x, int y, ToolState &tool);

    /// Brings back the undo copy; a second undo waits for the next change.
    /// The modified flag is left as it is.
    void undo();

    /// Redraws the 24-pixel margins and the 2-pixel frame for the picture's
    /// own width and height.
    void repairEdge();

private:
    QImage m_picture;
    QImage m_undo;
    bool m_modified = false;
    bool m_canUndo = false;
};
