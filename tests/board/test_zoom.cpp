// Zoomed map windows: what the screen shows against where clicks and the
// ghost land, what is repainted, the wheel, the cursors, and that neither the
// picture nor the saved file changes by zooming. CTest runs this program at a
// display scale of 1 and again at 2, where widget positions fall between
// logical pixels.

#include "artwork.h"
#include "bmpcodec.h"
#include "geometry.h"
#include "mapwindow.h"
#include "raster.h"
#include "testhelpers.h"
#include "zoomtest.h"

#include <QBackingStore>
#include <QMdiArea>
#include <QPaintEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QtTest>

namespace {

using board::Zoom;

// Every step, and the zoom a fit of 880 pixels into 640 makes.
QList<Zoom> testedZooms()
{
    QList<Zoom> zooms(board::kZoomSteps.begin(), board::kZoomSteps.end());
    zooms << Zoom{8, 11};
    return zooms;
}

QByteArray rowName(const char *what, Zoom zoom)
{
    return QByteArray(what) + ' ' + QByteArray::number(zoom.num) + '/' +
           QByteArray::number(zoom.den);
}

// Every pixel a colour of its own; larger than the overlay.
QImage codedPicture()
{
    QImage picture(1000, 700, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, qRgb(x & 0xff, y & 0xff, (x >> 8) << 4 | (y >> 8)));
    return picture;
}

// Indexed, smaller than the overlay, one colour half transparent: the ground
// shows beside and through it.
QImage translucentPicture()
{
    QImage picture(300, 200, QImage::Format_Indexed8);
    QVector<QRgb> table;
    for (int i = 0; i < 256; ++i)
        table << qRgb(i, 255 - i, (i * 7) & 0xff);
    table[9] = qRgba(200, 40, 40, 128);
    picture.setColorTable(table);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.scanLine(y)[x] = uchar((x / 3 + y / 2) % 11 == 0 ? 9 : (x * 5 + y * 3) & 0xff);
    return picture;
}

// A 2 x 2 piece of many colours with pure blue holes.
QImage ghostStamp()
{
    QImage stamp(62, 62, QImage::Format_RGB32);
    for (int y = 0; y < 62; ++y)
        for (int x = 0; x < 62; ++x)
            stamp.setPixel(x, y,
                           (x + y) % 5 == 0 ? qRgb(0, 0, 255) : qRgb(40 + 3 * x, 200 - 2 * y, 90));
    return stamp;
}

const QRgb kStampColour = qRgb(64, 64, 64);

QImage solidStamp()
{
    QImage stamp(30, 30, QImage::Format_RGB32);
    stamp.fill(kStampColour);
    return stamp;
}

// The first device pixel, counted from the widget's origin, whose corner
// lies at or past widget position `at` * num / den; display scales go in
// steps of a quarter.
int firstDevicePixel(qint64 at, qreal ratio, Zoom zoom = Zoom())
{
    const qint64 quarters = qRound(ratio * 4);
    const qint64 scaled = at * zoom.num * quarters;
    const qint64 den = qint64(zoom.den) * 4;
    return int((scaled + den - 1) / den);
}

// The first widget position, in steps of one device pixel, showing `pixel`.
QPointF firstPositionOf(QPoint pixel, Zoom zoom, qreal ratio)
{
    return QPointF(firstDevicePixel(pixel.x(), ratio, zoom) / ratio,
                   firstDevicePixel(pixel.y(), ratio, zoom) / ratio);
}

// A pointer event as the window system delivers it, also between logical
// pixels.
void pointer(QWidget *widget, QEvent::Type type, const QPointF &at,
             Qt::MouseButton button = Qt::NoButton)
{
    static int timestamp = 0;
    static QPointF last;
    QWidget *window = widget->window();
    const QPointF global = widget->mapToGlobal(at);
    // Qt drops a move to where the pointer is already (as after a test
    // before): it first goes one pixel aside.
    if (type == QEvent::MouseMove && global == last)
        pointer(widget, type, at + QPointF(1, 1));
    last = global;
    timestamp += 1000; // never a double click
    qt_handleMouseEvent(window->windowHandle(), widget->mapTo(window, at), global,
                        type == QEvent::MouseButtonPress ? Qt::MouseButtons(button) : Qt::NoButton,
                        button, type, Qt::NoModifier, timestamp);
    QCoreApplication::processEvents();
}

// A map window in a client area, its preview timer stopped: the tests tick.
struct Host {
    ToolState tool;
    PreviewState preview;
    QMdiArea area;
    MapWindow *map;

    explicit Host(const QImage &picture, const QString &path = QStringLiteral("karte.bmp"))
    {
        tool.stamp = solidStamp();
        map = new MapWindow(tool, preview, MapDocument(picture), path);
        area.addSubWindow(map);
        area.resize(760, 600);
        area.show();
        map->show();
        map->resize(700, 540);
        if (!QTest::qWaitForWindowExposed(&area))
            qFatal("the map window was not shown");
        map->canvas()->timer().stop();
    }
    MapCanvas *canvas() const { return map->canvas(); }
    qreal ratio() const { return canvas()->devicePixelRatioF(); }
    // Scrolls so that the widget area around `at` shows.
    void reveal(const QPointF &at, int xMargin = 60, int yMargin = 60)
    {
        map->scrollArea()->ensureVisible(int(at.x()), int(at.y()), xMargin, yMargin);
        QCoreApplication::processEvents();
    }
    // The pointer comes to rest at `at` for two ticks.
    void rest(const QPointF &at)
    {
        pointer(canvas(), QEvent::MouseMove, at);
        canvas()->tick();
        canvas()->tick();
    }
    void click(const QPointF &at)
    {
        pointer(canvas(), QEvent::MouseButtonPress, at, Qt::LeftButton);
        pointer(canvas(), QEvent::MouseButtonRelease, at, Qt::LeftButton);
    }
};

QPoint squareInterior(int column, int row)
{
    return QPoint(24 + 32 * column + 1, 24 + 32 * row + 1);
}

QByteArray point(QPoint at)
{
    return QByteArray::number(at.x()) + ',' + QByteArray::number(at.y());
}

// The picture pixel a colour of codedPicture() belongs to.
QPoint codedPixel(QRgb colour)
{
    return QPoint(qRed(colour) | (qBlue(colour) >> 4) << 8, qGreen(colour) | (qBlue(colour) & 15)
                                                                                 << 8);
}

// What a window shows of an area of device pixels: its backing store once the
// pending repaints are done.
QImage onScreen(QWidget *window, const QRect &deviceArea)
{
    QCoreApplication::processEvents();
    QPaintDevice *surface = window->backingStore()->paintDevice();
    if (surface->devType() != QInternal::Image)
        qFatal("the window is not drawn into an image");
    // A copy: the window paints on into its own image.
    return static_cast<QImage *>(surface)->copy(deviceArea).convertToFormat(QImage::Format_RGB32);
}

// A press and release on one device pixel of a window, as the window system
// reports it: that pixel's corner in logical pixels. The pointer moves there
// first, and the map's preview timer, which the move starts, is stopped again:
// however slowly the test runs, no ghost appears.
void clickDevicePixel(QWidget *window, QPoint device, QTimer &preview)
{
    static int timestamp = 0;
    const QPointF at = QPointF(device) / window->devicePixelRatioF();
    const QPointF global = window->mapToGlobal(at);
    for (const QEvent::Type type :
         {QEvent::MouseMove, QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        timestamp += 1000;
        qt_handleMouseEvent(window->windowHandle(), at, global,
                            type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                            type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, type,
                            Qt::NoModifier, timestamp);
        if (type == QEvent::MouseMove) {
            QCoreApplication::processEvents();
            preview.stop();
        }
    }
    QCoreApplication::processEvents();
}

} // namespace

class TestZoom : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void steps()
    {
        Zoom zoom = board::kMinZoom;
        QList<int> percents{zoom.percent()};
        while (zoom != board::kMaxZoom) {
            zoom = board::zoomIn(zoom);
            percents << zoom.percent();
        }
        QCOMPARE(percents, (QList<int>{25, 33, 50, 67, 100, 150, 200, 300, 400, 600, 800}));
        QCOMPARE(board::zoomIn(board::kMaxZoom), board::kMaxZoom);
        QCOMPARE(board::zoomOut(board::kMinZoom), board::kMinZoom);
        for (auto it = board::kZoomSteps.rbegin() + 1; it != board::kZoomSteps.rend(); ++it) {
            zoom = board::zoomOut(zoom);
            QCOMPARE(zoom, *it);
        }
        // From between two steps, as after a fit, to the steps beside it.
        QCOMPARE(board::zoomIn(Zoom{8, 11}), (Zoom{1, 1}));
        QCOMPARE(board::zoomOut(Zoom{8, 11}), (Zoom{2, 3}));
    }

    void fit_data()
    {
        QTest::addColumn<QSize>("picture");
        QTest::addColumn<QSize>("viewport");
        QTest::addColumn<Zoom>("expected");
        QTest::newRow("wide window: the height decides")
            << QSize(880, 656) << QSize(880, 400) << Zoom{25, 41};
        QTest::newRow("tall window: the width decides")
            << QSize(880, 656) << QSize(640, 600) << Zoom{8, 11};
        QTest::newRow("large window: 800 % at most")
            << QSize(880, 656) << QSize(9000, 9000) << Zoom{8, 1};
        QTest::newRow("small window: 25 % at least")
            << QSize(880, 656) << QSize(100, 100) << Zoom{1, 4};
        QTest::newRow("exactly a quarter") << QSize(10000, 8000) << QSize(2500, 2500) << Zoom{1, 4};
        QTest::newRow("no room") << QSize(880, 656) << QSize(0, 0) << Zoom{1, 4};
    }

    void fit()
    {
        QFETCH(QSize, picture);
        QFETCH(QSize, viewport);
        QFETCH(Zoom, expected);
        const Zoom zoom = board::fitZoom(picture, viewport);
        QCOMPARE(zoom, expected);
        if (zoom != board::kMinZoom) // clamped, it may not fit
            QVERIFY(viewport.expandedTo(zoom.widgetSize(picture)) == viewport);
    }

    // Each device pixel shows the picture pixel that a click there hits: the
    // zoomed screen is the screen at 100 % read through the click mapping,
    // ghost, ground and half transparent colours included.
    void screenShowsWhatAClickHits_data()
    {
        QTest::addColumn<QImage>("picture");
        QTest::addColumn<Zoom>("zoom");
        for (const Zoom zoom : testedZooms()) {
            QTest::newRow(rowName("every pixel its colour,", zoom)) << codedPicture() << zoom;
            QTest::newRow(rowName("translucent and small,", zoom)) << translucentPicture() << zoom;
        }
        QTest::newRow(rowName("default board,", Zoom{3, 1})) << board::defaultBoard() << Zoom{3, 1};
    }

    void screenShowsWhatAClickHits()
    {
        QFETCH(QImage, picture);
        QFETCH(Zoom, zoom);
        Host host(picture);
        host.tool.stamp = ghostStamp();
        const qreal ratio = host.ratio();
        // The ghost of the piece over square (8, 5), then the screen at 100 %.
        const QPoint resting(300, 200);
        host.rest(resting);
        const QPoint ghostAt = host.canvas()->overlay().ghostAt;
        QCOMPARE(ghostAt, QPoint(281, 185));
        const QSize whole = host.canvas()->size();
        const QImage reference =
            host.canvas()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        // Zoomed, without a tick: the ghost stays where it is.
        host.map->setZoom(zoom, QPointF(0, 0));
        QCOMPARE(host.canvas()->size(), zoom.widgetSize(whole));
        QCOMPARE(host.canvas()->overlay().ghostAt, ghostAt);
        // Around the ghost, and the far corner where the widget's last
        // pixels may reach past the picture.
        const QList<QRect> areas = {
            zoom.widgetRect(QRect(270, 175, 80, 60)),
            zoom.widgetRect(QRect(whole.width() - 30, whole.height() - 20, 30, 20)),
        };
        for (const QRect &area : areas) {
            const QRect inside = area.intersected(host.canvas()->rect());
            const QImage shown =
                host.canvas()->grab(inside).toImage().convertToFormat(QImage::Format_RGB32);
            QCOMPARE(shown.size(), inside.size() * ratio);
            for (int y = 0; y < shown.height(); ++y)
                for (int x = 0; x < shown.width(); ++x) {
                    const QPointF at = QPointF(inside.topLeft()) + QPointF(x, y) / ratio;
                    const QPoint hit = host.canvas()->pictureAt(at);
                    // The last device pixels may lie past the picture: ground.
                    const QRgb want = QRect(QPoint(0, 0), whole).contains(hit)
                                          ? reference.pixel(firstDevicePixel(hit.x(), ratio),
                                                            firstDevicePixel(hit.y(), ratio))
                                          : host.canvas()->palette().color(QPalette::Window).rgb();
                    if (shown.pixel(x, y) != want)
                        QFAIL(qPrintable(
                            QStringLiteral("at %1,%2 the screen shows %3, a click hits %4,%5 (%6)")
                                .arg(at.x())
                                .arg(at.y())
                                .arg(shown.pixel(x, y), 8, 16)
                                .arg(hit.x())
                                .arg(hit.y())
                                .arg(want, 8, 16)));
                }
        }
    }

    // Every device pixel at 100 % is exactly the board pixel under it: no
    // smoothing mixes black frame lines with silver or white.
    void boardIsDrawnWithoutBlur()
    {
        Host host(board::defaultBoard());
        const qreal ratio = host.ratio();
        const qreal scale = qEnvironmentVariable("QT_SCALE_FACTOR", QStringLiteral("1")).toDouble();
        QCOMPARE(ratio, scale);
        const QImage shown = host.canvas()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(shown.size(), QSize(880, 656) * ratio);
        // The first and the last device pixel showing each board pixel.
        const auto first = [&](int at) { return firstDevicePixel(at, ratio); };
        const auto last = [&](int at) { return firstDevicePixel(at + 1, ratio) - 1; };
        for (int y = 0; y < 656; y += 3)
            for (int x = 0; x < 880; x += 3) {
                const QRgb want = raster::pixel(host.map->document().picture(), x, y);
                QCOMPARE(shown.pixel(first(x), first(y)) | 0xff000000u, want);
                QCOMPARE(shown.pixel(last(x), last(y)) | 0xff000000u, want);
            }
    }

    // Across square edges, one device pixel apart: the ghost and the click
    // go to the square a click on the same picture pixel reaches at 100 %.
    void clicksAndGhostLandOnTheSquareUnderThem_data()
    {
        QTest::addColumn<Zoom>("zoom");
        for (const Zoom zoom : testedZooms())
            QTest::newRow(rowName("", zoom).constData()) << zoom;
    }

    void clicksAndGhostLandOnTheSquareUnderThem()
    {
        QFETCH(Zoom, zoom);
        Host host(board::defaultBoard());
        host.map->setZoom(zoom, QPointF(0, 0));
        const qreal ratio = host.ratio();
        for (const QPoint square : {QPoint(1, 1), QPoint(25, 1), QPoint(1, 18), QPoint(25, 18)}) {
            const QPointF edge = firstPositionOf(QPoint(24, 24) + 32 * square, zoom, ratio);
            host.reveal(edge);
            for (const QPoint before :
                 {QPoint(0, 0), QPoint(-1, 0), QPoint(0, -1), QPoint(-1, -1)}) {
                const QPointF at = edge + QPointF(before) / ratio;
                const QPoint expected =
                    squareInterior(square.x() + before.x(), square.y() + before.y());
                host.rest(at);
                QCOMPARE(host.canvas()->overlay().ghostAt, expected);
                host.click(at);
                QCOMPARE(raster::pixel(host.map->document().picture(), expected.x(), expected.y()),
                         kStampColour);
                QCOMPARE(raster::pixel(host.map->document().picture(), expected.x() + 29,
                                       expected.y() + 29),
                         kStampColour);
                host.map->undo();
            }
        }
    }

    // In a window whose map starts between two device pixels, each device
    // pixel beside the edges of a square, as the window shows it, places
    // the stamp on the square of the picture pixel it shows; the stamp then
    // shows on every device pixel that showed its picture pixels.
    void windowPixelsPlaceWhereTheyShow_data()
    {
        QTest::addColumn<Zoom>("zoom");
        for (const Zoom zoom : {Zoom{1, 1}, Zoom{2, 3}, Zoom{8, 11}, Zoom{3, 2}})
            QTest::newRow(rowName("", zoom).constData()) << zoom;
    }

    void windowPixelsPlaceWhereTheyShow()
    {
        QFETCH(Zoom, zoom);
        Host host(codedPicture());
        host.area.resize(1000, 800);
        host.map->resize(960, 760);
        QWidget *window = host.canvas()->window();
        // The map a quarter of a logical pixel in from a window pixel across
        // and three quarters down, at every display scale that is not whole.
        const QPoint offset = host.canvas()->mapTo(window, QPoint(0, 0));
        host.map->move(host.map->pos() +
                       QPoint((5 - offset.x() % 4) % 4, (7 - offset.y() % 4) % 4));
        host.map->setZoom(zoom, QPointF(0, 0));
        const qreal ratio = window->devicePixelRatioF();
        // The device pixels of the window that show a widget area of the map.
        const auto devicePixels = [&](const QRect &area) {
            const QRectF inWindow(host.canvas()->mapTo(window, QPointF(area.topLeft())),
                                  QSizeF(area.size()));
            const QRectF device(inWindow.topLeft() * ratio, inWindow.size() * ratio);
            return QRect(QPoint(qFloor(device.left()), qFloor(device.top())),
                         QPoint(qCeil(device.right()), qCeil(device.bottom())));
        };
        for (const QPoint square : {QPoint(1, 1), QPoint(6, 2), QPoint(24, 17)}) {
            const QRect middle(QPoint(24, 24) + 32 * square + QPoint(16, 16), QSize(1, 1));
            host.reveal(zoom.widgetRect(middle).center(), 120, 120);
            const QImage shown = onScreen(window, QRect(QPoint(0, 0), window->size() * ratio));
            // Down the square's middle column and along its middle row, the
            // device pixels showing the two picture pixels each side of an
            // edge.
            const QPoint centre = devicePixels(zoom.widgetRect(middle)).topLeft();
            const int reach = qCeil(24 * zoom.factor() * ratio);
            QList<QPoint> edges;
            for (int i = -reach; i <= reach; ++i)
                for (const QPoint at : {centre + QPoint(0, i), centre + QPoint(i, 0)}) {
                    const QPoint fromMiddle = codedPixel(shown.pixel(at)) - middle.topLeft();
                    if (qAbs(fromMiddle.x()) >= 14 || qAbs(fromMiddle.y()) >= 14)
                        edges << at;
                }
            QVERIFY(edges.size() >= 8);
            for (const QPoint at : edges) {
                const QPoint pixel = codedPixel(shown.pixel(at));
                const QRect interior(board::snapBase(pixel.x(), pixel.y()) + QPoint(25, 25),
                                     QSize(30, 30));
                clickDevicePixel(window, at, host.canvas()->timer());
                const QByteArray click =
                    "a click on device pixel " + point(at) + ", showing " + point(pixel) + ", ";
                const QImage &picture = host.map->document().picture();
                QVERIFY2(raster::pixel(picture, interior.left(), interior.top()) == kStampColour &&
                             raster::pixel(picture, interior.right(), interior.bottom()) ==
                                 kStampColour,
                         click + "misses its square");
                const QRect around = devicePixels(zoom.widgetRect(interior.adjusted(-3, -3, 3, 3)));
                const QImage after = onScreen(window, around);
                for (int y = around.top(); y <= around.bottom(); ++y)
                    for (int x = around.left(); x <= around.right(); ++x) {
                        const QRgb before = shown.pixel(x, y);
                        const bool stamped = interior.contains(codedPixel(before));
                        if (after.pixel(x - around.left(), y - around.top()) !=
                            (stamped ? kStampColour : before))
                            QFAIL(click + "leaves device pixel " + point(QPoint(x, y)) +
                                  (stamped ? " without the stamp" : " changed"));
                    }
                host.map->undo();
            }
        }
    }

    // A changed part of the picture repaints the widget pixels that show
    // it, rounded outwards, and nothing else; at a display scale that is
    // not whole, one widget pixel more to the right and below, where the
    // device pixels showing its last column and row may begin.
    void repaintsCoverOnlyWhatChanged_data() { clicksAndGhostLandOnTheSquareUnderThem_data(); }

    void repaintsCoverOnlyWhatChanged()
    {
        QFETCH(Zoom, zoom);
        Host host(board::defaultBoard());
        host.map->setZoom(zoom, QPointF(0, 0));
        MapCanvas *canvas = host.canvas();
        PaintSpy spy(canvas);
        // Squares (2, 3) and (3, 3) in view, then nothing scrolls.
        host.reveal(zoom.widgetRect(QRect(89, 121, 62, 30)).center(), 300, 200);
        const QRegion visible = canvas->visibleRegion();
        const int beyond = host.ratio() == qFloor(host.ratio()) ? 0 : 1;
        const auto shows = [&](const QRect &pictureRect) {
            return visible & zoom.widgetRect(pictureRect).adjusted(0, 0, beyond, beyond);
        };
        const QRegion first = shows(QRect(89, 121, 30, 30));
        const QRegion second = shows(QRect(121, 121, 30, 30));
        QVERIFY(!first.isEmpty() && !second.isEmpty());
        const QPointF inFirst =
            firstPositionOf(QPoint(24 + 64 + 10, 24 + 96 + 10), zoom, host.ratio());
        const QPointF inSecond =
            firstPositionOf(QPoint(24 + 96 + 10, 24 + 96 + 10), zoom, host.ratio());
        QCOMPARE(spy.repaintOf([&] { host.rest(inFirst); }), first);
        QCOMPARE(spy.repaintOf([&] { host.rest(inSecond); }), first + second);
        QCOMPARE(spy.repaintOf([&] { host.click(inSecond); }), second);
        QCOMPARE(spy.repaintOf([&] { host.map->undo(); }), second);
        QCOMPARE(spy.repaintOf([&] { host.rest(inFirst); }), first + second);
        // The pointer leaves for the client area's background: its ghost
        // alone is repainted.
        QCOMPARE(spy.repaintOf([&] { pointer(&host.area, QEvent::MouseMove, QPointF(750, 590)); }),
                 first);
    }

    // Zooming never touches the picture; clicks at any zoom save the same
    // bytes as the same clicks at 100 %.
    void savedBytesDoNotDependOnTheZoom()
    {
        const QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("zoomed.bmp"));
        Host host(board::defaultBoard(), path);
        const QImage before = host.map->document().picture().copy();
        for (int i = 0; i < 12; ++i)
            host.map->zoomIn();
        host.map->zoomToFit();
        for (int i = 0; i < 12; ++i)
            host.map->zoomOut();
        host.map->zoomToActualSize();
        QVERIFY(samePixels(host.map->document().picture(), before));
        QVERIFY(!host.map->document().isModified());
        QVERIFY(!host.map->undoAction()->isEnabled());

        MapDocument reference;
        const QList<QPair<Zoom, QPoint>> clicks = {
            {Zoom{2, 1}, QPoint(24 + 32 * 3 + 5, 24 + 32 * 4 + 30)},
            {Zoom{1, 3}, QPoint(24 + 32 * 20 + 31, 24 + 32 * 2)},
            {Zoom{8, 11}, QPoint(24 + 32 * 12 + 16, 24 + 32 * 17 + 16)},
            {Zoom{8, 1}, QPoint(24 + 32 * 6, 24 + 32 * 6)},
        };
        for (const auto &[zoom, pixel] : clicks) {
            host.map->setZoom(zoom, QPointF(0, 0));
            const QPointF at = firstPositionOf(pixel, zoom, host.ratio());
            host.reveal(at);
            host.click(at);
            // Zoomed out, a widget pixel spans several picture pixels: the
            // click goes to the one under its corner.
            const QPoint hit = host.canvas()->pictureAt(at);
            QVERIFY((hit - pixel).manhattanLength() <= 6);
            reference.mouseDown(Qt::LeftButton, hit.x(), hit.y(), host.tool);
        }
        QVERIFY(host.map->save());
        const QString referencePath = folder.filePath(QStringLiteral("reference.bmp"));
        raster::writeBmpFile(reference.picture(), referencePath);
        QCOMPARE(readBytes(path), readBytes(referencePath));
    }

    // Ctrl+wheel zooms one step per notch about the pointer; without Ctrl
    // the wheel scrolls.
    void wheelZoomsAboutThePointer()
    {
        Host host(board::defaultBoard());
        QWidget *viewport = host.map->viewport();
        const QPointF anchor(200.5, 150);
        const auto underAnchor = [&] {
            return host.canvas()->pictureAt(host.canvas()->mapFrom(viewport, anchor));
        };
        // Turns over the canvas; Qt passes them on to the viewport when the
        // canvas leaves them, but only those from the window system.
        const auto turn = [&](int angle, Qt::KeyboardModifiers modifiers, QWidget *over) {
            const QPointF at = over->mapFrom(viewport, anchor);
            QWheelEvent wheel(at, over->mapToGlobal(at), QPoint(), QPoint(0, angle), Qt::NoButton,
                              modifiers, Qt::NoScrollPhase, false);
            QApplication::sendEvent(over, &wheel);
        };
        const QPoint pixel = underAnchor();
        const QList<QPair<int, Zoom>> turns = {
            {120, Zoom{3, 2}}, {240, Zoom{3, 1}},  {60, Zoom{3, 1}},
            {60, Zoom{4, 1}},  {-360, Zoom{3, 2}}, {-480, Zoom{1, 3}},
        };
        for (const auto &[angle, zoom] : turns) {
            turn(angle, Qt::ControlModifier, host.canvas());
            QCOMPARE(host.map->zoom(), zoom);
            if (zoom < Zoom{1, 1})
                continue; // the whole board shows, from its corner
            QVERIFY2((underAnchor() - pixel).manhattanLength() <= 2,
                     qPrintable(QStringLiteral("the pointer moved to %1,%2")
                                    .arg(underAnchor().x())
                                    .arg(underAnchor().y())));
        }
        host.map->setZoom(Zoom{2, 1}, QPointF(0, 0));
        QScrollBar *bar = host.map->scrollArea()->verticalScrollBar();
        const int scrolled = bar->value();
        turn(-120, Qt::NoModifier, viewport);
        QCOMPARE(host.map->zoom(), (Zoom{2, 1}));
        QVERIFY(bar->value() > scrolled);
    }

    // A zoom by key moves the picture under the resting pointer: the ghost
    // follows to where a click would now draw.
    void ghostFollowsTheZoomUnderTheRestingPointer()
    {
        Host host(board::defaultBoard());
        const QPointF at(300, 200);
        host.rest(at);
        const QPointF global = host.canvas()->mapToGlobal(at);
        for (int i = 0; i < 3; ++i) {
            host.map->zoomIn();
            host.canvas()->tick();
            host.canvas()->tick();
            const QPoint pixel = host.canvas()->pictureAt(host.canvas()->mapFromGlobal(global));
            QCOMPARE(host.canvas()->overlay().ghostAt,
                     board::snapBase(pixel.x(), pixel.y()) + QPoint(25, 25));
        }
    }

    // The correction and fill cursors grow with the squares up to twice
    // their size, shrink to half, and keep their hot spot on the pixel it
    // marks; they are made of the display's device pixels, which the window
    // system shows as they are.
    void cursorsFollowTheZoom_data()
    {
        QTest::addColumn<QString>("statusText");
        QTest::addColumn<QString>("name");
        QTest::addColumn<Zoom>("zoom");
        QTest::addColumn<int>("side");
        for (const QString &name : {QStringLiteral("EMPTYCURSOR"), QStringLiteral("CROSS")}) {
            const QString status =
                name == QLatin1String("CROSS") ? ToolState::kFillText : ToolState::kCorrectionText;
            const QList<QPair<Zoom, int>> sides = {{Zoom{1, 1}, 32}, {Zoom{3, 2}, 48},
                                                   {Zoom{2, 1}, 64}, {Zoom{8, 1}, 64},
                                                   {Zoom{1, 2}, 16}, {Zoom{1, 4}, 16}};
            for (const auto &[zoom, side] : sides)
                QTest::newRow(qPrintable(name + rowName("", zoom)))
                    << status << name << zoom << side;
        }
    }

    void cursorsFollowTheZoom()
    {
        QFETCH(QString, statusText);
        QFETCH(QString, name);
        QFETCH(Zoom, zoom);
        QFETCH(int, side);
        Host host(board::defaultBoard());
        host.tool.setStatusText(statusText);
        host.rest(QPointF(100, 100));
        host.map->setZoom(zoom, QPointF(0, 0));
        const QCursor cursor = host.canvas()->cursor();
        const QImage picture = cursor.pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(picture.size(), QSize(side, side) * host.ratio());
        const QCursor plain = artwork::cursor(name);
        const QImage plainPicture = plain.pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
        QVERIFY(QRect(QPoint(0, 0), picture.size()).contains(cursor.hotSpot()));
        if (side >= 32) // grown: the hot spot lies in the copy of the plain hot pixel
            QCOMPARE(picture.pixel(cursor.hotSpot()), plainPicture.pixel(plain.hotSpot()));
    }

    // Stamping shows a cross-hair of the program's own, which follows the
    // display scale as the other cursors do: thin black arms with a white
    // rim through the hot spot in its middle, clear corners.
    void crossHairFollowsTheDisplayScale()
    {
        Host host(board::defaultBoard());
        host.rest(QPointF(100, 100));
        const QCursor cursor = host.canvas()->cursor();
        QCOMPARE(cursor.shape(), Qt::BitmapCursor);
        const QImage picture = cursor.pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
        const qreal ratio = host.ratio();
        const int side = qCeil(23 * ratio);
        QCOMPARE(picture.size(), QSize(side, side));
        const QPoint hot = cursor.hotSpot();
        QCOMPARE(hot, QPoint((side - 1) / 2, (side - 1) / 2));
        const int rim = qCeil(ratio);
        for (int i = rim; i < side - rim; ++i) {
            QCOMPARE(picture.pixel(hot.x(), i), board::kBlack);
            QCOMPARE(picture.pixel(i, hot.y()), board::kBlack);
        }
        QCOMPARE(picture.pixel(qCeil(10 * ratio), rim), board::kWhite);
        QCOMPARE(qAlpha(picture.pixel(0, 0)), 0);
        QCOMPARE(qAlpha(picture.pixel(side - 1, side - 1)), 0);
    }
};

QTEST_MAIN(TestZoom)
#include "test_zoom.moc"
