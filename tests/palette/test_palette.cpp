// The palette: the catalogue as data, what each entry does to the tool
// state, and the widgets (where everything stands, what clicks and keys do).

#include "artwork.h"
#include "catalogue.h"
#include "palette.h"
#include "raster.h"
#include "stampsheet.h"
#include "testhelpers.h"

#include <QDir>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QSet>
#include <QTabBar>
#include <QTabWidget>
#include <QTextEdit>
#include <QtTest>

using namespace palette;
using board::Mode;

namespace {

// Every stamp entry as the palette's tables give it, tool bar first: the
// entry, the picture it loads, the mode it sets, its hint.
struct ExpectedEntry {
    const char *component;
    const char *resource;
    Mode mode;
    const char *hint;
};
// clang-format off
const ExpectedEntry kExpectedEntries[] = {
    {"ToolButton1", "GOBLIN", Mode::Interior, "Goblin"},
    {"ToolButton2", "ORK", Mode::Interior, "Ork"},
    {"ToolButton3", "SUMPFLING", Mode::Interior, "Sumpfling"},
    {"ToolButton4", "SKELETT", Mode::Interior, "Skelett"},
    {"ToolButton5", "ZOMBIE", Mode::Interior, "Zombie"},
    {"ToolButton6", "MUMIE", Mode::Interior, "Mumie"},
    {"ToolButton7", "CHAOSKRIEGER", Mode::Interior, "Chaos-Krieger"},
    {"ToolButton8", "GARGOYLE", Mode::Interior, "Gargoyle"},
    {"Image19", "TUER1", Mode::LeftLine, ""},
    {"Image20", "GTO", Mode::Interior, ""},
    {"Image21", "GTR", Mode::Interior, ""},
    {"Image22", "GTU", Mode::Interior, ""},
    {"Image23", "GTL", Mode::Interior, ""},
    {"Image18", "TUER2", Mode::TopLine, ""},
    {"Image12", "FALLGRUBE", Mode::Interior, "Fallgrube"},
    {"Image15", "SPEER", Mode::Interior, "Speerfalle"},
    {"Image16", "SCHLAGFALLE", Mode::Interior, "Schlagfalle"},
    {"Image17", "PFEIL", Mode::Interior, ""},
    {"Image28", "BLOCK22", Mode::Interior, ""},
    {"Image27", "BLOCK21", Mode::Interior, ""},
    {"Image26", "BLOCK", Mode::Interior, ""},
    {"Image24", "STAIR1", Mode::Interior, ""},
    {"Image29", "STAIR2", Mode::Interior, ""},
    {"Image31", "STAIR4", Mode::Interior, ""},
    {"Image30", "STAIR3", Mode::Interior, ""},
    {"Image32", "AB", Mode::Interior, ""},
    {"Image33", "BB", Mode::Interior, ""},
    {"Image34", "CB", Mode::Interior, ""},
    {"Image35", "DB", Mode::Interior, ""},
    {"Image36", "XB", Mode::Interior, ""},
    {"Image76", "Z2", Mode::Interior, ""},
    {"Image77", "Z3", Mode::Interior, ""},
    {"Image78", "Z11", Mode::Interior, ""},
    {"Image79", "Z5", Mode::Interior, ""},
    {"Image81", "Z6", Mode::Interior, ""},
    {"Image80", "Z7", Mode::Interior, ""},
    {"Image83", "Z8", Mode::Interior, ""},
    {"Image82", "Z9", Mode::Interior, ""},
    {"Image84", "Z10", Mode::Interior, ""},
    {"Image85", "Z4", Mode::Interior, ""},
    {"Image58", "ENTERO", Mode::OutUp, ""},
    {"Image59", "ENTERU", Mode::TopLine, ""},
    {"Image10", "ENTERL", Mode::OutLeft, ""},
    {"Image57", "ENTERR", Mode::LeftLine, ""},
    {"Image62", "EXITO", Mode::OutUp, ""},
    {"Image63", "EXITU", Mode::TopLine, ""},
    {"Image60", "EXITL", Mode::OutLeft, ""},
    {"Image61", "EXITR", Mode::LeftLine, ""},
    {"Image72", "SCHMIEDE2", Mode::Interior, ""},
    {"Image73", "SCHMIEDE1", Mode::Interior, ""},
    {"Image66", "KLAPPEU", Mode::Interior, ""},
    {"Image64", "KLAPPEO", Mode::Interior, ""},
    {"Image65", "KLAPPER", Mode::Interior, ""},
    {"Image67", "KLAPPEL", Mode::Interior, ""},
    {"Image68", "RIP1", Mode::Interior, ""},
    {"Image69", "RIP3", Mode::Interior, ""},
    {"Image70", "RIP2", Mode::Interior, ""},
    {"Image74", "DOORO1", Mode::LeftLine, ""},
    {"Image71", "RIP4", Mode::Interior, ""},
    {"Image75", "DOORO2", Mode::TopLine, ""},
    {"Image86", "PO", Mode::Interior, ""},
    {"Image88", "PU", Mode::Interior, ""},
    {"Image87", "PR", Mode::Interior, ""},
    {"Image89", "PL", Mode::Interior, ""},
    {"Image44", "BRUNST", Mode::Interior, "Feuerbrunst-Falle"},
    {"Image45", "LUFT", Mode::Interior, "Orkan-Falle"},
    {"Image46", "TA", Mode::Interior, "Teleporter-Falle"},
    {"Image47", "TB", Mode::Interior, "Teleporter-Falle"},
    {"Image39", "FALLBH", Mode::Interior, "Fallbeil"},
    {"Image40", "FALLBV", Mode::Interior, "Fallbeil"},
    {"Image41", "FALLBH2", Mode::Interior, ""},
    {"Image42", "FALLBV2", Mode::Interior, ""},
    {"Image38", "STEIN1", Mode::LeftLine, ""},
    {"Image43", "GRUFT", Mode::Interior, "Gruft der Finsternis"},
    {"Image37", "STEIN2", Mode::TopLine, ""},
    {"Image25", "CHAOS", Mode::Interior, ""},
    {"Image48", "OUTLAND", Mode::Interior, ""},
    {"Image49", "SCHLUCHT", Mode::Interior, ""},
    {"Image51", "TEPPICH", Mode::Interior, ""},
    {"Image52", "DEKO2", Mode::Interior, ""},
    {"Image53", "OGRE", Mode::Interior, "Ogre Krieger"},
    {"Image54", "OFF", Mode::Interior, "Ogre Offizier"},
    {"Image50", "DEKO1", Mode::Interior, ""},
    {"Image55", "OB", Mode::Interior, "Ogre Oberbefehlshaber"},
    {"Image56", "HE", Mode::Interior, "Ogre Herrscher"},
};
// clang-format on

// A main window as the program builds it: the tab control with four empty
// pages at the left, a one-line and a multi-line field beside it.
struct Harness {
    ToolState tool; // outlives the window and with it the palette
    QMainWindow window;
    QWidget *central = new QWidget;
    QTabWidget *tabs = new QTabWidget(central);
    QLineEdit *edit = new QLineEdit(central);
    QTextEdit *memo = new QTextEdit(central);
    Palette *palette;

    Harness()
    {
        tabs->setGeometry(0, 0, 217, 480);
        for (int n = 1; n <= 4; ++n)
            tabs->addTab(new QWidget, QStringLiteral("Seite %1").arg(n));
        edit->setGeometry(230, 10, 120, 24);
        memo->setGeometry(230, 50, 120, 80);
        window.setCentralWidget(central);
        window.resize(380, 500);
        palette = new Palette(tabs, tool, &window);
    }

    template <class T = QWidget> T *get(const QString &name) const
    {
        return qobject_cast<T *>(palette->widget(name));
    }

    // A widget by palette name, or "edit", "memo", "tabbar", "page".
    QWidget *find(const QString &name) const
    {
        if (name == QLatin1String("edit"))
            return edit;
        if (name == QLatin1String("memo"))
            return memo;
        if (name == QLatin1String("tabbar"))
            return tabs->tabBar();
        if (name == QLatin1String("page"))
            return tabs->widget(2);
        return get(name);
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

bool hasPureBlue(const QImage &picture)
{
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (raster::pixel(picture, x, y) == raster::kTransparent)
                return true;
    return false;
}

} // namespace

class TestPalette : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void tablesAreComplete()
    {
        // 8 monsters of the tool bar and 77 thumbnails on the pages.
        QCOMPARE(int(stampEntries().size()), 85);
        QCOMPARE(int(furnitureKinds().size()), 11);
        QSet<QString> names;
        for (const StampEntry &e : stampEntries())
            names.insert(e.component);
        for (const FurnitureKind &f : furnitureKinds())
            names.insert(f.component);
        QCOMPARE(names.size(), 96); // no component twice
        for (int k = 0; k < 11; ++k)
            QCOMPARE(int(furnitureKinds()[k].kind), k);
        // Every piece has a name of its own within its group, which tells
        // apart the pieces that share a hint.
        QHash<QString, QString> seen;
        for (const StampEntry &e : stampEntries()) {
            QVERIFY2(!e.name.isEmpty() && e.name != e.group, qPrintable(e.component));
            const QString key = e.group + QLatin1Char('/') + e.name;
            QVERIFY2(!seen.contains(key), qPrintable(e.component + " and " + seen.value(key)));
            seen.insert(key, e.component);
        }
        // Look-alike pieces (their pictures are pinned by the stamped sheet):
        // the blade keeps the hint of its pair, the markers have none.
        QCOMPARE(findStampEntry("Image40")->hint, QStringLiteral("Fallbeil"));
        QVERIFY(findStampEntry("Image78")->hint.isEmpty() &&
                findStampEntry("Image85")->hint.isEmpty());
    }

    // Each entry loads its own picture and mode; the status text is emptied
    // last, so by then the stamp and the mode are already the entry's.
    void stampEntry_data()
    {
        QTest::addColumn<QString>("component");
        QTest::addColumn<QString>("resource");
        QTest::addColumn<Mode>("mode");
        QTest::addColumn<QString>("hint");
        for (const ExpectedEntry &e : kExpectedEntries)
            QTest::newRow(e.component)
                << e.component << e.resource << e.mode << QString::fromUtf8(e.hint);
    }
    void stampEntry()
    {
        QFETCH(QString, component);
        QFETCH(QString, resource);
        QFETCH(Mode, mode);
        QFETCH(QString, hint);
        const StampEntry *e = findStampEntry(component);
        QVERIFY(e);
        QCOMPARE(e->hint, hint);
        ToolState tool;
        tool.stamp = QImage(32, 32, QImage::Format_RGB32);
        tool.furnitureKind = 5;
        tool.orientation = 3;
        chooseTool(tool, Mode::Restore);
        QSize sizeAtSignal;
        Mode modeAtSignal = Mode::Restore;
        connect(&tool, &ToolState::statusTextChanged, this, [&] {
            sizeAtSignal = tool.stamp.size();
            modeAtSignal = tool.mode;
        });
        applyStampEntry(tool, *e);
        QCOMPARE(tool.stamp, artwork::bitmap(resource));
        QCOMPARE(tool.stamp.size(), e->size);
        QCOMPARE(tool.mode, mode);
        QCOMPARE(tool.statusText(), QString());
        QCOMPARE(sizeAtSignal, e->size);
        QCOMPARE(modeAtSignal, mode);
        // Furniture selection is not touched by a stamp entry.
        QCOMPARE(int(tool.furnitureKind), 5);
        QCOMPARE(int(tool.orientation), 3);
    }

    void toolsAndStatusOrder()
    {
        ToolState tool;
        tool.stamp = QImage(30, 30, QImage::Format_RGB32);
        const QImage before = tool.stamp;
        Mode modeAtSignal = Mode::Interior;
        connect(&tool, &ToolState::statusTextChanged, this, [&] { modeAtSignal = tool.mode; });
        chooseTool(tool, Mode::Restore);
        QCOMPARE(tool.mode, Mode::Restore);
        QCOMPARE(tool.statusText(), QStringLiteral("Korrektur-Modus"));
        QCOMPARE(modeAtSignal, Mode::Restore); // mode first, then the text
        chooseTool(tool, Mode::Fill);
        QCOMPARE(tool.mode, Mode::Fill);
        QCOMPARE(tool.statusText(), QStringLiteral("Füll-Modus"));
        QCOMPARE(modeAtSignal, Mode::Restore); // text first, then the mode
        QCOMPARE(tool.stamp, before);
    }

    // A kind shows its view 1; choices leave the correction or fill tool and
    // its stamp alone, and only "Übernehmen" returns to stamping.
    void furnitureChoices_data()
    {
        QTest::addColumn<int>("kind");
        for (const FurnitureKind &f : furnitureKinds())
            QTest::newRow(qPrintable(f.base)) << int(f.kind);
    }
    void furnitureChoices()
    {
        QFETCH(int, kind);
        const QString first = furnitureKinds()[kind].base + QLatin1String("1");
        ToolState tool;
        tool.stamp = QImage(32, 32, QImage::Format_RGB32);
        const QImage stamp = tool.stamp;
        chooseTool(tool, kind % 2 ? Mode::Fill : Mode::Restore);
        const Mode mode = tool.mode;
        const QString text = tool.statusText();
        QCOMPARE(chooseView(tool, 3), QStringLiteral("ALTAR3")); // start kind is the altar
        QCOMPARE(chooseFurniture(tool, quint8(kind)), first);
        QCOMPARE(int(tool.orientation), 1);
        QCOMPARE(tool.mode, mode);
        QCOMPARE(tool.statusText(), text);
        QCOMPARE(tool.stamp, stamp);
        takeFurniture(tool);
        QCOMPARE(tool.mode, Mode::Interior);
        QCOMPARE(tool.statusText(), QString());
        QCOMPARE(tool.stamp, artwork::bitmap(first));
        // A choice after "Übernehmen" leaves the stamp alone.
        chooseView(tool, 2);
        chooseFurniture(tool, quint8((kind + 1) % 11));
        QCOMPARE(tool.stamp, artwork::bitmap(first));
    }

    // The view picture hides exactly the blue ground (the views' sizes are
    // pinned with the artwork).
    void viewPictureHidesTheBlueGround()
    {
        for (const FurnitureKind &f : furnitureKinds())
            for (quint8 v = 1; v <= 4; ++v) {
                const QImage view = artwork::bitmap(viewResource(f.kind, v));
                const QImage shown = viewPicture(view);
                QCOMPARE(shown.size(), view.size());
                for (int y = 0; y < view.height(); ++y)
                    for (int x = 0; x < view.width(); ++x)
                        QCOMPARE(qAlpha(shown.pixel(x, y)) == 0,
                                 raster::pixel(view, x, y) == raster::kTransparent);
            }
    }

    void whiteGroundReplacesOnlyPureBlue()
    {
        QImage stamp(2, 1, QImage::Format_Indexed8);
        stamp.setColorTable({qRgb(0, 0, 255), qRgb(0, 0, 254)});
        stamp.setPixel(0, 0, 0);
        stamp.setPixel(1, 0, 1);
        const QImage t = whiteGround(stamp);
        QCOMPARE(t.pixel(0, 0), qRgb(255, 255, 255));
        QCOMPARE(t.pixel(1, 0), qRgb(0, 0, 254));
    }

    // Every entry stamped on a fresh board, compared with the stored picture
    // (made by `palette_tool <file.png>`).
    void everyEntryStampedOnABoard()
    {
        const QString path = QStringLiteral(DK_TEST_DATA "/palette/stamped.png");
        const QImage expected(path);
        QVERIFY2(!expected.isNull(), qPrintable(path));
        const QImage actual = stampsheet::sheet();
        if (actual != expected.convertToFormat(QImage::Format_RGB32)) {
            const QString out = QDir::temp().filePath(QStringLiteral("stamped-actual.png"));
            actual.save(out);
            QFAIL(qPrintable(QStringLiteral("stamped entries differ; this run's picture: ") + out));
        }
    }

    void groupsStackOnTheirPages()
    {
        Harness h;
        int top[5] = {};
        for (const Group &g : groups()) {
            QGroupBox *box = h.palette->group(g.title);
            QVERIFY2(box, qPrintable(g.title));
            QCOMPARE(box->parentWidget(), h.tabs->widget(g.page - 1));
            QCOMPARE(box->geometry(), QRect(0, top[g.page], 209, g.height));
            top[g.page] += g.height;
            QCOMPARE(box->autoFillBackground(), g.white);
        }
        for (int page = 1; page <= 4; ++page)
            QCOMPARE(top[page], 438);
    }

    // "Seite 1" alone is built for the first frame; the other pages follow
    // once it is painted, with nobody asking, and show their groups.
    void laterPagesFollowTheFirstFrame()
    {
        Harness h;
        auto groupsOn = [&h](int page) {
            return h.tabs->widget(page)->findChildren<QGroupBox *>().size();
        };
        QCOMPARE(groupsOn(0), 2);
        QCOMPARE(groupsOn(1) + groupsOn(2) + groupsOn(3), 0);
        h.show();
        QTRY_COMPARE(groupsOn(3), 1);
        QCOMPARE(groupsOn(1), 4);
        QCOMPARE(groupsOn(2), 4);
        h.tabs->setCurrentIndex(1);
        QVERIFY(h.tabs->widget(1)->findChild<QGroupBox *>()->isVisible());
        QVERIFY(h.tabs->widget(1)->findChild<QLabel *>(QStringLiteral("Image20"))->isVisible());
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

    void thumbnails_data()
    {
        QTest::addColumn<QString>("component");
        QTest::addColumn<QString>("group");
        QTest::addColumn<QRect>("box");
        QTest::addColumn<bool>("scaled");
        // Tooltip and name for assistive technology: the hint, else the piece's name.
        QTest::addColumn<QString>("tooltip");
        for (const StampEntry &e : stampEntries())
            if (e.page)
                QTest::newRow(qPrintable(e.component))
                    << e.component << e.group << e.box << e.scaled << entryLabel(e);
        for (const FurnitureKind &f : furnitureKinds())
            QTest::newRow(qPrintable(f.component))
                << f.component << "Auswahl" << f.box << f.scaled << f.hint;
    }
    void thumbnails()
    {
        QFETCH(QString, component);
        QFETCH(QString, group);
        QFETCH(QRect, box);
        QFETCH(bool, scaled);
        QFETCH(QString, tooltip);
        Harness h;
        auto *t = h.get<QLabel>(component);
        QVERIFY(t);
        QCOMPARE(t->parentWidget(), h.palette->group(group));
        QCOMPARE(t->geometry(), box);
        QVERIFY(t->parentWidget()->rect().contains(box));
        QCOMPARE(t->hasScaledContents(), scaled);
        QCOMPARE(t->cursor().shape(), Qt::PointingHandCursor);
        QVERIFY(!tooltip.isEmpty());
        QCOMPARE(t->toolTip(), tooltip);
        QCOMPARE(accessibleName(t), tooltip);
        if (!scaled)
            QCOMPARE(t->pixmap().size(), box.size());
        // The palette shows white where the stamp is transparent.
        if (const StampEntry *e = findStampEntry(component)) {
            const QImage picture = thumbnail(*e);
            QVERIFY(!hasPureBlue(picture));
            if (e->thumbnail == e->resource)
                QCOMPARE(picture.size(), e->size);
        }
    }

    void clicksChangeTheToolState()
    {
        Harness h;
        h.show();
        h.click("Image18");
        QCOMPARE(h.tool.stamp, artwork::bitmap("TUER2"));
        QCOMPARE(h.tool.mode, Mode::TopLine);
        h.click("Image20", Qt::RightButton); // only the left button clicks
        QCOMPARE(h.tool.stamp, artwork::bitmap("TUER2"));
        chooseTool(h.tool, Mode::Fill);
        QCOMPARE(h.tool.statusText(), QStringLiteral("Füll-Modus"));

        // A furniture thumbnail shows view 1 and puts the focus on "1".
        QCOMPARE(h.palette->shownView(), QStringLiteral("ALTAR1"));
        h.click("Image4");
        QCOMPARE(h.palette->shownView(), QStringLiteral("TISCH1"));
        QCOMPARE(int(h.tool.furnitureKind), 3);
        QCOMPARE(h.window.focusWidget(), h.get("Button1"));
        h.click("Button2");
        QCOMPARE(h.get<QLabel>("Image9")->pixmap().size(), QSize(62, 94));
        QCOMPARE(h.tool.mode, Mode::Fill); // still filling
        QCOMPARE(h.tool.stamp, artwork::bitmap("TUER2"));
        h.click("BitBtn1");
        QCOMPARE(h.tool.stamp, artwork::bitmap("TISCH2"));
        QCOMPARE(h.tool.mode, Mode::Interior);
        QCOMPARE(h.tool.statusText(), QString());
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
        const int none = Qt::NoModifier, ret = Qt::Key_Return;
        QTest::newRow("one-line field") << "edit" << 0 << ret << none << true << 1;
        QTest::newRow("keypad enter")
            << "edit" << 0 << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << true << 1;
        QTest::newRow("tab bar") << "tabbar" << 0 << ret << none << true << 1;
        QTest::newRow("other page") << "edit" << 1 << ret << none << false << 1;
        QTest::newRow("shift") << "edit" << 0 << ret << int(Qt::ShiftModifier) << false << 1;
        QTest::newRow("multi-line field") << "memo" << 0 << ret << none << false << 1;
        QTest::newRow("view button presses itself") << "Button3" << 0 << ret << none << false << 3;
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
        Harness h;
        h.show();
        chooseTool(h.tool, Mode::Restore);
        h.tabs->setCurrentIndex(page);
        QWidget *target = h.find(focus);
        target->setFocus();
        QCOMPARE(h.window.focusWidget(), target);
        QTest::keyClick(target, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCoreApplication::sendPostedEvents();
        QCOMPARE(h.tool.mode, takes ? Mode::Interior : Mode::Restore);
        if (takes)
            QCOMPARE(h.tool.stamp, artwork::bitmap("ALTAR1"));
        QCOMPARE(int(h.tool.orientation), view);
    }
};

QTEST_MAIN(TestPalette)
#include "test_palette.moc"
