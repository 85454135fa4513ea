// The program's artwork: every named picture exists with its size and format,
// stamps keep pure blue for their transparent ground only, turned views are
// exact quarter turns, and the cursors carry their hot spots.

#include "artwork.h"
#include "catalogue.h"
#include "raster.h"
#include "sheet.h"

#include <QFile>
#include <QGuiApplication>
#include <QSet>
#include <QTest>
#include <QTransform>
#include <QVector>

namespace {

// What kind of picture a resource is, which decides the rules it obeys.
enum Kind {
    Piece,      // stamp on a blue ground covering whole squares: (32n - 2) pixels
    Edge,       // stamp on a blue ground for a wall line or an entrance: other sizes
    WhitePiece, // stamp with an opaque white ground covering whole squares
    Thumb,      // palette thumbnail: 4-bit, white ground, no blue
    Glyph,      // tool-bar glyph: 4-bit on blue
};

struct Entry {
    QString name;
    int width;
    int height;
    Kind kind;
};

constexpr QRgb kBlue = 0xff0000ffu;

QVector<Entry> catalogue()
{
    QVector<Entry> list;
    auto add = [&](const QString &name, int w, int h, Kind kind) {
        list.append({name, w, h, kind});
    };
    for (const char *n :
         {"GOBLIN",      "ORK",     "SUMPFLING", "SKELETT", "ZOMBIE",  "MUMIE",     "CHAOSKRIEGER",
          "GARGOYLE",    "GTO",     "GTR",       "GTU",     "GTL",     "FALLGRUBE", "SPEER",
          "SCHLAGFALLE", "PFEIL",   "BLOCK",     "AB",      "BB",      "CB",        "DB",
          "XB",          "KLAPPEO", "KLAPPER",   "KLAPPEU", "KLAPPEL", "PO",        "PU",
          "PR",          "PL",      "BRUNST",    "LUFT",    "TA",      "TB",        "FALLBH",
          "FALLBV",      "FALLBH2", "FALLBV2",   "GRUFT",   "OGRE",    "OFF",       "OB",
          "HE"})
        add(QLatin1String(n), 30, 30, Piece);
    add("BLOCK22", 30, 62, Piece);
    add("BLOCK21", 62, 30, Piece);
    for (int i = 1; i <= 4; ++i)
        add(QStringLiteral("STAIR%1").arg(i), 62, 62, Piece);
    for (int i = 2; i <= 11; ++i)
        add(QStringLiteral("Z%1").arg(i), 30, 30, WhitePiece);
    add("TUER1", 18, 30, Edge);
    add("TUER2", 30, 18, Edge);
    add("DOORO1", 18, 30, Edge);
    add("DOORO2", 30, 18, Edge);
    add("STEIN1", 18, 30, Edge);
    add("STEIN2", 30, 18, Edge);
    for (const char *n : {"ENTERO", "ENTERU", "EXITO", "EXITU"})
        add(QLatin1String(n), 30, 35, Edge);
    for (const char *n : {"ENTERL", "ENTERR", "EXITL", "EXITR"})
        add(QLatin1String(n), 35, 30, Edge);
    add("SCHMIEDE1", 94, 30, Piece);
    add("SCHMIEDE2", 30, 94, Piece);
    add("RIP1", 30, 62, Piece);
    add("RIP3", 30, 62, Piece);
    add("RIP2", 62, 30, Piece);
    add("RIP4", 62, 30, Piece);
    add("CHAOS", 254, 222, WhitePiece);
    add("OUTLAND", 254, 158, WhitePiece);
    add("SCHLUCHT", 126, 158, WhitePiece);
    add("TEPPICH", 126, 126, Piece);
    add("DEKO2", 126, 126, Piece);
    add("DEKO1", 126, 158, Piece);
    add("EMPTY", 30, 30, WhitePiece);
    const struct {
        const char *base;
        int w, h;
    } furniture[] = {{"ALTAR", 94, 62},   {"ALCHEMIE", 94, 62}, {"FOLTERBANK", 94, 62},
                     {"TISCH", 94, 62},   {"SARG", 94, 62},     {"REGAL", 94, 30},
                     {"SCHRANK", 94, 30}, {"KAMIN", 94, 30},    {"WAFFEN", 94, 30},
                     {"TRUHE", 30, 30},   {"THRON", 30, 30}};
    for (const auto &f : furniture)
        for (int view = 1; view <= 4; ++view) {
            const bool upright = view % 2 == 1;
            add(QLatin1String(f.base) + QString::number(view), upright ? f.w : f.h,
                upright ? f.h : f.w, Piece);
        }
    add("THUMB_TUER1", 18, 38, Thumb);
    add("THUMB_TUER2", 38, 18, Thumb);
    add("THUMB_OUTLAND", 254, 222, Thumb);
    for (int i = 0; i <= 9; ++i)
        add(QStringLiteral("GLYPH%1").arg(i), 32, 32, Glyph);
    return list;
}

// Bits per pixel as the stored BMP file gives them.
int storedBitsPerPixel(const QString &name)
{
    QFile file(artwork::bitmapPath(name));
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray header = file.read(30);
    if (header.size() < 30)
        return -1;
    return uchar(header[28]) | (uchar(header[29]) << 8);
}

bool isGrey(QRgb c)
{
    return qRed(c) == qGreen(c) && qGreen(c) == qBlue(c);
}

// Whether every blue pixel is joined to the picture's edge through blue
// pixels: blue is the ground around the piece, never a hole inside it.
bool blueOnlyAsGround(const QImage &picture, QPoint *hole)
{
    const int w = picture.width(), h = picture.height();
    QVector<char> seen(w * h, 0);
    QVector<QPoint> stack;
    for (int x = 0; x < w; ++x)
        stack << QPoint(x, 0) << QPoint(x, h - 1);
    for (int y = 0; y < h; ++y)
        stack << QPoint(0, y) << QPoint(w - 1, y);
    while (!stack.isEmpty()) {
        const QPoint pt = stack.takeLast();
        if (pt.x() < 0 || pt.y() < 0 || pt.x() >= w || pt.y() >= h || seen[pt.y() * w + pt.x()])
            continue;
        if (raster::pixel(picture, pt.x(), pt.y()) != kBlue)
            continue;
        seen[pt.y() * w + pt.x()] = 1;
        stack << pt + QPoint(1, 0) << pt - QPoint(1, 0) << pt + QPoint(0, 1) << pt - QPoint(0, 1);
    }
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (raster::pixel(picture, x, y) == kBlue && !seen[y * w + x]) {
                *hole = QPoint(x, y);
                return false;
            }
    return true;
}

int differingPixels(const QImage &a, const QImage &b)
{
    if (a.size() != b.size())
        return a.width() * a.height();
    int count = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            count += raster::pixel(a, x, y) != raster::pixel(b, x, y);
    return count;
}

QImage turnedClockwise(const QImage &picture, int quarterTurns)
{
    return picture.convertToFormat(QImage::Format_RGB32)
        .transformed(QTransform().rotate(90.0 * quarterTurns));
}

} // namespace

class TestArtwork : public QObject {
    Q_OBJECT

private slots:
    void pictures_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("kind");
        for (const Entry &e : catalogue())
            QTest::newRow(qPrintable(e.name)) << e.name << e.width << e.height << int(e.kind);
    }

    void pictures()
    {
        QFETCH(QString, name);
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(int, kind);
        QVERIFY2(artwork::hasBitmap(name), qPrintable(name));
        const QImage picture = artwork::bitmap(name);
        QCOMPARE(picture.size(), QSize(width, height));
        QCOMPARE(storedBitsPerPixel(name), 4);
        QVERIFY(picture.colorCount() <= 16);

        if (kind == Piece) {
            QCOMPARE((width + 2) % 32, 0);
            QCOMPARE((height + 2) % 32, 0);
        }
        bool hasBlue = false;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const QRgb c = raster::pixel(picture, x, y);
                if (c == kBlue) {
                    hasBlue = true;
                    continue;
                }
                QVERIFY2(isGrey(c), qPrintable(QStringLiteral("%1: colour %2 at %3,%4")
                                                   .arg(name)
                                                   .arg(c, 8, 16)
                                                   .arg(x)
                                                   .arg(y)));
            }
        if (kind == WhitePiece || kind == Thumb) {
            QVERIFY2(!hasBlue, "an opaque picture holds no transparent blue");
        } else {
            QVERIFY2(hasBlue, "a stamp on a blue ground");
            QPoint hole;
            QVERIFY2(
                blueOnlyAsGround(picture, &hole),
                qPrintable(
                    QStringLiteral("blue inside the piece at %1,%2").arg(hole.x()).arg(hole.y())));
        }
        // The view picture of the furniture takes its transparent colour from the
        // bottom-left pixel.
        static const QStringList furniture = {"ALTAR",  "ALCHEMIE", "FOLTERBANK", "TISCH",
                                              "SARG",   "REGAL",    "SCHRANK",    "KAMIN",
                                              "WAFFEN", "TRUHE",    "THRON"};
        if (furniture.contains(name.chopped(1)))
            QCOMPARE(raster::pixel(picture, 0, height - 1), kBlue);
        if (name == QLatin1String("EMPTY"))
            QCOMPARE(picture.convertToFormat(QImage::Format_RGB32), [] {
                QImage white(30, 30, QImage::Format_RGB32);
                white.fill(Qt::white);
                return white;
            }());
    }

    void turnedViews_data()
    {
        QTest::addColumn<QString>("base");
        for (const char *base : {"ALTAR", "ALCHEMIE", "FOLTERBANK", "TISCH", "SARG", "REGAL",
                                 "SCHRANK", "KAMIN", "WAFFEN", "TRUHE", "THRON", "STAIR", "RIP"})
            QTest::newRow(base) << QString::fromLatin1(base);
    }

    void turnedViews()
    {
        QFETCH(QString, base);
        const QImage first = artwork::bitmap(base + QLatin1Char('1'));
        for (int view = 2; view <= 4; ++view) {
            const QImage expected = turnedClockwise(first, view - 1);
            const QImage actual =
                artwork::bitmap(base + QString::number(view)).convertToFormat(QImage::Format_RGB32);
            QCOMPARE(actual.size(), expected.size());
            QCOMPARE(differingPixels(actual, expected), 0);
        }
        // A turned view is not a plain copy: the piece has an orientation.
        if (base != QLatin1String("TRUHE") && base != QLatin1String("THRON"))
            return;
        QVERIFY(differingPixels(first, artwork::bitmap(base + QLatin1Char('3'))) > 0);
    }

    // The tool-bar glyphs come in the order of the buttons: each looks most
    // like its own monster token.
    void glyphsFollowTheMonsters()
    {
        const QStringList names = {"GOBLIN", "ORK",   "SUMPFLING",    "SKELETT",
                                   "ZOMBIE", "MUMIE", "CHAOSKRIEGER", "GARGOYLE"};
        for (int i = 0; i < 8; ++i) {
            const QImage glyph = artwork::bitmap(QStringLiteral("GLYPH%1").arg(i))
                                     .scaled(30, 30, Qt::IgnoreAspectRatio, Qt::FastTransformation);
            int nearest = -1, best = 1 << 30;
            for (int j = 0; j < 8; ++j) {
                const int diff = differingPixels(glyph, artwork::bitmap(names[j]));
                if (diff < best)
                    best = diff, nearest = j;
            }
            QCOMPARE(nearest, i);
        }
    }

    // The ogre ranks share one face: what tells them apart on a 30 x 30
    // square has to be large, not a mark of a few pixels.
    void ogreRanksDifferWidely()
    {
        const QStringList ranks = {"OGRE", "OFF", "OB", "HE"};
        for (int a = 0; a < ranks.size(); ++a)
            for (int b = a + 1; b < ranks.size(); ++b) {
                const int differing =
                    differingPixels(artwork::bitmap(ranks[a]), artwork::bitmap(ranks[b]));
                QVERIFY2(differing >= 30 * 30 / 5,
                         qPrintable(QStringLiteral("%1 and %2 differ in %3 pixels")
                                        .arg(ranks[a], ranks[b])
                                        .arg(differing)));
            }
    }

    // The quest sheet's legend shows each note marker exactly as the palette's
    // "Anmerkungen" group shows it.
    void legendMarkersAreThePaletteThumbnails()
    {
        const char *const components[4] = {"Image32", "Image33", "Image34", "Image35"};
        for (int note = 0; note < 4; ++note) {
            const palette::StampEntry *entry =
                palette::findStampEntry(QLatin1String(components[note]));
            QVERIFY(entry);
            const QImage shown = palette::thumbnail(*entry).convertToFormat(QImage::Format_RGB32);
            const QImage legend = sheet::noteMarker(note).convertToFormat(QImage::Format_RGB32);
            QCOMPARE(legend.size(), QSize(30, 30));
            QCOMPARE(differingPixels(legend, shown), 0);
        }
    }

    void scrollBackground()
    {
        const QImage scroll = artwork::bitmap(QStringLiteral("SCROLL"));
        QCOMPARE(scroll.size(), QSize(492, 246));
        QCOMPARE(storedBitsPerPixel(QStringLiteral("SCROLL")), 8);
        const QRgb white = qRgb(255, 255, 255);
        // The outline's top runs on row 5; white inside, where the title and intro are written.
        for (int x : {50, 246, 440})
            QVERIFY(qGray(raster::pixel(scroll, x, 5)) < 128);
        for (int y = 12; y < 146; ++y)
            for (int x = 14; x < 478; ++x)
                QCOMPARE(raster::pixel(scroll, x, y), white);
        // Below the outline only the seal, in columns 433..486, rows 160..241.
        bool seal = false;
        for (int y = 158; y < 246; ++y)
            for (int x = 0; x < 492; ++x) {
                const bool inSeal = x >= 433 && x <= 486 && y >= 160 && y <= 241;
                if (!inSeal)
                    QCOMPARE(raster::pixel(scroll, x, y), white);
                else if (raster::pixel(scroll, x, y) != white)
                    seal = true;
            }
        QVERIFY(seal);
    }

    void cursors_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QPoint>("hotSpot");
        QTest::newRow("EMPTYCURSOR") << QStringLiteral("EMPTYCURSOR") << QPoint(1, 1);
        QTest::newRow("CROSS") << QStringLiteral("CROSS") << QPoint(15, 15);
    }

    void cursors()
    {
        QFETCH(QString, name);
        QFETCH(QPoint, hotSpot);
        QCOMPARE(artwork::cursorHotSpot(name), hotSpot);
        const QCursor cursor = artwork::cursor(name);
        QCOMPARE(cursor.hotSpot(), hotSpot);
        // The hot spot is on the drawing: the cross-hair's centre, the inside of
        // the square's outline.
        QCOMPARE(qAlpha(cursor.pixmap().toImage().pixel(hotSpot)), 255);
    }
};

QTEST_MAIN(TestArtwork)
#include "test_artwork.moc"
