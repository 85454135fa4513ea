#include "draw.h"

#include "artgen.h"

#include <QFont>
#include <QFontMetricsF>
#include <QTransform>

namespace artgen {

namespace {
constexpr int kScale = 4;

// Index of the palette grey nearest to a level (the palette's greys start at 1).
int greyIndex(const QVector<QRgb> &table, int level)
{
    int best = 1;
    int bestDistance = 1 << 30;
    for (int i = 1; i < table.size(); ++i) {
        const int d = qAbs(qRed(table[i]) - level);
        if (d < bestDistance) {
            bestDistance = d;
            best = i;
        }
    }
    return best;
}
} // namespace

QColor grey(int level)
{
    return QColor(level, level, level);
}

Sketch::Sketch(int width, int height, Ground ground)
    : m_width(width), m_height(height), m_ground(ground),
      m_big(width * kScale, height * kScale, QImage::Format_ARGB32_Premultiplied)
{
    m_big.fill(ground == Ground::White ? QColor(Qt::white) : QColor(Qt::transparent));
    m_painter = std::make_unique<QPainter>(&m_big);
    m_painter->setRenderHint(QPainter::Antialiasing, true);
    m_painter->setRenderHint(QPainter::TextAntialiasing, true);
    m_painter->scale(kScale, kScale);
    m_painter->setPen(Qt::NoPen);
}

Sketch::~Sketch() = default;

QImage Sketch::finish()
{
    if (m_painter)
        m_painter->end();
    m_painter.reset();
    const QImage small =
        m_big.scaled(m_width, m_height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return reduceToStamp(small, m_ground);
}

QImage reduceToStamp(const QImage &argb, Ground ground)
{
    const QImage src = argb.convertToFormat(QImage::Format_ARGB32);
    const QVector<QRgb> table = stampPalette();
    QImage out(src.size(), QImage::Format_Indexed8);
    out.setColorTable(table);
    for (int y = 0; y < src.height(); ++y) {
        const auto *in = reinterpret_cast<const QRgb *>(src.constScanLine(y));
        uchar *line = out.scanLine(y);
        for (int x = 0; x < src.width(); ++x) {
            const QRgb c = in[x];
            const int a = qAlpha(c);
            if (ground == Ground::Blue && a < 128) {
                line[x] = 0;
                continue;
            }
            int level = (qRed(c) * 11 + qGreen(c) * 16 + qBlue(c) * 5) / 32;
            if (ground == Ground::White)
                level = (level * a + 255 * (255 - a)) / 255;
            line[x] = uchar(greyIndex(table, level));
        }
    }
    return out;
}

QImage turned(const QImage &picture, int quarterTurns)
{
    quarterTurns = ((quarterTurns % 4) + 4) % 4;
    if (quarterTurns == 0)
        return picture;
    QImage out = picture.transformed(QTransform().rotate(90.0 * quarterTurns));
    if (picture.format() == QImage::Format_Indexed8 && out.format() == QImage::Format_Indexed8)
        out.setColorTable(picture.colorTable());
    return out;
}

QImage flipped(const QImage &picture, bool horizontally, bool vertically)
{
    return picture.mirrored(horizontally, vertically);
}

QImage blueToWhite(const QImage &stamp)
{
    QImage out = stamp;
    const QVector<QRgb> table = out.colorTable();
    const int white = greyIndex(table, 255);
    for (int y = 0; y < out.height(); ++y) {
        uchar *line = out.scanLine(y);
        for (int x = 0; x < out.width(); ++x)
            if (table.value(line[x]) == qRgb(0, 0, 255))
                line[x] = uchar(white);
    }
    return out;
}

QPen inkPen(qreal width, int level)
{
    QPen pen(grey(level), width);
    pen.setJoinStyle(Qt::RoundJoin);
    pen.setCapStyle(Qt::RoundCap);
    return pen;
}

void setFill(QPainter &p, int level)
{
    if (level < 0)
        p.setBrush(Qt::NoBrush);
    else
        p.setBrush(grey(level));
}

QPolygonF poly(std::initializer_list<QPointF> points)
{
    return QPolygonF(QVector<QPointF>(points));
}

void plate(QPainter &p, const QRectF &r, int fill, qreal radius)
{
    p.setPen(inkPen(1.0));
    setFill(p, fill);
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
}

QPainterPath textPath(const QString &text, const QPointF &centre, qreal pixelSize, bool bold,
                      const QString &family)
{
    QFont font(family);
    font.setPixelSize(100);
    font.setBold(bold);
    QPainterPath path;
    path.addText(0, 0, font, text);
    // Scale to the wanted cap height rather than the font's em, so digits and
    // capitals of different faces come out the same size.
    const QRectF box = path.boundingRect();
    const qreal factor = pixelSize / 100.0;
    QTransform t;
    t.translate(centre.x() - box.center().x() * factor, centre.y() - box.center().y() * factor);
    t.scale(factor, factor);
    return t.map(path);
}

void drawLabel(QPainter &p, const QString &text, const QPointF &centre, qreal pixelSize, int fill,
               int halo, qreal haloWidth, const QString &family)
{
    const QPainterPath path = textPath(text, centre, pixelSize, true, family);
    p.save();
    if (halo >= 0) {
        p.setPen(QPen(grey(halo), haloWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(grey(halo));
        p.drawPath(path);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(grey(fill));
    p.drawPath(path);
    p.restore();
}

void drawTokenBase(QPainter &p, int face, bool doubleRim)
{
    p.setPen(Qt::NoPen);
    p.setBrush(grey(tone::ink));
    p.drawEllipse(QRectF(0.2, 0.2, 29.6, 29.6));
    // A bevelled rim: light above left, darker below right, as a printed token.
    QLinearGradient rim(QPointF(4, 4), QPointF(26, 26));
    rim.setColorAt(0, grey(tone::light));
    rim.setColorAt(1, grey(tone::shade));
    p.setBrush(rim);
    p.drawEllipse(QRectF(1.2, 1.2, 27.6, 27.6));
    if (doubleRim) {
        p.setBrush(grey(tone::ink));
        p.drawEllipse(QRectF(2.6, 2.6, 24.8, 24.8));
        p.setBrush(grey(tone::silver));
        p.drawEllipse(QRectF(3.4, 3.4, 23.2, 23.2));
    }
    const qreal edge = doubleRim ? 3.6 : 2.6;
    p.setBrush(grey(tone::ink));
    p.drawEllipse(QRectF(edge, edge, 30 - 2 * edge, 30 - 2 * edge));
    p.setBrush(grey(face));
    const QRectF inner(edge + 0.7, edge + 0.7, 30 - 2 * edge - 1.4, 30 - 2 * edge - 1.4);
    p.drawEllipse(inner);
    QPainterPath clip;
    clip.addEllipse(inner);
    p.setClipPath(clip);
}

void drawSquareGrid(QPainter &p, int width, int height, int level)
{
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(grey(level));
    // The piece starts one pixel inside a square; the 2-pixel lines between
    // squares then lie at 30-31, 62-63, ... of the piece.
    for (int x = 30; x < width; x += 32)
        p.drawRect(QRectF(x, 0, 2, height));
    for (int y = 30; y < height; y += 32)
        p.drawRect(QRectF(0, y, width, 2));
    p.restore();
}

int Dice::roll(int n)
{
    m_state = m_state * 1103515245u + 12345u;
    return int((m_state >> 16) % unsigned(n));
}

qreal Dice::real(qreal lo, qreal hi)
{
    return lo + (hi - lo) * roll(10000) / 10000.0;
}

} // namespace artgen
