// The program's start-up as main() does it (application object, main window,
// quest editor, about box), ending as soon as the main window has been shown.
// bench_app starts it as a process to time the whole start-up; it prints the
// milliseconds from entering main() to the shown window.

#include "application.h"
#include "program.h"

#include <QElapsedTimer>
#include <QTimer>
#include <cstdio>

namespace {
class ShownWatcher : public QObject {
public:
    explicit ShownWatcher(QElapsedTimer &clock) : m_clock(clock) {}
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show && !m_done) {
            m_done = true;
            // Let the show finish (layout, first expose), then end.
            QTimer::singleShot(0, qApp, [this] {
                std::printf("%.3f\n", double(m_clock.nsecsElapsed()) / 1e6);
                std::fflush(stdout);
                QCoreApplication::quit();
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QElapsedTimer &m_clock;
    bool m_done = false;
};
} // namespace

int main(int argc, char **argv)
{
    QElapsedTimer clock;
    clock.start();
    Application app(argc, argv);
    prepareApplication();
    Program program;
    MainWindow &mainWindow = program.mainWindow;

    ShownWatcher watcher(clock);
    mainWindow.installEventFilter(&watcher);
    mainWindow.show();
    return app.exec();
}
