// Recovery copies across runs of the program. Each run is a child process
// (this test program started again with "--child"): the windows wired as at
// start-up, the dialogs answered from a script, a list of steps to do. The
// test then ends it as a crash, a logout or a closed terminal would, and
// starts another run on the same recovery folder.

#include "application.h"
#include "artwork.h"
#include "bmpcodec.h"
#include "mapwindow.h"
#include "program.h"
#include "questcopy.h"
#include "scripteddialogs.h"
#include "testhelpers.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QProcess>
#include <QSpinBox>
#include <QTextEdit>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>

namespace {

QStringList copiesIn(const QString &folder, const QString &instance = QStringLiteral("*"))
{
    return QDir(folder).entryList({instance + QStringLiteral(".*.dkr")}, QDir::Files);
}

void say(const QByteArray &line)
{
    std::printf("%s\n", line.constData());
    std::fflush(stdout);
}

// What a run holds, written as files `prefix`.*: each map as the bytes a
// save would write, with its caption and modified flag, and the quest.
void report(Program &program, const QString &prefix, const ScriptedDialogs &script)
{
    QStringList lines;
    int n = 0;
    for (MapWindow *map : program.mainWindow.mapWindows()) {
        const MapDocument &doc = map->document();
        writeBytes(prefix + QStringLiteral(".map%1.bmp").arg(++n),
                   raster::encodeBmp(doc.picture(), doc.fileFormat().bmp));
        lines << map->caption() + (doc.isModified() ? QStringLiteral(" modified") : QString());
    }
    QuestEditor &quest = program.questEditor();
    writeBytes(prefix + QStringLiteral(".quest"), questcopy::encode(quest.document()));
    if (!quest.mapPicture().isNull())
        writeBytes(prefix + QStringLiteral(".questpicture.bmp"),
                   raster::encodeBmp(quest.mapPicture()));
    lines << QStringLiteral("quest") + (quest.questModified() ? QStringLiteral(" modified") : "");
    lines << QStringLiteral("offers %1 errors %2")
                 .arg(script.restoreOffers.size())
                 .arg(script.errors.size());
    writeBytes(prefix + QStringLiteral(".txt"), lines.join(QLatin1Char('\n')).toUtf8());
}

int runChild(int argc, char **argv)
{
    Application app(argc, argv);
    prepareApplication();
    ScriptedDialogs script;
    Program program;
    const QString folder = QString::fromLocal8Bit(argv[2]);
    program.mainWindow.show();
    program.mainWindow.toolState().stamp = artwork::bitmap(QStringLiteral("GOBLIN"));
    auto stamp = [&program] {
        MapWindow *map = program.mainWindow.activeMapWindow();
        if (!map)
            map = program.mainWindow.newFile();
        static int x = 100;
        QTest::mouseClick(map->canvas(), Qt::LeftButton, {}, QPoint(x += 40, 120));
    };
    QStringList steps;
    for (int i = 3; i < argc; ++i)
        steps << QString::fromLocal8Bit(argv[i]);
    QTimer::singleShot(0, &app, [&] {
        for (const QString &step : steps) {
            const QString arg = step.section(QLatin1Char(':'), 1);
            if (step == QLatin1String("start")) {
                program.startRecovery(folder);
                QTest::qWait(50);
            } else if (step == QLatin1String("restore") || step == QLatin1String("decline")) {
                script.restoreAnswers << (step == QLatin1String("restore"));
            } else if (step == QLatin1String("off")) {
                QSettings(QSettings::NativeFormat, QSettings::UserScope, "dkedit", "dkedit")
                    .setValue("recovery/enabled", false);
            } else if (step == QLatin1String("limit")) {
                // A full disk: no file may grow beyond a few bytes.
                std::signal(SIGXFSZ, SIG_IGN);
                const rlimit limit{64, 64};
                setrlimit(RLIMIT_FSIZE, &limit);
            } else if (step == QLatin1String("stamp")) {
                stamp();
            } else if (step == QLatin1String("new")) {
                program.mainWindow.newFile();
            } else if (step.startsWith(QLatin1String("open:"))) {
                program.mainWindow.openMap(arg);
            } else if (step.startsWith(QLatin1String("quest:"))) {
                QuestEditor &quest = program.questEditor();
                script.openAnswers << arg;
                quest.loadPicture();
                QTest::keyClicks(quest.titleField(), QStringLiteral("Die Gruft"));
                quest.introField()->setPlainText(QStringLiteral("Es war einmal…\nZweite Zeile"));
                quest.noteField(2)->setPlainText(QStringLiteral("Notiz C"));
                quest.activeBox(2)->setChecked(true);
                quest.sizeField()->setValue(12);
            } else if (step.startsWith(QLatin1String("save:"))) {
                script.saveAnswers << arg;
                program.mainWindow.activeMapWindow()->save();
            } else if (step == QLatin1String("closeNo") || step == QLatin1String("questNo")) {
                script.confirmAnswers << false;
                if (step == QLatin1String("closeNo"))
                    program.mainWindow.activeMapWindow()->close();
                else
                    program.questEditor().closeEditor();
            } else if (step.startsWith(QLatin1String("copies:"))) {
                const QString instance = program.recoverySession->store().instance();
                QElapsedTimer clock;
                clock.start();
                while (copiesIn(folder, instance).size() != arg.toInt()) {
                    if (clock.elapsed() > 15000) {
                        say("timeout " + copiesIn(folder).join(' ').toUtf8());
                        ::_exit(3);
                    }
                    QTest::qWait(50);
                }
            } else if (step.startsWith(QLatin1String("wait:"))) {
                QTest::qWait(arg.toInt());
            } else if (step.startsWith(QLatin1String("report:"))) {
                report(program, arg, script);
            } else if (step == QLatin1String("quit")) {
                script.confirmAnswers << false << false << false << false;
                program.mainWindow.quit();
                return;
            }
        }
        say("done");
    });
    return app.exec();
}

} // namespace

class TestRecovery : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_folder;

    /// Starts a run with `steps`; waits until it has done them (or ended).
    std::unique_ptr<QProcess> run(const QStringList &steps)
    {
        auto child = std::make_unique<QProcess>();
        child->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child->start(QCoreApplication::applicationFilePath(),
                     QStringList{QStringLiteral("--child"), m_folder} + steps);
        child->waitForStarted();
        while (!child->canReadLine() && child->state() == QProcess::Running)
            child->waitForReadyRead(200);
        const QByteArray said = child->readLine().trimmed();
        if (said != "done" && child->state() == QProcess::Running)
            qWarning("child said: %s", said.constData());
        return child;
    }
    /// Waits for a run that ends by itself.
    static bool ended(QProcess &child)
    {
        return child.state() == QProcess::NotRunning || child.waitForFinished(15000);
    }
    static void end(QProcess &child, int signal)
    {
        ::kill(pid_t(child.processId()), signal);
        QVERIFY(child.waitForFinished(15000));
    }
    QString file(const QString &name) const { return m_dir.filePath(name); }
    QByteArray text(const QString &prefix) const { return readBytes(file(prefix + ".txt")); }

private Q_SLOTS:
    void init()
    {
        m_folder = m_dir.filePath(QStringLiteral("recovery-%1").arg(QTest::currentTestFunction()) +
                                  QTest::currentDataTag());
    }

    void crashLosesNothing()
    {
        // An 8-bit file of four colours, which a save writes as 8 bits again.
        QImage picture = greyPicture(300, 200, 200);
        picture.setColorTable(
            {qRgb(0, 0, 0), qRgb(200, 200, 200), qRgb(255, 255, 255), qRgb(9, 9, 9)});
        raster::writeBmpFile(picture, file("own.bmp"), raster::BmpFormat{8});
        raster::writeBmpFile(greyPicture(40, 30, 90), file("questmap.bmp"));
        auto first = run({"start", "open:" + file("own.bmp"), "stamp", "new", "stamp", "stamp",
                          "quest:" + file("questmap.bmp"), "copies:3", "report:" + file("a")});
        end(*first, SIGKILL);
        QCOMPARE(copiesIn(m_folder).size(), 3);

        auto second = run({"restore", "start", "report:" + file("b"), "quit"});
        QVERIFY(ended(*second));
        QCOMPARE(second->exitCode(), 0);
        QCOMPARE(text("b"),
                 QByteArray(file("own.bmp").toUtf8() +
                            " modified\nNew* modified\nquest modified\noffers 1 errors 0"));
        for (const char *part : {".map1.bmp", ".map2.bmp", ".quest", ".questpicture.bmp"})
            QCOMPARE(readBytes(file("b") + QLatin1String(part)),
                     readBytes(file("a") + QLatin1String(part)));
        // A normal end removes every copy and lock.
        QCOMPARE(QDir(m_folder).entryList(QDir::Files), QStringList());
    }

    void endSignalsWriteAtOnce_data()
    {
        QTest::addColumn<int>("signal");
        QTest::newRow("TERM") << int(SIGTERM);
        QTest::newRow("HUP") << int(SIGHUP);
        QTest::newRow("INT") << int(SIGINT);
    }
    void endSignalsWriteAtOnce()
    {
        QFETCH(int, signal);
        // The change is younger than the rest that starts a copy.
        auto first = run({"start", "stamp", "wait:2500", "stamp", "report:" + file("a")});
        end(*first, signal);
        QCOMPARE(first->exitStatus(), QProcess::NormalExit);
        QCOMPARE(first->exitCode(), 0);
        auto second = run({"restore", "start", "report:" + file("b"), "quit"});
        QVERIFY(ended(*second));
        QCOMPARE(readBytes(file("b.map1.bmp")), readBytes(file("a.map1.bmp")));
    }

    void safeWorkLeavesNoCopy()
    {
        raster::writeBmpFile(greyPicture(40, 30, 90), file("questmap.bmp"));
        auto first = run({"start", "stamp", "copies:1", "save:" + file("saved.bmp"), "copies:0",
                          "new", "stamp", "copies:1", "closeNo", "copies:0",
                          "quest:" + file("questmap.bmp"), "copies:1", "questNo", "copies:0"});
        QCOMPARE(first->state(), QProcess::Running);
        end(*first, SIGKILL);
        QCOMPARE(copiesIn(m_folder), QStringList());
    }

    void instancesKeepTheirCopies()
    {
        auto first = run({"start", "stamp", "copies:1"});
        auto second = run({"start", "report:" + file("b")});
        // The running instance's copy is not offered to the second.
        QVERIFY(text("b").endsWith("offers 0 errors 0"));
        end(*second, SIGKILL);
        end(*first, SIGKILL);
        auto third = run({"decline", "start", "report:" + file("c"), "wait:100", "quit"});
        QVERIFY(ended(*third));
        QVERIFY(text("c").endsWith("offers 1 errors 0"));
        // Declined, then a normal end: gone.
        QCOMPARE(copiesIn(m_folder), QStringList());
    }

    void damagedCopyIsSkipped()
    {
        auto first = run({"start", "stamp", "new", "stamp", "copies:2", "report:" + file("a")});
        end(*first, SIGKILL);
        const QStringList copies = copiesIn(m_folder);
        QCOMPARE(copies.size(), 2);
        const QString damaged = QDir(m_folder).filePath(copies.first());
        QByteArray bytes = readBytes(damaged);
        writeBytes(damaged, bytes.left(bytes.size() / 2));
        auto second = run({"restore", "start", "report:" + file("b")});
        QCOMPARE(text("b"), QByteArray("New* modified\nquest\noffers 1 errors 1"));
        end(*second, SIGKILL);
        // The damaged copy is still there, the other restored and copied anew.
        QVERIFY(QFile::exists(damaged));
    }

    void recoveryOff_data()
    {
        QTest::addColumn<QString>("step");
        QTest::addColumn<int>("errors");
        QTest::newRow("full disk") << "limit" << 1;
        QTest::newRow("settings") << "off" << 0;
        QTest::newRow("unwritable folder") << "unusable" << 1;
    }
    void recoveryOff()
    {
        QFETCH(QString, step);
        QFETCH(int, errors);
        if (step == QLatin1String("unusable")) {
            // Beneath a plain file: no folder can be made there, whoever runs.
            writeBytes(m_folder, "a file");
            m_folder += QStringLiteral("/recovery");
            step = QStringLiteral("wait:0");
        }
        // The editor goes on; the one message comes once.
        auto child =
            run({step, "start", "stamp", "wait:2500", "stamp", "wait:2500", "report:" + file("a")});
        QCOMPARE(text("a"),
                 QStringLiteral("New* modified\nquest\noffers 0 errors %1").arg(errors).toUtf8());
        end(*child, SIGKILL);
        QCOMPARE(copiesIn(m_folder), QStringList());
        QVERIFY(QDir(m_folder).entryList({"*.dkr*"}, QDir::Files).isEmpty());
    }
};

int main(int argc, char **argv)
{
    if (argc >= 3 && qstrcmp(argv[1], "--child") == 0)
        return runChild(argc, argv);
    QApplication app(argc, argv);
    TestRecovery test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_recovery.moc"
