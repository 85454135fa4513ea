#pragma once

#include <QString>

/// The kinds of files the program's dialogs ask for. Each kind remembers the
/// folder it was last used in, across runs.
enum class FileKind { Map, Quest, Picture };

/// Where file dialogs start: in the folder of the document the user works on,
/// else where the last file of the same kind was chosen, else in the home
/// folder (never in the folder the program happened to be started from).
namespace filefolders {

/// The folder a dialog for `kind` starts in: the folder of `currentDocument`
/// when that is a file path whose folder exists; else the folder remembered
/// for the kind, when it still exists; else the home folder.
QString startFolder(FileKind kind, const QString &currentDocument = QString());

/// Remembers the folder of a file chosen for `kind` (empty: nothing happens).
void remember(FileKind kind, const QString &chosenFile);

/// The settings key under which the folder of a kind is kept
/// ("folders/maps", "folders/quests", "folders/pictures").
QString settingsKey(FileKind kind);

} // namespace filefolders
