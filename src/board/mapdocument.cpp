#include "mapdocument.h"

#include "geometry.h"
#include "placement.h"
#include "raster.h"

MapDocument::MapDocument() : MapDocument(board::defaultBoard()) {}

MapDocument::MapDocument(const QImage &picture)
    : m_picture(raster::toWorkingFormat(picture)), m_undo(board::defaultBoard())
{
    // Detach from the shared artwork so drawing never touches the cached copy.
    m_picture.detach();
}

QRect MapDocument::mouseDown(Qt::MouseButton button, int x, int y, ToolState &tool)
{
    if (button != Qt::LeftButton)
        return QRect();
    m_undo = m_picture.copy();
    const QRect changed = board::place(m_picture, tool, x, y);
    m_modified = true;
    m_canUndo = true;
    return changed;
}

void MapDocument::undo()
{
    m_picture = m_undo.copy();
    m_canUndo = false;
}

void MapDocument::repairEdge()
{
    m_undo = m_picture.copy();
    const int w = m_picture.width();
    const int h = m_picture.height();
    raster::fillRect(m_picture, QRect(0, 0, w, 24), board::kSilver);
    raster::fillRect(m_picture, QRect(0, 0, 24, h), board::kSilver);
    raster::fillRect(m_picture, QRect(w - 24, 0, 24, h), board::kSilver);
    raster::fillRect(m_picture, QRect(0, h - 24, w, 24), board::kSilver);
    // Outlines of (23, 23, W-23, H-23) and (24, 24, W-24, H-24), right and
    // bottom exclusive.
    raster::drawOutline(m_picture, QRect(QPoint(23, 23), QPoint(w - 24, h - 24)), board::kBlack);
    raster::drawOutline(m_picture, QRect(QPoint(24, 24), QPoint(w - 25, h - 25)), board::kBlack);
    m_modified = true;
    m_canUndo = true;
}
