#include "program.h"

#include "fonts.h"
#include "sheetprint.h"

#include <QGuiApplication>
#include <QPushButton>

void prepareApplication()
{
    QGuiApplication::setDesktopFileName(QStringLiteral("dkedit"));
    questfonts::installFontSubstitutions();
}

Program::Program()
{
    mainWindow.setQuestEditor(&questEditor);
    // Ending the program asks about unsaved quest text like closing the editor.
    mainWindow.setQuitGuard([this] { return questEditor.maybeSave(); });
    QObject::connect(questEditor.printButton(), &QPushButton::clicked, &questEditor,
                     [this] {
                         printQuestSheet(&questEditor, questEditor.document(), questEditor.mapPicture());
                     },
                     Qt::QueuedConnection);
    new PreviewController(
        questEditor.scrollButton(), questEditor.legendButton(),
        [this] { return questEditor.document(); },
        [this](const QImage &picture) { questEditor.showPreview(picture); },
        [this] { questEditor.restoreMapDisplay(); }, &questEditor);
    mainWindow.setAboutBox(&aboutBox);
}
