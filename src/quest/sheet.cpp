#include "sheet.h"

#include "artwork.h"
#include "raster.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

#include <cmath>

namespace {

// Half a width, rounded towards minus infinity, so a line of odd width sits
// one pixel further right than left of the centre column.
int floorHalf(int w)
{
    return w >= 0 ? w / 2 : -((-w + 1) / 2);
}

QImage whitePicture(int width, int height)
{
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(Qt::white);
    return picture;
}

// Copies a picture opaque to (x, y); what falls outside is cut off.
void copyOpaque(QPainter &painter, int x, int y, const QImage &picture)
{
    if (picture.isNull())
        return;
    painter.save();
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(QPoint(x, y), picture.convertToFormat(QImage::Format_RGB32));
    painter.restore();
}

// Draws one line of text on an opaque white cell of its own width and height,
// with its top-left corner at (x, y). Every line, the empty one too, takes the
// font's full cell height (ascent plus descent), so an empty line leaves a
// blank line of the same height as a written one. Returns that height.
int drawLine(QPainter &painter, const QString &text, int x, int y)
{
    const QFontMetrics metrics(painter.font());
    const int height = metrics.height();
    const int width = metrics.horizontalAdvance(text);
    if (width > 0)
        painter.fillRect(QRect(x, y, width, height), Qt::white);
    painter.drawText(x, y + metrics.ascent(), text);
    return height;
}

int drawCentred(QPainter &painter, const QString &text, int y)
{
    const int width = QFontMetrics(painter.font()).horizontalAdvance(text);
    return drawLine(painter, text, sheet::kScrollCentre - floorHalf(width), y);
}

} // namespace

double sheet::screenDpi()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->logicalDotsPerInchY() : 96.0;
}

QString sheet::faceFor(const QString &fontName)
{
    const QString name = fontName.trimmed();
    if (name.isEmpty() || name.compare(QLatin1String("Default"), Qt::CaseInsensitive) == 0)
        return kDefaultFace;
    return fontName;
}

QFont sheet::sheetFont(const QString &face, int points, bool bold, double dpi)
{
    QFont font(face);
    font.setPixelSize(std::max(1, int(std::lround(points * dpi / 72.0))));
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    font.setItalic(false);
    // Plain black on white keeps the pictures exact through the BMP round trip
    // and crisp when the printer enlarges them.
    font.setStyleStrategy(QFont::NoAntialias);
    font.setHintingPreference(QFont::PreferFullHinting);
    font.setKerning(false);
    return font;
}

QImage sheet::scrollBackground()
{
    if (artwork::hasBitmap(QStringLiteral("SCROLL")))
        return artwork::bitmap(QStringLiteral("SCROLL"));
    return whitePicture(kPictureWidth, kScrollHeight);
}

QImage sheet::noteMarker(int note)
{
    static const char *const letters[4] = {"A", "B", "C", "D"};
    if (note < 0 || note > 3)
        return QImage();
    const QString stamp = QLatin1String(letters[note]) + QLatin1Char('B');
    if (artwork::hasBitmap(stamp))
        return raster::whiteGround(artwork::bitmap(stamp)).convertToFormat(QImage::Format_RGB32);
    return whitePicture(30, 30);
}

std::array<QImage, 4> sheet::noteMarkers()
{
    return {noteMarker(0), noteMarker(1), noteMarker(2), noteMarker(3)};
}

QImage sheet::composeScroll(const QuestDocument &doc, const QImage &background, double dpi)
{
    QImage picture = whitePicture(kPictureWidth, kScrollHeight);
    QPainter painter(&picture);
    copyOpaque(painter, 0, 0, background);
    painter.setPen(Qt::black);

    // Title and intro share the intro's face; the title is bold at 16 points.
    const QString face = faceFor(doc.introFont);
    painter.setFont(sheetFont(face, 16, true, dpi));
    int y = kTitleTop + drawCentred(painter, doc.title, kTitleTop) + kTitleGap;

    painter.setFont(sheetFont(face, doc.introSize, false, dpi));
    for (const QString &line : doc.intro) {
        y += drawCentred(painter, line, y);
        // Lines whose top would lie below the scroll's writing area are
        // dropped together with all that follow.
        if (y > kScrollLastTop)
            break;
    }
    return picture;
}

QImage sheet::composeLegend(const QuestDocument &doc, const std::array<QImage, 4> &markers,
                            double dpi)
{
    QImage picture = whitePicture(kPictureWidth, kLegendHeight);
    QPainter painter(&picture);
    painter.setPen(Qt::black);
    painter.setFont(sheetFont(kDefaultFace, 10, false, dpi));

    int y = 0;
    for (int note = QuestDocument::A; note <= QuestDocument::D; ++note) {
        if (!doc.active[note])
            continue; // an inactive note takes no room
        const int top = y;
        copyOpaque(painter, 0, y, markers[note]);
        for (const QString &line : doc.notes[note])
            y += drawLine(painter, line, kNoteTextLeft, y);
        // A short note still keeps its marker clear of the next block.
        y = y < top + kMarkerRows ? top + kMinimumBlock : y + kBlockGap;
    }

    if (doc.active[QuestDocument::Other]) {
        for (const QString &line : doc.notes[QuestDocument::Other])
            y += drawLine(painter, line, kNoteTextLeft, y);
        y += kBlockGap;
    }

    painter.setFont(sheetFont(kDefaultFace, 12, false, dpi));
    drawLine(painter, QStringLiteral("Streunendes Monster: ") + doc.monster, 0, y);
    return picture;
}

QImage composeScroll(const QuestDocument &doc)
{
    return sheet::composeScroll(doc, sheet::scrollBackground(), sheet::screenDpi());
}

QImage composeLegend(const QuestDocument &doc)
{
    return sheet::composeLegend(doc, sheet::noteMarkers(), sheet::screenDpi());
}

QImage scrollPreview(const QuestDocument &doc)
{
    return composeScroll(doc);
}

QImage legendPreview(const QuestDocument &doc)
{
    return composeLegend(doc);
}
