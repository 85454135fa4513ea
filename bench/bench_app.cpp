// The program as a whole: start-up to the mapped main window, and the cost
// of 20 open map windows left alone (processor time of their 50 ms timers,
// resident memory).

#include "mainwindow.h"
#include "mapcanvas.h"
#include "mapwindow.h"
#include <QDialog> // before mainwindow.h, which holds a QPointer<QDialog>

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTimer>
#include <benchmark/benchmark.h>

#include "startupclock.h"

#include <algorithm>
#include <sys/resource.h>

namespace {

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval &t) {
        return double(t.tv_sec) + double(t.tv_usec) / 1e6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Resident memory of this process in MB (VmRSS).
double residentMb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    }
    return 0;
}

void settle()
{
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
}

struct Start {
    double ms = -1;   // from starting the process to its window's exposure
    double mb = -1;   // resident memory then
    double cpuMs = 0; // processor time the process used until then
};

Start startOnce(const QString &probePath)
{
    QProcess probe;
    const double started = startupclock::monotonicMs();
    probe.start(probePath, {});
    if (!probe.waitForFinished(30000) || probe.exitCode() != 0)
        return Start{};
    const QList<QByteArray> fields = probe.readAllStandardOutput().trimmed().split(' ');
    return Start{fields.value(0).toDouble() - started, fields.value(1).toDouble(),
                 fields.value(2).toDouble()};
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

} // namespace

// Start to mapped main window: the whole program (libraries, fonts, main
// window, quest editor, about box) and a bare Qt main window built the same
// way, started by turns, ten each, on the platform QT_QPA_PLATFORM names
// (make bench: offscreen; under Xvfb with xcb the windows are really mapped).
// Medians of the time, of the resident memory at that moment and of the
// processor time used until then, and the program's time as a multiple of
// the bare window's.
static void StartupBesideBareWindow(benchmark::State &state)
{
    std::vector<double> programMs, bareMs, programMb, bareMb, programCpu, bareCpu;
    for (auto _ : state) {
        const Start program = startOnce(QStringLiteral(DK_STARTUP_PROBE));
        const Start bare = startOnce(QStringLiteral(DK_STARTUP_BARE));
        if (program.ms < 0 || bare.ms < 0) {
            state.SkipWithError("start-up probe failed");
            break;
        }
        state.SetIterationTime(program.ms / 1e3);
        programMs.push_back(program.ms);
        programMb.push_back(program.mb);
        programCpu.push_back(program.cpuMs);
        bareMs.push_back(bare.ms);
        bareMb.push_back(bare.mb);
        bareCpu.push_back(bare.cpuMs);
    }
    state.counters["program_ms"] = median(programMs);
    state.counters["bare_ms"] = median(bareMs);
    state.counters["ratio"] = median(bareMs) > 0 ? median(programMs) / median(bareMs) : 0;
    state.counters["program_rss_mb"] = median(programMb);
    state.counters["bare_rss_mb"] = median(bareMb);
    state.counters["program_cpu_ms"] = median(programCpu);
    state.counters["bare_cpu_ms"] = median(bareCpu);
}
BENCHMARK(StartupBesideBareWindow)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);

// 20 new maps in the frame window, every one with its preview timer running
// as after the mouse passed over it, then 10 s of the event loop with nobody
// at the mouse. Reports processor time in % of one core and VmRSS.
static void Idle20MapWindows(benchmark::State &state)
{
    for (auto _ : state) {
        const double baseMb = residentMb();
        auto window = std::make_unique<MainWindow>();
        window->show();
        // The frame window active, as on a desktop: a map window stops its
        // timer when it loses activation, which it does when its frame does.
        QApplication::setActiveWindow(window.get());
        window->activateWindow();
        settle();
        const double shownMb = residentMb();
        for (int i = 0; i < 20; ++i)
            window->newFile();
        settle();
        int running = 0;
        for (MapWindow *map : window->mapWindows()) {
            map->canvas()->timer().start();
            running += map->canvas()->timer().isActive() ? 1 : 0;
        }
        settle();
        const double windowsMb = residentMb();

        const double cpuBefore = cpuSeconds();
        QElapsedTimer wall;
        wall.start();
        // Count the running timers at the end of the quiet time, before the
        // loop ends (ending it deactivates the windows).
        int stillRunning = 0;
        QTimer::singleShot(10000, Qt::PreciseTimer, qApp, [&] {
            for (MapWindow *map : window->mapWindows())
                stillRunning += map->canvas()->timer().isActive() ? 1 : 0;
            QCoreApplication::quit();
        });
        QCoreApplication::exec();
        const double seconds = double(wall.nsecsElapsed()) / 1e9;
        const double cpu = cpuSeconds() - cpuBefore;
        state.SetIterationTime(seconds);

        state.counters["timers_running"] = running;
        state.counters["timers_running_at_end"] = stillRunning;
        state.counters["cpu_pct_of_core"] = 100.0 * cpu / seconds;
        state.counters["rss_mb_process_start"] = baseMb;
        state.counters["rss_mb_main_window"] = shownMb;
        state.counters["rss_mb_20_maps"] = windowsMb;
        state.counters["rss_mb_after_idle"] = residentMb();
        window->setQuitGuard([] { return true; });
        for (MapWindow *map : window->mapWindows())
            map->document().setModified(false);
        window.reset();
        settle();
    }
}
BENCHMARK(Idle20MapWindows)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
