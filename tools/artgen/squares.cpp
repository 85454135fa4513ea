// The 25 square bitmaps "A" to "Y", the default board picture and the cursors.

#include "artgen.h"

#include "geometry.h"
#include "raster.h"

#include <QHash>
#include <QPainter>

namespace artgen {

namespace {

// The ring of one square bitmap: which sides are walls (black) and which of the
// four corner pixels are black. Everything else of the ring is silver, the
// 30 x 30 inside white.
struct Ring {
    bool top, right, bottom, left;
    bool topLeft, topRight, bottomLeft, bottomRight;
};

const QHash<char, Ring> &rings()
{
    //                 top    right  bottom left   TL     TR     BL     BR
    static const QHash<char, Ring> table = {
        {'A', {false, false, true, false, false, false, true, true}},
        {'B', {true, false, false, false, true, true, false, false}},
        {'C', {false, false, false, true, true, false, true, false}},
        {'D', {false, true, false, false, false, true, false, true}},
        {'E', {true, true, false, false, true, true, false, true}},
        {'F', {true, false, false, true, true, true, true, false}},
        {'G', {false, true, true, false, false, true, true, true}},
        {'H', {false, false, true, true, true, false, true, true}},
        {'I', {false, true, false, true, true, true, true, true}},
        {'J', {true, false, true, false, true, true, true, true}},
        {'K', {true, false, false, true, true, true, true, true}},
        {'L', {true, true, false, false, true, true, true, true}},
        {'M', {false, false, true, true, true, true, true, true}},
        {'N', {false, true, true, false, true, true, true, true}},
        {'O', {false, false, false, false, false, true, false, false}},
        {'P', {false, false, false, false, false, false, false, true}},
        {'Q', {false, false, false, false, false, false, true, false}},
        {'R', {false, false, false, false, true, false, false, false}},
        {'S', {false, false, false, false, false, false, false, false}},
        {'T', {false, true, false, false, true, true, true, true}},
        {'U', {false, false, false, true, true, true, true, true}},
        {'V', {true, false, false, false, true, true, true, false}},
        {'W', {true, false, false, false, true, true, false, true}},
        {'X', {false, false, true, false, true, false, true, true}},
        {'Y', {false, false, true, false, false, true, true, true}},
    };
    return table;
}

QImage squareBitmap(char letter)
{
    const Ring r = rings().value(letter);
    QImage rgb(32, 32, QImage::Format_RGB32);
    rgb.fill(board::kWhite);
    auto side = [](bool wall) { return wall ? board::kBlack : board::kSilver; };
    for (int i = 1; i <= 30; ++i) {
        rgb.setPixel(i, 0, side(r.top));
        rgb.setPixel(31, i, side(r.right));
        rgb.setPixel(i, 31, side(r.bottom));
        rgb.setPixel(0, i, side(r.left));
    }
    rgb.setPixel(0, 0, side(r.topLeft));
    rgb.setPixel(31, 0, side(r.topRight));
    rgb.setPixel(0, 31, side(r.bottomLeft));
    rgb.setPixel(31, 31, side(r.bottomRight));
    return toIndexed(rgb, stampPalette());
}

} // namespace

void makeSquaresAndBoard(Writer &out)
{
    QHash<char, QImage> squares;
    for (char letter = 'A'; letter <= 'Y'; ++letter) {
        squares.insert(letter, squareBitmap(letter));
        out.bitmap(QString(QLatin1Char(letter)), squares.value(letter));
    }
    QImage board = board::composeBoard([&](char letter) { return squares.value(letter); });
    // The stored board differs from its composition in one pixel: the
    // top-right corner pixel of square (9, 12) is black.
    board.scanLine(408)[343] = uchar(raster::nearestIndex(board.colorTable(), board::kBlack));
    out.bitmap(QStringLiteral("BOARD"), board);
}

void makeCursors(Writer &out)
{
    // "EMPTYCURSOR": a white square with a black 1-pixel outline, hot spot (1, 1).
    QImage empty(32, 32, QImage::Format_ARGB32);
    empty.fill(Qt::transparent);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            empty.setPixel(x, y,
                           (x == 0 || y == 0 || x == 31 || y == 31) ? 0xff000000u : 0xffffffffu);
    out.cursor(QStringLiteral("EMPTYCURSOR"), empty);

    // "CROSS": a black circle with a 2-pixel cross-hair through its centre,
    // hot spot (15, 15).
    QImage cross(32, 32, QImage::Format_ARGB32);
    cross.fill(Qt::transparent);
    {
        QPainter p(&cross);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(QPen(Qt::black, 2));
        p.drawEllipse(QRectF(5, 5, 21, 21));
        p.fillRect(QRect(15, 0, 2, 32), Qt::black);
        p.fillRect(QRect(0, 15, 32, 2), Qt::black);
    }
    out.cursor(QStringLiteral("CROSS"), cross);
}

} // namespace artgen
