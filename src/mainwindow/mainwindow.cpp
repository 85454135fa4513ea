#include "mainwindow.h"

#include "commands.h"

#include "catalogue.h"
#include "overlaybrowser.h"
#include "palette.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

#include "artwork.h"
#include "dialogs.h"
#include "errors.h"
#include "mapwindow.h"
#include "menumerge.h"
#include "raster.h"

#include <QAction>
#include <QBitmap>
#include <QCloseEvent>
#include <QDialog>
#include <QFile>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>

const QStringList MainWindow::kMonsterStamps = {
    QStringLiteral("GOBLIN"), QStringLiteral("ORK"),   QStringLiteral("SUMPFLING"),
    QStringLiteral("SKELETT"), QStringLiteral("ZOMBIE"), QStringLiteral("MUMIE"),
    QStringLiteral("CHAOSKRIEGER"), QStringLiteral("GARGOYLE"),
};

const QStringList MainWindow::kButtonHints = {
    QStringLiteral("Goblin"),  QStringLiteral("Ork"),   QStringLiteral("Sumpfling"),
    QStringLiteral("Skelett"), QStringLiteral("Zombie"), QStringLiteral("Mumie"),
    QStringLiteral("Chaos-Krieger"), QStringLiteral("Gargoyle"),
    QStringLiteral("Korrektur-Modus"), QStringLiteral("Füllmodus"),
};

namespace {

// Client size of the frame window below its menu bar.
constexpr int kClientWidth = 789;
constexpr int kClientHeight = 526;

// Tool bar glyph `index` with its pure blue pixels transparent. Missing
// artwork gives a button without glyph.
QIcon glyph(int index)
{
    const QString name = QStringLiteral("GLYPH%1").arg(index);
    QImage image;
    if (artwork::hasBitmap(name)) {
        image = artwork::bitmap(name);
    } else {
        const QString png = QStringLiteral(":/artwork/glyphs/%1.png").arg(name);
        if (QFile::exists(png))
            image.load(png);
    }
    if (image.isNull())
        return QIcon();
    image = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if ((line[x] | 0xff000000u) == raster::kTransparent)
                line[x] = 0;
    }
    return QIcon(QPixmap::fromImage(image));
}

} // namespace

MainWindow::MainWindow(QWidget *parent) : QMainWindow(parent)
{
    setWindowTitle(QStringLiteral("Dunkelkrone - Editor"));

    buildToolBar();

    auto *central = new QWidget;
    auto *layout = new QHBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    m_pageControl1 = new QTabWidget;
    m_pageControl1->setObjectName(QStringLiteral("PageControl1"));
    m_pageControl1->setFixedWidth(217);
    for (int page = 1; page <= 4; ++page) {
        auto *sheet = new QWidget;
        sheet->setObjectName(QStringLiteral("TabSheet%1").arg(page));
        m_pageControl1->addTab(sheet, QStringLiteral("Seite %1").arg(page));
    }
    m_pageControl1->setCurrentIndex(0);
    // Four compact tabs fit the narrow page control without scroll arrows.
    m_pageControl1->setStyleSheet(QStringLiteral("QTabBar::tab { padding: 3px 6px; }"));

    m_mdi = new QMdiArea;
    m_mdi->setObjectName(QStringLiteral("ClientArea"));
    m_mdi->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdi->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);

    m_pageControl2 = new QTabWidget;
    m_pageControl2->setObjectName(QStringLiteral("PageControl2"));
    m_pageControl2->setFixedWidth(149);
    m_pageControl2->hide();

    layout->addWidget(m_pageControl1);
    layout->addWidget(m_mdi, 1);
    layout->addWidget(m_pageControl2);
    setCentralWidget(central);

    m_status = new QLabel;
    m_status->setObjectName(QStringLiteral("StatusBar1"));
    statusBar()->setSizeGripEnabled(false);
    statusBar()->setFixedHeight(19);
    statusBar()->addWidget(m_status, 1);
    connect(&m_tool, &ToolState::statusTextChanged, m_status, &QLabel::setText);

    buildMenus();
    connect(m_mdi, &QMdiArea::subWindowActivated, this, &MainWindow::updateMenus);

    // The frame's own surface and controls empty the map previews; the
    // status bar and the client area with the maps do not.
    setMouseTracking(true);
    installEventFilter(this);
    attachOffMapFilter(m_toolBar);
    attachOffMapFilter(m_pageControl1);
    FormCreate();

    m_palette = new Palette(m_pageControl1, m_tool, this);
    addOverlayBrowsers(m_pageControl2, m_tool, [this] { m_preview.offMap = true; });
    attachOffMapFilter(m_pageControl1);
    attachOffMapFilter(m_pageControl2);

    // BMP files dropped on the frame window open as maps.
    setAcceptDrops(true);
    m_mdi->setAcceptDrops(true);

    // Fixed size: the client area below the menu bar is 789 x 526.
    setFixedSize(kClientWidth, kClientHeight + menuBar()->sizeHint().height());
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

MainWindow::~MainWindow()
{
    // Map windows hold references to the tool and preview state: they go first.
    const auto windows = m_mdi->subWindowList();
    for (QMdiSubWindow *window : windows)
        delete window;
}

void MainWindow::FormCreate()
{
    if (artwork::hasBitmap(QStringLiteral("GOBLIN"))) {
        m_tool.stamp = artwork::bitmap(QStringLiteral("GOBLIN"));
    } else {
        // Without its artwork the goblin is a stamp that draws nothing.
        m_tool.stamp = QImage(30, 30, QImage::Format_RGB32);
        m_tool.stamp.fill(raster::kTransparent);
    }
    // The palette shows "ALTAR1" in the view picture from its start.
    // The map overlays load their cursors ("EMPTYCURSOR", "CROSS") from the
    // artwork themselves when the mode calls for them.
    m_tool.furnitureKind = 0;
    m_tool.view = 1;
    m_tool.mode = ToolState::Square;
    m_tool.setStatusText(QString());
    m_preview.offMap = true;
}

void MainWindow::buildToolBar()
{
    m_toolBar = new QToolBar(QStringLiteral("ToolBar1"));
    m_toolBar->setObjectName(QStringLiteral("ToolBar1"));
    m_toolBar->setMovable(false);
    m_toolBar->setFloatable(false);
    m_toolBar->setFixedHeight(41);
    m_toolBar->setIconSize(QSize(32, 32));
    m_toolBar->setContextMenuPolicy(Qt::PreventContextMenu);
    addToolBar(Qt::TopToolBarArea, m_toolBar);

    for (int number = 1; number <= 11; ++number) {
        if (number == 9) {
            auto *separator = new QWidget;
            separator->setObjectName(QStringLiteral("ToolButton9"));
            separator->setFixedWidth(8);
            m_toolBar->addWidget(separator);
            m_buttons.append(nullptr);
            continue;
        }
        const int index = number < 9 ? number - 1 : number - 2;
        auto *button = new QToolButton;
        button->setObjectName(QStringLiteral("ToolButton%1").arg(number));
        button->setFixedSize(39, 38);
        button->setIconSize(QSize(32, 32));
        button->setAutoRaise(true);
        button->setToolButtonStyle(Qt::ToolButtonIconOnly);
        button->setToolTip(kButtonHints[index]);
        const QIcon icon = glyph(index);
        if (icon.isNull())
            button->setText(kButtonHints[index].left(3));
        else
            button->setIcon(icon);
        // Queued like the menu commands: a stamp whose artwork is missing
        // ends in the error report, not inside the button's own code.
        connect(button, &QToolButton::clicked, this, [this, number] { toolButtonClick(number); },
                Qt::QueuedConnection);
        m_toolBar->addWidget(button);
        m_buttons.append(button);
    }
}

QToolButton *MainWindow::toolButton(int number) const
{
    if (number < 1 || number > m_buttons.size())
        return nullptr;
    return m_buttons[number - 1];
}

void MainWindow::buildMenus()
{
    auto command = [this](QMenu *menu, const QString &text, auto slot,
                          const QKeySequence &key = QKeySequence()) {
        return addCommand(menu, text, this, slot, key);
    };

    m_karte = new QMenu(QStringLiteral("Karte"), this);
    command(m_karte, QStringLiteral("Neu"), &MainWindow::Neu1Click, QKeySequence(Qt::CTRL | Qt::Key_N));
    command(m_karte, QStringLiteral("Öffnen..."), &MainWindow::ffnen1Click, QKeySequence(Qt::CTRL | Qt::Key_O));
    m_karte->addSeparator();
    command(m_karte, QStringLiteral("Beenden"), &MainWindow::Beenden1Click, QKeySequence(Qt::CTRL | Qt::Key_Q));

    m_werkzeuge = new QMenu(QStringLiteral("Werkzeuge"), this);
    m_overlaysAction = m_werkzeuge->addAction(QStringLiteral("Eigenes Overlays"));
    m_overlaysAction->setCheckable(true);
    // The check mark and the browsers' visibility go together.
    connect(m_overlaysAction, &QAction::toggled, m_pageControl2, &QWidget::setVisible);
    command(m_werkzeuge, QStringLiteral("Quest-Editor"), &MainWindow::QuestEditor1Click);

    m_fenster = new QMenu(QStringLiteral("Fenster"), this);
    command(m_fenster, QStringLiteral("Nebeneinander"), &MainWindow::Nebeneinander1Click);
    command(m_fenster, QStringLiteral("Überlappend"), &MainWindow::berlappend1Click);
    command(m_fenster, QStringLiteral("Alle schließen"), &MainWindow::AlleFensterschlieen1Click);
    m_fenster->addSeparator();
    command(m_fenster, QStringLiteral("Symbole anordnen"), &MainWindow::Symboleanordnen1Click);

    m_info = new QMenu(QStringLiteral("Info"), this);
    command(m_info, QStringLiteral("Über DK-Edit..."), &MainWindow::berDKEdit1Click);

    updateMenus();
}

void MainWindow::updateMenus()
{
    using Entry = menumerge::Entry<QMenu>;
    const QList<Entry> frame = {{m_karte, 0}, {m_werkzeuge, 3}, {m_fenster, 3}, {m_info, 4}};
    QList<Entry> child;
    if (MapWindow *map = activeMapWindow())
        child = {{map->karteMenu(), 0}, {map->bearbeitenMenu(), 1}};
    const QList<QMenu *> menus = menumerge::merge(frame, child);

    QList<QAction *> wanted;
    for (QMenu *menu : menus)
        wanted.append(menu->menuAction());
    QMenuBar *bar = menuBar();
    if (bar->actions() == wanted)
        return;
    const auto shown = bar->actions();
    for (QAction *action : shown)
        bar->removeAction(action);
    bar->addActions(wanted);
}

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

void MainWindow::toolButtonClick(int number)
{
    if (number == 10)
        palette::correctionTool(m_tool);
    else if (number == 11)
        palette::fillTool(m_tool);
    else if (const auto *entry = palette::findStampEntry(QStringLiteral("ToolButton%1").arg(number)))
        palette::applyStampEntry(m_tool, *entry);
}

MapWindow *MainWindow::addMapWindow(MapWindow *window)
{
    m_mdi->addSubWindow(window);
    connect(window, &MapWindow::newRequested, this, &MainWindow::Neu1Click);
    connect(window, &MapWindow::openRequested, this, &MainWindow::ffnen1Click);
    connect(window, &MapWindow::quitRequested, this, &MainWindow::Beenden1Click);
    connect(window, &MapWindow::correctionModeRequested, this, &MainWindow::ToolButton10Click);
    connect(window, &MapWindow::fillModeRequested, this, &MainWindow::ToolButton11Click);
    // When the last map goes, no child may be activated to tell us.
    connect(window, &QObject::destroyed, this, &MainWindow::updateMenus, Qt::QueuedConnection);
    // New windows keep their design size where the client area allows and
    // cascade from the top-left corner, one step per window, four steps deep.
    const int step = 24;
    const int depth = 4;
    const QSize area = m_mdi->viewport()->size();
    window->resize(window->size().boundedTo(area - QSize((depth - 1) * step, (depth - 1) * step))
                       .expandedTo(QSize(160, 120)));
    const int n = int(m_mdi->subWindowList().size()) - 1;
    window->move((n % depth) * step, (n % depth) * step);
    window->show();
    m_mdi->setActiveSubWindow(window);
    updateMenus();
    return window;
}

MapWindow *MainWindow::Neu1Click()
{
    return addMapWindow(new MapWindow(m_tool, m_preview));
}

MapWindow *MainWindow::ffnen1Click()
{
    const QString path = dialogs().openFile(this, QStringLiteral("Öffnen"), mapfiles::kOpenFilter);
    if (path.isEmpty())
        return nullptr;
    return openMap(path);
}

MapWindow *MainWindow::openMap(const QString &path)
{
    // Read first: a file that cannot be read leaves no window behind.
    int bits = 0;
    const QImage picture = mapfiles::readMap(path, &bits);
    return addMapWindow(new MapWindow(m_tool, m_preview, picture, path, bits));
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
            paths << url.toLocalFile();
    if (paths.isEmpty())
        return;
    event->acceptProposedAction();
    // One event after the drop, so that what fails reaches the error report.
    QMetaObject::invokeMethod(this, [this, paths] { openDroppedMaps(paths); }, Qt::QueuedConnection);
}

void MainWindow::openDroppedMaps(const QStringList &paths)
{
    QList<mapfiles::Failure> failures;
    for (const QString &path : paths) {
        try {
            openMap(path);
        } catch (const DkError &error) {
            failures.append({path, error.text()});
        }
    }
    if (!failures.isEmpty())
        throw DkError(mapfiles::openFailures(failures, int(paths.size())));
}

void MainWindow::Beenden1Click()
{
    close();
}

void MainWindow::Benutzen1Click()
{
    m_overlaysAction->toggle();
}

void MainWindow::QuestEditor1Click()
{
    m_preview.offMap = true;
    if (m_questEditor)
        m_questEditor->exec();
}

void MainWindow::Nebeneinander1Click()
{
    m_mdi->tileSubWindows();
}

void MainWindow::berlappend1Click()
{
    m_mdi->cascadeSubWindows();
}

bool MainWindow::AlleFensterschlieen1Click()
{
    const QList<MapWindow *> maps = mapWindows();
    for (int i = int(maps.size()) - 1; i >= 0; --i) {
        if (!maps[i]->close())
            return false;
    }
    return true;
}

void MainWindow::Symboleanordnen1Click()
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

void MainWindow::berDKEdit1Click()
{
    m_preview.offMap = true;
    if (m_aboutBox)
        m_aboutBox->exec();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // Unsaved quest text is asked about first: a refusal there keeps every
    // map open as well.
    if ((m_quitGuard && !m_quitGuard()) || !AlleFensterschlieen1Click()) {
        event->ignore();
        return;
    }
    event->accept();
}

void MainWindow::attachOffMapFilter(QWidget *widget)
{
    if (!widget)
        return;
    widget->setMouseTracking(true);
    widget->installEventFilter(this);
    const auto children = widget->findChildren<QWidget *>();
    for (QWidget *child : children) {
        child->setMouseTracking(true);
        child->installEventFilter(this);
    }
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseMove:
        m_preview.offMap = true;
        break;
    case QEvent::ChildAdded:
        // Controls added later to a watched control (palette entries, overlay
        // browsers) report their mouse moves too.
        if (watched != this) {
            QObject *child = static_cast<QChildEvent *>(event)->child();
            if (child->isWidgetType())
                attachOffMapFilter(static_cast<QWidget *>(child));
        }
        break;
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}
