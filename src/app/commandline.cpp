#include "commandline.h"

#include "errors.h"
#include "filenames.h"
#include "mapfile.h"
#include "questfile.h"
#include "sheetprint.h"
#include "textlines.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>

#include <cstdlib>

namespace {

const QString kSheet = QStringLiteral("sheet");
const QString kMap = QStringLiteral("map");
const QString kOutput = QStringLiteral("output");
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
                      QStringLiteral("Die PDF-Datei, in die das Questblatt geschrieben wird."),
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
    if (!parser.parse(arguments))
        return refuse(parser.errorText());

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
        sheet::SheetPrinter sheetPrinter;
        QPrinter &printer = sheetPrinter.printer();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(filenames::absolute(pdfFile));
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setPageOrientation(QPageLayout::Portrait);
        printer.setCopyCount(1);
        sheetPrinter.printWithoutDialog(doc, map);
        return QString();
    } catch (const DkError &error) {
        return errors::reportText(error.text());
    }
}
