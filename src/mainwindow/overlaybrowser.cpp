#include "overlaybrowser.h"

#include "themeicons.h"
#include "toolstate.h"

#include <QComboBox>
#include <QDir>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTabWidget>

namespace {

constexpr int kIndent = 8;
constexpr int kLevelRole = Qt::UserRole + 1;
constexpr int kPathRole = Qt::UserRole;

// Draws each line of the directory list indented by its level, as the
// classic directory list does: the opened chain of folders as a staircase,
// the subdirectories one step further in.
class IndentDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override
    {
        QStyleOptionViewItem indented(option);
        indented.rect.adjust(kIndent * index.data(kLevelRole).toInt(), 0, 0, 0);
        QStyledItemDelegate::paint(painter, indented, index);
    }

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.rwidth() += kIndent * index.data(kLevelRole).toInt();
        return size;
    }
};

} // namespace

OverlayFrameShape::OverlayFrameShape(QWidget *parent) : QWidget(parent) {}

void OverlayFrameShape::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.setPen(Qt::black);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

OverlayPreviewBox::OverlayPreviewBox(QWidget *parent) : QWidget(parent)
{
    setCursor(Qt::PointingHandCursor);
    // The frame shape behind shows through where the picture does not reach.
    setAttribute(Qt::WA_TranslucentBackground);
}

void OverlayPreviewBox::setPicture(const QImage &picture)
{
    m_picture = picture;
    update();
}

void OverlayPreviewBox::paintEvent(QPaintEvent *)
{
    if (m_picture.isNull())
        return;
    QPainter painter(this);
    painter.drawImage(0, 0, m_picture);
}

void OverlayPreviewBox::mousePressEvent(QMouseEvent *event)
{
    m_pressed = event->button() == Qt::LeftButton;
}

void OverlayPreviewBox::mouseReleaseEvent(QMouseEvent *event)
{
    // A click is a left press and release on the box.
    const bool click = m_pressed && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    m_pressed = false;
    if (click)
        Q_EMIT clicked();
}

OverlayBrowser::OverlayBrowser(int number, ToolState &tool, QWidget *parent)
    : QWidget(parent), m_tool(tool), m_slot(QDir::currentPath())
{
    setObjectName(QStringLiteral("TabSheet%1").arg(number));

    m_shape = new OverlayFrameShape(this);
    m_shape->setObjectName(QStringLiteral("Shape%1").arg(number + 1));
    m_shape->setGeometry(24, 8, 94, 94);

    m_preview = new OverlayPreviewBox(this);
    m_preview->setObjectName(QStringLiteral("Image%1").arg(89 + number));
    m_preview->setGeometry(24, 8, 94, 94);
    m_preview->setEnabled(false);
    m_preview->setAccessibleName(QStringLiteral("Vorschau"));
    m_preview->setToolTip(QStringLiteral("Vorschau"));

    m_drives = new QComboBox(this);
    m_drives->setObjectName(QStringLiteral("DriveComboBox%1").arg(number));
    m_drives->setGeometry(8, 120, 129, 19);
    m_drives->setAccessibleName(QStringLiteral("Laufwerk"));

    m_dirs = new QListWidget(this);
    m_dirs->setObjectName(QStringLiteral("DirectoryListBox%1").arg(number));
    m_dirs->setGeometry(8, 152, 129, 97);
    m_dirs->setItemDelegate(new IndentDelegate(m_dirs));
    m_dirs->setSelectionMode(QAbstractItemView::SingleSelection);
    m_dirs->setAccessibleName(QStringLiteral("Ordner"));
    // Like the classic directory list: long names are cut, not scrolled.
    m_dirs->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    m_files = new QListWidget(this);
    m_files->setObjectName(QStringLiteral("FileListBox%1").arg(number));
    m_files->setGeometry(8, 261, 129, 172);
    m_files->setSelectionMode(QAbstractItemView::SingleSelection);
    m_files->setAccessibleName(QStringLiteral("Dateien"));

    setMinimumSize(8 + 129 + 4, 261 + 172 + 4);

    fillDrives();
    fillLists();

    connect(m_drives, &QComboBox::activated, this, &OverlayBrowser::driveChosen);
    connect(m_dirs, &QListWidget::itemActivated, this,
            [this](QListWidgetItem *item) { setDirectory(item->data(kPathRole).toString()); });
    // Showing and using read files, which may fail. They run queued, after
    // the mouse or key event that asked for them, so a failure leaves the
    // list and the box in a clean state and reaches the error report as an
    // event of its own.
    connect(m_files, &QListWidget::itemSelectionChanged, this, [this] {
        if (!m_filling)
            QMetaObject::invokeMethod(this, &OverlayBrowser::fileListClick, Qt::QueuedConnection);
    });
    connect(m_preview, &OverlayPreviewBox::clicked, this, &OverlayBrowser::imageClick,
            Qt::QueuedConnection);
}

void OverlayBrowser::fillDrives()
{
    m_driveList = overlays::drives();
    m_drives->clear();
    for (const overlays::Drive &drive : m_driveList) {
        m_drives->addItem(drive.label, drive.root);
        m_drives->setItemData(m_drives->count() - 1, drive.root, Qt::ToolTipRole);
    }
}

void OverlayBrowser::fillLists()
{
    m_filling = true;
    m_drives->setCurrentIndex(overlays::driveIndexFor(m_driveList, m_slot.directory()));

    m_dirs->clear();
    const QIcon open = themeicons::standardIcon(QStyle::SP_DirOpenIcon, this);
    const QIcon closed = themeicons::standardIcon(QStyle::SP_DirClosedIcon, this);
    for (const overlays::DirEntry &entry : overlays::directoryEntries(m_slot.directory())) {
        auto *item = new QListWidgetItem(entry.open ? open : closed, entry.label, m_dirs);
        item->setData(kPathRole, entry.path);
        item->setData(kLevelRole, entry.level);
        item->setToolTip(entry.path);
        if (entry.current)
            m_dirs->setCurrentItem(item);
    }

    m_files->clear();
    m_files->addItems(m_slot.files());
    for (int i = 0; i < m_files->count(); ++i) {
        if (m_files->item(i)->text() == m_slot.selectedFile())
            m_files->setCurrentRow(i);
    }
    m_filling = false;
}

void OverlayBrowser::driveChosen(int index)
{
    if (index >= 0 && index < m_driveList.size())
        setDirectory(m_driveList[index].root);
}

void OverlayBrowser::setDirectory(const QString &directory)
{
    m_slot.setDirectory(directory);
    fillLists();
}

void OverlayBrowser::selectFile(const QString &name)
{
    m_filling = true;
    const QList<QListWidgetItem *> found =
        name.isEmpty() ? QList<QListWidgetItem *>() : m_files->findItems(name, Qt::MatchExactly);
    if (found.isEmpty())
        m_files->clearSelection();
    else
        m_files->setCurrentItem(found.first());
    m_filling = false;
    fileListClick();
}

void OverlayBrowser::fileListClick()
{
    const QList<QListWidgetItem *> selected = m_files->selectedItems();
    m_slot.select(selected.isEmpty() ? QString() : selected.first()->text());
    if (!m_slot.show())
        return;
    m_preview->setPicture(m_slot.preview());
    m_preview->setEnabled(m_slot.previewEnabled());
}

void OverlayBrowser::imageClick()
{
    m_slot.use(m_tool);
}

QList<OverlayBrowser *> addOverlayBrowsers(QTabWidget *overlayTabs, ToolState &tool)
{
    QList<OverlayBrowser *> browsers;
    for (int n = 1; n <= 3; ++n) {
        auto *browser = new OverlayBrowser(n, tool, overlayTabs);
        overlayTabs->addTab(browser, QString::number(n));
        browsers.append(browser);
    }
    overlayTabs->setCurrentIndex(0);
    return browsers;
}
