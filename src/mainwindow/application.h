#pragma once

#include <QApplication>
#include <QString>

/// The application object. Its notify override is the program-wide error
/// report: an error that no handler catches ends the handler it arose in and
/// is shown in a message box (stop icon, the application title "DK-Edit" as
/// caption); the program then goes on with the next event.
class Application : public QApplication {
    Q_OBJECT
public:
    /// The application title, shown on the task bar and as the caption of the
    /// error report.
    static inline const QString kTitle = QStringLiteral("DK-Edit");

    Application(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;

    /// Shows an error text as the error report does (a full stop appended
    /// when the text ends in a letter or digit).
    static void reportError(const QString &text);
};
