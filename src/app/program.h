#pragma once

#include "aboutbox.h"
#include "mainwindow.h"
#include "questeditor.h"

/// The program's three long-lived windows, created in start-up order (main
/// window, quest editor, about box) and wired together: quitting asks about
/// unsaved quest text, "Quest drucken" prints, the preview buttons preview.
/// The application object must exist first.
struct Program {
    Program();

    MainWindow mainWindow;
    QuestEditor questEditor{&mainWindow};
    AboutBox aboutBox{mainWindow.previewState(), &mainWindow};
};

/// Settings of the application object made before any window exists.
void prepareApplication();
