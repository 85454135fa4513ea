// The program's start-up as main() does it (application object, main window
// and about box, recovery copies in a folder of their own), ending when the
// main window is first exposed; the quest editor follows the first frame.
// bench_app starts it as a process, beside startup_bare, and takes the time
// from the process start to the moment it prints.

#include "application.h"
#include "program.h"
#include "startupclock.h"

#include <QTemporaryDir>

int main(int argc, char **argv)
{
    Application app(argc, argv);
    prepareApplication();
    Program program;
    program.mainWindow.show();
    const QTemporaryDir recoveryFolder;
    program.startRecovery(recoveryFolder.path());
    startupclock::ExposeReporter reporter(program.mainWindow.windowHandle());
    return app.exec();
}
