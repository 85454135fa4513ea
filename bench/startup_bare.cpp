// A bare Qt main window started the way the program starts (same compiler,
// flags and Qt libraries, a frame of the program's size with a menu bar and a
// status bar), ending when it is first exposed: what any Qt program pays.

#include "startupclock.h"

#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QStatusBar>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Dunkelkrone - Editor"));
    window.menuBar()->addMenu(QStringLiteral("Karte"));
    window.statusBar()->showMessage(QString());
    window.resize(789, 526);
    window.show();
    startupclock::ExposeReporter reporter(window.windowHandle());
    return app.exec();
}
