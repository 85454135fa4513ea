// The large floor tiles of the expansions. The tiles that fill their whole
// block of squares carry the board's square lines, so they still show the
// grid where they lie.

#include "artgen.h"
#include "draw.h"

#include <QtMath>

namespace artgen {

namespace {

using namespace tone;

QPolygonF blob(const QPointF &c, qreal rx, qreal ry, Dice &dice, int corners = 24,
               qreal rough = 0.12)
{
    QPolygonF shape;
    for (int k = 0; k < corners; ++k) {
        const qreal a = 2 * M_PI * k / corners;
        const qreal f = 1 + dice.real(-rough, rough);
        shape << c + QPointF(rx * f * qCos(a), ry * f * qSin(a));
    }
    return shape;
}

void frame(QPainter &p, int w, int h)
{
    p.setPen(inkPen(1.0));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(0.5, 0.5, w - 1, h - 1));
}

QImage chaosTile()
{
    const int w = 254, h = 222;
    Sketch s(w, h, Ground::White);
    QPainter &p = s.p();
    drawSquareGrid(p, w, h, silver);
    Dice dice(254);
    // The crater: a broken rim, a dark throat and cracks running out of it.
    const QPointF c(127, 111);
    p.setPen(inkPen(1.2, dark));
    for (int i = 0; i < 14; ++i) {
        const qreal a = 2 * M_PI * i / 14 + dice.real(-0.2, 0.2);
        QPointF pt = c + QPointF(62 * qCos(a), 54 * qSin(a));
        for (int k = 0; k < 3; ++k) {
            const qreal b = a + dice.real(-0.5, 0.5);
            const QPointF next = pt + QPointF(14 * qCos(b), 14 * qSin(b));
            p.drawLine(pt, next);
            pt = next;
        }
    }
    p.setPen(inkPen(1.2));
    setFill(p, mid);
    p.drawPolygon(blob(c, 70, 60, dice, 30, 0.08));
    QRadialGradient throat(c, 52);
    throat.setColorAt(0, grey(ink));
    throat.setColorAt(0.55, grey(deep));
    throat.setColorAt(1, grey(shade));
    p.setBrush(throat);
    p.drawPolygon(blob(c, 54, 45, dice, 30, 0.1));
    // Rocks thrown out around the crater.
    for (int i = 0; i < 26; ++i) {
        const qreal a = dice.real(0, 2 * M_PI);
        const qreal r = dice.real(1.1, 1.7);
        const QPointF at = c + QPointF(70 * r * qCos(a), 60 * r * qSin(a));
        setFill(p, dice.roll(2) ? silver : shade);
        p.setPen(inkPen(0.8));
        p.drawPolygon(blob(at, dice.real(2.5, 6), dice.real(2.5, 5), dice, 7, 0.3));
    }
    frame(p, w, h);
    return s.finish();
}

// A black 1-pixel edge around an indexed tile.
QImage framed(QImage tile)
{
    const int black = 1;
    for (int x = 0; x < tile.width(); ++x)
        tile.scanLine(0)[x] = tile.scanLine(tile.height() - 1)[x] = uchar(black);
    for (int y = 0; y < tile.height(); ++y)
        tile.scanLine(y)[0] = tile.scanLine(y)[tile.width() - 1] = uchar(black);
    return tile;
}

// The outdoor scene, taller than the tile: the tile is its top part, the
// palette thumbnail shows all of it.
QImage outdoorScene(int h)
{
    const int w = 254;
    Sketch s(w, h, Ground::White);
    QPainter &p = s.p();
    drawSquareGrid(p, w, h, light);
    Dice dice(58);
    // A winding path.
    QPainterPath path;
    path.moveTo(-5, 98);
    path.cubicTo(60, 71, 110, 134, 170, 95);
    path.cubicTo(200, 76, 215, 140, 225, 230);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(grey(ink), 22, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(path);
    p.setPen(QPen(grey(silver), 20, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(path);
    p.setPen(QPen(grey(mid), 1.0, Qt::DotLine));
    p.drawPath(path);
    // Grass tufts.
    p.setPen(inkPen(0.8, shade));
    for (int i = 0; i < w * h / 260; ++i) {
        const QPointF at(dice.real(4, w - 4), dice.real(4, h - 4));
        p.drawLine(at, at + QPointF(-1.5, -3));
        p.drawLine(at, at + QPointF(0, -3.6));
        p.drawLine(at, at + QPointF(1.5, -3));
    }
    // Trees seen from above: a shadow and a bumpy crown.
    const QPointF trees[] = {{30, 28},  {70, 20},   {215, 30}, {190, 125}, {40, 135},
                             {120, 40}, {230, 190}, {60, 200}, {150, 195}};
    for (const QPointF &t : trees) {
        if (t.y() > h - 10)
            continue;
        const qreal r = dice.real(12, 17);
        p.setPen(Qt::NoPen);
        setFill(p, shade);
        p.drawEllipse(t + QPointF(4, 4), r, r);
        // The crown: a ring of leafy lobes around a middle.
        QPainterPath crown;
        const int lobes = 9;
        for (int k = 0; k < lobes; ++k) {
            const qreal a = 2 * M_PI * k / lobes;
            crown.addEllipse(t + QPointF(r * 0.62 * qCos(a), r * 0.62 * qSin(a)), r * 0.42,
                             r * 0.42);
        }
        crown.addEllipse(t, r * 0.7, r * 0.7);
        p.setPen(inkPen(1.0));
        setFill(p, mid);
        p.drawPath(crown.simplified());
        setFill(p, silver);
        p.setPen(Qt::NoPen);
        p.drawEllipse(t + QPointF(-r * 0.25, -r * 0.25), r * 0.3, r * 0.3);
    }
    // Boulders.
    for (const QPointF &b :
         {QPointF(100, 100), QPointF(160, 60), QPointF(20, 80), QPointF(240, 100)}) {
        p.setPen(inkPen(1.0));
        setFill(p, silver);
        p.drawPolygon(blob(b, 7, 5.5, dice, 8, 0.25));
    }
    return s.finish();
}

QImage chasm()
{
    const int w = 126, h = 158;
    Sketch s(w, h, Ground::White);
    QPainter &p = s.p();
    drawSquareGrid(p, w, h, silver);
    Dice dice(126);
    // A jagged crack running from top to bottom.
    QPolygonF left, right;
    for (int y = -4; y <= h + 4; y += 8) {
        const qreal middle = 63 + 10 * qSin(y / 25.0);
        left << QPointF(middle - 18 - dice.real(0, 6), y);
        right.prepend(QPointF(middle + 18 + dice.real(0, 6), y));
    }
    QPolygonF crack = left + right;
    p.setPen(inkPen(1.2));
    QLinearGradient depth(QPointF(30, 0), QPointF(96, 0));
    depth.setColorAt(0, grey(shade));
    depth.setColorAt(0.3, grey(ink));
    depth.setColorAt(1, grey(deep));
    p.setBrush(depth);
    p.drawPolygon(crack);
    // The rope bridge across.
    const qreal y0 = 68, y1 = 90;
    p.setPen(inkPen(1.0));
    for (qreal x = 24; x < 102; x += 6) {
        setFill(p, int(x) % 12 ? mid : silver);
        p.drawRect(QRectF(x, y0 + 2, 5, y1 - y0 - 4));
    }
    p.setPen(inkPen(1.6));
    p.drawLine(QPointF(20, y0 + 1), QPointF(106, y0 + 1));
    p.drawLine(QPointF(20, y1 - 1), QPointF(106, y1 - 1));
    setFill(p, dark);
    for (const QPointF &post :
         {QPointF(20, y0 + 1), QPointF(106, y0 + 1), QPointF(20, y1 - 1), QPointF(106, y1 - 1)})
        p.drawEllipse(post, 2.6, 2.6);
    frame(p, w, h);
    return s.finish();
}

QImage carpet()
{
    const int w = 126, h = 126;
    Sketch s(w, h);
    QPainter &p = s.p();
    // Fringes at both ends.
    p.setPen(inkPen(0.9));
    for (qreal x = 6; x < 121; x += 3.5) {
        p.drawLine(QPointF(x, 0.8), QPointF(x, 6));
        p.drawLine(QPointF(x, 120), QPointF(x, 125.2));
    }
    p.setPen(inkPen(1.0));
    setFill(p, shade);
    p.drawRect(QRectF(2.5, 5.5, 121, 115));
    setFill(p, silver);
    p.drawRect(QRectF(11.5, 14.5, 103, 97));
    // A band of diamonds in the border.
    setFill(p, light);
    p.setPen(inkPen(0.7));
    for (qreal x = 12; x < 118; x += 10) {
        for (qreal y : {10.0, 116.0})
            p.drawPolygon(QPolygonF({QPointF(x, y), QPointF(x + 4, y - 3.2), QPointF(x + 8, y),
                                     QPointF(x + 4, y + 3.2)}));
    }
    for (qreal y = 20; y < 108; y += 10) {
        for (qreal x : {7.0, 119.0})
            p.drawPolygon(QPolygonF({QPointF(x, y), QPointF(x + 3.2, y + 4), QPointF(x, y + 8),
                                     QPointF(x - 3.2, y + 4)}));
    }
    // Central medallion.
    p.setPen(inkPen(1.0));
    setFill(p, light);
    p.drawPolygon(
        QPolygonF({QPointF(63, 24), QPointF(102, 63), QPointF(63, 102), QPointF(24, 63)}));
    setFill(p, dark);
    p.drawEllipse(QPointF(63, 63), 16, 16);
    setFill(p, white);
    p.drawEllipse(QPointF(63, 63), 7, 7);
    return s.finish();
}

QImage emblem()
{
    const int w = 126, h = 126;
    Sketch s(w, h);
    QPainter &p = s.p();
    const QPointF c(63, 63);
    p.setPen(inkPen(1.2));
    setFill(p, shade);
    p.drawEllipse(c, 62, 62);
    setFill(p, light);
    p.drawEllipse(c, 52, 52);
    // An eight-pointed star with a ring of runes around it.
    QPolygonF star;
    for (int k = 0; k < 16; ++k) {
        const qreal a = M_PI * k / 8 - M_PI / 2;
        const qreal r = k % 2 ? 20 : 46;
        star << c + QPointF(r * qCos(a), r * qSin(a));
    }
    setFill(p, dark);
    p.drawPolygon(star);
    setFill(p, white);
    p.drawEllipse(c, 12, 12);
    setFill(p, ink);
    p.drawEllipse(c, 4, 4);
    p.setPen(inkPen(1.0, white));
    for (int k = 0; k < 24; ++k) {
        const qreal a = 2 * M_PI * k / 24;
        const QPointF at = c + QPointF(57 * qCos(a), 57 * qSin(a));
        const QPointF along(2.2 * qCos(a + M_PI / 2), 2.2 * qSin(a + M_PI / 2));
        p.drawLine(at - along, at + along);
        if (k % 2)
            p.drawLine(at, at + QPointF(2 * qCos(a), 2 * qSin(a)));
    }
    return s.finish();
}

QImage decoratedFloor()
{
    const int w = 126, h = 158;
    Sketch s(w, h);
    QPainter &p = s.p();
    p.setPen(inkPen(1.0));
    setFill(p, dark);
    p.drawRoundedRect(QRectF(0.5, 0.5, w - 1, h - 1), 3, 3);
    setFill(p, white);
    p.drawRect(QRectF(6.5, 6.5, w - 13, h - 13));
    // A mosaic of lozenges, alternately shaded.
    p.save();
    p.setClipRect(QRectF(7, 7, w - 14, h - 14));
    p.setPen(inkPen(0.7));
    const qreal step = 16;
    for (int row = -1; row < 12; ++row) {
        for (int col = -1; col < 9; ++col) {
            const QPointF c(7 + col * step + (row % 2 ? step / 2 : 0), 7 + row * step / 1.0);
            setFill(p, (row + col) % 3 == 0 ? shade : ((row + col) % 3 == 1 ? silver : light));
            p.drawPolygon(QPolygonF(
                {c + QPointF(0, -8), c + QPointF(8, 0), c + QPointF(0, 8), c + QPointF(-8, 0)}));
        }
    }
    p.restore();
    // A plain stone at the centre.
    p.setPen(inkPen(1.0));
    setFill(p, white);
    p.drawEllipse(QPointF(63, 79), 20, 20);
    setFill(p, dark);
    p.drawEllipse(QPointF(63, 79), 8, 8);
    return s.finish();
}

} // namespace

void makeTiles(Writer &out)
{
    out.bitmap(QStringLiteral("CHAOS"), chaosTile());
    const QImage outland = outdoorScene(222);
    out.bitmap(QStringLiteral("THUMB_OUTLAND"), framed(outland));
    out.bitmap(QStringLiteral("OUTLAND"), framed(outland.copy(0, 0, 254, 158)));
    out.bitmap(QStringLiteral("SCHLUCHT"), chasm());
    out.bitmap(QStringLiteral("TEPPICH"), carpet());
    out.bitmap(QStringLiteral("DEKO2"), emblem());
    out.bitmap(QStringLiteral("DEKO1"), decoratedFloor());
}

} // namespace artgen
