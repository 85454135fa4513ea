#include "artwork.h"
#include "bmpcodec.h"
#include "clipboardpicture.h"
#include "errors.h"
#include "raster.h"

#include <QBuffer>
#include <QFile>
#include <QImageWriter>
#include <QMimeData>
#include <QTemporaryDir>
#include <QtTest>

#include "bmpfiles.h"
#include "testhelpers.h"

class TestRaster : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void stampLeavesOutPureBlueOnBothFormats()
    {
        QImage stamp(3, 1, QImage::Format_RGB32);
        stamp.setPixel(0, 0, qRgb(0, 0, 255)); // transparent
        stamp.setPixel(1, 0, qRgb(0, 0, 254)); // nearly blue: drawn
        stamp.setPixel(2, 0, qRgb(100, 100, 100));
        QImage rgb(3, 1, QImage::Format_RGB32);
        rgb.fill(qRgb(9, 9, 9));
        raster::drawStamp(rgb, stamp, 0, 0);
        QCOMPARE(raster::pixel(rgb, 0, 0), qRgb(9, 9, 9));
        QCOMPARE(raster::pixel(rgb, 1, 0), qRgb(0, 0, 254));
        QCOMPARE(raster::pixel(rgb, 2, 0), qRgb(100, 100, 100));

        // Into a grey picture each colour goes to the nearest grey.
        QImage grey = greyPicture(3, 1, 9);
        raster::drawStamp(grey, stamp, 0, 0);
        QCOMPARE(raster::pixel(grey, 0, 0), qRgb(9, 9, 9));
        QCOMPARE(raster::pixel(grey, 2, 0), qRgb(100, 100, 100));
        QCOMPARE(grey.format(), QImage::Format_Indexed8);
    }

    void stampIsCutAtTheEdges()
    {
        QImage grey = greyPicture(10, 10, 255);
        QImage stamp = greyPicture(4, 4, 0);
        const QRect changed = raster::drawStamp(grey, stamp, -2, 8);
        QCOMPARE(changed, QRect(0, 8, 2, 2));
        QCOMPARE(raster::pixel(grey, 0, 9), qRgb(0, 0, 0));
        QCOMPARE(raster::pixel(grey, 2, 9), qRgb(255, 255, 255));
        QVERIFY(raster::drawStamp(grey, stamp, 20, 20).isEmpty());
    }

    // A new map saved is the default board's file again, byte for byte:
    // 578,358 bytes, 8 bits per pixel, grey palette.
    void theDefaultBoardSavesAsItsOwnFile()
    {
        const QString path = artwork::bitmapPath(QStringLiteral("BOARD"));
        const QByteArray stored = readBytes(path);
        QCOMPARE(stored.size(), 578358);
        raster::BmpFormat format;
        const QImage board = raster::readBmpFile(path, &format);
        QCOMPARE(format.bitsPerPixel, 8);
        QCOMPARE(raster::encodeBmp(board), stored);
        QTemporaryDir dir;
        raster::writeBmpFile(board, dir.filePath(QStringLiteral("neu.bmp")));
        QCOMPARE(readBytes(dir.filePath(QStringLiteral("neu.bmp"))), stored);
    }

    void anEightBitFileOfFewColoursStaysEightBit()
    {
        // Four grey entries in an 8-bit file: without its depth the picture
        // would be written as a 4-bit file.
        const QByteArray file = bmpfiles::eightBitFewColours();
        raster::BmpFormat format;
        const QImage picture = raster::readBmpData(file, &format);
        QCOMPARE(format.bitsPerPixel, 8);
        QCOMPARE(picture.colorCount(), 4);
        const QByteArray kept = raster::encodeBmp(picture, format);
        QCOMPARE(int(quint8(kept[28])), 8);
        QCOMPARE(raster::readBmpData(kept), picture);
        QCOMPARE(int(quint8(raster::encodeBmp(picture)[28])), 4);
    }

    // Our writer gives exactly the bytes of Qt's BMP writer, padding apart:
    // compared on pictures whose padding is zero in memory, so Qt's bytes are
    // what ours must be.
    void writerMatchesQtsWriter_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("colours"); // 0: an RGB picture
        QTest::addColumn<int>("fileBits");
        QTest::addColumn<int>("dotsPerMeter");
        for (const int width : {1, 2, 3, 4, 5, 7, 8, 9, 13, 127, 880}) {
            for (const int colours : {0, 2, 16, 17, 256})
                QTest::addRow("width %d, %d colours", width, colours)
                    << width << colours << 0 << 3780;
        }
        QTest::newRow("8-bit file of 16 colours") << 13 << 16 << 8 << 3780;
        QTest::newRow("no resolution") << 9 << 256 << 0 << 0;
        QTest::newRow("odd resolution") << 9 << 0 << 0 << 1234;
    }
    void writerMatchesQtsWriter()
    {
        QFETCH(int, width);
        QFETCH(int, colours);
        QFETCH(int, fileBits);
        QFETCH(int, dotsPerMeter);
        const int height = 5;
        QImage picture(width, height, colours ? QImage::Format_Indexed8 : QImage::Format_RGB32);
        std::memset(picture.bits(), 0, size_t(picture.sizeInBytes()));
        QVector<QRgb> table;
        for (int i = 0; i < colours; ++i)
            table << qRgb(i * 7 % 256, 255 - i, i / 2);
        picture.setColorTable(table);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                if (colours)
                    picture.scanLine(y)[x] = uchar((x * 5 + y) % colours);
                else
                    reinterpret_cast<QRgb *>(picture.scanLine(y))[x] = qRgb(x, y * 50, x ^ y);
            }
        picture.setDotsPerMeterX(dotsPerMeter);
        picture.setDotsPerMeterY(dotsPerMeter / 2);

        QImage forQt = picture;
        if (fileBits == 8) {
            QVector<QRgb> padded = table;
            while (padded.size() <= 16)
                padded << qRgb(0, 0, 0);
            forQt.setColorTable(padded);
        }
        QByteArray expected;
        QBuffer buffer(&expected);
        QVERIFY(buffer.open(QIODevice::WriteOnly));
        QVERIFY(QImageWriter(&buffer, "bmp").write(forQt));
        QCOMPARE(raster::encodeBmp(picture, {fileBits}), expected);

        // The same bytes straight to a file.
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("karte.bmp"));
        raster::writeBmpFile(picture, path, {fileBits});
        QCOMPARE(readBytes(path), expected);
    }

    void badFilesAreRefusedOrDeterministic_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("valid");
        const QStringList refused{
            QStringLiteral("bad-bit-count"), QStringLiteral("bad-width"),
            QStringLiteral("really-big"),    QStringLiteral("not-a-bitmap"),
            QStringLiteral("header-only"),   QStringLiteral("pal8-cut-short")};
        for (const auto &[name, bytes] : bmpfiles::cases())
            QTest::newRow(qPrintable(name)) << bytes << !refused.contains(name);
    }
    void badFilesAreRefusedOrDeterministic()
    {
        QFETCH(QByteArray, file);
        QFETCH(bool, valid);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("datei.bmp"));
        QFile out(path);
        QVERIFY(out.open(QIODevice::WriteOnly) && out.write(file) == file.size());
        out.close();
        QImage first, second;
        const QString error1 = errorOf([&] { first = raster::readBmpFile(path); });
        QCOMPARE(errorOf([&] { second = raster::readBmpFile(path); }), error1);
        if (!valid) {
            QCOMPARE(error1, errors::invalidBitmap());
            return;
        }
        QCOMPARE(error1, QString());
        QCOMPARE(first, second);
        QCOMPARE(raster::readBmpData(file), first);
        // Written again, the padding of every row is zero.
        const QByteArray written = raster::encodeBmp(first);
        const int offset = int(qFromLittleEndian<quint32>(written.constData() + 10));
        const int bits = qFromLittleEndian<quint16>(written.constData() + 28);
        const int rowBytes = (first.width() * bits + 7) / 8;
        const int stride = ((first.width() * bits + 31) / 32) * 4;
        for (int row = 0; row < first.height(); ++row)
            for (int i = rowBytes; i < stride; ++i)
                QCOMPARE(written[offset + row * stride + i], '\0');
    }

    // Rows stored from the top down, an OS/2 header, 4-bit and 24-bit rows:
    // every pixel where the file puts it.
    void everyLayoutReadsItsPixels_data()
    {
        QTest::addColumn<QByteArray>("file");
        const auto pattern = [](int x, int y) { return quint32((x * 7 + y * 3) % 251); };
        QTest::newRow("8-bit") << bmpfiles::uncompressed(13, 4, 8, pattern);
        QTest::newRow("top-down") << bmpfiles::uncompressed(13, 4, 8, pattern, true);
        QTest::newRow("OS/2") << bmpfiles::uncompressed(13, 4, 8, pattern, false, true);
        QTest::newRow("4-bit") << bmpfiles::uncompressed(
            13, 4, 4, [](int x, int y) { return quint32((x + y) % 16); });
        QTest::newRow("24-bit") << bmpfiles::uncompressed(
            13, 4, 24, [](int x, int y) { return quint32(x * 0x010203 + y); });
    }
    void everyLayoutReadsItsPixels()
    {
        QFETCH(QByteArray, file);
        const int bits = qFromLittleEndian<quint16>(file.constData() + (file[14] == 12 ? 24 : 28));
        raster::BmpFormat format;
        const QImage picture = raster::readBmpData(file, &format);
        QCOMPARE(picture.size(), QSize(13, 4));
        // Saved again, the file keeps its depth and its pixels.
        QCOMPARE(format.bitsPerPixel, bits);
        const QByteArray saved = raster::encodeBmp(picture, format);
        QCOMPARE(int(quint8(saved[28])), bits);
        QCOMPARE(raster::readBmpData(saved), picture);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 13; ++x) {
                QRgb expected = 0xff000000u | quint32(x * 0x010203 + y);
                if (bits != 24) {
                    const int index = bits == 8 ? (x * 7 + y * 3) % 251 : (x + y) % 16;
                    const int level = index * 255 / ((1 << bits) - 1);
                    expected = qRgb(level, level, level);
                }
                QCOMPARE(raster::pixel(picture, x, y), expected);
            }
    }

    void gapsOfAnRleFileAreZero()
    {
        // 20 pixels, a jump of 30 to the right and 3 rows up, 10 more, the
        // rest of that row left out, then the picture ends early.
        const QImage picture = raster::readBmpData(bmpfiles::named("rle8-gaps"));
        QCOMPARE(picture.size(), QSize(127, 40));
        const auto index = [&](int x, int row) { return int(picture.constScanLine(39 - row)[x]); };
        QCOMPARE(index(0, 0), 200);
        QCOMPARE(index(19, 0), 200);
        QCOMPARE(index(20, 0), 0);
        QCOMPARE(index(126, 0), 0);
        QCOMPARE(index(10, 1), 0);
        QCOMPARE(index(50, 3), 100);
        QCOMPARE(index(60, 3), 0);
        QCOMPARE(index(0, 4), 50);
        QCOMPARE(index(5, 5), 0);
        QCOMPARE(index(64, 39), 0);
    }

    // A map on the clipboard: this program takes the picture itself, another
    // program asking for "image/bmp" gets our writer's bytes. BMP data from
    // another program goes through our reader; broken data is no picture.
    void clipboardPictures()
    {
        const QImage picture = greyPicture(127, 3, 40);
        std::unique_ptr<QMimeData> own(clipboardpicture::mimeData(picture));
        QVERIFY(own->formats().contains(QStringLiteral("image/bmp")));
        QCOMPARE(own->data(QStringLiteral("image/bmp")), raster::encodeBmp(picture));
        QCOMPARE(clipboardpicture::picture(own.get()), picture);

        QMimeData foreign;
        foreign.setData(QStringLiteral("image/bmp"), bmpfiles::named("rle8-gaps"));
        QCOMPARE(clipboardpicture::picture(&foreign),
                 raster::readBmpData(bmpfiles::named("rle8-gaps")));
        QMimeData broken;
        broken.setData(QStringLiteral("image/bmp"), "BM kaputt");
        QVERIFY(clipboardpicture::picture(&broken).isNull());
        QMimeData text;
        text.setText(QStringLiteral("nur Text"));
        QVERIFY(clipboardpicture::picture(&text).isNull());
        QVERIFY(clipboardpicture::picture(nullptr).isNull());
    }

    // Every depth a map file can have comes back from an open and a save as
    // it was: the same depth and masks and the very pixel bytes of the file.
    void everyDepthComesBackBitForBit_data()
    {
        QTest::addColumn<QByteArray>("file");
        const auto mix = [](quint32 used) {
            return
                [used](int x, int y) { return quint32(x * 0x9e3779b1u ^ y * 0x85ebca6bu) & used; };
        };
        QTest::newRow("1-bit") << bmpfiles::uncompressed(37, 5, 1, mix(1));
        QTest::newRow("4-bit") << bmpfiles::uncompressed(13, 5, 4, mix(15));
        QTest::newRow("8-bit") << bmpfiles::uncompressed(13, 5, 8, mix(255));
        QTest::newRow("16-bit 5-5-5") << bmpfiles::masked(13, 5, 16, 0, {}, mix(0x7fff));
        QTest::newRow("16-bit 5-6-5")
            << bmpfiles::masked(13, 5, 16, 3, {0xf800, 0x07e0, 0x001f}, mix(0xffff));
        QTest::newRow("16-bit 4-4-4-4")
            << bmpfiles::masked(13, 5, 16, 6, {0x0f00, 0x00f0, 0x000f, 0xf000}, mix(0xffff));
        QTest::newRow("24-bit") << bmpfiles::uncompressed(13, 5, 24, mix(0xffffff));
        QTest::newRow("32-bit") << bmpfiles::masked(13, 5, 32, 0, {}, mix(0xffffff));
        QTest::newRow("32-bit x-b-g-r")
            << bmpfiles::masked(13, 5, 32, 3, {0xff, 0xff00, 0xff0000}, mix(0xffffff));
        QTest::newRow("32-bit with alpha") << bmpfiles::masked(
            13, 5, 32, 6, {0xff0000, 0xff00, 0xff, 0xff000000}, mix(0xffffffff));
    }
    void everyDepthComesBackBitForBit()
    {
        QFETCH(QByteArray, file);
        raster::BmpFormat format;
        const QImage picture = raster::readBmpData(file, &format);
        QCOMPARE(format.bitsPerPixel, int(qFromLittleEndian<quint16>(file.constData() + 28)));
        const QByteArray saved = raster::encodeBmp(picture, format);
        QCOMPARE(bmpfiles::pixelBytes(saved), bmpfiles::pixelBytes(file));
        raster::BmpFormat again;
        raster::readBmpData(saved, &again);
        QVERIFY(again == format);
    }

    // ImageMagick decodes our saved files to the pixels we decode, alpha
    // included.
    void imageMagickReadsOurFilesAsWeDo_data() { everyDepthComesBackBitForBit_data(); }
    void imageMagickReadsOurFilesAsWeDo()
    {
        QFETCH(QByteArray, file);
        raster::BmpFormat format;
        const QImage picture = raster::readBmpData(file, &format);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("karte.bmp"));
        raster::writeBmpFile(picture, path, format);
        const QVector<QRgb> theirs = bmpfiles::imageMagickPixels(path);
        if (theirs.isEmpty())
            QSKIP("ImageMagick's convert is not installed: our files are not compared with it.");
        QCOMPARE(theirs.size(), picture.width() * picture.height());
        // ImageMagick widens channels of fewer than five bits by zeros, not
        // by their top bits: those bits the file holds are compared.
        const auto topBits = [](quint32 mask, int shift) {
            const int bits = qMin(int(qPopulationCount(mask)), 8);
            return mask ? quint32(0xff00 >> bits & 0xff) << shift : 0xffu << shift;
        };
        const bmpmasks::Masks &m = format.masks;
        const quint32 compared = topBits(m.red, 16) | topBits(m.green, 8) | topBits(m.blue, 0) |
                                 (m.alpha ? topBits(m.alpha, 24) : 0xff000000u);
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x) {
                QRgb ours = raster::pixel(picture, x, y);
                if (m.alpha)
                    ours = reinterpret_cast<const QRgb *>(picture.constScanLine(y))[x];
                QCOMPARE(theirs[y * picture.width() + x] & compared, ours & compared);
            }
    }

    void sixteenAndThirtyTwoBitMapsTakeStamps()
    {
        // Five bits of blue are pure blue: an own overlay painted in it in a
        // 16-bit file is left out where it is blue.
        const QImage overlay = raster::readBmpData(
            bmpfiles::masked(2, 1, 16, 0, {}, [](int x, int) { return x ? 0x001fu : 0x7c00u; }));
        QCOMPARE(raster::pixel(overlay, 1, 0), raster::kTransparent);
        QImage board(2, 1, QImage::Format_RGB32);
        board.fill(qRgb(10, 20, 30));
        raster::drawStamp(board, overlay, 0, 0);
        QCOMPARE(raster::pixel(board, 0, 0), qRgb(255, 0, 0));
        QCOMPARE(raster::pixel(board, 1, 0), qRgb(10, 20, 30));

        // A 32-bit map with alpha: where the stamp drew it is opaque, all else
        // keeps its alpha through a save.
        raster::BmpFormat format;
        QImage map =
            raster::readBmpData(bmpfiles::masked(6, 6, 32, 6, {0xff0000, 0xff00, 0xff, 0xff000000},
                                                 [](int, int) { return 0x40102030u; }),
                                &format);
        QImage stamp(2, 2, QImage::Format_RGB32);
        stamp.fill(qRgb(200, 0, 0));
        stamp.setPixel(1, 1, raster::kTransparent);
        raster::drawStamp(map, stamp, 2, 2);
        const QImage saved = raster::readBmpData(raster::encodeBmp(map, format));
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 6; ++x) {
                const bool drawn = x >= 2 && y >= 2 && x < 4 && y < 4 && !(x == 3 && y == 3);
                QCOMPARE(reinterpret_cast<const QRgb *>(saved.constScanLine(y))[x],
                         drawn ? 0xffc80000u : 0x40102030u);
            }
    }

    void readErrorsNameTheFile()
    {
        QTemporaryDir dir;
        const QString missing = dir.filePath(QStringLiteral("nichtda.bmp"));
        QCOMPARE(errorOf([&] { raster::readBmpFile(missing); }),
                 QStringLiteral("Cannot open file ") + missing);
        QVERIFY_THROWS_EXCEPTION(DkError, raster::readBmpData("not a picture at all"));
        // A zero-length file reads as an empty picture.
        const QString empty = dir.filePath(QStringLiteral("leer.bmp"));
        QFile e(empty);
        QVERIFY(e.open(QIODevice::WriteOnly));
        e.close();
        QVERIFY(raster::readBmpFile(empty).isNull());
    }
};

QTEST_GUILESS_MAIN(TestRaster)
#include "test_raster.moc"
