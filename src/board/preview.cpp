#include "preview.h"

#include "geometry.h"
#include "placement.h"
#include "raster.h"

namespace board {

void previewMouseMove(PreviewState &state, int x, int y)
{
    state.offMap = false;
    state.mouse = QPoint(x, y);
}

bool previewTick(PreviewState &state, const ToolState &tool, QImage &overlay)
{
    if (state.offMap) {
        if (overlay.isNull())
            return false;
        overlay = QImage();
        return true;
    }
    // The ghost follows only a mouse that has rested for a whole tick.
    if (state.mouse != state.previousSample) {
        state.previousSample = state.mouse;
        return false;
    }
    state.snapped = snapBase(state.mouse.x(), state.mouse.y());
    const QPoint at = state.snapped + QPoint(25, 25);
    bool changed = false;
    if (at != state.lastPreview) {
        changed = !overlay.isNull();
        overlay = QImage();
        switch (tool.mode) {
        case ToolState::Square:
        case ToolState::LeftLine:
        case ToolState::TopLine:
        case ToolState::OutLeft:
        case ToolState::OutUp: {
            overlay = QImage(kOverlayWidth, kOverlayHeight, QImage::Format_ARGB32_Premultiplied);
            overlay.fill(Qt::transparent);
            const QPoint pos = stampPosition(tool.mode, state.snapped);
            raster::drawStamp(overlay, tool.stamp, pos.x(), pos.y());
            changed = true;
            break;
        }
        default:
            break; // correction and fill show no ghost
        }
    }
    state.lastPreview = at;
    return changed;
}

OverlayCursor overlayCursor(const QString &statusText)
{
    if (statusText.isEmpty())
        return OverlayCursor::CrossHair;
    if (statusText == ToolState::kCorrectionText)
        return OverlayCursor::Correction;
    return OverlayCursor::Fill;
}

} // namespace board
