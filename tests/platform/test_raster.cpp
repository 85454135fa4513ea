#include "errors.h"
#include "raster.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "testhelpers.h"

class TestRaster : public QObject {
    Q_OBJECT

    static QImage greyIndexed(int w, int h, int level)
    {
        QImage image(w, h, QImage::Format_Indexed8);
        QVector<QRgb> table(256);
        for (int i = 0; i < 256; ++i)
            table[i] = qRgb(i, i, i);
        image.setColorTable(table);
        image.fill(level);
        return image;
    }

private Q_SLOTS:
    void stampLeavesOutPureBlueOnBothFormats()
    {
        QImage stamp(3, 1, QImage::Format_RGB32);
        stamp.setPixel(0, 0, qRgb(0, 0, 255));   // transparent
        stamp.setPixel(1, 0, qRgb(0, 0, 254));   // nearly blue: drawn
        stamp.setPixel(2, 0, qRgb(100, 100, 100));
        QImage rgb(3, 1, QImage::Format_RGB32);
        rgb.fill(qRgb(9, 9, 9));
        raster::drawStamp(rgb, stamp, 0, 0);
        QCOMPARE(raster::pixel(rgb, 0, 0), qRgb(9, 9, 9));
        QCOMPARE(raster::pixel(rgb, 1, 0), qRgb(0, 0, 254));
        QCOMPARE(raster::pixel(rgb, 2, 0), qRgb(100, 100, 100));

        // Into a grey picture each colour goes to the nearest grey.
        QImage grey = greyIndexed(3, 1, 9);
        raster::drawStamp(grey, stamp, 0, 0);
        QCOMPARE(raster::pixel(grey, 0, 0), qRgb(9, 9, 9));
        QCOMPARE(raster::pixel(grey, 2, 0), qRgb(100, 100, 100));
        QCOMPARE(grey.format(), QImage::Format_Indexed8);
    }

    void stampIsCutAtTheEdges()
    {
        QImage grey = greyIndexed(10, 10, 255);
        QImage stamp = greyIndexed(4, 4, 0);
        const QRect changed = raster::drawStamp(grey, stamp, -2, 8);
        QCOMPARE(changed, QRect(0, 8, 2, 2));
        QCOMPARE(raster::pixel(grey, 0, 9), qRgb(0, 0, 0));
        QCOMPARE(raster::pixel(grey, 2, 9), qRgb(255, 255, 255));
        QVERIFY(raster::drawStamp(grey, stamp, 20, 20).isEmpty());
    }

    void floodFillStaysInsideItsRegion()
    {
        QImage grey = greyIndexed(20, 20, 255);
        raster::drawOutline(grey, QRect(5, 5, 10, 10), qRgb(0, 0, 0));
        raster::floodFill(grey, 7, 7, qRgb(128, 128, 128));
        QCOMPARE(raster::pixel(grey, 6, 6), qRgb(128, 128, 128));
        QCOMPARE(raster::pixel(grey, 13, 13), qRgb(128, 128, 128));
        QCOMPARE(raster::pixel(grey, 5, 5), qRgb(0, 0, 0));
        QCOMPARE(raster::pixel(grey, 0, 0), qRgb(255, 255, 255));
        // Diagonal neighbours do not connect: a fill outside leaves the inside.
        QImage rgb(4, 4, QImage::Format_RGB32);
        rgb.fill(qRgb(255, 255, 255));
        rgb.setPixel(1, 0, qRgb(0, 0, 0));
        rgb.setPixel(0, 1, qRgb(0, 0, 0));
        raster::floodFill(rgb, 3, 3, qRgb(1, 2, 3));
        QCOMPARE(raster::pixel(rgb, 0, 0), qRgb(255, 255, 255));
        QCOMPARE(raster::pixel(rgb, 1, 1), qRgb(1, 2, 3));
    }

    void floodFillOfAComplexShape()
    {
        // A comb: the region winds up and down, so runs must be found left of
        // and beyond their parent run.
        QImage rgb(21, 10, QImage::Format_RGB32);
        rgb.fill(qRgb(255, 255, 255));
        for (int x = 1; x < 21; x += 2)
            for (int y = (x % 4 == 1) ? 0 : 1; y < ((x % 4 == 1) ? 9 : 10); ++y)
                rgb.setPixel(x, y, qRgb(0, 0, 0));
        raster::floodFill(rgb, 0, 0, qRgb(128, 128, 128));
        int white = 0;
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 21; ++x)
                white += raster::pixel(rgb, x, y) == qRgb(255, 255, 255);
        QCOMPARE(white, 0);
    }

    void floodFillWithTheRegionsOwnColourEnds()
    {
        // A two-colour table has no grey: the nearest entry to grey is white
        // itself here, and the fill must end without changing anything.
        QImage mono(8, 8, QImage::Format_Indexed8);
        mono.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
        mono.fill(1);
        QVERIFY(raster::floodFill(mono, 3, 3, qRgb(200, 200, 200)).isEmpty());
        QCOMPARE(raster::pixel(mono, 3, 3), qRgb(255, 255, 255));
    }

    void floodFillOfAHugePictureNeedsNoDeepStack()
    {
        QImage big = greyIndexed(4000, 4000, 255);
        raster::floodFill(big, 2000, 2000, qRgb(128, 128, 128));
        QCOMPARE(raster::pixel(big, 0, 0), qRgb(128, 128, 128));
        QCOMPARE(raster::pixel(big, 3999, 3999), qRgb(128, 128, 128));
    }

    void bmpKeepsItsDepthThroughSaveAndLoad_data()
    {
        QTest::addColumn<int>("bits");
        QTest::newRow("4-bit") << 4;
        QTest::newRow("8-bit") << 8;
        QTest::newRow("24-bit") << 24;
    }
    void bmpKeepsItsDepthThroughSaveAndLoad()
    {
        QFETCH(int, bits);
        QImage picture;
        if (bits == 24) {
            picture = QImage(7, 5, QImage::Format_RGB32);
            picture.fill(qRgb(10, 200, 30));
            picture.setPixel(3, 2, qRgb(0, 0, 255));
        } else {
            picture = greyIndexed(7, 5, 200);
            if (bits == 4) {
                QVector<QRgb> table;
                for (int i = 0; i < 16; ++i)
                    table << qRgb(i * 16, i * 16, i * 16);
                picture.setColorTable(table);
                picture.fill(3);
            }
            picture.scanLine(2)[3] = 7;
        }
        const QByteArray bytes = raster::encodeBmp(picture);
        QCOMPARE(int(quint8(bytes[28])), bits);
        const QImage back = raster::readBmpData(bytes);
        QCOMPARE(back.convertToFormat(QImage::Format_RGB32), picture.convertToFormat(QImage::Format_RGB32));
        // What was read from an 8-bit file stays 8-bit even with few colours.
        const QByteArray again = raster::encodeBmp(back);
        QCOMPARE(int(quint8(again[28])), bits);
    }

    void badFilesAreRefusedOrDeterministic_data()
    {
        QTest::addColumn<QString>("file");
        QTest::newRow("short file") << "b/shortfile.bmp";
        QTest::newRow("bad rle") << "b/badrle.bmp";
        QTest::newRow("cut rle") << "q/pal8rlecut.bmp";
        QTest::newRow("bad width") << "b/badwidth.bmp";
        QTest::newRow("really big") << "b/reallybig.bmp";
        QTest::newRow("bad bit count") << "b/badbitcount.bmp";
    }
    void badFilesAreRefusedOrDeterministic()
    {
        QFETCH(QString, file);
        const QString path = QStringLiteral(DK_BMPSUITE "/") + file;
        QVERIFY(QFile::exists(path));
        QImage first, second;
        const QString error1 = errorOf([&] { first = raster::readBmpFile(path); });
        QCOMPARE(errorOf([&] { second = raster::readBmpFile(path); }), error1);
        if (!error1.isEmpty()) {
            QCOMPARE(error1, errors::invalidBitmap());
            return;
        }
        QCOMPARE(first, second);
    }

    void readErrorsNameTheFile()
    {
        QTemporaryDir dir;
        const QString missing = dir.filePath(QStringLiteral("nichtda.bmp"));
        QCOMPARE(errorOf([&] { raster::readBmpFile(missing); }), QStringLiteral("Cannot open file ") + missing);
        QVERIFY_THROWS_EXCEPTION(DkError, raster::readBmpData("not a picture at all"));
        // A zero-length file reads as an empty picture.
        const QString empty = dir.filePath(QStringLiteral("leer.bmp"));
        QFile e(empty);
        QVERIFY(e.open(QIODevice::WriteOnly));
        e.close();
        QVERIFY(raster::readBmpFile(empty).isNull());
    }

    void failedWriteKeepsTheOldFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("karte.bmp"));
        raster::writeBmpFile(greyIndexed(4, 4, 1), path);
        const QByteArray before = readBytes(path);
        // A folder in the way of the file: nobody, not even root, can write it.
        const QString blocked = dir.filePath(QStringLiteral("ordner.bmp"));
        QVERIFY(QDir().mkdir(blocked));
        QCOMPARE(errorOf([&] { raster::writeBmpFile(greyIndexed(4, 4, 2), blocked); }), errors::cannotCreate(blocked));
        QCOMPARE(readBytes(path), before);
    }
};

QTEST_GUILESS_MAIN(TestRaster)
#include "test_raster.moc"
