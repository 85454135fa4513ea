// The map surface on the offscreen platform: what one move of the hover ghost
// by one square costs from the pointer move to the painted backing store,
// against drawing the two ghost rectangles alone.

#include "benchstamp.h"
#include "geometry.h"
#include "mapcanvas.h"
#include "raster.h"

#include <QApplication>
#include <QPainter>
#include <QTest>
#include <benchmark/benchmark.h>

namespace {

// The pointer positions of the moves: one square to the right each time,
// row after row of the 26 x 19 grid.
QPoint squareCentre(int i)
{
    return QPoint(24 + 32 * (i % 26) + 16, 24 + 32 * ((i / 26) % 19) + 16);
}

} // namespace

// A shown map canvas; each iteration moves the pointer one square on, lets
// the preview timer tick twice (the pointer rests) and runs the event loop,
// which paints what the move marked dirty.
static void GhostMoveRepaint(benchmark::State &state)
{
    MapDocument doc;
    ToolState tool;
    tool.stamp = goblinLike();
    PreviewState preview;
    MapCanvas canvas(doc, tool, preview);
    canvas.show();
    if (!QTest::qWaitForWindowExposed(&canvas)) {
        state.SkipWithError("the canvas was not shown");
        return;
    }
    canvas.timer().stop();
    int i = 0;
    qint64 ghostBytes = 0;
    for (auto _ : state) {
        QTest::mouseMove(&canvas, squareCentre(i++));
        canvas.tick();
        canvas.tick();
        QCoreApplication::processEvents();
        ghostBytes = canvas.overlay().ghost.sizeInBytes();
    }
    state.counters["ghost_picture_kb"] = double(ghostBytes) / 1024.0;
}
BENCHMARK(GhostMoveRepaint)->Unit(benchmark::kMicrosecond);

// Reference: the pixels a one-square move changes on screen, drawn alone: the
// board under the old and the new ghost rectangle from a displayable copy,
// then the ghost.
static void GhostMoveRepaint_ref_twoRects(benchmark::State &state)
{
    const QImage board = board::defaultBoard().convertToFormat(QImage::Format_RGB32);
    QImage ghost(30, 30, QImage::Format_ARGB32_Premultiplied);
    ghost.fill(Qt::transparent);
    raster::drawStamp(ghost, goblinLike(), 0, 0);
    QImage screen(board.size(), QImage::Format_RGB32);
    int i = 0;
    for (auto _ : state) {
        const QRect from(squareCentre(i) / 32 * 32 + QPoint(25, 25), QSize(30, 30));
        const QRect to(squareCentre(++i) / 32 * 32 + QPoint(25, 25), QSize(30, 30));
        QPainter painter(&screen);
        painter.drawImage(from, board, from);
        painter.drawImage(to, board, to);
        painter.drawImage(to.topLeft(), ghost);
        painter.end();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(GhostMoveRepaint_ref_twoRects)->Unit(benchmark::kMicrosecond);

// For comparison, the way a move was shown before: a fresh transparent
// overlay of the board's size with the stamp drawn in, then the whole board
// (indexed, converted while drawn) and the whole overlay painted.
static void GhostMoveRepaint_ref_wholeOverlay(benchmark::State &state)
{
    const QImage board = board::defaultBoard();
    const QImage stamp = goblinLike();
    QImage screen(board.size(), QImage::Format_RGB32);
    int i = 0;
    for (auto _ : state) {
        const QPoint to = squareCentre(++i) / 32 * 32 + QPoint(25, 25);
        QImage overlay(board.size(), QImage::Format_ARGB32_Premultiplied);
        overlay.fill(Qt::transparent);
        raster::drawStamp(overlay, stamp, to.x(), to.y());
        QPainter painter(&screen);
        painter.fillRect(screen.rect(), Qt::lightGray);
        painter.drawImage(screen.rect(), board, screen.rect());
        painter.drawImage(screen.rect(), overlay, screen.rect());
        painter.end();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(GhostMoveRepaint_ref_wholeOverlay)->Unit(benchmark::kMicrosecond);

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
