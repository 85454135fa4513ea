// The zoom keys of the frame window: each key a keyboard sends for them
// reaches the active map, with the focus on the map or on the palette, and
// leaves the other maps as they are.

#include "application.h"
#include "mainwindow.h"
#include "mapwindow.h"
#include "zoomtest.h"

#include <QMdiArea>
#include <QScrollArea>
#include <QTabBar>
#include <QTabWidget>
#include <QtTest>

using board::Zoom;

class TestZoomKeys : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void keysReachTheActiveMap_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::addColumn<Zoom>("from");
        QTest::addColumn<Zoom>("expected"); // {0, 0}: the whole board
        const Qt::KeyboardModifiers ctrl = Qt::ControlModifier;
        const Qt::KeyboardModifiers keypad = Qt::ControlModifier | Qt::KeypadModifier;
        const Zoom fit{0, 0};
        for (const char *focus : {"map", "palette"}) {
            const auto row = [focus](const char *name) -> QTestData & {
                return QTest::newRow(
                    qPrintable(QStringLiteral("%1, focus on the %2")
                                   .arg(QLatin1String(name), QLatin1String(focus))));
            };
            row("Ctrl++") << int(Qt::Key_Plus) << ctrl << Zoom{1, 1} << Zoom{3, 2};
            row("Ctrl+= at 200 %") << int(Qt::Key_Equal) << ctrl << Zoom{2, 1} << Zoom{3, 1};
            row("Ctrl+keypad plus") << int(Qt::Key_Plus) << keypad << Zoom{8, 1} << Zoom{8, 1};
            row("Ctrl+-") << int(Qt::Key_Minus) << ctrl << Zoom{1, 1} << Zoom{2, 3};
            row("Ctrl+keypad minus") << int(Qt::Key_Minus) << keypad << Zoom{1, 3} << Zoom{1, 4};
            row("Ctrl+0") << int(Qt::Key_0) << ctrl << Zoom{6, 1} << Zoom{1, 1};
            row("Ctrl+keypad 0") << int(Qt::Key_0) << keypad << Zoom{1, 4} << Zoom{1, 1};
            row("Ctrl+/") << int(Qt::Key_Slash) << ctrl << Zoom{4, 1} << fit;
            row("Ctrl+9") << int(Qt::Key_9) << ctrl << Zoom{1, 1} << fit;
        }
    }

    void keysReachTheActiveMap()
    {
        QFETCH(int, key);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        QFETCH(Zoom, from);
        QFETCH(Zoom, expected);
        MainWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        MapWindow *other = window.newFile();
        MapWindow *map = window.newFile();
        QCOMPARE(window.activeMapWindow(), map);
        map->setZoom(from, QPointF(0, 0));
        if (expected == Zoom{0, 0})
            expected = board::fitZoom(map->canvas()->pictureSize(),
                                      map->scrollArea()->maximumViewportSize());

        QWidget *focus =
            QString::fromLatin1(QTest::currentDataTag()).endsWith(QLatin1String("palette"))
                ? static_cast<QWidget *>(window.paletteTabs()->tabBar())
                : map->canvas();
        focus->setFocus();
        QCOMPARE(QApplication::focusWidget(), focus);
        QTest::keyClick(focus, Qt::Key(key), modifiers);
        QCOMPARE(map->zoom(), expected);
        QCOMPARE(other->zoom(), (Zoom{1, 1}));
        if (QString::fromLatin1(QTest::currentDataTag()).startsWith(QLatin1String("Ctrl+/")))
            QVERIFY(map->canvas()->width() <= map->viewport()->width() &&
                    map->canvas()->height() <= map->viewport()->height());
    }

    void keysWithoutAMapDoNothing()
    {
        MainWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QTest::keyClick(&window, Qt::Key_Plus, Qt::ControlModifier);
        QTest::keyClick(&window, Qt::Key_9, Qt::ControlModifier);
        QVERIFY(window.mapWindows().isEmpty());
    }
};

int main(int argc, char **argv)
{
    Application app(argc, argv);
    TestZoomKeys test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_zoomkeys.moc"
