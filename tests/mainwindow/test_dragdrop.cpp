// Files dragged from a file manager: BMP files dropped on the frame window
// open as maps, a quest file dropped on the quest editor loads. The drags are
// delivered to the native window, so the widget that receives them is the one
// Qt picks under the mouse, as in a real drag.

#include "application.h"
#include "errors.h"
#include "mainwindow.h"
#include "mapwindow.h"
#include "questeditor.h"
#include "questfile.h"
#include "windowtest.h"

#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMimeData>
#include <QTabWidget>
#include <QTextEdit>
#include <QToolBar>
#include <QUrl>
#include <QWindow>
#include <QtTest>

#include <memory>

namespace {

QMimeData *urlData(const QStringList &paths)
{
    auto *data = new QMimeData;
    QList<QUrl> urls;
    for (const QString &path : paths)
        urls << (path.contains(QLatin1String("://")) ? QUrl(path) : QUrl::fromLocalFile(path));
    data->setUrls(urls);
    return data;
}

// Drags `data` over `target` (at its centre) and drops it there. The events
// go to the top-level window, which hands them to the widget under the mouse
// that accepts drops. Returns whether the drop was accepted.
bool dragAndDrop(QWidget *target, const QMimeData *data, bool *entered = nullptr)
{
    QWidget *top = target->window();
    QWindow *window = top->windowHandle();
    if (!window)
        return false;
    const QPoint at = target->mapTo(top, target->rect().center());
    QDragEnterEvent enter(at, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window, &enter);
    if (entered)
        *entered = enter.isAccepted();
    if (!enter.isAccepted())
        return false;
    QDropEvent drop(QPointF(at), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window, &drop);
    flush();
    return drop.isAccepted();
}

QStringList captions(const QList<MapWindow *> &maps)
{
    QStringList texts;
    for (MapWindow *map : maps)
        texts << map->caption();
    return texts;
}

QStringList windowTitles(const QList<MapWindow *> &maps)
{
    QStringList texts;
    for (MapWindow *map : maps)
        texts << map->windowTitle();
    return texts;
}

} // namespace

class TestDragDrop : public QObject, WindowTest {
    Q_OBJECT

    static QuestDocument sampleQuest()
    {
        QuestDocument doc;
        doc.title = QStringLiteral("Die Gruft des Nekromanten");
        doc.monster = QStringLiteral("Zombie");
        doc.intro = QStringList{QStringLiteral("Tief unter der Stadt erwacht das Böse.")};
        doc.notes[QuestDocument::A] = QStringList{QStringLiteral("Eine Falltür führt nach unten.")};
        doc.notes[QuestDocument::Other] =
            QStringList{QStringLiteral("Der Schatz liegt in der Truhe.")};
        doc.active[QuestDocument::A] = true;
        doc.active[QuestDocument::Other] = true;
        return doc;
    }

private Q_SLOTS:
    void init() { setUp(); }
    void cleanup() { tearDown(/*allAnswered=*/true); }

    // Where on the frame window a drop lands must not matter: the empty
    // client area, an open map, the palette and the tool bar all open it.
    void bitmapsOpenAsMaps_data()
    {
        QTest::addColumn<QString>("where");
        QTest::newRow("client area") << QStringLiteral("client");
        QTest::newRow("open map") << QStringLiteral("map");
        QTest::newRow("palette") << QStringLiteral("palette");
        QTest::newRow("tool bar") << QStringLiteral("toolbar");
    }

    void bitmapsOpenAsMaps()
    {
        QFETCH(QString, where);
        QWidget *target = window->mdiArea()->viewport();
        int before = 0;
        if (where == QLatin1String("map")) {
            MapWindow *open = window->newFile();
            flush();
            target = open->canvas();
            before = 1;
        } else if (where == QLatin1String("palette")) {
            target = window->paletteTabs()->currentWidget();
        } else if (where == QLatin1String("toolbar")) {
            target = window->monsterToolBar();
        }

        const QString red = writeSolidBmp(path(QStringLiteral("rot.bmp")), Qt::red, 64, 48);
        const QString green =
            writeSolidBmp(path(QStringLiteral("grün karte.bmp")), Qt::green, 100, 70);
        std::unique_ptr<QMimeData> data(urlData({red, green}));
        QVERIFY(dragAndDrop(target, data.get()));

        const QList<MapWindow *> maps = window->mapWindows().mid(before);
        QCOMPARE(captions(maps), (QStringList{red, green}));
        QCOMPARE(windowTitles(maps), (QStringList{red, green}));
        QCOMPARE(maps[0]->document().picture().size(), QSize(64, 48));
        QCOMPARE(maps[1]->document().picture().pixel(5, 5), QColor(Qt::green).rgb());
        QVERIFY(!maps[1]->document().isModified());
        QCOMPARE(window->activeMapWindow(), maps[1]);
        QVERIFY(script->errors.isEmpty());
    }

    // The maps opened by a drop go with the frame window, the active one
    // included (its deactivation arrives while it is being destroyed).
    void droppedMapsCloseWithTheFrame()
    {
        const QString red = writeSolidBmp(path(QStringLiteral("rot.bmp")), Qt::red);
        const QString blue = writeSolidBmp(path(QStringLiteral("blau.bmp")), Qt::blue);
        std::unique_ptr<QMimeData> data(urlData({red, blue}));
        QVERIFY(dragAndDrop(window->mdiArea()->viewport(), data.get()));
        QApplication::setActiveWindow(window.get());
        flush();
        QCOMPARE(window->mapWindows().size(), 2);
        QVERIFY(window->activeMapWindow()->windowState() & Qt::WindowActive);
        window.reset();
        flush();
    }

    // A file that is no picture is reported with the text "Öffnen..." gives,
    // named, and leaves no window; the good files of the same drop still open.
    void badFileReportedGoodOneOpens_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("error");
        QTest::newRow("text") << QByteArray("kein Bild\n") << errors::invalidBitmap();
        QTest::newRow("empty") << QByteArray() << errors::invalidBitmap();
        QTest::newRow("cut header")
            << QByteArray("BM\x36\x00\x00\x00", 6) << errors::invalidBitmap();
    }

    void badFileReportedGoodOneOpens()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, error);
        const QString bad = path(QStringLiteral("kaputt.bmp"));
        QVERIFY(writeBytes(bad, bytes));
        const QString good = writeSolidBmp(path(QStringLiteral("gut.bmp")), Qt::blue);
        std::unique_ptr<QMimeData> data(urlData({bad, good}));
        QVERIFY(dragAndDrop(window->mdiArea()->viewport(), data.get()));

        QCOMPARE(script->errors,
                 QStringList{QStringLiteral("Die Datei %1 konnte nicht geöffnet werden: "
                                            "Bitmap image is not valid.")
                                 .arg(bad)});
        QCOMPARE(captions(window->mapWindows()), QStringList{good});
    }

    // Thirteen files of which twelve fail: one report naming each of them,
    // in the order dropped, and the good one open.
    void manyBadFilesReportedOnce()
    {
        QStringList dropped, expected;
        for (int i = 0; i < 12; ++i) {
            const QString bad =
                path(i == 5 ? QStringLiteral("fehlt.bmp") : QStringLiteral("kaputt%1.bmp").arg(i));
            if (i != 5)
                QVERIFY(writeBytes(bad, "kein Bild"));
            dropped << bad;
            expected << bad + QStringLiteral(": ") +
                            (i == 5 ? errors::cannotOpen(bad) : errors::invalidBitmap());
            if (i == 7)
                dropped << writeSolidBmp(path(QStringLiteral("gut.bmp")), Qt::blue);
        }
        std::unique_ptr<QMimeData> data(urlData(dropped));
        QVERIFY(dragAndDrop(window->mdiArea()->viewport(), data.get()));
        QCOMPARE(script->errors.size(), 1);
        QCOMPARE(script->errors.constFirst(),
                 errors::reportText(QStringLiteral("12 Dateien konnten nicht geöffnet werden:\n") +
                                    expected.join(QLatin1Char('\n'))));
        QCOMPARE(captions(window->mapWindows()), QStringList{path(QStringLiteral("gut.bmp"))});
    }

    void missingFileReported()
    {
        const QString gone = path(QStringLiteral("fehlt.bmp"));
        std::unique_ptr<QMimeData> data(urlData({gone}));
        QVERIFY(dragAndDrop(window->mdiArea()->viewport(), data.get()));
        QCOMPARE(script->errors, QStringList{errors::reportText(errors::cannotOpen(gone))});
        QVERIFY(window->mapWindows().isEmpty());
    }

    // Only local files are taken: a web address or plain text is refused
    // when it enters, and nothing opens.
    void foreignDataRefused_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("web address") << QStringLiteral("url");
        QTest::newRow("plain text") << QStringLiteral("text");
    }

    void foreignDataRefused()
    {
        QFETCH(QString, kind);
        std::unique_ptr<QMimeData> data;
        if (kind == QLatin1String("url")) {
            data.reset(urlData({QStringLiteral("https://example.org/karte.bmp")}));
        } else {
            data = std::make_unique<QMimeData>();
            data->setText(path(QStringLiteral("karte.bmp")));
        }
        bool entered = true;
        QVERIFY(!dragAndDrop(window->mdiArea()->viewport(), data.get(), &entered));
        QVERIFY(!entered);
        QVERIFY(window->mapWindows().isEmpty());
        QVERIFY(script->errors.isEmpty());
    }

    // ---- Quest editor ----------------------------------------------------------

    // A quest file dropped on the editor fills its fields. The text fields
    // take text drops of their own; a quest file dropped on one of them still
    // loads and its address does not land in the text.
    void questFileOnTextField_data()
    {
        QTest::addColumn<QString>("field");
        QTest::newRow("map display") << QStringLiteral("map");
        QTest::newRow("intro") << QStringLiteral("intro");
        QTest::newRow("note") << QStringLiteral("note");
        QTest::newRow("title") << QStringLiteral("title");
    }

    void questFileOnTextField()
    {
        QFETCH(QString, field);
        QuestEditor editor(window.get());
        editor.show();
        QVERIFY(QTest::qWaitForWindowExposed(&editor));
        const QString quest = path(QStringLiteral("gruft.dke"));
        questfile::write(sampleQuest(), quest);
        QWidget *target = editor.titleField();
        if (field == QLatin1String("map"))
            target = editor.mapDisplay();
        else if (field == QLatin1String("intro"))
            target = editor.introField()->viewport();
        else if (field == QLatin1String("note"))
            target = editor.noteField(editor.shownNote())->viewport();

        std::unique_ptr<QMimeData> data(urlData({quest}));
        QVERIFY(dragAndDrop(target, data.get()));
        QCOMPARE(editor.document().intro, sampleQuest().intro);
        QCOMPARE(editor.document().notes[QuestDocument::A], sampleQuest().notes[QuestDocument::A]);
        QCOMPARE(editor.titleField()->text(), sampleQuest().title);
        QCOMPARE(editor.monsterField()->currentText(), sampleQuest().monster);
        QCOMPARE(editor.document().active, sampleQuest().active);
        QVERIFY(!editor.questModified());

        // Plain text still drops into the field as text.
        if (field == QLatin1String("intro")) {
            QMimeData text;
            text.setText(QStringLiteral("Neue Zeile"));
            QVERIFY(dragAndDrop(target, &text));
            QVERIFY(editor.introField()->toPlainText().contains(QStringLiteral("Neue Zeile")));
        }
    }

    // Other files are refused by the editor; a broken quest file is reported
    // and leaves the fields as they were.
    void questEditorRefusesOtherFiles()
    {
        QuestEditor editor(window.get());
        editor.show();
        QVERIFY(QTest::qWaitForWindowExposed(&editor));
        const QString map = writeSolidBmp(path(QStringLiteral("karte.bmp")), Qt::white);
        std::unique_ptr<QMimeData> bmp(urlData({map}));
        bool entered = true;
        QVERIFY(!dragAndDrop(editor.mapDisplay(), bmp.get(), &entered));
        QVERIFY(!entered);

        QTest::keyClicks(editor.titleField(), QStringLiteral("Bleibt"));
        editor.setQuestModified(false);
        const QString broken = path(QStringLiteral("halb.dke"));
        QVERIFY(writeBytes(broken, "Titel\r\nMonster\r\n---\r\n"));
        std::unique_ptr<QMimeData> dke(urlData({broken}));
        QVERIFY(dragAndDrop(editor.mapDisplay(), dke.get()));
        QCOMPARE(script->errors,
                 QStringList{errors::reportText(questfile::incompleteFile(broken))});
        QCOMPARE(editor.titleField()->text(), QStringLiteral("Bleibt"));
    }
};

int main(int argc, char **argv)
{
    Application app(argc, argv);
    TestDragDrop test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_dragdrop.moc"
