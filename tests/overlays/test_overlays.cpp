// The own-overlay browsers: preview placement, the BMP listing, directory
// and drive lists, showing and using a file with its failures, and the three
// browser pages with their handlers and walking.
#include "errors.h"
#include "mapdocument.h"
#include "overlaybrowser.h"
#include "overlayslot.h"
#include "raster.h"
#include "testhelpers.h"
#include "toolstate.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

using namespace overlays;

namespace {

QStringList texts(const QListWidget *list)
{
    QStringList result;
    for (int i = 0; i < list->count(); ++i)
        result << list->item(i)->text();
    return result;
}

OverlayBrowser *browserAt(QTabWidget &tabs, int i)
{
    return qobject_cast<OverlayBrowser *>(tabs.widget(i));
}

// A tool state busy with something else, to see that failures leave it.
void busy(ToolState &tool)
{
    tool.stamp = solidPicture(5, 5, qRgb(1, 2, 3));
    tool.mode = board::Mode::Restore;
    tool.setStatusText(ToolState::kCorrectionText);
}

void verifyStillBusy(const ToolState &tool)
{
    QCOMPARE(tool.stamp, solidPicture(5, 5, qRgb(1, 2, 3)));
    QCOMPARE(tool.mode, board::Mode::Restore);
    QCOMPARE(tool.statusText(), ToolState::kCorrectionText);
}

} // namespace

// Stands in for the program's error report: keeps the text of the last
// DkError that escaped an event handler.
class ReportingApplication : public QApplication {
public:
    using QApplication::QApplication;
    QString lastError;
    bool notify(QObject *receiver, QEvent *event) override
    {
        try {
            return QApplication::notify(receiver, event);
        } catch (const DkError &e) {
            lastError = e.text();
        }
        return false;
    }
};

class TestOverlays : public QObject {
    Q_OBJECT

    QTemporaryDir m_tmp;
    QString folder(const QString &name) const { return QDir(m_tmp.path()).filePath(name); }

private Q_SLOTS:
    void initTestCase()
    {
        QDir root(m_tmp.path());
        for (const char *name : {"eins", "zwei", "drei", "eins/unter"})
            QVERIFY(root.mkpath(QString::fromLatin1(name)));
        writeSolidBmp(folder("eins/rot.bmp"), qRgb(255, 0, 0), 30, 30);
        writeSolidBmp(folder("zwei/GRUEN.BMP"), qRgb(0, 128, 0), 200, 150);
        writeSolidBmp(folder("drei/schwarz.bmp"), qRgb(0, 0, 0), 60, 60);
        writeSolidBmp(folder("drei/Anders.Bmp"), qRgb(9, 9, 9), 60, 60);
    }

    void previewPlacement_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QRect>("expected");
        QTest::newRow("95x95 scaled") << QSize(95, 95) << QRect(0, 0, 94, 94);
        QTest::newRow("95x94 natural") << QSize(95, 94) << QRect(0, 0, 95, 94);
        QTest::newRow("31x30 odd") << QSize(31, 30) << QRect(31, 32, 31, 30);
    }
    void previewPlacement()
    {
        QFETCH(QSize, size);
        QFETCH(QRect, expected);
        QCOMPARE(previewRect(size), expected);
    }

    void previewPixels()
    {
        // 200x60, left half red, right half pure blue: shown at natural size,
        // centred and cut, so the box's left column is picture column 53 and
        // its row 17 the picture's top.
        QImage wide = solidPicture(200, 60, qRgb(255, 0, 0));
        for (int y = 0; y < 60; ++y)
            for (int x = 100; x < 200; ++x)
                wide.setPixel(x, y, raster::kTransparent);
        wide.setPixel(53, 0, qRgb(0, 255, 0));
        const QImage box = previewPicture(wide);
        QCOMPARE(box.size(), QSize(94, 94));
        QCOMPARE(box.pixel(0, 17), qRgb(0, 255, 0));
        QCOMPARE(box.pixel(46, 40), qRgb(255, 0, 0));
        QCOMPARE(box.pixel(47, 40), raster::kTransparent); // blue shows as it is
        QCOMPARE(qAlpha(box.pixel(40, 16)), 0);            // above the picture
        QCOMPARE(qAlpha(box.pixel(40, 77)), 0);            // below it
        // A big picture is stretched: the far quadrant keeps its colour.
        QImage big = solidPicture(200, 150, qRgb(255, 0, 0));
        for (int y = 75; y < 150; ++y)
            for (int x = 100; x < 200; ++x)
                big.setPixel(x, y, qRgb(0, 0, 0));
        QCOMPARE(previewPicture(big).pixel(93, 93), qRgb(0, 0, 0));
    }

    void listsBmpFilesOnly()
    {
        QTemporaryDir tmp;
        for (const char *name : {"KARTE.BMP", "karte.bmp", "b.bmp", "a.Bmp", "notes.txt", "x.bmpx",
                                 ".hidden.bmp", "zz.bmp.txt"})
            QVERIFY(writeBytes(tmp.filePath(QString::fromLatin1(name)), QByteArray()));
        QVERIFY(QDir(tmp.path()).mkdir(QStringLiteral("folder.bmp")));
        QCOMPARE(bmpFiles(tmp.path()), QStringList({"a.Bmp", "b.bmp", "KARTE.BMP", "karte.bmp"}));
    }

    void directoryChain()
    {
        QTemporaryDir tmp;
        const QString base = QDir(tmp.path()).canonicalPath();
        for (const char *sub : {"inner/b", "inner/A", "inner/.hidden"})
            QDir(base).mkpath(QString::fromLatin1(sub));
        const QString inner = base + QStringLiteral("/inner");
        const QVector<DirEntry> entries = directoryEntries(inner);
        const int depth = int(inner.count(QLatin1Char('/')));
        QCOMPARE(entries.size(), depth + 1 + 2);
        QCOMPARE(entries.first().path, QStringLiteral("/"));
        const DirEntry &current = entries[depth];
        QCOMPARE(current.label, QStringLiteral("inner"));
        QVERIFY(current.open && current.current);
        QVERIFY(entries[depth - 1].open && !entries[depth - 1].current);
        QCOMPARE(entries[depth + 1].label, QStringLiteral("A"));
        QCOMPARE(entries[depth + 2].path, inner + QStringLiteral("/b"));
        QCOMPARE(entries[depth + 2].level, depth + 1);
        QVERIFY(!entries[depth + 2].open);
    }

    void drivesOfMounts()
    {
        const QVector<Mount> mounts = {
            {"/", "ext4"},
            {"/boot", "ext4"},
            {"/run/media/anna/tmp", "tmpfs"},
            {"/media/anna/STICK", "vfat"},
            {"/proc", "proc"},
            {"/mnt/data", "ext4"},
            {"/media/anna/STICK", "vfat"},
            {"/run/media/anna/CD", "iso9660"},
        };
        const QVector<Drive> drives = drivesFrom(QStringLiteral("/home/anna"), mounts);
        QStringList roots;
        for (const Drive &d : drives)
            roots << d.root;
        QCOMPARE(roots, QStringList({"/", "/home/anna", "/media/anna/STICK", "/mnt/data",
                                     "/run/media/anna/CD"}));
        QCOMPARE(drives[2].label, QStringLiteral("STICK"));
        QCOMPARE(driveIndexFor(drives, QStringLiteral("/home/anna/Karten")), 1);
        QCOMPARE(driveIndexFor(drives, QStringLiteral("/home/annabel")), 0);
        QCOMPARE(driveIndexFor(drives, QStringLiteral("/media/anna/STICK/a/b")), 2);
        // A home directory that is the root adds no second drive.
        QCOMPARE(drivesFrom(QStringLiteral("/"), {}).size(), 1);
    }

    void showAndUse()
    {
        QTemporaryDir tmp;
        writeSolidBmp(tmp.filePath("karte.bmp"), qRgb(255, 0, 0), 30, 30);
        OverlaySlot slot(tmp.path());
        QVERIFY(!slot.show()); // nothing selected: nothing happens
        QVERIFY(!slot.previewEnabled());
        slot.select(QStringLiteral("karte.bmp"));
        QVERIFY(slot.show());
        QVERIFY(slot.previewEnabled());
        QCOMPARE(slot.preview().pixel(47, 47), qRgb(255, 0, 0));

        // The file changes on disk after it was shown: the new one is stamped.
        writeSolidBmp(tmp.filePath("karte.bmp"), qRgb(0, 128, 0), 62, 30);
        ToolState tool;
        busy(tool);
        board::Mode modeWhenTextChanged = board::Mode::Fill;
        connect(&tool, &ToolState::statusTextChanged, this,
                [&] { modeWhenTextChanged = tool.mode; });
        slot.use(tool);
        QCOMPARE(tool.stamp.size(), QSize(62, 30));
        QCOMPARE(raster::pixel(tool.stamp, 10, 10), qRgb(0, 128, 0));
        QCOMPARE(tool.mode, board::Mode::Interior);
        QCOMPARE(tool.statusText(), QString());
        QCOMPARE(modeWhenTextChanged, board::Mode::Restore);     // text first, then mode
        QCOMPARE(slot.preview().pixel(47, 47), qRgb(255, 0, 0)); // the preview is not re-read
    }

    void failuresChangeNothing_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("invalid") << "invalid";
        QTest::newRow("deleted") << "deleted";
        QTest::newRow("unreadable") << "unreadable";
    }
    void failuresChangeNothing()
    {
        QFETCH(QString, kind);
        QTemporaryDir tmp;
        writeSolidBmp(tmp.filePath("good.bmp"), qRgb(255, 0, 0), 30, 30);
        const QString bad = tmp.filePath("bad.bmp");
        QString expected = errors::cannotOpen(bad);
        if (kind == QLatin1String("invalid")) {
            QVERIFY(writeBytes(
                bad, QByteArray("BMnot a picture at all, but long enough to have a header")));
            expected = errors::invalidBitmap();
        } else {
            writeSolidBmp(bad, qRgb(0, 0, 0), 10, 10);
        }
        OverlaySlot slot(tmp.path());
        slot.select(QStringLiteral("good.bmp"));
        slot.show();
        const QImage shown = slot.preview();
        slot.select(QStringLiteral("bad.bmp"));
        if (kind == QLatin1String("deleted"))
            QVERIFY(QFile::remove(bad));
        if (kind == QLatin1String("unreadable")) {
            if (::geteuid() == 0)
                QSKIP("file permissions do not stop the superuser");
            QVERIFY(QFile::setPermissions(bad, QFileDevice::Permissions()));
        }
        QCOMPARE(errorOf([&] { slot.show(); }), expected);
        QCOMPARE(slot.preview(), shown);
        QVERIFY(slot.previewEnabled());
        ToolState tool;
        busy(tool);
        QCOMPARE(errorOf([&] { slot.use(tool); }), expected);
        verifyStillBusy(tool);
    }

    void emptyFileStampsNothing()
    {
        QTemporaryDir tmp;
        writeSolidBmp(tmp.filePath("a.bmp"), qRgb(255, 0, 0), 30, 30);
        QVERIFY(writeBytes(tmp.filePath("leer.bmp"), QByteArray()));
        OverlaySlot slot(tmp.path());
        slot.select(QStringLiteral("a.bmp"));
        slot.show();
        slot.select(QStringLiteral("leer.bmp"));
        QVERIFY(slot.show());
        QCOMPARE(qAlpha(slot.preview().pixel(47, 47)), 0); // the earlier picture is gone
        ToolState tool;
        tool.mode = board::Mode::Fill;
        slot.use(tool);
        QCOMPARE(tool.mode, board::Mode::Interior);
        MapDocument map;
        const QImage before = map.picture();
        map.mouseDown(Qt::LeftButton, 100, 100, tool);
        QCOMPARE(map.picture(), before);
    }

    void walkChooseAndUse()
    {
        ToolState tool;
        OverlayBrowser b(1, tool);
        b.show();
        QVERIFY(QTest::qWaitForWindowExposed(&b));
        // The disabled preview ignores clicks.
        tool.mode = board::Mode::Fill;
        QTest::mouseClick(b.previewBox(), Qt::LeftButton);
        QCoreApplication::processEvents();
        QCOMPARE(tool.mode, board::Mode::Fill);

        QCOMPARE(b.driveBox()->itemData(0).toString(), QStringLiteral("/"));
        Q_EMIT b.driveBox()->activated(0);
        QCOMPARE(b.slot().directory(), QStringLiteral("/"));
        // Entering a directory by activating its line.
        b.setDirectory(m_tmp.path());
        QListWidget *dirs = b.directoryList();
        Q_EMIT dirs->itemActivated(dirs->findItems("eins", Qt::MatchExactly).value(0));
        QCOMPARE(b.slot().directory(), QDir(folder("eins")).absolutePath());
        QCOMPARE(dirs->currentItem()->text(), QStringLiteral("eins"));
        QCOMPARE(dirs->item(dirs->count() - 1)->text(), QStringLiteral("unter"));
        QCOMPARE(texts(b.fileList()), QStringList({"rot.bmp"}));

        // Choosing the file shows it; a click on the preview stamps it after the click event.
        b.selectFile(QStringLiteral("rot.bmp"));
        QVERIFY(b.previewBox()->isEnabled());
        QTest::mouseClick(b.previewBox(), Qt::LeftButton);
        QCOMPARE(tool.mode, board::Mode::Fill);
        QCoreApplication::processEvents();
        QCOMPARE(tool.stamp.size(), QSize(30, 30));
        QCOMPARE(tool.mode, board::Mode::Interior);

        // Another directory: the selection goes, the preview stays enabled.
        b.setDirectory(folder("drei"));
        QVERIFY(b.fileList()->selectedItems().isEmpty());
        QCOMPARE(b.previewBox()->picture().pixel(47, 47), qRgb(255, 0, 0));
    }

    void userSelectionReportsFailures()
    {
        // Each new selection is shown after its event; a broken file is
        // reported and the preview keeps the picture before it.
        auto &app = static_cast<ReportingApplication &>(*qApp);
        QVERIFY(
            writeBytes(folder("drei/kaputt.bmp"), "BM this is no picture at all, not even close"));
        ToolState tool;
        OverlayBrowser b(2, tool);
        b.setDirectory(folder("drei"));
        QCOMPARE(texts(b.fileList()), QStringList({"Anders.Bmp", "kaputt.bmp", "schwarz.bmp"}));
        b.fileList()->setCurrentRow(0);
        QVERIFY(!b.previewBox()->isEnabled());
        QCoreApplication::processEvents();
        QCOMPARE(b.previewBox()->picture().pixel(47, 47), qRgb(9, 9, 9));
        app.lastError.clear();
        b.fileList()->setCurrentRow(1);
        QCoreApplication::processEvents();
        QCOMPARE(app.lastError, errors::invalidBitmap());
        QCOMPARE(b.previewBox()->picture().pixel(47, 47), qRgb(9, 9, 9));
        QVERIFY(QFile::remove(folder("drei/kaputt.bmp")));

        // A click on the preview after a change of directory: nothing is
        // selected, the report says so and the tool state stays.
        b.setDirectory(folder("eins"));
        b.show();
        QVERIFY(QTest::qWaitForWindowExposed(&b));
        busy(tool);
        QTest::mouseClick(b.previewBox(), Qt::LeftButton);
        QCoreApplication::processEvents();
        QCOMPARE(app.lastError, QStringLiteral("Cannot open file "));
        verifyStillBusy(tool);
    }

    void hidingKeepsEachBrowser()
    {
        QTabWidget tabs;
        ToolState tool;
        addOverlayBrowsers(&tabs, tool);
        QCOMPARE(tabs.count(), 3);
        for (int i = 0; i < 3; ++i) { // each starts in the process's directory, preview off
            QCOMPARE(tabs.tabText(i), QString::number(i + 1));
            QCOMPARE(browserAt(tabs, i)->slot().directory(), QDir::currentPath());
            QVERIFY(!browserAt(tabs, i)->previewBox()->isEnabled());
        }
        tabs.show();
        const QStringList dirs = {"eins", "zwei", "drei"};
        const QStringList files = {"rot.bmp", "GRUEN.BMP", "schwarz.bmp"};
        for (int i = 0; i < 3; ++i) {
            browserAt(tabs, i)->setDirectory(folder(dirs[i]));
            browserAt(tabs, i)->selectFile(files[i]);
        }
        tabs.hide();
        tabs.setCurrentIndex(2);
        tabs.show();
        for (int i = 0; i < 3; ++i) {
            const OverlayBrowser *b = browserAt(tabs, i);
            QCOMPARE(b->slot().directory(), QDir(folder(dirs[i])).absolutePath());
            QCOMPARE(b->fileList()->selectedItems().value(0)->text(), files[i]);
            QVERIFY(b->previewBox()->isEnabled());
        }
        // Each preview stamps its own file.
        browserAt(tabs, 1)->imageClick();
        QCOMPARE(tool.stamp.size(), QSize(200, 150));
        browserAt(tabs, 0)->imageClick();
        QCOMPARE(tool.stamp.size(), QSize(30, 30));
    }
};

int main(int argc, char **argv)
{
    ReportingApplication app(argc, argv);
    QTEST_SET_MAIN_SOURCE_PATH
    TestOverlays test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_overlays.moc"
