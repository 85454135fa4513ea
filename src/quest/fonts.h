#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

/// Faces of the quest editor and its sheet. The editor is designed around the
/// Windows faces "MS Sans Serif" (dialog and notes) and "Letter Gothic MT"
/// (intro); where they are missing, installFontSubstitutions() maps them to
/// installed faces of the same kind.
namespace questfonts {

/// The default face: the dialog's font, the notes, the legend, and the face
/// the intro font "Default" (in any letter case) or an empty intro font means.
inline const QString kDefaultFace = QStringLiteral("MS Sans Serif");
/// The face of the intro field.
inline const QString kIntroFieldFace = QStringLiteral("Letter Gothic MT");
/// The entry of the intro font list that stands for the default face.
inline const QString kDefaultEntry = QStringLiteral("Default");

/// Maps the two Windows faces to installed faces: "Letter Gothic MT" to a
/// monospaced face, "MS Sans Serif" to a sans-serif face. Called once at
/// start-up, before any window is made; calling it again does no harm.
void installFontSubstitutions();

/// The substitutes tried for a face, first to last (empty for other faces).
QStringList substitutesFor(const QString &face);

/// Font of the dialog and of the note fields: "MS Sans Serif", 11 pixels high.
QFont dialogFont();
/// Font of the intro field: "Letter Gothic MT", 16 pixels high.
QFont introFieldFont();
/// Font of the note fields (same as the dialog's).
QFont noteFieldFont();

/// The face an intro font name selects: the default face for an empty name or
/// "Default" in any letter case, the name itself otherwise.
QString faceFor(const QString &introFont);

/// The drop-down list of the intro font field: the installed font families
/// together with "Default", sorted alphabetically without regard to case.
QStringList introFontList();

/// The font list from the toolkit's family names: each family once under its
/// plain name ("C059 [urw]" and "C059 [UKWN]" are both "C059"), with
/// "Default", sorted alphabetically without regard to case.
QStringList plainFontList(const QStringList &families);

} // namespace questfonts
