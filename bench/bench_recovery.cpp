// Recovery copies: what a copy costs the GUI thread on the 880 x 656 board
// (taking the snapshot) and the worker (encoding and writing it, synced), and
// the same for a 10,000 x 10,000 map, with a click made while the worker
// reads its snapshot (the rows the click overwrites are set aside first).

#include "application.h"
#include "artwork.h"
#include "bmpcodec.h"
#include "mapwindow.h"
#include "program.h"
#include "recovery.h"

#include <QTemporaryDir>
#include <QTest>
#include <benchmark/benchmark.h>

namespace {

QTemporaryDir &folder()
{
    static QTemporaryDir dir(QStringLiteral("/var/tmp/bench_recovery-XXXXXX"));
    return dir;
}

Program &program()
{
    static Program *program = [] {
        auto *p = new Program;
        p->mainWindow.show();
        p->mainWindow.toolState().stamp = artwork::bitmap(QStringLiteral("GOBLIN"));
        p->startRecovery(folder().path());
        return p;
    }();
    return *program;
}

void click(MapWindow *map)
{
    QTest::mouseClick(map->canvas(), Qt::LeftButton, {}, QPoint(200, 200));
}

} // namespace

// The snapshot of one changed board map on the GUI thread (the write is not
// timed: it runs on the worker).
static void BoardSnapshotOnGuiThread(benchmark::State &state)
{
    MapWindow *map = program().mainWindow.newFile();
    RecoverySession &session = *program().recoverySession;
    for (auto _ : state) {
        state.PauseTiming();
        click(map);
        state.ResumeTiming();
        session.copyPending(false);
        state.PauseTiming();
        session.waitForWrites();
        state.ResumeTiming();
    }
    map->document().setModified(false);
    map->close();
}
BENCHMARK(BoardSnapshotOnGuiThread)->Unit(benchmark::kMillisecond);

// The worker's part for the board: encode and write the copy atomically.
static void BoardCopyWritten(benchmark::State &state)
{
    recovery::Store store(folder().filePath(QStringLiteral("store")));
    QString error;
    store.open(&error);
    const MapDocument board;
    for (auto _ : state) {
        recovery::Copy copy;
        copy.picture = raster::encodeBmp(board.picture());
        store.write(QStringLiteral("map-1"), copy, &error);
    }
}
BENCHMARK(BoardCopyWritten)->Unit(benchmark::kMillisecond);

namespace {
QImage largeMap()
{
    QImage picture(10000, 10000, QImage::Format_Indexed8);
    QVector<QRgb> table;
    for (int i = 0; i < 256; ++i)
        table << qRgb(i, i, i);
    picture.setColorTable(table);
    picture.fill(200);
    return picture;
}
} // namespace

// A 10,000 x 10,000 map: the snapshot on the GUI thread and a click made
// while the worker reads and writes the copy, timed together. Once only: the map is copied
// at most once a minute.
static void LargeMapSnapshotAndClick(benchmark::State &state)
{
    MapWindow *map = program().mainWindow.openDocument(MapDocument(largeMap()), QString());
    RecoverySession &session = *program().recoverySession;
    for (auto _ : state) {
        state.PauseTiming();
        click(map);
        state.ResumeTiming();
        session.copyPending(false);
        click(map);
        state.PauseTiming();
        session.waitForWrites();
        state.ResumeTiming();
    }
    map->document().setModified(false);
    map->close();
}
BENCHMARK(LargeMapSnapshotAndClick)->Unit(benchmark::kMillisecond)->Iterations(1);

// A click on the large map alone, for comparison.
static void LargeMapClick(benchmark::State &state)
{
    MapWindow *map = program().mainWindow.openDocument(MapDocument(largeMap()), QString());
    for (auto _ : state)
        click(map);
    map->document().setModified(false);
    map->close();
}
BENCHMARK(LargeMapClick)->Unit(benchmark::kMillisecond);

// The worker's part for the large map: encode and write the copy.
static void LargeMapCopyWritten(benchmark::State &state)
{
    recovery::Store store(folder().filePath(QStringLiteral("store")));
    QString error;
    store.open(&error);
    const QImage picture = largeMap();
    for (auto _ : state) {
        recovery::Copy copy;
        copy.picture = raster::encodeBmp(picture);
        store.write(QStringLiteral("map-2"), copy, &error);
    }
}
BENCHMARK(LargeMapCopyWritten)->Unit(benchmark::kMillisecond)->Iterations(3);

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    Application app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
