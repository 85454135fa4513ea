// Placement, fill and BMP input/output on the default board.

#include "geometry.h"
#include "mapdocument.h"
#include "raster.h"

#include <QGuiApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

static QImage goblinLike()
{
    QImage s(30, 30, QImage::Format_Indexed8);
    s.setColorTable({qRgb(0, 0, 255), qRgb(64, 64, 64)});
    s.fill(1);
    for (int i = 0; i < 30; ++i)
        s.scanLine(i)[0] = 0;
    return s;
}

static void ClickPlacement(benchmark::State &state)
{
    ToolState tool;
    tool.stamp = goblinLike();
    MapDocument doc;
    int i = 0;
    for (auto _ : state) {
        doc.mouseDown(Qt::LeftButton, 30 + (i % 26) * 32, 30 + ((i / 26) % 19) * 32, tool);
        ++i;
    }
}
BENCHMARK(ClickPlacement)->Unit(benchmark::kMicrosecond);

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

static void FillWhite8000(benchmark::State &state)
{
    QImage big(8000, 8000, QImage::Format_Indexed8);
    QVector<QRgb> grey(256);
    for (int i = 0; i < 256; ++i)
        grey[i] = qRgb(i, i, i);
    big.setColorTable(grey);
    for (auto _ : state) {
        state.PauseTiming();
        big.fill(255);
        state.ResumeTiming();
        raster::floodFill(big, 4000, 4000, board::kFillGrey);
    }
}
BENCHMARK(FillWhite8000)->Unit(benchmark::kMillisecond)->Iterations(5);

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
