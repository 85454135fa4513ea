#include "application.h"

#include "dialogs.h"
#include "errors.h"

#include <QWidget>

Application::Application(int &argc, char **argv) : QApplication(argc, argv)
{
    // The application name doubles as the display name (the error report's
    // caption); setting the display name itself would append " — DK-Edit"
    // to every window caption.
    setApplicationName(kTitle);
}

bool Application::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const DkError &error) {
        reportError(error.text());
    } catch (const std::exception &error) {
        reportError(QString::fromLocal8Bit(error.what()));
    }
    return false;
}

void Application::reportError(const QString &text)
{
    QWidget *parent = QApplication::activeModalWidget();
    if (!parent)
        parent = QApplication::activeWindow();
    dialogs().error(parent, errors::reportText(text));
}
