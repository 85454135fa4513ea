#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

class QTextDocument;

/// The lines of a word-wrapping text field as the field shows them.
///
/// The intro and note fields of the quest editor wrap words at their right
/// edge. Their content counts as the list of lines they show: a wrapped
/// paragraph is several lines (a wrap adds no characters), and a last shown
/// line that is empty is not counted ("abc\n" is one line, "abc\n\n" two,
/// an empty field none). The quest file, the printed sheet and the previews
/// all use these lines, so every one of them goes through shownLines().
namespace textlines {

/// Width of a field's frame on each side, in pixels.
constexpr int kFieldFrame = 2;
/// Empty space between the frame and the text on each side, in pixels.
constexpr int kFieldMargin = 2;

constexpr int kIntroFieldWidth = 481;
constexpr int kIntroFieldHeight = 97;
constexpr int kNoteFieldWidth = 345;
constexpr int kNoteFieldHeight = 65;

/// The width in pixels at which a field of the given outer width wraps its
/// document (inside its frame; the document margin lies within it).
constexpr int wrapWidth(int fieldWidth)
{
    return fieldWidth - 2 * kFieldFrame;
}

/// Prepares a document to wrap exactly as a field of the given outer width in
/// the given font does.
void setUpFieldDocument(QTextDocument &document, const QFont &font, int fieldWidth);

/// The shown lines of a laid-out field document (lays it out if needed).
QStringList shownLines(const QTextDocument &document);

/// The shown lines that a field of the given outer width and font would show
/// for the text; the same result as the field itself gives.
QStringList shownLines(const QString &text, const QFont &font, int fieldWidth);

/// The shown lines of the intro field (481 pixels, "Letter Gothic MT" 16 px).
QStringList shownIntroLines(const QString &text);
/// The shown lines of a note field (345 pixels, "MS Sans Serif" 11 px).
QStringList shownNoteLines(const QString &text);

/// The field text that shows the given lines: each line ended by a line break
/// (empty for no lines). A field so filled shows these lines again, unless a
/// line is wider than the field.
QString fieldText(const QStringList &lines);

} // namespace textlines
