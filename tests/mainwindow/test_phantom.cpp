// The hover ghost with the real frame window and its map windows, the
// pointer moved by the test through the platform's cursor, so that the maps
// get real enter, leave and move events: a map shows a ghost only while the
// pointer rests over its picture, and a new, opened or dropped map shows none
// until the pointer moves over it.

#include "mainwindow.h"
#include "mapwindow.h"
#include "windowtest.h"

#include <QApplication>
#include <QMdiArea>
#include <QMimeData>
#include <QStatusBar>
#include <QToolBar>
#include <QtTest>

namespace {

// The centre of square (column, row) on a map.
QPoint square(int column, int row)
{
    return QPoint(24 + 32 * column + 16, 24 + 32 * row + 16);
}

} // namespace

class TestPhantom : public QObject, WindowTest {
    Q_OBJECT

    // One tick of every running map timer, as 50 ms would bring.
    void tick()
    {
        for (MapWindow *map : window->mapWindows())
            if (map->canvas()->timer().isActive())
                map->canvas()->tick();
    }
    void restOn(MapWindow *map, QPoint at)
    {
        QTest::mouseMove(map->canvas(), at);
        tick();
        tick();
    }
    static bool showsGhost(MapWindow *map) { return !map->canvas()->overlay().ghost.isNull(); }

    // No map shows a ghost unless the pointer is over its picture.
    QString phantoms() const
    {
        QStringList found;
        QWidget *under = QApplication::widgetAt(QCursor::pos());
        for (MapWindow *map : window->mapWindows())
            if (showsGhost(map) && under != map->canvas())
                found << map->caption();
        return found.join(QLatin1Char(','));
    }

    // A map with a goblin stamped on square (3, 2) and the pointer resting
    // on square (5, 2), where its ghost shows.
    MapWindow *stampedMap()
    {
        MapWindow *map = window->newFile();
        QTest::mouseMove(map->canvas(), square(3, 2));
        QTest::mouseClick(map->canvas(), Qt::LeftButton, {}, square(3, 2));
        restOn(map, square(5, 2));
        return map;
    }

private Q_SLOTS:
    void init()
    {
        setUp();
        QApplication::setActiveWindow(window.get());
    }

    void cleanup()
    {
        for (MapWindow *map : window->mapWindows())
            map->document().setModified(false);
        tearDown();
    }

    void leavingTheMapClearsItsGhost_data()
    {
        QTest::addColumn<QString>("to");
        QTest::newRow("the frame's background") << "background";
        QTest::newRow("the status bar") << "status bar";
        QTest::newRow("the tool bar") << "tool bar";
        QTest::newRow("off the program") << "outside";
    }

    void leavingTheMapClearsItsGhost()
    {
        QFETCH(QString, to);
        MapWindow *map = stampedMap();
        QVERIFY(showsGhost(map));
        QVERIFY(map->document().canUndo());
        map->canvas()->timer().stop(); // a window that lost activation: no tick helps
        if (to == QLatin1String("background")) {
            QWidget *area = window->mdiArea()->viewport();
            QTest::mouseMove(area, QPoint(area->width() - 5, area->height() - 5));
        } else if (to == QLatin1String("status bar")) {
            QTest::mouseMove(window->statusBar(), QPoint(40, 5));
        } else if (to == QLatin1String("tool bar")) {
            QTest::mouseMove(window->monsterToolBar(), QPoint(5, 5));
        } else {
            QTest::mouseMove(window.get(), QPoint(-40, -40));
        }
        QVERIFY(!showsGhost(map));
        QVERIFY(window->previewState().offMap);

        // Back on the same square: nothing until another square is reached.
        map->canvas()->timer().start();
        restOn(map, square(5, 2));
        QVERIFY(!showsGhost(map));
        QTest::mouseMove(window.get(), QPoint(-40, -40));

        // A new map shows nothing where the old ghost was, and nothing appears
        // on the old map either, however long the pointer stays away.
        MapWindow *fresh = window->newFile();
        for (int i = 0; i < 4; ++i)
            tick();
        QVERIFY(!showsGhost(fresh));
        QVERIFY(!fresh->document().canUndo());
        QCOMPARE(phantoms(), QString());

        // Once the pointer moves over the new map, its ghost follows after a
        // resting tick.
        QTest::mouseMove(fresh->canvas(), square(5, 2));
        tick();
        QVERIFY(!showsGhost(fresh));
        tick();
        QVERIFY(showsGhost(fresh));
        QCOMPARE(phantoms(), QString());
    }

    void newMapUnderTheRestingPointer_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("new") << "new";
        QTest::newRow("opened") << "open";
        QTest::newRow("dropped") << "drop";
    }

    void newMapUnderTheRestingPointer()
    {
        QFETCH(QString, how);
        const QString file = writeSolidBmp(path(QStringLiteral("karte.bmp")), Qt::white, 880, 656);

        MapWindow *first = stampedMap();
        QVERIFY(showsGhost(first));
        MapWindow *second = nullptr;
        if (how == QLatin1String("new")) {
            second = window->newFile();
        } else if (how == QLatin1String("open")) {
            script->openAnswers << file;
            second = window->open();
        } else {
            QMimeData data;
            data.setUrls({QUrl::fromLocalFile(file)});
            QWidget *area = window->mdiArea()->viewport();
            const QPoint at =
                area->mapTo(window.get(), QPoint(area->width() - 5, area->height() - 5));
            QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(window->windowHandle(), &enter);
            QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(window->windowHandle(), &drop);
            QCoreApplication::processEvents();
            second = window->mapWindows().value(1);
        }
        QVERIFY(second);
        QCoreApplication::processEvents();
        // The new map lies over the pointer now: the old one shows nothing,
        // and the new one shows nothing as long as the pointer rests.
        QCOMPARE(QApplication::widgetAt(QCursor::pos()), second->canvas());
        for (int i = 0; i < 4; ++i)
            tick();
        QVERIFY(!showsGhost(first));
        QVERIFY(!showsGhost(second));
        // Nor does a move that Qt makes up itself when a window appears or
        // scrolls under the resting pointer.
        const QPoint under = second->canvas()->mapFromGlobal(QCursor::pos());
        QMouseEvent madeUp(QEvent::MouseMove, QPointF(under), QPointF(QCursor::pos()), Qt::NoButton,
                           Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(second->canvas(), &madeUp);
        for (int i = 0; i < 4; ++i)
            tick();
        QVERIFY(!showsGhost(second));
        // The first move of the user's over the new map brings its ghost.
        restOn(second, second->canvas()->mapFromGlobal(QCursor::pos()) + QPoint(32, 0));
        QVERIFY(showsGhost(second));
        QCOMPARE(phantoms(), QString());
    }

    void fromMapToMap()
    {
        MapWindow *first = stampedMap();
        MapWindow *second = window->newFile();
        window->tileWindows();
        QCoreApplication::processEvents();
        restOn(first, square(2, 1));
        QVERIFY(showsGhost(first));
        // Straight from one map onto the other: the first loses its ghost
        // at once, the second shows one after resting.
        QTest::mouseMove(second->canvas(), square(4, 1));
        QVERIFY(!showsGhost(first));
        tick();
        tick();
        QVERIFY(showsGhost(second));
        QCOMPARE(phantoms(), QString());
    }
};

QTEST_MAIN(TestPhantom)
#include "test_phantom.moc"
