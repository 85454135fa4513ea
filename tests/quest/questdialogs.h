#pragma once

#include "dialogs.h"

#include <QQueue>
#include <QStringList>

/// Dialogs that answer from a script and record what they were asked, so the
/// quest editor's handlers run without any modal window.
class QuestScriptedDialogs : public Dialogs {
public:
    QQueue<QString> openAnswers;  ///< paths to "choose"; empty string = cancel
    QQueue<QString> saveAnswers;
    QQueue<bool> confirmAnswers;  ///< missing answers count as No
    QStringList asked;            ///< texts of the confirmations shown
    QStringList errors;           ///< texts of the errors reported
    QStringList filters;          ///< filters of the file dialogs, in order

    QString openFile(QWidget *, const QString &, const QString &filter) override
    {
        filters << filter;
        return openAnswers.isEmpty() ? QString() : openAnswers.dequeue();
    }
    QString saveFile(QWidget *, const QString &, const QString &filter) override
    {
        filters << filter;
        return saveAnswers.isEmpty() ? QString() : saveAnswers.dequeue();
    }
    bool confirm(QWidget *, const QString &text) override
    {
        asked << text;
        return confirmAnswers.isEmpty() ? false : confirmAnswers.dequeue();
    }
    void error(QWidget *, const QString &text) override { errors << text; }
    bool print(QWidget *, QPrinter &) override { return false; }
};
