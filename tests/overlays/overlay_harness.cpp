// Shows the three overlay browsers in a 149-pixel tab control, each pointed
// at a folder of three different pictures with its own picture chosen, and
// saves the three pages side by side as a PNG: overlay_harness OUT.png
#include "overlaybrowser.h"
#include "raster.h"
#include "toolstate.h"

#include <QApplication>
#include <QDir>
#include <QPainter>
#include <QTabWidget>
#include <QTemporaryDir>

static QImage picture(int w, int h, QRgb ground, QRgb mark) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(ground);
    for (int y = h / 4; y < h * 3 / 4; ++y)
        for (int x = w / 4; x < w * 3 / 4; ++x)
            image.setPixel(x, y, mark);
    return image;
}

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("overlays.png");

    QTemporaryDir tmp;
    const QDir dir(tmp.path());
    dir.mkdir(QStringLiteral("Unterordner"));
    // A small token on blue, a large picture (stretched) and a wide strip (cut).
    raster::writeBmpFile(picture(30, 30, raster::kTransparent, qRgb(200, 0, 0)),
                         dir.filePath("goblin.bmp"));
    raster::writeBmpFile(picture(200, 150, qRgb(0, 140, 0), qRgb(255, 255, 0)),
                         dir.filePath("Garten.BMP"));
    raster::writeBmpFile(picture(200, 40, qRgb(80, 80, 80), qRgb(255, 128, 0)),
                         dir.filePath("streifen.bmp"));

    ToolState tool;
    QTabWidget tabs;
    addOverlayBrowsers(&tabs, tool, [] {});
    tabs.setFixedSize(149, 466);
    const QStringList chosen = {"goblin.bmp", "Garten.BMP", "streifen.bmp"};
    for (int i = 0; i < 3; ++i) {
        auto *browser = qobject_cast<OverlayBrowser *>(tabs.widget(i));
        browser->setDirectory(tmp.path());
        browser->selectFile(chosen[i]);
    }
    tabs.show();
    app.processEvents();

    QImage sheet(3 * 149 + 2 * 8, 466, QImage::Format_RGB32);
    sheet.fill(Qt::white);
    QPainter painter(&sheet);
    for (int i = 0; i < 3; ++i) {
        tabs.setCurrentIndex(i);
        app.processEvents();
        painter.drawPixmap(i * (149 + 8), 0, tabs.grab());
    }
    painter.end();
    return sheet.save(out) ? 0 : 1;
}
