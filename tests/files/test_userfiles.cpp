// The user's files, as every command that opens or saves one meets them:
// a named pipe, a device or a folder where a file is expected is refused at
// once by every way a file comes in (it used to block the program forever or
// read without end); a huge file that cannot be a map or a quest is refused
// after its first bytes. Saving over a file keeps its owner, group and
// permissions where the system allows, and works for names of any length.
// Every attempt runs in a forked child that is stopped when it takes too
// long, so a command that blocks fails the test instead of hanging it.

#include "application.h"
#include "bmpcodec.h"
#include "errors.h"
#include "filenames.h"
#include "forkedchild.h"
#include "mainwindow.h"
#include "mapwindow.h"
#include "overlayslot.h"
#include "questeditor.h"
#include "questfile.h"
#include "scripteddialogs.h"
#include "testhelpers.h"
#include "userfiles.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool sanitized()
{
    return qEnvironmentVariableIsSet("ASAN_OPTIONS");
}

// Runs `work` in a forked child that is stopped after 30 s (kChildBlocked).
// A read without end stops at 4 GB there instead of filling the machine.
QString inChild(const std::function<QString()> &work)
{
    return inForkedChild(
        [&] {
            if (!sanitized()) {
                const rlimit limit{rlim_t(4) << 30, rlim_t(4) << 30};
                setrlimit(RLIMIT_AS, &limit);
            }
            return work();
        },
        30);
}

// The highest resident memory of this process so far, in kB.
long peakKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return 0;
}

// Makes `path` into the thing a case names. Returns false when it cannot.
bool makeThing(const QString &kind, const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    if (kind == QLatin1String("pipe"))
        return mkfifo(name.constData(), 0644) == 0;
    if (kind == QLatin1String("link to a pipe")) {
        const QString fifo = path + QStringLiteral(".fifo");
        return mkfifo(QFile::encodeName(fifo).constData(), 0644) == 0 && QFile::link(fifo, path);
    }
    if (kind == QLatin1String("link to /dev/zero"))
        return QFile::exists(QStringLiteral("/dev/zero")) &&
               QFile::link(QStringLiteral("/dev/zero"), path);
    if (kind == QLatin1String("folder"))
        return QDir().mkdir(path);
    if (kind == QLatin1String("3 GB of text")) {
        QFile file(path);
        // Sparse: it takes no room on the disk.
        return file.open(QIODevice::WriteOnly) && file.write("Dies ist keine Karte.\n") > 0 &&
               file.resize(qint64(3) << 30);
    }
    return false;
}

} // namespace

class TestUserFiles : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void hostileFilesAreRefusedAtOnce_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("way");
        for (const char *kind :
             {"pipe", "link to a pipe", "link to /dev/zero", "folder", "3 GB of text"})
            for (const char *way : {"map open", "map drop", "overlay preview", "overlay stamp",
                                    "quest picture", "quest open", "quest drop"})
                QTest::addRow("%s, %s", kind, way)
                    << QString::fromLatin1(kind) << QString::fromLatin1(way);
    }
    void hostileFilesAreRefusedAtOnce()
    {
        QFETCH(QString, kind);
        QFETCH(QString, way);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const bool quest =
            way.startsWith(QLatin1String("quest o")) || way == QLatin1String("quest drop");
        const QString path =
            dir.filePath(quest ? QStringLiteral("x.dke") : QStringLiteral("x.bmp"));
        const bool overlay = way.startsWith(QLatin1String("overlay"));
        if (overlay) // listed as a picture first, then swapped for the hostile thing
            raster::writeBmpFile(greyPicture(30, 30, 9), path);
        else
            QVERIFY(makeThing(kind, path));

        const QString report = inChild([&] {
            ScriptedDialogs script;
            const long peakBefore = peakKb();
            QString error;
            QString changed;
            if (way.startsWith(QLatin1String("map"))) {
                MainWindow window;
                window.show(); // its menu bar takes its menus when it shows
                if (way == QLatin1String("map open")) {
                    // The menu command runs one event later and fails into
                    // the error report.
                    script.openAnswers << path;
                    for (QAction *menu : window.menuBar()->actions())
                        for (QAction *action :
                             menu->menu() ? menu->menu()->actions() : QList<QAction *>())
                            if (action->objectName() == QStringLiteral("ffnen1"))
                                action->trigger();
                    flush();
                    error = script.errors.join(QLatin1Char('|'));
                } else {
                    error = errorOf([&] { window.openMaps({path}); });
                }
                if (!window.mapWindows().isEmpty())
                    changed = QStringLiteral("a map window opened");
            } else if (overlay) {
                overlays::OverlaySlot slot(dir.path());
                slot.select(QStringLiteral("x.bmp"));
                if (slot.selectedFile().isEmpty())
                    return QStringLiteral("not listed");
                QFile::remove(path);
                if (!makeThing(kind, path))
                    return QStringLiteral("cannot make the thing");
                ToolState tool;
                if (way == QLatin1String("overlay preview")) {
                    error = errorOf([&] { slot.show(); });
                    if (!slot.preview().isNull())
                        changed = QStringLiteral("preview changed");
                } else {
                    error = errorOf([&] { slot.use(tool); });
                    if (tool.mode != ToolState().mode)
                        changed = QStringLiteral("tool changed");
                }
            } else {
                QuestEditor editor;
                editor.titleField()->setText(QStringLiteral("Vorher"));
                script.openAnswers << path;
                if (way == QLatin1String("quest picture")) {
                    error = errorOf([&] { editor.loadPicture(); });
                    if (!editor.mapPicture().isNull())
                        changed = QStringLiteral("picture changed");
                } else {
                    error = errorOf([&] {
                        if (way == QLatin1String("quest open"))
                            editor.loadQuest();
                        else
                            editor.loadQuestFile(path);
                    });
                }
                if (editor.document().title != QLatin1String("Vorher"))
                    changed = QStringLiteral("quest changed");
            }
            // What reading took beyond what the program held already.
            const long grownMb = (peakKb() - peakBefore) / 1024;
            return QStringList{error, changed,
                               grownMb > 64 ? QStringLiteral("read %1 MB").arg(grownMb) : QString()}
                .join(QLatin1Char('\n'));
        });
        QVERIFY2(report != kChildBlocked, "the command blocked");
        const QStringList got = report.split(QLatin1Char('\n'));
        QCOMPARE(got.size(), 3);
        QString expected = errors::cannotOpen(path);
        if (kind == QLatin1String("3 GB of text"))
            expected = quest ? questfile::tooLargeFile(path) : errors::invalidBitmap();
        if (way == QLatin1String("map open"))
            expected = errors::reportText(expected);
        QCOMPARE(got[0], expected);
        QCOMPARE(got[1], QString()); // nothing changed
        QCOMPARE(got[2], QString()); // and the file was not read whole
    }

    // A file whose name is as long as the system allows (255 bytes) can be
    // saved over again and again: the temporary name does not grow with it.
    void longestNamesCanBeSavedOver_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("255 letters") << QString(251, QLatin1Char('k')) + QStringLiteral(".bmp");
        // "ä" takes two bytes: 125 of them and ".dke" are 254 bytes, one more letter 255.
        QTest::newRow("255 bytes of umlauts")
            << QString(125, QChar(0xe4)) + QStringLiteral("q.dke");
    }
    void longestNamesCanBeSavedOver()
    {
        QFETCH(QString, name);
        QCOMPARE(QFile::encodeName(name).size(), 255);
        QTemporaryDir dir;
        const QString path = dir.filePath(name);
        for (int level = 1; level <= 3; ++level) {
            QCOMPARE(errorOf([&] { raster::writeBmpFile(greyPicture(7, 3, level), path); }),
                     QString());
            QCOMPARE(raster::readBmpFile(path), greyPicture(7, 3, level));
        }
        QuestDocument doc;
        doc.title = QStringLiteral("Lang");
        QCOMPARE(errorOf([&] { questfile::write(doc, path); }), QString());
        QCOMPARE(errorOf([&] { questfile::write(doc, path); }), QString());
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{name});
    }

    // Saving over a file keeps its permissions and, where the system allows,
    // owner and group. Root may keep all; a user who is not the owner keeps
    // the permissions and, when a member of it, the group, and the save stays
    // atomic.
    void ownerGroupAndPermissionsKept_data()
    {
        QTest::addColumn<bool>("asOtherUser");
        QTest::newRow("as root") << false;
        QTest::newRow("as another user") << true;
    }
    void ownerGroupAndPermissionsKept()
    {
        QFETCH(bool, asOtherUser);
        if (geteuid() != 0)
            QSKIP("giving a file to another owner needs root");
        QTemporaryDir dir;
        // A shared folder everybody may write to.
        QVERIFY(chmod(QFile::encodeName(dir.path()).constData(), 0777) == 0);
        const QString path = dir.filePath(QStringLiteral("karte.bmp"));
        raster::writeBmpFile(greyPicture(5, 5, 1), path);
        const QByteArray name = QFile::encodeName(path);
        QVERIFY(chown(name.constData(), 1234, 100) == 0);
        QVERIFY(chmod(name.constData(), asOtherUser ? 0666 : 0640) == 0);

        const QString report = inChild([&] {
            if (asOtherUser && (setgid(65534) != 0 || setuid(65534) != 0))
                return QStringLiteral("cannot become nobody");
            return errorOf([&] { raster::writeBmpFile(greyPicture(5, 5, 2), path); });
        });
        QCOMPARE(report, QString());
        QCOMPARE(raster::readBmpFile(path), greyPicture(5, 5, 2));
        struct stat status {};
        QVERIFY(stat(name.constData(), &status) == 0);
        QCOMPARE(int(status.st_mode & 07777), asOtherUser ? 0666 : 0640);
        if (asOtherUser) {
            // Only root may give a file away: it now belongs to its saver.
            QCOMPARE(int(status.st_uid), 65534);
        } else {
            QCOMPARE(int(status.st_uid), 1234);
            QCOMPARE(int(status.st_gid), 100);
        }
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{QStringLiteral("karte.bmp")});
    }

    // A new file gets the usual permissions; a save through a link replaces
    // the file it points to and keeps the link; a link to a pipe or a device
    // is never replaced.
    void whatASaveReplaces()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("neu.bmp"));
        const mode_t mask = umask(022);
        raster::writeBmpFile(greyPicture(4, 4, 1), file);
        umask(mask);
        struct stat status {};
        QVERIFY(stat(QFile::encodeName(file).constData(), &status) == 0);
        QCOMPARE(int(status.st_mode & 07777), 0644);

        const QString link = dir.filePath(QStringLiteral("verweis.bmp"));
        QVERIFY(QFile::link(file, link));
        raster::writeBmpFile(greyPicture(4, 4, 2), link);
        QVERIFY(QFileInfo(link).isSymLink());
        QCOMPARE(raster::readBmpFile(file), greyPicture(4, 4, 2));

        const QString fifo = dir.filePath(QStringLiteral("rohr"));
        QVERIFY(mkfifo(QFile::encodeName(fifo).constData(), 0644) == 0);
        const QString toFifo = dir.filePath(QStringLiteral("zum-rohr.bmp"));
        QVERIFY(QFile::link(fifo, toFifo));
        const QString report = inChild(
            [&] { return errorOf([&] { raster::writeBmpFile(greyPicture(4, 4, 3), toFifo); }); });
        QCOMPARE(report, errors::cannotCreate(toFifo));
        QVERIFY(stat(QFile::encodeName(fifo).constData(), &status) == 0 &&
                S_ISFIFO(status.st_mode));
        QCOMPARE(
            QDir(dir.path())
                .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
            (QStringList{QStringLiteral("neu.bmp"), QStringLiteral("rohr"),
                         QStringLiteral("verweis.bmp"), QStringLiteral("zum-rohr.bmp")}));
    }

    // Names given as bytes come back as exactly those bytes, whether or not
    // they are UTF-8; what valid UTF-8 spells reads as Qt reads it. A path
    // that no bytes can spell is refused.
    void namesKeepTheirBytes_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("utf8");
        QTest::newRow("latin-1") << QByteArray("/tmp/k\xe4rte.bmp") << false;
        QTest::newRow("utf-8") << QByteArray("/tmp/k\xc3\xa4rte \xf0\x9f\x97\xba.bmp") << true;
        QTest::newRow("replacement char") << QByteArray("\xef\xbf\xbd.pdf") << true;
        QTest::newRow("cut sequence") << QByteArray("a\xc3") << false;
        QTest::newRow("overlong slash") << QByteArray("a\xc0\xaf") << false;
        QTest::newRow("utf-16 half") << QByteArray("\xed\xa0\x80x") << false;
        QTest::newRow("beyond unicode") << QByteArray("\xf4\x90\x80\x80") << false;
    }
    void namesKeepTheirBytes()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, utf8);
        const QString path = filenames::decode(bytes);
        QByteArray back;
        QVERIFY(filenames::encode(path, &back));
        QCOMPARE(back, bytes);
        QCOMPARE(filenames::qtCanReach(path), utf8);
        if (utf8)
            QCOMPARE(path, QString::fromUtf8(bytes));
        QVERIFY(!filenames::shown(path).contains(QChar(0xDCE4)));
        QVERIFY(!filenames::encode(QStringLiteral("a") + QChar(0xD800), &back));
        QVERIFY(!filenames::encode(QStringLiteral("a") + QChar(0xDC7F), &back));
    }

    // In a folder with a Latin-1 name, a save through a link and a writer
    // that opens its temporary file by name reach exactly the named file.
    void latin1FolderSaves()
    {
        QTemporaryDir dir;
        const QByteArray folder = QFile::encodeName(dir.path()) + "/\xf6rdner";
        QVERIFY(::mkdir(folder.constData(), 0755) == 0);
        QVERIFY(::symlink("k\xe4rte.bmp", (folder + "/verweis.bmp").constData()) == 0);
        const QString link = filenames::decode(folder + "/verweis.bmp");
        raster::writeBmpFile(greyPicture(4, 4, 2), link);
        QCOMPARE(raster::readBmpFile(filenames::decode(folder + "/k\xe4rte.bmp")),
                 greyPicture(4, 4, 2));

        userfiles::Replacement pdf(filenames::decode(folder + "/bl\xe4tter.pdf"));
        pdf.open();
        QFile byName(pdf.temporaryPath());
        QVERIFY(byName.open(QIODevice::WriteOnly));
        QCOMPARE(byName.write("%PDF-1.4"), qint64(8));
        byName.close();
        pdf.commit();
        QCOMPARE(
            filenames::folderEntries(filenames::decode(folder), filenames::EntryKind::Files).size(),
            3);
        const auto file = userfiles::openForReading(filenames::decode(folder + "/bl\xe4tter.pdf"));
        QCOMPARE(file->readAll(), QByteArray("%PDF-1.4"));
        // Qt's own clean-up cannot reach the names.
        for (const char *name : {"/k\xe4rte.bmp", "/verweis.bmp", "/bl\xe4tter.pdf"})
            ::unlink((folder + name).constData());
        ::rmdir(folder.constData());
    }
};

int main(int argc, char **argv)
{
    Application app(argc, argv);
    Application::finishReadingAhead(); // the cases fork
    TestUserFiles test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_userfiles.moc"
