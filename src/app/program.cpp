#include "program.h"

#include "fonts.h"
#include "questfile.h"
#include "sheetprint.h"

#include <QGuiApplication>
#include <QPushButton>

void prepareApplication()
{
    QGuiApplication::setDesktopFileName(QStringLiteral("dkedit"));
    questfonts::installFontSubstitutions();
}

void Program::openFiles(const QStringList &files)
{
    bool quest = false;
    QStringList maps;
    for (const QString &path : files) {
        if (questfile::isQuestFile(path)) {
            quest = true;
            QMetaObject::invokeMethod(
                &questEditor, [this, path] { questEditor.loadQuestFile(path); },
                Qt::QueuedConnection);
        } else {
            maps << path;
        }
    }
    // The maps open together, so that what fails is reported once.
    if (!maps.isEmpty())
        QMetaObject::invokeMethod(
            &mainWindow, [this, maps] { mainWindow.openMaps(maps); }, Qt::QueuedConnection);
    if (quest)
        QMetaObject::invokeMethod(&mainWindow, &MainWindow::showQuestEditor, Qt::QueuedConnection);
}

Program::Program()
{
    mainWindow.setQuestEditor(&questEditor);
    // Ending the program asks about unsaved quest text like closing the editor.
    mainWindow.setQuitGuard([this] { return questEditor.maybeSave(); });
    QObject::connect(
        questEditor.printButton(), &QPushButton::clicked, &questEditor,
        [this] { printQuestSheet(&questEditor, questEditor.document(), questEditor.mapPicture()); },
        Qt::QueuedConnection);
    new PreviewController(
        questEditor.scrollButton(), questEditor.legendButton(),
        [this] { return questEditor.document(); },
        [this](const QImage &picture) { questEditor.showPreview(picture); },
        [this] { questEditor.restoreMapDisplay(); }, &questEditor);
    mainWindow.setAboutBox(&aboutBox);
}
