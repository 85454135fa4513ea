// Companion of e2e.sh, the test that drives the real dkedit binary from
// outside with xdotool. One table of steps serves both sides:
//
//   e2e_helper clicks
//       Runs on the same X display as the program: builds the main window as
//       the program does, opens a new map and prints every step as
//       "click <name> <x> <y>" with x and y relative to the main window's
//       top-left corner, so the script can click the real window there.
//   e2e_helper compare <saved.bmp>
//       Builds the expected map without any window: a MapDocument and a tool
//       state changed by the palette's own operations, the same map clicks.
//       Compares it pixel by pixel with the file the program saved.
//   e2e_helper screen <saved.bmp> <grab.png>
//       Compares a screen grab of the reopened map's top-left part (from the
//       position printed as "click canvas") with the saved file.
//   e2e_helper zoom
//       Runs on the program's display too: opens a new map and goes through
//       the zoom steps the script presses keys for, printing for each
//       "stage <keys> <x> <y> <px> <py> <bx> <by>": the keys, where to click
//       (on the first screen pixel of a square, relative to the main window),
//       the picture pixel that click must hit, and a point of the window
//       that shows the board's black lines at this zoom but white at the one
//       before (the script waits for it).
//   e2e_helper zoomcompare <saved.bmp> <px> <py>...
//       The saved map against a new map with the goblin stamped by clicks at
//       the given picture pixels, as at 100 %.
//   e2e_helper phantom
//       Runs on the program's display too: prints, relative to the main
//       window, where the part on phantom pieces points the mouse ("<name>
//       <x> <y>"): the goblin button, the square to stamp, the square to rest
//       on and a pixel of its ghost, the frame's empty background, and for a
//       second new map the same ghost pixel, a pixel of its black frame, a
//       square to rest on and a pixel of that ghost.
//   e2e_helper board <map.bmp> <STAMP> <px> <py>...
//       Writes a new map with each stamp (a resource name) placed as a click
//       at the picture pixel places it at 100 %.
//   e2e_helper stamps <saved.bmp> <STAMP> <px> <py>...
//       Compares the saved map pixel by pixel with such a map.
//   e2e_helper names
//       Prints the name that assistive technology should read for every tool
//       bar button and palette entry, one a line (atspi.sh checks them).
//
// Exit codes: 0 ok, 1 mismatch or failure.

#include "artwork.h"
#include "bmpcodec.h"
#include "catalogue.h"
#include "errors.h"
#include "geometry.h"
#include "mainwindow.h"
#include "mapdocument.h"
#include "mapwindow.h"
#include "palette.h"
#include "raster.h"
#include "toolstate.h"
#include "zoom.h"

#include <QApplication>
#include <QMdiArea>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTextStream>
#include <QToolButton>

#include <cstdio>
#include <vector>

namespace {

/// One step of the session: a control to click (a palette component, a tab
/// "tab:N"), or a click on the map at a board picture position.
struct Step {
    const char *control; ///< "ToolButton1", "tab:2", "Image19", "BitBtn1", or "map"
    int x = 0;           ///< map position for "map"
    int y = 0;
};

constexpr int centre(int square)
{
    return 24 + 32 * square + 16;
}
constexpr int leftLine(int square)
{
    return 24 + 32 * square + 2;
}

// A goblin, an ork, a door in the wall of the top-left room, the altar and a
// filled square; the map clicks stay in the part of the board the new map
// window shows without scrolling.
const std::vector<Step> kSteps = {
    {"ToolButton1"}, // goblin, mode 0
    {"map", centre(1), centre(1)},
    {"ToolButton2"}, // ork
    {"map", centre(2), centre(1)},
    {"map", centre(6), centre(5)},
    {"tab:2"},   // "Seite 2"
    {"Image19"}, // the first door, mode 2
    {"map", leftLine(5), centre(2)},
    {"tab:1"},   // "Seite 1"
    {"BitBtn1"}, // "Übernehmen": ALTAR1, mode 0
    {"map", centre(1), centre(3)},
    {"ToolButton11"}, // fill tool, mode 6
    {"map", centre(3), centre(1)},
    {"map", centre(8), centre(7)},
};

// The top-left part of the map that holds every step's result.
const QSize kGrab(330, 300);

int fail(const QString &text)
{
    std::fprintf(stderr, "e2e_helper: %s\n", qPrintable(text));
    return 1;
}

int printClicks()
{
    MainWindow window;
    window.show();
    MapWindow *map = window.newFile();
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();

    QTextStream out(stdout);
    QWidget *canvas = map->canvas();
    auto put = [&](const char *name, QWidget *widget, QPoint local) {
        const QPoint p = widget->mapTo(&window, local);
        out << "click " << name << ' ' << p.x() << ' ' << p.y() << '\n';
    };
    for (const Step &step : kSteps) {
        const QString control = QString::fromLatin1(step.control);
        if (control == QLatin1String("map")) {
            const QPoint at(step.x, step.y);
            // The click must land on the map itself, not behind the window's edge.
            const QPoint inArea = canvas->mapTo(window.mdiArea()->viewport(), at);
            if (!window.mdiArea()->viewport()->rect().contains(inArea) ||
                !map->widget()->rect().contains(canvas->mapTo(map->widget(), at)))
                return fail(
                    QStringLiteral("map position %1,%2 is not visible").arg(step.x).arg(step.y));
            put("map", canvas, at);
        } else if (control.startsWith(QLatin1String("tab:"))) {
            QTabBar *bar = window.paletteTabs()->tabBar();
            const int index = control.mid(4).toInt() - 1;
            put(step.control, bar, bar->tabRect(index).center());
        } else if (control.startsWith(QLatin1String("ToolButton"))) {
            QToolButton *button = window.toolButton(control);
            if (!button)
                return fail(QStringLiteral("no %1").arg(control));
            put(step.control, button, button->rect().center());
        } else {
            // Palette controls live on their page; show it to read the position.
            const palette::StampEntry *entry = palette::findStampEntry(control);
            window.paletteTabs()->setCurrentIndex(entry ? entry->page - 1 : 0);
            QCoreApplication::processEvents();
            QWidget *widget = window.palette()->widget(control);
            if (!widget)
                return fail(QStringLiteral("no %1").arg(control));
            put(step.control, widget, widget->rect().center());
        }
    }
    // The part of the map the script grabs from the screen after reopening.
    const QRect grab(0, 0, kGrab.width(), kGrab.height());
    if (!map->widget()->rect().contains(
            QRect(canvas->mapTo(map->widget(), grab.topLeft()), grab.size())))
        return fail(QStringLiteral("the grabbed part of the map is not visible"));
    put("canvas", canvas, QPoint(0, 0));
    out.flush();
    return 0;
}

int printPhantomPoints()
{
    MainWindow window;
    window.show();
    MapWindow *first = window.newFile();
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();

    // The goblin's pixel nearest its centre that its ghost shows unlike the
    // white ground of a square.
    const QImage goblin = artwork::bitmap(QStringLiteral("GOBLIN"));
    QPoint shown(-1, -1);
    for (int y = 0; y < goblin.height(); ++y)
        for (int x = 0; x < goblin.width(); ++x) {
            const QRgb c = raster::pixel(goblin, x, y);
            const QPoint centre(goblin.width() / 2, goblin.height() / 2);
            if (c != board::kWhite && c != raster::kTransparent &&
                (shown.x() < 0 ||
                 (QPoint(x, y) - centre).manhattanLength() < (shown - centre).manhattanLength()))
                shown = QPoint(x, y);
        }
    if (shown.x() < 0)
        return fail(QStringLiteral("the goblin has no pixel to see"));
    const auto interior = [](int column, int row) {
        return QPoint(24 + 32 * column + 1, 24 + 32 * row + 1);
    };

    QTextStream out(stdout);
    QString error;
    auto put = [&](const char *name, QWidget *widget, QPoint local) {
        // Points on the maps must lie in the client area, not behind its edge.
        const QWidget *area = window.mdiArea()->viewport();
        if (area->isAncestorOf(widget) && !area->rect().contains(widget->mapTo(area, local)))
            error = QStringLiteral("%1 is not in the client area").arg(QLatin1String(name));
        const QPoint p = widget->mapTo(&window, local);
        out << name << ' ' << p.x() << ' ' << p.y() << '\n';
    };
    QToolButton *goblinButton = window.toolButton(QStringLiteral("ToolButton1"));
    put("goblin", goblinButton, goblinButton->rect().center());
    put("stamp", first->canvas(), interior(10, 4) + QPoint(15, 15));
    put("rest", first->canvas(), interior(12, 4) + QPoint(15, 15));
    put("ghost", first->canvas(), interior(12, 4) + shown);
    QWidget *area = window.mdiArea()->viewport();
    put("background", area, QPoint(area->width() - 5, area->height() - 5));
    MapWindow *second = window.newFile();
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
    put("ghost2", second->canvas(), interior(12, 4) + shown);
    put("frame2", second->canvas(), QPoint(23, 23));
    put("rest2", second->canvas(), interior(8, 6) + QPoint(15, 15));
    put("ghost3", second->canvas(), interior(8, 6) + shown);
    if (QApplication::widgetAt(area->mapToGlobal(QPoint(area->width() - 5, area->height() - 5))) !=
        area)
        error = QStringLiteral("the background point lies on a map");
    out.flush();
    return error.isEmpty() ? 0 : fail(error);
}

// The zoom steps of the session: the keys the script presses, and what they
// do to the active map.
struct ZoomStage {
    const char *keys;
    void (MapWindow::*zoom)();
    QPoint aside; ///< where from the middle of the view to click
};
const std::vector<ZoomStage> kZoomStages = {
    {"ctrl+plus", &MapWindow::zoomIn, QPoint(-60, -40)},  // 150 %: the shifted equals sign
    {"ctrl+equal", &MapWindow::zoomIn, QPoint(50, -30)},  // 200 %: the same key unshifted
    {"ctrl+KP_Add", &MapWindow::zoomIn, QPoint(-40, 40)}, // 300 %
    {"ctrl+minus", &MapWindow::zoomOut, QPoint(70, 50)},  // 200 %
    {"ctrl+0", &MapWindow::zoomToActualSize, QPoint(-90, 20)},
    {"ctrl+slash", &MapWindow::zoomToFit, QPoint(120, 70)},
    {"ctrl+KP_Subtract", &MapWindow::zoomOut, QPoint(-150, -60)}, // the step below the fit
};

int printZoomStages()
{
    MainWindow window;
    window.show();
    MapWindow *map = window.newFile();
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
    const QImage board = board::defaultBoard();
    QWidget *viewport = map->viewport();
    MapCanvas *canvas = map->canvas();
    // The board pixel a point of the viewport shows, for a canvas at `origin`.
    const auto shownAt = [&](QPoint point, QPoint origin, board::Zoom zoom) {
        const QPoint pixel = zoom.pixelAt(QPointF(point - origin));
        return board.rect().contains(pixel) ? raster::pixel(board, pixel.x(), pixel.y()) : 0u;
    };
    QList<board::Square> clicked;
    QPoint origin = canvas->mapTo(viewport, QPoint(0, 0));
    board::Zoom zoom = map->zoom();
    QTextStream out(stdout);
    for (const ZoomStage &stage : kZoomStages) {
        const QPoint before = origin;
        const board::Zoom zoomBefore = zoom;
        (map->*stage.zoom)();
        QCoreApplication::processEvents();
        origin = canvas->mapTo(viewport, QPoint(0, 0));
        zoom = map->zoom();
        // The square beside the middle of the view, clicked on the first
        // screen pixel of its top-left corner: one pixel further left or up
        // would be the square before.
        const QPoint aim = zoom.pixelAt(QPointF(viewport->rect().center() + stage.aside - origin));
        const board::Square square = board::squareAt(aim.x(), aim.y());
        const QPoint corner(24 + 32 * qBound(0, square.column, 25),
                            24 + 32 * qBound(0, square.row, 18));
        const auto first = [&](int at) { return (at * zoom.num + zoom.den - 1) / zoom.den; };
        const QPoint click(first(corner.x()), first(corner.y()));
        const QPoint pixel = canvas->pictureAt(click);
        const board::Square hit = board::squareAt(pixel.x(), pixel.y());
        const QPoint aside = canvas->pictureAt(click - QPoint(1, 1));
        if (!(hit == board::squareAt(corner.x(), corner.y())) ||
            !(board::squareAt(aside.x(), aside.y()) ==
              board::Square{hit.column - 1, hit.row - 1}) ||
            !viewport->rect().contains(canvas->mapTo(viewport, click)))
            return fail(QStringLiteral("the click of stage %1 is not in view")
                            .arg(QLatin1String(stage.keys)));
        clicked << hit;
        // A probe on a black line now that was white inside a square not
        // clicked before.
        QPoint probe(-1, -1);
        for (int y = 4; y < viewport->height() - 4 && probe.x() < 0; y += 3)
            for (int x = 4; x < viewport->width() - 4; x += 3) {
                const QPoint point(x, y);
                const QPoint was = zoomBefore.pixelAt(QPointF(point - before));
                if (shownAt(point, origin, zoom) == board::kBlack &&
                    shownAt(point, before, zoomBefore) == board::kWhite &&
                    !clicked.contains(board::squareAt(was.x(), was.y()))) {
                    probe = point;
                    break;
                }
            }
        if (probe.x() < 0)
            return fail(QStringLiteral("no probe for stage %1").arg(QLatin1String(stage.keys)));
        const QPoint at = canvas->mapTo(&window, click);
        const QPoint probeAt = viewport->mapTo(&window, probe);
        out << "stage " << stage.keys << ' ' << at.x() << ' ' << at.y() << ' ' << pixel.x() << ' '
            << pixel.y() << ' ' << probeAt.x() << ' ' << probeAt.y() << '\n';
    }
    out.flush();
    return 0;
}

// How many pixels of the part both pictures cover differ in colour; the
// first of them in `first`.
int differingPixels(const QImage &a, const QImage &b, QPoint *first = nullptr)
{
    int differing = 0;
    for (int y = 0; y < qMin(a.height(), b.height()); ++y)
        for (int x = 0; x < qMin(a.width(), b.width()); ++x)
            if ((a.pixel(x, y) ^ b.pixel(x, y)) & 0xffffffu && differing++ == 0 && first)
                *first = QPoint(x, y);
    return differing;
}

// A new map with each stamp placed as a click at 100 % places it: `clicks`
// holds a resource name and a picture pixel ("GOBLIN 64 64 ORK 128 96").
QImage boardWith(const QStringList &clicks)
{
    MapDocument document;
    ToolState tool;
    for (int i = 0; i + 2 < clicks.size(); i += 3) {
        tool.stamp = artwork::bitmap(clicks[i]);
        document.mouseDown(Qt::LeftButton, clicks[i + 1].toInt(), clicks[i + 2].toInt(), tool);
    }
    return document.picture();
}

// The saved map against a new map with the given stamps clicked at 100 %.
int compareStamped(const QString &savedPath, const QStringList &clicks, const char *what)
{
    const QImage saved = raster::readBmpFile(savedPath);
    const QImage expected = boardWith(clicks);
    if (saved.size() != expected.size())
        return fail(QStringLiteral("the saved map has another size"));
    if (const int differing = differingPixels(saved, expected))
        return fail(QStringLiteral("%1 pixels of the map saved %2 differ from the clicks at 100 %")
                        .arg(differing)
                        .arg(QLatin1String(what)));
    std::printf("the clicks %s landed where they land at 100 %%\n", what);
    return 0;
}

int writeBoard(const QString &path, const QStringList &clicks)
{
    try {
        raster::writeBmpFile(boardWith(clicks), path);
    } catch (const DkError &error) {
        return fail(error.text());
    }
    return 0;
}

// The map saved after the zoom stages against goblins clicked at 100 %.
int compareZoomed(const QString &savedPath, const QStringList &pixels)
{
    QStringList clicks;
    for (int i = 0; i + 1 < pixels.size(); i += 2)
        clicks << QStringLiteral("GOBLIN") << pixels[i] << pixels[i + 1];
    return compareStamped(savedPath, clicks, "at every zoom");
}

// The screen grab of the reopened map's top-left part against the saved file.
int compareScreen(const QString &savedPath, const QString &grabPath)
{
    const QImage saved = raster::readBmpFile(savedPath);
    const QImage grab(grabPath);
    if (grab.size() != kGrab)
        return fail(QStringLiteral("screen grab has the wrong size"));
    if (const int differing = differingPixels(grab, saved))
        return fail(QStringLiteral("the reopened map shows %1 pixels unlike the saved file")
                        .arg(differing));
    std::printf("the reopened map shows the saved picture\n");
    return 0;
}

int compare(const QString &savedPath)
{
    MapDocument document;
    ToolState tool;
    tool.stamp = artwork::bitmap(QStringLiteral("GOBLIN"));
    int changedByFill = 0;
    for (const Step &step : kSteps) {
        const QString control = QString::fromLatin1(step.control);
        if (control == QLatin1String("map")) {
            const QImage before = document.picture();
            document.mouseDown(Qt::LeftButton, step.x, step.y, tool);
            if (tool.mode == board::Mode::Fill)
                changedByFill += differingPixels(before, document.picture());
        } else if (const palette::ToolButton *button = palette::findToolButton(control);
                   button && button->kind == palette::ToolButton::Kind::Tool) {
            palette::pressToolButton(tool, *button);
        } else if (control == QLatin1String("BitBtn1")) {
            palette::takeFurniture(tool);
        } else if (const palette::StampEntry *entry = palette::findStampEntry(control)) {
            palette::applyStampEntry(tool, *entry);
        }
    }
    // The steps themselves must mean something: the fills changed squares.
    if (changedByFill < 2 * 30 * 30)
        return fail(QStringLiteral("the fill steps changed only %1 pixels").arg(changedByFill));

    const QImage expected = document.picture();
    const QImage saved = raster::readBmpFile(savedPath);
    if (saved.size() != expected.size())
        return fail(QStringLiteral("saved map is %1x%2, expected %3x%4")
                        .arg(saved.width())
                        .arg(saved.height())
                        .arg(expected.width())
                        .arg(expected.height()));
    QPoint first(-1, -1);
    if (const int differing = differingPixels(saved, expected, &first)) {
        expected.save(savedPath + QStringLiteral(".expected.png"));
        return fail(QStringLiteral("%1 pixels differ, the first at %2,%3 (expected picture: %4)")
                        .arg(differing)
                        .arg(first.x())
                        .arg(first.y())
                        .arg(savedPath + QStringLiteral(".expected.png")));
    }
    const int stamped = differingPixels(board::defaultBoard(), expected);
    std::printf("saved map matches the expected picture (%d pixels differ from a new board)\n",
                stamped);
    return 0;
}

int printNames()
{
    QTextStream out(stdout);
    for (const palette::StampEntry &entry : palette::stampEntries())
        out << palette::entryLabel(entry) << '\n';
    for (const palette::FurnitureKind &kind : palette::furnitureKinds())
        out << kind.hint << '\n';
    for (const palette::ToolButton &button : palette::toolBar())
        if (button.kind == palette::ToolButton::Kind::Tool)
            out << button.hint << '\n';
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() >= 2 && args[1] == QLatin1String("clicks"))
        return printClicks();
    if (args.size() >= 4 && args[1] == QLatin1String("screen"))
        return compareScreen(args[2], args[3]);
    if (args.size() >= 3 && args[1] == QLatin1String("compare"))
        return compare(args[2]);
    if (args.size() >= 2 && args[1] == QLatin1String("phantom"))
        return printPhantomPoints();
    if (args.size() >= 2 && args[1] == QLatin1String("names"))
        return printNames();
    if (args.size() >= 2 && args[1] == QLatin1String("zoom"))
        return printZoomStages();
    if (args.size() >= 3 && args[1] == QLatin1String("zoomcompare"))
        return compareZoomed(args[2], args.mid(3));
    if (args.size() >= 3 && args[1] == QLatin1String("board"))
        return writeBoard(args[2], args.mid(3));
    if (args.size() >= 3 && args[1] == QLatin1String("stamps"))
        return compareStamped(args[2], args.mid(3), "under Wayland");
    return fail(QStringLiteral(
        "usage: e2e_helper clicks | phantom | names | zoom | compare <saved.bmp> | "
        "screen <saved.bmp> <grab.png> | zoomcompare <saved.bmp> <px> <py>... | "
        "board <map.bmp> <STAMP> <px> <py>... | stamps <saved.bmp> <STAMP> <px> <py>..."));
}
