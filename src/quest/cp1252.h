#pragma once

#include <QByteArray>
#include <QString>

/// The Windows-1252 code page of quest files: Latin-1 with 27 further
/// characters (the euro sign, typographic quotes and dashes, ...) in the
/// bytes 0x80 to 0x9F.
namespace cp1252 {

/// The character a byte stands for. The five bytes the code page leaves
/// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) read as the control characters of
/// the same number, so they survive a round trip.
char32_t toUnicode(unsigned char byte);

/// Whether the character has a byte in the code page.
bool canEncode(char32_t c);

/// Decodes bytes into text.
QString decode(const QByteArray &bytes);

/// Encodes text; every character the code page cannot hold becomes "?".
QByteArray encode(const QString &text);

/// The distinct characters of the text that the code page cannot hold, in the
/// order of their first appearance (empty when the text encodes losslessly).
QString unencodable(const QString &text);

} // namespace cp1252
