// Saves and prints that fail half-way, with failures that root cannot get
// round either: a file size limit (RLIMIT_FSIZE) that stops the write after a
// few bytes, a folder in the path that is really a file (ENOTDIR), and a
// target that is a folder. In every case the old file stays byte for byte as
// it was, the error report names the file, and the document keeps its unsaved
// state. Each case runs in a forked child, so a size limit binds only there.

#include "application.h"
#include "bmpcodec.h"
#include "errors.h"
#include "forkedchild.h"
#include "mapfile.h"
#include "mapwindow.h"
#include "questeditor.h"
#include "questfile.h"
#include "scripteddialogs.h"
#include "sheetprint.h"
#include "testhelpers.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <QRandomGenerator>

#include <csignal>
#include <functional>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>

namespace {

// Scripted dialogs whose print dialog chooses a PDF file as the printer.
class FaultDialogs : public ScriptedDialogs {
public:
    QString pdf;
    bool print(QWidget *parent, QPrinter &printer) override
    {
        if (!ScriptedDialogs::print(parent, printer))
            return false;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        return true;
    }
};

// How a case makes the write fail.
enum Fault {
    NoFault,       // control: the save works
    SizeLimit,     // RLIMIT_FSIZE: writes past a few bytes fail with EFBIG
    FolderIsFile,  // a folder in the target path is a regular file
    TargetFolder,  // the target itself is a folder
    MissingFolder, // the folder does not exist
};

constexpr rlim_t kSizeLimit = 2048;

// What inChild() reports when the child could not set up its fault.
const QString kUnavailable = QStringLiteral("fault unavailable");

// Runs `work` in a forked child (under the size limit when asked) and returns
// what it reports. `prepare` runs first in the child; when it fails the child
// reports kUnavailable.
QString inChild(bool limitSize, const std::function<QStringList()> &work,
                rlim_t sizeLimit = kSizeLimit, const std::function<bool()> &prepare = {})
{
    return inForkedChild([&] {
        if (limitSize) {
            // Without the signal a write past the limit kills the process;
            // ignored, the write returns EFBIG as a full disk would.
            signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{sizeLimit, sizeLimit};
            setrlimit(RLIMIT_FSIZE, &limit);
        }
        if (prepare && !prepare())
            return kUnavailable;
        return work().join(QLatin1Char('\n'));
    });
}

// Everything in a folder and its subfolders, with each file's bytes.
QMap<QString, QByteArray> snapshot(const QString &root)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files.insert(path, it.fileInfo().isDir() ? QByteArray("<dir>") : readBytes(path));
    }
    return files;
}

// Sets the target up for a fault in `dir`: `old` receives the bytes the
// target (or the file in its way) holds before the save. Returns the path the
// save dialog answers with.
QString prepareTarget(Fault fault, const QString &dir, const QString &name, const QByteArray &old)
{
    switch (fault) {
    case NoFault:
    case SizeLimit: {
        const QString target = dir + QLatin1Char('/') + name;
        writeBytes(target, old);
        return target;
    }
    case FolderIsFile: {
        const QString inTheWay = dir + QStringLiteral("/ordner");
        writeBytes(inTheWay, old);
        return inTheWay + QLatin1Char('/') + name;
    }
    case TargetFolder: {
        const QString target = dir + QLatin1Char('/') + name;
        QDir().mkpath(target);
        writeBytes(target + QStringLiteral("/inhalt.txt"), old);
        return target;
    }
    case MissingFolder:
        break;
    }
    return QString();
}

void addFaultRows()
{
    QTest::addColumn<int>("fault");
    QTest::newRow("no fault") << int(NoFault);
    QTest::newRow("file size limit") << int(SizeLimit);
    QTest::newRow("folder is a file") << int(FolderIsFile);
    QTest::newRow("target is a folder") << int(TargetFolder);
}

// Mounts a file system of 200 kB over `folder`, seen by this process alone
// (its own mount namespace): a disk that fills up. Needs root, or the right
// to mount; false where that is not given.
bool mountSmallDisk(const QString &folder)
{
    if (unshare(CLONE_NEWNS) != 0)
        return false;
    if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
        return false;
    return mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", 0, "size=200k") == 0;
}

// A picture of noise: it compresses to nothing less than its size.
QImage noise(int w, int h)
{
    QImage picture(w, h, QImage::Format_RGB32);
    QRandomGenerator random(17);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            picture.setPixel(x, y, random.generate() | 0xff000000u);
    return picture;
}

QuestDocument longQuest()
{
    QuestDocument doc;
    doc.title = QStringLiteral("Die Gruft des Grafen");
    doc.monster = QStringLiteral("Ork");
    // Short lines, so the intro field shows them as they are.
    for (int i = 0; i < 300; ++i)
        doc.intro << QStringLiteral("Zeile %1.").arg(i);
    doc.notes[QuestDocument::A] = {QStringLiteral("Eine Falle.")};
    doc.active[QuestDocument::A] = true;
    return doc;
}

} // namespace

class TestFault : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // A map window's "Speichern" (opened map) and "Speichern als..." (new
    // map) through its menu, so the error takes the program's own way to the
    // report.
    void mapSave_data()
    {
        QTest::addColumn<int>("fault");
        QTest::addColumn<bool>("saveAs");
        QTest::addColumn<int>("side"); // 0: the default board, else a square picture of that side
        const char *names[] = {"no fault", "file size limit", "folder is a file",
                               "target is a folder"};
        for (int fault = NoFault; fault <= TargetFolder; ++fault) {
            if (fault == NoFault || fault == SizeLimit)
                QTest::addRow("%s, save", names[fault]) << fault << false << 0;
            QTest::addRow("%s, save as", names[fault]) << fault << true << 0;
        }
        // A map file smaller than the write buffer fails only when the buffer
        // is flushed, at the very end of the save.
        QTest::newRow("no fault, small map") << int(NoFault) << false << 60;
        QTest::newRow("file size limit, small map") << int(SizeLimit) << false << 60;
    }

    void mapSave()
    {
        QFETCH(int, fault);
        QFETCH(bool, saveAs);
        QFETCH(int, side);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QImage board = MapDocument().picture();
        if (side > 0)
            board = board.copy(0, 0, side, side);
        const QByteArray old = raster::encodeBmp(board);
        QVERIFY(old.size() > qsizetype(kSizeLimit));
        const QString target =
            prepareTarget(Fault(fault), dir.path(), QStringLiteral("karte.bmp"), old);
        const auto before = snapshot(dir.path());

        const QString report = inChild(fault == SizeLimit, [&] {
            ScriptedDialogs script;
            ToolState tool;
            PreviewState preview;
            tool.mode = board::Mode::Interior;
            tool.stamp = QImage(30, 30, QImage::Format_RGB32);
            tool.stamp.fill(Qt::black);
            auto *map = saveAs ? new MapWindow(tool, preview)
                               : new MapWindow(tool, preview, MapDocument(board), target);
            map->document().mouseDown(Qt::LeftButton, 40, 40, tool);
            const QString caption = map->caption();
            if (saveAs) {
                script.saveAnswers << target;
                script.overwriteAnswers << true; // the old file may go
            }
            map->mapMenu()->actions().at(saveAs ? 3 : 2)->trigger();
            flush();
            return QStringList{
                script.errors.join(QLatin1Char('|')), QString::number(map->document().isModified()),
                map->caption() == caption ? QStringLiteral("caption kept") : map->caption(),
                script.unanswered.join(QLatin1Char('|'))};
        });
        const QStringList got = report.split(QLatin1Char('\n'));
        QCOMPARE(got.size(), 4);
        QCOMPARE(got[3], QString()); // nothing asked that was not scripted

        if (fault == NoFault) {
            QCOMPARE(got[0], QString());
            QCOMPARE(got[1], QStringLiteral("0"));
            const QImage saved = mapfile::read(target);
            QCOMPARE(saved.size(), board.size());
            QVERIFY(saved != board); // the stamp went to the file
            return;
        }
        QCOMPARE(got[0], errors::reportText(errors::cannotCreate(target)));
        QCOMPARE(got[1], QStringLiteral("1"));
        QCOMPARE(got[2], QStringLiteral("caption kept"));
        // The old file, the file in the way or the folder's content: all as
        // they were, and no working copy left behind.
        QCOMPARE(snapshot(dir.path()), before);
    }

    // The quest file: the writer itself, then the quest editor's
    // "Speichern..." as the program runs it.
    void questSave_data() { addFaultRows(); }

    void questSave()
    {
        QFETCH(int, fault);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QuestDocument oldQuest;
        oldQuest.title = QStringLiteral("Alte Quest");
        const QByteArray old = questfile::encode(oldQuest);
        const QString target =
            prepareTarget(Fault(fault), dir.path(), QStringLiteral("quest.dke"), old);
        const auto before = snapshot(dir.path());
        const QuestDocument doc = longQuest();
        QVERIFY(questfile::encode(doc).size() > qsizetype(kSizeLimit));

        const QString report = inChild(fault == SizeLimit, [&] {
            QString writerError;
            try {
                questfile::write(doc, target);
            } catch (const DkError &e) {
                writerError = e.text();
            }
            // Put the old file back after a write that worked, for the editor.
            if (fault == NoFault)
                writeBytes(target, old);

            ScriptedDialogs script;
            QuestEditor editor;
            editor.setQuestText(doc);
            editor.setQuestModified(true);
            const QuestDocument shown = editor.document();
            script.saveAnswers << target;
            script.overwriteAnswers << true;
            QMetaObject::invokeMethod(
                &editor, [&editor] { editor.saveQuest(); }, Qt::QueuedConnection);
            flush();
            return QStringList{writerError, script.errors.join(QLatin1Char('|')),
                               QString::number(editor.questModified()),
                               editor.document() == shown ? QStringLiteral("text kept")
                                                          : QStringLiteral("text changed"),
                               script.unanswered.join(QLatin1Char('|'))};
        });
        const QStringList got = report.split(QLatin1Char('\n'));
        QCOMPARE(got.size(), 5);
        QCOMPARE(got[3], QStringLiteral("text kept"));
        QCOMPARE(got[4], QString());

        if (fault == NoFault) {
            QCOMPARE(got[0], QString());
            QCOMPARE(got[1], QString());
            QCOMPARE(got[2], QStringLiteral("0"));
            QCOMPARE(readBytes(target), questfile::encode(doc));
            return;
        }
        QCOMPARE(got[0], errors::cannotCreate(target));
        QCOMPARE(got[1], errors::reportText(errors::cannotCreate(target)));
        QCOMPARE(got[2], QStringLiteral("1"));
        QCOMPARE(snapshot(dir.path()), before);
    }

    // "Quest drucken" whose working file cannot be made (the temporary folder
    // lies under a file) or not written whole (size limit): the error names
    // the working file, no page is printed, the quest stays as it was.
    void print_data()
    {
        QTest::addColumn<int>("fault");
        QTest::newRow("no fault") << int(NoFault);
        QTest::newRow("file size limit") << int(SizeLimit);
        QTest::newRow("temporary folder under a file") << int(FolderIsFile);
        QTest::newRow("temporary folder missing") << int(MissingFolder);
    }

    void print()
    {
        QFETCH(int, fault);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QString temp = dir.filePath(QStringLiteral("tmp"));
        QVERIFY(QDir().mkpath(temp));
        if (fault == FolderIsFile) {
            QVERIFY(writeBytes(dir.filePath(QStringLiteral("datei")), "kein Ordner"));
            temp = dir.filePath(QStringLiteral("datei/tmp"));
        } else if (fault == MissingFolder) {
            temp = dir.filePath(QStringLiteral("fehlt"));
        }
        const QString mapFile = dir.filePath(QStringLiteral("karte.bmp"));
        raster::writeBmpFile(MapDocument().picture(), mapFile);
        const QString pdf = dir.filePath(QStringLiteral("out/blatt.pdf"));
        QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("out"))));
        const auto before = snapshot(dir.path());

        const QString report = inChild(fault == SizeLimit, [&] {
            qputenv("TMPDIR", QFile::encodeName(temp));
            FaultDialogs script;
            script.pdf = pdf;
            script.printAnswers << true;
            QuestEditor editor;
            script.openAnswers << mapFile;
            editor.loadPicture(); // the map picture, so "Quest drucken" is possible
            editor.setQuestText(longQuest());
            editor.setQuestModified(true);
            const QuestDocument shown = editor.document();
            // Wired as the program wires the button.
            QObject::connect(
                editor.printButton(), &QPushButton::clicked, &editor,
                [&editor] { printQuestSheet(&editor, editor.document(), editor.mapPicture()); },
                Qt::QueuedConnection);
            editor.printButton()->click();
            flush();
            return QStringList{
                script.errors.join(QLatin1Char('|')) + script.unanswered.join(QLatin1Char('|')),
                QString::number(script.printCount), QString::number(editor.questModified()),
                editor.document() == shown ? QStringLiteral("text kept")
                                           : QStringLiteral("text changed")};
        });
        const QStringList got = report.split(QLatin1Char('\n'));
        QCOMPARE(got.size(), 4);
        QCOMPARE(got[1], QStringLiteral("1"));
        QCOMPARE(got[2], QStringLiteral("1"));
        QCOMPARE(got[3], QStringLiteral("text kept"));

        if (fault == NoFault) {
            QCOMPARE(got[0], QString());
            QVERIFY(readBytes(pdf).startsWith("%PDF"));
            QVERIFY(QDir(temp).isEmpty()); // the working file is gone again
            return;
        }
        const QString prefix = errors::cannotCreate(temp + QStringLiteral("/dkedit-"));
        QVERIFY2(got[0].startsWith(prefix) && got[0].endsWith(QLatin1String(".bmp.")),
                 qPrintable(got[0]));
        QVERIFY(!got[0].contains(QLatin1Char('|'))); // reported once
        // No page went out and no working file stayed behind.
        QCOMPARE(snapshot(dir.path()), before);
    }

    // The disk fills up during a map save, a quest save and a quest sheet
    // printed to a PDF file: either a file size limit stops the writes, or
    // the folder is a small file system of its own (only where this process
    // may mount one). Each time the error names the file, the old file stays
    // byte for byte and no temporary file is left.
    void fullDisk_data()
    {
        QTest::addColumn<QString>("what");
        QTest::addColumn<bool>("smallDisk");
        // The map and quest saves meet a size limit in mapSave and questSave.
        QTest::newRow("pdf, file size limit") << QStringLiteral("pdf") << false;
        for (const char *what : {"map", "quest", "pdf"})
            QTest::addRow("%s, small disk", what) << QString::fromLatin1(what) << true;
    }

    void fullDisk()
    {
        QFETCH(QString, what);
        QFETCH(bool, smallDisk);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString folder = dir.filePath(QStringLiteral("voll"));
        QVERIFY(QDir().mkpath(folder));
        const QString target =
            folder + (what == QLatin1String("map")     ? QStringLiteral("/karte.bmp")
                      : what == QLatin1String("quest") ? QStringLiteral("/quest.dke")
                                                       : QStringLiteral("/blatt.pdf"));
        const QByteArray old = "Die alte Datei.\n";

        const QString report = inChild(
            !smallDisk,
            [&] {
                // On the small disk the old file is made there, by the child.
                if (!writeBytes(target, old))
                    return QStringList{QStringLiteral("old file not written")};
                QString error;
                try {
                    if (what == QLatin1String("map")) {
                        raster::writeBmpFile(noise(880, 656), target);
                    } else if (what == QLatin1String("quest")) {
                        QuestDocument doc = longQuest();
                        // Past both limits: 1 MB, 200 kB.
                        for (int i = 0; i < 8000; ++i)
                            doc.intro << QStringLiteral(
                                             "Eine lange Zeile der Einleitung, eine von vielen, "
                                             "Nummer %1.")
                                             .arg(i);
                        questfile::write(doc, target);
                    } else {
                        FaultDialogs script;
                        script.pdf = target;
                        script.printAnswers << true;
                        sheet::SheetPrinter printer;
                        printer.print(nullptr, longQuest(), noise(880, 656));
                    }
                } catch (const DkError &e) {
                    error = e.text();
                }
                return QStringList{error,
                                   readBytes(target) == old ? QStringLiteral("old file kept")
                                                            : QStringLiteral("old file changed"),
                                   QDir(folder)
                                       .entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                                  QDir::NoDotAndDotDot)
                                       .join(QLatin1Char(' '))};
            },
            // The print's working file must fit, its PDF not.
            what == QLatin1String("pdf") ? rlim_t(1) << 20 : kSizeLimit,
            smallDisk ? std::function<bool()>([&] { return mountSmallDisk(folder); }) : nullptr);
        if (report == kUnavailable)
            QSKIP("this process may not mount a small file system (needs root)");
        const QStringList got = report.split(QLatin1Char('\n'));
        QCOMPARE(got.size(), 3);
        QCOMPARE(got[0], errors::cannotCreate(target));
        QCOMPARE(got[1], QStringLiteral("old file kept"));
        QCOMPARE(got[2], QFileInfo(target).fileName());
    }
};

int main(int argc, char **argv)
{
    Application app(argc, argv);
    Application::finishReadingAhead(); // the cases fork
    TestFault test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_fault.moc"
