#pragma once

#include "overlayslot.h"

#include <QImage>
#include <QList>
#include <QWidget>

class QComboBox;
class QListWidget;
class QTabWidget;
class ToolState;

/// The white square with a black 1-pixel frame behind a preview box.
class OverlayFrameShape : public QWidget {
    Q_OBJECT
public:
    explicit OverlayFrameShape(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};

/// The preview box of a browser: shows its 94 x 94 preview picture and
/// reports a left click. While disabled it takes no clicks.
class OverlayPreviewBox : public QWidget {
    Q_OBJECT
public:
    explicit OverlayPreviewBox(QWidget *parent = nullptr);
    void setPicture(const QImage &picture);
    const QImage &picture() const { return m_picture; }

Q_SIGNALS:
    void clicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QImage m_picture;
    bool m_pressed = false;
};

/// One own-overlay browser, the content of one tab page: a preview box over a
/// framed white square, a drive box, a directory list and a file list of the
/// BMP files of the chosen directory. Choosing a file shows it in the preview;
/// a click on the preview makes that file the current stamp.
class OverlayBrowser : public QWidget {
    Q_OBJECT
public:
    /// Browser `number` (1 to 3) names its parts after it: Shape2..4,
    /// Image90..92, DriveComboBox1..3, DirectoryListBox1..3, FileListBox1..3.
    /// It starts at the process's current directory.
    OverlayBrowser(int number, ToolState &tool, QWidget *parent = nullptr);

    const overlays::OverlaySlot &slot() const { return m_slot; }

    /// Enters a directory: the drive box, directory list and file list follow;
    /// the selection is dropped, the preview stays.
    void setDirectory(const QString &directory);
    /// Selects a file of the list by name (as a click on it would), which
    /// shows it; an empty name drops the selection.
    void selectFile(const QString &name);

    /// The file list's selection was made or changed: show the selected file.
    void fileListClick();
    /// The enabled preview was clicked: the selected file becomes the stamp.
    void imageClick();

    OverlayFrameShape *shape() const { return m_shape; }
    OverlayPreviewBox *previewBox() const { return m_preview; }
    QComboBox *driveBox() const { return m_drives; }
    QListWidget *directoryList() const { return m_dirs; }
    QListWidget *fileList() const { return m_files; }

private:
    void fillDrives();
    void fillLists();
    void driveChosen(int index);

    ToolState &m_tool;
    overlays::OverlaySlot m_slot;
    QVector<overlays::Drive> m_driveList;
    OverlayFrameShape *m_shape;
    OverlayPreviewBox *m_preview;
    QComboBox *m_drives;
    QListWidget *m_dirs;
    QListWidget *m_files;
    bool m_filling = false;
};

/// Fills the main window's right-hand tab control with three overlay
/// browsers on the tabs "1", "2" and "3", the first one shown, and returns
/// them.
QList<OverlayBrowser *> addOverlayBrowsers(QTabWidget *overlayTabs, ToolState &tool);
