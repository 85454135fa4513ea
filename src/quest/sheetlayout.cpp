#include "sheetlayout.h"

#include <cmath>

int sheet::mmToDevice(int resolution, double mm)
{
    // Dividing by 254 rather than 25.4 keeps a product that is exactly half a
    // pixel exact (25.4 has no exact binary form). Round half to even,
    // whatever rounding mode the process runs in.
    const double value = resolution * mm * 10.0 / 254.0;
    const double lower = std::floor(value);
    const double fraction = value - lower;
    double result = lower;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(lower, 2.0) != 0.0))
        result = lower + 1.0;
    return int(result);
}

sheet::DeviceRect sheet::placeGraphicMm(QSize picture, bool widthGiven, int leftMm, double sizeMm,
                                        int topMm, const DeviceInfo &device)
{
    const double w = picture.width();
    const double h = picture.height();
    double widthMm = 0.0;
    double heightMm = 0.0;
    if (w > 0 && h > 0) {
        widthMm = widthGiven ? sizeMm : sizeMm * w / h;
        heightMm = widthGiven ? sizeMm * h / w : sizeMm;
    }
    DeviceRect rect;
    rect.left = mmToDevice(device.dpiX, leftMm) - device.offX;
    rect.top = mmToDevice(device.dpiY, topMm) - device.offY;
    rect.right = rect.left + mmToDevice(device.dpiX, widthMm);
    rect.bottom = rect.top + mmToDevice(device.dpiY, heightMm);
    return rect;
}
