#pragma once

#include "aboutbox.h"
#include "mainwindow.h"
#include "questeditor.h"
#include "recovery.h"
#include "recoverysession.h"

#include <memory>

/// The program's three long-lived windows and their wiring: quitting asks
/// about unsaved quest text, "Quest drucken" prints, the preview buttons
/// preview. The main window and the about box are made at once; the quest
/// editor, which the first frame does not show, just after the main window
/// is first painted, or earlier when anything needs it. The application
/// object must exist first.
struct Program {
    Program();
    ~Program();

    /// The quest editor, made on first use.
    QuestEditor &questEditor();
    /// Whether the quest editor has been made yet.
    bool hasQuestEditor() const { return m_questEditor != nullptr; }

    /// Opens files given on the command line, each one event after the other
    /// once the event loop runs, as the menu commands open them: a BMP file
    /// (any file not ending in ".dke") as a map window, a quest file into the
    /// quest editor, which is then shown. A file that cannot be opened is
    /// reported by the error report, and the others still open.
    void openFiles(const QStringList &files);

    /// Starts keeping recovery copies in `folder` (unless the settings turn
    /// them off): once the event loop runs, what an earlier session left is
    /// offered; SIGTERM, SIGHUP, SIGINT and the session manager's commit
    /// request write every pending copy and end the program without a
    /// question.
    void startRecovery(const QString &folder = recovery::defaultFolder());

    MainWindow mainWindow;
    AboutBox aboutBox{&mainWindow};
    std::unique_ptr<RecoverySession> recoverySession;

private:
    std::unique_ptr<QuestEditor> m_questEditor;
};

/// Settings of the application object made before any window exists.
void prepareApplication();
