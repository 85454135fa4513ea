#pragma once

#include "aboutbox.h"
#include "mainwindow.h"
#include "questeditor.h"
#include "recovery.h"
#include "recoverysession.h"

#include <memory>

/// The program's three long-lived windows, created in start-up order (main
/// window, quest editor, about box) and wired together: quitting asks about
/// unsaved quest text, "Quest drucken" prints, the preview buttons preview.
/// The application object must exist first.
struct Program {
    Program();

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
    QuestEditor questEditor{&mainWindow};
    AboutBox aboutBox{&mainWindow};
    std::unique_ptr<RecoverySession> recoverySession;
};

/// Settings of the application object made before any window exists.
void prepareApplication();
