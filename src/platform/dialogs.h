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
    /// overwriting); empty when cancelled.
    virtual QString saveFile(QWidget *parent, const QString &title, const QString &filter,
                             const QString &folder) = 0;

    /// Confirmation box with a question icon, caption "Confirm" and the buttons
    /// "&Yes" and "&No". Returns true for Yes.
    virtual bool confirm(QWidget *parent, const QString &text) = 0;

    /// The error report: stop icon, the application title as caption, OK.
    virtual void error(QWidget *parent, const QString &text) = 0;

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
/// The same for a save dialog.
QString askSaveFile(QWidget *parent, FileKind kind, const QString &title, const QString &filter,
                    const QString &currentDocument = QString());

/// The confirmation box as the real dialogs show it. Its buttons are the
/// program's own "&Yes" and "&No", not the toolkit's standard buttons, so no
/// translation of the toolkit can change their texts.
std::unique_ptr<QMessageBox> confirmationBox(QWidget *parent, const QString &text);

/// Qt's own dialogs.
class QtDialogs : public Dialogs {
public:
    QString openFile(QWidget *parent, const QString &title, const QString &filter,
                     const QString &folder) override;
    QString saveFile(QWidget *parent, const QString &title, const QString &filter,
                     const QString &folder) override;
    bool confirm(QWidget *parent, const QString &text) override;
    void error(QWidget *parent, const QString &text) override;
    bool print(QWidget *parent, QPrinter &printer) override;
};
