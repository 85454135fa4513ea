// Test-only tool, never run by the tests themselves: writes the stored
// picture of every palette entry stamped on a fresh board.
//   palette_tool <file.png>
#include "stampsheet.h"

#include <QGuiApplication>
#include <QTextStream>

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    QTextStream err(stderr);
    if (args.size() != 2) {
        err << "usage: palette_tool <file.png>\n";
        return 2;
    }
    if (!stampsheet::sheet().save(args[1])) {
        err << "cannot write " << args[1] << "\n";
        return 1;
    }
    return 0;
}
