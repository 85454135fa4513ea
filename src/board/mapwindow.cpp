#include "mapwindow.h"

#include "commands.h"

#include "clipboardpicture.h"
#include "dialogs.h"
#include "errors.h"
#include "raster.h"

#include <QAction>
#include <QClipboard>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QScrollArea>

QImage mapfiles::readMap(const QString &path, int *fileBits)
{
    QImage picture = raster::readBmpFile(path, fileBits);
    if (picture.isNull())
        throw DkError(errors::invalidBitmap());
    return picture;
}

QString mapfiles::saveTarget(const QString &chosen)
{
    if (chosen.contains(QLatin1String(".bmp")))
        return chosen;
    return chosen + QLatin1String(".bmp");
}

QString mapfiles::openFailures(const QList<Failure> &failures, int dropped)
{
    if (failures.isEmpty())
        return QString();
    if (dropped == 1)
        return failures.constFirst().error;
    if (failures.size() == 1)
        return QStringLiteral("Die Datei %1 konnte nicht geöffnet werden: %2")
            .arg(failures.constFirst().path, failures.constFirst().error);
    QString text = QStringLiteral("%1 Dateien konnten nicht geöffnet werden:").arg(failures.size());
    for (const Failure &failure : failures)
        text += QLatin1Char('\n') + failure.path + QStringLiteral(": ") + failure.error;
    return text;
}

QString mapfiles::closeQuestion(const QString &caption)
{
    return QStringLiteral("Änderungen an ") + caption + QStringLiteral(" speichern?");
}

MapWindow::MapWindow(ToolState &tool, PreviewState &preview, QWidget *parent)
    : QMdiSubWindow(parent), m_tool(tool), m_preview(preview)
{
    build();
    setCaption(mapfiles::kNewCaption);
}

MapWindow::MapWindow(ToolState &tool, PreviewState &preview, const QImage &picture,
                     const QString &path, int fileBits, QWidget *parent)
    : QMdiSubWindow(parent), m_tool(tool), m_preview(preview), m_document(picture),
      m_path(path), m_fileBits(fileBits)
{
    build();
    setCaption(path);
}

void MapWindow::build()
{
    setAttribute(Qt::WA_DeleteOnClose);
    // Every new map window starts the hover preview afresh.
    m_preview.resetForNewWindow();
    m_document.setModified(false);

    m_canvas = new MapCanvas(m_document, m_tool, m_preview);
    m_scroll = new QScrollArea;
    m_scroll->setWidget(m_canvas);
    m_scroll->setWidgetResizable(false);
    m_scroll->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setWidget(m_scroll);
    resize(664, 548);

    auto command = [this](QMenu *menu, const QString &text, auto slot,
                          const QKeySequence &key = QKeySequence()) {
        return addCommand(menu, text, this, slot, key);
    };

    m_karte = new QMenu(QStringLiteral("Karte"), this);
    command(m_karte, QStringLiteral("Neu"), &MapWindow::newRequested, QKeySequence(Qt::CTRL | Qt::Key_N));
    command(m_karte, QStringLiteral("Öffnen..."), &MapWindow::openRequested, QKeySequence(Qt::CTRL | Qt::Key_O));
    command(m_karte, QStringLiteral("Speichern"), &MapWindow::Speichern1Click, QKeySequence(Qt::CTRL | Qt::Key_S));
    command(m_karte, QStringLiteral("Speichern als..."), &MapWindow::Speichernals1Click);
    command(m_karte, QStringLiteral("Schließen"), &MapWindow::Schlieen1Click);
    m_karte->addSeparator();
    command(m_karte, QStringLiteral("Beenden"), &MapWindow::quitRequested, QKeySequence(Qt::CTRL | Qt::Key_Q));

    m_bearbeiten = new QMenu(QStringLiteral("Bearbeiten"), this);
    m_undo = command(m_bearbeiten, QStringLiteral("Rückgängig"), &MapWindow::Rckgngig1Click,
                     QKeySequence(Qt::CTRL | Qt::Key_Z));
    m_undo->setEnabled(false);
    command(m_bearbeiten, QStringLiteral("In Zwischenablage kopieren"),
            &MapWindow::InZwischenablagekopieren1Click, QKeySequence(Qt::CTRL | Qt::Key_C));
    command(m_bearbeiten, QStringLiteral("Kartenrand reparieren"), &MapWindow::Randwiederherstellen1Click);

    m_popup = new QMenu(this);
    command(m_popup, QStringLiteral("Korrektur-Modus"), &MapWindow::correctionModeRequested);
    command(m_popup, QStringLiteral("Füllmodus"), &MapWindow::fillModeRequested);
    m_popup->addSeparator();
    command(m_popup, QStringLiteral("In Zwischenablage kopieren"),
            &MapWindow::InZwischenablagekopieren1Click);

    connect(m_canvas, &MapCanvas::placed, this, [this] { m_undo->setEnabled(m_document.canUndo()); });
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
}

void MapWindow::pictureChanged()
{
    m_canvas->pictureReplaced();
    m_undo->setEnabled(m_document.canUndo());
}

void MapWindow::writeTo(const QString &path)
{
    raster::writeBmpFile(m_document.picture(), path, m_fileBits);
    m_path = path;
    setCaption(path);
    m_document.setModified(false);
}

bool MapWindow::Speichern1Click()
{
    if (isNew())
        return Speichernals1Click();
    writeTo(m_path);
    return true;
}

bool MapWindow::Speichernals1Click()
{
    const QString chosen = dialogs().saveFile(this, QStringLiteral("Speichern unter"),
                                              mapfiles::kSaveFilter);
    if (chosen.isEmpty())
        return false;
    // The caption names the file actually written, so that a later save
    // goes to the same file.
    writeTo(mapfiles::saveTarget(chosen));
    return true;
}

void MapWindow::Schlieen1Click()
{
    close();
}

void MapWindow::closeEvent(QCloseEvent *event)
{
    if (m_document.isModified()) {
        // Refuse first: when the save fails (its error goes on to the error
        // report) or its dialog is cancelled, the map stays open and modified.
        event->ignore();
        if (dialogs().confirm(this, mapfiles::closeQuestion(m_caption)) && !Speichern1Click())
            return;
    }
    m_canvas->timer().stop();
    QMdiSubWindow::closeEvent(event);
}

void MapWindow::Rckgngig1Click()
{
    if (!m_document.canUndo())
        return;
    m_document.undo();
    pictureChanged();
}

void MapWindow::InZwischenablagekopieren1Click()
{
    QGuiApplication::clipboard()->setMimeData(clipboardpicture::mimeData(m_document.picture()));
}

void MapWindow::Randwiederherstellen1Click()
{
    m_document.repairEdge();
    pictureChanged();
}
