// DK-Edit: the application object with its error report, then the main
// window, the quest editor and the about box, in that order; then the event
// loop until the main window closes.

#include "aboutbox.h"
#include "application.h"
#include "mainwindow.h"

#include <QDialog>

int main(int argc, char **argv)
{
    Application app(argc, argv);

    MainWindow mainWindow;

    // Stands in for the quest editor until it is built: hidden until opened.
    QDialog questEditor(&mainWindow);
    questEditor.setWindowTitle(QStringLiteral("DK-Edit Questeditor"));
    mainWindow.setQuestEditor(&questEditor);

    AboutBox aboutBox(mainWindow.previewState(), &mainWindow);
    mainWindow.setAboutBox(&aboutBox);

    mainWindow.show();
    return app.exec();
}
