#include "application.h"

#include "bmpcodec.h"
#include "dialogs.h"
#include "errors.h"
#include "themeicons.h"

#include <QLibraryInfo>
#include <QWidget>

#include <dlfcn.h>
#include <future>

namespace {

std::future<void> &fontConfiguration()
{
    static std::future<void> reading;
    return reading;
}

// The system's font configuration (some hundred files of XML, read once per
// process before the first text is measured) is read on a thread of its own
// while the toolkit connects to the display. The toolkit reads it through
// the same library, which keeps one configuration for the process and takes
// the one made here; a plain C call, so nothing of the toolkit runs on that
// thread before the application object exists.
int &startReadingFontConfiguration(int &argc)
{
    fontConfiguration() = std::async(std::launch::async, [] {
        void *library = dlopen("libfontconfig.so.1", RTLD_LAZY | RTLD_NOLOAD);
        if (!library)
            return;
        if (auto init = reinterpret_cast<int (*)()>(dlsym(library, "FcInit")))
            init();
        dlclose(library);
    });
    return argc;
}

} // namespace

Application::Application(int &argc, char **argv)
    : QApplication(startReadingFontConfiguration(argc), argv)
{
    // The application name doubles as the display name (the error report's
    // caption); setting the display name itself would append " — DK-Edit"
    // to every window caption.
    setApplicationName(kTitle);
    setApplicationVersion(QStringLiteral(DK_VERSION));
    // The icon theme is read on a thread of its own while the first window
    // is built.
    themeicons::startReading();
    // Windows without an icon of their own (the frame, every map window, the
    // dialogs) show the application's.
    setWindowIcon(programIcon());
    loadToolkitTranslation(QLocale::system());
}

void Application::finishReadingAhead()
{
    if (fontConfiguration().valid())
        fontConfiguration().wait();
    themeicons::finishReading();
}

QIcon Application::programIcon()
{
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256}) {
        // The codec keeps a 32-bit file's alpha in the alpha bytes.
        QImage picture = raster::readBmpFile(QStringLiteral(":/icons/dkedit-%1.bmp").arg(size));
        picture.reinterpretAsFormat(QImage::Format_ARGB32);
        icon.addPixmap(QPixmap::fromImage(picture));
    }
    return icon;
}

bool Application::loadToolkitTranslation(const QLocale &locale)
{
    removeTranslator(&m_toolkitTranslation);
    // Right-to-left languages would mirror the windows; their layout is fixed.
    setLayoutDirection(Qt::LeftToRight);
    if (!m_toolkitTranslation.load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                                   QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    return installTranslator(&m_toolkitTranslation);
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
