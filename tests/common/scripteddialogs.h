#pragma once

// ScriptedDialogs: a Dialogs replacement for headless tests. No window ever
// opens; every question is answered from a queue that the test fills in
// advance, and every question and error text is recorded for checking.
//
// Use:
//
//     ScriptedDialogs script;                 // installs itself (setDialogs)
//     script.saveAnswers << dir + "/karte1";  // next save dialog picks this
//     script.confirmAnswers << true;          // next question: "Yes"
//     window->close();
//     QCOMPARE(script.questions, QStringList{"Änderungen an New* speichern?"});
//     QVERIFY(script.errors.isEmpty());
//     QVERIFY(script.unanswered.isEmpty());   // nothing was asked unscripted
//
// Answers when a queue is empty: openFile and saveFile return an empty string
// (the dialog was cancelled), confirm returns false ("No"), the overwrite
// question "No", print returns
// false (not confirmed). Each such case is also noted in `unanswered`, so a
// test can tell "cancelled on purpose" from "asked unexpectedly".
//
// File dialogs remember their folders in the program's settings; while a
// ScriptedDialogs lives, those settings go to a temporary folder of its own
// (`settingsDir`), never into the settings of the user running the tests.
//
// The destructor puts the real dialogs back. Only one instance at a time.
// Header-only: include it and link dk_platform_ui (which the window libraries
// pull in anyway).

#include "dialogs.h"

#include <QList>
#include <QQueue>
#include <QSettings>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>

class ScriptedDialogs : public Dialogs {
public:
    /// What one call of openFile or saveFile was given.
    struct FileQuestion {
        QString title;
        QString filter;
        QString folder; ///< the folder the dialog started in
    };

    // Answers, taken from the front one per call.
    QQueue<QString> openAnswers; ///< paths chosen in open dialogs ("" = cancel)
    QQueue<QString> saveAnswers; ///< paths chosen in save dialogs ("" = cancel)
    /// One scripted answer to a question: true ("Yes"), false ("No") or
    /// Dialogs::Answer::Dismissed (Escape).
    struct Reply {
        Answer answer;
        Reply(bool yes) : answer(yes ? Answer::Yes : Answer::No) {}
        Reply(Answer a) : answer(a) {}
    };
    QQueue<Reply> confirmAnswers;  ///< answers to ask() and confirm()
    QQueue<bool> overwriteAnswers; ///< true = replace the existing file
    QQueue<bool> printAnswers;     ///< true = print dialog confirmed
    QQueue<bool> restoreAnswers;   ///< true = "Wiederherstellen" at the start-up offer
    /// What the user chooses in a confirmed print dialog (a printer, a paper).
    std::function<void(QPrinter &)> printChoice;

    // Records, in the order of the calls.
    QList<FileQuestion> openQuestions; ///< every open dialog shown
    QList<FileQuestion> saveQuestions; ///< every save dialog shown
    QStringList questions;             ///< text of every confirm() question
    QStringList overwriteQuestions;    ///< path of every overwrite question
    QStringList errors;                ///< text of every error report, as shown
    QStringList restoreOffers;         ///< text of every offer to restore
    int printCount = 0;                ///< how often the print dialog was shown
    QStringList unanswered;            ///< "openFile", "saveFile", "confirm: <text>",
                                       ///< "print" for calls whose queue was empty

    QTemporaryDir settingsDir; ///< where the program's settings go meanwhile

    ScriptedDialogs()
    {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
        setDialogs(this);
    }
    ~ScriptedDialogs() override
    {
        setDialogs(nullptr);
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
    }
    ScriptedDialogs(const ScriptedDialogs &) = delete;
    ScriptedDialogs &operator=(const ScriptedDialogs &) = delete;

    /// Forgets all records and queued answers.
    void reset()
    {
        openAnswers.clear();
        saveAnswers.clear();
        confirmAnswers.clear();
        printAnswers.clear();
        restoreAnswers.clear();
        restoreOffers.clear();
        overwriteAnswers.clear();
        overwriteQuestions.clear();
        openQuestions.clear();
        saveQuestions.clear();
        questions.clear();
        errors.clear();
        printCount = 0;
        unanswered.clear();
    }

    QString openFile(QWidget *, const QString &title, const QString &filter,
                     const QString &folder) override
    {
        openQuestions.append({title, filter, folder});
        if (openAnswers.isEmpty()) {
            unanswered << QStringLiteral("openFile");
            return QString();
        }
        return openAnswers.dequeue();
    }

    QString saveFile(QWidget *, const QString &title, const QString &filter,
                     const QString &folder) override
    {
        saveQuestions.append({title, filter, folder});
        if (saveAnswers.isEmpty()) {
            unanswered << QStringLiteral("saveFile");
            return QString();
        }
        return saveAnswers.dequeue();
    }

    Answer ask(QWidget *, const QString &text) override
    {
        questions << text;
        if (confirmAnswers.isEmpty()) {
            unanswered << QStringLiteral("confirm: ") + text;
            return Answer::No;
        }
        return confirmAnswers.dequeue().answer;
    }

    bool confirmOverwrite(QWidget *, const QString &, const QString &path) override
    {
        overwriteQuestions << path;
        if (overwriteAnswers.isEmpty()) {
            unanswered << QStringLiteral("overwrite: ") + path;
            return false;
        }
        return overwriteAnswers.dequeue();
    }

    void error(QWidget *, const QString &text) override { errors << text; }

    bool offerRestore(QWidget *, const QString &text) override
    {
        restoreOffers << text;
        if (restoreAnswers.isEmpty()) {
            unanswered << QStringLiteral("restore: ") + text;
            return false;
        }
        return restoreAnswers.dequeue();
    }

    bool print(QWidget *, QPrinter &printer) override
    {
        ++printCount;
        if (printAnswers.isEmpty()) {
            unanswered << QStringLiteral("print");
            return false;
        }
        const bool confirmed = printAnswers.dequeue();
        if (confirmed && printChoice)
            printChoice(printer);
        return confirmed;
    }
};
