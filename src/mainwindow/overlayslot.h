#pragma once

#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QVector>

class ToolState;

/// The logic behind the own-overlay browsers: which drives, directories and
/// BMP files a browser lists, how the preview box shows a picture, and what
/// showing and using a file do. No widgets here; the browser windows mirror it.
namespace overlays {

/// Side length of the square preview box.
constexpr int kPreviewSize = 94;

/// Where a picture of the given size lands in the 94 x 94 preview box. A
/// picture wider AND taller than the box is stretched over the whole box
/// (proportions are not kept); any other is shown at its natural size,
/// centred, and whatever sticks out is cut off at the box edges. Centring
/// truncates towards zero, so the rectangle may start left of or above the box.
QRect previewRect(QSize pictureSize);

/// The preview box's content for a picture: a 94 x 94 image, transparent
/// where the picture does not reach, with the picture drawn by previewRect.
/// A null picture (an empty file) gives a wholly transparent box.
QImage previewPicture(const QImage &picture);

/// The BMP files of a directory: normal files whose name matches "*.bmp" in
/// any letter case, sorted by name (letter case ignored, ties upper case
/// first). Hidden files are left out. Names only, no paths.
QStringList bmpFiles(const QString &directory);

/// One line of the directory list.
struct DirEntry {
    QString path;         ///< absolute path of the directory
    QString label;        ///< what the list shows: "/" for the root, else the name
    int level = 0;        ///< indentation: 0 for the root
    bool open = false;    ///< an ancestor of the current directory, or itself
    bool current = false; ///< the current directory
};

/// The directory list for a path, like the classic directory list: the root
/// and each ancestor down to the directory itself (opened), followed by the
/// directory's visible subdirectories sorted by name, one level deeper.
QVector<DirEntry> directoryEntries(const QString &directory);

/// A mounted file system as the drive box sees it.
struct Mount {
    QString root;    ///< mount point
    QByteArray type; ///< file system type ("ext4", "vfat", "tmpfs" ...)
};

/// A drive of the drive box.
struct Drive {
    QString root;  ///< the directory that choosing the drive shows
    QString label; ///< the text in the box
};

/// The drives from a list of mounts: the root "/" first, then the home
/// directory, then removable media mounted under /media, /mnt or /run/media,
/// in the order given. Pseudo file systems and duplicates are left out.
QVector<Drive> drivesFrom(const QString &home, const QVector<Mount> &mounts);

/// The drives of this machine (from its mounted volumes).
QVector<Drive> drives();

/// Index of the drive whose root holds the directory (the longest matching
/// root), or -1 when none does.
int driveIndexFor(const QVector<Drive> &drives, const QString &directory);

/// The state of one browser: its directory with the file listing read when
/// the directory was entered, the selected file, and the preview.
class OverlaySlot {
public:
    /// Starts at the given directory with no file selected and an empty,
    /// disabled preview.
    explicit OverlaySlot(const QString &directory);

    QString directory() const { return m_directory; }
    /// Enters a directory: reads its file listing and drops the selection.
    /// The preview stays as it is.
    void setDirectory(const QString &directory);
    /// Reads the current directory's listing again (keeps the selection
    /// when the selected file is still listed).
    void refresh();

    const QStringList &files() const { return m_files; }

    QString selectedFile() const { return m_selected; }
    /// Selects a listed file by name; an unlisted name or an empty one drops
    /// the selection.
    void select(const QString &name);

    /// Full path of the selected file (directory, separator, name), or an
    /// empty string when no file is selected.
    QString fullPath() const;

    /// The preview box content (94 x 94, null while nothing was shown) and
    /// whether the box takes clicks (from the first file shown on).
    const QImage &preview() const { return m_preview; }
    bool previewEnabled() const { return m_previewEnabled; }

    /// Shows the selected file in the preview. With no file selected nothing
    /// happens (returns false). The file is read completely before anything
    /// changes, so a DkError from reading leaves the preview as it was.
    bool show();

    /// Makes the selected file the current stamp: reads it from disk again,
    /// then empties the status text and sets placement mode 0. A DkError from
    /// reading (also "Cannot open file " when nothing is selected) leaves the
    /// tool state untouched.
    void use(ToolState &tool) const;

private:
    QString m_directory;
    QStringList m_files;
    QString m_selected;
    QImage m_preview;
    bool m_previewEnabled = false;
};

} // namespace overlays
