#include "userfiles.h"

#include "errors.h"
#include "filenames.h"

#include <QRandomGenerator>

#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Writes are collected into pieces of this size before they go to the file.
constexpr size_t kBufferSize = size_t(1) << 20;

bool isResource(const QString &path)
{
    return path.startsWith(QLatin1Char(':')) || path.startsWith(QLatin1String("qrc:"));
}

bool writeAll(int fd, const char *data, size_t size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        size -= size_t(n);
    }
    return true;
}

// The file a save through `path` (its bytes) replaces: links are followed as
// far as they go (a link to a file that does not exist yet names the file to
// create). A loop of links leaves the path as it is, and the save fails.
QByteArray finalTarget(const QByteArray &path)
{
    QByteArray target = path;
    for (int depth = 0; depth < 40; ++depth) {
        struct stat status {};
        if (::lstat(target.constData(), &status) != 0 || !S_ISLNK(status.st_mode))
            return target;
        QByteArray link(PATH_MAX, '\0');
        const ssize_t n = ::readlink(target.constData(), link.data(), size_t(link.size()));
        if (n <= 0 || n >= link.size())
            return path;
        link.truncate(n);
        if (!link.startsWith('/')) {
            const qsizetype slash = target.lastIndexOf('/');
            link.prepend(slash < 0 ? QByteArray() : target.left(slash + 1));
        }
        target = link;
    }
    return path;
}

} // namespace

userfiles::FileVersion userfiles::versionOf(const QString &path)
{
    FileVersion version;
    QByteArray name;
    struct stat status {};
    if (path.isEmpty() || isResource(path) || !filenames::encode(path, &name) ||
        ::stat(name.constData(), &status) != 0)
        return version;
    version.exists = true;
    version.device = quint64(status.st_dev);
    version.inode = quint64(status.st_ino);
    version.size = qint64(status.st_size);
    version.modifiedNs = qint64(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec;
    return version;
}

std::unique_ptr<QFile> userfiles::openForReading(const QString &path)
{
    if (path.isEmpty())
        throw DkError(errors::cannotOpen(path));
    if (isResource(path)) {
        auto file = std::make_unique<QFile>(path);
        if (!file->open(QIODevice::ReadOnly))
            throw DkError(errors::cannotOpen(path));
        return file;
    }

    // Look before opening: opening a named pipe waits for a writer, and
    // opening a device may do something by itself. The second look, at what
    // was actually opened, covers a file swapped in between.
    QByteArray name;
    if (!filenames::encode(path, &name))
        throw DkError(errors::cannotOpen(path));
    struct stat status {};
    if (::stat(name.constData(), &status) != 0 || !S_ISREG(status.st_mode))
        throw DkError(errors::cannotOpen(path));
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        throw DkError(errors::cannotOpen(path));
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        throw DkError(errors::cannotOpen(path));
    }
    auto file = std::make_unique<QFile>();
    if (!file->open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        throw DkError(errors::cannotOpen(path));
    }
    return file;
}

userfiles::Replacement::Replacement(const QString &path) : m_path(path) {}

userfiles::Replacement::~Replacement()
{
    if (m_fd >= 0)
        ::close(m_fd);
    if (!m_committed && !m_temporary.isEmpty())
        ::unlink(m_temporary.constData());
}

void userfiles::Replacement::fail()
{
    m_failed = true;
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    if (!m_temporary.isEmpty()) {
        ::unlink(m_temporary.constData());
        m_temporary.clear();
    }
    throw DkError(errors::cannotCreate(m_path));
}

void userfiles::Replacement::open()
{
    if (m_path.isEmpty() || m_fd >= 0)
        fail();
    // A path whose bytes are not known exactly is refused: the file must
    // have the name the user gave it, or none.
    QByteArray given;
    if (!filenames::encode(m_path, &given))
        fail();
    m_target = finalTarget(given);
    const QByteArray &target = m_target;
    struct stat old {};
    const bool exists = ::stat(target.constData(), &old) == 0;
    // Only a regular file is replaced: renaming over a folder fails anyway,
    // and a device or a pipe reached through a link must stay what it is.
    if (exists && (!S_ISREG(old.st_mode) || ::access(target.constData(), W_OK) != 0))
        fail();

    // A short name of its own, whatever the length of the target's name, so
    // that it fits wherever the target's name fits.
    const qsizetype slash = m_target.lastIndexOf('/');
    const QByteArray folder = slash < 0 ? QByteArrayLiteral(".") : m_target.left(slash);
    static const char letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    for (int attempt = 0; attempt < 100 && m_fd < 0; ++attempt) {
        QByteArray name = QByteArrayLiteral(".dkedit-");
        for (int i = 0; i < 6; ++i)
            name += letters[QRandomGenerator::global()->bounded(36)];
        const QByteArray candidate = folder + '/' + name;
        m_fd =
            ::open(candidate.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
        if (m_fd >= 0)
            m_temporary = candidate;
        else if (errno != EEXIST)
            break;
    }
    if (m_fd < 0)
        fail();

    if (exists) {
        // The owner and group first (changing them may clear the set-id
        // bits), then the permissions. Only root may give a file away; anyone
        // may pass it to one of their own groups. What the system refuses is
        // left as it is: the save itself goes on.
        struct stat mine {};
        if (::fstat(m_fd, &mine) == 0 && (mine.st_uid != old.st_uid || mine.st_gid != old.st_gid)) {
            if (::fchown(m_fd, old.st_uid, old.st_gid) != 0)
                (void)::fchown(m_fd, uid_t(-1), old.st_gid);
        }
        (void)::fchmod(m_fd, old.st_mode & 07777);
    }
    m_buffer.reserve(kBufferSize);
}

bool userfiles::Replacement::flushBuffer()
{
    if (!m_buffer.empty() && !m_failed)
        m_failed = !writeAll(m_fd, m_buffer.data(), m_buffer.size());
    m_buffer.clear();
    return !m_failed;
}

void userfiles::Replacement::write(const char *data, qint64 size)
{
    if (m_fd < 0 || m_failed || size <= 0)
        return;
    const size_t bytes = size_t(size);
    if (m_buffer.size() + bytes <= kBufferSize) {
        m_buffer.insert(m_buffer.end(), data, data + bytes);
        return;
    }
    if (flushBuffer() && bytes >= kBufferSize)
        m_failed = !writeAll(m_fd, data, bytes);
    else if (!m_failed)
        m_buffer.insert(m_buffer.end(), data, data + bytes);
}

void userfiles::Replacement::commit()
{
    if (m_fd < 0 || !flushBuffer())
        fail();
    // On the disk before it takes the old file's place. A file system that
    // cannot sync at all says so with EINVAL; every other failure (no space
    // left, an input/output error) means the data may not be there.
    if (::fsync(m_fd) != 0 && errno != EINVAL)
        fail();
    const int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0)
        fail();
    if (::rename(m_temporary.constData(), m_target.constData()) != 0)
        fail();
    m_committed = true;
}

QString userfiles::Replacement::temporaryPath() const
{
    if (m_temporary.isEmpty())
        return QString();
    const QString path = filenames::decode(m_temporary);
    if (filenames::qtCanReach(path))
        return path;
    // In a folder whose name Qt cannot spell, the writer reaches the open
    // temporary file through its descriptor.
    return QStringLiteral("/proc/self/fd/%1").arg(m_fd);
}
