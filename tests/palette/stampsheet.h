#pragma once

// The picture that shows every palette entry stamped on a fresh board: each
// entry (and each of the 44 furniture views taken with "Übernehmen") is chosen
// on its own tool state, clicked into square (2, 2) of a new map in its own
// placement mode, and the stamped spot with a rim of the board around it is
// cut out and laid on one sheet, row after row.

#include "catalogue.h"
#include "geometry.h"
#include "mapdocument.h"
#include "placement.h"
#include "raster.h"

#include <functional>
#include <vector>

namespace stampsheet {

constexpr int kClickX = 24 + 2 * 32 + 16;
constexpr int kClickY = 24 + 2 * 32 + 16;
constexpr int kRim = 8;
constexpr int kSheetWidth = 1024;
constexpr int kGap = 4;

using Choice = std::function<void(ToolState &)>;

/// Every choice the sheet shows, in order.
inline std::vector<Choice> choices()
{
    std::vector<Choice> all;
    for (const palette::StampEntry &e : palette::stampEntries())
        all.emplace_back([&e](ToolState &t) { palette::applyStampEntry(t, e); });
    for (const palette::FurnitureKind &f : palette::furnitureKinds())
        for (quint8 view = 1; view <= 4; ++view)
            all.emplace_back([&f, view](ToolState &t) {
                palette::chooseFurniture(t, f.kind);
                palette::chooseView(t, view);
                palette::takeFurniture(t);
            });
    return all;
}

/// The stamped spot of one choice on a fresh board.
inline QImage stampedSpot(const Choice &choose)
{
    ToolState tool;
    choose(tool);
    MapDocument doc;
    doc.mouseDown(Qt::LeftButton, kClickX, kClickY, tool);
    const QPoint at = board::stampPosition(tool.mode, board::snapBase(kClickX, kClickY));
    const QRect spot =
        QRect(at, tool.stamp.size()).adjusted(-kRim, -kRim, kRim, kRim) & doc.picture().rect();
    return doc.picture().copy(spot).convertToFormat(QImage::Format_RGB32);
}

/// The whole sheet (RGB32), spots laid left to right in rows.
inline QImage sheet()
{
    std::vector<QImage> spots;
    for (const Choice &c : choices())
        spots.push_back(stampedSpot(c));

    std::vector<QPoint> places;
    int x = kGap, y = kGap, rowHeight = 0;
    for (const QImage &s : spots) {
        if (x + s.width() + kGap > kSheetWidth) {
            x = kGap;
            y += rowHeight + kGap;
            rowHeight = 0;
        }
        places.emplace_back(x, y);
        x += s.width() + kGap;
        rowHeight = std::max(rowHeight, s.height());
    }
    QImage out(kSheetWidth, y + rowHeight + kGap, QImage::Format_RGB32);
    out.fill(qRgb(96, 0, 96));
    for (size_t i = 0; i < spots.size(); ++i)
        raster::drawOpaque(out, spots[i], places[i].x(), places[i].y());
    return out;
}

} // namespace stampsheet
