// Writes one size of the program's icon (a PNG, as the package installs it)
// as a 32-bit BMP with its alpha channel: the form the program's own decoder
// reads at start-up in a fraction of the time a PNG takes.
//     dk-iconbmp <icon.png> <icon.bmp>

#include "bmpcodec.h"
#include "errors.h"

#include <QImage>

#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fputs("usage: dk-iconbmp <icon.png> <icon.bmp>\n", stderr);
        return 2;
    }
    const QImage icon(QString::fromLocal8Bit(argv[1]));
    if (icon.isNull()) {
        std::fprintf(stderr, "dk-iconbmp: cannot read %s\n", argv[1]);
        return 1;
    }
    // The alpha bytes ride along in an RGB picture, as the codec keeps them.
    QImage pixels = icon.convertToFormat(QImage::Format_ARGB32);
    pixels.reinterpretAsFormat(QImage::Format_RGB32);
    const raster::BmpFormat format(32, {0x00ff0000u, 0x0000ff00u, 0x000000ffu, 0xff000000u});
    try {
        raster::writeBmpFile(pixels, QString::fromLocal8Bit(argv[2]), format);
    } catch (const DkError &error) {
        std::fprintf(stderr, "dk-iconbmp: %s\n", qPrintable(error.text()));
        return 1;
    }
    return 0;
}
