// Scroll and legend composition and the millimetre layout of the quest sheet.
// The pictures are checked against positions worked out from the measured
// heights of the fonts the sheet uses, never against fixed pixel heights.
#include "sheet.h"
#include "sheetlayout.h"

#include <QFontMetrics>
#include <QtTest>

using sheet::DeviceInfo;
using sheet::DeviceRect;

Q_DECLARE_METATYPE(DeviceRect)

namespace {
constexpr double kDpi = 96.0;
const QRgb kGrey = qRgb(128, 128, 128);
const QRgb kWhite = qRgb(255, 255, 255);

QImage greyBackground()
{
    QImage picture(sheet::kPictureWidth, sheet::kScrollHeight, QImage::Format_RGB32);
    picture.fill(kGrey);
    return picture;
}

// Solid markers of their own colour, so blocks can be found by their pixels.
std::array<QImage, 4> colouredMarkers()
{
    const QRgb colours[4] = {qRgb(255, 0, 0), qRgb(0, 160, 0), qRgb(0, 0, 200), qRgb(200, 0, 200)};
    std::array<QImage, 4> markers;
    for (int i = 0; i < 4; ++i) {
        markers[i] = QImage(30, 30, QImage::Format_RGB32);
        markers[i].fill(colours[i]);
    }
    return markers;
}

int lineHeight(const QString &face, int points, bool bold)
{
    return QFontMetrics(sheet::sheetFont(face, points, bold, kDpi)).height();
}

QRgb at(const QImage &picture, int x, int y)
{
    return picture.pixel(x, y) | 0xff000000u;
}

bool rowsEqual(const QImage &a, int aTop, const QImage &b, int bTop, int rows)
{
    for (int r = 0; r < rows; ++r)
        for (int x = 0; x < a.width(); ++x)
            if (at(a, x, aTop + r) != at(b, x, bTop + r))
                return false;
    return true;
}

bool hasDark(const QImage &picture, const QRect &area)
{
    const QRect r = area.intersected(picture.rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (qGray(at(picture, x, y)) < 64)
                return true;
    return false;
}

// The first row at or below `from` where column x is no longer `colour`.
int firstRowNot(const QImage &picture, int x, int from, QRgb colour)
{
    for (int y = from; y < picture.height(); ++y)
        if (at(picture, x, y) != colour)
            return y;
    return picture.height();
}
} // namespace

class TestSheet : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QFont::insertSubstitution(sheet::kDefaultFace, QStringLiteral("DejaVu Sans"));
    }

    void fontSize_data()
    {
        QTest::addColumn<int>("points");
        QTest::addColumn<double>("dpi");
        QTest::addColumn<int>("pixels");
        QTest::newRow("16 pt at 96") << 16 << 96.0 << 21;
        QTest::newRow("10 pt at 120") << 10 << 120.0 << 17;
        QTest::newRow("9 pt at 96 rounds up") << 9 << 96.0 << 12;
    }
    void fontSize()
    {
        QFETCH(int, points);
        QFETCH(double, dpi);
        QFETCH(int, pixels);
        QCOMPARE(sheet::sheetFont(sheet::kDefaultFace, points, false, dpi).pixelSize(), pixels);
    }

    void faces()
    {
        QCOMPARE(sheet::faceFor(QStringLiteral("dEfAuLt")), sheet::kDefaultFace);
        QuestDocument doc;
        doc.title = QStringLiteral("Die Gruft");
        doc.intro = QStringList{QStringLiteral("Erste Zeile")};
        const QImage empty = sheet::composeScroll(doc, greyBackground(), kDpi);
        doc.introFont = QStringLiteral("DEFAULT");
        QCOMPARE(sheet::composeScroll(doc, greyBackground(), kDpi), empty);
        doc.introFont = QStringLiteral("DejaVu Serif");
        QVERIFY(sheet::composeScroll(doc, greyBackground(), kDpi) != empty);
    }

    // Each drawn line blanks its own cell, so on a grey background the cells
    // show as non-grey bands in the centre column.
    void scrollLineDropping_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<double>("dpi");
        QTest::addColumn<QString>("title");
        QTest::newRow("8 pt") << 8 << 96.0 << QStringLiteral("Titel");
        QTest::newRow("14 pt") << 14 << 96.0 << QStringLiteral("Titel");
        QTest::newRow("empty title") << 10 << 96.0 << QString();
        QTest::newRow("first line always drawn") << 14 << 400.0 << QStringLiteral("Titel");
    }
    void scrollLineDropping()
    {
        QFETCH(int, size);
        QFETCH(double, dpi);
        QFETCH(QString, title);
        QuestDocument doc;
        doc.title = title;
        doc.introSize = size;
        for (int i = 0; i < 20; ++i)
            doc.intro << QStringLiteral("HHH %1").arg(i);
        const QImage picture = sheet::composeScroll(doc, greyBackground(), dpi);
        QCOMPARE(picture.size(), QSize(492, 246));

        const QString face = sheet::kDefaultFace;
        const int titleHeight = QFontMetrics(sheet::sheetFont(face, 16, true, dpi)).height();
        const int h = QFontMetrics(sheet::sheetFont(face, size, false, dpi)).height();
        const int first = 15 + titleHeight + 10;
        int drawn = 1;
        while (first + drawn * h <= 130)
            ++drawn;

        const int x = 246;
        if (title.isEmpty()) {
            QCOMPARE(firstRowNot(picture, x, 0, kGrey), first);
        } else {
            QCOMPARE(firstRowNot(picture, x, 0, kGrey), 15);
            QCOMPARE(firstRowNot(picture, x, 15 + titleHeight, kGrey), first);
        }
        for (int y = first; y < first + drawn * h; ++y)
            QVERIFY2(at(picture, x, y) != kGrey, qPrintable(QStringLiteral("row %1").arg(y)));
        QCOMPARE(firstRowNot(picture, x, first + drawn * h, kGrey), 246);
        if (dpi > 300)
            QCOMPARE(drawn, 1);
    }

    // A line whose top lies exactly on row 130 is still drawn; the next one is
    // not. Searches a resolution and size where the tops meet row 130.
    void scrollLineTopOn130()
    {
        for (int dpi = 72; dpi <= 200; ++dpi) {
            for (int size = 8; size <= 14; ++size) {
                const int first =
                    15 +
                    QFontMetrics(sheet::sheetFont(sheet::kDefaultFace, 16, true, dpi)).height() +
                    10;
                const int h =
                    QFontMetrics(sheet::sheetFont(sheet::kDefaultFace, size, false, dpi)).height();
                if (first >= 130 || (130 - first) % h != 0)
                    continue;
                QuestDocument doc;
                doc.introSize = size;
                for (int i = 0; i < 20; ++i)
                    doc.intro << QStringLiteral("HHH");
                const QImage picture = sheet::composeScroll(doc, greyBackground(), dpi);
                QVERIFY(at(picture, 246, 130) != kGrey);
                QVERIFY(at(picture, 246, 130 + h - 1) != kGrey);
                if (130 + h < 246)
                    QCOMPARE(at(picture, 246, 130 + h), kGrey);
                return;
            }
        }
        QSKIP("no resolution puts a line top on row 130 with the installed fonts");
    }

    // An empty line advances by the font's full height like a written one.
    void scrollEmptyLine()
    {
        QuestDocument doc;
        doc.introSize = 10;
        doc.intro = QStringList{QStringLiteral("HH"), QString(), QStringLiteral("HH")};
        const QImage picture = sheet::composeScroll(doc, greyBackground(), kDpi);
        const int first = 15 + lineHeight(sheet::kDefaultFace, 16, true) + 10;
        const int h = lineHeight(sheet::kDefaultFace, 10, false);
        QVERIFY(at(picture, 246, first + h - 1) != kGrey);
        QCOMPARE(at(picture, 246, first + h), kGrey);
        QCOMPARE(at(picture, 246, first + 2 * h - 1), kGrey);
        QVERIFY(at(picture, 246, first + 2 * h) != kGrey);
    }

    // The white cell of the title shows where the line starts and ends.
    void scrollCentring_data()
    {
        QTest::addColumn<QString>("title");
        QTest::newRow("short") << QStringLiteral("MMM");
        QTest::newRow("wider than the scroll") << QString(60, QLatin1Char('W'));
    }
    void scrollCentring()
    {
        QFETCH(QString, title);
        QuestDocument doc;
        doc.title = title;
        const QImage picture = sheet::composeScroll(doc, greyBackground(), kDpi);
        const QFont font = sheet::sheetFont(sheet::kDefaultFace, 16, true, kDpi);
        const int w = QFontMetrics(font).horizontalAdvance(title);
        const int row = 15 + QFontMetrics(font).height() - 1; // below the letters
        const int left = 246 - w / 2;
        for (int x = 0; x < 492; ++x) {
            const bool inCell = x >= left && x < left + w;
            QCOMPARE(at(picture, x, row), inCell ? kWhite : kGrey);
        }
        if (w > 492) // cut off at both ends in equal parts, to within one pixel
            QVERIFY(left < 0 && std::abs(-left - (left + w - 492)) <= 1);
    }

    void legendBlocks_data()
    {
        QTest::addColumn<QVector<int>>("activeNotes");
        QTest::addColumn<int>("lines");      // lines in every active note
        QTest::addColumn<int>("otherLines"); // -1: other note inactive
        QTest::newRow("nothing active") << QVector<int>{} << 0 << -1;
        QTest::newRow("A with two lines") << QVector<int>{0} << 2 << -1;
        QTest::newRow("all with three lines") << QVector<int>{0, 1, 2, 3} << 3 << -1;
        QTest::newRow("A short, other two lines") << QVector<int>{0} << 0 << 2;
        QTest::newRow("C with six lines, other one") << QVector<int>{2} << 6 << 1;
    }
    void legendBlocks()
    {
        QFETCH(QVector<int>, activeNotes);
        QFETCH(int, lines);
        QFETCH(int, otherLines);

        QuestDocument doc;
        doc.monster = QStringLiteral("Goblin");
        for (int n = 0; n < 5; ++n)
            for (int i = 0; i < 6; ++i)
                doc.notes[n] << QStringLiteral("Notiz %1 Zeile %2").arg(n).arg(i);
        for (int n : activeNotes) {
            doc.active[n] = true;
            doc.notes[n] = doc.notes[n].mid(0, lines);
        }
        if (otherLines >= 0) {
            doc.active[QuestDocument::Other] = true;
            doc.notes[QuestDocument::Other] = doc.notes[QuestDocument::Other].mid(0, otherLines);
        }

        const auto markers = colouredMarkers();
        const QImage picture = sheet::composeLegend(doc, markers, kDpi);
        QCOMPARE(picture.size(), QSize(492, 325));

        // Expected block tops from the measured height of the legend's font.
        const int h = lineHeight(sheet::kDefaultFace, 10, false);
        int y = 0;
        for (int n : activeNotes) {
            QCOMPARE(at(picture, 0, y), markers[n].pixel(0, 0) | 0xff000000u);
            if (y > 0)
                QCOMPARE(at(picture, 0, y - 1), kWhite);
            for (int i = 0; i < lines; ++i)
                QVERIFY(hasDark(picture, QRect(40, y + i * h, 200, h)));
            const int text = lines * h;
            y += text < 32 ? 42 : text + 10;
        }
        if (otherLines >= 0) {
            for (int i = 0; i < otherLines; ++i)
                QVERIFY(hasDark(picture, QRect(40, y + i * h, 200, h)));
            y += otherLines * h + 10;
        }

        // The monster line sits at y: the picture from there on is the
        // nothing-active legend moved down by y.
        QuestDocument bare;
        bare.monster = doc.monster;
        const QImage reference = sheet::composeLegend(bare, markers, kDpi);
        QVERIFY(hasDark(reference, QRect(0, 0, 300, lineHeight(sheet::kDefaultFace, 12, false))));
        QVERIFY(y < 325);
        QVERIFY(rowsEqual(picture, y, reference, 0, 325 - y));
    }

    void mmToDevice_data()
    {
        QTest::addColumn<int>("resolution");
        QTest::addColumn<double>("mm");
        QTest::addColumn<int>("pixels");
        QTest::newRow("12.5 to even 12") << 127 << 2.5 << 12;
        QTest::newRow("13.5 to even 14") << 1143 << 0.3 << 14;
    }
    void mmToDevice()
    {
        QFETCH(int, resolution);
        QFETCH(double, mm);
        QFETCH(int, pixels);
        QCOMPARE(sheet::mmToDevice(resolution, mm), pixels);
    }

    void placement_data()
    {
        QTest::addColumn<int>("offX");
        QTest::addColumn<int>("offY");
        QTest::newRow("no offsets") << 0 << 0;
        QTest::newRow("offsets 50 and 60") << 50 << 60;
    }
    void placement()
    {
        QFETCH(int, offX);
        QFETCH(int, offY);
        const DeviceInfo device{600, 600, offX, offY};
        auto shifted = [&](int l, int t, int r, int b) {
            return DeviceRect{l - offX, t - offY, r - offX, b - offY};
        };
        QCOMPARE(sheet::placeGraphicMm(QSize(880, 656), true, 25, 160, 10, device),
                 shifted(591, 236, 4371, 3053));
        QCOMPARE(sheet::placeGraphicMm(QSize(492, 246), true, 35, 140, 130, device),
                 shifted(827, 3071, 4134, 4725));
        QCOMPARE(sheet::placeGraphicMm(QSize(492, 325), true, 25, 125, 185, device),
                 shifted(591, 4370, 3544, 6320));
    }

    void placementHeightGivenAndEmpty()
    {
        const DeviceInfo device{254, 508, 0, 0}; // 10 and 20 pixels per mm
        QCOMPARE(sheet::placeGraphicMm(QSize(200, 100), false, 1, 5, 2, device),
                 (DeviceRect{10, 40, 110, 140}));
        const DeviceRect empty = sheet::placeGraphicMm(QSize(), true, 1, 5, 2, device);
        QCOMPARE(empty, (DeviceRect{10, 40, 10, 40}));
    }
};

QTEST_MAIN(TestSheet)
#include "test_sheet.moc"
