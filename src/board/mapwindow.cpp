#include "mapwindow.h"

#include "commands.h"

#include "clipboardpicture.h"
#include "dialogs.h"
#include "errors.h"
#include "filenames.h"
#include "mapfile.h"

#include <QAction>
#include <QClipboard>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QScrollArea>
#include <QScrollBar>
#include <QWheelEvent>

MapWindow::MapWindow(ToolState &tool, PreviewState &preview, QWidget *parent)
    : QMdiSubWindow(parent), m_tool(tool), m_preview(preview)
{
    build();
    setCaption(mapfile::kNewCaption);
}

MapWindow::MapWindow(ToolState &tool, PreviewState &preview, MapDocument document,
                     const QString &path, QWidget *parent)
    : QMdiSubWindow(parent), m_tool(tool), m_preview(preview), m_document(std::move(document)),
      m_path(path), m_fileVersion(userfiles::versionOf(path))
{
    build();
    setCaption(path.isEmpty() ? mapfile::kNewCaption : filenames::shown(path));
}

void MapWindow::build()
{
    setAttribute(Qt::WA_DeleteOnClose);
    // Every new map window starts the hover preview afresh.
    m_preview.resetForNewWindow();
    m_document.setModified(false);

    m_canvas = new MapCanvas(m_document, m_tool, m_preview);
    m_canvas->setObjectName(QStringLiteral("MDIImage"));
    m_canvas->setAccessibleName(QStringLiteral("Karte"));
    m_scroll = new QScrollArea;
    m_scroll->setWidget(m_canvas);
    m_scroll->setWidgetResizable(false);
    m_scroll->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // The keyboard works on the map itself: Tab goes to it past the scroll
    // area, and the square cursor stays in view as it moves.
    m_scroll->setFocusPolicy(Qt::NoFocus);
    setFocusProxy(m_canvas);
    connect(m_canvas, &MapCanvas::keyCursorMoved, m_scroll, [this](const QRect &area) {
        const QPoint middle = area.center();
        m_scroll->ensureVisible(middle.x(), middle.y(), area.width() / 2 + 8,
                                area.height() / 2 + 8);
    });
    // Ctrl+wheel zooms, over the map and over the viewport beside it.
    m_canvas->installEventFilter(this);
    m_scroll->viewport()->installEventFilter(this);
    setWidget(m_scroll);
    resize(664, 548);

    auto command = [this](QMenu *menu, const char *name, const QString &text, auto slot,
                          const QKeySequence &key = QKeySequence()) {
        return addCommand(menu, name, text, this, slot, key);
    };

    m_mapMenu = new QMenu(QStringLiteral("&Karte"), this);
    m_mapMenu->setObjectName(QStringLiteral("Karte1"));
    command(m_mapMenu, "Neu1", QStringLiteral("&Neu"), &MapWindow::newRequested,
            QKeySequence(Qt::CTRL | Qt::Key_N));
    command(m_mapMenu, "ffnen1", QStringLiteral("Ö&ffnen..."), &MapWindow::openRequested,
            QKeySequence(Qt::CTRL | Qt::Key_O));
    command(m_mapMenu, "Speichern1", QStringLiteral("&Speichern"), &MapWindow::save,
            QKeySequence(Qt::CTRL | Qt::Key_S));
    command(m_mapMenu, "Speichernals1", QStringLiteral("Speichern &als..."), &MapWindow::saveAs);
    command(m_mapMenu, "Schlieen1", QStringLiteral("S&chließen"), &MapWindow::closeMap);
    m_mapMenu->addSeparator();
    command(m_mapMenu, "Beenden1", QStringLiteral("&Beenden"), &MapWindow::quitRequested,
            QKeySequence(Qt::CTRL | Qt::Key_Q));

    m_editMenu = new QMenu(QStringLiteral("&Bearbeiten"), this);
    m_editMenu->setObjectName(QStringLiteral("Bearbeiten1"));
    m_undo = command(m_editMenu, "Rckgngig1", QStringLiteral("&Rückgängig"), &MapWindow::undo,
                     QKeySequence(Qt::CTRL | Qt::Key_Z));
    m_undo->setEnabled(false);
    command(m_editMenu, "InZwischenablagekopieren1", QStringLiteral("&In Zwischenablage kopieren"),
            &MapWindow::copyToClipboard, QKeySequence(Qt::CTRL | Qt::Key_C));
    command(m_editMenu, "Randwiederherstellen1", QStringLiteral("&Kartenrand reparieren"),
            &MapWindow::repairEdge);

    m_popup = new QMenu(this);
    m_popup->setObjectName(QStringLiteral("PopupMenu1"));
    command(m_popup, "KorrekturModus1", QStringLiteral("&Korrektur-Modus"),
            &MapWindow::correctionModeRequested);
    command(m_popup, "Fllmodus1", QStringLiteral("&Füllmodus"), &MapWindow::fillModeRequested);
    m_popup->addSeparator();
    command(m_popup, "InZwischenablagekopieren2", QStringLiteral("&In Zwischenablage kopieren"),
            &MapWindow::copyToClipboard);

    connect(m_canvas, &MapCanvas::placed, this, [this] {
        m_undo->setEnabled(m_document.canUndo());
        Q_EMIT changed();
    });
    connect(m_canvas, &MapCanvas::overlayMenuRequested, this,
            [this](const QPoint &pos) { m_popup->popup(pos); });

    // A window that loses activation stops its preview timer; the next mouse
    // move over its overlay starts it again. The base class reports the last
    // deactivation from its own destructor, when this window's members are
    // gone already: the handler therefore holds on to the canvas only.
    MapCanvas *canvas = m_canvas;
    connect(this, &QMdiSubWindow::windowStateChanged, canvas,
            [canvas](Qt::WindowStates oldState, Qt::WindowStates newState) {
                if ((oldState & Qt::WindowActive) && !(newState & Qt::WindowActive))
                    canvas->timer().stop();
            });
}

void MapWindow::setCaption(const QString &caption)
{
    m_caption = caption;
    setWindowTitle(caption);
    m_canvas->setAccessibleDescription(caption);
}

void MapWindow::pictureChanged()
{
    m_canvas->pictureReplaced();
    m_undo->setEnabled(m_document.canUndo());
    Q_EMIT changed();
}

void MapWindow::writeTo(const QString &path)
{
    mapfile::write(m_document.picture(), m_document.fileFormat(), path);
    m_path = path;
    m_fileVersion = userfiles::versionOf(path);
    setCaption(filenames::shown(path));
    m_document.setModified(false);
    Q_EMIT saved();
}

bool MapWindow::save()
{
    if (isNew())
        return saveAs();
    // Written by someone else since: their changes are not thrown away
    // unasked. A file deleted meanwhile is simply written again.
    const userfiles::FileVersion now = userfiles::versionOf(m_path);
    if (now.exists && now != m_fileVersion &&
        dialogs().ask(this, mapfile::changedOnDiskQuestion(m_caption)) != Dialogs::Answer::Yes)
        return false;
    writeTo(m_path);
    return true;
}

bool MapWindow::saveAs()
{
    // The caption then names the file actually written, so that a later
    // save goes to the same file.
    const QString path = chooseSaveTarget(this, FileKind::Map, QStringLiteral("Speichern unter"),
                                          mapfile::kSaveFilter, mapfile::saveTarget, m_path);
    if (path.isEmpty())
        return false;
    writeTo(path);
    return true;
}

void MapWindow::closeMap()
{
    close();
}

void MapWindow::closeEvent(QCloseEvent *event)
{
    if (m_document.isModified()) {
        // Refuse first: when the save fails (its error goes on to the error
        // report) or its dialog is cancelled, the map stays open and modified.
        // Escape or closing the question box calls the closing off.
        event->ignore();
        const Dialogs::Answer answer = dialogs().ask(this, mapfile::closeQuestion(m_caption));
        if (answer == Dialogs::Answer::Dismissed || (answer == Dialogs::Answer::Yes && !save()))
            return;
    }
    m_canvas->timer().stop();
    QMdiSubWindow::closeEvent(event);
}

void MapWindow::undo()
{
    if (!m_document.canUndo())
        return;
    m_document.undo();
    pictureChanged();
}

void MapWindow::copyToClipboard()
{
    QGuiApplication::clipboard()->setMimeData(clipboardpicture::mimeData(m_document.picture()));
}

void MapWindow::repairEdge()
{
    m_document.repairEdge();
    pictureChanged();
}

QWidget *MapWindow::viewport() const
{
    return m_scroll->viewport();
}

void MapWindow::setZoom(board::Zoom zoom, const QPointF &anchor)
{
    const board::Zoom from = m_canvas->zoom();
    if (zoom == from)
        return;
    const QPoint scroll(m_scroll->horizontalScrollBar()->value(),
                        m_scroll->verticalScrollBar()->value());
    m_canvas->setZoom(zoom);
    // The scroll bars take the canvas's new size now, also while hidden.
    QEvent relayout(QEvent::LayoutRequest);
    QCoreApplication::sendEvent(m_scroll, &relayout);
    const QPoint to = board::anchoredScroll(scroll, anchor, from, zoom);
    m_scroll->horizontalScrollBar()->setValue(to.x());
    m_scroll->verticalScrollBar()->setValue(to.y());
}

void MapWindow::zoomIn()
{
    setZoom(board::zoomIn(zoom()), QRectF(viewport()->rect()).center());
}

void MapWindow::zoomOut()
{
    setZoom(board::zoomOut(zoom()), QRectF(viewport()->rect()).center());
}

void MapWindow::zoomToActualSize()
{
    setZoom(board::Zoom(), QRectF(viewport()->rect()).center());
}

void MapWindow::zoomToFit()
{
    // The viewport without scroll bars: once the board fits, none shows.
    const QSize room = m_scroll->maximumViewportSize();
    setZoom(board::fitZoom(m_canvas->pictureSize(), room), QPointF(0, 0));
}

bool MapWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Wheel && (watched == m_canvas || watched == viewport())) {
        auto *wheel = static_cast<QWheelEvent *>(event);
        if (wheel->modifiers() & Qt::ControlModifier) {
            // One step per notch; fine-grained wheels and touch pads add up
            // their turns to whole notches.
            m_wheelAngle += wheel->angleDelta().y();
            const int notches = m_wheelAngle / QWheelEvent::DefaultDeltasPerStep;
            m_wheelAngle -= notches * QWheelEvent::DefaultDeltasPerStep;
            board::Zoom zoom = this->zoom();
            for (int i = 0; i < notches; ++i)
                zoom = board::zoomIn(zoom);
            for (int i = 0; i > notches; --i)
                zoom = board::zoomOut(zoom);
            setZoom(zoom, static_cast<QWidget *>(watched)->mapTo(viewport(), wheel->position()));
            return true;
        }
    }
    return QMdiSubWindow::eventFilter(watched, event);
}

void MapWindow::addZoomKeys(QWidget *frame, std::function<MapWindow *()> activeMap)
{
    struct Key {
        const char *name;
        void (MapWindow::*zoom)();
        QList<QKeySequence> keys;
    };
    // Where plus is the shifted equals sign, Ctrl with that key is Ctrl+=
    // unshifted and Ctrl++ shifted: Qt takes the shifted press for Ctrl++ and
    // for Ctrl+Shift+= at once, so that only one of the two may be a key here
    // (two would make the press ambiguous, and nothing would happen). The
    // keypad's keys match these too. "/" is a shifted key on many keyboards
    // (German among them): Ctrl+9, next to Ctrl+0, fits too.
    const QList<Key> keys = {
        {"ZoomIn",
         &MapWindow::zoomIn,
         {QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)}},
        {"ZoomOut", &MapWindow::zoomOut, {QKeySequence(Qt::CTRL | Qt::Key_Minus)}},
        {"ZoomActualSize", &MapWindow::zoomToActualSize, {QKeySequence(Qt::CTRL | Qt::Key_0)}},
        {"ZoomToFit",
         &MapWindow::zoomToFit,
         {QKeySequence(Qt::CTRL | Qt::Key_Slash), QKeySequence(Qt::CTRL | Qt::Key_9)}},
    };
    for (const Key &key : keys) {
        auto *action = new QAction(frame);
        action->setObjectName(QLatin1String(key.name));
        action->setShortcuts(key.keys);
        action->setShortcutContext(Qt::WindowShortcut);
        frame->addAction(action);
        const auto zoom = key.zoom;
        QObject::connect(action, &QAction::triggered, frame, [activeMap, zoom] {
            if (MapWindow *map = activeMap())
                (map->*zoom)();
        });
    }
}
