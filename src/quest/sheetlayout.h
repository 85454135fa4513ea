#pragma once

#include <QRect>
#include <QSize>

/// Placing the sheet's pictures on paper: positions in millimetres from the
/// sheet's physical top-left corner, turned into printer device pixels.
namespace sheet {

/// What the layout needs to know about the printer: resolution in pixels per
/// inch and the offsets of the printable area (where drawing coordinates
/// start) from the sheet's left and top edges, in device pixels.
struct DeviceInfo {
    int dpiX = 0;
    int dpiY = 0;
    int offX = 0;
    int offY = 0;
};

/// A rectangle in device pixels; right and bottom lie one past the last pixel.
struct DeviceRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    QRect toRect() const { return QRect(left, top, right - left, bottom - top); }
    bool operator==(const DeviceRect &o) const
    {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
    bool operator!=(const DeviceRect &o) const { return !(*this == o); }
};

/// resolution * mm / 25.4 rounded to the nearest integer, an exact half to
/// the even neighbour.
int mmToDevice(int resolution, double mm);

/// The device rectangle of a picture of the given size whose left and top
/// edges lie at leftMm and topMm from the sheet's corner. sizeMm is its width
/// when widthGiven, else its height; the other side follows the picture's
/// aspect ratio. Width and height are rounded on their own. A picture without
/// pixels gets an empty rectangle at its corner.
DeviceRect placeGraphicMm(QSize picture, bool widthGiven, int leftMm, double sizeMm, int topMm,
                          const DeviceInfo &device);

} // namespace sheet
