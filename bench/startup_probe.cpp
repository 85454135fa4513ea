// The program's start-up as main() does it (application object, main window,
// quest editor, about box), ending when the main window is first exposed.
// bench_app starts it as a process, beside startup_bare, and takes the time
// from the process start to the moment it prints.

#include "application.h"
#include "program.h"
#include "startupclock.h"

int main(int argc, char **argv)
{
    Application app(argc, argv);
    prepareApplication();
    Program program;
    program.mainWindow.show();
    startupclock::ExposeReporter reporter(program.mainWindow.windowHandle());
    return app.exec();
}
