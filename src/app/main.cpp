// DK-Edit: the application object with its error report, then the main
// window, the quest editor and the about box, in that order; then the event
// loop until the main window closes.

#include "application.h"
#include "program.h"

int main(int argc, char **argv)
{
    Application app(argc, argv);
    prepareApplication();
    Program program;
    program.mainWindow.show();
    return app.exec();
}
