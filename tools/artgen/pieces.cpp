// Doors, secret doors, traps, blocked squares, stairs, note markers,
// entrances and exits and the small pieces of the expansions.

#include "artgen.h"
#include "draw.h"

#include <QtMath>

namespace artgen {

namespace {

using namespace tone;

// A white copy of an indexed picture with another one copied in at (x, y).
QImage whiteCanvas(int w, int h)
{
    QImage out(w, h, QImage::Format_Indexed8);
    out.setColorTable(stampPalette());
    out.fill(uint(stampPalette().size() - 1));
    return out;
}

void copyInto(QImage &target, const QImage &source, int x0, int y0)
{
    for (int y = 0; y < source.height(); ++y)
        for (int x = 0; x < source.width(); ++x)
            target.scanLine(y + y0)[x + x0] = source.constScanLine(y)[x];
}

// --- Doors and stones on a wall line (drawn for a vertical line, 18 x 30) ---

void doorShape(QPainter &p, qreal x0, bool stroke)
{
    // Door jambs of wall at both ends, the leaf between them.
    p.setPen(inkPen(1.0));
    setFill(p, dark);
    p.drawRect(QRectF(x0 + 0.5, 0.5, 17, 4));
    p.drawRect(QRectF(x0 + 0.5, 25.5, 17, 4));
    setFill(p, silver);
    p.drawRect(QRectF(x0 + 2.5, 4.5, 13, 21));
    p.setPen(inkPen(0.6, shade));
    for (qreal x : {6.5, 9.0, 11.5})
        p.drawLine(QPointF(x0 + x, 5.5), QPointF(x0 + x, 24.5));
    p.setPen(inkPen(0.8));
    setFill(p, ink);
    p.drawEllipse(QRectF(x0 + 12, 13.6, 2.2, 2.8));
    if (stroke) {
        p.setPen(inkPen(2.0));
        p.drawLine(QPointF(x0 + 3.5, 24), QPointF(x0 + 14.5, 6));
    }
}

QImage door(bool stroke)
{
    Sketch s(18, 30);
    doorShape(s.p(), 0, stroke);
    return s.finish();
}

QImage stone()
{
    Sketch s(18, 30);
    QPainter &p = s.p();
    p.setPen(inkPen(1.0));
    setFill(p, shade);
    p.drawPolygon(poly({{2, 2}, {11, 0.8}, {16.8, 4}, {17.2, 16}, {16, 28.5}, {7, 29.2}, {1, 26}, {0.8, 12}}));
    p.setPen(Qt::NoPen);
    setFill(p, silver);
    p.drawPolygon(poly({{3, 3.5}, {10.5, 2.5}, {14, 5}, {8, 8}, {3.5, 13}}));
    p.setPen(inkPen(0.7));
    p.drawLine(QPointF(5, 17), QPointF(9, 20));
    p.drawLine(QPointF(9, 20), QPointF(8, 25));
    p.drawLine(QPointF(9, 20), QPointF(14, 19));
    return s.finish();
}

// A door piece between two short pieces of wall line, on white: the palette
// shows it so that it is clear where on the line the door sits.
QImage doorThumbnail(const QImage &upright)
{
    QImage out = whiteCanvas(18, 38);
    copyInto(out, blueToWhite(upright), 0, 4);
    const int black = 1;
    for (int y : {0, 1, 2, 3, 34, 35, 36, 37})
        out.scanLine(y)[8] = out.scanLine(y)[9] = uchar(black);
    return out;
}

// --- Square traps and markers ---

QImage secretDoorTop()
{
    Sketch s(30, 30);
    QPainter &p = s.p();
    plate(p, QRectF(0, 0, 30, 30), silver);
    // Masonry.
    p.setPen(inkPen(0.6, shade));
    for (int row = 0; row < 4; ++row) {
        const qreal y = 9.5 + 5 * row;
        if (row < 3)
            p.drawLine(QPointF(1.5, y + 5), QPointF(28.5, y + 5));
        for (qreal x = (row % 2 ? 4.5 : 9.5); x < 28; x += 10)
            p.drawLine(QPointF(x, y), QPointF(x, y + 5));
    }
    // The hidden door on the top side, with an arrow towards it.
    p.setPen(inkPen(1.0));
    setFill(p, dark);
    p.drawRect(QRectF(6.5, 0.5, 17, 7));
    p.setPen(inkPen(0.6, silver));
    p.drawLine(QPointF(12, 1.5), QPointF(12, 7));
    p.drawLine(QPointF(18, 1.5), QPointF(18, 7));
    p.setPen(inkPen(0.9));
    setFill(p, ink);
    p.drawPolygon(poly({{15, 10}, {19.5, 15}, {16.5, 15}, {16.5, 21}, {13.5, 21}, {13.5, 15}, {10.5, 15}}));
    return s.finish();
}

QImage pit()
{
    Sketch s(30, 30);
    QPainter &p = s.p();
    plate(p, QRectF(0, 0, 30, 30), silver);
    QRadialGradient hole(QPointF(15, 16), 11);
    hole.setColorAt(0, grey(ink));
    hole.setColorAt(0.7, grey(deep));
    hole.setColorAt(1, grey(dark));
    p.setPen(inkPen(1.0));
    p.setBrush(hole);
    p.drawPolygon(poly({{6, 9}, {13, 4.5}, {22, 5.5}, {26, 12}, {25, 21}, {18, 26}, {9, 25}, {4.5, 18}}));
    // Broken edge stones.
    setFill(p, mid);
    p.setPen(inkPen(0.7));
    p.drawPolygon(poly({{6, 9}, {9, 7}, {10.5, 10}, {7.5, 11.5}}));
    p.drawPolygon(poly({{22, 22.5}, {25, 21}, {24, 24.2}, {21.5, 25}}));
    p.drawPolygon(poly({{19, 5.2}, {22, 5.5}, {23, 8.5}, {20, 8}}));
    return s.finish();
}

QImage spearTrap()
{
    Sketch s(30, 30);
    QPainter &p = s.p();
    plate(p, QRectF(0, 0, 30, 30), silver);
    // Holes in the floor and two crossed spears.
    p.setPen(Qt::NoPen);
    setFill(p, dark);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            if ((i + j) % 2)
                p.drawEllipse(QRectF(5 + 8.5 * i, 5 + 8.5 * j, 3, 3));
    for (int side : {-1, 1}) {
        p.save();
        p.translate(15, 15);
        p.rotate(45 * side);
        p.setPen(inkPen(1.0));
        setFill(p, dark);
        p.drawRect(QRectF(-1, -4, 2, 16));
        setFill(p, white);
        p.drawPolygon(poly({{0, -13.5}, {2.8, -7}, {0, -3.5}, {-2.8, -7}}));
        p.restore();
    }
    return s.finish();
}

QImage strikeTrap()
{
    // A trap with jaws: an iron ring with teeth, sprung shut on the square.
    Sketch s(30, 30);
    QPainter &p = s.p();
    plate(p, QRectF(0, 0, 30, 30), silver);
    p.setPen(inkPen(1.0));
    setFill(p, dark);
    p.drawEllipse(QRectF(4, 4, 22, 22));
    setFill(p, light);
    p.drawEllipse(QRectF(7.5, 7.5, 15, 15));
    // Teeth along the jaw line.
    setFill(p, white);
    QPainterPath teeth;
    teeth.moveTo(7.5, 15);
    for (int i = 0; i < 5; ++i) {
        const qreal x = 7.5 + 3 * i;
        teeth.lineTo(x + 1.5, i % 2 ? 18.5 : 11.5);
        teeth.lineTo(x + 3, 15);
    }
    p.drawPath(teeth);
    p.drawLine(QPointF(7.5, 15), QPointF(22.5, 15));
    setFill(p, ink);
    p.drawRect(QRectF(1.5, 13.5, 3, 3));
    p.drawRect(QRectF(25.5, 13.5, 3, 3));
    return s.finish();
}

QImage arrowTrap()
{
    // An arrow flying downwards: fletching at the top, head at the bottom.
    Sketch s(30, 30);
    QPainter &p = s.p();
    p.setPen(inkPen(1.0));
    setFill(p, silver);
    p.drawPolygon(poly({{15, 8}, {10, 2}, {10, 7}, {15, 12}}));
    p.drawPolygon(poly({{15, 8}, {20, 2}, {20, 7}, {15, 12}}));
    setFill(p, dark);
    p.drawRect(QRectF(13.8, 3, 2.4, 18));
    setFill(p, white);
    p.drawPolygon(poly({{15, 29}, {8.5, 19.5}, {15, 22}, {21.5, 19.5}}));
    return s.finish();
}

QImage rubble(int w, int h, unsigned seed)
{
    Sketch s(w, h);
    QPainter &p = s.p();
    plate(p, QRectF(0, 0, w, h), dark, 2);
    Dice dice(seed);
    QPainterPath clip;
    clip.addRoundedRect(QRectF(1, 1, w - 2, h - 2), 2, 2);
    p.setClipPath(clip);
    const int count = w * h / 40;
    for (int i = 0; i < count; ++i) {
        const QPointF c(dice.real(0, w), dice.real(0, h));
        const qreal r = dice.real(2.5, 5);
        QPolygonF rock;
        const int corners = 5 + dice.roll(3);
        for (int k = 0; k < corners; ++k) {
            const qreal a = 2 * M_PI * k / corners + dice.real(-0.3, 0.3);
            const qreal rr = r * dice.real(0.7, 1.1);
            rock << c + QPointF(rr * qCos(a), rr * qSin(a));
        }
        p.setPen(inkPen(0.8));
        setFill(p, i % 3 == 0 ? mid : (i % 3 == 1 ? silver : shade));
        p.drawPolygon(rock);
    }
    p.setClipping(false);
    p.setPen(inkPen(1.0));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(0.5, 0.5, w - 1, h - 1), 2, 2);
    return s.finish();
}

QImage stairs()
{
    // Steps going down towards the top: the lowest step is the darkest.
    Sketch s(62, 62);
    QPainter &p = s.p();
    plate(p, QRectF(0, 0, 62, 62), dark, 2);
    const int steps = 8;
    for (int i = 0; i < steps; ++i) {
        const qreal y = 5 + i * 6.5;
        const int level = 80 + (255 - 80) * i / (steps - 1);
        p.setPen(inkPen(0.9));
        setFill(p, level);
        p.drawRect(QRectF(7.5, y, 47, 6.5));
        p.setPen(inkPen(0.6, qMax(0, level - 64)));
        p.drawLine(QPointF(8.5, y + 1.2), QPointF(53.5, y + 1.2));
    }
    // Side walls.
    p.setPen(inkPen(1.0));
    setFill(p, shade);
    p.drawRect(QRectF(2.5, 2.5, 5, 57));
    p.drawRect(QRectF(54.5, 2.5, 5, 57));
    // An arrow on the steps points down the stairs.
    setFill(p, ink);
    p.setPen(Qt::NoPen);
    p.drawPolygon(poly({{31, 16}, {26, 24}, {29.5, 24}, {29.5, 45}, {32.5, 45}, {32.5, 24}, {36, 24}}));
    return s.finish();
}

void shadedCircle(QPainter &p)
{
    QRadialGradient g(QPointF(12, 11), 15);
    g.setColorAt(0, grey(white));
    g.setColorAt(0.55, grey(light));
    g.setColorAt(1, grey(shade));
    p.setPen(inkPen(1.2));
    p.setBrush(g);
    p.drawEllipse(QRectF(1.6, 1.6, 26.8, 26.8));
}

QImage letterMarker(QChar letter)
{
    Sketch s(30, 30);
    shadedCircle(s.p());
    drawLabel(s.p(), QString(letter), QPointF(15, 15), 15);
    return s.finish();
}

QImage letterX()
{
    Sketch s(30, 30);
    drawLabel(s.p(), QStringLiteral("X"), QPointF(15, 15), 20, ink, white, 3.0);
    return s.finish();
}

QImage numberMarker(const QString &text)
{
    Sketch s(30, 30, Ground::White);
    QPainter &p = s.p();
    p.setPen(inkPen(1.0));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(1.5, 1.5, 27, 27), 3, 3);
    if (text.contains(QLatin1Char('/'))) {
        drawLabel(p, text, QPointF(15, 15), 9.5, ink, -1, 0, QStringLiteral("DejaVu Sans Condensed"));
    } else {
        drawLabel(p, text, QPointF(15, 15), text.size() > 1 ? 13 : 15);
    }
    return s.finish();
}

// Entrance or exit, door on the left line and the arrow to its right.
QImage doorWithArrow(bool pointingAtDoor)
{
    Sketch s(35, 30);
    QPainter &p = s.p();
    doorShape(p, 0, false);
    p.setPen(inkPen(1.0));
    setFill(p, dark);
    if (pointingAtDoor)
        p.drawPolygon(poly({{18.8, 15}, {26, 7.5}, {26, 11.5}, {34.3, 11.5}, {34.3, 18.5}, {26, 18.5}, {26, 22.5}}));
    else
        p.drawPolygon(poly({{34.3, 15}, {27, 7.5}, {27, 11.5}, {18.8, 11.5}, {18.8, 18.5}, {27, 18.5}, {27, 22.5}}));
    return s.finish();
}

QImage forge()
{
    Sketch s(94, 30);
    QPainter &p = s.p();
    // Furnace with a fire.
    plate(p, QRectF(0, 0, 36, 30), shade, 3);
    p.setPen(inkPen(0.6, dark));
    for (qreal y : {7.5, 15.0, 22.5})
        p.drawLine(QPointF(1.5, y), QPointF(34.5, y));
    p.setPen(inkPen(1.0));
    setFill(p, ink);
    p.drawRoundedRect(QRectF(7.5, 5.5, 21, 19), 4, 4);
    setFill(p, white);
    QPainterPath flame;
    flame.moveTo(10, 22);
    flame.cubicTo(9, 16, 13, 14, 12.5, 8);
    flame.cubicTo(15, 11, 16, 13, 17, 9);
    flame.cubicTo(19, 12, 20, 14, 22.5, 8.5);
    flame.cubicTo(24, 14, 27, 17, 26, 22);
    flame.closeSubpath();
    p.drawPath(flame);
    setFill(p, silver);
    p.drawEllipse(QRectF(14, 15, 8, 6));
    // Anvil with its horn to the left and a hammer beside it.
    p.setPen(inkPen(1.0));
    setFill(p, dark);
    QPainterPath anvil;
    anvil.moveTo(39.5, 8.5);
    anvil.lineTo(47, 8.5);
    anvil.lineTo(66.5, 8.5);
    anvil.lineTo(66.5, 14);
    anvil.quadTo(60, 15, 59, 20);
    anvil.lineTo(63.5, 26.5);
    anvil.lineTo(46.5, 26.5);
    anvil.lineTo(51, 20);
    anvil.quadTo(50, 15, 46, 14);
    anvil.quadTo(42, 13, 39.5, 8.5);
    p.drawPath(anvil);
    p.setPen(inkPen(0.7, silver));
    p.drawLine(QPointF(47, 10.2), QPointF(65, 10.2));
    p.setPen(inkPen(0.9));
    setFill(p, mid);
    p.drawRect(QRectF(52, 2.5, 14, 2.5));
    setFill(p, shade);
    p.drawRect(QRectF(64, 1, 4, 5.5));
    // Quenching trough with water.
    p.setPen(inkPen(1.0));
    setFill(p, mid);
    p.drawRoundedRect(QRectF(70.5, 3.5, 23, 23), 2, 2);
    setFill(p, silver);
    p.drawRect(QRectF(73.5, 6.5, 17, 17));
    p.setPen(inkPen(0.7, shade));
    for (qreal y : {11.0, 15.0, 19.0}) {
        QPainterPath wave;
        wave.moveTo(75, y);
        wave.quadTo(78, y - 1.5, 81, y);
        wave.quadTo(84, y + 1.5, 87, y);
        wave.quadTo(88.5, y - 0.8, 89.5, y);
        p.drawPath(wave);
    }
    return s.finish();
}

QImage hatchTop()
{
    Sketch s(30, 30);
    QPainter &p = s.p();
    plate(p, QRectF(1, 1, 28, 28), mid, 1.5);
    p.setPen(inkPen(0.6, shade));
    for (qreal x : {8.0, 13.0, 18.0, 23.0})
        p.drawLine(QPointF(x, 2), QPointF(x, 28));
    // Iron bands and the ring near the top side.
    p.setPen(inkPen(0.9));
    setFill(p, dark);
    p.drawRect(QRectF(2, 11, 26, 2.5));
    p.drawRect(QRectF(2, 21, 26, 2.5));
    p.setPen(inkPen(1.6));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(11.5, 2.8, 7, 6.4));
    return s.finish();
}

QImage graveSlab()
{
    Sketch s(30, 62);
    QPainter &p = s.p();
    p.setPen(inkPen(1.0));
    setFill(p, silver);
    QPainterPath slab;
    slab.moveTo(2.5, 61.5);
    slab.lineTo(2.5, 14);
    slab.cubicTo(2.5, -2.5, 27.5, -2.5, 27.5, 14);
    slab.lineTo(27.5, 61.5);
    slab.closeSubpath();
    p.drawPath(slab);
    setFill(p, dark);
    p.drawRect(QRectF(13.5, 6.5, 3, 14));
    p.drawRect(QRectF(9, 10, 12, 3));
    drawLabel(p, QStringLiteral("RIP"), QPointF(15, 32), 7);
    p.setPen(inkPen(0.7, shade));
    p.drawLine(QPointF(5, 46), QPointF(10, 50));
    p.drawLine(QPointF(10, 50), QPointF(9, 56));
    p.drawLine(QPointF(21, 40), QPointF(25, 44));
    return s.finish();
}

QImage blockArrowUp()
{
    Sketch s(30, 30);
    QPainter &p = s.p();
    p.setPen(inkPen(1.2));
    setFill(p, white);
    p.drawPolygon(poly({{15, 2}, {27, 15}, {20, 15}, {20, 28}, {10, 28}, {10, 15}, {3, 15}}));
    p.setPen(Qt::NoPen);
    setFill(p, shade);
    p.drawPolygon(poly({{15, 6}, {23.5, 14}, {18.5, 14}, {18.5, 26.5}, {15, 26.5}}));
    return s.finish();
}

QImage fireTrap()
{
    Sketch s(30, 30);
    QPainter &p = s.p();
    plate(p, QRectF(0, 0, 30, 30), dark);
    p.setPen(inkPen(0.9));
    for (int i = 0; i < 3; ++i) {
        const qreal x = 5 + 7 * i;
        const qreal top = i == 1 ? 3 : 7;
        setFill(p, i == 1 ? white : light);
        QPainterPath flame;
        flame.moveTo(x, 26);
        flame.cubicTo(x - 2, 19, x + 4, 16, x + 3, top);
        flame.cubicTo(x + 9, 12, x + 11, 20, x + 9, 26);
        flame.closeSubpath();
        p.drawPath(flame);
    }
    setFill(p, shade);
    p.drawRect(QRectF(3.5, 25.5, 23, 2.5));
    return s.finish();
}

QImage whirlwind()
{
    Sketch s(30, 30);
    QPainter &p = s.p();
    plate(p, QRectF(0, 0, 30, 30), light);
    p.setPen(inkPen(1.4));
    p.setBrush(Qt::NoBrush);
    QPainterPath spiral;
    for (int i = 0; i <= 160; ++i) {
        const qreal a = i * 0.12;
        const qreal r = 0.3 + i * 0.075;
        const QPointF pt(15 + r * qCos(a), 15 + r * qSin(a));
        if (i == 0)
            spiral.moveTo(pt);
        else
            spiral.lineTo(pt);
    }
    p.drawPath(spiral);
    p.setPen(inkPen(1.0, shade));
    p.drawLine(QPointF(3, 6), QPointF(9, 4));
    p.drawLine(QPointF(21, 26), QPointF(27, 24));
    return s.finish();
}

QImage teleporter(QChar letter)
{
    Sketch s(30, 30);
    QPainter &p = s.p();
    p.setPen(inkPen(1.0));
    setFill(p, dark);
    p.drawEllipse(QRectF(0.8, 0.8, 28.4, 28.4));
    setFill(p, silver);
    p.drawEllipse(QRectF(4, 4, 22, 22));
    p.setBrush(Qt::NoBrush);
    p.setPen(inkPen(0.7, shade));
    p.drawEllipse(QRectF(6.5, 6.5, 17, 17));
    p.setPen(inkPen(1.0));
    setFill(p, white);
    p.drawEllipse(QRectF(8.5, 8.5, 13, 13));
    drawLabel(p, QString(letter), QPointF(15, 15), 10);
    return s.finish();
}

QImage blade(bool filled)
{
    // A guillotine blade across the square between its two posts; its edge
    // slants towards the right.
    Sketch s(30, 30);
    QPainter &p = s.p();
    p.setPen(inkPen(1.0));
    setFill(p, dark);
    p.drawRect(QRectF(1.5, 4.5, 4, 21));
    p.drawRect(QRectF(24.5, 4.5, 4, 21));
    p.setPen(inkPen(filled ? 1.0 : 1.4));
    setFill(p, filled ? dark : white);
    p.drawPolygon(poly({{5.5, 7.5}, {24.5, 7.5}, {24.5, 23}, {5.5, 15.5}}));
    p.setPen(inkPen(1.0));
    setFill(p, filled ? ink : shade);
    p.drawRect(QRectF(10.5, 2.5, 9, 4.5));
    return s.finish();
}

QImage crypt()
{
    Sketch s(30, 30);
    QPainter &p = s.p();
    plate(p, QRectF(0, 0, 30, 30), deep);
    // An arched doorway and steps into the dark.
    p.setPen(inkPen(1.2, silver));
    p.setBrush(Qt::NoBrush);
    QPainterPath arch;
    arch.moveTo(7, 26);
    arch.lineTo(7, 13);
    arch.cubicTo(7, 3.5, 23, 3.5, 23, 13);
    arch.lineTo(23, 26);
    p.drawPath(arch);
    p.setPen(inkPen(0.9, shade));
    for (qreal y : {17.0, 20.5, 24.0})
        p.drawLine(QPointF(9, y), QPointF(21, y));
    setFill(p, white);
    p.setPen(Qt::NoPen);
    p.drawEllipse(QRectF(12, 8, 6, 5.2));
    p.drawRect(QRectF(13.2, 12, 3.6, 2.4));
    setFill(p, ink);
    p.drawEllipse(QRectF(13, 9.6, 1.7, 1.7));
    p.drawEllipse(QRectF(15.3, 9.6, 1.7, 1.7));
    return s.finish();
}

QImage emptySquare()
{
    return whiteCanvas(30, 30);
}

} // namespace

void makePieces(Writer &out)
{
    const QImage tuer = door(false);
    out.bitmap(QStringLiteral("TUER1"), tuer);
    out.bitmap(QStringLiteral("TUER2"), turned(tuer, 1));
    out.bitmap(QStringLiteral("THUMB_TUER1"), doorThumbnail(tuer));
    out.bitmap(QStringLiteral("THUMB_TUER2"), turned(doorThumbnail(tuer), 1));
    const QImage crossed = door(true);
    out.bitmap(QStringLiteral("DOORO1"), crossed);
    out.bitmap(QStringLiteral("DOORO2"), turned(crossed, 1));
    const QImage stein = stone();
    out.bitmap(QStringLiteral("STEIN1"), stein);
    out.bitmap(QStringLiteral("STEIN2"), turned(stein, 1));

    const QImage gt = secretDoorTop();
    out.bitmap(QStringLiteral("GTO"), gt);
    out.bitmap(QStringLiteral("GTR"), turned(gt, 1));
    out.bitmap(QStringLiteral("GTU"), turned(gt, 2));
    out.bitmap(QStringLiteral("GTL"), turned(gt, 3));

    out.bitmap(QStringLiteral("FALLGRUBE"), pit());
    out.bitmap(QStringLiteral("SPEER"), spearTrap());
    out.bitmap(QStringLiteral("SCHLAGFALLE"), strikeTrap());
    out.bitmap(QStringLiteral("PFEIL"), arrowTrap());
    out.bitmap(QStringLiteral("BLOCK"), rubble(30, 30, 7));
    out.bitmap(QStringLiteral("BLOCK21"), rubble(62, 30, 21));
    out.bitmap(QStringLiteral("BLOCK22"), rubble(30, 62, 22));

    const QImage stair = stairs();
    for (int i = 0; i < 4; ++i)
        out.bitmap(QStringLiteral("STAIR%1").arg(i + 1), turned(stair, i));

    // The legend of the quest sheet shows these same pictures, blue made white.
    for (QChar letter : {QLatin1Char('A'), QLatin1Char('B'), QLatin1Char('C'), QLatin1Char('D')})
        out.bitmap(QString(letter) + QLatin1Char('B'), letterMarker(letter));
    out.bitmap(QStringLiteral("XB"), letterX());
    // The palette shows the markers in the order 2/12, 3, 4, ... 11; the
    // resources for 4 and 11 carry each other's numbers.
    out.bitmap(QStringLiteral("Z2"), numberMarker(QStringLiteral("2/12")));
    for (int n = 3; n <= 11; ++n) {
        const int shown = n == 4 ? 11 : (n == 11 ? 4 : n);
        out.bitmap(QStringLiteral("Z%1").arg(n), numberMarker(QString::number(shown)));
    }

    const QImage enter = doorWithArrow(true);
    const QImage exit = doorWithArrow(false);
    out.bitmap(QStringLiteral("ENTERR"), enter);
    out.bitmap(QStringLiteral("ENTERL"), flipped(enter, true, false));
    out.bitmap(QStringLiteral("ENTERU"), turned(enter, 1));
    out.bitmap(QStringLiteral("ENTERO"), flipped(turned(enter, 1), false, true));
    out.bitmap(QStringLiteral("EXITR"), exit);
    out.bitmap(QStringLiteral("EXITL"), flipped(exit, true, false));
    out.bitmap(QStringLiteral("EXITU"), turned(exit, 1));
    out.bitmap(QStringLiteral("EXITO"), flipped(turned(exit, 1), false, true));

    const QImage schmiede = forge();
    out.bitmap(QStringLiteral("SCHMIEDE1"), schmiede);
    out.bitmap(QStringLiteral("SCHMIEDE2"), turned(schmiede, 1));
    const QImage klappe = hatchTop();
    out.bitmap(QStringLiteral("KLAPPEO"), klappe);
    out.bitmap(QStringLiteral("KLAPPER"), turned(klappe, 1));
    out.bitmap(QStringLiteral("KLAPPEU"), turned(klappe, 2));
    out.bitmap(QStringLiteral("KLAPPEL"), turned(klappe, 3));
    const QImage rip = graveSlab();
    for (int i = 0; i < 4; ++i)
        out.bitmap(QStringLiteral("RIP%1").arg(i + 1), turned(rip, i));
    const QImage arrow = blockArrowUp();
    out.bitmap(QStringLiteral("PO"), arrow);
    out.bitmap(QStringLiteral("PR"), turned(arrow, 1));
    out.bitmap(QStringLiteral("PU"), turned(arrow, 2));
    out.bitmap(QStringLiteral("PL"), turned(arrow, 3));

    out.bitmap(QStringLiteral("BRUNST"), fireTrap());
    out.bitmap(QStringLiteral("LUFT"), whirlwind());
    out.bitmap(QStringLiteral("TA"), teleporter(QLatin1Char('A')));
    out.bitmap(QStringLiteral("TB"), teleporter(QLatin1Char('B')));
    const QImage fallb = blade(true);
    const QImage fallb2 = blade(false);
    out.bitmap(QStringLiteral("FALLBH"), fallb);
    out.bitmap(QStringLiteral("FALLBV"), turned(fallb, 1));
    out.bitmap(QStringLiteral("FALLBH2"), fallb2);
    out.bitmap(QStringLiteral("FALLBV2"), turned(fallb2, 1));
    out.bitmap(QStringLiteral("GRUFT"), crypt());
    out.bitmap(QStringLiteral("EMPTY"), emptySquare());
}

} // namespace artgen
