// DK-Edit: the application object with its error report, then the main
// window, the quest editor and the about box, in that order; then the event
// loop until the main window closes. The command line may ask instead for
// help, the version or a quest sheet written without any window.

#include "application.h"
#include "commandline.h"
#include "errors.h"
#include "filenames.h"
#include "program.h"

#include <QFileInfo>

#include <cstdio>
#include <new>

namespace {
void print(std::FILE *stream, const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
    if (!text.endsWith(QLatin1Char('\n')))
        std::fputc('\n', stream);
}
} // namespace

namespace {
int run(int argc, char **argv);
} // namespace

// Memory that runs out outside every handler still ends the program with a
// message and status 1, not with an abort.
int main(int argc, char **argv)
{
    try {
        return run(argc, argv);
    } catch (const std::bad_alloc &) {
        print(stderr, QStringLiteral("dkedit: ") + errors::reportText(errors::outOfMemory()));
        return 1;
    }
}

namespace {
int run(int argc, char **argv)
{
    QStringList raw;
    for (int i = 0; i < argc; ++i)
        raw << QString::fromLocal8Bit(argv[i]);
    // What opens no window needs no display either. Its texts name the
    // program as "dkedit", not by the folder it was started from.
    QByteArray name;
    if (CommandLine::opensNoWindow(raw)) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        name = QFileInfo(raw.value(0)).fileName().toLocal8Bit();
        if (argc > 0 && !name.isEmpty())
            argv[0] = name.data();
    }

    Application app(argc, argv);
    prepareApplication();
    // The arguments the toolkit left, from their bytes: Qt's own list turns
    // file names that are not UTF-8 into other names.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << filenames::decode(QByteArray(argv[i]));
    const CommandLine command = CommandLine::parse(arguments);
    switch (command.action) {
    case CommandLine::ShowHelp:
    case CommandLine::ShowVersion:
        print(stdout, command.message);
        return 0;
    case CommandLine::ShowAllHelp:
        CommandLine::showAllHelp();
    case CommandLine::Refuse:
        print(stderr, QStringLiteral("dkedit: ") + command.message);
        return 2;
    case CommandLine::WriteSheet: {
        const QString error = writeSheet(command.quest, command.map, command.output);
        if (error.isEmpty())
            return 0;
        print(stderr, QStringLiteral("dkedit: ") + error);
        return 1;
    }
    case CommandLine::OpenWindows:
        break;
    }

    Program program;
    program.mainWindow.show();
    program.startRecovery();
    program.openFiles(command.files);
    return app.exec();
}
} // namespace
