#pragma once

// WindowTest: what the frame-window tests set up for every test function:
// scripted dialogs, a temporary folder and the shown frame window. A test
// class derives from it beside QObject and calls setUp() from init() and
// tearDown() from cleanup():
//
//     class TestX : public QObject, WindowTest {
//         Q_OBJECT
//     private Q_SLOTS:
//         void init() { setUp(); }
//         void cleanup() { tearDown(); }
//     };
//
// Header-only; the test links dk_mainwindow_ui.

#include "mainwindow.h"
#include "scripteddialogs.h"
#include "testhelpers.h"

#include <QTemporaryDir>
#include <QtTest>

#include <memory>

struct WindowTest {
    std::unique_ptr<ScriptedDialogs> script;
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<MainWindow> window;

    /// A file of the temporary folder.
    QString path(const QString &name) const { return dir->filePath(name); }

    /// Fresh dialogs and folder, and (with `withWindow`) a shown frame window.
    void setUp(bool withWindow = true)
    {
        script = std::make_unique<ScriptedDialogs>();
        dir = std::make_unique<QTemporaryDir>();
        QVERIFY(dir->isValid());
        if (withWindow)
            showNewWindow();
    }

    /// Replaces the frame window by a new one, shown.
    void showNewWindow()
    {
        window.reset();
        window = std::make_unique<MainWindow>();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }

    /// Closes the window with its maps, then lets the dialogs and the folder
    /// go. With `allAnswered`, fails when a question came that the test had
    /// not scripted.
    void tearDown(bool allAnswered = false)
    {
        window.reset();
        flush();
        const QStringList unanswered = script->unanswered;
        script.reset();
        dir.reset();
        if (allAnswered)
            QVERIFY2(unanswered.isEmpty(), qPrintable(unanswered.join(QLatin1Char('|'))));
    }
};
