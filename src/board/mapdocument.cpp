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

template <typename Change> void MapDocument::changePicture(Change &&change)
{
    PictureSnapshot *snapshot = m_snapshot.get();
    if (!snapshot) {
        change();
        return;
    }
    m_undo.setWatch([snapshot](int top, int bottom) { snapshot->beforeChange(top, bottom); });
    change();
    m_undo.setWatch({});
    // Pixels shared with someone else were copied by the change: the old
    // ones are theirs now, and may go at any time.
    if (!snapshot->reads(m_picture.constBits()))
        m_snapshot.reset();
}

std::shared_ptr<PictureSnapshot> MapDocument::snapshot()
{
    auto made = std::make_shared<PictureSnapshot>(m_picture);
    m_snapshot.reset(made);
    return made;
}

QRect MapDocument::mouseDown(Qt::MouseButton button, int x, int y, ToolState &tool)
{
    if (button != Qt::LeftButton)
        return QRect();
    m_undo.clear();
    QRect area;
    changePicture([&] { area = board::place(m_picture, tool, x, y, &m_undo); });
    m_undoArea = area;
    changed(area);
    m_modified = true;
    m_canUndo = true;
    return area;
}

void MapDocument::undo()
{
    changePicture([this] {
        const QRect extent = m_undo.extent();
        if (m_snapshot.get() && !extent.isEmpty())
            m_snapshot.get()->beforeChange(extent.top(), extent.bottom());
        m_undo.restore(m_picture);
    });
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
    changePicture([&] {
        for (const QRect &strip : strips)
            m_undo.keepRect(m_picture, strip);
        board::drawEdge(m_picture);
    });
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

MapDocument::SnapshotLink &MapDocument::SnapshotLink::operator=(const SnapshotLink &other)
{
    if (this != &other)
        reset();
    return *this;
}

MapDocument::SnapshotLink &MapDocument::SnapshotLink::operator=(SnapshotLink &&other) noexcept
{
    if (this != &other)
        reset(std::move(other.m_snapshot));
    return *this;
}

void MapDocument::SnapshotLink::reset(std::shared_ptr<PictureSnapshot> snapshot)
{
    if (m_snapshot)
        m_snapshot->abandon();
    m_snapshot = std::move(snapshot);
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
