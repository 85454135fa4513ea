#include "overlayslot.h"

#include "bmpcodec.h"
#include "filenames.h"
#include "toolstate.h"

#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QStorageInfo>

#include <algorithm>

namespace overlays {

QRect previewRect(QSize pictureSize)
{
    const int w = pictureSize.width();
    const int h = pictureSize.height();
    if (w > kPreviewSize && h > kPreviewSize)
        return QRect(0, 0, kPreviewSize, kPreviewSize);
    // Integer division truncates towards zero: a 200-pixel width starts at -53.
    return QRect((kPreviewSize - w) / 2, (kPreviewSize - h) / 2, w, h);
}

QImage previewPicture(const QImage &picture)
{
    QImage box(kPreviewSize, kPreviewSize, QImage::Format_ARGB32_Premultiplied);
    box.fill(Qt::transparent);
    if (picture.isNull())
        return box;
    QPainter painter(&box);
    // Plain pixel replication when stretching: the preview shows the file's
    // own colours, blue included, never blended ones.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(previewRect(picture.size()), picture);
    return box;
}

namespace {

// Name order of the lists: letter case ignored; equal names (KARTE.BMP and
// karte.bmp) in a fixed order, upper case first.
bool nameLess(const QString &a, const QString &b)
{
    const int folded = QString::compare(a, b, Qt::CaseInsensitive);
    if (folded != 0)
        return folded < 0;
    return QString::compare(a, b, Qt::CaseSensitive) < 0;
}

QString cleanAbsolute(const QString &directory)
{
    return QDir::cleanPath(QDir(directory).absolutePath());
}

} // namespace

QStringList bmpFiles(const QString &directory)
{
    // Listed by their bytes: Qt's own listing leaves out names that are not
    // UTF-8. Regular files (and links to them) only, ".bmp" in any case.
    QStringList names;
    const QStringList files = filenames::folderEntries(directory, filenames::EntryKind::Files);
    for (const QString &name : files)
        if (name.endsWith(QLatin1String(".bmp"), Qt::CaseInsensitive))
            names << name;
    std::sort(names.begin(), names.end(), nameLess);
    return names;
}

QVector<DirEntry> directoryEntries(const QString &directory)
{
    const QString path = cleanAbsolute(directory);
    QVector<DirEntry> entries;

    // The chain of opened folders from the root down to the directory.
    QStringList chain;
    for (QString p = path;; p = QFileInfo(p).path()) {
        chain.prepend(p);
        if (QDir(p).isRoot() || p == QFileInfo(p).path())
            break;
    }
    for (int i = 0; i < chain.size(); ++i) {
        DirEntry e;
        e.path = chain[i];
        e.label = i == 0 ? chain[i] : QFileInfo(chain[i]).fileName();
        e.level = i;
        e.open = true;
        e.current = i == chain.size() - 1;
        entries.append(e);
    }

    // Its subdirectories, one level deeper; hidden ones are not listed.
    QStringList subdirs = filenames::folderEntries(path, filenames::EntryKind::Folders);
    std::sort(subdirs.begin(), subdirs.end(), nameLess);
    for (const QString &name : subdirs) {
        DirEntry e;
        e.path = QDir(path).filePath(name);
        e.label = name;
        e.level = int(chain.size());
        entries.append(e);
    }
    return entries;
}

QVector<Drive> drivesFrom(const QString &home, const QVector<Mount> &mounts)
{
    static const QList<QByteArray> pseudo = {
        "proc",       "sysfs",       "devtmpfs", "devpts",     "tmpfs",
        "ramfs",      "cgroup",      "cgroup2",  "securityfs", "pstore",
        "debugfs",    "tracefs",     "configfs", "fusectl",    "mqueue",
        "hugetlbfs",  "binfmt_misc", "autofs",   "bpf",        "nsfs",
        "efivarfs",   "rpc_pipefs",  "overlay",  "squashfs",   "fuse.gvfsd-fuse",
        "fuse.portal"};
    static const QStringList mediaRoots = {QStringLiteral("/media/"), QStringLiteral("/mnt/"),
                                           QStringLiteral("/run/media/")};

    QVector<Drive> result;
    auto add = [&result](const QString &root, const QString &label) {
        for (const Drive &d : result)
            if (d.root == root)
                return;
        result.append(Drive{root, label});
    };

    add(QStringLiteral("/"), QStringLiteral("/"));
    const QString cleanHome = QDir::cleanPath(home);
    if (!home.isEmpty() && cleanHome != QLatin1String("/"))
        add(cleanHome, QStringLiteral("~ ") + QFileInfo(cleanHome).fileName());
    for (const Mount &m : mounts) {
        const QString root = QDir::cleanPath(m.root);
        if (pseudo.contains(m.type))
            continue;
        const bool underMedia =
            std::any_of(mediaRoots.begin(), mediaRoots.end(),
                        [&root](const QString &r) { return root.startsWith(r); });
        if (underMedia)
            add(root, QFileInfo(root).fileName());
    }
    return result;
}

QVector<Drive> drives()
{
    QVector<Mount> mounts;
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes()) {
        if (volume.isValid() && volume.isReady())
            mounts.append(Mount{volume.rootPath(), volume.fileSystemType()});
    }
    return drivesFrom(QDir::homePath(), mounts);
}

int driveIndexFor(const QVector<Drive> &drives, const QString &directory)
{
    const QString path = cleanAbsolute(directory);
    int best = -1;
    int bestLength = -1;
    for (int i = 0; i < drives.size(); ++i) {
        const QString &root = drives[i].root;
        const bool holds =
            root == QLatin1String("/") || path == root || path.startsWith(root + QLatin1Char('/'));
        if (holds && root.size() > bestLength) {
            best = i;
            bestLength = int(root.size());
        }
    }
    return best;
}

OverlaySlot::OverlaySlot(const QString &directory)
{
    setDirectory(directory);
}

void OverlaySlot::setDirectory(const QString &directory)
{
    m_directory = cleanAbsolute(directory);
    m_files = bmpFiles(m_directory);
    m_selected.clear();
}

void OverlaySlot::refresh()
{
    m_files = bmpFiles(m_directory);
    if (!m_files.contains(m_selected))
        m_selected.clear();
}

void OverlaySlot::select(const QString &name)
{
    m_selected = m_files.contains(name) ? name : QString();
}

QString OverlaySlot::fullPath() const
{
    if (m_selected.isEmpty())
        return QString();
    return QDir(m_directory).filePath(m_selected);
}

bool OverlaySlot::show()
{
    const QString path = fullPath();
    if (path.isEmpty())
        return false;
    // Read into a temporary first: a failed read leaves the preview alone.
    const QImage picture = raster::readBmpFile(path);
    m_preview = previewPicture(picture);
    m_previewEnabled = true;
    return true;
}

void OverlaySlot::use(ToolState &tool) const
{
    // The file is read again at each use, so changes made on disk since it
    // was previewed are what gets stamped. An empty path fails like any
    // file that cannot be opened.
    const QImage picture = raster::readBmpFile(fullPath());
    tool.stamp = picture;
    tool.setStatusText(QString());
    tool.mode = board::Mode::Interior;
}

} // namespace overlays
