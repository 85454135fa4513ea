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
    p.drawPolygon(
        poly({{8.5, 11.5}, {15, 13.8}, {21.5, 11.5}, {21.5, 13.3}, {15, 15.6}, {8.5, 13.3}}));
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

// The four ogre ranks: warrior, officer, commander, ruler.
enum OgreRank { Warrior, Officer, Commander, Ruler };

void ogreFace(QPainter &p, qreal top)
{
    // A broad, heavy-jawed face with small eyes under one brow and two tusks;
    // its crown lies at the given height, the jaw always at the token's foot.
    p.setPen(inkPen(0.9));
    setFill(p, mid);
    QPainterPath head;
    head.moveTo(9.5, top + 3);
    head.cubicTo(9.5, top - 0.5, 20.5, top - 0.5, 20.5, top + 3);
    head.cubicTo(23.5, 15, 23, 22, 20, 24.5);
    head.lineTo(10, 24.5);
    head.cubicTo(7, 22, 6.5, 15, 9.5, top + 3);
    p.drawPath(head);
    p.setPen(Qt::NoPen);
    setFill(p, ink);
    p.drawPolygon(poly({{9.6, 13.2}, {15, 15.2}, {20.4, 13.2}, {20.4, 15}, {15, 17}, {9.6, 15}}));
    setFill(p, white);
    p.drawEllipse(QRectF(11.3, 15.4, 2.3, 1.8));
    p.drawEllipse(QRectF(16.4, 15.4, 2.3, 1.8));
    // A wide underbite with two tusks standing up out of it.
    setFill(p, ink);
    QPainterPath mouth;
    mouth.moveTo(10.5, 20);
    mouth.quadTo(15, 21.5, 19.5, 20);
    mouth.quadTo(19.5, 23.4, 15, 23.4);
    mouth.quadTo(10.5, 23.4, 10.5, 20);
    p.drawPath(mouth);
    p.setPen(inkPen(0.6));
    setFill(p, white);
    p.drawPolygon(poly({{11.4, 21}, {13.2, 21.2}, {12, 17.8}}));
    p.drawPolygon(poly({{16.8, 21.2}, {18.6, 21}, {18, 17.8}}));
}

void ogre(QPainter &p, OgreRank rank)
{
    // The same ogre under four head-dresses that differ in outline, not in
    // detail: bare head with a studded club, helmet with two horns breaking
    // out over the rim, helmet with one tall spike, crown with three points.
    // The token's ground darkens with the rank as well.
    switch (rank) {
    case Warrior: {
        // A studded club over the shoulder, behind the bald head, its head
        // up over the rim.
        p.setClipping(false);
        p.save();
        p.translate(20.5, 10);
        p.rotate(40);
        // Handle, then the heavy head with white studs.
        p.setPen(inkPen(0.8));
        setFill(p, shade);
        p.drawRect(QRectF(-1.3, 3, 2.6, 11));
        setFill(p, dark);
        p.drawRoundedRect(QRectF(-4.2, -9, 8.4, 13.5), 4.2, 4.2);
        p.setPen(Qt::NoPen);
        setFill(p, white);
        for (const QPointF &stud :
             {QPointF(-1.8, -5.5), QPointF(1.8, -2.5), QPointF(-1.8, 0.5), QPointF(1.6, -7.6)})
            p.drawEllipse(stud, 1.0, 1.0);
        p.restore();
        p.setClipping(true);
        ogreFace(p, 8.5);
        break;
    }
    case Officer: {
        ogreFace(p, 9.5);
        // A round helmet, its two horns sweeping up and out over the rim.
        p.setClipping(false);
        p.setPen(inkPen(0.8));
        setFill(p, white);
        QPainterPath horns;
        horns.moveTo(10, 12);
        horns.cubicTo(4, 12, 1.5, 7, 2.5, 1.5);
        horns.cubicTo(4.5, 6, 7.5, 7.5, 11, 8);
        horns.closeSubpath();
        horns.moveTo(20, 12);
        horns.cubicTo(26, 12, 28.5, 7, 27.5, 1.5);
        horns.cubicTo(25.5, 6, 22.5, 7.5, 19, 8);
        horns.closeSubpath();
        p.drawPath(horns);
        setFill(p, dark);
        QPainterPath helm;
        helm.moveTo(9, 13.2);
        helm.cubicTo(9, 4.8, 21, 4.8, 21, 13.2);
        helm.closeSubpath();
        p.drawPath(helm);
        break;
    }
    case Commander: {
        ogreFace(p, 9.5);
        // A light helmet with a nose guard and one tall spike up over the rim.
        p.setClipping(false);
        p.setPen(inkPen(0.8));
        setFill(p, white);
        p.drawPolygon(poly({{12.4, 7.5}, {15, -0.5}, {17.6, 7.5}}));
        setFill(p, silver);
        QPainterPath helm;
        helm.moveTo(8.5, 13.8);
        helm.cubicTo(8.5, 5, 21.5, 5, 21.5, 13.8);
        helm.closeSubpath();
        p.drawPath(helm);
        p.drawRect(QRectF(14, 13.5, 2, 4));
        p.setPen(inkPen(0.7, shade));
        p.drawLine(QPointF(10, 12.2), QPointF(20, 12.2));
        break;
    }
    case Ruler: {
        ogreFace(p, 10);
        // A tall crown with three points, each with a jewel.
        p.setPen(inkPen(0.8));
        setFill(p, white);
        p.drawPolygon(
            poly({{9, 12.5}, {7.5, 3}, {11.8, 7}, {15, 1}, {18.2, 7}, {22.5, 3}, {21, 12.5}}));
        p.setPen(Qt::NoPen);
        setFill(p, ink);
        for (const QPointF &c : {QPointF(8.6, 5.4), QPointF(15, 3.8), QPointF(21.4, 5.4)})
            p.drawEllipse(c, 0.9, 0.9);
        setFill(p, shade);
        p.drawRect(QRectF(9.4, 10, 11.2, 1.6));
        break;
    }
    }
}

using FaceFn = void (*)(QPainter &);

struct MonsterKind {
    const char *name;
    int face;
    FaceFn draw;
};

const MonsterKind kMonsters[] = {
    {"GOBLIN", light, goblin},
    {"ORK", light, ork},
    {"SUMPFLING", silver, sumpfling},
    {"SKELETT", deep, skelett},
    {"ZOMBIE", light, zombie},
    {"MUMIE", shade, mumie},
    {"CHAOSKRIEGER", light, chaoskrieger},
    {"GARGOYLE", light, gargoyle},
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

QImage ogreToken(OgreRank rank)
{
    static const int grounds[] = {light, silver, shade, deep};
    Sketch s(30, 30);
    drawTokenBase(s.p(), grounds[rank], true);
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
    // The fill tool: a paint bucket tipped to the right, seen a little from
    // above so that the dark paint shows in its mouth, its handle fallen
    // across the front, the paint running over the lip down to a drop, as
    // fill tools are drawn.
    Sketch s(32, 32);
    QPainter &p = s.p();
    QTransform tilt;
    tilt.translate(12.5, 16.5);
    tilt.rotate(35);
    // The paint running from the lip, drawn first so the bucket's rim lies
    // over its start.
    const QPointF lip = tilt.map(QPointF(8.6, -8.4));
    p.setPen(inkPen(1.0));
    setFill(p, dark);
    QPainterPath paint;
    paint.moveTo(lip + QPointF(-2.5, -1));
    paint.cubicTo(lip + QPointF(2.5, -1), lip + QPointF(4.5, 1.5), lip + QPointF(4.5, 8));
    paint.lineTo(lip + QPointF(4.5, 11));
    paint.cubicTo(lip + QPointF(7, 14), lip + QPointF(5.5, 16.5), lip + QPointF(3.6, 16.5));
    paint.cubicTo(lip + QPointF(1.7, 16.5), lip + QPointF(0.2, 14), lip + QPointF(2.7, 11));
    paint.lineTo(lip + QPointF(2.4, 7));
    paint.cubicTo(lip + QPointF(2.2, 4), lip + QPointF(0, 2.5), lip + QPointF(-2, 2.5));
    paint.closeSubpath();
    p.drawPath(paint);
    p.save();
    p.setTransform(tilt, true);
    // Body, wider at the mouth (top, in the bucket's own frame).
    p.setPen(inkPen(1.0));
    setFill(p, light);
    p.drawPolygon(poly({{-9, -8}, {9, -8}, {7, 9}, {-7, 9}}));
    setFill(p, silver);
    p.drawEllipse(QRectF(-7, 7.2, 14, 3.6));
    p.setPen(inkPen(0.7, shade));
    p.drawLine(QPointF(-8.3, -2.5), QPointF(8.3, -2.5));
    // The mouth with the paint in it.
    p.setPen(inkPen(1.0));
    setFill(p, white);
    p.drawEllipse(QRectF(-9, -11.5, 18, 7));
    setFill(p, dark);
    p.setPen(Qt::NoPen);
    p.drawEllipse(QRectF(-7.4, -10.4, 14.8, 4.8));
    // The handle, fallen forward across the body.
    p.setPen(inkPen(1.2));
    p.setBrush(Qt::NoBrush);
    QPainterPath handle;
    handle.moveTo(-8.6, -7);
    handle.cubicTo(-7, 6, 7, 6, 8.6, -7);
    p.drawPath(handle);
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
    out.bitmap(QStringLiteral("OGRE"), ogreToken(Warrior));
    out.bitmap(QStringLiteral("OFF"), ogreToken(Officer));
    out.bitmap(QStringLiteral("OB"), ogreToken(Commander));
    out.bitmap(QStringLiteral("HE"), ogreToken(Ruler));
}

} // namespace artgen
