// Test-only tool, never run by the tests themselves:
//   palette_tool expected <file.png>   writes the stored picture of every entry
//                                      stamped on a fresh board
//   palette_tool shots <folder>        shows the palette in a window and saves
//                                      one picture of each of its four pages
#include "palette.h"
#include "stampsheet.h"

#include <QApplication>
#include <QDir>
#include <QMainWindow>
#include <QTabWidget>
#include <QTextStream>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    QTextStream err(stderr);
    if (args.size() != 3) {
        err << "usage: palette_tool expected <file.png> | shots <folder>\n";
        return 2;
    }
    if (args[1] == QLatin1String("expected")) {
        const QStringList missing = stampsheet::missing();
        if (!missing.isEmpty()) {
            err << "artwork incomplete: " << missing.join(' ') << "\n";
            return 1;
        }
        if (!stampsheet::sheet().save(args[2])) {
            err << "cannot write " << args[2] << "\n";
            return 1;
        }
        return 0;
    }
    if (args[1] == QLatin1String("shots")) {
        ToolState tool;
        QMainWindow window;
        auto *tabs = new QTabWidget;
        for (int n = 1; n <= 4; ++n)
            tabs->addTab(new QWidget, QStringLiteral("Seite %1").arg(n));
        window.setCentralWidget(tabs);
        new Palette(tabs, tool, &window);
        window.resize(217, 480);
        window.show();
        QDir().mkpath(args[2]);
        for (int i = 0; i < 4; ++i) {
            tabs->setCurrentIndex(i);
            app.processEvents();
            const QString file = QDir(args[2]).filePath(QStringLiteral("seite%1.png").arg(i + 1));
            if (!window.grab().save(file)) {
                err << "cannot write " << file << "\n";
                return 1;
            }
        }
        return 0;
    }
    err << "unknown command " << args[1] << "\n";
    return 2;
}
