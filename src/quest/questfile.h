#pragma once

#include "questdocument.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

/// Quest files (".dke"): the text part of a quest document as Windows-1252
/// text lines. Line 1 is the title, line 2 the wandering monster; then the
/// intro, notes A to D and the other note, each section ended by a line "---";
/// then the five flag lines "+A"/"-A" ... "+S"/"-S". The writer ends every
/// line with CR LF; the reader takes CR LF, CR and LF alike.
namespace questfile {

/// The line that ends each text section.
inline const QString kSeparator = QStringLiteral("---");
/// The filter of the quest file dialogs.
inline const QString kFilter = QStringLiteral("DK-Edit Questeditor|*.dke");
/// Characters of a line that the reader keeps; the rest of a longer line is dropped.
constexpr int kMaxLineLength = 4096;
/// The most lines and bytes a quest file may have. A quest sheet shows a few
/// dozen lines; these limits keep loading a file into the editor's fields
/// well under a second, where a file of millions of lines would take minutes.
constexpr int kMaxLines = 10000;
constexpr qint64 kMaxFileBytes = 1000000;
/// The two limits in the words of the messages.
inline const QString kLimitText = QStringLiteral("höchstens 10.000 Zeilen und 1 MB");

/// The path a quest is saved under: unchanged when it contains ".dke"
/// anywhere (case-sensitive), otherwise with ".dke" appended.
QString withExtension(const QString &path);

/// Whether a file given to open (on the command line, dropped on the quest
/// editor) is a quest file: its name ends in ".dke", in any letter case.
/// Every other file given to the program is opened as a map.
bool isQuestFile(const QString &path);

/// The text as one line: each line break in it (CR LF, a lone CR or LF,
/// U+2028, U+2029) becomes one space.
QString oneLine(const QString &text);

/// The lines of the file for the document, in file order (without line ends).
/// Every field and text line goes through oneLine(): whatever the document
/// holds, no line break inside a line can split it into two file lines.
QStringList toLines(const QuestDocument &document);

/// The file's bytes: toLines() in Windows-1252, each line ended by CR LF.
/// Characters the code page cannot hold are written as "?".
QByteArray encode(const QuestDocument &document);

/// Splits file bytes into lines: CR LF, a lone CR and a lone LF each end a
/// line, a last line without a line end is a line too. Each line keeps its
/// first 4,096 characters. Zero bytes are dropped.
QStringList splitLines(const QByteArray &bytes);

/// Fills the text fields and flags of `document` from file lines; its intro
/// font and size stay. Returns false, leaving `document` untouched, when the
/// lines hold fewer than six separator lines (no complete quest file).
bool parseLines(const QStringList &lines, QuestDocument &document);

/// Reads a quest file into the text fields and flags of `document` (the other
/// fields stay). Throws DkError "Cannot open file %1" when the file cannot be
/// read (also when it is no regular file: a pipe or a device is never opened),
/// the message of tooLargeFile() when it has more than kMaxLines lines or
/// kMaxFileBytes bytes (a larger file is refused before it is read), and the
/// message of incompleteFile() when it is no complete quest file; in every
/// case `document` is unchanged.
void read(const QString &path, QuestDocument &document);

/// Whether the document's file keeps within kMaxLines and kMaxFileBytes, so
/// that it can be read back.
bool fitsInFile(const QuestDocument &document);

/// Writes the document to exactly this path, atomically: a failed write leaves
/// any old file as it was. Throws DkError "Cannot create file %1" on failure.
void write(const QuestDocument &document, const QString &path);

/// The message for a file with fewer than six separator lines.
QString incompleteFile(const QString &path);

/// The message for a file with too many lines or bytes.
QString tooLargeFile(const QString &path);

/// The distinct characters of the document's saved fields that Windows-1252
/// cannot hold (empty when the document saves losslessly).
QString unencodableCharacters(const QuestDocument &document);

/// The German name of the first text section that holds a line which is
/// exactly "---" (such a line would end its section early on reading), or an
/// empty string. Title and monster may read "---": they are never separators.
QString sectionWithSeparatorLine(const QuestDocument &document);

/// German names of the six text sections in file order: "Einleitung",
/// "Anmerkung A" ... "Anmerkung D", "Sonstiges".
QString sectionName(int section);

} // namespace questfile
