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
    p.drawPolygon(poly(
        {{2, 2}, {11, 0.8}, {16.8, 4}, {17.2, 16}, {16, 28.5}, {7, 29.2}, {1, 26}, {0.8, 12}}));
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
    // A door hidden in the masonry of the top wall: the whole square is
    // stonework, the door's arch is only a dotted seam in it, and the leaf
    // stands ajar, a black crack showing down its right side and its pull
    // ring on the stones. The wall side is the arch's side, a dark band of
    // wall along the top edge.
    Sketch s(30, 30);
    QPainter &p = s.p();
    plate(p, QRectF(0, 0, 30, 30), silver);
    // The wall along the top side.
    p.setPen(inkPen(1.0));
    setFill(p, dark);
    p.drawRect(QRectF(0.5, 0.5, 29, 3));
    // The leaf, a shade darker than the wall round it.
    QPainterPath arch;
    arch.moveTo(7.5, 28.5);
    arch.lineTo(7.5, 12.5);
    arch.cubicTo(7.5, 4.5, 21.5, 4.5, 21.5, 12.5);
    arch.lineTo(21.5, 28.5);
    p.setPen(Qt::NoPen);
    setFill(p, mid);
    p.drawPath(arch);
    // Masonry over the whole square, door included.
    p.setPen(inkPen(0.6, shade));
    for (int row = 0; row < 5; ++row) {
        const qreal y = 4 + 5.2 * row;
        if (row > 0)
            p.drawLine(QPointF(1.5, y), QPointF(28.5, y));
        for (qreal x = (row % 2 ? 4.5 : 9.5); x < 28; x += 10)
            p.drawLine(QPointF(x, y), QPointF(x, qMin(y + 5.2, 28.5)));
    }
    // The leaf's outline as a dotted seam: an arch up to the wall.
    p.setBrush(Qt::NoBrush);
    QPen seam(grey(ink), 1.2, Qt::CustomDashLine, Qt::FlatCap, Qt::MiterJoin);
    seam.setDashPattern({1.6, 1.2});
    p.setPen(seam);
    p.drawPath(arch);
    // The crack: the leaf stands ajar on its right side.
    p.setPen(Qt::NoPen);
    setFill(p, ink);
    p.drawPolygon(poly({{21, 11}, {24, 13.5}, {24, 28.8}, {21, 28.8}}));
    // The pull ring.
    p.setPen(inkPen(1.4));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(17, 18.5), 2.2, 2.2);
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
    p.drawPolygon(
        poly({{6, 9}, {13, 4.5}, {22, 5.5}, {26, 12}, {25, 21}, {18, 26}, {9, 25}, {4.5, 18}}));
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
    // A jaw trap set on the floor, seen from above: two iron jaws opened to a
    // ring over the dark pit of the trap, big white teeth biting in from the
    // upper and the lower jaw, the leaf springs out to both sides. The
    // palette lays the arrow trap's thumbnail over the right three columns:
    // only the tip of the right spring lies there.
    Sketch s(30, 30);
    QPainter &p = s.p();
    plate(p, QRectF(0, 0, 30, 30), silver);
    const QPointF c(14.5, 15);
    // Leaf springs along the hinge axis.
    p.setPen(inkPen(1.0));
    setFill(p, dark);
    p.drawRoundedRect(QRectF(1.6, c.y() - 2.6, 8, 5.2), 2.4, 2.4);
    p.drawRoundedRect(QRectF(19.4, c.y() - 2.6, 8, 5.2), 2.4, 2.4);
    p.setPen(inkPen(1.0, silver));
    p.drawLine(QPointF(3.4, c.y()), QPointF(6, c.y()));
    p.drawLine(QPointF(23, c.y()), QPointF(25.6, c.y()));
    // The jaws, dark inside.
    p.setPen(inkPen(1.0));
    setFill(p, shade);
    p.drawEllipse(c, 10.5, 11.5);
    setFill(p, ink);
    p.drawEllipse(c, 7.4, 8.4);
    // Teeth of the upper jaw point down, those of the lower jaw up, set off
    // by half a tooth so that they would close into each other.
    p.setPen(inkPen(0.7));
    setFill(p, white);
    const qreal toothWidth = 3.6, toothLength = 6.4;
    for (int i = 0; i < 4; ++i) {
        const qreal x = c.x() - 7.2 + toothWidth * i;
        const qreal top = c.y() - 8.4 + qAbs(x + toothWidth / 2 - c.x()) * 0.35;
        p.drawPolygon(poly(
            {{x, top - 1}, {x + toothWidth, top - 1}, {x + toothWidth / 2, top + toothLength}}));
        const qreal xb = x + toothWidth / 2;
        const qreal bottom = c.y() + 8.4 - qAbs(xb + toothWidth / 2 - c.x()) * 0.35;
        p.drawPolygon(poly({{xb, bottom + 1},
                            {xb + toothWidth, bottom + 1},
                            {xb + toothWidth / 2, bottom - toothLength}}));
    }
    // The hinge pins where the jaws meet the springs.
    p.setPen(inkPen(0.8));
    setFill(p, silver);
    p.drawEllipse(QPointF(c.x() - 9.2, c.y()), 1.6, 1.6);
    p.drawEllipse(QPointF(c.x() + 9.2, c.y()), 1.6, 1.6);
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
    p.drawPolygon(
        poly({{31, 16}, {26, 24}, {29.5, 24}, {29.5, 45}, {32.5, 45}, {32.5, 24}, {36, 24}}));
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
        drawLabel(p, text, QPointF(15, 15), 9.5, ink, -1, 0,
                  QStringLiteral("DejaVu Sans Condensed"));
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
        p.drawPolygon(poly({{18.8, 15},
                            {26, 7.5},
                            {26, 11.5},
                            {34.3, 11.5},
                            {34.3, 18.5},
                            {26, 18.5},
                            {26, 22.5}}));
    else
        p.drawPolygon(poly({{34.3, 15},
                            {27, 7.5},
                            {27, 11.5},
                            {18.8, 11.5},
                            {18.8, 18.5},
                            {27, 18.5},
                            {27, 22.5}}));
    return s.finish();
}

// The forge's three parts, each drawn upright in its own box, so that the
// piece can be laid out across or down without turning any of them: a
// furnace with its fire, the anvil in its well-known side view (turned, it
// would read as something else), and the quenching trough.
void furnace(QPainter &p, const QRectF &r)
{
    // A brick hearth with an arched mouth and three flames on the embers.
    plate(p, r, shade, 3);
    p.setPen(inkPen(0.6, dark));
    for (qreal y = r.top() + 7.5; y < r.bottom() - 1; y += 7.5)
        p.drawLine(QPointF(r.left() + 1.5, y), QPointF(r.right() - 1.5, y));
    const qreal cx = r.center().x();
    const qreal w = qMin(r.width() - 9, 20.0);
    QPainterPath mouth;
    mouth.moveTo(cx - w / 2, r.bottom() - 3.5);
    mouth.lineTo(cx - w / 2, r.top() + 13);
    mouth.cubicTo(cx - w / 2, r.top() + 5, cx + w / 2, r.top() + 5, cx + w / 2, r.top() + 13);
    mouth.lineTo(cx + w / 2, r.bottom() - 3.5);
    mouth.closeSubpath();
    p.setPen(inkPen(1.0));
    setFill(p, ink);
    p.drawPath(mouth);
    // Three tongues of fire over the embers, the middle one the tallest.
    p.setPen(inkPen(0.7));
    const qreal base = r.bottom() - 5;
    for (int i = -1; i <= 1; ++i) {
        const qreal x = cx + i * w / 3.6;
        const qreal height = i == 0 ? 14 : 9.5;
        setFill(p, i == 0 ? white : light);
        QPainterPath flame;
        flame.moveTo(x - 3, base);
        flame.cubicTo(x - 4, base - height * 0.5, x - 0.5, base - height * 0.6, x, base - height);
        flame.cubicTo(x + 0.8, base - height * 0.6, x + 4, base - height * 0.5, x + 3, base);
        flame.closeSubpath();
        p.drawPath(flame);
    }
    p.setPen(inkPen(0.7));
    setFill(p, silver);
    p.drawRoundedRect(QRectF(cx - w / 2 + 1.5, base - 0.5, w - 3, 2.5), 1, 1);
}

void anvil(QPainter &p, const QPointF &c)
{
    // Horn to the left, flat face, narrow waist and a broad foot; c is the
    // middle of the face's top.
    p.setPen(inkPen(1.0));
    setFill(p, dark);
    QPainterPath body;
    body.moveTo(c.x() - 13, c.y() + 0.5);
    body.quadTo(c.x() - 8, c.y() + 0.5, c.x() - 6, c.y());
    body.lineTo(c.x() + 12, c.y());
    body.lineTo(c.x() + 12, c.y() + 5);
    body.lineTo(c.x() + 6, c.y() + 5.5);
    body.quadTo(c.x() + 3, c.y() + 7, c.x() + 4, c.y() + 10);
    body.lineTo(c.x() + 8.5, c.y() + 14);
    body.lineTo(c.x() - 8.5, c.y() + 14);
    body.lineTo(c.x() - 4, c.y() + 10);
    body.quadTo(c.x() - 3, c.y() + 7, c.x() - 6, c.y() + 5.5);
    body.quadTo(c.x() - 10, c.y() + 4, c.x() - 13, c.y() + 0.5);
    p.drawPath(body);
    p.setPen(inkPen(0.8, silver));
    p.drawLine(QPointF(c.x() - 5, c.y() + 1.2), QPointF(c.x() + 11, c.y() + 1.2));
}

void trough(QPainter &p, const QRectF &r)
{
    // A stone trough full of water, seen from above.
    p.setPen(inkPen(1.0));
    setFill(p, mid);
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 2, 2);
    setFill(p, silver);
    const QRectF water = r.adjusted(3.5, 3.5, -3.5, -3.5);
    p.drawRect(water);
    p.setPen(inkPen(0.7, shade));
    for (qreal y = water.top() + 4; y < water.bottom() - 1; y += 4) {
        QPainterPath wave;
        wave.moveTo(water.left() + 1.5, y);
        for (qreal x = water.left() + 1.5; x + 6 <= water.right(); x += 6)
            wave.quadTo(x + 1.5, y - 1.4, x + 3, y), wave.quadTo(x + 4.5, y + 1.4, x + 6, y);
        p.drawPath(wave);
    }
}

// The forge in a picture of the given size, its parts at the given places.
QImage forge(const QSize &size, const QRectF &hearth, const QPointF &anvilTop, const QRectF &water)
{
    Sketch s(size.width(), size.height());
    furnace(s.p(), hearth);
    anvil(s.p(), anvilTop);
    trough(s.p(), water);
    return s.finish();
}

QImage hatchTop()
{
    // A trapdoor let into the stone floor, seen from above: flagstones all
    // round, the square leaf lifted a little at its ring side so that a black
    // gap into the depth shows there, long strap hinges on the opposite side.
    // Floor to the square's edge and the dark gap tell it from the chest,
    // which stands on the floor.
    Sketch s(30, 30);
    QPainter &p = s.p();
    plate(p, QRectF(0, 0, 30, 30), silver);
    p.setPen(inkPen(0.6, shade));
    for (const QLineF &seam : {QLineF(1, 14.5, 3.5, 14.5), QLineF(26.5, 11.5, 29, 11.5),
                               QLineF(12.5, 26.5, 12.5, 29), QLineF(19.5, 1, 19.5, 3.5)})
        p.drawLine(seam);
    // The opening in the floor, black, with the leaf over it: the ring side
    // is lifted, so the gap is widest there and the leaf's edge catches the
    // light.
    p.setPen(inkPen(1.0));
    setFill(p, ink);
    p.drawRect(QRectF(3.5, 3.5, 23, 23));
    setFill(p, mid);
    p.drawRect(QRectF(4.5, 7.5, 21, 19));
    p.setPen(inkPen(1.0, white));
    p.drawLine(QPointF(5.5, 8.5), QPointF(24.5, 8.5));
    // Planks across the hinge line.
    p.setPen(inkPen(0.6, shade));
    for (qreal x : {10.0, 15.0, 20.0})
        p.drawLine(QPointF(x, 9.5), QPointF(x, 25.5));
    // Strap hinges from the bottom edge, with their knuckles on the frame.
    p.setPen(inkPen(0.9));
    setFill(p, dark);
    for (qreal x : {8.5, 21.5}) {
        QPainterPath strap;
        strap.moveTo(x - 1.8, 26);
        strap.lineTo(x - 1, 17);
        strap.quadTo(x, 15.6, x + 1, 17);
        strap.lineTo(x + 1.8, 26);
        strap.closeSubpath();
        p.drawPath(strap);
        p.drawRect(QRectF(x - 2.5, 25.5, 5, 3));
    }
    // The iron ring on the lifted side.
    p.setPen(inkPen(1.6));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(11.5, 10.2, 7, 6));
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
    // A guillotine seen from the front: two tall posts under a cross beam, the
    // steel blade falling between them with its edge slanting down to the
    // right, speed lines above it, and the neck board with its round cut at
    // the foot. Blade and board stand a pixel clear of the posts, so the
    // ground between them stays open. The outline pair draws the same shapes
    // as lines on white.
    Sketch s(30, 30);
    QPainter &p = s.p();
    const int wood = filled ? dark : white;
    // Posts and cross beam.
    p.setPen(inkPen(1.0));
    setFill(p, wood);
    p.drawRect(QRectF(3.5, 3.5, 3, 26));
    p.drawRect(QRectF(23.5, 3.5, 3, 26));
    p.drawRect(QRectF(1.5, 1.5, 27, 3));
    // The neck board with its round cut.
    QPainterPath board;
    board.addRect(QRectF(8.5, 23.5, 13, 5));
    QPainterPath cut;
    cut.addEllipse(QPointF(15, 23.5), 2.6, 2.6);
    setFill(p, filled ? shade : white);
    p.drawPath(board.subtracted(cut));
    // Speed lines over the blade.
    p.setPen(inkPen(1.0, shade));
    for (qreal x : {11.5, 18.5})
        p.drawLine(QPointF(x, 6.5), QPointF(x, 8.5));
    // The blade: a dark weight on top, the steel below it with its cutting
    // edge slanting down to the right and a bright bevel along the edge.
    const QPolygonF steel = poly({{8.5, 12.5}, {21.5, 12.5}, {21.5, 21}, {8.5, 16}});
    p.setPen(Qt::NoPen);
    setFill(p, filled ? silver : white);
    p.drawPolygon(steel);
    setFill(p, white);
    p.drawPolygon(poly({{8.5, 13.8}, {21.5, 18.8}, {21.5, 21}, {8.5, 16}}));
    p.setPen(inkPen(1.0));
    p.setBrush(Qt::NoBrush);
    p.drawPolygon(steel);
    setFill(p, filled ? dark : white);
    p.drawRect(QRectF(8.5, 10, 13, 2.5));
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

    // Across three squares furnace, anvil and trough stand from left to
    // right, down three squares from top to bottom, each of them upright.
    out.bitmap(QStringLiteral("SCHMIEDE1"), forge(QSize(94, 30), QRectF(0, 0, 34, 30),
                                                  QPointF(52, 10.5), QRectF(70, 3, 24, 24)));
    out.bitmap(QStringLiteral("SCHMIEDE2"), forge(QSize(30, 94), QRectF(0, 0, 30, 34),
                                                  QPointF(15.5, 41.5), QRectF(3, 67, 24, 27)));
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
