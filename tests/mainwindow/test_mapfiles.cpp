// A map window and its file on the disk: one window per file, however the
// file is named or reached; no silent overwrite of a file another program
// changed; file names that are not UTF-8 opened, listed and saved under
// exactly their bytes.

#include "filenames.h"
#include "mapwindow.h"
#include "overlayslot.h"
#include "userfiles.h"
#include "windowtest.h"

#include <QMdiArea>
#include <QUrl>

#include <unistd.h>

namespace {

// The content of the file with exactly these bytes as its name.
QByteArray bytesOfFile(const QByteArray &name)
{
    return userfiles::openForReading(filenames::decode(name))->readAll();
}

} // namespace

class TestMapFiles : public QObject, WindowTest {
    Q_OBJECT

private Q_SLOTS:
    void init() { setUp(); }
    void cleanup() { tearDown(); }

    // "Öffnen...", the command line and a drop of a file that is open
    // already, by its own path or another one, activate its window.
    void openFileActivatesItsWindow()
    {
        const QString twin = writeSolidBmp(path(QStringLiteral("zwilling.bmp")), Qt::white);
        const QString other = writeSolidBmp(path(QStringLiteral("anders.bmp")), Qt::gray);
        QVERIFY(QFile::link(twin, path(QStringLiteral("verweis.bmp"))));
        QVERIFY(QDir(dir->path()).mkdir(QStringLiteral("unter")));

        script->openAnswers << twin;
        MapWindow *first = window->open();
        QVERIFY(first);
        const QStringList sameFile = {twin, path(QStringLiteral("verweis.bmp")),
                                      path(QStringLiteral("unter/../zwilling.bmp"))};
        for (const QString &again : sameFile) {
            window->openMap(other);
            QVERIFY(window->activeMapWindow() != first);
            QCOMPARE(window->openMap(again), first);
            QCOMPARE(window->activeMapWindow(), first);
        }
        script->openAnswers << twin;
        first->showMinimized();
        QCOMPARE(window->open(), first);
        QVERIFY(!first->isMinimized());
        window->openMaps({twin, twin});
        QCOMPARE(window->mapWindows().size(), 2);
        QCOMPARE(first->caption(), twin);
        QVERIFY(script->errors.isEmpty());
    }

    // "Speichern" over a file written by someone else since it was opened or
    // saved asks first; No (also in the close question's save) keeps the map
    // open and modified and the other program's file as it is. A file deleted
    // meanwhile is written again without a question.
    void changedFileAsksBeforeSave()
    {
        const QString file = writeSolidBmp(path(QStringLiteral("karte.bmp")), Qt::white, 100, 80);
        MapWindow *map = window->openMap(file);
        map->repairEdge();
        const QString question =
            QStringLiteral("Die Datei %1 wurde außerhalb von DK-Edit geändert. Trotzdem speichern?")
                .arg(file);

        QVERIFY(map->save());
        QVERIFY(script->questions.isEmpty());

        writeSolidBmp(file, Qt::red, 30, 20);
        const QByteArray theirs = readBytes(file);
        map->repairEdge();
        script->confirmAnswers << false;
        QVERIFY(!map->save());
        QCOMPARE(script->questions, QStringList{question});
        QCOMPARE(readBytes(file), theirs);
        QVERIFY(map->document().isModified());

        // Closing: Yes to saving the changes, No to writing over theirs.
        script->confirmAnswers << true << false;
        QVERIFY(!map->close());
        QCOMPARE(script->questions.size(), 3);
        QCOMPARE(script->questions.last(), question);
        QVERIFY(window->mapWindows().contains(map));
        QCOMPARE(readBytes(file), theirs);

        script->confirmAnswers << true;
        QVERIFY(map->save());
        QCOMPARE(mapfile::read(file).size(), QSize(100, 80));
        QVERIFY(!map->document().isModified());

        QVERIFY(QFile::remove(file));
        map->repairEdge();
        QVERIFY(map->save());
        QVERIFY(QFile::exists(file));
        QCOMPARE(script->questions.size(), 4);
        QVERIFY(script->unanswered.isEmpty());
    }

    // A Latin-1 name, as the command line and a drop give its bytes, is
    // opened, listed by the overlay browsers, shown with U+FFFD and saved
    // under exactly its bytes, never under the shown name.
    void latin1NameKeepsItsBytes()
    {
        const QByteArray folder = QFile::encodeName(dir->path());
        const QByteArray name = folder + "/k\xe4rte.bmp";
        const QString source = writeSolidBmp(path(QStringLiteral("quelle.bmp")), Qt::white);
        QCOMPARE(::rename(QFile::encodeName(source).constData(), name.constData()), 0);

        const QString given = filenames::decode(name);
        QVERIFY(!filenames::qtCanReach(given));
        QCOMPARE(filenames::localFile(QUrl::fromEncoded("file://" + folder + "/k%E4rte.bmp")),
                 given);
        QVERIFY(overlays::bmpFiles(dir->path()).contains(filenames::decode("k\xe4rte.bmp")));

        window->openMaps({given});
        QCOMPARE(window->mapWindows().size(), 1);
        MapWindow *map = window->mapWindows().constFirst();
        QCOMPARE(map->caption(), dir->path() + QStringLiteral("/k\uFFFDrte.bmp"));
        QCOMPARE(window->openMap(given), map);
        const QByteArray before = bytesOfFile(name);
        map->repairEdge();
        QVERIFY(map->save());
        QVERIFY(bytesOfFile(name) != before);
        QCOMPARE(bytesOfFile(name),
                 raster::encodeBmp(map->document().picture(), map->document().fileFormat().bmp));
        QVERIFY(!QFile::exists(dir->path() + QStringLiteral("/k\uFFFDrte.bmp")));
        QVERIFY(script->errors.isEmpty());
        // Qt's own clean-up cannot reach the name.
        ::unlink(name.constData());
    }
};

QTEST_MAIN(TestMapFiles)
#include "test_mapfiles.moc"
