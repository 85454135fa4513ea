// Changes kept and shown by rectangle against the plain way: random sessions
// of pointer moves, ticks, clicks in every mode, undo, repair and the pointer
// leaving, run side by side with a reference that copies the whole picture
// for its undo, draws the ghost on a full-size overlay and repaints the whole
// surface. Pictures, undo results and the screen must agree byte for byte,
// and no repaint may reach beyond what the plain way repainted. The fill is
// checked against a breadth-first fill on pictures made to trip it up.

#include "floodfill.h"
#include "geometry.h"
#include "mapcanvas.h"
#include "mapdocument.h"
#include "mapview.h"
#include "placement.h"
#include "preview.h"
#include "raster.h"
#include "testhelpers.h"
#include "zoomtest.h"

#include <QPaintEvent>
#include <QPainter>
#include <QRandomGenerator>
#include <QtTest>

#include <deque>
#include <memory>
#include <thread>

namespace {

const QColor kGround(212, 208, 200);
const QRect kOverlayRect(0, 0, board::kOverlayWidth, board::kOverlayHeight);

// The plain way: a whole copy per change, a full-size overlay per ghost,
// everything painted anew.
struct Reference {
    QImage picture;
    QImage undo;
    bool canUndo = false;
    QImage overlay; // 880 x 656 while a ghost shows
    bool pointerOver = false;

    void click(int x, int y, ToolState &tool)
    {
        undo = picture.copy();
        if (tool.mode == board::Mode::Fill) {
            if (raster::pixel(picture, x, y) == board::kWhite)
                breadthFirstFill(picture, x, y, board::kFillGrey);
        } else {
            board::place(picture, tool, x, y);
        }
        canUndo = true;
    }
    void undoLast()
    {
        picture = undo.copy();
        canUndo = false;
    }
    void repair()
    {
        undo = picture.copy();
        const int w = picture.width(), h = picture.height();
        raster::fillRect(picture, QRect(0, 0, w, 24), board::kSilver);
        raster::fillRect(picture, QRect(0, 0, 24, h), board::kSilver);
        raster::fillRect(picture, QRect(w - 24, 0, 24, h), board::kSilver);
        raster::fillRect(picture, QRect(0, h - 24, w, 24), board::kSilver);
        raster::drawOutline(picture, QRect(QPoint(23, 23), QPoint(w - 24, h - 24)), board::kBlack);
        raster::drawOutline(picture, QRect(QPoint(24, 24), QPoint(w - 25, h - 25)), board::kBlack);
        canUndo = true;
    }
    // One tick of the preview timer; true when the overlay changed.
    bool tick(PreviewState &state, const ToolState &tool)
    {
        if (state.offMap || !pointerOver) {
            const bool had = !overlay.isNull();
            overlay = QImage();
            return had;
        }
        if (state.mouse != state.previousSample) {
            state.previousSample = state.mouse;
            return false;
        }
        state.snapped = board::snapBase(state.mouse.x(), state.mouse.y());
        const QPoint at = state.snapped + QPoint(25, 25);
        bool changed = false;
        if (at != state.lastPreview) {
            changed = !overlay.isNull();
            overlay = QImage();
            if (tool.mode != board::Mode::Restore && tool.mode != board::Mode::Fill) {
                overlay = QImage(kOverlayRect.size(), QImage::Format_ARGB32_Premultiplied);
                overlay.fill(Qt::transparent);
                const QPoint pos = board::stampPosition(tool.mode, state.snapped);
                raster::drawStamp(overlay, tool.stamp, pos.x(), pos.y());
                changed = true;
            }
        }
        state.lastPreview = at;
        return changed;
    }
    QImage screen(QSize size) const
    {
        QImage shown(size, QImage::Format_ARGB32_Premultiplied);
        QPainter painter(&shown);
        painter.fillRect(shown.rect(), kGround);
        painter.drawImage(picture.rect(), picture, picture.rect());
        if (!overlay.isNull())
            painter.drawImage(overlay.rect(), overlay, overlay.rect());
        return shown;
    }

    // Every pixel of the clicked pixel's colour reachable through the four
    // neighbours, one at a time.
    static void breadthFirstFill(QImage &picture, int x, int y, QRgb fill)
    {
        const QRgb region = raster::pixel(picture, x, y);
        QImage single(1, 1, picture.format());
        if (picture.format() == QImage::Format_Indexed8)
            single.setColorTable(picture.colorTable());
        raster::fillRect(single, single.rect(), fill); // the fill colour as the picture stores it
        if (raster::pixel(single, 0, 0) == region)
            return;
        std::deque<QPoint> todo{QPoint(x, y)};
        while (!todo.empty()) {
            const QPoint p = todo.front();
            todo.pop_front();
            if (!picture.valid(p) || raster::pixel(picture, p.x(), p.y()) != region)
                continue;
            raster::fillRect(picture, QRect(p, QSize(1, 1)), fill);
            for (const QPoint step : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)})
                todo.push_back(p + step);
        }
    }
};

// The screen at `zoom`: each widget pixel shows the picture pixel a click
// there hits.
QImage zoomedScreen(const QImage &plain, board::Zoom zoom)
{
    if (zoom == board::Zoom())
        return plain;
    QImage zoomed(zoom.widgetSize(plain.size()), plain.format());
    std::vector<int> columns(size_t(zoomed.width()));
    for (int x = 0; x < zoomed.width(); ++x)
        columns[size_t(x)] = zoom.pixelAt(x);
    for (int y = 0; y < zoomed.height(); ++y) {
        const auto *from = reinterpret_cast<const QRgb *>(plain.constScanLine(zoom.pixelAt(y)));
        auto *to = reinterpret_cast<QRgb *>(zoomed.scanLine(y));
        for (int x = 0; x < zoomed.width(); ++x)
            to[x] = from[columns[size_t(x)]];
    }
    return zoomed;
}

// Stamps as the palette has them: indexed with a blue ground, and a user's
// 24-bit picture with blue holes.
std::vector<QImage> stamps()
{
    std::vector<QImage> result;
    QImage goblin(30, 30, QImage::Format_Indexed8);
    goblin.setColorTable(
        {qRgb(0, 0, 255), qRgb(64, 64, 64), qRgb(255, 255, 255), qRgb(200, 30, 30)});
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 30; ++x)
            goblin.scanLine(y)[x] = uchar((x * 7 + y * 3) % 4);
    result.push_back(goblin);
    for (const QSize size : {QSize(18, 30), QSize(35, 30), QSize(62, 94)}) {
        QImage s(size, QImage::Format_RGB32);
        s.fill(qRgb(0, 0, 255));
        for (int y = 1; y < size.height() - 1; ++y)
            for (int x = (y % 3); x < size.width() - 1; x += 2)
                s.setPixel(x, y, qRgb(255 - 9 * (x % 8), 255 - 9 * (x % 8), 250));
        result.push_back(s);
    }
    return result;
}

} // namespace

class TestChanges : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void sessionAgainstThePlainWay_data()
    {
        QTest::addColumn<QImage>("picture");
        QTest::addColumn<board::Zoom>("zoom");
        QTest::newRow("default board") << board::defaultBoard() << board::Zoom();
        QTest::newRow("default board at 150 %") << board::defaultBoard() << board::Zoom{3, 2};
        QTest::newRow("default board at 33 %") << board::defaultBoard() << board::Zoom{1, 3};
        QImage rgb(1000, 700, QImage::Format_RGB32);
        rgb.fill(board::kWhite);
        for (int x = 0; x < 1000; x += 37)
            raster::fillRect(rgb, QRect(x, 0, 2, 700), qRgb(10, 20, 30));
        QTest::newRow("24-bit, larger than the overlay") << rgb << board::Zoom();
        QTest::newRow("24-bit, larger than the overlay, at 200 %") << rgb << board::Zoom{2, 1};
        // Two table entries are white and one is half transparent.
        QImage odd(300, 200, QImage::Format_Indexed8);
        QVector<QRgb> table = greyPicture(1, 1, 0).colorTable();
        table[17] = qRgb(255, 255, 255);
        table[99] = qRgba(40, 40, 40, 128);
        odd.setColorTable(table);
        for (int y = 0; y < 200; ++y)
            for (int x = 0; x < 300; ++x)
                odd.scanLine(y)[x] = (x / 7 + y / 5) % 9 == 0 ? 99 : ((x + y) % 3 ? 255 : 17);
        QTest::newRow("indexed, repeated white, translucent entry") << odd << board::Zoom();
        QTest::newRow("indexed, translucent entry, at 67 %") << odd << board::Zoom{2, 3};
    }

    void sessionAgainstThePlainWay()
    {
        QFETCH(QImage, picture);
        QFETCH(board::Zoom, zoom);
        const std::vector<QImage> pieces = stamps();
        QRandomGenerator random(4711);
        ToolState tool;
        tool.stamp = pieces[0];
        PreviewState preview, referencePreview;
        MapDocument document(picture);
        board::Overlay overlay;
        MapView view(document.picture());
        Reference reference;
        reference.picture = raster::toWorkingFormat(picture).copy();
        const QSize canvas = picture.size().expandedTo(kOverlayRect.size());
        // Zoomed, the screen is the plain screen read through the click
        // mapping (compared every few steps, it is large).
        const auto expectedScreen = [&] { return zoomedScreen(reference.screen(canvas), zoom); };
        QImage screen = expectedScreen();
        // Now and then a snapshot is read some steps later: it must give the
        // picture as it was, and the document must draw on in its own pixels
        // all the while.
        std::shared_ptr<PictureSnapshot> snapshot;
        QImage snapshotWanted;
        const uchar *const pixels = document.picture().constBits();

        for (int step = 0; step < 700; ++step) {
            if (step % 50 == 7) {
                snapshot = document.snapshot();
                snapshotWanted = document.picture().copy();
            } else if (step % 50 == 40) {
                QVERIFY(samePixels(snapshot->take(), snapshotWanted));
            }
            QCOMPARE(document.picture().constBits(), pixels);
            const int action = random.bounded(100);
            QRegion repainted;      // what the map surface repaints now
            QRegion plainRepainted; // what the plain way repainted
            if (action < 35) {
                const QPoint at(random.bounded(canvas.width()), random.bounded(canvas.height()));
                if (kOverlayRect.contains(at)) { // moves beyond the overlay do not count
                    board::previewMouseMove(preview, overlay, at.x(), at.y());
                    referencePreview.offMap = false;
                    referencePreview.mouse = at;
                    reference.pointerOver = true;
                }
            } else if (action < 60) {
                tool.mode = board::Mode(random.bounded(7));
                if (tool.mode != board::Mode::Restore)
                    tool.stamp = pieces[size_t(random.bounded(int(pieces.size())))];
                const QPoint at(random.bounded(canvas.width()), random.bounded(canvas.height()));
                ToolState referenceTool;
                referenceTool.mode = tool.mode;
                referenceTool.stamp = tool.stamp;
                const QRect changed = document.mouseDown(Qt::LeftButton, at.x(), at.y(), tool);
                reference.click(at.x(), at.y(), referenceTool);
                QCOMPARE(tool.stamp, referenceTool.stamp);
                plainRepainted = changed;
            } else if (action < 68) {
                QCOMPARE(document.canUndo(), reference.canUndo);
                if (document.canUndo()) {
                    QVERIFY(samePixels(document.undoCopy(), reference.undo));
                    document.undo();
                    reference.undoLast();
                    plainRepainted = QRect(QPoint(0, 0), canvas);
                }
            } else if (action < 71) {
                document.repairEdge();
                reference.repair();
                plainRepainted = QRect(QPoint(0, 0), canvas);
            } else if (action < 78) {
                repainted += board::previewPointerLeft(preview, overlay);
                reference.pointerOver = false;
                referencePreview.offMap = true;
                if (reference.tick(referencePreview,
                                   tool)) // the plain way cleared at the next tick
                    plainRepainted += kOverlayRect;
            } else if (action < 82) {
                preview.offMap = referencePreview.offMap = true;
            } else {
                repainted += board::previewTick(preview, tool, overlay);
                if (reference.tick(referencePreview, tool))
                    plainRepainted += kOverlayRect;
            }
            const QRegion changed = document.takeChanged();
            view.pictureChanged(changed);
            repainted += changed;

            if (!samePixels(document.picture(), reference.picture))
                QFAIL(qPrintable(QStringLiteral("the picture differs at step %1").arg(step)));
            QCOMPARE(document.canUndo(), reference.canUndo);
            QCOMPARE(preview.lastPreview, referencePreview.lastPreview);
            QCOMPARE(overlay.ghost.isNull(), reference.overlay.isNull());
            QVERIFY2((repainted - plainRepainted).isEmpty(),
                     qPrintable(QStringLiteral("step %1 repaints beyond the plain way").arg(step)));

            QPainter painter(&screen);
            for (const QRect &rect : zoom.widgetRegion(repainted)) {
                if (zoom == board::Zoom())
                    view.paint(painter, rect, overlay, kGround);
                else
                    view.paintZoomed(painter, rect, overlay, kGround, zoom, 1);
            }
            painter.end();
            if ((zoom == board::Zoom() || step % 10 == 9) && screen != expectedScreen())
                QFAIL(qPrintable(QStringLiteral("the screen differs at step %1").arg(step)));
        }
        // The view keeps tiles only of an indexed picture, and never a full-size overlay.
        QVERIFY(view.tileCount() <= MapView::kMaxTiles);
    }

    void fillAgainstBreadthFirst_data()
    {
        QTest::addColumn<QImage>("picture");
        QTest::addColumn<QPoint>("seed");
        QRandomGenerator random(99);
        // Noise of two values: many short runs, leaks left and right of each
        // parent run, runs that end on word boundaries and picture edges.
        for (const int width : {1, 7, 8, 9, 63, 200}) {
            QImage noise = greyPicture(width, 61, 0);
            for (int y = 0; y < noise.height(); ++y)
                for (int x = 0; x < width; ++x)
                    noise.scanLine(y)[x] = random.bounded(100) < 70 ? 255 : 0;
            noise.scanLine(30)[width / 2] = 255;
            QTest::newRow(qPrintable(QStringLiteral("indexed noise %1 wide").arg(width)))
                << noise << QPoint(width / 2, 30);
        }
        // A spiral corridor: the region turns back on itself again and again.
        QImage spiral(101, 101, QImage::Format_RGB32);
        spiral.fill(board::kWhite);
        for (int ring = 0; ring < 25; ++ring) {
            const int a = 2 * ring + 1, b = 100 - 2 * ring - 1;
            raster::drawOutline(spiral, QRect(QPoint(a, a), QPoint(b, b)), board::kBlack);
            raster::fillRect(spiral, QRect(a, a + 1 + (ring % 2) * (b - a - 2), 1, 1),
                             board::kWhite);
        }
        QTest::newRow("24-bit spiral") << spiral << QPoint(0, 0);
        // 24-bit noise whose alpha bytes vary: colours compare without them.
        QImage rgbNoise(77, 50, QImage::Format_RGB32);
        for (int y = 0; y < 50; ++y)
            for (int x = 0; x < 77; ++x)
                reinterpret_cast<QRgb *>(rgbNoise.scanLine(y))[x] =
                    random.bounded(100) < 65
                        ? (0x00ffffffu | (random.bounded(2) ? 0xff000000u : 0x12000000u))
                        : 0xff000000u;
        reinterpret_cast<QRgb *>(rgbNoise.scanLine(25))[38] = 0xffffffffu;
        QTest::newRow("24-bit noise, mixed alpha bytes") << rgbNoise << QPoint(38, 25);
        // Several table entries hold white; values past a short table read
        // as black and fill as a black region.
        QImage repeated(90, 40, QImage::Format_Indexed8);
        repeated.setColorTable(
            {qRgb(255, 255, 255), qRgb(0, 0, 0), qRgb(255, 255, 255), qRgb(128, 128, 128)});
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 90; ++x)
                repeated.scanLine(y)[x] =
                    uchar(random.bounded(100) < 75 ? (random.bounded(2) ? 0 : 2)
                                                   : (random.bounded(2) ? 1 : 200));
        repeated.scanLine(20)[45] = 0;
        QTest::newRow("indexed, white twice in the table") << repeated << QPoint(45, 20);
        repeated.scanLine(20)[45] = 200;
        QTest::newRow("indexed, black past the table") << repeated << QPoint(45, 20);
        // Two colours: grey's nearest entry is white itself, so that fill
        // ends at once without changing anything.
        QImage mono(8, 8, QImage::Format_Indexed8);
        mono.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
        mono.fill(1);
        QTest::newRow("black and white only") << mono << QPoint(3, 3);
    }

    void fillAgainstBreadthFirst()
    {
        QFETCH(QImage, picture);
        QFETCH(QPoint, seed);
        const int bpp = picture.depth() / 8;
        for (const QRgb colour : {board::kFillGrey, board::kBlack}) {
            QImage ours = picture.copy();
            QImage expected = picture.copy();
            PixelUndo undo;
            bool toldBeforeWriting = true;
            const QRect changed =
                raster::floodFill(ours, seed.x(), seed.y(), colour, [&](int y, int from, int to) {
                    toldBeforeWriting &= std::memcmp(ours.constScanLine(y) + from * bpp,
                                                     picture.constScanLine(y) + from * bpp,
                                                     size_t((to - from) * bpp)) == 0;
                    undo.keepRun(ours, y, from, to);
                });
            Reference::breadthFirstFill(expected, seed.x(), seed.y(), colour);
            QVERIFY(samePixels(ours, expected));
            QVERIFY(toldBeforeWriting);
            // The bounding box is exactly that of the changed pixels.
            QRegion differing;
            for (int y = 0; y < ours.height(); ++y)
                for (int x = 0; x < ours.width(); ++x)
                    if (std::memcmp(ours.constScanLine(y) + x * bpp,
                                    picture.constScanLine(y) + x * bpp, size_t(bpp)))
                        differing += QRect(x, y, 1, 1);
            QCOMPARE(changed, differing.boundingRect());
            // What was kept takes the fill back byte for byte.
            undo.restore(ours);
            QVERIFY(samePixels(ours, picture));
        }
    }

    void fillOfAPlainAreaKeepsLittle()
    {
        QImage plain = greyPicture(4000, 3000, 255);
        PixelUndo undo;
        raster::floodFill(plain, 3, 3, board::kFillGrey,
                          [&](int y, int from, int to) { undo.keepRun(plain, y, from, to); });
        QVERIFY(undo.size() < 1024);
        undo.restore(plain);
        QCOMPARE(raster::pixel(plain, 2000, 1500), board::kWhite);
    }

    // A snapshot read on another thread while the map is drawn on, and one
    // whose document goes first.
    void snapshotReadWhileDrawing()
    {
        MapDocument document(greyPicture(3000, 2000, 255));
        ToolState tool;
        tool.stamp = stamps()[0];
        const QImage wanted = document.picture().copy();
        std::shared_ptr<PictureSnapshot> snapshot = document.snapshot();
        QImage taken;
        std::thread reader([&] { taken = snapshot->take(); });
        QRandomGenerator random(99);
        for (int i = 0; i < 400; ++i) {
            tool.mode = i % 40 == 39 ? board::Mode::Fill : board::Mode::Interior;
            document.mouseDown(Qt::LeftButton, random.bounded(3000), random.bounded(2000), tool);
            if (i % 7 == 0)
                document.undo();
        }
        reader.join();
        QVERIFY(samePixels(taken, wanted));

        auto gone = std::make_unique<MapDocument>(greyPicture(50, 50, 255));
        snapshot = gone->snapshot();
        gone.reset();
        QVERIFY(snapshot->take().isNull());
    }

    void undoKeepsWhatTheChangeNeeds_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::newRow("default size") << QSize(880, 656);
        QTest::newRow("10,000 wide") << QSize(10000, 3000);
        QTest::newRow("smaller than the frame") << QSize(40, 30);
    }

    void undoKeepsWhatTheChangeNeeds()
    {
        QFETCH(QSize, size);
        const auto white = [size] { return greyPicture(size.width(), size.height(), 255); };
        MapDocument document(white());
        ToolState tool;
        tool.stamp = stamps()[0];
        document.mouseDown(Qt::LeftButton, 30, 30, tool);
        QVERIFY(document.undoState().size() <= 30 * 30 + 64);
        const QImage stamped = document.picture().copy();
        document.repairEdge();
        // The edge strips, not the picture.
        if (size.width() > 100)
            QVERIFY(document.undoState().size() <
                    size_t(2 * 25 * (size.width() + size.height())) + 256);
        document.undo();
        QVERIFY(samePixels(document.picture(), stamped));
        document.undo(); // a second undo changes nothing
        QVERIFY(samePixels(document.picture(), stamped));
        QVERIFY(document.undoState().isEmpty());
    }
};

QTEST_MAIN(TestChanges)
#include "test_changes.moc"
