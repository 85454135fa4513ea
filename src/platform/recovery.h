#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QLockFile>
#include <QString>
#include <QStringList>

#include <memory>
#include <mutex>
#include <vector>

/// Recovery copies: what a running instance keeps of its unsaved work so that
/// a session that ends without a normal quit (a signal, a lost display, a
/// crash) loses nothing. The copies live in a folder of the user's state
/// ($XDG_STATE_HOME/dkedit/recovery, ~/.local/state/dkedit/recovery by
/// default), never beside the user's files, which only saving writes.
///
/// Each instance holds a lock file of its own there ("<instance>.lock"); its
/// copies are "<instance>.<slot>.dkr", one per modified map and one for the
/// quest, each replaced atomically. Copies whose instance no longer holds its
/// lock are left over from a session that ended abnormally and may be
/// restored.
namespace recovery {

/// One recovery copy: what restoring a map or the quest needs.
struct Copy {
    enum Kind { Map = 1, Quest = 2 };
    Kind kind = Map;
    /// What the user saw as the document's name: a map's caption ("New*" or
    /// its file), the quest's title.
    QString caption;
    /// The file the document belongs to (empty: none yet).
    QString path;
    /// Bits per pixel of the map's file (0: the picture decides).
    int bitsPerPixel = 0;
    /// When the copy was taken.
    QDateTime time;
    /// The map picture as a BMP file's bytes (the quest's map picture; empty
    /// when it has none).
    QByteArray picture;
    /// Everything else of the document (the quest's fields), in the owner's
    /// own encoding.
    QByteArray fields;
};

/// The bytes of a copy's file: a header, the fields and the picture, and a
/// checksum over all of them.
QByteArray encode(const Copy &copy);
/// Reads a copy's file bytes; false for anything truncated, damaged or of
/// another kind.
bool decode(const QByteArray &bytes, Copy &copy);

/// The folder of the recovery copies for the current environment.
QString defaultFolder();

/// Whether the settings allow recovery copies (key "recovery/enabled" in the
/// program's settings file; true unless set to false).
bool enabledInSettings();

/// A copy left by an instance that is no longer running.
struct Orphan {
    Copy copy;
    QString file;
};

/// The start-up offer's text: each document that can be restored, with the
/// time of its copy.
QString offerText(const QList<Orphan> &orphans);
/// The report on copies that could not be read (their files).
QString damagedText(const QStringList &files);
/// The report that recovery copies cannot be made in this session.
QString offText(const QString &reason);

/// The recovery folder as seen by one running instance. Thread-safe: the
/// copies are written on a worker thread while the program runs on.
class Store {
public:
    /// The store in `folder`, not yet opened.
    explicit Store(const QString &folder = defaultFolder());
    ~Store();
    Store(const Store &) = delete;
    Store &operator=(const Store &) = delete;

    /// Makes the folder and takes this instance's lock. False, with the
    /// reason in `error`, when the folder cannot be used.
    bool open(QString *error);
    QString folder() const { return m_folder; }
    /// The file name part that names this instance.
    QString instance() const { return m_instance; }

    /// Writes (replaces) the copy in `slot` ("map-3", "quest") atomically.
    /// False, with the reason in `error`, when it could not be written; an
    /// older copy in the slot then stays as it was.
    bool write(const QString &slot, const Copy &copy, QString *error);
    /// Removes the copy in `slot`, if any.
    void remove(const QString &slot);
    /// Removes every copy of this instance.
    void removeOwn();

    /// Takes over the copies of instances that are no longer running (their
    /// locks) and reads them, oldest first. Files that cannot be read are
    /// named in `damaged` and left out.
    QList<Orphan> adoptOrphans(QStringList *damaged);
    /// Removes the taken-over copies and their instances' lock files; the
    /// unreadable ones too with `damagedToo`.
    void removeAdopted(bool damagedToo);

private:
    QString slotFile(const QString &slot) const;

    std::mutex m_mutex;
    QString m_folder;
    QString m_instance;
    std::unique_ptr<QLockFile> m_lock;
    /// Locks of dead instances taken over, and their copies' files.
    std::vector<std::unique_ptr<QLockFile>> m_adoptedLocks;
    QStringList m_adoptedFiles;
    QStringList m_damagedFiles;
};

} // namespace recovery
