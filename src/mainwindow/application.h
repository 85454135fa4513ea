#pragma once

#include <QApplication>
#include <QIcon>
#include <QLocale>
#include <QString>
#include <QTranslator>

/// The application object. Its notify override is the program-wide error
/// report: an error that no handler catches ends the handler it arose in and
/// is shown in a message box (stop icon, the application title "DK-Edit" as
/// caption); the program then goes on with the next event.
///
/// It also gives every window the program's icon and loads the toolkit's own
/// translations for the system's language.
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

    /// The program's icon (the board with the crown) in every size it ships.
    static QIcon programIcon();

    /// Loads the toolkit's own translations for `locale` (file and print
    /// dialogs, the standard context menus of text fields) in place of any
    /// loaded before. The program's own texts are German and fixed: they
    /// never pass through a translation, and the layout stays left to right
    /// in every language. Returns false when Qt has no translation for it.
    bool loadToolkitTranslation(const QLocale &locale);

    /// Waits until what the constructor started reading on threads of their
    /// own (the font configuration, the icon theme) is read. Needed before a
    /// fork: a thread inside the allocator at that moment would leave its
    /// lock taken in the child for good.
    static void finishReadingAhead();

private:
    QTranslator m_toolkitTranslation;
};
