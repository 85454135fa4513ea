// Placement, fill and BMP input/output on the default board.

#include "benchstamp.h"
#include "bmpcodec.h"
#include "floodfill.h"
#include "geometry.h"
#include "mapdocument.h"
#include "raster.h"

#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>

// A grey 8-bit map of side x side pixels: the default board's colour table,
// white inside a silver margin (the geometry does not matter for a stamp).
static QImage squareMap(int side)
{
    if (side == board::kWidth)
        return board::defaultBoard();
    QImage map(side, side, QImage::Format_Indexed8);
    map.setColorTable(board::defaultBoard().colorTable());
    map.fill(255);
    return map;
}

// Square positions spread over the map, the same sequence for every row below.
static QPoint clickAt(int i, int side)
{
    const int columns = std::min(26, (side - 80) / 32);
    const int rows = std::min(19, (side - 80) / 32);
    return QPoint(30 + (i % columns) * 32, 30 + ((i / columns) % rows) * 32);
}

// A left click with a 30 x 30 stamp on a map of side x side pixels: the whole
// of MapDocument::mouseDown (undo state, drawing, flags).
static void ClickStamp30(benchmark::State &state)
{
    const int side = int(state.range(0));
    ToolState tool;
    tool.stamp = goblinLike();
    MapDocument doc(squareMap(side));
    int i = 0;
    for (auto _ : state) {
        const QPoint at = clickAt(i++, side);
        doc.mouseDown(Qt::LeftButton, at.x(), at.y(), tool);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(ClickStamp30)->Arg(880)->Arg(10000)->Unit(benchmark::kMicrosecond);

// Reference for the click: the stamp drawing alone, same map, same squares.
static void ClickStamp30_ref_drawingAlone(benchmark::State &state)
{
    const int side = int(state.range(0));
    const QImage stamp = goblinLike();
    QImage map = squareMap(side);
    map.detach();
    int i = 0;
    for (auto _ : state) {
        const QPoint at = clickAt(i++, side) / 32 * 32 + QPoint(25, 25);
        raster::drawStamp(map, stamp, at.x(), at.y());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(ClickStamp30_ref_drawingAlone)->Arg(880)->Arg(10000)->Unit(benchmark::kMicrosecond);

static void FillSquareInterior(benchmark::State &state)
{
    const QImage board = board::defaultBoard();
    for (auto _ : state) {
        state.PauseTiming();
        QImage copy = board.copy();
        state.ResumeTiming();
        raster::floodFill(copy, 100, 100, board::kFillGrey);
        benchmark::DoNotOptimize(copy.constBits());
    }
}
BENCHMARK(FillSquareInterior)->Unit(benchmark::kMicrosecond);

static QImage white8000()
{
    QImage big(8000, 8000, QImage::Format_Indexed8);
    QVector<QRgb> grey(256);
    for (int i = 0; i < 256; ++i)
        grey[i] = qRgb(i, i, i);
    big.setColorTable(grey);
    big.fill(255);
    return big;
}

static void FillWhite8000(benchmark::State &state)
{
    QImage big = white8000();
    for (auto _ : state) {
        state.PauseTiming();
        big.fill(255);
        state.ResumeTiming();
        raster::floodFill(big, 4000, 4000, board::kFillGrey);
    }
}
BENCHMARK(FillWhite8000)->Unit(benchmark::kMillisecond)->Iterations(5);

// The same fill as a click of the fill tool on a map: the fill and what its
// undo keeps (the rows it writes).
static void FillWhite8000Click(benchmark::State &state)
{
    ToolState tool;
    tool.mode = board::Mode::Fill;
    for (auto _ : state) {
        state.PauseTiming();
        MapDocument doc(white8000());
        state.ResumeTiming();
        doc.mouseDown(Qt::LeftButton, 4000, 4000, tool);
        benchmark::ClobberMemory();
        state.PauseTiming();
        doc = MapDocument(QImage());
        state.ResumeTiming();
    }
}
BENCHMARK(FillWhite8000Click)->Unit(benchmark::kMillisecond)->Iterations(5);

// References for the fill in the same run: writing the same 64 MB once
// (memset) and reading and writing them once (memcpy into a second picture).
static void FillWhite8000_ref_memset(benchmark::State &state)
{
    QImage big = white8000();
    for (auto _ : state) {
        std::memset(big.bits(), 128, size_t(big.sizeInBytes()));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(FillWhite8000_ref_memset)->Unit(benchmark::kMillisecond)->Iterations(5);

static void FillWhite8000_ref_memcpy(benchmark::State &state)
{
    const QImage big = white8000();
    QImage other = white8000();
    for (auto _ : state) {
        std::memcpy(other.bits(), big.constBits(), size_t(big.sizeInBytes()));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(FillWhite8000_ref_memcpy)->Unit(benchmark::kMillisecond)->Iterations(5);

// The same 8,000 x 8,000 white fill done by ImageMagick in the same run: its
// wall time (process start, white canvas, flood fill, no output) against ours
// for the same steps (white picture made, flood fill). "im_over_ours" above 1
// means our fill is faster.
static void FillWhite8000VsImageMagick(benchmark::State &state)
{
    QString convert = QStringLiteral("/usr/bin/convert-im6.q16");
    if (!QFile::exists(convert))
        convert = QStringLiteral("convert");
    const QStringList arguments{QStringLiteral("-size"),
                                QStringLiteral("8000x8000"),
                                QStringLiteral("xc:white"),
                                QStringLiteral("-fill"),
                                QStringLiteral("gray"),
                                QStringLiteral("-draw"),
                                QStringLiteral("color 4000,4000 floodfill"),
                                QStringLiteral("null:")};
    double ours = 0, oursFillOnly = 0, theirs = 0;
    int runs = 0;
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        QImage big = white8000();
        QElapsedTimer fillClock;
        fillClock.start();
        raster::floodFill(big, 4000, 4000, board::kFillGrey);
        oursFillOnly += double(fillClock.nsecsElapsed()) / 1e6;
        const double ms = double(clock.nsecsElapsed()) / 1e6;
        ours += ms;
        state.SetIterationTime(ms / 1e3);

        QProcess im;
        QElapsedTimer imClock;
        imClock.start();
        im.start(convert, arguments);
        const bool done = im.waitForFinished(600000);
        theirs += double(imClock.nsecsElapsed()) / 1e6;
        if (!done || im.exitStatus() != QProcess::NormalExit || im.exitCode() != 0) {
            state.SkipWithError("ImageMagick's convert did not run");
            break;
        }
        ++runs;
    }
    if (runs > 0) {
        state.counters["ours_ms"] = ours / runs;
        state.counters["ours_fill_only_ms"] = oursFillOnly / runs;
        state.counters["imagemagick_ms"] = theirs / runs;
        state.counters["im_over_ours"] = theirs / ours;
    }
}
BENCHMARK(FillWhite8000VsImageMagick)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

static void LoadDefaultBoardBmp(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("board.bmp"));
    raster::writeBmpFile(board::defaultBoard(), path);
    for (auto _ : state)
        benchmark::DoNotOptimize(raster::readBmpFile(path));
}
BENCHMARK(LoadDefaultBoardBmp)->Unit(benchmark::kMicrosecond);

static void SaveDefaultBoardBmp(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("board.bmp"));
    const QImage board = board::defaultBoard();
    for (auto _ : state)
        raster::writeBmpFile(board, path);
}
BENCHMARK(SaveDefaultBoardBmp)->Unit(benchmark::kMicrosecond);

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
