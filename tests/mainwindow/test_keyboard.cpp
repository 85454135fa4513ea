// The program from the keyboard alone: menus opened and chosen by their
// mnemonics, the tool bar and the palette reached with Tab and the arrow
// keys, and a map placed on with the square cursor as a click places.

#include "application.h"
#include "artwork.h"
#include "geometry.h"
#include "keycursor.h"
#include "mainwindow.h"
#include "mapwindow.h"
#include "palette.h"
#include "testhelpers.h"

#include <QAccessible>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QScrollArea>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QtTest>

using board::Mode;

namespace {

// The letters Alt or a menu's key press chooses in `menu`; fails on an item
// without one or on a letter used twice.
QString mnemonics(QWidget *menu)
{
    QString letters;
    QAccessibleInterface *read = QAccessible::queryAccessibleInterface(menu);
    const QList<QAction *> actions = menu->actions();
    for (int i = 0; i < actions.size(); ++i) {
        if (actions[i]->isSeparator())
            continue;
        const QString text = actions[i]->text();
        const QKeySequence key = QKeySequence::mnemonic(text);
        const QString name = read->child(i)->text(QAccessible::Name);
        const QString letter = key.toString().section(QLatin1Char('+'), -1);
        if (letter.isEmpty() || name.contains(QLatin1Char('&')) || letters.contains(letter))
            return QStringLiteral("no single mnemonic: ") + text;
        letters += letter;
    }
    return letters;
}

} // namespace

class TestKeyboard : public QObject {
    Q_OBJECT

    std::unique_ptr<MainWindow> window;

    QWidget *focus() const { return QApplication::focusWidget(); }

private Q_SLOTS:
    void init()
    {
        window = std::make_unique<MainWindow>();
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }
    void cleanup()
    {
        window.reset();
        flush();
    }

    void menusOpenAndChooseByMnemonic()
    {
        MapWindow *map = window->newFile();
        QMenuBar *bar = window->menuBar();
        QCOMPARE(mnemonics(bar), QStringLiteral("KBWFI"));
        for (QMenu *menu : {map->mapMenu(), map->editMenu(), map->popupMenu()})
            QVERIFY2(!mnemonics(menu).startsWith(QLatin1String("no")), qPrintable(mnemonics(menu)));
        for (QAction *item : bar->actions())
            QVERIFY2(!mnemonics(item->menu()).startsWith(QLatin1String("no")),
                     qPrintable(mnemonics(item->menu())));

        QTest::keyClick(window.get(), Qt::Key_K, Qt::AltModifier);
        QTRY_VERIFY(map->mapMenu()->isVisible());
        QCOMPARE(bar->activeAction(), map->mapMenu()->menuAction());
        QTest::keyClick(map->mapMenu(), Qt::Key_N);
        flush();
        QCOMPARE(window->mapWindows().size(), 2);
    }

    void tabAndArrowsReachThePalette()
    {
        MapWindow *map = window->newFile();
        ToolState &tool = window->toolState();
        window->toolButton(QStringLiteral("ToolButton1"))->setFocus(Qt::TabFocusReason);
        // Along the tool bar past the separator to the fill tool.
        for (int i = 0; i < 9; ++i)
            QTest::keyClick(focus(), Qt::Key_Right);
        QCOMPARE(focus()->objectName(), QStringLiteral("ToolButton11"));
        QTest::keyClick(focus(), Qt::Key_Space);
        flush();
        QCOMPARE(window->statusLabel()->text(), QStringLiteral("Füll-Modus"));

        // Tab goes on to the page tabs, the first entry of the page and, in
        // the end, the map.
        QTest::keyClick(focus(), Qt::Key_Tab);
        QCOMPARE(focus(), window->paletteTabs()->tabBar());
        QTest::keyClick(focus(), Qt::Key_Right); // "Seite 2"
        QTest::keyClick(focus(), Qt::Key_Tab);
        QCOMPARE(focus()->objectName(), QStringLiteral("Image19"));
        QTest::keyClick(focus(), Qt::Key_Right);
        QCOMPARE(focus()->objectName(), QStringLiteral("Image20"));
        QTest::keyClick(focus(), Qt::Key_Down);
        QCOMPARE(focus()->objectName(), QStringLiteral("Image22"));
        QTest::keyClick(focus(), Qt::Key_Space);
        flush();
        QCOMPARE(tool.mode, Mode::Interior);
        QCOMPARE(tool.stamp, artwork::bitmap(QStringLiteral("GTU")));
        QCOMPARE(window->statusLabel()->text(), QString());

        // From the palette's last entry on to the map, then to the overlay
        // browsers at the right.
        window->toggleOverlayBrowsers();
        window->palette()->widget(QStringLiteral("BitBtn1"))->setFocus(Qt::TabFocusReason);
        QTest::keyClick(focus(), Qt::Key_Tab);
        QCOMPARE(focus(), map->canvas());
        QVERIFY(map->canvas()->keyCursorShown());
        QTest::keyClick(focus(), Qt::Key_Tab);
        QVERIFY(window->overlayTabs()->isAncestorOf(focus()));
    }

    // Arrows to square (3, 2) and a key on one map, a click at that square's
    // centre on another: the same pixels in every kind of mode.
    void keysPlaceAsAClick_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<int>("key");
        QTest::newRow("interior") << "ToolButton2" << int(Qt::Key_Space);
        QTest::newRow("line") << "Image19" << int(Qt::Key_Return);
        QTest::newRow("outside") << "Image60" << int(Qt::Key_Space);
        QTest::newRow("restore") << "ToolButton10" << int(Qt::Key_Enter);
        QTest::newRow("fill") << "ToolButton11" << int(Qt::Key_Space);
    }

    void keysPlaceAsAClick()
    {
        QFETCH(QString, entry);
        QFETCH(int, key);
        MapWindow *clicked = window->newFile();
        MapWindow *typed = window->newFile();
        const QPoint centre = board::keycursor::centre({3, 2});
        // Something for the restore to take back, the same on both maps.
        if (entry == QLatin1String("ToolButton10"))
            for (MapWindow *map : {clicked, typed})
                QTest::mouseClick(map->canvas(), Qt::LeftButton, Qt::NoModifier, centre);
        if (!window->palette()->click(entry))
            window->toolButton(entry)->click();
        flush();
        const QImage before = clicked->document().picture();

        QTest::mouseClick(clicked->canvas(), Qt::LeftButton, Qt::NoModifier, centre);
        QVERIFY(clicked->document().picture() != before);

        window->mdiArea()->setActiveSubWindow(typed);
        MapCanvas *canvas = typed->canvas();
        canvas->setFocus(Qt::TabFocusReason);
        for (int k : {Qt::Key_Right, Qt::Key_Right, Qt::Key_Right, Qt::Key_Down, Qt::Key_Down})
            QTest::keyClick(canvas, Qt::Key(k));
        QCOMPARE(canvas->keySquare(), (board::Square{3, 2}));
        const bool ghost = !canvas->overlay().ghost.isNull();
        QCOMPARE(ghost, entry.startsWith(QLatin1String("Image")) || entry == "ToolButton2");
        if (!ghost) {
            // The frame shows where the keys work.
            const QImage shown = canvas->grab().toImage();
            QCOMPARE(shown.pixel(board::keycursor::block({3, 2}).topLeft()),
                     canvas->palette().color(QPalette::Highlight).rgb());
            // A step repaints the square left and the square reached.
            PaintSpy paints(canvas);
            const QRegion repainted =
                paints.repaintOf([&] { QTest::keyClick(canvas, Qt::Key_Left); });
            QVERIFY(repainted.contains(board::keycursor::block({3, 2})));
            QVERIFY(repainted.contains(board::keycursor::block({2, 2})));
            QTest::keyClick(canvas, Qt::Key_Right);
        }
        QTest::keyClick(canvas, Qt::Key(key));
        QVERIFY(samePixels(typed->document().picture(), clicked->document().picture()));
        QVERIFY(typed->undoAction()->isEnabled());
    }

    void cursorStaysOnTheBoardAndInView()
    {
        MapWindow *map = window->newFile();
        map->setZoom(board::Zoom{8, 1}, QPointF(0, 0));
        MapCanvas *canvas = map->canvas();
        canvas->setFocus(Qt::TabFocusReason);
        for (int i = 0; i < 30; ++i)
            QTest::keyClick(canvas, Qt::Key_Right);
        for (int i = 0; i < 12; ++i)
            QTest::keyClick(canvas, Qt::Key_Down);
        QCOMPARE(canvas->keySquare(), (board::Square{25, 12}));
        const QRect shown(canvas->mapFrom(map->viewport(), QPoint(0, 0)), map->viewport()->size());
        QVERIFY(shown.contains(map->zoom().widgetRect(board::keycursor::block({25, 12}))));

        // A tool chosen while the cursor rests shows with the next tick.
        QVERIFY(!canvas->overlay().ghost.isNull());
        window->toolButton(QStringLiteral("ToolButton11"))->click();
        flush();
        canvas->tick();
        QVERIFY(canvas->overlay().ghost.isNull());

        // Shift+F10 opens the popup menu there.
        QTest::keyClick(canvas, Qt::Key_F10, Qt::ShiftModifier);
        QTRY_VERIFY(map->popupMenu()->isVisible());
        map->popupMenu()->close();
    }
};

int main(int argc, char **argv)
{
    Application app(argc, argv);
    TestKeyboard test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_keyboard.moc"
