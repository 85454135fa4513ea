#include "preview.h"

#include "geometry.h"
#include "raster.h"

namespace board {

namespace {

// Empties the overlay; returns what the ghost covered.
QRegion clearGhost(Overlay &overlay)
{
    const QRegion covered = overlay.ghostRect();
    overlay.ghost = QImage();
    return covered;
}

// The stamp as the ghost shows it: drawn like a placement (blue left out)
// onto a transparent picture of the stamp's own size.
QImage ghostOf(const QImage &stamp)
{
    QImage ghost(stamp.size(), QImage::Format_ARGB32_Premultiplied);
    ghost.fill(Qt::transparent);
    raster::drawStamp(ghost, stamp, 0, 0);
    return ghost;
}

} // namespace

QRect Overlay::ghostRect() const
{
    if (ghost.isNull())
        return QRect();
    return QRect(ghostAt, ghost.size()).intersected(kOverlayRect);
}

QRgb Overlay::pixel(int x, int y) const
{
    if (!ghostRect().contains(x, y))
        return 0;
    return ghost.pixel(x - ghostAt.x(), y - ghostAt.y());
}

void previewMouseMove(PreviewState &state, Overlay &overlay, int x, int y)
{
    overlay.pointerOver = true;
    state.offMap = false;
    state.mouse = QPoint(x, y);
}

QRegion previewPointerLeft(PreviewState &state, Overlay &overlay)
{
    overlay.pointerOver = false;
    state.offMap = true;
    return clearGhost(overlay);
}

QRegion previewTick(PreviewState &state, const ToolState &tool, Overlay &overlay)
{
    // A map the pointer is not over treats every tick as off the map, and
    // leaves the shared state to the map under the pointer.
    if (state.offMap || !overlay.pointerOver)
        return clearGhost(overlay);
    // The ghost follows only a mouse that has rested for a whole tick.
    if (state.mouse != state.previousSample) {
        state.previousSample = state.mouse;
        return QRegion();
    }
    state.snapped = snapBase(state.mouse.x(), state.mouse.y());
    const QPoint at = state.snapped + QPoint(25, 25);
    QRegion dirty;
    if (at != state.lastPreview) {
        dirty = clearGhost(overlay);
        // Modes that draw no stamp (restore, fill) show no ghost.
        const ModeRule *rule = modeRule(tool.mode);
        if (rule && rule->ghost) {
            overlay.ghost = ghostOf(tool.stamp);
            overlay.ghostAt = state.snapped + rule->offset;
            dirty += overlay.ghostRect();
        }
    }
    state.lastPreview = at;
    return dirty;
}

OverlayCursor overlayCursor(const QString &statusText)
{
    for (const ModeRule &rule : modeRules()) {
        if (rule.marker == statusText)
            return rule.cursor;
    }
    return OverlayCursor::Fill;
}

} // namespace board
