#include "mapdocument.h"

#include "geometry.h"
#include "placement.h"
#include "raster.h"

MapDocument::MapDocument() : MapDocument(board::defaultBoard()) {}

MapDocument::MapDocument(QImage picture, mapfile::Format fileFormat)
    : m_picture(raster::toWorkingFormat(picture)), m_fileFormat(fileFormat)
{
    // Detach from whoever still shares the pixels (the cached default board)
    // so drawing never touches their copy. A picture handed over alone is
    // not copied.
    picture = QImage();
    m_picture.detach();
}

QRect MapDocument::mouseDown(Qt::MouseButton button, int x, int y, ToolState &tool)
{
    if (button != Qt::LeftButton)
        return QRect();
    m_undo.clear();
    const QRect area = board::place(m_picture, tool, x, y, &m_undo);
    m_undoArea = area;
    changed(area);
    m_modified = true;
    m_canUndo = true;
    return area;
}

void MapDocument::undo()
{
    m_undo.restore(m_picture);
    m_undo.clear();
    changed(m_undoArea);
    m_undoArea = QRegion();
    m_canUndo = false;
}

void MapDocument::repairEdge()
{
    const int w = m_picture.width();
    const int h = m_picture.height();
    // The edge lies within 25 pixels of the picture's sides: the margins and
    // the two frame lines just inside them.
    const QRegion strips = QRegion(0, 0, w, 25) + QRegion(0, 0, 25, h) + QRegion(w - 25, 0, 25, h) +
                           QRegion(0, h - 25, w, 25);
    m_undo.clear();
    for (const QRect &strip : strips)
        m_undo.keepRect(m_picture, strip);
    board::drawEdge(m_picture);
    m_undoArea = strips.intersected(m_picture.rect());
    changed(m_undoArea);
    m_modified = true;
    m_canUndo = true;
}

QImage MapDocument::undoCopy() const
{
    QImage copy = m_picture.copy();
    m_undo.restore(copy);
    return copy;
}

QRegion MapDocument::takeChanged()
{
    QRegion region;
    std::swap(region, m_changed);
    return region;
}

void MapDocument::changed(const QRegion &region)
{
    m_changed += region;
    // Nobody may be looking (a document without a window): keep the region
    // small instead of letting it collect every click.
    if (m_changed.rectCount() > 16)
        m_changed = m_changed.boundingRect();
}
