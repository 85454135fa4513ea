#pragma once

#include <QString>
#include <QStringList>

class QWidget;
class QPrinter;

/// Every modal interaction of the program goes through this interface: file
/// dialogs, the Yes/No question, the error report and the print dialog. The
/// real one shows Qt's dialogs; tests install one that answers from a script,
/// so no test ever waits on a modal window.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    /// File-open dialog; returns the chosen path, or an empty string when cancelled.
    virtual QString openFile(QWidget *parent, const QString &title, const QString &filter) = 0;

    /// File-save dialog (asks nothing before overwriting); empty when cancelled.
    virtual QString saveFile(QWidget *parent, const QString &title, const QString &filter) = 0;

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

/// Qt's own dialogs.
class QtDialogs : public Dialogs {
public:
    QString openFile(QWidget *parent, const QString &title, const QString &filter) override;
    QString saveFile(QWidget *parent, const QString &title, const QString &filter) override;
    bool confirm(QWidget *parent, const QString &text) override;
    void error(QWidget *parent, const QString &text) override;
    bool print(QWidget *parent, QPrinter &printer) override;
};
