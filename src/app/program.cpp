#include "program.h"

#include "endsignals.h"
#include "fonts.h"
#include "questfile.h"
#include "sheetprint.h"

#include <QGuiApplication>
#include <QPushButton>
#include <QSessionManager>

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

void Program::startRecovery(const QString &folder)
{
    if (!recovery::enabledInSettings())
        return;
    recoverySession = std::make_unique<RecoverySession>(mainWindow, questEditor,
                                                        std::make_unique<recovery::Store>(folder));
    RecoverySession *session = recoverySession.get();
    auto *endSignals = new EndSignals(session);
    QObject::connect(endSignals, &EndSignals::received, session, [session] { session->endNow(0); });
    QObject::connect(qApp, &QGuiApplication::commitDataRequest, session,
                     [session] { session->endNow(0); });
    QMetaObject::invokeMethod(session, &RecoverySession::start, Qt::QueuedConnection);
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
