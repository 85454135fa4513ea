#pragma once

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <memory>

/// Drawing helpers shared by every piece of the artwork: pieces are drawn with
/// QPainter at four times their size and then reduced to the 16-colour stamp
/// palette, so edges are crisp against the transparent blue and the insides
/// keep some shading.
namespace artgen {

/// The grey levels of the stamp palette by role, so that every piece uses the
/// same few tones and the set looks printed by one hand.
namespace tone {
constexpr int ink = 0;      // outlines, letters
constexpr int deep = 48;    // pits, holes, dark shading
constexpr int dark = 80;    // dark fills
constexpr int shade = 128;  // the board's fill grey
constexpr int mid = 160;    // wood, stone
constexpr int silver = 192; // the board's line grey; light fills
constexpr int light = 224;  // token faces, paper
constexpr int white = 255;
} // namespace tone

/// A grey of the given level.
QColor grey(int level);

/// What lies under a piece where nothing is drawn.
enum class Ground { Blue, White };

/// One picture being drawn: a painter on a canvas four times the size, whose
/// coordinates are already scaled to the picture's own pixels.
class Sketch {
public:
    Sketch(int width, int height, Ground ground = Ground::Blue);
    ~Sketch();
    QPainter &p() { return *m_painter; }
    int width() const { return m_width; }
    int height() const { return m_height; }
    /// Ends drawing and reduces the picture to the stamp palette: what is
    /// mostly uncovered becomes pure blue (or stays white), the rest the
    /// nearest grey.
    QImage finish();

private:
    int m_width;
    int m_height;
    Ground m_ground;
    QImage m_big;
    std::unique_ptr<QPainter> m_painter;
};

/// Reduces an RGB picture with alpha to the stamp palette as Sketch does.
QImage reduceToStamp(const QImage &argb, Ground ground);

/// The picture turned clockwise by the given number of quarter turns, pixel
/// for pixel (any format).
QImage turned(const QImage &picture, int quarterTurns);

/// The picture mirrored left-right and/or top-bottom.
QImage flipped(const QImage &picture, bool horizontally, bool vertically);

/// Replaces every pure blue pixel of a stamp by white (a thumbnail).
QImage blueToWhite(const QImage &stamp);

/// Pen and brush helpers.
QPen inkPen(qreal width = 1.0, int level = tone::ink);
void setFill(QPainter &p, int level);

/// A polygon from a list of points.
QPolygonF poly(std::initializer_list<QPointF> points);

/// A rounded plate with a 1-pixel ink edge filling the rectangle.
void plate(QPainter &p, const QRectF &r, int fill, qreal radius = 2.5);

/// The outline of a text, centred on the given point.
QPainterPath textPath(const QString &text, const QPointF &centre, qreal pixelSize, bool bold = true,
                      const QString &family = QStringLiteral("DejaVu Sans"));

/// Fills the text with ink and surrounds it with a halo of the given grey, so
/// it reads on any ground.
void drawLabel(QPainter &p, const QString &text, const QPointF &centre, qreal pixelSize,
               int fill = tone::ink, int halo = -1, qreal haloWidth = 1.6,
               const QString &family = QStringLiteral("DejaVu Sans"));

/// A round token (monsters, ogres, markers): black rim, grey bevel ring and an
/// inner face of the given grey; the painter is left clipped to the face.
/// Coordinates are those of a 30 x 30 square.
void drawTokenBase(QPainter &p, int face, bool doubleRim = false);

/// Grid lines of the board that a large tile covers, 2 pixels wide at every
/// 32-pixel step, drawn in the given grey, as the board would show them.
void drawSquareGrid(QPainter &p, int width, int height, int level);

/// A deterministic pseudo-random generator for textures.
class Dice {
public:
    explicit Dice(unsigned seed) : m_state(seed * 2654435761u + 1u) {}
    /// A number from 0 to n - 1.
    int roll(int n);
    /// A number from lo to hi.
    qreal real(qreal lo, qreal hi);

private:
    unsigned m_state;
};

} // namespace artgen
