#pragma once

#include "mapdocument.h"
#include "preview.h"
#include "toolstate.h"

#include <QDialog> // complete type for the QPointer members
#include <QImage>
#include <QMainWindow>
#include <QPointer>
#include <QStringList>

#include <functional>

class MapWindow;
class OffMapWatch;
class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QTabWidget;
class QToolBar;
class QToolButton;
class Palette;

/// The frame window "Dunkelkrone - Editor": the map windows live in its client
/// area; around it the monster tool bar, the palette pages at the left, the
/// own-overlay browsers at the right and the status bar with the mode text.
///
/// It owns the process's one tool state and one preview state and hands them
/// to every map window. While a map window is active, the map's "Karte" and
/// "Bearbeiten" menus take the place of the frame window's "Karte".
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    ToolState &toolState() { return m_tool; }
    PreviewState &previewState() { return m_preview; }

    /// The quest editor window, shown modally by "Quest-Editor": the function
    /// gives it, made when first asked for (not owned).
    void setQuestEditor(std::function<QDialog *()> editor) { m_questEditor = std::move(editor); }
    QDialog *questEditor() const { return m_questEditor ? m_questEditor() : nullptr; }
    /// The about box, shown modally by "Über DK-Edit...". Not owned. Mouse
    /// moves over it empty the map previews.
    void setAboutBox(QDialog *about);

    /// The palette pages "Seite 1".."Seite 4" at the left.
    QTabWidget *paletteTabs() const { return m_paletteTabs; }
    /// The own-overlay browsers at the right; hidden until "Eigenes Overlays".
    QTabWidget *overlayTabs();
    QToolBar *monsterToolBar() const { return m_toolBar; }
    /// A tool bar button by component name ("ToolButton1"), or null (the
    /// separator "ToolButton9" is no button).
    QToolButton *toolButton(const QString &component) const;
    QMdiArea *mdiArea() const { return m_mdi; }
    QLabel *statusLabel() const { return m_status; }
    QAction *overlaysAction() const { return m_overlaysAction; }

    /// The palette pages with the furniture views (in paletteTabs).
    Palette *palette() const { return m_palette; }

    /// Asked before the program ends; returning false keeps it running (the
    /// quest editor asks about its unsaved text here).
    void setQuitGuard(std::function<bool()> guard) { m_quitGuard = std::move(guard); }

    /// Opens a map file in a new window through the same path as "Öffnen...":
    /// the file is read first, so a file that cannot be read leaves no window.
    /// A file that is open already (the same file by another path, through a
    /// link, too) is not read again: its window is activated and returned.
    MapWindow *openMap(const QString &path);
    /// Opens several files at once (a drop, the command line), each as
    /// openMap() would, going on after a file that fails; then reports once
    /// what could not be opened (of several files: naming each). Throws
    /// DkError with that report.
    void openMaps(const QStringList &paths);
    /// Opens a map held in memory in a new window, captioned with `path`
    /// ("New*" when empty), as a map read from that file would be.
    MapWindow *openDocument(MapDocument document, const QString &path);

    /// The map windows in the order they were created.
    QList<MapWindow *> mapWindows() const;
    /// The active map window, or null.
    MapWindow *activeMapWindow() const;
    /// The map window whose file is the file at `path`, or null.
    MapWindow *mapWindowOf(const QString &path) const;

Q_SIGNALS:
    /// A map window was added to the client area.
    void mapWindowAdded(MapWindow *window);

public Q_SLOTS:
    /// The tool bar's tool for `mode` (the correction or the fill tool), as
    /// its button does; the map windows' popup menu runs these too.
    void chooseTool(board::Mode mode);

    /// A new map window on the default board.
    MapWindow *newFile();
    /// Asks for a map file and opens it in a new window; the window is made
    /// only after the file was read. Null when cancelled.
    MapWindow *open();
    /// "Beenden": closes the frame window, which asks about every map.
    void quit();
    /// "Eigenes Overlays": shows or hides the overlay browsers.
    void toggleOverlayBrowsers();
    /// "Quest-Editor": empties the map previews, then shows the editor modally.
    void showQuestEditor();
    /// "Nebeneinander": the map windows one above another, each full width.
    void tileWindows();
    /// "Überlappend".
    void cascadeWindows();
    /// Closes every map window from the last to the first. Stops and returns
    /// false at a window that stays open (its save failed or was cancelled).
    bool closeAllMaps();
    /// "Symbole anordnen": lines up the minimised map windows at the bottom.
    void arrangeIcons();
    /// "Über DK-Edit...": empties the map previews, then shows the about box.
    void showAbout();

    /// Shows the menus for the active child window.
    void updateMenus();

    /// Gives the frame its design size, centred on its screen, or less where
    /// the screen's available area is smaller (start-up does this).
    void fitToScreen();

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void initToolState();
    void buildToolBar();
    void buildMenus();
    MapWindow *addMapWindow(MapWindow *window);
    /// Tab goes from left to right: the tool bar, the palette, the maps in
    /// the order they were opened, the overlay browsers.
    void orderTabStops();

    ToolState m_tool;
    PreviewState m_preview;
    OffMapWatch *m_offMapWatch = nullptr;
    Palette *m_palette = nullptr;
    std::function<bool()> m_quitGuard;
    QToolBar *m_toolBar = nullptr;
    QTabWidget *m_paletteTabs = nullptr;
    QWidget *m_paletteColumn = nullptr;
    bool m_placedWithFrame = false;
    QTabWidget *m_overlayTabs = nullptr;
    bool m_overlaysBuilt = false;
    QMdiArea *m_mdi = nullptr;
    QLabel *m_status = nullptr;
    // The frame window's own menus; a map window's menus replace "Karte".
    QMenu *m_mapMenu = nullptr;
    QMenu *m_toolsMenu = nullptr;
    QMenu *m_windowMenu = nullptr;
    QMenu *m_infoMenu = nullptr;
    QAction *m_overlaysAction = nullptr;
    std::function<QDialog *()> m_questEditor;
    QPointer<QDialog> m_aboutBox;
};
