#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

class QUrl;

/// File names as the system stores them: bytes, which need not be UTF-8 (a
/// Latin-1 "k\xe4rte.bmp" from an old disk). Qt turns such bytes into U+FFFD
/// when it decodes a name, so that two different files get one name and a
/// write goes to a third file. A path given to the program as bytes (its
/// command line, a drop) is therefore decoded here instead: every byte that
/// is not part of valid UTF-8 becomes one of the 128 code units U+DC80 to
/// U+DCFF (which valid UTF-8 never yields), and encoding gives back exactly
/// the bytes given. Such a path must reach the system through encode(): the
/// program's own file access (userfiles) does so.
namespace filenames {

/// The path for the bytes of a file name.
QString decode(const QByteArray &bytes);

/// The bytes of a path. False (and `bytes` untouched) when the path holds a
/// character no file name can carry: half of a UTF-16 pair that decode() did
/// not make, or a zero character.
bool encode(const QString &path, QByteArray *bytes);

/// Whether Qt's own file access reaches the file under exactly the path's
/// bytes (no byte that is not UTF-8 in it).
bool qtCanReach(const QString &path);

/// The path for showing: each byte that is not UTF-8 shows as U+FFFD.
QString shown(const QString &path);

/// The local file of a "file:" URL, from its percent-encoded bytes; empty
/// for any other URL.
QString localFile(const QUrl &url);

/// The path made absolute against the current folder (read as bytes) and
/// cleaned of "." and ".." steps, as QFileInfo::absoluteFilePath() does.
QString absolute(const QString &path);

/// The path with every link and "." or ".." resolved, for telling whether two
/// paths name one file; empty when there is no such file.
QString canonical(const QString &path);

/// What folderEntries() lists.
enum class EntryKind { Files, Folders };

/// The names in a folder, unsorted, each decoded from its bytes: those of
/// regular files or those of folders (links to them count as what they lead
/// to). Hidden names (a leading ".") and "." and ".." are left out. Empty for
/// a folder that cannot be read.
QStringList folderEntries(const QString &folder, EntryKind kind);

} // namespace filenames
