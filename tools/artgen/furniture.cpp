// The furniture pieces in their four views. View 1 is drawn; views 2 to 4 are
// view 1 turned clockwise by one, two and three quarter turns. Pieces that
// stand against a wall have their back at the top in view 1.

#include "artgen.h"
#include "draw.h"

#include <QtMath>

namespace artgen {

namespace {

using namespace tone;

void body(QPainter &p, const QRectF &r, int fill, qreal radius = 2)
{
    plate(p, r, fill, radius);
}

void candle(QPainter &p, const QPointF &c)
{
    p.setPen(inkPen(0.8));
    setFill(p, dark);
    p.drawEllipse(QRectF(c.x() - 4, c.y() - 4, 8, 8));
    setFill(p, white);
    p.drawEllipse(QRectF(c.x() - 2.4, c.y() - 2.4, 4.8, 4.8));
    p.setPen(Qt::NoPen);
    setFill(p, ink);
    p.drawEllipse(QRectF(c.x() - 0.9, c.y() - 0.9, 1.8, 1.8));
}

QImage altar()
{
    Sketch s(94, 62);
    QPainter &p = s.p();
    body(p, QRectF(1, 1, 92, 60), shade, 3);
    body(p, QRectF(5, 5, 84, 52), mid, 2);
    // Altar cloth over the middle with a hem.
    p.setPen(inkPen(1.0));
    setFill(p, light);
    p.drawRect(QRectF(30.5, 4.5, 33, 53));
    p.setPen(inkPen(0.7, shade));
    p.drawLine(QPointF(32.5, 8), QPointF(32.5, 54));
    p.drawLine(QPointF(61.5, 8), QPointF(61.5, 54));
    // A cross on the cloth, candles at the ends.
    p.setPen(Qt::NoPen);
    setFill(p, ink);
    p.drawRect(QRectF(45.5, 14, 3, 26));
    p.drawRect(QRectF(38, 21, 18, 3));
    for (const QPointF &c : {QPointF(15, 14), QPointF(15, 48), QPointF(79, 14), QPointF(79, 48)})
        candle(p, c);
    // A skull offering.
    setFill(p, white);
    p.setPen(inkPen(0.8));
    p.drawEllipse(QRectF(11, 26, 9, 9));
    p.setPen(Qt::NoPen);
    setFill(p, ink);
    p.drawEllipse(QRectF(12.8, 29, 2.2, 2.2));
    p.drawEllipse(QRectF(16, 29, 2.2, 2.2));
    return s.finish();
}

QImage alchemy()
{
    Sketch s(94, 62);
    QPainter &p = s.p();
    body(p, QRectF(1, 1, 92, 60), mid, 3);
    p.setPen(inkPen(0.6, shade));
    for (qreal y : {16.0, 31.0, 46.0})
        p.drawLine(QPointF(2, y), QPointF(92, y));
    // Flasks and bottles seen from above, a retort and an open book.
    struct Flask {
        qreal x, y, r;
        int fill;
    };
    const Flask flasks[] = {{12, 12, 6, white}, {26, 10, 4, light}, {14, 30, 4.5, dark},
                            {72, 48, 7, white}, {84, 34, 4, dark},  {58, 12, 4.5, light}};
    for (const Flask &f : flasks) {
        p.setPen(inkPen(1.0));
        setFill(p, f.fill);
        p.drawEllipse(QPointF(f.x, f.y), f.r, f.r);
        setFill(p, ink);
        p.drawEllipse(QPointF(f.x, f.y), f.r * 0.35, f.r * 0.35);
    }
    // Retort: bulb with a bent neck.
    p.setPen(inkPen(1.0));
    setFill(p, light);
    p.drawEllipse(QRectF(32, 34, 16, 16));
    p.setPen(inkPen(3.2));
    p.drawLine(QPointF(46, 38), QPointF(58, 30));
    p.setPen(inkPen(1.6, light));
    p.drawLine(QPointF(46, 38), QPointF(58, 30));
    // Book.
    p.setPen(inkPen(1.0));
    setFill(p, white);
    p.drawRect(QRectF(68.5, 6.5, 10, 15));
    p.drawRect(QRectF(78.5, 6.5, 10, 15));
    p.setPen(inkPen(0.5, shade));
    for (qreal y : {10.0, 13.0, 16.0}) {
        p.drawLine(QPointF(70.5, y), QPointF(76.5, y));
        p.drawLine(QPointF(80.5, y), QPointF(86.5, y));
    }
    return s.finish();
}

QImage rack()
{
    Sketch s(94, 62);
    QPainter &p = s.p();
    // The frame with rollers at both ends and a bed of planks.
    body(p, QRectF(1, 8, 92, 46), dark, 2);
    p.setPen(inkPen(1.0));
    setFill(p, mid);
    p.drawRect(QRectF(14.5, 12.5, 65, 37));
    p.setPen(inkPen(0.6, shade));
    for (qreal y : {21.5, 30.5, 39.5})
        p.drawLine(QPointF(15.5, y), QPointF(78.5, y));
    for (qreal x : {3.0, 81.0}) {
        p.setPen(inkPen(1.0));
        setFill(p, silver);
        p.drawRoundedRect(QRectF(x + 0.5, 3.5, 9, 55), 3, 3);
        p.setPen(inkPen(0.6, shade));
        for (qreal y = 8; y < 56; y += 4)
            p.drawLine(QPointF(x + 1.5, y), QPointF(x + 8.5, y + 1.5));
    }
    // Crank handles.
    p.setPen(inkPen(1.6));
    p.drawLine(QPointF(2, 31), QPointF(2, 22));
    p.drawLine(QPointF(92, 31), QPointF(92, 40));
    // Ropes from the rollers to the middle.
    p.setPen(inkPen(1.2, ink));
    for (qreal y : {22.0, 40.0}) {
        p.drawLine(QPointF(12, y), QPointF(34, y));
        p.drawLine(QPointF(60, y), QPointF(82, y));
    }
    return s.finish();
}

QImage table()
{
    Sketch s(94, 62);
    QPainter &p = s.p();
    body(p, QRectF(1, 1, 92, 60), mid, 3);
    p.setPen(inkPen(0.7, shade));
    for (qreal y : {13.0, 25.0, 37.0, 49.0})
        p.drawLine(QPointF(2, y), QPointF(92, y));
    p.setPen(inkPen(0.6, dark));
    for (const QPointF &c :
         {QPointF(20, 6), QPointF(64, 19), QPointF(38, 31), QPointF(76, 43), QPointF(14, 55)})
        p.drawArc(QRectF(c.x(), c.y() - 1.5, 6, 3), 0, 360 * 16);
    // Plates and a jug.
    for (const QPointF &c : {QPointF(16, 16), QPointF(78, 16), QPointF(16, 46), QPointF(78, 46)}) {
        p.setPen(inkPen(1.0));
        setFill(p, white);
        p.drawEllipse(c, 6, 6);
        p.setPen(inkPen(0.6, silver));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(c, 3.5, 3.5);
    }
    p.setPen(inkPen(1.0));
    setFill(p, silver);
    p.drawEllipse(QPointF(47, 31), 5, 5);
    setFill(p, dark);
    p.drawEllipse(QPointF(47, 31), 2.5, 2.5);
    return s.finish();
}

QImage sarcophagus()
{
    Sketch s(94, 62);
    QPainter &p = s.p();
    p.setPen(inkPen(1.0));
    setFill(p, shade);
    const QPolygonF outline = poly(
        {{1.5, 20}, {22, 1.5}, {82, 5}, {92.5, 16}, {92.5, 46}, {82, 57}, {22, 60.5}, {1.5, 42}});
    p.drawPolygon(outline);
    setFill(p, silver);
    p.drawPolygon(
        poly({{7, 22}, {24, 7}, {80, 10}, {87, 18}, {87, 44}, {80, 52}, {24, 55}, {7, 40}}));
    // The lid shows a figure with a sword: head, body and the blade.
    p.setPen(inkPen(1.0));
    setFill(p, light);
    p.drawEllipse(QRectF(13, 24, 13, 14));
    p.drawRoundedRect(QRectF(26.5, 18.5, 50, 25), 6, 6);
    setFill(p, white);
    p.drawRect(QRectF(30, 29.5, 48, 3));
    setFill(p, dark);
    p.drawRect(QRectF(29.5, 24.5, 3, 13));
    p.setPen(inkPen(0.6, shade));
    p.drawLine(QPointF(16, 31), QPointF(23, 31));
    return s.finish();
}

QImage bookshelf()
{
    Sketch s(94, 30);
    QPainter &p = s.p();
    body(p, QRectF(0, 1, 94, 28), dark, 2);
    Dice dice(44);
    qreal x = 3.5;
    while (x < 88) {
        const qreal w = dice.real(2.8, 5);
        const qreal depth = dice.real(15, 23);
        const int tones[] = {white, light, silver, mid, shade};
        p.setPen(inkPen(0.7));
        setFill(p, tones[dice.roll(5)]);
        p.drawRect(QRectF(x, 3, qMin(w, 90.5 - x), depth));
        x += w + (dice.roll(6) == 0 ? 2 : 0);
    }
    p.setPen(inkPen(1.0));
    setFill(p, mid);
    p.drawRect(QRectF(1.5, 2.5, 2, 25));
    p.drawRect(QRectF(90.5, 2.5, 2, 25));
    return s.finish();
}

QImage cupboard()
{
    Sketch s(94, 30);
    QPainter &p = s.p();
    body(p, QRectF(0, 1, 94, 28), mid, 2);
    // Three doors, each with a knob; plates stand on top.
    p.setPen(inkPen(1.0));
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < 3; ++i) {
        const qreal x = 3.5 + 29.2 * i;
        setFill(p, silver);
        p.drawRect(QRectF(x, 15.5, 28, 11));
        setFill(p, ink);
        p.drawEllipse(QPointF(x + 14, 21), 1.4, 1.4);
    }
    for (int i = 0; i < 6; ++i) {
        const QPointF c(10 + 14.8 * i, 8.5);
        p.setPen(inkPen(0.9));
        setFill(p, white);
        p.drawEllipse(c, 5, 5);
        p.setPen(inkPen(0.6, silver));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(c, 2.7, 2.7);
    }
    return s.finish();
}

QImage fireplace()
{
    Sketch s(94, 30);
    QPainter &p = s.p();
    body(p, QRectF(0, 1, 94, 28), shade, 2);
    // Stone mantle.
    p.setPen(inkPen(0.6, dark));
    for (qreal y : {8.5, 16.5})
        p.drawLine(QPointF(1, y), QPointF(93, y));
    for (int row = 0; row < 3; ++row)
        for (qreal x = (row % 2 ? 8 : 14); x < 92; x += 12)
            p.drawLine(QPointF(x, 1.5 + 8 * row), QPointF(x, 8.5 + 8 * row));
    // Hearth with logs and flames.
    p.setPen(inkPen(1.0));
    setFill(p, ink);
    p.drawRoundedRect(QRectF(22.5, 3.5, 49, 26), 3, 3);
    QLinearGradient glow(QPointF(0, 26), QPointF(0, 6));
    glow.setColorAt(0, grey(white));
    glow.setColorAt(1, grey(silver));
    p.setBrush(glow);
    p.setPen(inkPen(0.8));
    for (int i = 0; i < 3; ++i) {
        const qreal x = 30 + 12 * i;
        const qreal top = i == 1 ? 6 : 10;
        QPainterPath flame;
        flame.moveTo(x + 5, 25);
        flame.cubicTo(x - 2, 24, x - 1, 16, x + 4, top);
        flame.cubicTo(x + 5, 15, x + 8, 14, x + 8, 17);
        flame.cubicTo(x + 11, 20, x + 10, 25, x + 5, 25);
        p.drawPath(flame);
    }
    setFill(p, shade);
    p.drawRoundedRect(QRectF(28, 22.5, 38, 3.5), 1.7, 1.7);
    p.drawRoundedRect(QRectF(33, 25, 28, 3.5), 1.7, 1.7);
    return s.finish();
}

QImage weaponRack()
{
    Sketch s(94, 30);
    QPainter &p = s.p();
    body(p, QRectF(0, 1, 94, 28), dark, 2);
    p.setPen(inkPen(1.0));
    setFill(p, mid);
    p.drawRect(QRectF(2.5, 3.5, 89, 4));
    // Swords, an axe and a spear lying in the rack.
    auto sword = [&](qreal x) {
        p.setPen(inkPen(0.8));
        setFill(p, white);
        p.drawPolygon(poly({{x - 1.6, 9}, {x + 1.6, 9}, {x + 1.6, 24}, {x, 27.5}, {x - 1.6, 24}}));
        setFill(p, silver);
        p.drawRect(QRectF(x - 4, 7, 8, 2));
        p.drawRect(QRectF(x - 1, 2.5, 2, 4.5));
    };
    sword(10);
    sword(22);
    sword(72);
    sword(84);
    // Axe.
    p.setPen(inkPen(1.0));
    setFill(p, mid);
    p.drawRect(QRectF(34.5, 3, 2.5, 24));
    setFill(p, white);
    QPainterPath axe;
    axe.moveTo(37, 7);
    axe.cubicTo(45, 5, 47, 12, 46, 17);
    axe.cubicTo(44, 15, 40, 15, 37, 15);
    axe.closeSubpath();
    p.drawPath(axe);
    // Spear and shield.
    setFill(p, mid);
    p.drawRect(QRectF(52, 5, 2, 22));
    setFill(p, white);
    p.drawPolygon(poly({{53, 2}, {55.5, 7.5}, {53, 9}, {50.5, 7.5}}));
    setFill(p, light);
    p.drawEllipse(QPointF(62, 17), 6, 6);
    setFill(p, ink);
    p.drawEllipse(QPointF(62, 17), 1.8, 1.8);
    return s.finish();
}

QImage chest()
{
    Sketch s(30, 30);
    QPainter &p = s.p();
    body(p, QRectF(2, 5, 26, 20), mid, 2);
    p.setPen(inkPen(0.6, shade));
    for (qreal y : {10.0, 15.0, 20.0})
        p.drawLine(QPointF(3, y), QPointF(27, y));
    p.setPen(inkPen(0.9));
    setFill(p, dark);
    p.drawRect(QRectF(7, 5.5, 3, 19));
    p.drawRect(QRectF(20, 5.5, 3, 19));
    setFill(p, silver);
    p.drawRect(QRectF(12.5, 20, 5, 5));
    setFill(p, ink);
    p.drawEllipse(QPointF(15, 22.2), 0.9, 0.9);
    return s.finish();
}

QImage throne()
{
    Sketch s(30, 30);
    QPainter &p = s.p();
    // High back at the top, arm rests, a cushioned seat.
    p.setPen(inkPen(1.0));
    setFill(p, dark);
    p.drawPolygon(
        poly({{3.5, 9.5}, {3.5, 2.5}, {9, 4.5}, {15, 1}, {21, 4.5}, {26.5, 2.5}, {26.5, 9.5}}));
    setFill(p, mid);
    p.drawRoundedRect(QRectF(3.5, 9.5, 23, 18), 2, 2);
    setFill(p, shade);
    p.drawRect(QRectF(3.5, 9.5, 4.5, 18));
    p.drawRect(QRectF(22, 9.5, 4.5, 18));
    setFill(p, light);
    p.drawRoundedRect(QRectF(9, 11, 12, 14), 2.5, 2.5);
    p.setPen(Qt::NoPen);
    setFill(p, white);
    p.drawEllipse(QPointF(15, 3.8), 1.4, 1.4);
    return s.finish();
}

// Every corner of view 1 is the bottom-left corner of one of the views; all
// must be transparent blue because the view picture takes its transparent
// colour from that pixel.
QImage withBlueCorners(QImage view)
{
    const int w = view.width() - 1, h = view.height() - 1;
    for (const QPoint &c : {QPoint(0, 0), QPoint(w, 0), QPoint(0, h), QPoint(w, h)})
        view.scanLine(c.y())[c.x()] = 0;
    return view;
}

} // namespace

void makeFurniture(Writer &out)
{
    const struct {
        const char *base;
        QImage (*draw)();
    } kinds[] = {
        {"ALTAR", altar},      {"ALCHEMIE", alchemy}, {"FOLTERBANK", rack}, {"TISCH", table},
        {"REGAL", bookshelf},  {"SCHRANK", cupboard}, {"KAMIN", fireplace}, {"WAFFEN", weaponRack},
        {"SARG", sarcophagus}, {"TRUHE", chest},      {"THRON", throne},
    };
    for (const auto &kind : kinds) {
        const QImage view = withBlueCorners(kind.draw());
        for (int i = 0; i < 4; ++i)
            out.bitmap(QLatin1String(kind.base) + QString::number(i + 1), turned(view, i));
    }
}

} // namespace artgen
