// Where the start-up time goes: the program's start in the order main() runs
// it, each step's milliseconds printed to stderr, until the main window is
// first exposed. A look-up aid, run by hand:
//     xvfb-run -a env QT_QPA_PLATFORM=xcb build/bench/startup_phases

#include "aboutbox.h"
#include "application.h"
#include "mainwindow.h"
#include "program.h"
#include "questeditor.h"
#include "startupclock.h"

#include <cstdio>

int main(int argc, char **argv)
{
    double last = startupclock::monotonicMs();
    auto lap = [&last](const char *step) {
        const double now = startupclock::monotonicMs();
        std::fprintf(stderr, "%-12s %7.2f ms\n", step, now - last);
        last = now;
    };
    Application app(argc, argv);
    lap("application");
    prepareApplication();
    lap("prepare");
    MainWindow mainWindow;
    lap("main window");
    QuestEditor questEditor(&mainWindow);
    lap("quest editor");
    AboutBox aboutBox(&mainWindow);
    lap("about box");
    mainWindow.show();
    lap("show");
    startupclock::ExposeReporter reporter(mainWindow.windowHandle());
    const int status = app.exec();
    lap("exposed");
    return status;
}
