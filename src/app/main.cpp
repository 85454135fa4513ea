// DK-Edit: the application object with its error report, then the main
// window, the quest editor and the about box, in that order; then the event
// loop until the main window closes.

#include "aboutbox.h"
#include "application.h"
#include "fonts.h"
#include "mainwindow.h"
#include "questeditor.h"
#include "sheetprint.h"

#include <QPushButton>

int main(int argc, char **argv)
{
    Application app(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral("dkedit"));
    questfonts::installFontSubstitutions();

    MainWindow mainWindow;

    QuestEditor questEditor(&mainWindow);
    mainWindow.setQuestEditor(&questEditor);
    // Ending the program asks about unsaved quest text like closing the editor.
    mainWindow.setQuitGuard([&questEditor] { return questEditor.maybeSave(); });
    QObject::connect(questEditor.printButton(), &QPushButton::clicked, &questEditor,
                     [&questEditor] {
                         printQuestSheet(&questEditor, questEditor.document(), questEditor.mapPicture());
                     },
                     Qt::QueuedConnection);
    new PreviewController(
        questEditor.scrollButton(), questEditor.legendButton(),
        [&questEditor] { return questEditor.document(); },
        [&questEditor](const QImage &picture) { questEditor.showPreview(picture); },
        [&questEditor] { questEditor.restoreMapDisplay(); }, &questEditor);

    AboutBox aboutBox(mainWindow.previewState(), &mainWindow);
    mainWindow.setAboutBox(&aboutBox);

    mainWindow.show();
    return app.exec();
}
