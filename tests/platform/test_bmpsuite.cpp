// Every file of the public BMP test suite through the map open path: it either
// opens with the same pixels on every load or is refused as not valid. The
// suite is not part of the repository: where it does not lie beside it
// (../shared/bmpsuite, or DK_BMPSUITE_DIR given to CMake), those tests are
// skipped; the project's own files are tested by test_raster.

#include "bmpcodec.h"
#include "errors.h"
#include "mapdocument.h"
#include "raster.h"

#include "bmpfiles.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

// Skips the calling test function when the suite is not there.
#define REQUIRE_SUITE()                                                                            \
    if (!QFileInfo(QStringLiteral(DK_BMPSUITE)).isDir())                                           \
        QSKIP("The BMP test suite is not beside this repository (" DK_BMPSUITE "): its files "     \
              "are not tested here.");

class TestBmpSuite : public QObject {
    Q_OBJECT

    static QStringList files(const QString &folder)
    {
        QDir dir(QStringLiteral(DK_BMPSUITE "/") + folder);
        QStringList paths;
        for (const QString &name :
             dir.entryList({QStringLiteral("*.bmp")}, QDir::Files, QDir::Name))
            paths << dir.filePath(name);
        return paths;
    }

    static bool samePixels(const QImage &a, const QImage &b)
    {
        if (a.size() != b.size())
            return false;
        for (int y = 0; y < a.height(); ++y)
            for (int x = 0; x < a.width(); ++x)
                if (raster::pixel(a, x, y) != raster::pixel(b, x, y))
                    return false;
        return true;
    }

private Q_SLOTS:
    void everyFileOpensDeterministicallyOrIsRefused_data()
    {
        REQUIRE_SUITE();
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("mustOpen");
        for (const QString folder : {"g", "q", "b", "x"})
            for (const QString &path : files(folder))
                QTest::newRow(qPrintable(folder + QLatin1Char('/') + QFileInfo(path).fileName()))
                    << path << (folder == QLatin1String("g"));
    }
    void everyFileOpensDeterministicallyOrIsRefused()
    {
        QFETCH(QString, path);
        QFETCH(bool, mustOpen);
        QImage first;
        try {
            first = raster::readBmpFile(path);
        } catch (const DkError &e) {
            QVERIFY2(!mustOpen, qPrintable(e.text()));
            QCOMPARE(e.text(), errors::invalidBitmap());
            return;
        }
        QVERIFY(!first.isNull());
        const QImage second = raster::readBmpFile(path);
        QVERIFY(samePixels(first, second));
        // It works as a map: a click and a repair do not fail.
        MapDocument doc(first);
        ToolState tool;
        tool.stamp = first;
        doc.mouseDown(Qt::LeftButton, 30, 30, tool);
        doc.repairEdge();
    }

    void savedFilesKeepDepthAndPixels_data()
    {
        REQUIRE_SUITE();
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("bits");
        QTest::newRow("pal4") << "g/pal4.bmp" << 4;
        QTest::newRow("pal4gs") << "g/pal4gs.bmp" << 4;
        QTest::newRow("pal4rle") << "g/pal4rle.bmp" << 4;
        QTest::newRow("pal8") << "g/pal8.bmp" << 8;
        QTest::newRow("pal8gs") << "g/pal8gs.bmp" << 8;
        QTest::newRow("pal8rle") << "g/pal8rle.bmp" << 8;
        QTest::newRow("pal8topdown") << "g/pal8topdown.bmp" << 8;
        QTest::newRow("pal8w124") << "g/pal8w124.bmp" << 8;
        QTest::newRow("pal8os2") << "g/pal8os2.bmp" << 8;
        QTest::newRow("rgb24") << "g/rgb24.bmp" << 24;
        QTest::newRow("rgb24pal") << "g/rgb24pal.bmp" << 24;
    }
    void savedFilesKeepDepthAndPixels()
    {
        QFETCH(QString, file);
        QFETCH(int, bits);
        QTemporaryDir dir;
        raster::BmpFormat format;
        const QImage picture = raster::readBmpFile(QStringLiteral(DK_BMPSUITE "/") + file, &format);
        const QString out = dir.filePath(QStringLiteral("out.bmp"));
        raster::writeBmpFile(picture, out, format);
        QFile f(out);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        QCOMPARE(int(qFromLittleEndian<quint16>(bytes.constData() + 28)), bits);
        QVERIFY(samePixels(raster::readBmpFile(out), picture));
    }

    // Every good file of the suite, opened and saved, comes back with its
    // depth, its masks and its pixels (alpha included); ImageMagick, where
    // installed, decodes the saved file to the same colours.
    void everyGoodFileComesBackInItsOwnFormat_data()
    {
        REQUIRE_SUITE();
        QTest::addColumn<QString>("path");
        for (const QString &path : files(QStringLiteral("g")))
            QTest::newRow(qPrintable(QFileInfo(path).fileName())) << path;
    }
    void everyGoodFileComesBackInItsOwnFormat()
    {
        QFETCH(QString, path);
        raster::BmpFormat format;
        const QImage picture = raster::readBmpFile(path, &format);
        QTemporaryDir dir;
        const QString out = dir.filePath(QStringLiteral("out.bmp"));
        raster::writeBmpFile(picture, out, format);
        raster::BmpFormat again;
        const QImage saved = raster::readBmpFile(out, &again);
        QVERIFY(again == format);
        QCOMPARE(saved.format(), picture.format());
        QVERIFY(samePixels(saved, picture));
        if (picture.format() == QImage::Format_RGB32)
            for (int y = 0; y < picture.height(); ++y)
                QVERIFY(!std::memcmp(saved.constScanLine(y), picture.constScanLine(y),
                                     size_t(picture.width()) * 4));
        const QVector<QRgb> theirs = bmpfiles::imageMagickPixels(out);
        if (theirs.isEmpty())
            return; // ImageMagick is not installed
        QCOMPARE(theirs.size(), picture.width() * picture.height());
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                QCOMPARE(raster::opaque(theirs[y * picture.width() + x]),
                         raster::pixel(picture, x, y));
    }

    void aHeaderPromisingMoreThanTheFileHoldsIsRefusedAtOnce()
    {
        // 30,000 x 30,000 pixels of 24 bits promised by a file of a few bytes.
        QByteArray bomb = bmpfiles::headers(30000, 30000, 24, 0, 0);
        bomb.append(QByteArray(100, '\x7f'));
        QElapsedTimer timer;
        timer.start();
        QVERIFY_THROWS_EXCEPTION(DkError, raster::readBmpData(bomb));
        // RLE data cannot promise more than a thousand pixels per byte either.
        QByteArray rle = bmpfiles::headers(20000, 20000, 8, 1, 256);
        rle.append(QByteArray("\x00\x01", 2));
        QVERIFY_THROWS_EXCEPTION(DkError, raster::readBmpData(rle));
    }

    void aTenThousandSquareMapStillOpens()
    {
        const int side = 10000;
        QByteArray data = bmpfiles::headers(side, side, 8, 0, 256);
        const int offset = data.size();
        data.resize(offset + side * side);
        std::memset(data.data() + offset, 255, size_t(side) * side);
        data[offset] = 0; // bottom-left pixel black
        const QImage picture = raster::readBmpData(data);
        QCOMPARE(picture.size(), QSize(side, side));
        QCOMPARE(picture.format(), QImage::Format_Indexed8);
        QCOMPARE(raster::pixel(picture, 0, side - 1), qRgb(0, 0, 0));
        QCOMPARE(raster::pixel(picture, 5000, 5000), qRgb(255, 255, 255));
    }
};

QTEST_GUILESS_MAIN(TestBmpSuite)
#include "test_bmpsuite.moc"
