#include "artwork.h"
#include "catalogue.h"
#include "palette.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>
#include <QTextEdit>
#include <QtTest>

#include <memory>

namespace {

// A main window as the program builds it: the tab control with four empty
// pages at the left, a one-line and a multi-line field beside it.
struct Harness {
    ToolState tool;  // outlives the window and with it the palette
    QMainWindow window;
    QTabWidget *tabs;
    QLineEdit *edit;
    QTextEdit *memo;
    Palette *palette;

    Harness()
    {
        auto *central = new QWidget;
        tabs = new QTabWidget(central);
        tabs->setGeometry(0, 0, 217, 480);
        for (int n = 1; n <= 4; ++n)
            tabs->addTab(new QWidget, QStringLiteral("Seite %1").arg(n));
        edit = new QLineEdit(central);
        edit->setGeometry(230, 10, 120, 24);
        memo = new QTextEdit(central);
        memo->setGeometry(230, 50, 120, 80);
        window.setCentralWidget(central);
        window.resize(380, 500);
        palette = new Palette(tabs, tool, &window);
    }

    template<class T = QWidget>
    T *get(const QString &name) const
    {
        auto *w = qobject_cast<T *>(palette->widget(name));
        if (!w)
            qWarning("no palette widget %s", qPrintable(name));
        return w;
    }

    // Clicks of the palette run queued, once the event that made them is done.
    void click(const QString &name, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseClick(get(name), button);
        QCoreApplication::sendPostedEvents();
    }

    void show()
    {
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
    }
};

bool haveArtwork() { return artwork::hasBitmap(QStringLiteral("ALTAR1")); }

} // namespace

// The palette widgets: where everything stands and what clicks and keys do.
class TestPalette : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void groupsStackOnTheirPages()
    {
        Harness h;
        QCOMPARE(h.tabs->count(), 4);
        QCOMPARE(h.tabs->tabText(0), QStringLiteral("Seite 1"));
        QCOMPARE(h.tabs->currentIndex(), 0);
        int top[5] = {};
        for (const palette::Group &g : palette::groups()) {
            QGroupBox *box = h.palette->group(g.title);
            QVERIFY2(box, qPrintable(g.title));
            QCOMPARE(box->title(), g.title);
            QCOMPARE(box->parentWidget(), h.tabs->widget(g.page - 1));
            QCOMPARE(box->geometry(), QRect(0, top[g.page], 209, g.height));
            top[g.page] += g.height;
            QCOMPARE(box->autoFillBackground(), g.white);
            if (g.white)
                QCOMPARE(box->palette().color(QPalette::Window), QColor(Qt::white));
        }
        QCOMPARE(h.palette->group("Auswahl")->height(), 273);
        QCOMPARE(h.palette->group("Drehen")->height(), 165);
        QCOMPARE(h.palette->group("Nebelturm")->height(), 77);
        QCOMPARE(h.palette->group("Sturmgrenze")->height(), 438);
    }

    void missingPagesAreAdded()
    {
        ToolState tool;
        QWidget window;
        auto *tabs = new QTabWidget(&window);
        tabs->addTab(new QWidget, QStringLiteral("Seite 1"));
        new Palette(tabs, tool, &window);
        QCOMPARE(tabs->count(), 4);
        QCOMPARE(tabs->tabText(3), QStringLiteral("Seite 4"));
    }

    void thumbnailsStandAtTheirBoxes_data()
    {
        QTest::addColumn<QString>("component");
        QTest::addColumn<QString>("group");
        QTest::addColumn<QRect>("box");
        QTest::addColumn<bool>("scaled");
        QTest::addColumn<QString>("hint");
        for (const palette::StampEntry &e : palette::stampEntries()) {
            if (e.page)
                QTest::newRow(qPrintable(e.component)) << e.component << e.group << e.box << e.scaled << e.hint;
        }
        for (const palette::FurnitureKind &f : palette::furnitureKinds())
            QTest::newRow(qPrintable(f.component)) << f.component << "Auswahl" << f.box << f.scaled << f.hint;
    }
    void thumbnailsStandAtTheirBoxes()
    {
        QFETCH(QString, component);
        QFETCH(QString, group);
        QFETCH(QRect, box);
        QFETCH(bool, scaled);
        QFETCH(QString, hint);
        Harness h;
        auto *t = h.get<QLabel>(component);
        QVERIFY(t);
        QCOMPARE(t->parentWidget(), h.palette->group(group));
        QCOMPARE(t->geometry(), box);
        QVERIFY(t->parentWidget()->rect().contains(box));
        QCOMPARE(t->hasScaledContents(), scaled);
        QCOMPARE(t->cursor().shape(), Qt::PointingHandCursor);
        QCOMPARE(t->toolTip(), hint);
        if (haveArtwork()) {
            QVERIFY(!t->pixmap().isNull());
            if (!scaled)
                QCOMPARE(t->pixmap().size(), box.size());
        }
    }

    void viewGroupLayout()
    {
        Harness h;
        QGroupBox *drehen = h.palette->group("Drehen");
        QCOMPARE(h.get("GroupBox1"), drehen);
        QCOMPARE(h.get("Image9")->geometry(), QRect(24, 32, 94, 94));
        const QRect buttons[4] = {{128, 48, 25, 25}, {168, 48, 25, 25}, {128, 88, 25, 25}, {168, 88, 25, 25}};
        for (int i = 0; i < 4; ++i) {
            auto *b = h.get<QPushButton>(QStringLiteral("Button%1").arg(i + 1));
            QVERIFY(b);
            QCOMPARE(b->parentWidget(), drehen);
            QCOMPARE(b->geometry(), buttons[i]);
            QCOMPARE(b->text(), QString::number(i + 1));
            QCOMPARE(b->toolTip(), QStringLiteral("Sicht %1").arg(i + 1));
        }
        QCOMPARE(h.get("Shape1")->geometry(), QRect(152, 72, 17, 17));
        auto *take = h.get<QPushButton>("BitBtn1");
        QCOMPARE(take->geometry(), QRect(56, 128, 105, 25));
        QCOMPARE(take->text(), QStringLiteral("Übernehmen"));
        QVERIFY(!take->icon().isNull());
        QCOMPARE(h.palette->shownView(), QStringLiteral("ALTAR1"));
        if (haveArtwork())
            QCOMPARE(h.get<QLabel>("Image9")->pixmap().size(), QSize(94, 62));
    }

    void clicksChangeTheToolState()
    {
        if (!haveArtwork())
            QSKIP("artwork not yet present");
        Harness h;
        h.show();

        h.click("Image20");
        QCOMPARE(h.tool.stamp, artwork::bitmap("GTO"));
        h.click("Image18");
        QCOMPARE(h.tool.stamp, artwork::bitmap("TUER2"));
        QCOMPARE(int(h.tool.mode), 3);
        h.click("Image20", Qt::RightButton);  // only the left button clicks
        QCOMPARE(h.tool.stamp, artwork::bitmap("TUER2"));

        h.palette->click("ToolButton11");
        QCOMPARE(h.tool.statusText(), QStringLiteral("Füll-Modus"));

        // A furniture thumbnail shows view 1 and puts the focus on "1".
        h.click("Image4");
        QCOMPARE(h.palette->shownView(), QStringLiteral("TISCH1"));
        QCOMPARE(int(h.tool.furnitureKind), 3);
        QCOMPARE(h.window.focusWidget(), h.get("Button1"));
        h.click("Button3");
        QCOMPARE(h.palette->shownView(), QStringLiteral("TISCH3"));
        QCOMPARE(h.get<QLabel>("Image9")->pixmap().size(), QSize(94, 62));
        h.click("Button2");
        QCOMPARE(h.get<QLabel>("Image9")->pixmap().size(), QSize(62, 94));
        QCOMPARE(int(h.tool.mode), 6);  // still filling
        QCOMPARE(h.tool.stamp, artwork::bitmap("TUER2"));

        h.click("BitBtn1");
        QCOMPARE(h.tool.stamp, artwork::bitmap("TISCH2"));
        QCOMPARE(int(h.tool.mode), 0);
        QCOMPARE(h.tool.statusText(), QString());

        // View 3, then another kind: back to view 1.
        h.click("Button3");
        h.click("Image14");
        QCOMPARE(h.palette->shownView(), QStringLiteral("TRUHE1"));
        h.palette->BitBtn1Click();
        QCOMPARE(h.tool.stamp, artwork::bitmap("TRUHE1"));

        QVERIFY(!h.palette->click("Image999"));
    }

    // "Übernehmen" is the main window's default button.
    void enterKey_data()
    {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<bool>("takes");
        QTest::addColumn<int>("view");
        const int none = Qt::NoModifier;
        QTest::newRow("one-line field") << "edit" << 0 << int(Qt::Key_Return) << none << true << 1;
        QTest::newRow("keypad enter") << "edit" << 0 << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << true << 1;
        QTest::newRow("tab bar") << "tabbar" << 0 << int(Qt::Key_Return) << none << true << 1;
        QTest::newRow("other page") << "edit" << 1 << int(Qt::Key_Return) << none << false << 1;
        QTest::newRow("shift") << "edit" << 0 << int(Qt::Key_Return) << int(Qt::ShiftModifier) << false << 1;
        QTest::newRow("ctrl") << "edit" << 0 << int(Qt::Key_Return) << int(Qt::ControlModifier) << false << 1;
        QTest::newRow("alt") << "edit" << 0 << int(Qt::Key_Return) << int(Qt::AltModifier) << false << 1;
        QTest::newRow("multi-line field") << "memo" << 0 << int(Qt::Key_Return) << none << false << 1;
        QTest::newRow("view button presses itself") << "Button3" << 0 << int(Qt::Key_Return) << none << false << 3;
        QTest::newRow("Übernehmen focused") << "BitBtn1" << 0 << int(Qt::Key_Return) << none << true << 1;
        QTest::newRow("other key") << "edit" << 0 << int(Qt::Key_Space) << none << false << 1;
    }
    void enterKey()
    {
        QFETCH(QString, focus);
        QFETCH(int, page);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(bool, takes);
        QFETCH(int, view);
        if (!haveArtwork())
            QSKIP("artwork not yet present");
        Harness h;
        h.show();
        h.palette->click("ToolButton10");
        h.tabs->setCurrentIndex(page);
        QWidget *target = focus == "edit" ? h.edit
                        : focus == "memo" ? static_cast<QWidget *>(h.memo)
                        : focus == "tabbar" ? h.tabs->tabBar()
                                            : h.get(focus);
        target->setFocus();
        QCOMPARE(h.window.focusWidget(), target);

        QTest::keyClick(target, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCoreApplication::sendPostedEvents();
        QCOMPARE(int(h.tool.mode), takes ? 0 : 1);
        QCOMPARE(h.tool.statusText(), takes ? QString() : QStringLiteral("Korrektur-Modus"));
        if (takes)
            QCOMPARE(h.tool.stamp, artwork::bitmap("ALTAR1"));
        QCOMPARE(int(h.tool.view), view);
    }

    void pointerOverThePaletteIsOffMap_data()
    {
        QTest::addColumn<QString>("component");
        QTest::addColumn<bool>("palette");
        for (const char *name : {"Image20", "Image1", "Image56", "Image9", "Shape1", "Button2",
                                 "BitBtn1", "GroupBox1", "Group1"})
            QTest::newRow(name) << name << true;
        QTest::newRow("page") << "page" << true;
        QTest::newRow("tab bar") << "tabbar" << true;
        QTest::newRow("field beside the palette") << "edit" << false;
    }
    void pointerOverThePaletteIsOffMap()
    {
        QFETCH(QString, component);
        QFETCH(bool, palette);
        Harness h;
        int calls = 0;
        h.palette->setOffMapHandler([&calls] { ++calls; });
        QSignalSpy moved(h.palette, &Palette::pointerMoved);
        QWidget *w = component == "edit" ? h.edit
                   : component == "page" ? h.tabs->widget(2)
                   : component == "tabbar" ? h.tabs->tabBar()
                                           : h.get(component);
        QVERIFY(w);
        QMouseEvent move(QEvent::MouseMove, QPointF(3, 3), w->mapToGlobal(QPointF(3, 3)),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(w, &move);
        QCOMPARE(calls > 0, palette);
        QCOMPARE(moved.count() > 0, palette);
    }
};

QTEST_MAIN(TestPalette)
#include "test_palette.moc"
