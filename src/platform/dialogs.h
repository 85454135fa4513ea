#pragma once

#include "filefolders.h"

#include <QString>
#include <QStringList>

#include <memory>

class QMessageBox;
class QWidget;
class QPrinter;

/// Every modal interaction of the program goes through this interface: file
/// dialogs, the Yes/No question, the error report and the print dialog. The
/// real one shows Qt's dialogs; tests install one that answers from a script,
/// so no test ever waits on a modal window.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    /// File-open dialog starting in `folder`; returns the chosen path, or an
    /// empty string when cancelled.
    virtual QString openFile(QWidget *parent, const QString &title, const QString &filter,
                             const QString &folder) = 0;

    /// File-save dialog starting in `folder` (asks nothing before
    /// overwriting); empty when cancelled. chooseSaveTarget() adds the
    /// overwrite question.
    virtual QString saveFile(QWidget *parent, const QString &title, const QString &filter,
                             const QString &folder) = 0;

    /// The answer to a question box.
    enum class Answer {
        Yes,
        No,
        /// Escape, or the box closed by the window manager: the user called
        /// off what led to the question.
        Dismissed,
    };

    /// Confirmation box with a question icon, caption "Confirm" and the buttons
    /// "&Yes" and "&No". Escape or closing the box gives Dismissed, never No.
    virtual Answer ask(QWidget *parent, const QString &text) = 0;

    /// The same question where only Yes acts: true for Yes.
    bool confirm(QWidget *parent, const QString &text) { return ask(parent, text) == Answer::Yes; }

    /// Asks before a save replaces the existing file `path` that belongs to
    /// no open document. True when it may be replaced.
    virtual bool confirmOverwrite(QWidget *parent, const QString &title, const QString &path) = 0;

    /// The error report: stop icon, the application title as caption, OK.
    virtual void error(QWidget *parent, const QString &text) = 0;

    /// The offer at start-up to restore work a session left unsaved: a
    /// question box with the application title as caption and the buttons
    /// "Wiederherstellen" and "Nicht wiederherstellen". True for restoring;
    /// Escape or closing the box restores nothing.
    virtual bool offerRestore(QWidget *parent, const QString &text) = 0;

    /// The print dialog for one page with one copy preset. Returns false when
    /// the user does not confirm it.
    virtual bool print(QWidget *parent, QPrinter &printer) = 0;
};

/// The dialogs the program uses now. Never null: the real ones by default.
Dialogs &dialogs();

/// Replaces the dialogs (tests); pass nullptr to go back to the real ones.
/// The caller keeps ownership.
void setDialogs(Dialogs *replacement);

/// An open dialog for a kind of file through dialogs(): it starts in the
/// folder filefolders::startFolder() gives for `currentDocument`, and the
/// folder of the chosen file is remembered for the kind.
QString askOpenFile(QWidget *parent, FileKind kind, const QString &title, const QString &filter,
                    const QString &currentDocument = QString());
/// Runs the save dialog for a kind of file (starting and remembering folders
/// as askOpenFile() does; it starts beside `ownFile`) until the user picks a name that may be
/// written: `target` turns the chosen name into the file actually written (an added extension);
/// when that file exists and is not `ownFile` (the document's own file), the overwrite question is
/// asked, and "No" shows the dialog again. Returns the name of the file to write, or empty when
/// cancelled.
QString chooseSaveTarget(QWidget *parent, FileKind kind, const QString &title,
                         const QString &filter, QString (*target)(const QString &chosen),
                         const QString &ownFile);

/// The question box of QtDialogs::ask(), built but not yet run, and the
/// answer it gave once closed (tests drive the real box with keys). Its
/// buttons "&Yes" (object name "yes") and "&No" ("no") are the program's own,
/// not the toolkit's standard buttons, whose texts the toolkit translates
/// again whenever the language changes.
std::unique_ptr<QMessageBox> makeQuestionBox(QWidget *parent, const QString &text);
Dialogs::Answer questionAnswer(const QMessageBox &box);

/// Qt's own dialogs.
class QtDialogs : public Dialogs {
public:
    QString openFile(QWidget *parent, const QString &title, const QString &filter,
                     const QString &folder) override;
    QString saveFile(QWidget *parent, const QString &title, const QString &filter,
                     const QString &folder) override;
    Answer ask(QWidget *parent, const QString &text) override;
    bool confirmOverwrite(QWidget *parent, const QString &title, const QString &path) override;
    void error(QWidget *parent, const QString &text) override;
    bool offerRestore(QWidget *parent, const QString &text) override;
    bool print(QWidget *parent, QPrinter &printer) override;
};
