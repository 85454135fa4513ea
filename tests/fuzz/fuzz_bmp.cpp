// Any bytes opened as a map: either refused with an error or a picture that a
// click and an edge repair work on, and the same picture on a second load.

#include "bmpcodec.h"
#include "errors.h"
#include "mapdocument.h"
#include "raster.h"

#include <QGuiApplication>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    QImage picture;
    try {
        picture = raster::readBmpData(bytes);
    } catch (const DkError &) {
        return 0;
    }
    if (picture.isNull())
        return 0;
    const QImage again = raster::readBmpData(bytes);
    if (again.size() != picture.size())
        std::abort();
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (raster::pixel(picture, x, y) != raster::pixel(again, x, y))
                std::abort(); // leftover memory shows as pixels that differ
    MapDocument doc(picture);
    ToolState tool;
    tool.mode = board::Mode::Fill;
    doc.mouseDown(Qt::LeftButton, picture.width() / 2, picture.height() / 2, tool);
    doc.repairEdge();
    (void)raster::encodeBmp(doc.picture());
    return 0;
}
