#include "artwork.h"
#include "geometry.h"
#include "mapdocument.h"
#include "placement.h"
#include "preview.h"
#include "raster.h"

#include <QFile>
#include <QtTest>

using namespace board;

class TestBoard : public QObject {
    Q_OBJECT

    // A stamp of w x h grey pixels with a pure blue ring, to see the
    // transparency and the exact position at once.
    static QImage testStamp(int w, int h)
    {
        QImage s(w, h, QImage::Format_RGB32);
        s.fill(qRgb(64, 64, 64));
        for (int x = 0; x < w; ++x) {
            s.setPixel(x, 0, qRgb(0, 0, 255));
            s.setPixel(x, h - 1, qRgb(0, 0, 255));
        }
        return s;
    }
    static int greyCount(const QImage &picture, QRgb c)
    {
        int n = 0;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                n += raster::pixel(picture, x, y) == c;
        return n;
    }

private Q_SLOTS:
    void squaresAndTheirLetters()
    {
        QCOMPARE(squareAt(23, 10), (Square{0, 0})); // margin counts as column 0
        QCOMPARE(squareAt(55, 55), (Square{0, 0}));
        QCOMPARE(squareAt(56, 24), (Square{1, 0}));
        QCOMPARE(squareAt(879, 655), (Square{26, 19}));
        QCOMPARE(snapBase(60, 100), QPoint(32, 64));
        QCOMPARE(squareLetter(12, 6), 'X');
        QCOMPARE(squareLetter(13, 6), 'Y');
        QCOMPARE(squareLetter(26, 0), char(0));
        QCOMPARE(squareLetter(0, 19), char(0));
    }

    void squareBitmapsHaveTheirRings()
    {
        // Ring of each letter: sides top, right, bottom, left; corners TL TR BL BR.
        const QHash<char, QString> rings = {
            {'A', "0010/0011"}, {'B', "1000/1100"}, {'C', "0001/1010"}, {'D', "0100/0101"},
            {'E', "1100/1101"}, {'F', "1001/1110"}, {'G', "0110/0111"}, {'H', "0011/1011"},
            {'I', "0101/1111"}, {'J', "1010/1111"}, {'K', "1001/1111"}, {'L', "1100/1111"},
            {'M', "0011/1111"}, {'N', "0110/1111"}, {'O', "0000/0100"}, {'P', "0000/0001"},
            {'Q', "0000/0010"}, {'R', "0000/1000"}, {'S', "0000/0000"}, {'T', "0100/1111"},
            {'U', "0001/1111"}, {'V', "1000/1110"}, {'W', "1000/1101"}, {'X', "0010/1011"},
            {'Y', "0010/0111"}};
        for (auto it = rings.begin(); it != rings.end(); ++it) {
            const QImage sq = squareBitmap(it.key());
            QCOMPARE(sq.size(), QSize(32, 32));
            const QString ring = it.value();
            auto expect = [&](QChar c) { return c == QLatin1Char('1') ? kBlack : kSilver; };
            for (int i = 1; i <= 30; ++i) {
                QCOMPARE(raster::pixel(sq, i, 0), expect(ring[0]));
                QCOMPARE(raster::pixel(sq, 31, i), expect(ring[1]));
                QCOMPARE(raster::pixel(sq, i, 31), expect(ring[2]));
                QCOMPARE(raster::pixel(sq, 0, i), expect(ring[3]));
                for (int j = 1; j <= 30; ++j)
                    QCOMPARE(raster::pixel(sq, i, j), kWhite);
            }
            QCOMPARE(raster::pixel(sq, 0, 0), expect(ring[5]));
            QCOMPARE(raster::pixel(sq, 31, 0), expect(ring[6]));
            QCOMPARE(raster::pixel(sq, 0, 31), expect(ring[7]));
            QCOMPARE(raster::pixel(sq, 31, 31), expect(ring[8]));
        }
    }

    void defaultBoardIsItsComposition()
    {
        QFile file(artwork::bitmapPath(QStringLiteral("BOARD")));
        QCOMPARE(file.size(), 578358); // 8 bits per pixel, grey palette
        const QImage stored = defaultBoard();
        const QImage composed = composeBoard();
        QCOMPARE(stored.size(), QSize(880, 656));
        for (int i = 0; i < 256; ++i)
            QCOMPARE(stored.color(i), qRgb(i, i, i));
        int differences = 0;
        for (int y = 0; y < 656; ++y)
            for (int x = 0; x < 880; ++x)
                if (raster::pixel(stored, x, y) != raster::pixel(composed, x, y)) {
                    ++differences;
                    QCOMPARE(QPoint(x, y), QPoint(343, 408));
                }
        QCOMPARE(differences, 1);
        QCOMPARE(raster::pixel(stored, 343, 408), kBlack);
    }

    void eachModeDrawsAtItsOffset_data()
    {
        QTest::addColumn<Mode>("mode");
        QTest::addColumn<QPoint>("click");
        QTest::addColumn<QPoint>("topLeft");
        // Click inside square (2, 3): snap base (64, 96).
        QTest::newRow("0 square") << Mode::Interior << QPoint(100, 130) << QPoint(89, 121);
        QTest::newRow("2 left line") << Mode::LeftLine << QPoint(100, 130) << QPoint(79, 121);
        QTest::newRow("3 top line") << Mode::TopLine << QPoint(100, 130) << QPoint(89, 111);
        QTest::newRow("4 out left") << Mode::OutLeft << QPoint(100, 130) << QPoint(63, 121);
        QTest::newRow("5 out up") << Mode::OutUp << QPoint(100, 130) << QPoint(89, 96);
        QTest::newRow("0 left margin") << Mode::Interior << QPoint(3, 3) << QPoint(25, 25);
    }
    void eachModeDrawsAtItsOffset()
    {
        QFETCH(Mode, mode);
        QFETCH(QPoint, click);
        QFETCH(QPoint, topLeft);
        ToolState tool;
        tool.mode = mode;
        tool.stamp = testStamp(10, 6);
        MapDocument doc;
        doc.mouseDown(Qt::LeftButton, click.x(), click.y(), tool);
        const QImage &p = doc.picture();
        QCOMPARE(p.format(), QImage::Format_Indexed8);
        // Grey from the stamp's second row, not its blue first row.
        QCOMPARE(raster::pixel(p, topLeft.x(), topLeft.y() + 1), qRgb(64, 64, 64));
        QCOMPARE(raster::pixel(p, topLeft.x() + 9, topLeft.y() + 4), qRgb(64, 64, 64));
        QVERIFY(raster::pixel(p, topLeft.x(), topLeft.y()) != qRgb(64, 64, 64));
        QVERIFY(raster::pixel(p, topLeft.x() - 1, topLeft.y() + 1) != qRgb(64, 64, 64));
        QVERIFY(raster::pixel(p, topLeft.x() + 10, topLeft.y() + 1) != qRgb(64, 64, 64));
        QCOMPARE(greyCount(p, qRgb(64, 64, 64)), 40);
    }

    void squareModeBoundIsStrict()
    {
        ToolState tool;
        tool.stamp = testStamp(62, 62);
        MapDocument doc;
        const QImage before = doc.picture();
        doc.mouseDown(Qt::LeftButton, 24 + 32 * 25 + 5, 100, tool); // column 25: 825+62=887
        QCOMPARE(doc.picture(), before);
        QVERIFY(doc.isModified());
        doc.mouseDown(Qt::LeftButton, 24 + 32 * 24 + 5, 100, tool); // column 24: ends at 854
        QCOMPARE(raster::pixel(doc.picture(), 854, 120), qRgb(64, 64, 64));

        // A 30 x 30 stamp is not drawn in the right or bottom margin.
        tool.stamp = testStamp(30, 30);
        MapDocument margins;
        const QImage pristine = margins.picture();
        margins.mouseDown(Qt::LeftButton, 860, 300, tool);
        margins.mouseDown(Qt::LeftButton, 300, 640, tool);
        QCOMPARE(margins.picture(), pristine);

        // Ending exactly on the last pixel column is not drawn either.
        QImage small(57, 57, QImage::Format_RGB32);
        small.fill(qRgb(255, 255, 255));
        for (int w : {31, 32}) { // 31 + 25 = 56 < 57: drawn; 32 + 25 = 57: not drawn
            MapDocument exact(small);
            tool.stamp = testStamp(w, 30);
            exact.mouseDown(Qt::LeftButton, 30, 30, tool);
            QCOMPARE(exact.picture() == small, w == 32);
        }
    }

    void outLeftAtTheEdgeIsCut()
    {
        ToolState tool;
        tool.mode = Mode::OutLeft;
        tool.stamp = testStamp(35, 30);
        MapDocument doc;
        doc.mouseDown(Qt::LeftButton, 10, 100, tool); // draws at x = -1
        QCOMPARE(raster::pixel(doc.picture(), 0, 95), qRgb(64, 64, 64));
        QCOMPARE(raster::pixel(doc.picture(), 33, 95), qRgb(64, 64, 64));
        QVERIFY(raster::pixel(doc.picture(), 34, 95) != qRgb(64, 64, 64));
    }

    void correctionRestoresTheSquare()
    {
        ToolState tool;
        tool.stamp = testStamp(30, 30);
        MapDocument doc;
        const QImage pristine = doc.picture();
        doc.mouseDown(Qt::LeftButton, 24 + 32 * 12 + 3, 24 + 32 * 6 + 3, tool);
        QVERIFY(doc.picture() != pristine);
        tool.mode = Mode::Restore;
        doc.mouseDown(Qt::LeftButton, 24 + 32 * 12 + 20, 24 + 32 * 6 + 20, tool);
        QCOMPARE(doc.picture(), pristine);
        QCOMPARE(tool.stamp, squareBitmap('X')); // the stamp is now the square
        // Outside the table nothing is restored and the stamp stays.
        doc.mouseDown(Qt::LeftButton, 870, 300, tool);
        QCOMPARE(doc.picture(), pristine);
        QCOMPARE(tool.stamp, squareBitmap('X'));
    }

    void fillGreysOneSquareInterior()
    {
        ToolState tool;
        tool.mode = Mode::Fill;
        MapDocument doc;
        const QImage pristine = doc.picture();
        // A click on the silver margin draws nothing but is a change with undo.
        doc.mouseDown(Qt::LeftButton, 5, 5, tool);
        QVERIFY(doc.isModified());
        QCOMPARE(doc.undoCopy(), pristine);
        doc.mouseDown(Qt::LeftButton, 24 + 32 * 3 + 10, 24 + 32 * 4 + 10, tool);
        QCOMPARE(greyCount(doc.picture(), kFillGrey), 900);
        QCOMPARE(raster::pixel(doc.picture(), 24 + 32 * 3 + 1, 24 + 32 * 4 + 1), kFillGrey);
        QCOMPARE(raster::pixel(doc.picture(), 24 + 32 * 3, 24 + 32 * 4 + 1),
                 raster::pixel(pristine, 24 + 32 * 3, 24 + 32 * 4 + 1));
        // A second click on the grey area or a line pixel draws nothing.
        const QImage once = doc.picture();
        doc.mouseDown(Qt::LeftButton, 24 + 32 * 3 + 10, 24 + 32 * 4 + 10, tool);
        QCOMPARE(doc.picture(), once);
        doc.mouseDown(Qt::LeftButton, 24, 24, tool);
        QCOMPARE(doc.picture(), once);
    }

    void otherButtonsChangeNothing()
    {
        ToolState tool;
        tool.stamp = testStamp(30, 30);
        MapDocument doc;
        doc.mouseDown(Qt::RightButton, 100, 100, tool);
        doc.mouseDown(Qt::MiddleButton, 100, 100, tool);
        QVERIFY(!doc.isModified());
        QVERIFY(!doc.canUndo());
        QCOMPARE(doc.picture(), defaultBoard());
    }

    void undoAndRepair()
    {
        ToolState tool;
        tool.stamp = testStamp(30, 30);
        QImage odd(300, 200, QImage::Format_RGB32);
        odd.fill(qRgb(255, 255, 255));
        MapDocument doc(odd);
        doc.repairEdge();
        const QImage &p = doc.picture();
        // Silver margin, two black lines, the inside kept.
        const QList<std::pair<QPoint, QRgb>> expected = {
            {{22, 100}, kSilver}, {{23, 100}, kBlack},  {{24, 100}, kBlack},  {{25, 100}, kWhite},
            {{274, 100}, kWhite}, {{275, 100}, kBlack}, {{276, 100}, kBlack}, {{277, 100}, kSilver},
            {{150, 175}, kBlack}, {{150, 176}, kBlack}, {{150, 199}, kSilver}};
        for (const auto &[at, colour] : expected)
            QCOMPARE(raster::pixel(p, at.x(), at.y()), colour);
        QVERIFY(doc.isModified());
        QVERIFY(doc.canUndo());
        doc.undo();
        QCOMPARE(doc.picture(), odd);
        QVERIFY(!doc.canUndo());
        QVERIFY(doc.isModified()); // undo does not clear the flag
        // The caller's picture was shared, so drawing went to a copy of its own.
        QCOMPARE(odd.pixel(22, 100), kWhite);
    }

    // A picture handed over (an opened map) is kept without copying it.
    void handedOverPictureIsNotCopied()
    {
        QImage picture(400, 300, QImage::Format_Indexed8);
        picture.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
        picture.fill(1);
        const uchar *pixels = picture.constBits();
        const MapDocument doc(std::move(picture));
        QCOMPARE(doc.picture().constBits(), pixels);
    }

    void ghostAppearsAfterOneRestingTick()
    {
        ToolState tool;
        tool.stamp = testStamp(30, 30);
        PreviewState state;
        Overlay overlay;
        const QRegion ghostAt100(89, 89, 30, 30);
        QVERIFY(previewTick(state, tool, overlay).isEmpty()); // off-map at start
        previewMouseMove(state, overlay, 100, 100);
        QVERIFY(previewTick(state, tool, overlay).isEmpty()); // the mouse just moved
        QVERIFY(overlay.ghost.isNull());
        QCOMPARE(previewTick(state, tool, overlay), ghostAt100); // it rested one tick
        QCOMPARE(overlay.ghost.size(), QSize(30, 30));           // no overlay-sized picture
        QCOMPARE(overlay.pixel(89 + 5, 89 + 5), qRgb(64, 64, 64));
        QCOMPARE(qAlpha(overlay.pixel(89 + 5, 89)), 0);       // blue left out
        QVERIFY(previewTick(state, tool, overlay).isEmpty()); // nothing new: no repaint
        // Moving within the same square redraws nothing.
        previewMouseMove(state, overlay, 101, 101);
        previewTick(state, tool, overlay);
        QVERIFY(previewTick(state, tool, overlay).isEmpty());
        // One square on: the old and the new ghost are repainted.
        previewMouseMove(state, overlay, 133, 101);
        previewTick(state, tool, overlay);
        QCOMPARE(previewTick(state, tool, overlay), ghostAt100 + QRegion(121, 89, 30, 30));
        previewMouseMove(state, overlay, 101, 101);
        previewTick(state, tool, overlay);
        previewTick(state, tool, overlay);
        // The off-map flag clears the overlay, once.
        state.offMap = true;
        QCOMPARE(previewTick(state, tool, overlay), ghostAt100);
        QVERIFY(overlay.ghost.isNull());
        QVERIFY(previewTick(state, tool, overlay).isEmpty());
        // Back on the same square: no ghost until another square is reached.
        previewMouseMove(state, overlay, 101, 101);
        QVERIFY(previewTick(state, tool, overlay).isEmpty());
        QVERIFY(overlay.ghost.isNull());
        previewMouseMove(state, overlay, 200, 101);
        previewTick(state, tool, overlay);
        QVERIFY(!previewTick(state, tool, overlay).isEmpty());
        QVERIFY(!overlay.ghost.isNull());
    }

    void ghostIsCutAtTheOverlaysEdge()
    {
        ToolState tool;
        tool.stamp = testStamp(30, 30);
        PreviewState state;
        Overlay overlay;
        previewMouseMove(state, overlay, 870, 650); // square (26, 19): ghost at (857, 633)
        previewTick(state, tool, overlay);
        QCOMPARE(previewTick(state, tool, overlay), QRegion(857, 633, 23, 23));
    }

    void pointerLeavingTheMapClearsItsGhost()
    {
        ToolState tool;
        tool.stamp = testStamp(30, 30);
        PreviewState state;
        Overlay here, there;
        previewMouseMove(state, here, 100, 100);
        previewTick(state, tool, here);
        previewTick(state, tool, here);
        QVERIFY(!here.ghost.isNull());
        // A map the pointer has not moved over shows nothing, whatever the
        // shared state says, and leaves that state alone.
        const PreviewState before = state;
        QVERIFY(previewTick(state, tool, there).isEmpty());
        QVERIFY(there.ghost.isNull());
        QCOMPARE(state.lastPreview, before.lastPreview);
        QCOMPARE(state.previousSample, before.previousSample);
        // Leaving clears at once, as the off-map flag does.
        QCOMPARE(previewPointerLeft(state, here), QRegion(89, 89, 30, 30));
        QVERIFY(here.ghost.isNull());
        QVERIFY(state.offMap); // what follows is the off-map flag's, checked above
    }

    void noGhostInCorrectionOrFill()
    {
        ToolState tool;
        tool.stamp = testStamp(30, 30);
        tool.mode = Mode::Fill;
        PreviewState state;
        Overlay overlay;
        previewMouseMove(state, overlay, 300, 300);
        previewTick(state, tool, overlay);
        previewTick(state, tool, overlay);
        QVERIFY(overlay.ghost.isNull());
        QCOMPARE(state.lastPreview, QPoint(256 + 25, 256 + 25));
        QCOMPARE(overlayCursor(QString()), OverlayCursor::CrossHair);
        QCOMPARE(overlayCursor(ToolState::kCorrectionText), OverlayCursor::Correction);
        QCOMPARE(overlayCursor(ToolState::kFillText), OverlayCursor::Fill);
    }
};

QTEST_MAIN(TestBoard)
#include "test_board.moc"
