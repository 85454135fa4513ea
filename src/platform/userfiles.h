#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <memory>
#include <vector>

/// The user's files, opened for reading and replaced by new versions without
/// ever hanging the program or losing the old file.
namespace userfiles {

/// A file on the disk as it is at one moment: enough to tell whether it was
/// written or replaced since (by another program, a sync tool).
struct FileVersion {
    bool exists = false;
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = 0;
    qint64 modifiedNs = 0; ///< last modification, nanoseconds since 1970

    bool operator==(const FileVersion &other) const
    {
        return exists == other.exists && device == other.device && inode == other.inode &&
               size == other.size && modifiedNs == other.modifiedNs;
    }
    bool operator!=(const FileVersion &other) const { return !(*this == other); }
};

/// The version of the file at `path` now (links followed); `exists` is false
/// when there is none.
FileVersion versionOf(const QString &path);

/// Opens a file the user named for reading. Only regular files (and links to
/// them) are opened: a named pipe, a device, a socket or a folder is refused
/// at once, without waiting on it and without reading from it. Qt resource
/// paths (":/...") open as they are. Throws DkError "Cannot open file %1".
std::unique_ptr<QFile> openForReading(const QString &path);

/// A new version of a file: written under a short temporary name in the
/// target's folder and put in the target's place only when it is complete
/// and on the disk, so that a failed write (a full disk, a file size limit)
/// leaves any old file as it was. A replaced file keeps its permissions and,
/// where the system allows, its owner and group. A link is followed: the
/// file it points to is replaced. Every failure throws DkError
/// "Cannot create file %1" with the path as given.
class Replacement {
public:
    explicit Replacement(const QString &path);
    /// Removes the temporary file unless the replacement was committed.
    ~Replacement();
    Replacement(const Replacement &) = delete;
    Replacement &operator=(const Replacement &) = delete;

    /// Creates the temporary file. Refuses a target that is not a regular
    /// file (a folder, a device) or that exists but may not be written.
    void open();

    /// The temporary file, for a writer that opens the file by name itself
    /// (through Qt) while this replacement is open.
    QString temporaryPath() const;

    /// Appends bytes. Write errors are kept and reported by commit().
    void write(const char *data, qint64 size);
    void write(const QByteArray &bytes) { write(bytes.constData(), bytes.size()); }

    /// Writes out what is buffered, brings the file to the disk and renames it
    /// over the target.
    void commit();

private:
    bool flushBuffer();
    [[noreturn]] void fail();

    QString m_path;         // as given: the name errors report
    QByteArray m_target;    // the file actually replaced (links followed)
    QByteArray m_temporary; // empty until open()
    int m_fd = -1;
    bool m_failed = false;
    bool m_committed = false;
    std::vector<char> m_buffer;
};

} // namespace userfiles
