#include "filenames.h"

#include <QDir>
#include <QFile>
#include <QUrl>

#include <climits>
#include <cstdlib>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr char16_t kFirstEscape = 0xDC80;

// The length of the valid UTF-8 sequence at `at` (1 to 4) and its code point,
// or 0 when the bytes there are not one (overlong forms and UTF-16 halves
// included).
int utf8Sequence(const QByteArray &bytes, qsizetype at, char32_t *code)
{
    const auto byte = [&](qsizetype i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char lead = byte(at);
    int length = 0;
    char32_t value = 0;
    char32_t least = 0;
    if (lead < 0x80) {
        *code = lead;
        return 1;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2, value = lead & 0x1F, least = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, value = lead & 0x0F, least = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, value = lead & 0x07, least = 0x10000;
    } else {
        return 0;
    }
    if (at + length > bytes.size())
        return 0;
    for (int i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80)
            return 0;
        value = (value << 6) | (byte(at + i) & 0x3F);
    }
    if (value < least || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return 0;
    *code = value;
    return length;
}

bool isEscape(char16_t unit)
{
    return unit >= kFirstEscape && unit <= 0xDCFF;
}

} // namespace

QString filenames::decode(const QByteArray &bytes)
{
    QString path;
    path.reserve(bytes.size());
    for (qsizetype at = 0; at < bytes.size();) {
        char32_t code = 0;
        const int length = utf8Sequence(bytes, at, &code);
        if (length == 0) {
            path += QChar(char16_t(0xDC00 + static_cast<unsigned char>(bytes[at])));
            ++at;
            continue;
        }
        path += QString::fromUcs4(&code, 1);
        at += length;
    }
    return path;
}

bool filenames::encode(const QString &path, QByteArray *bytes)
{
    QByteArray out;
    out.reserve(path.size());
    for (qsizetype i = 0; i < path.size(); ++i) {
        const char16_t unit = path[i].unicode();
        if (unit == 0)
            return false;
        if (QChar::isHighSurrogate(unit) && i + 1 < path.size() &&
            QChar::isLowSurrogate(path[i + 1].unicode())) {
            out += QStringView(path).mid(i, 2).toUtf8();
            ++i;
        } else if (isEscape(unit)) {
            out += char(unit - 0xDC00);
        } else if (QChar::isSurrogate(unit)) {
            return false;
        } else {
            out += QStringView(path).mid(i, 1).toUtf8();
        }
    }
    *bytes = out;
    return true;
}

bool filenames::qtCanReach(const QString &path)
{
    QByteArray bytes;
    return encode(path, &bytes) && QFile::encodeName(path) == bytes;
}

QString filenames::shown(const QString &path)
{
    QString text = path;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        else if (text[i].isSurrogate())
            text[i] = QChar::ReplacementCharacter;
    }
    return text;
}

QString filenames::localFile(const QUrl &url)
{
    if (!url.isLocalFile())
        return QString();
    // The URL keeps the bytes percent-encoded; QUrl's own decoding would turn
    // those that are not UTF-8 into U+FFFD.
    const QByteArray path =
        QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
    QString file = decode(path);
    const QString host = url.host();
    if (!host.isEmpty() && host != QLatin1String("localhost"))
        file = QStringLiteral("//") + host + file;
    return file;
}

QString filenames::absolute(const QString &path)
{
    if (path.isEmpty() || path.startsWith(QLatin1Char('/')))
        return QDir::cleanPath(path);
    char folder[PATH_MAX];
    if (!::getcwd(folder, sizeof folder))
        return QDir::cleanPath(QDir::currentPath() + QLatin1Char('/') + path);
    return QDir::cleanPath(decode(QByteArray(folder)) + QLatin1Char('/') + path);
}

QString filenames::canonical(const QString &path)
{
    QByteArray bytes;
    if (path.isEmpty() || !encode(path, &bytes))
        return QString();
    char *resolved = ::realpath(bytes.constData(), nullptr);
    if (!resolved)
        return QString();
    const QString result = decode(QByteArray(resolved));
    std::free(resolved);
    return result;
}

QStringList filenames::folderEntries(const QString &folder, EntryKind kind)
{
    QStringList names;
    QByteArray bytes;
    if (!encode(folder, &bytes))
        return names;
    DIR *dir = ::opendir(bytes.constData());
    if (!dir)
        return names;
    if (!bytes.endsWith('/'))
        bytes += '/';
    while (const dirent *entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (name.startsWith('.'))
            continue;
        struct stat status {};
        if (::stat((bytes + name).constData(), &status) != 0)
            continue;
        const bool wanted =
            kind == EntryKind::Files ? S_ISREG(status.st_mode) : S_ISDIR(status.st_mode);
        if (wanted)
            names << decode(name);
    }
    ::closedir(dir);
    return names;
}
