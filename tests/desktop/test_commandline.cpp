// The command line: what it is read as, files given to open (maps and
// quests, bad files reported like the menu commands report them), and the
// quest sheet written as PDF without a window, compared with what "Quest
// drucken" prints for the same quest and map. The built program itself is
// run for the exit statuses and the texts it prints.

#include "application.h"
#include "commandline.h"
#include "errors.h"
#include "filenames.h"
#include "mainwindow.h"
#include "mapfile.h"
#include "mapwindow.h"
#include "pdfpage.h"
#include "program.h"
#include "questeditor.h"
#include "questfile.h"
#include "scripteddialogs.h"
#include "sheetprint.h"
#include "testhelpers.h"
#include "userfiles.h"

#include <QFile>
#include <QLineEdit>
#include <QPageLayout>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <functional>
#include <memory>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

QString dataPath(const QString &name)
{
    return QStringLiteral(DK_TEST_DATA "/quest/") + name;
}

// Runs `then` one event after `watched` was shown.
class OnShow : public QObject {
public:
    OnShow(QWidget *watched, std::function<void()> then) : m_then(std::move(then))
    {
        watched->installEventFilter(this);
    }
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show)
            QMetaObject::invokeMethod(watched, m_then, Qt::QueuedConnection);
        return false;
    }

private:
    std::function<void()> m_then;
};

struct Run {
    int status = -1;
    QString out;
    QString err;
};

// The built program with `arguments`, without a display; with a limit of its
// address space in KiB, and a temporary folder, when given.
Run runProgram(const QStringList &arguments, int memoryKiB = 0, const QString &temp = QString())
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    if (!temp.isEmpty())
        env.insert(QStringLiteral("TMPDIR"), temp);
    process.setProcessEnvironment(env);
    if (memoryKiB > 0)
        process.start(QStringLiteral("bash"),
                      QStringList{"-c",
                                  QStringLiteral("ulimit -v %1; exec \"$0\" \"$@\"").arg(memoryKiB),
                                  QStringLiteral(DK_PROGRAM)} +
                          arguments);
    else
        process.start(QStringLiteral(DK_PROGRAM), arguments);
    Run run;
    if (!process.waitForFinished(120000))
        return run;
    run.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    run.err = QString::fromLocal8Bit(process.readAllStandardError());
    return run;
}

// The built program with arguments given as bytes (file names that are not
// UTF-8), without a display; its error output goes to `err`.
int runProgramBytes(const QList<QByteArray> &arguments, const QByteArray &err)
{
    const QByteArray program = QByteArrayLiteral(DK_PROGRAM);
    const pid_t pid = fork();
    if (pid == 0) {
        std::vector<char *> argv{const_cast<char *>(program.constData())};
        for (const QByteArray &argument : arguments)
            argv.push_back(const_cast<char *>(argument.constData()));
        argv.push_back(nullptr);
        const int fd = ::open(err.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ::dup2(fd, 2);
        ::unsetenv("DISPLAY");
        ::unsetenv("WAYLAND_DISPLAY");
        ::execv(program.constData(), argv.data());
        _exit(127);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The options withoutDisplay runs the program with, as --help names them.
const QStringList kRunOptions{"-h",      "--help", "--help-all", "-v",      "--version",
                              "--sheet", "--map",  "-o",         "--output"};

// A BMP file of 8-bit RLE pixels with a grey palette.
QByteArray rle8Bmp(int width, int height, const QByteArray &pixels)
{
    QByteArray palette;
    for (int i = 0; i < 256; ++i)
        palette += QByteArray(3, char(i)) + '\0';
    QByteArray file;
    QDataStream out(&file, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    const quint32 offset = 14 + 40 + quint32(palette.size());
    out.writeRawData("BM", 2);
    out << quint32(offset + pixels.size()) << quint32(0) << offset;
    out << quint32(40) << qint32(width) << qint32(height) << quint16(1) << quint16(8) << quint32(1)
        << quint32(pixels.size()) << qint32(2835) << qint32(2835) << quint32(256) << quint32(0);
    out.writeRawData(palette.constData(), int(palette.size()));
    out.writeRawData(pixels.constData(), int(pixels.size()));
    return file;
}

} // namespace

class TestCommandLine : public QObject {
    Q_OBJECT

    std::unique_ptr<ScriptedDialogs> script;
    QTemporaryDir dir;
    QString map; // a dark board-sized map

    QString path(const QString &name) const { return dir.filePath(name); }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        map = writeSolidBmp(path(QStringLiteral("karte.bmp")), qRgb(20, 20, 20), 880, 656);
    }
    void init() { script = std::make_unique<ScriptedDialogs>(); }
    void cleanup()
    {
        flush();
        script.reset();
    }

    void parse_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("action");
        QTest::addColumn<QStringList>("files"); // relative to the current folder
        QTest::addColumn<QString>("message");   // a part of it
        const auto open = int(CommandLine::OpenWindows);
        const auto refuse = int(CommandLine::Refuse);
        QTest::newRow("nothing") << QStringList{} << open << QStringList{} << "";
        QTest::newRow("files") << QStringList{"a.bmp", "quests/b.dke"} << open
                               << QStringList{"a.bmp", "quests/b.dke"} << "";
        QTest::newRow("help") << QStringList{"--help"} << int(CommandLine::ShowHelp)
                              << QStringList{} << "--sheet <QUEST.dke>";
        QTest::newRow("help-all") << QStringList{"--help-all"} << int(CommandLine::ShowAllHelp)
                                  << QStringList{} << "";
        QTest::newRow("version") << QStringList{"-v"} << int(CommandLine::ShowVersion)
                                 << QStringList{} << "DK-Edit 1.";
        QTest::newRow("sheet") << QStringList{"--sheet", "q.dke", "--map", "m.bmp", "-o", "s.pdf"}
                               << int(CommandLine::WriteSheet) << QStringList{} << "";
        QTest::newRow("sheet without map")
            << QStringList{"--sheet", "q.dke", "-o", "s.pdf"} << refuse << QStringList{} << "--map";
        QTest::newRow("sheet and files")
            << QStringList{"--sheet", "q.dke", "--map", "m.bmp", "-o", "s.pdf", "x.bmp"} << refuse
            << QStringList{} << "x.bmp";
        QTest::newRow("output alone")
            << QStringList{"-o", "s.pdf"} << refuse << QStringList{} << "--sheet";
        QTest::newRow("unknown option")
            << QStringList{"--zoom"} << refuse << QStringList{} << "--zoom";
        // Named as typed, with the way to open a file whose name begins with a dash.
        QTest::newRow("file name with a dash")
            << QStringList{"-x.bmp"} << refuse << QStringList{} << "„-x.bmp“";
        QTest::newRow("after --") << QStringList{"--", "-x.bmp"} << open << QStringList{"-x.bmp"}
                                  << "";
    }

    void parse()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, action);
        QFETCH(QStringList, files);
        QFETCH(QString, message);
        const CommandLine line =
            CommandLine::parse(QStringList{QStringLiteral("/usr/bin/dkedit")} + arguments);
        QCOMPARE(int(line.action), action);
        QStringList absolute;
        for (const QString &file : files)
            absolute << QDir::current().absoluteFilePath(file);
        QCOMPARE(line.files, absolute);
        QVERIFY2(line.message.contains(message), qPrintable(line.message));
        if (line.action == CommandLine::WriteSheet) {
            QCOMPARE(line.quest, QStringLiteral("q.dke"));
            QCOMPARE(line.map, QStringLiteral("m.bmp"));
            QCOMPARE(line.output, QStringLiteral("s.pdf"));
        }
        if (line.action == CommandLine::ShowHelp)
            QVERIFY(line.message.startsWith(QLatin1String("Usage: dkedit ")));
    }

    // Only what opens no window lets the program start without a display;
    // the toolkit's own options pass.
    void opensNoWindow_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("noWindow");
        QTest::newRow("files") << QStringList{"a.bmp"} << false;
        QTest::newRow("toolkit options")
            << QStringList{"-platform", "xcb", "-style", "fusion", "a.bmp"} << false;
        QTest::newRow("help") << QStringList{"-h"} << true;
        QTest::newRow("help-all") << QStringList{"--help-all"} << true;
        QTest::newRow("sheet") << QStringList{"--sheet", "q.dke"} << true;
        QTest::newRow("unknown option") << QStringList{"--zoom"} << true;
    }

    void opensNoWindow()
    {
        QFETCH(QStringList, arguments);
        QFETCH(bool, noWindow);
        QCOMPARE(CommandLine::opensNoWindow(QStringList{QStringLiteral("dkedit")} + arguments),
                 noWindow);
    }

    // Maps open in windows of their own, a quest goes into the quest editor,
    // which then shows; the maps open together, so a bad file is named in
    // the report as in a drop of several files, and the files after it still
    // open.
    void openFiles()
    {
        const QString broken = path(QStringLiteral("kaputt.bmp"));
        QVERIFY(writeBytes(broken, "BM kein Bild"));
        const QString quest = dataPath(QStringLiteral("flags_all.dke"));
        QuestDocument expected;
        questfile::read(quest, expected);

        Program program;
        program.mainWindow.show();
        QString shownTitle;
        OnShow closer(&program.questEditor(), [&] {
            shownTitle = program.questEditor().titleField()->text();
            program.questEditor().done(0);
        });
        program.openFiles({map, broken, quest});
        flush();
        flush();

        const QList<MapWindow *> maps = program.mainWindow.mapWindows();
        QCOMPARE(maps.size(), 1);
        QCOMPARE(maps[0]->caption(), map);
        QCOMPARE(script->errors,
                 QStringList{QStringLiteral("Die Datei %1 konnte nicht geöffnet werden: "
                                            "Bitmap image is not valid.")
                                 .arg(broken)});
        QCOMPARE(shownTitle, expected.title);
        QVERIFY(!program.questEditor().questModified());
        QVERIFY(script->unanswered.isEmpty());
    }

    // The sheet written without a window is the page "Quest drucken" prints
    // for the same quest file and map (A4): the same composition, the quest
    // text wrapped as the editor's fields wrap it.
    void sheetLikeQuestDrucken()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty())
            QSKIP("pdftoppm is not installed");
        const QString quest = dataPath(QStringLiteral("long_lines.dke"));
        const QString written = path(QStringLiteral("ohne-fenster.pdf"));
        QCOMPARE(writeSheet(quest, map, written), QString());

        // The same through the quest editor and its print command.
        QuestEditor editor;
        editor.loadQuestFile(quest);
        sheet::SheetPrinter printer;
        const QString printed = path(QStringLiteral("gedruckt.pdf"));
        printer.printer().setOutputFormat(QPrinter::PdfFormat);
        printer.printer().setOutputFileName(printed);
        printer.printer().setPageSize(QPageSize(QPageSize::A4));
        printer.printer().setPageOrientation(QPageLayout::Portrait);
        script->printAnswers << true;
        printer.print(&editor, editor.document(), mapfile::read(map));

        const QImage page = rasterisePdf(written);
        QVERIFY(!page.isNull());
        QCOMPARE(page.width(), 827); // A4 at 100 dpi
        QCOMPARE(page, rasterisePdf(printed));
    }

    // Errors come back as the error report words them, and leave no file.
    void sheetErrors_data()
    {
        QTest::addColumn<QString>("quest");
        QTest::addColumn<QString>("map"); // "" the good map
        QTest::addColumn<QString>("output");
        QTest::addColumn<QString>("error"); // %1 quest, %2 map, %3 output
        const QString good = dataPath(QStringLiteral("flags_all.dke"));
        QTest::newRow("quest missing") << path(QStringLiteral("fehlt.dke")) << ""
                                       << "a.pdf"
                                       << "Cannot open file %1.";
        QTest::newRow("quest incomplete") << dataPath(QStringLiteral("truncated.dke")) << ""
                                          << "b.pdf"
                                          << "";
        QTest::newRow("map missing") << good << path(QStringLiteral("fehlt.bmp")) << "c.pdf"
                                     << "Cannot open file %2.";
        QTest::newRow("map no picture") << good << dataPath(QStringLiteral("empty.dke")) << "d.pdf"
                                        << "Bitmap image is not valid.";
        QTest::newRow("output folder missing") << good << ""
                                               << "fehlt/e.pdf"
                                               << "Cannot create file %3.";
    }

    void sheetErrors()
    {
        QFETCH(QString, quest);
        QFETCH(QString, map);
        QFETCH(QString, output);
        QFETCH(QString, error);
        if (map.isEmpty())
            map = this->map;
        output = path(output);
        if (error.isEmpty())
            error = errors::reportText(questfile::incompleteFile(quest));
        error.replace(QLatin1String("%1"), quest)
            .replace(QLatin1String("%2"), map)
            .replace(QLatin1String("%3"), output);
        QCOMPARE(writeSheet(quest, map, output), error);
        QVERIFY(!QFile::exists(output));
    }

    // Latin-1 names on the command line: the map is read and the sheet
    // written under exactly the bytes given (in a Latin-1 folder, too), never
    // under U+FFFD, so that two such names never write one file.
    void sheetUnderLatin1Names()
    {
        const QByteArray folder = QFile::encodeName(dir.path()) + "/\xf6rdner";
        QVERIFY(::mkdir(folder.constData(), 0755) == 0);
        const QByteArray mapName = folder + "/k\xe4rte.bmp";
        QVERIFY(::link(QFile::encodeName(map).constData(), mapName.constData()) == 0);
        const QByteArray quest = QFile::encodeName(dataPath(QStringLiteral("flags_all.dke")));
        const QByteArray err = QFile::encodeName(path(QStringLiteral("fehler.txt")));
        for (const QByteArray &pdf : {folder + "/\xe4.pdf", folder + "/\xf6.pdf"}) {
            QCOMPARE(runProgramBytes({"--sheet", quest, "--map", mapName, "-o", pdf}, err), 0);
            QVERIFY(userfiles::openForReading(filenames::decode(pdf))->read(5) == "%PDF-");
        }
        QCOMPARE(
            filenames::folderEntries(filenames::decode(folder), filenames::EntryKind::Files).size(),
            3);
        for (const char *name : {"/k\xe4rte.bmp", "/\xe4.pdf", "/\xf6.pdf"})
            ::unlink((folder + name).constData());
        ::rmdir(folder.constData());
    }

    // The program itself without a display: every option that --help lists
    // ends with its status and text, none tries to open a window.
    void withoutDisplay_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("out"); // a part of stdout
        QTest::addColumn<QString>("err"); // a part of stderr
        const QString quest = dataPath(QStringLiteral("flags_all.dke"));
        const QString missing = path(QStringLiteral("fehlt.dke"));
        QTest::newRow("-h") << QStringList{"-h"} << 0 << "Usage: dkedit [options]" << QString();
        QTest::newRow("--help") << QStringList{"--help"} << 0 << "--help-all" << QString();
        // The toolkit's own options too.
        QTest::newRow("--help-all")
            << QStringList{"--help-all"} << 0 << "-platform <platformName[:options]>" << QString();
        QTest::newRow("-v") << QStringList{"-v"} << 0 << "DK-Edit 1." << QString();
        QTest::newRow("--version") << QStringList{"--version"} << 0 << "DK-Edit 1." << QString();
        QTest::newRow("--sheet") << QStringList{"--sheet", quest, "--map",
                                                map,       "-o",  path(QStringLiteral("blatt.pdf"))}
                                 << 0 << QString() << QString();
        QTest::newRow("--sheet missing quest")
            << QStringList{"--sheet", missing, "--map", map, "-o", path(QStringLiteral("x.pdf"))}
            << 1 << QString() << QStringLiteral("dkedit: Cannot open file %1.").arg(missing);
        QTest::newRow("--map") << QStringList{"--map", map} << 2 << QString() << "--sheet";
        QTest::newRow("-o") << QStringList{"-o", path(QStringLiteral("x.pdf"))} << 2 << QString()
                            << "--sheet";
        QTest::newRow("--output") << QStringList{"--output", path(QStringLiteral("x.pdf"))} << 2
                                  << QString() << "--sheet";
        QTest::newRow("-x.bmp") << QStringList{"-x.bmp"} << 2 << QString() << "dkedit -- -x.bmp";
    }

    void withoutDisplay()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, out);
        QFETCH(QString, err);
        const Run run = runProgram(arguments);
        QVERIFY2(run.status == status, qPrintable(QString::number(run.status) + run.err));
        QVERIFY2(run.out.contains(out), qPrintable(run.out));
        QVERIFY2(run.err.contains(err), qPrintable(run.err));
        if (arguments.first() == QLatin1String("--sheet") && status == 0)
            QVERIFY(QFile(arguments.last()).size() > 1000);
    }

    // The sheet never replaces one of its inputs, named by the same path or
    // through a link; nothing is written then.
    void sheetGuardsItsInputs()
    {
        const QString quest = path(QStringLiteral("eingabe.dke"));
        QVERIFY(QFile::copy(dataPath(QStringLiteral("flags_all.dke")), quest));
        const QString link = path(QStringLiteral("verweis.bmp"));
        QVERIFY(QFile::link(map, link));
        const QByteArray questBytes = readBytes(quest);
        const QByteArray mapBytes = readBytes(map);
        for (const QString &output : {quest, map, link, QDir::current().relativeFilePath(quest)}) {
            const Run run = runProgram({"--sheet", quest, "--map", map, "-o", output});
            QVERIFY2(run.status == 2, qPrintable(output + run.err));
            QVERIFY2(run.err.contains(output), qPrintable(run.err));
        }
        QCOMPARE(readBytes(quest), questBytes);
        QCOMPARE(readBytes(map), mapBytes);
    }

    // "-o -" writes the PDF to standard output and no file named "-".
    void sheetToStandardOutput()
    {
        QTemporaryDir temp;
        const Run run = runProgram(
            {"--sheet", dataPath(QStringLiteral("flags_all.dke")), "--map", map, "-o", "-"}, 0,
            temp.path());
        QVERIFY2(run.status == 0, qPrintable(run.err));
        QVERIFY(run.out.startsWith(QLatin1String("%PDF-")));
        QVERIFY(run.out.trimmed().endsWith(QLatin1String("%%EOF")));
        QVERIFY(!QFile::exists(QStringLiteral("-")));
        QCOMPARE(QDir(temp.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
    }

    // A map the memory cannot hold (16384 x 16384 pixels in a small RLE8
    // file) is an error with status 1, and no file is left in the output
    // folder or the temporary folder. The same limit lets a small sheet through.
    void sheetOutOfMemory()
    {
        SKIP_UNDER_MEMORY_LIMIT_WITH_SANITIZER();
        const int limitKiB = 400000;
        QTemporaryDir out;
        QTemporaryDir temp;
        const QString quest = dataPath(QStringLiteral("flags_all.dke"));
        QByteArray row;
        for (int x = 0; x < 16384; x += 256)
            row += QByteArray("\xff\x01", 2) + QByteArray("\x01\x02", 2);
        row += QByteArray("\x00\x00", 2); // end of the row
        QByteArray pixels = row.repeated(16384);
        pixels[pixels.size() - 1] = '\x01'; // end of the picture
        const QString big = path(QStringLiteral("gross.bmp"));
        QVERIFY(writeBytes(big, rle8Bmp(16384, 16384, pixels)));

        const QString small = out.filePath(QStringLiteral("klein.pdf"));
        Run run = runProgram({"--sheet", quest, "--map", map, "-o", small}, limitKiB, temp.path());
        QVERIFY2(run.status == 0, qPrintable(run.err));
        QVERIFY(QFile::remove(small));

        run = runProgram({"--sheet", quest, "--map", big, "-o", out.filePath("gross.pdf")},
                         limitKiB, temp.path());
        QVERIFY2(run.status == 1, qPrintable(QString::number(run.status) + run.err));
        QVERIFY2(run.err.contains(QLatin1String("dkedit: Out of memory.")), qPrintable(run.err));
        QCOMPARE(QDir(out.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
        QCOMPARE(QDir(temp.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
    }

    // Each option --help lists has its row above, so a new one is run too.
    void everyListedOptionRuns()
    {
        const Run help = runProgram({QStringLiteral("--help")});
        QCOMPARE(help.status, 0);
        const QRegularExpression option(QStringLiteral("^  (-[?\\w-]+)(, (--[\\w-]+))?"),
                                        QRegularExpression::MultilineOption);
        QStringList listed;
        for (auto it = option.globalMatch(help.out); it.hasNext();) {
            const QRegularExpressionMatch match = it.next();
            listed << match.captured(1);
            if (match.hasCaptured(3))
                listed << match.captured(3);
        }
        QVERIFY2(listed.size() >= 8, qPrintable(help.out));
        for (const QString &name : listed)
            QVERIFY2(kRunOptions.contains(name),
                     qPrintable(name + " has no row in withoutDisplay"));
    }
};

int main(int argc, char **argv)
{
    Application app(argc, argv);
    Application::finishReadingAhead(); // some cases fork
    prepareApplication();
    TestCommandLine test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_commandline.moc"
