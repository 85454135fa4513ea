#include "mainwindow.h"

#include "arrowkeys.h"
#include "artwork.h"
#include "catalogue.h"
#include "commands.h"
#include "mapwindow.h"
#include "menumerge.h"
#include "offmapwatch.h"
#include "overlaybrowser.h"
#include "palette.h"
#include "raster.h"
#include "screenfit.h"

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QMenuBar>
#include <QResizeEvent>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QWindow>

namespace {

// Client size of the frame window below its menu bar.
constexpr int kClientWidth = 789;
constexpr int kClientHeight = 526;

// Tool bar glyph `index` with its pure blue pixels transparent. Missing
// artwork gives a button without glyph.
QIcon glyph(int index)
{
    const QString name = QStringLiteral("GLYPH%1").arg(index);
    if (!artwork::hasBitmap(name))
        return QIcon();
    return QIcon(QPixmap::fromImage(raster::keyOut(artwork::bitmap(name), 0)));
}

// The palette pages in a column of their own width at the frame's left. When
// the frame is too low for the tallest page, the column scrolls, and it
// widens by its scroll bar so that the pages keep their width.
class PaletteColumn : public QScrollArea {
public:
    explicit PaletteColumn(QWidget *pages)
    {
        setObjectName(QStringLiteral("PaletteColumn"));
        setFrameShape(QFrame::NoFrame);
        // Tab goes past it to the page tabs and the entries.
        setFocusPolicy(Qt::NoFocus);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        setWidgetResizable(true);
        setWidget(pages);
        updateWidth();
    }

protected:
    void resizeEvent(QResizeEvent *event) override
    {
        QScrollArea::resizeEvent(event);
        updateWidth();
    }

private:
    void updateWidth()
    {
        const bool scrolls = widget()->minimumSizeHint().height() > height();
        setFixedWidth(widget()->minimumWidth() +
                      (scrolls ? verticalScrollBar()->sizeHint().width() : 0));
    }
};

} // namespace

MainWindow::MainWindow(QWidget *parent) : QMainWindow(parent)
{
    setWindowTitle(QStringLiteral("Dunkelkrone - Editor"));

    buildToolBar();

    auto *central = new QWidget;
    auto *layout = new QHBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    m_paletteTabs = new QTabWidget;
    m_paletteTabs->setObjectName(QStringLiteral("PageControl1"));
    m_paletteTabs->setFixedWidth(217);
    for (int page = 1; page <= 4; ++page) {
        auto *sheet = new QWidget;
        sheet->setObjectName(QStringLiteral("TabSheet%1").arg(page));
        m_paletteTabs->addTab(sheet, QStringLiteral("Seite %1").arg(page));
    }
    m_paletteTabs->setCurrentIndex(0);
    // Four compact tabs fit the narrow page control without scroll arrows.
    m_paletteTabs->setStyleSheet(QStringLiteral("QTabBar::tab { padding: 3px 6px; }"));

    m_mdi = new QMdiArea;
    m_mdi->setObjectName(QStringLiteral("ClientArea"));
    m_mdi->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdi->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);

    m_overlayTabs = new QTabWidget;
    m_overlayTabs->setObjectName(QStringLiteral("PageControl2"));
    m_overlayTabs->setFixedWidth(149);
    m_overlayTabs->hide();

    m_paletteColumn = new PaletteColumn(m_paletteTabs);
    layout->addWidget(m_paletteColumn);
    layout->addWidget(m_mdi, 1);
    layout->addWidget(m_overlayTabs);
    setCentralWidget(central);

    m_status = new QLabel;
    m_status->setObjectName(QStringLiteral("StatusBar1"));
    statusBar()->setSizeGripEnabled(false);
    statusBar()->setFixedHeight(19);
    statusBar()->addWidget(m_status, 1);
    connect(&m_tool, &ToolState::statusTextChanged, m_status, &QLabel::setText);

    buildMenus();
    connect(m_mdi, &QMdiArea::subWindowActivated, this, &MainWindow::updateMenus);
    // The zoom keys reach the active map also from the palette.
    MapWindow::addZoomKeys(this, [this] { return activeMapWindow(); });

    // The frame's own surface and controls empty the map previews; the
    // status bar and the client area with the maps do not, nor do the
    // overlay browsers' drive boxes and the frames behind their previews.
    m_offMapWatch = new OffMapWatch(this, m_preview);
    m_offMapWatch->watch(m_toolBar);
    m_offMapWatch->watch(m_paletteColumn);
    initToolState();

    m_palette = new Palette(m_paletteTabs, m_tool, this);

    // BMP files dropped on the frame window open as maps.
    setAcceptDrops(true);
    m_mdi->setAcceptDrops(true);

    // The design size (the client area below the menu bar is 789 x 526),
    // centred; smaller where the screen is smaller. The user may resize and
    // maximise the frame: the client area with the maps takes the change.
    fitToScreen();
}

void MainWindow::fitToScreen()
{
    const QScreen *shownOn = screen() ? screen() : QGuiApplication::primaryScreen();
    if (!shownOn)
        return;
    const QRect frame = frameGeometry();
    const QRect client = geometry();
    const QMargins margins(client.left() - frame.left(), client.top() - frame.top(),
                           frame.right() - client.right(), frame.bottom() - client.bottom());
    const QSize design(kClientWidth, kClientHeight + menuBar()->sizeHint().height());
    const screenfit::Placement placement =
        screenfit::place(design, margins, shownOn->availableGeometry(), minimumSizeHint());
    resize(placement.clientSize);
    move(placement.framePosition);
}

void MainWindow::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    // The window manager's frame is known once the window is on screen: the
    // first exposure places the frame again if it reaches off the screen.
    if (!m_placedWithFrame && windowHandle())
        windowHandle()->installEventFilter(this);
}

MainWindow::~MainWindow()
{
    // Map windows hold references to the tool and preview state: they go first.
    const auto windows = m_mdi->subWindowList();
    for (QMdiSubWindow *window : windows)
        delete window;
}

void MainWindow::initToolState()
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
    m_tool.orientation = 1;
    m_tool.mode = board::Mode::Interior;
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
    // Tab reaches each button, the arrow keys move along the bar, Space
    // presses the button with the focus.
    auto *arrowKeys = new ArrowKeys(m_toolBar);

    for (const palette::ToolButton &row : palette::toolBar()) {
        if (row.kind == palette::ToolButton::Kind::Separator) {
            auto *separator = new QWidget;
            separator->setObjectName(row.component);
            separator->setFixedWidth(8);
            m_toolBar->addWidget(separator);
            continue;
        }
        auto *button = new QToolButton;
        button->setObjectName(row.component);
        button->setFixedSize(39, 38);
        button->setIconSize(QSize(32, 32));
        button->setAutoRaise(true);
        button->setToolButtonStyle(Qt::ToolButtonIconOnly);
        button->setToolTip(row.hint);
        button->setAccessibleName(row.hint);
        const QIcon icon = glyph(row.glyph);
        if (icon.isNull())
            button->setText(row.hint.left(3));
        else
            button->setIcon(icon);
        // Queued like the menu commands: a stamp whose artwork is missing
        // ends in the error report, not inside the button's own code.
        connect(
            button, &QToolButton::clicked, this,
            [this, &row] { palette::pressToolButton(m_tool, row); }, Qt::QueuedConnection);
        m_toolBar->addWidget(button);
        button->setFocusPolicy(Qt::TabFocus);
        arrowKeys->add(button, m_toolBar);
    }
}

QToolButton *MainWindow::toolButton(const QString &component) const
{
    return m_toolBar->findChild<QToolButton *>(component);
}

void MainWindow::buildMenus()
{
    auto command = [this](QMenu *menu, const char *name, const QString &text, auto slot,
                          const QKeySequence &key = QKeySequence()) {
        return addCommand(menu, name, text, this, slot, key);
    };

    m_mapMenu = new QMenu(QStringLiteral("&Karte"), this);
    m_mapMenu->setObjectName(QStringLiteral("Karte1"));
    command(m_mapMenu, "Neu1", QStringLiteral("&Neu"), &MainWindow::newFile,
            QKeySequence(Qt::CTRL | Qt::Key_N));
    command(m_mapMenu, "ffnen1", QStringLiteral("Ö&ffnen..."), &MainWindow::open,
            QKeySequence(Qt::CTRL | Qt::Key_O));
    m_mapMenu->addSeparator();
    command(m_mapMenu, "Beenden1", QStringLiteral("&Beenden"), &MainWindow::quit,
            QKeySequence(Qt::CTRL | Qt::Key_Q));

    m_toolsMenu = new QMenu(QStringLiteral("&Werkzeuge"), this);
    m_toolsMenu->setObjectName(QStringLiteral("Werkzeuge1"));
    m_overlaysAction = m_toolsMenu->addAction(QStringLiteral("&Eigenes Overlays"));
    m_overlaysAction->setObjectName(QStringLiteral("Benutzen1"));
    m_overlaysAction->setCheckable(true);
    // The check mark and the browsers' visibility go together.
    connect(m_overlaysAction, &QAction::toggled, this,
            [this](bool shown) { overlayTabs()->setVisible(shown); });
    command(m_toolsMenu, "QuestEditor1", QStringLiteral("&Quest-Editor"),
            &MainWindow::showQuestEditor);

    m_windowMenu = new QMenu(QStringLiteral("&Fenster"), this);
    m_windowMenu->setObjectName(QStringLiteral("Fenster1"));
    command(m_windowMenu, "Nebeneinander1", QStringLiteral("&Nebeneinander"),
            &MainWindow::tileWindows);
    command(m_windowMenu, "berlappend1", QStringLiteral("Ü&berlappend"),
            &MainWindow::cascadeWindows);
    command(m_windowMenu, "AlleFensterschlieen1", QStringLiteral("&Alle schließen"),
            &MainWindow::closeAllMaps);
    m_windowMenu->addSeparator();
    command(m_windowMenu, "Symboleanordnen1", QStringLiteral("&Symbole anordnen"),
            &MainWindow::arrangeIcons);

    m_infoMenu = new QMenu(QStringLiteral("&Info"), this);
    m_infoMenu->setObjectName(QStringLiteral("Info1"));
    command(m_infoMenu, "berDKEdit1", QStringLiteral("Ü&ber DK-Edit..."), &MainWindow::showAbout);

    updateMenus();
}

void MainWindow::updateMenus()
{
    using Entry = menumerge::Entry<QMenu>;
    const QList<Entry> frame = {
        {m_mapMenu, 0}, {m_toolsMenu, 3}, {m_windowMenu, 3}, {m_infoMenu, 4}};
    QList<Entry> child;
    if (MapWindow *map = activeMapWindow())
        child = {{map->mapMenu(), 0}, {map->editMenu(), 1}};
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

QTabWidget *MainWindow::overlayTabs()
{
    // Hidden at the start: their folders and drives are read when the
    // browsers are first shown (or asked for), not before the first frame.
    if (!m_overlaysBuilt) {
        m_overlaysBuilt = true;
        const QList<OverlayBrowser *> browsers = addOverlayBrowsers(m_overlayTabs, m_tool);
        m_offMapWatch->watch(m_overlayTabs);
        for (OverlayBrowser *browser : browsers) {
            m_offMapWatch->exclude(browser->driveBox());
            m_offMapWatch->exclude(browser->shape());
        }
        orderTabStops();
    }
    return m_overlayTabs;
}

void MainWindow::chooseTool(board::Mode mode)
{
    palette::chooseTool(m_tool, mode);
}

void MainWindow::quit()
{
    close();
}

void MainWindow::toggleOverlayBrowsers()
{
    m_overlaysAction->toggle();
}

void MainWindow::showQuestEditor()
{
    m_preview.offMap = true;
    if (QDialog *editor = questEditor())
        editor->exec();
}

void MainWindow::showAbout()
{
    m_preview.offMap = true;
    if (m_aboutBox)
        m_aboutBox->exec();
}

void MainWindow::setAboutBox(QDialog *about)
{
    m_aboutBox = about;
    m_offMapWatch->watch(about);
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == windowHandle()) {
        if (event->type() == QEvent::Expose && !m_placedWithFrame && isVisible()) {
            m_placedWithFrame = true;
            windowHandle()->removeEventFilter(this);
            const QScreen *shownOn = screen();
            if (shownOn && !shownOn->availableGeometry().contains(frameGeometry()) &&
                !isMaximized() && !isFullScreen())
                fitToScreen();
        }
    }
    return QMainWindow::eventFilter(watched, event);
}
