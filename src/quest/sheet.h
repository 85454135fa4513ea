#pragma once

#include "questdocument.h"

#include <QFont>
#include <QImage>
#include <QString>

#include <array>

/// The two pictures of the quest sheet that carry text: the scroll (quest
/// title and intro on the parchment) and the legend (active notes with their
/// markers, the other note and the wandering monster). Both are composed in
/// screen pixels; the printed sheet scales them, the previews show them as
/// they are.
namespace sheet {

constexpr int kPictureWidth = 492;
constexpr int kScrollHeight = 246;
constexpr int kLegendHeight = 325;

/// Column on which the scroll's lines are centred.
constexpr int kScrollCentre = 246;
/// The title's top row; intro lines start 10 rows below the title.
constexpr int kTitleTop = 15;
constexpr int kTitleGap = 10;
/// An intro line is drawn only while the running y has not passed this row.
constexpr int kScrollLastTop = 130;

/// Legend: note text starts right of the marker, and a note block is at
/// least kMinimumBlock rows high when its text is shorter than kMarkerRows.
constexpr int kNoteTextLeft = 40;
constexpr int kMarkerRows = 32;
constexpr int kMinimumBlock = 42;
constexpr int kBlockGap = 10;

/// The face used when no font or "Default" (any letter case) is chosen. The
/// program maps this name to an installed face with QFont::insertSubstitution.
inline const QString kDefaultFace = QStringLiteral("MS Sans Serif");

/// The screen's logical resolution in dots per inch (vertical), 96 without a
/// screen.
double screenDpi();

/// The face for a chosen font name: the name itself, or the default face for
/// an empty name and for "Default" in any letter case.
QString faceFor(const QString &fontName);

/// The font the sheet draws with: face, size in points at the given logical
/// resolution (pixel size = points * dpi / 72, rounded), bold or regular.
/// Drawn without antialiasing, so the pictures are plain black on white.
QFont sheetFont(const QString &face, int points, bool bold, double dpi);

/// The scroll background (the "SCROLL" artwork, 492 x 246); a white picture of
/// that size when the program carries none.
QImage scrollBackground();

/// The marker picture of note A..D (index 0..3) as the palette shows it: the
/// map stamp ("AB" ...) with its blue ground made white, else a white 30 x 30
/// box.
QImage noteMarker(int note);
std::array<QImage, 4> noteMarkers();

/// The scroll picture, 492 x 246 RGB32, from the given background at the given
/// logical resolution.
QImage composeScroll(const QuestDocument &doc, const QImage &background, double dpi);
/// The legend picture, 492 x 325 RGB32, with the given note markers.
QImage composeLegend(const QuestDocument &doc, const std::array<QImage, 4> &markers, double dpi);

} // namespace sheet

/// The scroll picture with the program's artwork at the screen's resolution.
QImage composeScroll(const QuestDocument &doc);
/// The legend picture with the program's artwork at the screen's resolution.
QImage composeLegend(const QuestDocument &doc);

/// What the preview buttons show: the very pictures the printed sheet carries.
QImage scrollPreview(const QuestDocument &doc);
QImage legendPreview(const QuestDocument &doc);
