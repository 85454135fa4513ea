#include "recovery.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSettings>

#include <algorithm>

namespace recovery {

namespace {

constexpr quint32 kMagic = 0x444b5243; // "DKRC"
constexpr quint16 kVersion = 1;
const QString kSuffix = QStringLiteral(".dkr");
const QString kLockSuffix = QStringLiteral(".lock");
constexpr QCryptographicHash::Algorithm kHash = QCryptographicHash::Sha1;

std::unique_ptr<QLockFile> makeLock(const QString &file)
{
    auto lock = std::make_unique<QLockFile>(file);
    // A running instance keeps its lock however long it runs: only a lock
    // whose process is gone is stale.
    lock->setStaleLockTime(0);
    return lock;
}

} // namespace

QByteArray encode(const Copy &copy)
{
    QByteArray bytes;
    {
        QDataStream out(&bytes, QIODevice::WriteOnly);
        out.setVersion(QDataStream::Qt_6_0);
        out << kMagic << kVersion << qint32(copy.kind) << copy.caption << copy.path
            << qint32(copy.bitsPerPixel) << copy.time.toMSecsSinceEpoch() << copy.fields
            << copy.picture;
    }
    bytes += QCryptographicHash::hash(bytes, kHash);
    return bytes;
}

bool decode(const QByteArray &bytes, Copy &copy)
{
    const int hashSize = QCryptographicHash::hashLength(kHash);
    if (bytes.size() <= hashSize)
        return false;
    const QByteArray body = bytes.first(bytes.size() - hashSize);
    if (QCryptographicHash::hash(body, kHash) != bytes.last(hashSize))
        return false;
    QDataStream in(body);
    in.setVersion(QDataStream::Qt_6_0);
    quint32 magic = 0;
    quint16 version = 0;
    qint32 kind = 0;
    qint32 bits = 0;
    qint64 time = 0;
    Copy read;
    in >> magic >> version >> kind >> read.caption >> read.path >> bits >> time >> read.fields >>
        read.picture;
    if (in.status() != QDataStream::Ok || !in.atEnd() || magic != kMagic || version != kVersion ||
        (kind != Copy::Map && kind != Copy::Quest))
        return false;
    read.kind = Copy::Kind(kind);
    read.bitsPerPixel = bits;
    read.time = QDateTime::fromMSecsSinceEpoch(time);
    copy = read;
    return true;
}

QString defaultFolder()
{
    // The state folder of the XDG base directories (an absolute
    // $XDG_STATE_HOME, else ~/.local/state).
    QString state = QFile::decodeName(qgetenv("XDG_STATE_HOME"));
    if (state.isEmpty() || QDir::isRelativePath(state))
        state = QDir::homePath() + QStringLiteral("/.local/state");
    return state + QStringLiteral("/dkedit/recovery");
}

bool enabledInSettings()
{
    const QSettings settings(QSettings::NativeFormat, QSettings::UserScope,
                             QStringLiteral("dkedit"), QStringLiteral("dkedit"));
    return settings.value(QStringLiteral("recovery/enabled"), true).toBool();
}

QString offerText(const QList<Orphan> &orphans)
{
    QStringList lines;
    for (const Orphan &orphan : orphans) {
        const Copy &copy = orphan.copy;
        const QString time =
            copy.time.toLocalTime().toString(QStringLiteral("dd.MM.yyyy HH:mm:ss"));
        if (copy.kind == Copy::Map)
            lines << QStringLiteral("• Karte %1 (Stand %2)")
                         .arg(QDir::toNativeSeparators(copy.caption), time);
        else if (copy.caption.isEmpty())
            lines << QStringLiteral("• Quest ohne Titel (Stand %1)").arg(time);
        else
            lines << QStringLiteral("• Quest „%1“ (Stand %2)").arg(copy.caption, time);
    }
    return QStringLiteral("DK-Edit wurde zuletzt nicht ordnungsgemäß beendet. Diese ungespeicherte "
                          "Arbeit kann wiederhergestellt werden:\n\n%1\n\n"
                          "Nicht wiederhergestellte Kopien bleiben bis zum nächsten normalen "
                          "Beenden erhalten.")
        .arg(lines.join(QLatin1Char('\n')));
}

QString damagedText(const QStringList &files)
{
    QStringList names;
    for (const QString &file : files)
        names << QDir::toNativeSeparators(file);
    return QStringLiteral("Diese Wiederherstellungskopien sind beschädigt oder unvollständig und "
                          "werden übergangen:\n%1")
        .arg(names.join(QLatin1Char('\n')));
}

QString offText(const QString &reason)
{
    return QStringLiteral("Wiederherstellungskopien können nicht angelegt werden: %1.\n"
                          "Die Wiederherstellung ist für diese Sitzung ausgeschaltet.")
        .arg(reason);
}

Store::Store(const QString &folder) : m_folder(folder)
{
    m_instance = QStringLiteral("%1-%2")
                     .arg(QCoreApplication::applicationPid())
                     .arg(QDateTime::currentMSecsSinceEpoch(), 0, 36);
}

Store::~Store() = default;

QString Store::slotFile(const QString &slot) const
{
    return m_folder + QLatin1Char('/') + m_instance + QLatin1Char('.') + slot + kSuffix;
}

bool Store::open(QString *error)
{
    std::lock_guard<std::mutex> guard(m_mutex);
    if (!QDir().mkpath(m_folder)) {
        *error = QStringLiteral("Der Ordner %1 kann nicht angelegt werden").arg(m_folder);
        return false;
    }
    QFile::setPermissions(m_folder,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    m_lock = makeLock(m_folder + QLatin1Char('/') + m_instance + kLockSuffix);
    if (!m_lock->tryLock(0)) {
        *error = QStringLiteral("In den Ordner %1 kann nicht geschrieben werden").arg(m_folder);
        m_lock.reset();
        return false;
    }
    return true;
}

bool Store::write(const QString &slot, const Copy &copy, QString *error)
{
    const QByteArray bytes = encode(copy);
    std::lock_guard<std::mutex> guard(m_mutex);
    QSaveFile file(slotFile(slot));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        *error = QStringLiteral("%1 kann nicht geschrieben werden (%2)")
                     .arg(QDir::toNativeSeparators(file.fileName()), file.errorString());
        return false;
    }
    return true;
}

void Store::remove(const QString &slot)
{
    std::lock_guard<std::mutex> guard(m_mutex);
    QFile::remove(slotFile(slot));
}

void Store::removeOwn()
{
    std::lock_guard<std::mutex> guard(m_mutex);
    const QDir dir(m_folder);
    const QStringList own =
        dir.entryList({m_instance + QStringLiteral(".*") + kSuffix}, QDir::Files);
    for (const QString &name : own)
        QFile::remove(dir.filePath(name));
}

QList<Orphan> Store::adoptOrphans(QStringList *damaged)
{
    std::lock_guard<std::mutex> guard(m_mutex);
    const QDir dir(m_folder);
    QList<Orphan> found;
    const QStringList names = dir.entryList({QStringLiteral("*") + kSuffix}, QDir::Files);
    QStringList instances;
    for (const QString &name : names) {
        const QString instance = name.section(QLatin1Char('.'), 0, 0);
        if (instance != m_instance && !instances.contains(instance))
            instances << instance;
    }
    for (const QString &instance : instances) {
        // An instance that still runs holds its lock: its copies are its own.
        auto lock = makeLock(dir.filePath(instance + kLockSuffix));
        if (!lock->tryLock(0))
            continue;
        m_adoptedLocks.push_back(std::move(lock));
        for (const QString &name : names) {
            if (name.section(QLatin1Char('.'), 0, 0) != instance)
                continue;
            const QString path = dir.filePath(name);
            QFile file(path);
            Orphan orphan;
            orphan.file = path;
            if (!file.open(QIODevice::ReadOnly) || !decode(file.readAll(), orphan.copy)) {
                damaged->append(path);
                m_damagedFiles << path;
                continue;
            }
            m_adoptedFiles << path;
            found << orphan;
        }
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const Orphan &a, const Orphan &b) { return a.copy.time < b.copy.time; });
    return found;
}

void Store::removeAdopted(bool damagedToo)
{
    std::lock_guard<std::mutex> guard(m_mutex);
    if (damagedToo)
        m_adoptedFiles += m_damagedFiles;
    for (const QString &file : std::as_const(m_adoptedFiles))
        QFile::remove(file);
    m_adoptedFiles.clear();
    for (auto &lock : m_adoptedLocks)
        lock->unlock(); // removes the dead instance's lock file
    m_adoptedLocks.clear();
}

} // namespace recovery
