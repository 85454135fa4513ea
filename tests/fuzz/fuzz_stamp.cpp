// Any bytes as a user's own stamp: read it as a BMP and draw it in every
// placement mode on a default board at a place taken from the input.

#include "bmpcodec.h"
#include "errors.h"
#include "mapdocument.h"
#include "raster.h"

#include <QGuiApplication>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 4)
        return 0;
    const int x = (data[0] << 8 | data[1]) % 1200 - 100;
    const int y = (data[2] << 8 | data[3]) % 900 - 100;
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char *>(data + 4), qsizetype(size - 4));
    ToolState tool;
    try {
        tool.stamp = raster::readBmpData(bytes);
    } catch (const DkError &) {
        return 0;
    }
    static const MapDocument pristine;
    MapDocument doc = pristine;
    for (board::Mode mode : {board::Mode::Interior, board::Mode::LeftLine, board::Mode::TopLine,
                             board::Mode::OutLeft, board::Mode::OutUp, board::Mode::Fill}) {
        tool.mode = mode;
        doc.mouseDown(Qt::LeftButton, x, y, tool);
    }
    QImage rgb(100, 80, QImage::Format_RGB32);
    rgb.fill(Qt::white);
    raster::drawStamp(rgb, tool.stamp, x % 100, y % 80);
    return 0;
}
