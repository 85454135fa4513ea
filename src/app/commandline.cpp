#include "commandline.h"

#include "errors.h"
#include "filenames.h"
#include "mapfile.h"
#include "questfile.h"
#include "sheetprint.h"
#include "textlines.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QTemporaryDir>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <new>
#include <sys/stat.h>

namespace {

const QString kSheet = QStringLiteral("sheet");
const QString kMap = QStringLiteral("map");
const QString kOutput = QStringLiteral("output");
// The output file that stands for standard output.
const QString kStandardOutput = QStringLiteral("-");
const QString kStandardOutputFailed =
    QStringLiteral("Das Questblatt konnte nicht in die Standardausgabe geschrieben werden");
// Added by the toolkit's help option beside -h and --help.
const QString kHelpAll = QStringLiteral("help-all");

// The toolkit's own options, which the application object takes out of the
// arguments; the early look at the raw arguments lets them pass.
const QStringList kToolkitOptions =
    QStringLiteral("platform platformpluginpath platformtheme plugin qwindowgeometry geometry "
                   "qwindowtitle title qwindowicon icon style stylesheet widgetcount reverse "
                   "session display name dialogs nograb dograb visual qmljsdebugger")
        .split(QLatin1Char(' '));

// The options, shared by the early look at the raw arguments and the real
// reading. "-o" and the toolkit's "-style" alike are read as whole words.
void addOptions(QCommandLineParser &parser)
{
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(
        QStringLiteral("DK-Edit zeichnet Questkarten für das Brettspiel Dunkelkrone.\n"
                       "Ohne Optionen öffnet es die angegebenen Karten (BMP) und Quest-Dateien "
                       "(.dke)."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOption({kSheet,
                      QStringLiteral("Schreibt das Questblatt der Quest-Datei als PDF-Datei "
                                     "(A4), ohne ein Fenster zu öffnen; braucht --map und -o."),
                      QStringLiteral("QUEST.dke")});
    parser.addOption(
        {kMap, QStringLiteral("Die Karte des Questblatts."), QStringLiteral("KARTE.bmp")});
    parser.addOption({{QStringLiteral("o"), kOutput},
                      QStringLiteral("Die PDF-Datei, in die das Questblatt geschrieben wird; "
                                     "- schreibt es auf die Standardausgabe."),
                      QStringLiteral("BLATT.pdf")});
    parser.addPositionalArgument(
        QStringLiteral("DATEI"),
        QStringLiteral("Karten (BMP) und Quest-Dateien (.dke) zum Öffnen."),
        QStringLiteral("[DATEI...]"));
}

CommandLine refuse(const QString &why)
{
    CommandLine line;
    line.action = CommandLine::Refuse;
    line.message = why + QStringLiteral("\n„dkedit --help“ zeigt, was möglich ist.");
    return line;
}

// Whether two paths name the same file: the same path, or (for files that
// exist) the same file by identity, through a link or a second name.
bool sameFile(const QString &a, const QString &b)
{
    if (filenames::absolute(a) == filenames::absolute(b))
        return true;
    QByteArray firstName;
    QByteArray secondName;
    struct stat first {};
    struct stat second {};
    return filenames::encode(a, &firstName) && filenames::encode(b, &secondName) &&
           ::stat(firstName.constData(), &first) == 0 &&
           ::stat(secondName.constData(), &second) == 0 && first.st_dev == second.st_dev &&
           first.st_ino == second.st_ino;
}

// The unknown option as it was typed ("-x.bmp", not the parser's "x.bmp"),
// with the way to give a file whose name begins with a dash.
QString unknownOption(const QStringList &arguments, const QString &name)
{
    QString typed = QStringLiteral("--") + name;
    for (const QString &argument : arguments.mid(1)) {
        if (argument == QLatin1String("--"))
            break;
        const QString bare = argument.section(QLatin1Char('='), 0, 0);
        if (bare == QLatin1Char('-') + name || bare == QStringLiteral("--") + name) {
            typed = argument;
            break;
        }
    }
    return QStringLiteral("Unbekannte Option „%1“. Dateinamen, die mit einem Bindestrich "
                          "beginnen, stehen nach --: dkedit -- %1")
        .arg(typed);
}

// Writes the finished PDF file to standard output.
void copyToStandardOutput(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw DkError(errors::cannotOpen(path));
    // A reader that went away is an error to report, not a signal that ends
    // the program before it has cleaned up.
    std::signal(SIGPIPE, SIG_IGN);
    while (!file.atEnd()) {
        const QByteArray chunk = file.read(1 << 16);
        if (file.error() != QFileDevice::NoError)
            throw DkError(errors::cannotOpen(path));
        if (std::fwrite(chunk.constData(), 1, size_t(chunk.size()), stdout) != size_t(chunk.size()))
            throw DkError(kStandardOutputFailed);
    }
    if (std::fflush(stdout) != 0)
        throw DkError(kStandardOutputFailed);
}

} // namespace

bool CommandLine::opensNoWindow(const QStringList &arguments)
{
    QCommandLineParser parser;
    addOptions(parser);
    parser.parse(arguments);
    for (const QString &name :
         {QStringLiteral("help"), kHelpAll, QStringLiteral("version"), kSheet, kMap, kOutput})
        if (parser.isSet(name))
            return true;
    // An option that is neither ours nor the toolkit's ends in a message.
    const QStringList unknown = parser.unknownOptionNames();
    for (const QString &name : unknown)
        if (!kToolkitOptions.contains(name))
            return true;
    return false;
}

CommandLine CommandLine::parse(const QStringList &arguments)
{
    QCommandLineParser parser;
    addOptions(parser);
    if (!parser.parse(arguments)) {
        const QStringList unknown = parser.unknownOptionNames();
        return refuse(unknown.isEmpty() ? parser.errorText()
                                        : unknownOption(arguments, unknown.constFirst()));
    }

    CommandLine line;
    if (parser.isSet(QStringLiteral("help"))) {
        line.action = ShowHelp;
        // "Usage: dkedit ...", not the whole path the program was started by.
        line.message = parser.helpText();
        const QString started = QCoreApplication::arguments().value(0);
        if (!started.isEmpty())
            line.message.replace(started, QFileInfo(arguments.value(0)).fileName());
        return line;
    }
    if (parser.isSet(kHelpAll)) {
        line.action = ShowAllHelp;
        return line;
    }
    if (parser.isSet(QStringLiteral("version"))) {
        line.action = ShowVersion;
        line.message = QCoreApplication::applicationName() + QLatin1Char(' ') +
                       QCoreApplication::applicationVersion() + QLatin1Char('\n');
        return line;
    }
    const QStringList files = parser.positionalArguments();
    if (parser.isSet(kSheet)) {
        if (!parser.isSet(kMap) || !parser.isSet(kOutput))
            return refuse(
                QStringLiteral("--sheet braucht die Karte (--map) und die PDF-Datei (-o)."));
        if (!files.isEmpty())
            return refuse(QStringLiteral("--sheet öffnet keine weiteren Dateien: %1")
                              .arg(files.join(QLatin1Char(' '))));
        line.action = WriteSheet;
        line.quest = parser.value(kSheet);
        line.map = parser.value(kMap);
        line.output = parser.value(kOutput);
        // The sheet never takes the place of one of its own inputs.
        if (line.output != kStandardOutput) {
            if (sameFile(line.output, line.quest))
                return refuse(QStringLiteral("-o nennt die Quest-Datei selbst: %1; das "
                                             "Questblatt würde sie überschreiben.")
                                  .arg(filenames::shown(line.output)));
            if (sameFile(line.output, line.map))
                return refuse(QStringLiteral("-o nennt die Karte selbst: %1; das Questblatt "
                                             "würde sie überschreiben.")
                                  .arg(filenames::shown(line.output)));
        }
        return line;
    }
    if (parser.isSet(kMap) || parser.isSet(kOutput))
        return refuse(QStringLiteral("--map und -o gehören zu --sheet."));
    for (const QString &file : files)
        line.files << filenames::absolute(file);
    return line;
}

void CommandLine::showAllHelp()
{
    // Only the toolkit's parser knows the toolkit's options: it prints them
    // and ends the program itself.
    QCommandLineParser parser;
    addOptions(parser);
    parser.process(
        QStringList{QCoreApplication::arguments().value(0), QStringLiteral("--") + kHelpAll});
    std::exit(0);
}

QString writeSheet(const QString &questFile, const QString &mapFile, const QString &pdfFile)
{
    try {
        QuestDocument doc;
        questfile::read(questFile, doc);
        // The lines as the editor's fields would show them after loading.
        doc.intro = textlines::shownIntroLines(textlines::fieldText(doc.intro));
        for (QStringList &note : doc.notes)
            note = textlines::shownNoteLines(textlines::fieldText(note));
        const QImage map = sheet::readSheetMap(mapFile);

        // One A4 page into the PDF file, as "Quest drucken" prints it.
        // Standard output takes the sheet once it is whole, from a working
        // folder of its own that goes in every case.
        const bool toStandardOutput = pdfFile == kStandardOutput;
        std::unique_ptr<QTemporaryDir> working;
        QString target = filenames::absolute(pdfFile);
        if (toStandardOutput) {
            working = std::make_unique<QTemporaryDir>(QDir::tempPath() +
                                                      QStringLiteral("/dkedit-XXXXXX"));
            if (!working->isValid())
                throw DkError(errors::cannotCreate(working->path()));
            target = working->filePath(QStringLiteral("blatt.pdf"));
        }
        sheet::SheetPrinter sheetPrinter;
        QPrinter &printer = sheetPrinter.printer();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(target);
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setPageOrientation(QPageLayout::Portrait);
        printer.setCopyCount(1);
        sheetPrinter.printWithoutDialog(doc, map);
        if (toStandardOutput)
            copyToStandardOutput(target);
        return QString();
    } catch (const DkError &error) {
        return errors::reportText(error.text());
    } catch (const std::bad_alloc &) {
        // Caught here, so that every working file is removed on the way out.
        return errors::reportText(errors::outOfMemory());
    } catch (const std::exception &error) {
        return errors::reportText(QString::fromLocal8Bit(error.what()));
    }
}
