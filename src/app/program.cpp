#include "program.h"

#include "endsignals.h"
#include "firstpaint.h"
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
                &mainWindow, [this, path] { questEditor().loadQuestFile(path); },
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
    recoverySession = std::make_unique<RecoverySession>(
        mainWindow, [this]() -> QuestEditor & { return questEditor(); },
        std::make_unique<recovery::Store>(folder));
    RecoverySession *session = recoverySession.get();
    if (m_questEditor)
        session->trackQuest(*m_questEditor);
    auto *endSignals = new EndSignals(session);
    QObject::connect(endSignals, &EndSignals::received, session, [session] { session->endNow(0); });
    QObject::connect(qApp, &QGuiApplication::commitDataRequest, session,
                     [session] { session->endNow(0); });
    QMetaObject::invokeMethod(session, &RecoverySession::start, Qt::QueuedConnection);
}

Program::Program()
{
    mainWindow.setQuestEditor([this] { return &questEditor(); });
    // Ending the program asks about unsaved quest text like closing the editor.
    mainWindow.setQuitGuard([this] { return !m_questEditor || m_questEditor->maybeSave(); });
    mainWindow.setAboutBox(&aboutBox);
    afterFirstPaint(&mainWindow, &mainWindow, [this] { questEditor(); });
}

Program::~Program()
{
    // Nothing may make the quest editor anew from here on, and the recovery
    // session, which watches it, goes first.
    mainWindow.setQuestEditor({});
    mainWindow.setQuitGuard({});
    recoverySession.reset();
    m_questEditor.reset();
}

QuestEditor &Program::questEditor()
{
    if (m_questEditor)
        return *m_questEditor;
    m_questEditor = std::make_unique<QuestEditor>(&mainWindow);
    QuestEditor *editor = m_questEditor.get();
    QObject::connect(
        editor->printButton(), &QPushButton::clicked, editor,
        [editor] { printQuestSheet(editor, editor->document(), editor->mapPicture()); },
        Qt::QueuedConnection);
    new PreviewController(
        editor->scrollButton(), editor->legendButton(), [editor] { return editor->document(); },
        [editor](const QImage &picture) { editor->showPreview(picture); },
        [editor] { editor->restoreMapDisplay(); }, editor);
    if (recoverySession)
        recoverySession->trackQuest(*editor);
    return *editor;
}
