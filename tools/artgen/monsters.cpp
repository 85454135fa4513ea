// The monster tokens (stamps and tool-bar glyphs), the ogre tokens of the
// expansion and the two tool glyphs.

#include "artgen.h"
#include "draw.h"

namespace artgen {

namespace {

using namespace tone;

void goblin(QPainter &p)
{
    // Big pointed ears, a small head and a toothy grin.
    p.setPen(inkPen(0.9));
    setFill(p, shade);
    p.drawPolygon(poly({{10.5, 13}, {3.5, 8.5}, {10, 18}}));
    p.drawPolygon(poly({{19.5, 13}, {26.5, 8.5}, {20, 18}}));
    setFill(p, mid);
    p.drawEllipse(QRectF(8.5, 8.5, 13, 14.5));
    // Angry slanted eyes.
    p.setPen(Qt::NoPen);
    setFill(p, ink);
    p.drawPolygon(poly({{10.8, 13}, {14, 14.2}, {13.4, 15.6}, {11, 14.8}}));
    p.drawPolygon(poly({{19.2, 13}, {16, 14.2}, {16.6, 15.6}, {19, 14.8}}));
    // Grin with teeth.
    setFill(p, ink);
    QPainterPath mouth;
    mouth.moveTo(10.5, 18);
    mouth.quadTo(15, 23.5, 19.5, 18);
    mouth.quadTo(15, 19.5, 10.5, 18);
    p.drawPath(mouth);
    setFill(p, white);
    p.drawPolygon(poly({{12.5, 18.8}, {13.4, 18.9}, {13, 20.2}}));
    p.drawPolygon(poly({{16.6, 18.9}, {17.5, 18.8}, {17, 20.2}}));
}

void ork(QPainter &p)
{
    // A broad, dark face with a heavy brow and two tusks.
    p.setPen(inkPen(0.9));
    setFill(p, shade);
    p.drawEllipse(QRectF(5.5, 12, 4, 5));
    p.drawEllipse(QRectF(20.5, 12, 4, 5));
    setFill(p, 112);
    QPainterPath head;
    head.addRoundedRect(QRectF(7.5, 7.5, 15, 16.5), 5, 6);
    p.drawPath(head);
    p.setPen(Qt::NoPen);
    setFill(p, ink);
    p.drawPolygon(poly({{8.5, 11.5}, {15, 13.8}, {21.5, 11.5}, {21.5, 13.3}, {15, 15.6}, {8.5, 13.3}}));
    setFill(p, white);
    p.drawEllipse(QRectF(10.6, 14.3, 2.4, 1.8));
    p.drawEllipse(QRectF(17, 14.3, 2.4, 1.8));
    // Snout and mouth.
    setFill(p, dark);
    p.drawEllipse(QRectF(13.2, 16, 3.6, 2.4));
    p.setPen(inkPen(1.0));
    p.drawLine(QPointF(10, 21), QPointF(20, 21));
    p.setPen(inkPen(0.6));
    setFill(p, white);
    p.drawPolygon(poly({{10.6, 21.4}, {12.6, 21.4}, {11.2, 17.6}}));
    p.drawPolygon(poly({{17.4, 21.4}, {19.4, 21.4}, {18.8, 17.6}}));
}

void sumpfling(QPainter &p)
{
    // A frog-like head rising out of water, with bulging eyes.
    p.setPen(inkPen(0.9));
    setFill(p, 144);
    QPainterPath head;
    head.moveTo(6, 21);
    head.cubicTo(6, 10, 24, 10, 24, 21);
    head.closeSubpath();
    p.drawPath(head);
    setFill(p, white);
    p.drawEllipse(QRectF(7.5, 8, 6.5, 6.5));
    p.drawEllipse(QRectF(16, 8, 6.5, 6.5));
    p.setPen(Qt::NoPen);
    setFill(p, ink);
    p.drawEllipse(QRectF(9.6, 10.2, 2.6, 3.2));
    p.drawEllipse(QRectF(17.8, 10.2, 2.6, 3.2));
    p.setPen(inkPen(0.9));
    p.setBrush(Qt::NoBrush);
    QPainterPath mouth;
    mouth.moveTo(9, 17.5);
    mouth.quadTo(15, 20, 21, 17.5);
    p.drawPath(mouth);
    // Water.
    p.setPen(inkPen(1.2, dark));
    for (qreal y : {22.5, 25.5}) {
        QPainterPath wave;
        wave.moveTo(3, y);
        for (qreal x = 3; x < 27; x += 4)
            wave.quadTo(x + 1, y - 1.6, x + 2, y), wave.quadTo(x + 3, y + 1.6, x + 4, y);
        p.drawPath(wave);
    }
}

void skelett(QPainter &p)
{
    // A white skull with dark eye sockets, on a dark face.
    p.setPen(inkPen(0.8));
    setFill(p, white);
    QPainterPath skull;
    skull.addEllipse(QRectF(7.5, 6, 15, 14));
    skull.addRoundedRect(QRectF(10.5, 16, 9, 8), 2, 2);
    p.drawPath(skull.simplified());
    p.setPen(Qt::NoPen);
    setFill(p, ink);
    p.drawEllipse(QRectF(9.6, 11, 4.6, 4.4));
    p.drawEllipse(QRectF(15.8, 11, 4.6, 4.4));
    p.drawPolygon(poly({{15, 16}, {13.8, 18.4}, {16.2, 18.4}}));
    p.setPen(inkPen(0.6));
    p.drawLine(QPointF(11, 21), QPointF(19, 21));
    for (qreal x : {12.8, 15.0, 17.2})
        p.drawLine(QPointF(x, 19.6), QPointF(x, 23.4));
}

void zombie(QPainter &p)
{
    // A grey, lopsided face: one eye gone, a stitched scar, a slack mouth.
    p.setPen(inkPen(0.9));
    setFill(p, 144);
    QPainterPath head;
    head.moveTo(9, 9);
    head.cubicTo(12, 6, 19, 6, 21.5, 9.5);
    head.cubicTo(23, 14, 22, 21, 18, 24);
    head.cubicTo(14, 25, 10, 23, 8.5, 19);
    head.cubicTo(7.5, 15, 7.5, 11, 9, 9);
    p.drawPath(head);
    p.setPen(Qt::NoPen);
    setFill(p, ink);
    p.drawEllipse(QRectF(10.2, 12.2, 3.6, 3.6));
    setFill(p, white);
    p.drawEllipse(QRectF(11.4, 13.0, 1.3, 1.3));
    p.setPen(inkPen(1.1));
    p.drawLine(QPointF(16.3, 12.3), QPointF(19.3, 15.3));
    p.drawLine(QPointF(19.3, 12.3), QPointF(16.3, 15.3));
    // Scar across the brow.
    p.setPen(inkPen(0.7));
    p.drawLine(QPointF(9.8, 10.8), QPointF(19, 8));
    for (qreal t : {0.2, 0.5, 0.8}) {
        const QPointF c(9.8 + 9.2 * t, 10.8 - 2.8 * t);
        p.drawLine(c + QPointF(-0.4, -1.1), c + QPointF(0.4, 1.1));
    }
    // Slack open mouth.
    p.setPen(Qt::NoPen);
    setFill(p, ink);
    QPainterPath mouth;
    mouth.moveTo(11.5, 18.6);
    mouth.quadTo(15, 17.6, 18.5, 19);
    mouth.quadTo(16, 23.5, 12, 21);
    mouth.closeSubpath();
    p.drawPath(mouth);
}

void mumie(QPainter &p)
{
    // A head wound in bandages, two eyes glowing from the slit.
    p.setPen(inkPen(0.9));
    setFill(p, light);
    p.drawEllipse(QRectF(8, 5.5, 14, 19));
    p.setPen(inkPen(0.7, dark));
    p.save();
    QPainterPath clip;
    clip.addEllipse(QRectF(8, 5.5, 14, 19));
    p.setClipPath(clip, Qt::IntersectClip);
    for (qreal y = 7; y < 27; y += 2.6) {
        const qreal tilt = (int(y) % 2) ? 1.4 : -1.4;
        p.drawLine(QPointF(6, y - tilt), QPointF(24, y + tilt));
    }
    p.setPen(Qt::NoPen);
    setFill(p, ink);
    p.drawRect(QRectF(7, 12, 16, 3.8));
    setFill(p, white);
    p.drawEllipse(QRectF(10.5, 12.8, 2.4, 2.2));
    p.drawEllipse(QRectF(17.1, 12.8, 2.4, 2.2));
    p.restore();
}

void chaoskrieger(QPainter &p)
{
    // A closed, horned helmet with a T-shaped visor.
    p.setPen(inkPen(0.8));
    setFill(p, white);
    QPainterPath horns;
    horns.moveTo(9, 14);
    horns.cubicTo(5.5, 12.5, 5.5, 9, 8.4, 5.8);
    horns.cubicTo(8.5, 8.5, 9.5, 9.5, 11, 10);
    horns.closeSubpath();
    horns.moveTo(21, 14);
    horns.cubicTo(24.5, 12.5, 24.5, 9, 21.6, 5.8);
    horns.cubicTo(21.5, 8.5, 20.5, 9.5, 19, 10);
    horns.closeSubpath();
    p.drawPath(horns);
    setFill(p, dark);
    QPainterPath helm;
    helm.moveTo(8.5, 24);
    helm.lineTo(8.5, 14);
    helm.cubicTo(8.5, 6.5, 21.5, 6.5, 21.5, 14);
    helm.lineTo(21.5, 24);
    helm.quadTo(15, 26, 8.5, 24);
    p.drawPath(helm);
    p.setPen(Qt::NoPen);
    setFill(p, ink);
    p.drawRect(QRectF(9.5, 14, 11, 2.2));
    p.drawRect(QRectF(13.9, 14, 2.2, 7.5));
    // The eight-pointed mark of chaos on the brow, as a small star.
    p.setPen(inkPen(0.7, silver));
    const QPointF c(15, 10.5);
    for (int i = 0; i < 4; ++i) {
        QTransform t;
        t.translate(c.x(), c.y()).rotate(45 * i);
        p.drawLine(t.map(QPointF(-1.8, 0)), t.map(QPointF(1.8, 0)));
    }
}

void gargoyle(QPainter &p)
{
    // Spread bat wings behind a small horned head.
    p.setPen(inkPen(0.8));
    setFill(p, dark);
    QPainterPath wings;
    wings.moveTo(15, 12);
    wings.lineTo(3, 8);
    wings.quadTo(4.5, 13.5, 4, 19);
    wings.quadTo(6, 17, 8, 18.5);
    wings.quadTo(9.5, 16.5, 11.5, 18);
    wings.lineTo(15, 18);
    wings.lineTo(18.5, 18);
    wings.quadTo(20.5, 16.5, 22, 18.5);
    wings.quadTo(24, 17, 26, 19);
    wings.quadTo(25.5, 13.5, 27, 8);
    wings.closeSubpath();
    p.drawPath(wings);
    setFill(p, silver);
    p.drawPolygon(poly({{11.4, 10.6}, {10.6, 6.4}, {13.2, 9.2}}));
    p.drawPolygon(poly({{18.6, 10.6}, {19.4, 6.4}, {16.8, 9.2}}));
    p.drawEllipse(QRectF(10.8, 8.6, 8.4, 9));
    setFill(p, 144);
    p.drawRoundedRect(QRectF(12, 17, 6, 7), 2, 2);
    p.setPen(Qt::NoPen);
    setFill(p, ink);
    p.drawPolygon(poly({{12.2, 11.8}, {14.4, 12.6}, {14, 13.8}, {12.4, 13.2}}));
    p.drawPolygon(poly({{17.8, 11.8}, {15.6, 12.6}, {16, 13.8}, {17.6, 13.2}}));
    p.drawRect(QRectF(13.2, 15.3, 3.6, 0.9));
}

void ogre(QPainter &p, int rank)
{
    // A broad, heavy-jawed face; the rank shows above it.
    p.setPen(inkPen(0.9));
    setFill(p, 144);
    QPainterPath head;
    head.moveTo(9, 12);
    head.cubicTo(9, 8.5, 21, 8.5, 21, 12);
    head.cubicTo(23.5, 15, 23, 22, 20, 24);
    head.lineTo(10, 24);
    head.cubicTo(7, 22, 6.5, 15, 9, 12);
    p.drawPath(head);
    p.setPen(Qt::NoPen);
    setFill(p, ink);
    p.drawRect(QRectF(10, 13, 10, 1.5));
    setFill(p, white);
    p.drawEllipse(QRectF(11.2, 14.6, 2.3, 2));
    p.drawEllipse(QRectF(16.5, 14.6, 2.3, 2));
    setFill(p, ink);
    p.drawRoundedRect(QRectF(11, 19.5, 8, 2.6), 1, 1);
    setFill(p, white);
    p.drawPolygon(poly({{11.6, 20}, {13, 20}, {12.3, 17.8}}));
    p.drawPolygon(poly({{17, 20}, {18.4, 20}, {17.7, 17.8}}));
    p.setPen(inkPen(0.5));
    setFill(p, ink);
    if (rank == 1 || rank == 2) {
        // One or two bold chevrons on the brow.
        for (int i = 0; i < rank; ++i) {
            const qreal y = (rank == 1 ? 6.8 : 5.2) + 3.0 * i;
            p.drawPolygon(poly({{10.5, y}, {15, y + 2.2}, {19.5, y}, {19.5, y + 2}, {15, y + 4.2}, {10.5, y + 2}}));
        }
    } else if (rank == 3) {
        setFill(p, white);
        p.setPen(inkPen(0.8));
        // A crown.
        p.drawPolygon(poly({{10.5, 10}, {10.5, 5}, {12.7, 7.6}, {15, 4.2}, {17.3, 7.6}, {19.5, 5}, {19.5, 10}}));
    }
}

using FaceFn = void (*)(QPainter &);

struct MonsterKind {
    const char *name;
    int face;
    FaceFn draw;
};

const MonsterKind kMonsters[] = {
    {"GOBLIN", light, goblin},     {"ORK", light, ork},         {"SUMPFLING", silver, sumpfling},
    {"SKELETT", deep, skelett},    {"ZOMBIE", light, zombie},  {"MUMIE", shade, mumie},
    {"CHAOSKRIEGER", light, chaoskrieger}, {"GARGOYLE", light, gargoyle},
};

QImage monsterToken(const MonsterKind &kind, int size)
{
    Sketch s(size, size);
    QPainter &p = s.p();
    p.scale(size / 30.0, size / 30.0);
    drawTokenBase(p, kind.face);
    kind.draw(p);
    return s.finish();
}

QImage ogreToken(int rank)
{
    Sketch s(30, 30);
    drawTokenBase(s.p(), light, true);
    ogre(s.p(), rank);
    return s.finish();
}

QImage pencilGlyph()
{
    Sketch s(32, 32);
    QPainter &p = s.p();
    p.translate(16, 16);
    p.rotate(-45);
    // Along x from the tip (left) to the eraser (right).
    p.setPen(inkPen(1.0));
    setFill(p, light);
    p.drawPolygon(poly({{-14, 0}, {-8, -3.5}, {-8, 3.5}}));
    setFill(p, ink);
    p.drawPolygon(poly({{-14, 0}, {-11.8, -1.3}, {-11.8, 1.3}}));
    setFill(p, silver);
    p.drawRect(QRectF(-8, -3.5, 15, 7));
    p.setPen(inkPen(0.6, shade));
    p.drawLine(QPointF(-8, -1.2), QPointF(7, -1.2));
    p.drawLine(QPointF(-8, 1.2), QPointF(7, 1.2));
    p.setPen(inkPen(1.0));
    setFill(p, dark);
    p.drawRect(QRectF(7, -3.5, 3, 7));
    setFill(p, white);
    p.drawRoundedRect(QRectF(10, -3.5, 4.5, 7), 1.5, 1.5);
    return s.finish();
}

QImage bucketGlyph()
{
    Sketch s(32, 32);
    QPainter &p = s.p();
    // A bucket tipped to the right, paint running from its lip into a puddle.
    p.setPen(inkPen(0.8));
    setFill(p, dark);
    p.drawEllipse(QRectF(17, 25, 14, 5.5));
    p.drawRoundedRect(QRectF(20.6, 13.5, 3.6, 14), 1.8, 1.8);
    p.save();
    p.translate(12, 13);
    p.rotate(55);
    p.setPen(inkPen(1.0));
    setFill(p, silver);
    p.drawPolygon(poly({{-8, -7}, {8, -7}, {6, 9}, {-6, 9}}));
    p.setPen(inkPen(0.6, shade));
    p.drawLine(QPointF(-7.4, -2), QPointF(7.4, -2));
    p.drawLine(QPointF(-6.7, 4), QPointF(6.7, 4));
    p.setPen(inkPen(1.0));
    setFill(p, dark);
    p.drawEllipse(QRectF(-8, -9, 16, 4));
    p.restore();
    return s.finish();
}

} // namespace

void makeMonsters(Writer &out)
{
    int glyph = 0;
    for (const MonsterKind &kind : kMonsters) {
        out.bitmap(QLatin1String(kind.name), monsterToken(kind, 30));
        out.bitmap(QStringLiteral("GLYPH%1").arg(glyph++), monsterToken(kind, 32));
    }
    out.bitmap(QStringLiteral("GLYPH8"), pencilGlyph());
    out.bitmap(QStringLiteral("GLYPH9"), bucketGlyph());
    out.bitmap(QStringLiteral("OGRE"), ogreToken(0));
    out.bitmap(QStringLiteral("OFF"), ogreToken(1));
    out.bitmap(QStringLiteral("OB"), ogreToken(2));
    out.bitmap(QStringLiteral("HE"), ogreToken(3));
}

} // namespace artgen
