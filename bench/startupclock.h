#pragma once
// What the start-up probes report when their main window is first exposed
// (mapped and about to be drawn): the moment on the monotonic clock, which
// the starting process shares, the resident memory and the processor time.

#include <QEvent>
#include <QFile>
#include <QGuiApplication>
#include <QTimer>
#include <QWindow>

#include <cstdio>
#include <ctime>

namespace startupclock {

inline double monotonicMs()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// Processor time of this process so far: less disturbed than the wall time
// where other processes share the machine.
inline double processorMs()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

inline double residentMb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    return 0;
}

/// Prints "<monotonic ms> <resident MB> <processor ms>" at the first exposure
/// of `window`,
/// then ends the event loop.
class ExposeReporter : public QObject {
public:
    explicit ExposeReporter(QWindow *window) { window->installEventFilter(this); }
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *window = static_cast<QWindow *>(watched);
        if (event->type() == QEvent::Expose && window->isExposed() && !m_done) {
            m_done = true;
            std::printf("%.3f %.1f %.3f\n", monotonicMs(), residentMb(), processorMs());
            std::fflush(stdout);
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool m_done = false;
};

} // namespace startupclock
