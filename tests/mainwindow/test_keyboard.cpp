// The program from the keyboard alone: menus opened and chosen by their
// mnemonics, the tool bar and the palette reached with Tab and the arrow
// keys.

#include "application.h"
#include "artwork.h"
#include "mainwindow.h"
#include "mapwindow.h"
#include "palette.h"
#include "testhelpers.h"

#include <QAccessible>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
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
        window->newFile();
        ToolState &tool = window->toolState();
        window->toolButton(QStringLiteral("ToolButton1"))->setFocus(Qt::TabFocusReason);
        // Along the tool bar past the separator to the fill tool.
        for (int i = 0; i < 9; ++i)
            QTest::keyClick(focus(), Qt::Key_Right);
        QCOMPARE(focus()->objectName(), QStringLiteral("ToolButton11"));
        QTest::keyClick(focus(), Qt::Key_Space);
        flush();
        QCOMPARE(window->statusLabel()->text(), QStringLiteral("Füll-Modus"));

        // Tab goes on to the page tabs and the first entry of the page.
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
    }
};

int main(int argc, char **argv)
{
    Application app(argc, argv);
    TestKeyboard test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_keyboard.moc"
