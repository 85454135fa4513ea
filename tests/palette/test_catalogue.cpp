#include "artwork.h"
#include "catalogue.h"
#include "raster.h"
#include "stampsheet.h"

#include <QDir>
#include <QSet>
#include <QtTest>

using namespace palette;

// The catalogue as data and what each entry does to the tool state.
class TestCatalogue : public QObject {
    Q_OBJECT

    static bool haveArtwork() { return artwork::hasBitmap(QStringLiteral("ALTAR1")); }

    // A tool state in the middle of other work: correction mode, a square
    // bitmap as stamp, furniture kind 5 in view 3.
    static void busy(ToolState &tool)
    {
        tool.stamp = QImage(32, 32, QImage::Format_RGB32);
        tool.stamp.fill(Qt::red);
        tool.furnitureKind = 5;
        tool.view = 3;
        correctionTool(tool);
    }

    static bool hasPureBlue(const QImage &picture)
    {
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                if (raster::pixel(picture, x, y) == raster::kTransparent)
                    return true;
        return false;
    }

private Q_SLOTS:
    void tablesAreComplete()
    {
        // 8 monsters of the tool bar and 77 thumbnails on the pages.
        QCOMPARE(int(stampEntries().size()), 85);
        QCOMPARE(int(furnitureKinds().size()), 11);
        QCOMPARE(int(groups().size()), 11);

        QSet<QString> names;
        for (const StampEntry &e : stampEntries())
            names.insert(e.component);
        for (const FurnitureKind &f : furnitureKinds())
            names.insert(f.component);
        QCOMPARE(names.size(), 96);  // no component twice

        // Every page is 438 pixels of groups.
        int height[5] = {};
        for (const Group &g : groups())
            height[g.page] += g.height;
        for (int page = 1; page <= 4; ++page)
            QCOMPARE(height[page], 438);

        for (int k = 0; k < 11; ++k)
            QCOMPARE(int(furnitureKinds()[k].kind), k);
    }

    void stampEntry_data()
    {
        QTest::addColumn<QString>("component");
        for (const StampEntry &e : stampEntries())
            QTest::newRow(qPrintable(e.component)) << e.component;
    }
    void stampEntry()
    {
        QFETCH(QString, component);
        const StampEntry *e = findStampEntry(component);
        QVERIFY(e);
        if (!artwork::hasBitmap(e->resource))
            QSKIP("artwork not yet present");

        ToolState tool;
        busy(tool);
        // The status text is emptied last: by then the stamp and the mode
        // are already the entry's.
        QSize sizeAtSignal;
        int modeAtSignal = -1;
        connect(&tool, &ToolState::statusTextChanged, this, [&] {
            sizeAtSignal = tool.stamp.size();
            modeAtSignal = tool.mode;
        });
        applyStampEntry(tool, *e);

        QCOMPARE(tool.stamp, artwork::bitmap(e->resource));
        QCOMPARE(tool.stamp.size(), e->size);
        QCOMPARE(int(tool.mode), int(e->mode));
        QCOMPARE(tool.statusText(), QString());
        QCOMPARE(sizeAtSignal, e->size);
        QCOMPARE(modeAtSignal, int(e->mode));
        // Furniture selection is not touched by a stamp entry.
        QCOMPARE(int(tool.furnitureKind), 5);
        QCOMPARE(int(tool.view), 3);
    }

    void lookAlikeEntriesLoadTheirOwnPicture_data()
    {
        QTest::addColumn<QString>("component");
        QTest::addColumn<QString>("resource");
        QTest::addColumn<QString>("hint");
        QTest::newRow("teleporter A") << "Image46" << "TA" << "Teleporter-Falle";
        QTest::newRow("teleporter B") << "Image47" << "TB" << "Teleporter-Falle";
        QTest::newRow("blade across") << "Image39" << "FALLBH" << "Fallbeil";
        QTest::newRow("blade down") << "Image40" << "FALLBV" << "Fallbeil";
        QTest::newRow("marker showing 4") << "Image78" << "Z11" << "";
        QTest::newRow("marker showing 11") << "Image85" << "Z4" << "";
        QTest::newRow("marker showing 5") << "Image79" << "Z5" << "";
        QTest::newRow("monster of the tool bar") << "ToolButton1" << "GOBLIN" << "Goblin";
    }
    void lookAlikeEntriesLoadTheirOwnPicture()
    {
        QFETCH(QString, component);
        QFETCH(QString, resource);
        QFETCH(QString, hint);
        const StampEntry *e = findStampEntry(component);
        QVERIFY(e);
        QCOMPARE(e->resource, resource);
        QCOMPARE(e->hint, hint);
        if (!artwork::hasBitmap(resource))
            QSKIP("artwork not yet present");
        ToolState tool;
        applyStampEntry(tool, *e);
        QCOMPARE(tool.stamp, artwork::bitmap(resource));
        // ... and its look-alike partner loads a different one.
        if (e->hint.isEmpty() || e->page == 0)
            return;
        for (const StampEntry &other : stampEntries()) {
            if (other.hint == e->hint && other.component != e->component)
                QVERIFY(artwork::bitmap(other.resource) != tool.stamp);
        }
    }

    void toolsAndStatusOrder()
    {
        ToolState tool;
        tool.stamp = QImage(30, 30, QImage::Format_RGB32);
        const QImage before = tool.stamp;
        int modeAtSignal = -1;
        connect(&tool, &ToolState::statusTextChanged, this, [&] { modeAtSignal = tool.mode; });

        correctionTool(tool);
        QCOMPARE(int(tool.mode), 1);
        QCOMPARE(tool.statusText(), QStringLiteral("Korrektur-Modus"));
        QCOMPARE(modeAtSignal, 1);  // mode first, then the text

        fillTool(tool);
        QCOMPARE(int(tool.mode), 6);
        QCOMPARE(tool.statusText(), QStringLiteral("Füll-Modus"));
        QCOMPARE(modeAtSignal, 1);  // text first, then the mode
        QCOMPARE(tool.stamp, before);
    }

    void specialToolsSurviveFurnitureChoices_data()
    {
        QTest::addColumn<bool>("fill");
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("view");
        for (bool fill : {false, true}) {
            const char *tool = fill ? "fill" : "correction";
            QTest::addRow("%s, Tisch", tool) << fill << 3 << 0;
            QTest::addRow("%s, Thron", tool) << fill << 10 << 0;
            QTest::addRow("%s, view 2", tool) << fill << -1 << 2;
            QTest::addRow("%s, Truhe then view 4", tool) << fill << 9 << 4;
        }
    }
    void specialToolsSurviveFurnitureChoices()
    {
        QFETCH(bool, fill);
        QFETCH(int, kind);
        QFETCH(int, view);
        ToolState tool;
        tool.stamp = QImage(32, 32, QImage::Format_RGB32);
        tool.stamp.fill(Qt::green);
        const QImage stamp = tool.stamp;
        fill ? fillTool(tool) : correctionTool(tool);
        const quint8 mode = tool.mode;
        const QString text = tool.statusText();

        if (kind >= 0)
            QCOMPARE(chooseFurniture(tool, quint8(kind)), viewResource(quint8(kind), 1));
        if (view > 0)
            chooseView(tool, quint8(view));

        QCOMPARE(tool.mode, mode);
        QCOMPARE(tool.statusText(), text);
        QCOMPARE(tool.stamp, stamp);
        if (kind >= 0)
            QCOMPARE(int(tool.furnitureKind), kind);
        QCOMPARE(int(tool.view), view > 0 ? view : 1);

        if (!haveArtwork())
            return;
        // Only "Übernehmen" returns to stamping.
        takeFurniture(tool);
        QCOMPARE(int(tool.mode), 0);
        QCOMPARE(tool.statusText(), QString());
        QCOMPARE(tool.stamp, artwork::bitmap(viewResource(tool.furnitureKind, tool.view)));
    }

    void takeAtStartIsAltar()
    {
        if (!haveArtwork())
            QSKIP("artwork not yet present");
        ToolState tool;
        tool.mode = 6;
        tool.setStatusText(ToolState::kFillText);
        takeFurniture(tool);
        QCOMPARE(tool.stamp, artwork::bitmap(QStringLiteral("ALTAR1")));
        QCOMPARE(tool.stamp.size(), QSize(94, 62));
        QCOMPARE(int(tool.mode), 0);
        QCOMPARE(tool.statusText(), QString());
        // Twice is the same as once.
        takeFurniture(tool);
        QCOMPARE(tool.stamp, artwork::bitmap(QStringLiteral("ALTAR1")));
        QCOMPARE(int(tool.mode), 0);
    }

    void kindResetsView_data()
    {
        QTest::addColumn<int>("kind");
        for (const FurnitureKind &f : furnitureKinds())
            QTest::newRow(qPrintable(f.base)) << int(f.kind);
    }
    void kindResetsView()
    {
        QFETCH(int, kind);
        const FurnitureKind &f = furnitureKinds()[kind];
        ToolState tool;
        QCOMPARE(chooseView(tool, 3), QStringLiteral("ALTAR3"));  // start kind is the altar
        QCOMPARE(chooseFurniture(tool, quint8(kind)), f.base + QLatin1String("1"));
        QCOMPARE(int(tool.view), 1);
        QCOMPARE(viewResource(tool.furnitureKind, tool.view), f.base + QLatin1String("1"));
        if (!haveArtwork())
            return;
        takeFurniture(tool);
        QCOMPARE(tool.stamp, artwork::bitmap(f.base + QLatin1String("1")));
        // A choice after "Übernehmen" leaves the stamp alone.
        chooseView(tool, 2);
        chooseFurniture(tool, quint8((kind + 1) % 11));
        QCOMPARE(tool.stamp, artwork::bitmap(f.base + QLatin1String("1")));
    }

    void furnitureViewsHaveTheirSizes_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QSize>("size");
        const QSize across[11] = {{94, 62}, {94, 62}, {94, 62}, {94, 62}, {94, 30}, {94, 30},
                                  {94, 30}, {94, 30}, {94, 62}, {30, 30}, {30, 30}};
        for (const FurnitureKind &f : furnitureKinds()) {
            for (quint8 view = 1; view <= 4; ++view) {
                const QSize s = across[f.kind];
                QTest::newRow(qPrintable(viewResource(f.kind, view)))
                    << viewResource(f.kind, view) << (view % 2 ? s : s.transposed());
            }
        }
    }
    void furnitureViewsHaveTheirSizes()
    {
        QFETCH(QString, name);
        QFETCH(QSize, size);
        if (!artwork::hasBitmap(name))
            QSKIP("artwork not yet present");
        const QImage view = artwork::bitmap(name);
        QCOMPARE(view.size(), size);
        // The view picture hides exactly the blue ground.
        const QImage shown = viewPicture(view);
        QCOMPARE(qAlpha(shown.pixel(0, size.height() - 1)), 0);
        for (int y = 0; y < view.height(); ++y)
            for (int x = 0; x < view.width(); ++x)
                QCOMPARE(qAlpha(shown.pixel(x, y)) == 0,
                         raster::pixel(view, x, y) == raster::kTransparent);
    }

    void thumbnails_data()
    {
        QTest::addColumn<QString>("component");
        for (const StampEntry &e : stampEntries()) {
            if (e.page)
                QTest::newRow(qPrintable(e.component)) << e.component;
        }
    }
    void thumbnails()
    {
        QFETCH(QString, component);
        const StampEntry *e = findStampEntry(component);
        const QString name = thumbnailResource(e->component, e->resource);
        if (!hasPicture(name))
            QSKIP("artwork not yet present");
        const QImage t = thumbnail(*e);
        QVERIFY(!t.isNull());
        QVERIFY2(!hasPureBlue(t), "the palette shows white where the stamp is transparent");
        if (name == e->resource)
            QCOMPARE(t.size(), e->size);
        else if (component == QLatin1String("Image48"))
            QCOMPARE(t.size(), QSize(254, 222));
        // A box at natural size fits its picture.
        if (!e->scaled)
            QCOMPARE(t.size(), e->box.size());
    }

    void whiteGroundReplacesOnlyPureBlue()
    {
        QImage stamp(3, 1, QImage::Format_Indexed8);
        stamp.setColorTable({qRgb(0, 0, 255), qRgb(0, 0, 254), qRgb(10, 20, 30)});
        stamp.setPixel(0, 0, 0);
        stamp.setPixel(1, 0, 1);
        stamp.setPixel(2, 0, 2);
        const QImage t = whiteGround(stamp);
        QCOMPARE(t.pixel(0, 0), qRgb(255, 255, 255));
        QCOMPARE(t.pixel(1, 0), qRgb(0, 0, 254));
        QCOMPARE(t.pixel(2, 0), qRgb(10, 20, 30));
        QCOMPARE(whiteGround(stamp.convertToFormat(QImage::Format_RGB32)).pixel(0, 0),
                 qRgb(255, 255, 255));
    }

    // Every entry stamped on a fresh board, compared with the stored picture
    // (made by `palette_tool expected`).
    void everyEntryStampedOnABoard()
    {
        const QStringList missing = stampsheet::missing();
        if (!missing.isEmpty())
            QSKIP(qPrintable(QStringLiteral("artwork incomplete: ") + missing.join(' ')));
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
};

QTEST_GUILESS_MAIN(TestCatalogue)
#include "test_catalogue.moc"
