// The map surface at a display scale of 2: crisp squares, clicks on the same
// squares, the ghost where a click would draw, and pictures unaffected.

#include "geometry.h"
#include "mapcanvas.h"
#include "raster.h"

#include <QApplication>
#include <QtTest>

class TestHiDpi : public QObject {
    Q_OBJECT

    static QImage stamp()
    {
        QImage s(30, 30, QImage::Format_RGB32);
        s.fill(qRgb(64, 64, 64));
        return s;
    }

private Q_SLOTS:
    void scaleIsTwo()
    {
        MapDocument doc;
        ToolState tool;
        PreviewState preview;
        MapCanvas canvas(doc, tool, preview);
        canvas.show();
        QVERIFY(QTest::qWaitForWindowExposed(&canvas));
        QCOMPARE(canvas.devicePixelRatioF(), 2.0);
    }

    void boardIsDrawnWithoutBlur()
    {
        MapDocument doc;
        ToolState tool;
        PreviewState preview;
        MapCanvas canvas(doc, tool, preview);
        const QImage shown = canvas.grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(shown.size(), QSize(2 * 880, 2 * 656));
        // Every device pixel is exactly the board pixel under it: no smoothing
        // mixes black frame lines with silver or white.
        for (int y = 0; y < 656; y += 3)
            for (int x = 0; x < 880; x += 3) {
                const QRgb want = raster::pixel(doc.picture(), x, y);
                QCOMPARE(shown.pixel(2 * x, 2 * y) | 0xff000000u, want);
                QCOMPARE(shown.pixel(2 * x + 1, 2 * y + 1) | 0xff000000u, want);
            }
    }

    void clicksAndGhostLandOnTheSameSquare()
    {
        MapDocument doc;
        ToolState tool;
        tool.stamp = stamp();
        PreviewState preview;
        MapCanvas canvas(doc, tool, preview);
        canvas.show();
        QVERIFY(QTest::qWaitForWindowExposed(&canvas));
        const QPoint click(24 + 32 * 5 + 7, 24 + 32 * 3 + 20); // square (5, 3)
        QTest::mouseMove(&canvas, click);
        canvas.tick();
        canvas.tick();
        QVERIFY(!canvas.overlay().ghost.isNull());
        QCOMPARE(canvas.overlay().pixel(24 + 32 * 5 + 1, 24 + 32 * 3 + 1), qRgb(64, 64, 64));
        QCOMPARE(qAlpha(canvas.overlay().pixel(24 + 32 * 5, 24 + 32 * 3)), 0);
        QTest::mouseClick(&canvas, Qt::LeftButton, {}, click);
        QCOMPARE(raster::pixel(doc.picture(), 24 + 32 * 5 + 1, 24 + 32 * 3 + 1), qRgb(64, 64, 64));
        QCOMPARE(raster::pixel(doc.picture(), 24 + 32 * 5 + 30, 24 + 32 * 3 + 30), qRgb(64, 64, 64));
        QVERIFY(raster::pixel(doc.picture(), 24 + 32 * 5 + 31, 24 + 32 * 3 + 31) != qRgb(64, 64, 64));
        // The saved picture is the same as one made at scale 1.
        MapDocument reference;
        reference.mouseDown(Qt::LeftButton, click.x(), click.y(), tool);
        QCOMPARE(raster::encodeBmp(doc.picture()), raster::encodeBmp(reference.picture()));
    }
};

int main(int argc, char **argv)
{
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    TestHiDpi test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_hidpi.moc"
