#pragma once

#include <QCursor>
#include <QImage>
#include <QString>

/// The program's own pictures and cursors, looked up by resource name
/// ("GOBLIN", "ALTAR3", "A", "BOARD", ...).
namespace artwork {

/// The bitmap of that name, in its stored format (stamps are 4-bit pictures
/// held as Indexed8). Throws DkError for a name the program does not carry.
QImage bitmap(const QString &name);

/// Whether a bitmap of that name exists.
bool hasBitmap(const QString &name);

/// The names of every bitmap the program carries, sorted.
QStringList bitmapNames();

/// A cursor of the program's own ("EMPTYCURSOR", "CROSS") with its hot spot.
QCursor cursor(const QString &name);

/// The hot spot of one of the program's cursors.
QPoint cursorHotSpot(const QString &name);

/// Resource path of a bitmap, for code that needs the file itself.
QString bitmapPath(const QString &name);

} // namespace artwork
