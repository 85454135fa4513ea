#include "themeicons.h"

#include <QApplication>
#include <QWidget>

#include <future>

namespace {

std::future<void> &reading()
{
    static std::future<void> ahead;
    return ahead;
}

} // namespace

void themeicons::startReading()
{
    // The theme's name is settled here, on the thread that owns the toolkit;
    // the other thread only looks up one icon the style asks for, which
    // reads the theme and keeps it.
    if (QIcon::themeName().isEmpty() || reading().valid())
        return;
    reading() = std::async(std::launch::async,
                           [] { (void)QIcon::fromTheme(QStringLiteral("dialog-ok")).isNull(); });
}

void themeicons::finishReading()
{
    if (reading().valid())
        reading().get();
}

QIcon themeicons::standardIcon(QStyle::StandardPixmap which, const QWidget *widget)
{
    finishReading();
    QStyle *style = widget ? widget->style() : QApplication::style();
    return style->standardIcon(which, nullptr, widget);
}
