// The program from the keyboard alone: menus opened and chosen by their
// mnemonics.

#include "application.h"
#include "mainwindow.h"
#include "mapwindow.h"
#include "testhelpers.h"

#include <QAccessible>
#include <QMenu>
#include <QMenuBar>
#include <QtTest>

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
};

int main(int argc, char **argv)
{
    Application app(argc, argv);
    TestKeyboard test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_keyboard.moc"
