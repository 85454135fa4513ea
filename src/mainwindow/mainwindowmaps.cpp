// The frame window's commands on its map windows: new, open and dropped
// maps, tiling, cascading, arranging icons and closing them all.
#include "mainwindow.h"

#include "dialogs.h"
#include "errors.h"
#include "filenames.h"
#include "mapfile.h"
#include "mapwindow.h"
#include "palette.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMdiArea>
#include <QMimeData>
#include <QTabBar>
#include <QTabWidget>
#include <QUrl>

QList<MapWindow *> MainWindow::mapWindows() const
{
    QList<MapWindow *> maps;
    const auto windows = m_mdi->subWindowList(QMdiArea::CreationOrder);
    for (QMdiSubWindow *window : windows)
        if (auto *map = qobject_cast<MapWindow *>(window))
            maps.append(map);
    return maps;
}

MapWindow *MainWindow::activeMapWindow() const
{
    // The current child stays current while another top-level window (a
    // dialog) is active, so its menus stay in the menu bar meanwhile.
    QMdiSubWindow *current = m_mdi->currentSubWindow();
    if (!current || !m_mdi->subWindowList().contains(current))
        return nullptr;
    return qobject_cast<MapWindow *>(current);
}

MapWindow *MainWindow::addMapWindow(MapWindow *window)
{
    m_mdi->addSubWindow(window);
    connect(window, &MapWindow::newRequested, this, &MainWindow::newFile);
    connect(window, &MapWindow::openRequested, this, &MainWindow::open);
    connect(window, &MapWindow::quitRequested, this, &MainWindow::quit);
    connect(window, &MapWindow::correctionModeRequested, this,
            [this] { chooseTool(board::Mode::Restore); });
    connect(window, &MapWindow::fillModeRequested, this, [this] { chooseTool(board::Mode::Fill); });
    // When the last map goes, no child may be activated to tell us.
    connect(window, &QObject::destroyed, this, &MainWindow::updateMenus, Qt::QueuedConnection);
    // New windows keep their design size where the client area allows and
    // cascade from the top-left corner, one step per window, four steps deep.
    const int step = 24;
    const int depth = 4;
    const QSize area = m_mdi->viewport()->size();
    window->resize(window->size()
                       .boundedTo(area - QSize((depth - 1) * step, (depth - 1) * step))
                       .expandedTo(QSize(160, 120)));
    const int n = int(m_mdi->subWindowList().size()) - 1;
    window->move((n % depth) * step, (n % depth) * step);
    window->show();
    m_mdi->setActiveSubWindow(window);
    updateMenus();
    orderTabStops();
    Q_EMIT mapWindowAdded(window);
    return window;
}

void MainWindow::orderTabStops()
{
    QWidget *previous = m_palette ? m_palette->lastTabStop() : nullptr;
    if (!previous)
        return;
    const auto chain = [&previous](QWidget *next) {
        QWidget::setTabOrder(previous, next);
        previous = next;
    };
    const QList<QMdiSubWindow *> windows = m_mdi->subWindowList(QMdiArea::CreationOrder);
    for (QMdiSubWindow *window : windows)
        if (auto *map = qobject_cast<MapWindow *>(window))
            chain(map->canvas());
    if (!m_overlaysBuilt)
        return;
    chain(m_overlayTabs->tabBar());
    const QList<QWidget *> controls = m_overlayTabs->findChildren<QWidget *>();
    for (QWidget *control : controls)
        if (control != m_overlayTabs->tabBar() && (control->focusPolicy() & Qt::TabFocus))
            chain(control);
}

MapWindow *MainWindow::newFile()
{
    return addMapWindow(new MapWindow(m_tool, m_preview));
}

MapWindow *MainWindow::open()
{
    // The dialog starts beside the active map's file.
    const MapWindow *active = activeMapWindow();
    const QString path =
        askOpenFile(this, FileKind::Map, QStringLiteral("Öffnen"), mapfile::kOpenFilter,
                    active && !active->isNew() ? active->filePath() : QString());
    if (path.isEmpty())
        return nullptr;
    return openMap(path);
}

MapWindow *MainWindow::mapWindowOf(const QString &path) const
{
    const QString file = filenames::canonical(path);
    if (file.isEmpty())
        return nullptr;
    const QList<MapWindow *> maps = mapWindows();
    for (MapWindow *map : maps)
        if (!map->isNew() && filenames::canonical(map->filePath()) == file)
            return map;
    return nullptr;
}

MapWindow *MainWindow::openMap(const QString &path)
{
    // One window per file: a second window on it would write back its old
    // picture over what the first one saved.
    if (MapWindow *open = mapWindowOf(path)) {
        if (open->isMinimized())
            open->showNormal();
        m_mdi->setActiveSubWindow(open);
        updateMenus();
        return open;
    }
    // Read first: a file that cannot be read leaves no window behind.
    mapfile::Format format;
    QImage picture = mapfile::read(path, &format);
    // Handed over, not copied: a large map is held once.
    return openDocument(MapDocument(std::move(picture), format), path);
}

MapWindow *MainWindow::openDocument(MapDocument document, const QString &path)
{
    return addMapWindow(new MapWindow(m_tool, m_preview, std::move(document), path));
}

void MainWindow::dragEnterEvent(QDragEnterEvent *event)
{
    const auto urls = event->mimeData()->urls();
    for (const QUrl &url : urls)
        if (url.isLocalFile()) {
            event->acceptProposedAction();
            return;
        }
}

void MainWindow::dropEvent(QDropEvent *event)
{
    QStringList paths;
    const auto urls = event->mimeData()->urls();
    for (const QUrl &url : urls)
        if (url.isLocalFile())
            paths << filenames::localFile(url);
    if (paths.isEmpty())
        return;
    event->acceptProposedAction();
    // One event after the drop, so that what fails reaches the error report.
    QMetaObject::invokeMethod(
        this, [this, paths] { openMaps(paths); }, Qt::QueuedConnection);
}

void MainWindow::openMaps(const QStringList &paths)
{
    QList<mapfile::Failure> failures;
    for (const QString &path : paths) {
        try {
            openMap(path);
        } catch (const DkError &error) {
            failures.append({path, error.text()});
        }
    }
    if (!failures.isEmpty())
        throw DkError(mapfile::openFailures(failures, int(paths.size())));
}

void MainWindow::tileWindows()
{
    // Horizontal tiling: the map windows one above another, each as wide as
    // the client area, the active one on top. Minimised windows stay where
    // they are, and the row their icons take at the bottom stays free.
    QList<QMdiSubWindow *> tiled;
    int iconRow = 0;
    const auto windows = m_mdi->subWindowList(QMdiArea::StackingOrder);
    for (auto it = windows.crbegin(); it != windows.crend(); ++it) {
        QMdiSubWindow *window = *it;
        if (window->isHidden())
            continue;
        if (window->isMinimized())
            iconRow = qMax(iconRow, window->height());
        else
            tiled.append(window);
    }
    if (tiled.isEmpty())
        return;
    // The whole client area: once tiled, no window needs a scroll bar.
    const QSize area = m_mdi->maximumViewportSize() - QSize(0, iconRow);
    const int count = int(tiled.size());
    for (int i = 0; i < count; ++i) {
        QMdiSubWindow *window = tiled[i];
        if (window->isMaximized())
            window->showNormal();
        const int top = area.height() * i / count;
        const int bottom = area.height() * (i + 1) / count;
        window->setGeometry(0, top, area.width(), bottom - top);
    }
}

void MainWindow::cascadeWindows()
{
    m_mdi->cascadeSubWindows();
}

bool MainWindow::closeAllMaps()
{
    const QList<MapWindow *> maps = mapWindows();
    for (int i = int(maps.size()) - 1; i >= 0; --i) {
        if (!maps[i]->close())
            return false;
    }
    return true;
}

void MainWindow::arrangeIcons()
{
    // Minimised windows line up from the bottom-left corner of the client
    // area, row above row.
    const QSize area = m_mdi->viewport()->size();
    int x = 0;
    int bottom = area.height();
    const auto windows = m_mdi->subWindowList(QMdiArea::CreationOrder);
    for (QMdiSubWindow *window : windows) {
        if (!window->isMinimized())
            continue;
        const QSize size = window->size();
        if (x > 0 && x + size.width() > area.width()) {
            x = 0;
            bottom -= size.height();
        }
        window->move(x, bottom - size.height());
        x += size.width();
    }
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // Unsaved quest text is asked about first: a refusal there keeps every
    // map open as well.
    if ((m_quitGuard && !m_quitGuard()) || !closeAllMaps()) {
        event->ignore();
        return;
    }
    event->accept();
}
