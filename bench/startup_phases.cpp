// Where the start-up time goes: the program's start in the order main() runs
// it, each step's milliseconds printed to stderr, until the main window is
// first exposed, then the quest editor made after the first frame. A look-up
// aid, run by hand:
//     xvfb-run -a env QT_QPA_PLATFORM=xcb build/bench/startup_phases

#include "application.h"
#include "program.h"
#include "startupclock.h"

#include <QTemporaryDir>

#include <cstdio>

int main(int argc, char **argv)
{
    double last = startupclock::monotonicMs();
    auto lap = [&last](const char *step) {
        const double now = startupclock::monotonicMs();
        std::fprintf(stderr, "%-14s %7.2f ms\n", step, now - last);
        last = now;
    };
    Application app(argc, argv);
    lap("application");
    prepareApplication();
    lap("prepare");
    Program program;
    lap("main window");
    program.mainWindow.show();
    lap("show");
    const QTemporaryDir recoveryFolder;
    program.startRecovery(recoveryFolder.path());
    lap("recovery");
    startupclock::ExposeReporter reporter(program.mainWindow.windowHandle());
    const int status = app.exec();
    lap("exposed");
    program.questEditor();
    lap("quest editor");
    return status;
}
