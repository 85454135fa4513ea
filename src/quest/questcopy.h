#pragma once

#include "questdocument.h"

#include <QByteArray>

/// The quest document as a recovery copy holds it: every field, every
/// "Aktiv" flag, the intro font and size, exactly as the editor holds them
/// (no Windows-1252 and no line limits, unlike a quest file).
namespace questcopy {

QByteArray encode(const QuestDocument &document);
/// False when the bytes hold no complete quest document.
bool decode(const QByteArray &bytes, QuestDocument &document);

} // namespace questcopy
