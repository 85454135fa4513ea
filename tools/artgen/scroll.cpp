// The scroll background of the printed quest sheet and the logo of the about
// box: both 8-bit pictures with a 256-colour table.

#include "artgen.h"
#include "draw.h"
#include "raster.h"

#include <QtMath>

namespace artgen {

namespace {

constexpr int kScale = 4;

// 128 greys from black to white, then 128 shades of sealing-wax red.
QVector<QRgb> scrollPalette()
{
    QVector<QRgb> table;
    for (int i = 0; i < 128; ++i) {
        const int v = i * 255 / 127;
        table << qRgb(v, v, v);
    }
    for (int i = 0; i < 128; ++i) {
        const qreal t = i / 127.0;
        table << qRgb(int(40 + 215 * t), int(8 + 150 * t * t), int(8 + 140 * t * t));
    }
    return table;
}

// Pure blue (the transparent ground), a 6 x 6 x 6 colour cube and 39 greys.
QVector<QRgb> logoPalette()
{
    QVector<QRgb> table;
    table << qRgb(0, 0, 255);
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b)
                if (!(r == 0 && g == 0 && b == 5))
                    table << qRgb(r * 51, g * 51, b * 51);
    int level = 6;
    while (table.size() < 256) {
        if (level % 51)
            table << qRgb(level, level, level);
        level += 6;
    }
    return table.mid(0, 256);
}

// Reduces a big drawing to the picture's size and to the colour table; with a
// blue ground, pixels mostly uncovered become pure blue (index 0).
QImage reduce(const QImage &big, int w, int h, const QVector<QRgb> &table, bool blueGround)
{
    const QImage small = big.scaled(w, h, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                             .convertToFormat(QImage::Format_ARGB32);
    QImage out(w, h, QImage::Format_Indexed8);
    out.setColorTable(table);
    for (int y = 0; y < h; ++y) {
        const auto *in = reinterpret_cast<const QRgb *>(small.constScanLine(y));
        uchar *line = out.scanLine(y);
        for (int x = 0; x < w; ++x) {
            if (blueGround && qAlpha(in[x]) < 128) {
                line[x] = 0;
                continue;
            }
            const QRgb c = qRgb(qRed(in[x]), qGreen(in[x]), qBlue(in[x]));
            int index = raster::nearestIndex(table, c);
            if (blueGround && index == 0)
                index = raster::nearestIndex(table.mid(1), c) + 1;
            line[x] = uchar(index);
        }
    }
    return out;
}

QImage scroll()
{
    const int w = 492, h = 246;
    QImage big(w * kScale, h * kScale, QImage::Format_ARGB32_Premultiplied);
    big.fill(Qt::white);
    QPainter p(&big);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(kScale, kScale);
    QPen pen(Qt::black, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);

    // Top edge on row 5, with a little curl at each end.
    p.drawLine(QPointF(9, 5.8), QPointF(483, 5.8));
    p.drawArc(QRectF(4.8, 5.8, 8, 7), 90 * 16, 90 * 16);
    p.drawArc(QRectF(479, 5.8, 8, 7), 0, 90 * 16);
    // Left and right sides, gently wavy like worn parchment.
    QPainterPath left, right;
    left.moveTo(5.2, 9);
    right.moveTo(487.0, 9);
    for (qreal y = 9; y <= 150; y += 1) {
        left.lineTo(5.2 + 1.0 * qSin((y - 9) / 18.0), y);
        right.lineTo(487.0 + 1.0 * qSin((y - 9) / 21.0 + 1.2), y);
    }
    p.drawPath(left);
    p.drawPath(right);
    // The rolled-up bottom edge: a roll between rows 149 and 157 with its end
    // showing as a spiral on the left.
    p.drawRoundedRect(QRectF(4.4, 149.8, 484, 6.6), 3.3, 3.3);
    p.setPen(QPen(Qt::black, 1.0));
    p.drawLine(QPointF(16, 153.1), QPointF(476, 153.1));
    p.drawEllipse(QRectF(5.6, 150.8, 4.6, 4.6));
    p.drawEllipse(QRectF(7, 152.2, 1.8, 1.8));

    // The seal hangs below the scroll at the lower right.
    p.setClipRect(QRectF(433, 160, 54, 82));
    const QColor wax(150, 20, 16), waxDark(90, 10, 8), waxLight(230, 120, 110);
    p.setPen(QPen(Qt::black, 1.0));
    for (int side : {-1, 1}) {
        QPolygonF ribbon;
        const qreal x = 459.5 + side * 8;
        ribbon << QPointF(x - 5, 200) << QPointF(x + 5, 200) << QPointF(x + side * 12 + 5, 240.5)
               << QPointF(x + side * 12, 234) << QPointF(x + side * 12 - 5, 240.5);
        p.setBrush(side < 0 ? waxDark : wax);
        p.drawPolygon(ribbon);
    }
    QPolygonF rim;
    for (int k = 0; k < 28; ++k) {
        const qreal a = 2 * M_PI * k / 28;
        const qreal r = (k % 2) ? 24.5 : 22.5;
        rim << QPointF(459.5, 187) + QPointF(r * qCos(a), r * qSin(a));
    }
    QRadialGradient g(QPointF(452, 180), 30);
    g.setColorAt(0, waxLight);
    g.setColorAt(0.5, wax);
    g.setColorAt(1, waxDark);
    p.setBrush(g);
    p.drawPolygon(rim);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(waxDark, 1.4));
    p.drawEllipse(QPointF(459.5, 187), 16, 16);
    // A crown pressed into the wax.
    p.setPen(QPen(waxDark, 1.0));
    p.setBrush(waxDark);
    p.drawPolygon(
        QPolygonF({QPointF(450, 194), QPointF(449, 181), QPointF(454.5, 186.5), QPointF(459.5, 178),
                   QPointF(464.5, 186.5), QPointF(470, 181), QPointF(469, 194)}));
    p.end();
    return reduce(big, w, h, scrollPalette(), false);
}

QImage logo()
{
    const int w = 200, h = 70;
    QImage big(w * kScale, h * kScale, QImage::Format_ARGB32_Premultiplied);
    big.fill(Qt::transparent);
    QPainter p(&big);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(kScale, kScale);
    const QColor gold(224, 176, 40), goldDark(150, 100, 10), red(170, 20, 20);

    // A crown above a dungeon arch.
    p.setPen(QPen(Qt::black, 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(QColor(90, 90, 90));
    QPainterPath arch;
    arch.moveTo(8, 66);
    arch.lineTo(8, 42);
    arch.cubicTo(8, 27, 52, 27, 52, 42);
    arch.lineTo(52, 66);
    arch.closeSubpath();
    p.drawPath(arch);
    p.setBrush(Qt::black);
    QPainterPath door;
    door.moveTo(18, 66);
    door.lineTo(18, 45);
    door.cubicTo(18, 35, 42, 35, 42, 45);
    door.lineTo(42, 66);
    door.closeSubpath();
    p.drawPath(door);
    p.setPen(QPen(QColor(150, 150, 150), 0.8));
    for (qreal y : {48.0, 56.0})
        for (qreal x : {8.6, 42.6})
            p.drawLine(QPointF(x, y), QPointF(x + 8.8, y));
    QLinearGradient metal(QPointF(0, 6), QPointF(0, 34));
    metal.setColorAt(0, gold.lighter(130));
    metal.setColorAt(1, goldDark);
    p.setPen(QPen(Qt::black, 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(metal);
    p.drawPolygon(QPolygonF({QPointF(10, 34), QPointF(7, 10), QPointF(19, 20), QPointF(30, 4),
                             QPointF(41, 20), QPointF(53, 10), QPointF(50, 34)}));
    p.setBrush(red);
    for (qreal x : {19.0, 30.0, 41.0})
        p.drawEllipse(QPointF(x, 28.5), 2.4, 2.4);
    p.setBrush(gold);
    for (const QPointF &tip : {QPointF(7, 10), QPointF(30, 4), QPointF(53, 10)})
        p.drawEllipse(tip, 2.2, 2.2);

    // The lettering.
    QFont font(QStringLiteral("C059"));
    font.setBold(true);
    font.setPixelSize(30);
    QPainterPath text;
    text.addText(60, 38, font, QStringLiteral("DK-Edit"));
    const qreal stretch = 136.0 / text.boundingRect().width();
    QTransform fit;
    fit.translate(60, 0).scale(stretch, 1).translate(-60, 0);
    text = fit.map(text);
    p.setPen(QPen(Qt::black, 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::black);
    p.drawPath(text);
    p.setPen(Qt::NoPen);
    p.setBrush(gold);
    p.drawPath(text);
    QFont small(QStringLiteral("C059"));
    small.setPixelSize(13);
    small.setItalic(true);
    p.setPen(QPen(red));
    QPainterPath sub;
    sub.addText(0, 0, small, QStringLiteral("Dunkelkrone Quest-Editor"));
    const QRectF box = sub.boundingRect();
    QTransform place;
    place.translate(128 - box.center().x() * (136 / box.width()), 56);
    place.scale(136 / box.width(), 1);
    sub = place.map(sub);
    p.setPen(QPen(Qt::white, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::white);
    p.drawPath(sub);
    p.setPen(Qt::NoPen);
    p.setBrush(red);
    p.drawPath(sub);
    p.end();
    return reduce(big, w, h, logoPalette(), true);
}

} // namespace

void makeScrollAndLogo(Writer &out)
{
    out.bitmap(QStringLiteral("SCROLL"), scroll());
    out.bitmap(QStringLiteral("LOGO"), logo());
}

} // namespace artgen
