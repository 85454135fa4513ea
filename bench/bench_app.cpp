// The program as a whole: start-up until the main window shows, and the cost
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

} // namespace

// Wall time of a whole start (process start, libraries, fonts, main window,
// quest editor, about box) until the main window has been shown, on the
// offscreen platform. "in_process_ms" is the part from entering main().
static void StartupToShownWindow(benchmark::State &state)
{
    std::vector<double> inProcess;
    for (auto _ : state) {
        QProcess probe;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        probe.setProcessEnvironment(env);
        QElapsedTimer clock;
        clock.start();
        probe.start(QStringLiteral(DK_STARTUP_PROBE), {});
        probe.waitForFinished(30000);
        state.SetIterationTime(double(clock.nsecsElapsed()) / 1e9);
        inProcess.push_back(probe.readAllStandardOutput().trimmed().toDouble());
        if (probe.exitStatus() != QProcess::NormalExit || probe.exitCode() != 0)
            state.SkipWithError("start-up probe failed");
    }
    std::sort(inProcess.begin(), inProcess.end());
    if (!inProcess.empty())
        state.counters["in_process_ms_median"] = inProcess[inProcess.size() / 2];
}
BENCHMARK(StartupToShownWindow)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);

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
