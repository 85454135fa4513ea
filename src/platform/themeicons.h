#pragma once

#include <QIcon>
#include <QStyle>

class QWidget;

/// The desktop's icon theme, read ahead. Looking up a themed icon first reads
/// the theme's index (thousands of lines for the common fallback theme), a
/// good part of the start-up. The application object starts that reading on
/// a thread of its own as soon as the toolkit runs; the style's standard
/// icons come through here, which waits for it, so that the icon loader is
/// never used by two threads at once.
namespace themeicons {

/// Starts reading the icon theme (once the application object exists).
void startReading();

/// Waits until the icon theme is read (when its reading was started).
void finishReading();

/// The style's standard icon, as `widget` would get it.
QIcon standardIcon(QStyle::StandardPixmap which, const QWidget *widget = nullptr);

} // namespace themeicons
