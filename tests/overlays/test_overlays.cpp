// The logic of the own-overlay browsers: preview placement, the BMP listing,
// directory and drive lists, and showing and using a file with its failures.
#include "errors.h"
#include "mapdocument.h"
#include "overlayslot.h"
#include "raster.h"
#include "toolstate.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

using namespace overlays;

namespace {

QImage solid(int w, int h, QRgb colour) {
    QImage picture(w, h, QImage::Format_RGB32);
    picture.fill(colour);
    return picture;
}

// Runs f and returns the text of the DkError it throws, or "no error".
template <typename F> QString errorOf(F f) {
    try {
        f();
    } catch (const DkError &e) {
        return e.text();
    }
    return QStringLiteral("no error");
}

void touch(const QString &path, const QByteArray &content = QByteArray()) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

} // namespace

class TestOverlays : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void previewPlacement_data() {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QRect>("expected");
        QTest::newRow("94x94 natural") << QSize(94, 94) << QRect(0, 0, 94, 94);
        QTest::newRow("95x95 scaled") << QSize(95, 95) << QRect(0, 0, 94, 94);
        QTest::newRow("200x150 scaled") << QSize(200, 150) << QRect(0, 0, 94, 94);
        QTest::newRow("200x60 natural, cut") << QSize(200, 60) << QRect(-53, 17, 200, 60);
        QTest::newRow("94x200 natural") << QSize(94, 200) << QRect(0, -53, 94, 200);
        QTest::newRow("95x94 natural") << QSize(95, 94) << QRect(0, 0, 95, 94);
        QTest::newRow("60x60 centred") << QSize(60, 60) << QRect(17, 17, 60, 60);
        QTest::newRow("31x30 odd") << QSize(31, 30) << QRect(31, 32, 31, 30);
    }
    void previewPlacement() {
        QFETCH(QSize, size);
        QFETCH(QRect, expected);
        QCOMPARE(previewRect(size), expected);
    }

    void previewPixels() {
        // 200x60, left half red, right half pure blue: shown at natural size,
        // centred, so the box's left column is picture column 53.
        QImage wide = solid(200, 60, qRgb(255, 0, 0));
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

        // 200x150 in quadrants: stretched, each corner of the box keeps its colour.
        QImage big = solid(200, 150, qRgb(255, 0, 0));
        for (int y = 0; y < 150; ++y)
            for (int x = 0; x < 200; ++x)
                if (x >= 100 && y >= 75)
                    big.setPixel(x, y, qRgb(0, 0, 0));
        const QImage stretched = previewPicture(big);
        QCOMPARE(stretched.pixel(0, 0), qRgb(255, 0, 0));
        QCOMPARE(stretched.pixel(93, 93), qRgb(0, 0, 0));
        QCOMPARE(stretched.pixel(93, 0), qRgb(255, 0, 0));
    }

    void listsBmpFilesOnly() {
        QTemporaryDir tmp;
        for (const char *name : {"KARTE.BMP", "karte.bmp", "b.bmp", "a.Bmp", "notes.txt", "x.bmpx",
                                 ".hidden.bmp", "zz.bmp.txt"})
            touch(tmp.filePath(QString::fromLatin1(name)));
        QVERIFY(QDir(tmp.path()).mkdir(QStringLiteral("folder.bmp")));
        QCOMPARE(bmpFiles(tmp.path()), QStringList({"a.Bmp", "b.bmp", "KARTE.BMP", "karte.bmp"}));
    }

    void directoryChain() {
        QTemporaryDir tmp;
        const QString base = QDir(tmp.path()).canonicalPath();
        QDir(base).mkpath(QStringLiteral("inner/b"));
        QDir(base).mkpath(QStringLiteral("inner/A"));
        QDir(base).mkpath(QStringLiteral("inner/.hidden"));
        const QString inner = base + QStringLiteral("/inner");

        const QVector<DirEntry> entries = directoryEntries(inner);
        const int depth = int(inner.count(QLatin1Char('/')));
        QCOMPARE(entries.size(), depth + 1 + 2);
        QCOMPARE(entries.first().path, QStringLiteral("/"));
        QCOMPARE(entries.first().label, QStringLiteral("/"));
        const DirEntry &current = entries[depth];
        QCOMPARE(current.path, inner);
        QCOMPARE(current.label, QStringLiteral("inner"));
        QVERIFY(current.open && current.current);
        QCOMPARE(current.level, depth);
        QCOMPARE(entries[depth - 1].path, base);
        QVERIFY(entries[depth - 1].open && !entries[depth - 1].current);
        QCOMPARE(entries[depth + 1].label, QStringLiteral("A"));
        QCOMPARE(entries[depth + 2].label, QStringLiteral("b"));
        QCOMPARE(entries[depth + 2].path, inner + QStringLiteral("/b"));
        QCOMPARE(entries[depth + 2].level, depth + 1);
        QVERIFY(!entries[depth + 2].open);
    }

    void drivesOfMounts() {
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

        QCOMPARE(driveIndexFor(drives, QStringLiteral("/etc")), 0);
        QCOMPARE(driveIndexFor(drives, QStringLiteral("/home/anna")), 1);
        QCOMPARE(driveIndexFor(drives, QStringLiteral("/home/anna/Karten")), 1);
        QCOMPARE(driveIndexFor(drives, QStringLiteral("/home/annabel")), 0);
        QCOMPARE(driveIndexFor(drives, QStringLiteral("/media/anna/STICK/a/b")), 2);

        // A home directory that is the root adds no second drive.
        QCOMPARE(drivesFrom(QStringLiteral("/"), {}).size(), 1);
    }

    void showAndUse() {
        QTemporaryDir tmp;
        raster::writeBmpFile(solid(30, 30, qRgb(255, 0, 0)), tmp.filePath("karte.bmp"));

        OverlaySlot slot(tmp.path());
        QCOMPARE(slot.files(), QStringList({"karte.bmp"}));
        QVERIFY(slot.selectedFile().isEmpty());
        QVERIFY(!slot.previewEnabled());
        QVERIFY(slot.preview().isNull());
        QVERIFY(!slot.show()); // nothing selected: nothing happens
        QVERIFY(!slot.previewEnabled());

        slot.select(QStringLiteral("karte.bmp"));
        QCOMPARE(slot.fullPath(), QDir(tmp.path()).filePath("karte.bmp"));
        QVERIFY(slot.show());
        QVERIFY(slot.previewEnabled());
        QCOMPARE(slot.preview().pixel(47, 47), qRgb(255, 0, 0));

        // The file changes on disk after it was shown: the new one is stamped.
        raster::writeBmpFile(solid(62, 30, qRgb(0, 128, 0)), tmp.filePath("karte.bmp"));
        ToolState tool;
        tool.mode = ToolState::Correct;
        tool.setStatusText(ToolState::kCorrectionText);
        int modeWhenTextChanged = -1;
        connect(&tool, &ToolState::statusTextChanged, this,
                [&] { modeWhenTextChanged = tool.mode; });
        slot.use(tool);
        QCOMPARE(tool.stamp.size(), QSize(62, 30));
        QCOMPARE(raster::pixel(tool.stamp, 10, 10), qRgb(0, 128, 0));
        QCOMPARE(tool.mode, quint8(ToolState::Square));
        QCOMPARE(tool.statusText(), QString());
        QCOMPARE(modeWhenTextChanged, int(ToolState::Correct));  // text first, then mode
        QCOMPARE(slot.preview().pixel(47, 47), qRgb(255, 0, 0)); // the preview is not re-read
    }

    void failuresChangeNothing_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("invalid") << "invalid";
        QTest::newRow("deleted") << "deleted";
        QTest::newRow("unreadable") << "unreadable";
    }
    void failuresChangeNothing() {
        QFETCH(QString, kind);
        QTemporaryDir tmp;
        raster::writeBmpFile(solid(30, 30, qRgb(255, 0, 0)), tmp.filePath("good.bmp"));
        const QString bad = tmp.filePath("bad.bmp");
        if (kind == QLatin1String("invalid"))
            touch(bad, QByteArray("BMnot a picture at all, but long enough to have a header"));
        else
            raster::writeBmpFile(solid(10, 10, qRgb(0, 0, 0)), bad);

        OverlaySlot slot(tmp.path());
        slot.select(QStringLiteral("good.bmp"));
        slot.show();
        const QImage shown = slot.preview();
        slot.select(QStringLiteral("bad.bmp"));

        QString expected = errors::invalidBitmap();
        if (kind != QLatin1String("invalid")) {
            expected = errors::cannotOpen(bad);
            if (kind == QLatin1String("deleted")) {
                QVERIFY(QFile::remove(bad));
            } else {
                if (::geteuid() == 0)
                    QSKIP("file permissions do not stop the superuser");
                QVERIFY(QFile::setPermissions(bad, QFileDevice::Permissions()));
            }
        }

        QCOMPARE(errorOf([&] { slot.show(); }), expected);
        QCOMPARE(slot.preview(), shown);
        QVERIFY(slot.previewEnabled());

        ToolState tool;
        tool.stamp = solid(5, 5, qRgb(1, 2, 3));
        tool.mode = ToolState::Fill;
        tool.setStatusText(ToolState::kFillText);
        QCOMPARE(errorOf([&] { slot.use(tool); }), expected);
        QCOMPARE(tool.stamp, solid(5, 5, qRgb(1, 2, 3)));
        QCOMPARE(tool.mode, quint8(ToolState::Fill));
        QCOMPARE(tool.statusText(), ToolState::kFillText);
    }

    void emptyFile() {
        QTemporaryDir tmp;
        raster::writeBmpFile(solid(30, 30, qRgb(255, 0, 0)), tmp.filePath("a.bmp"));
        touch(tmp.filePath("leer.bmp"));
        OverlaySlot slot(tmp.path());
        slot.select(QStringLiteral("a.bmp"));
        slot.show();
        slot.select(QStringLiteral("leer.bmp"));
        QVERIFY(slot.show());
        QVERIFY(slot.previewEnabled());
        QCOMPARE(qAlpha(slot.preview().pixel(47, 47)), 0); // the earlier picture is gone

        ToolState tool;
        tool.mode = ToolState::Fill;
        slot.use(tool);
        QVERIFY(tool.stamp.isNull());
        QCOMPARE(tool.mode, quint8(ToolState::Square));
        MapDocument map;
        const QImage before = map.picture();
        map.mouseDown(Qt::LeftButton, 100, 100, tool);
        QCOMPARE(map.picture(), before);
    }

    void stampLeavesOutBlue() {
        // A picture of the user's: black with a pure blue left half.
        QTemporaryDir tmp;
        QImage own = solid(30, 30, qRgb(0, 0, 0));
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 15; ++x)
                own.setPixel(x, y, raster::kTransparent);
        raster::writeBmpFile(own, tmp.filePath("eigen.bmp"));
        OverlaySlot slot(tmp.path());
        slot.select(QStringLiteral("eigen.bmp"));
        ToolState tool;
        slot.use(tool);

        MapDocument map;
        const QImage before = map.picture();
        // A click in the square at column 2, row 2: the stamp goes to (89, 89).
        map.mouseDown(Qt::LeftButton, 24 + 2 * 32 + 5, 24 + 2 * 32 + 5, tool);
        const QImage &after = map.picture();
        QCOMPARE(after.format(), before.format());
        for (int y = 89; y < 119; ++y) {
            for (int x = 89; x < 119; ++x) {
                if (x < 89 + 15)
                    QCOMPARE(raster::pixel(after, x, y), raster::pixel(before, x, y));
                else
                    QCOMPARE(raster::pixel(after, x, y), qRgb(0, 0, 0));
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestOverlays)
#include "test_overlays.moc"
