// What the program writes and decodes depends on the picture alone, never on
// what the heap held before: every way a BMP comes in (map file, own overlay,
// quest picture from a file and from the clipboard) and every way one goes
// out (map save, saved pictures built in memory) runs in two child processes
// whose allocators fill fresh and freed memory with different bytes
// (MALLOC_PERTURB_, or ASan's fill byte in the sanitizer build). The two runs
// must give the same bytes.

#include "application.h"
#include "bmpcodec.h"
#include "bmpfiles.h"
#include "errors.h"
#include "mapdocument.h"
#include "mapfile.h"
#include "mapwindow.h"
#include "overlayslot.h"
#include "questeditor.h"
#include "scripteddialogs.h"
#include "testhelpers.h"

#include <QClipboard>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMenu>
#include <QMimeData>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString kSuite = QStringLiteral(DK_BMPSUITE);

// A picture as bytes: format, size, colour table and each row's pixels
// without the row padding.
QByteArray pixelDump(const QImage &picture)
{
    QByteArray out = QStringLiteral("%1 %2x%3\n")
                         .arg(int(picture.format()))
                         .arg(picture.width())
                         .arg(picture.height())
                         .toLatin1();
    for (const QRgb c : picture.colorTable())
        out += QByteArray::number(c, 16) + ' ';
    out += '\n';
    const qsizetype rowBytes = (qsizetype(picture.width()) * picture.depth() + 7) / 8;
    for (int y = 0; y < picture.height(); ++y)
        out.append(reinterpret_cast<const char *>(picture.constScanLine(y)), rowBytes);
    return out;
}

// Runs one way in, storing its result (or its error text) under `name`.
template <typename F> void record(const QString &outDir, const QString &name, F way)
{
    QByteArray result;
    try {
        result = way();
    } catch (const DkError &e) {
        result = "error: " + e.text().toUtf8();
    }
    writeBytes(outDir + QLatin1Char('/') + name, result);
}

// A BMP picture on the clipboard as another program offers it: as
// "image/bmp" only. The platform's clipboard then also answers the request
// for a picture by decoding those bytes with Qt's own reader.
class ForeignBmp : public QMimeData {
public:
    explicit ForeignBmp(const QByteArray &bytes) { setData(QStringLiteral("image/bmp"), bytes); }
    bool hasFormat(const QString &type) const override
    {
        return type == QLatin1String("application/x-qt-image") || QMimeData::hasFormat(type);
    }
    QStringList formats() const override
    {
        return QMimeData::formats() << QStringLiteral("application/x-qt-image");
    }

protected:
    QVariant retrieveData(const QString &type, QMetaType metaType) const override
    {
        if (type == QLatin1String("application/x-qt-image"))
            return QImage::fromData(data(QStringLiteral("image/bmp")));
        return QMimeData::retrieveData(type, metaType);
    }
};

// Saves through a map window's "Speichern als..." as the user would.
QByteArray saveThroughMapWindow(MapWindow &map, ScriptedDialogs &script, const QString &target)
{
    script.saveAnswers << target;
    map.mapMenu()->actions().at(3)->trigger();
    if (!script.errors.isEmpty())
        return "error: " + script.errors.takeFirst().toUtf8();
    return readBytes(target);
}

// Pictures built in memory row by row, as drawing builds them: only each
// row's pixels are set, never its padding.
QList<QPair<QString, QImage>> builtPictures()
{
    QList<QPair<QString, QImage>> pictures;
    QVector<QRgb> grey(256), sixteen(16);
    for (int i = 0; i < 256; ++i)
        grey[i] = qRgb(i, i, i);
    for (int i = 0; i < 16; ++i)
        sixteen[i] = qRgb(i * 17, i * 17, i * 17);
    const auto indexed = [](int w, int h, const QVector<QRgb> &table) {
        QImage p(w, h, QImage::Format_Indexed8);
        p.setColorTable(table);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                p.scanLine(y)[x] = uchar((x + 3 * y) % table.size());
        return p;
    };
    pictures.append({QStringLiteral("built-pal8-127"), indexed(127, 9, grey)});
    pictures.append({QStringLiteral("built-pal8-881"), indexed(881, 3, grey)});
    pictures.append({QStringLiteral("built-pal4-13"), indexed(13, 7, sixteen)});
    QImage rgb(127, 5, QImage::Format_RGB32);
    for (int y = 0; y < rgb.height(); ++y)
        for (int x = 0; x < rgb.width(); ++x)
            reinterpret_cast<QRgb *>(rgb.scanLine(y))[x] = qRgb(x, y * 40, 255 - x);
    pictures.append({QStringLiteral("built-rgb24-127"), rgb});
    return pictures;
}

// The child: every way in for every file of `inDir`, every way out, results
// into `outDir`.
int dumpAll(const QString &inDir, const QString &outDir)
{
    ScriptedDialogs script;
    ToolState tool;
    PreviewState preview;
    const QStringList names =
        QDir(inDir).entryList({QStringLiteral("*.bmp")}, QDir::Files, QDir::Name);
    for (const QString &name : names) {
        const QString path = inDir + QLatin1Char('/') + name;
        const QString base = outDir + QLatin1Char('/') + name;

        // "Öffnen..." and "Speichern als..." of the map.
        record(outDir, name + QStringLiteral(".map-open"),
               [&] { return pixelDump(mapfile::read(path)); });
        record(outDir, name + QStringLiteral(".encode"),
               [&] { return raster::encodeBmp(raster::readBmpFile(path)); });
        record(outDir, name + QStringLiteral(".map-save"), [&] {
            MapWindow map(tool, preview, MapDocument(mapfile::read(path)), path);
            return saveThroughMapWindow(map, script, base + QStringLiteral(".saved.bmp"));
        });

        // An own overlay: the preview and the stamp.
        overlays::OverlaySlot slot(inDir);
        slot.select(name);
        record(outDir, name + QStringLiteral(".overlay-preview"), [&] {
            slot.show();
            return pixelDump(slot.preview());
        });
        record(outDir, name + QStringLiteral(".overlay-stamp"), [&] {
            slot.use(tool);
            return pixelDump(tool.stamp);
        });

        // The quest editor's map picture: "Laden..." and "Aus Zwischenablage"
        // with the file's bytes offered as image/bmp only.
        record(outDir, name + QStringLiteral(".quest-file"), [&] {
            QuestEditor editor;
            script.openAnswers << path;
            editor.loadPicture();
            return pixelDump(editor.mapPicture());
        });
        record(outDir, name + QStringLiteral(".quest-clipboard"), [&] {
            QGuiApplication::clipboard()->setMimeData(new ForeignBmp(readBytes(path)));
            QuestEditor editor;
            editor.pastePicture();
            return pixelDump(editor.mapPicture()) + editor.statusText().toUtf8();
        });
    }

    // Pictures made in memory: saved directly, after a click on a map, and
    // through the clipboard into the quest editor.
    for (const auto &[name, picture] : builtPictures()) {
        const QString base = outDir + QLatin1Char('/') + name;
        record(outDir, name + QStringLiteral(".save"), [&] {
            raster::writeBmpFile(picture, base + QStringLiteral(".bmp"));
            return readBytes(base + QStringLiteral(".bmp"));
        });
        record(outDir, name + QStringLiteral(".encode"),
               [&] { return raster::encodeBmp(picture); });
        record(outDir, name + QStringLiteral(".map-click-save"), [&] {
            MapWindow map(tool, preview, MapDocument(picture), base + QStringLiteral(".karte.bmp"));
            tool.mode = board::Mode::Interior;
            tool.stamp = picture.copy(0, 0, 5, 5);
            map.document().mouseDown(Qt::LeftButton, 30, 30, tool);
            return saveThroughMapWindow(map, script, base + QStringLiteral(".clicked.bmp"));
        });
        record(outDir, name + QStringLiteral(".quest-clipboard"), [&] {
            MapWindow map(tool, preview, MapDocument(picture), base + QStringLiteral(".karte.bmp"));
            map.copyToClipboard();
            QuestEditor editor;
            editor.pastePicture();
            return pixelDump(editor.mapPicture());
        });
    }
    return 0;
}

// Runs the child with the allocator filling memory with `fill`.
bool runChild(const QString &inDir, const QString &outDir, int fill, QString *log)
{
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("MALLOC_PERTURB_"), QString::number(fill));
    if (env.contains(QStringLiteral("ASAN_OPTIONS")))
        env.insert(
            QStringLiteral("ASAN_OPTIONS"),
            env.value(QStringLiteral("ASAN_OPTIONS")) +
                QStringLiteral(":malloc_fill_byte=%1:max_malloc_fill_size=1073741824").arg(fill));
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--dump"), inDir, outDir});
    const bool done = child.waitForFinished(240000);
    *log = QString::fromLocal8Bit(child.readAll());
    return done && child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0;
}

} // namespace

class TestDeterminism : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void everyWayInAndOutGivesTheSameBytesWhateverTheHeapHeld()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString in = dir.filePath(QStringLiteral("in"));
        QVERIFY(QDir().mkpath(in));
        for (const auto &[name, bytes] : bmpfiles::cases())
            writeBytes(in + QLatin1Char('/') + name + QStringLiteral(".bmp"), bytes);
        // The public BMP test set too, where it lies beside the repository.
        int suiteFiles = 0;
        if (!QFileInfo(kSuite).isDir())
            qInfo("The BMP test suite is not beside this repository (%s): only the project's own "
                  "files are checked.",
                  qPrintable(kSuite));
        QDirIterator it(kSuite, {QStringLiteral("*.bmp")}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            const QString folder = QFileInfo(path).dir().dirName();
            QVERIFY(
                QFile::copy(path, in + QStringLiteral("/suite-%1-%2").arg(folder, it.fileName())));
            ++suiteFiles;
        }
        qInfo("%d files of the project's own set, %d of the BMP test set",
              int(bmpfiles::cases().size()), suiteFiles);

        QStringList outs;
        for (const int fill : {85, 170}) {
            const QString out = dir.filePath(QStringLiteral("out%1").arg(fill));
            QVERIFY(QDir().mkpath(out));
            QString log;
            QVERIFY2(runChild(in, out, fill, &log), qPrintable(log));
            outs << out;
        }

        const QStringList results = QDir(outs[0]).entryList(QDir::Files, QDir::Name);
        QStringList differing;
        int compared = 0;
        for (const QString &name : results) {
            if (name.endsWith(QLatin1String(".bmp")))
                continue; // the saved files themselves, compared through their records
            ++compared;
            if (readBytes(outs[0] + QLatin1Char('/') + name) !=
                readBytes(outs[1] + QLatin1Char('/') + name)) {
                qWarning("depends on the heap: %s", qPrintable(name));
                differing << name;
            }
        }
        QVERIFY(compared > 0);
        QCOMPARE(QDir(outs[1]).entryList(QDir::Files, QDir::Name), results);
        QVERIFY2(differing.isEmpty(),
                 qPrintable(QStringLiteral("%1 of %2 results depend on the heap")
                                .arg(differing.size())
                                .arg(compared)));
    }
};

int main(int argc, char **argv)
{
    Application app(argc, argv);
    if (argc == 4 && qstrcmp(argv[1], "--dump") == 0)
        return dumpAll(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    TestDeterminism test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_determinism.moc"
