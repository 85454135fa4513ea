#pragma once

#include "filenames.h"

#include <QString>
#include <stdexcept>

/// An error that ends the handler in which it arises and is shown by the
/// program-wide error report. Its text is what the user reads.
class DkError : public std::runtime_error {
public:
    explicit DkError(const QString &text) : std::runtime_error(text.toStdString()), m_text(text) {}
    QString text() const { return m_text; }

private:
    QString m_text;
};

namespace errors {
// The file is named as it shows: bytes that are not UTF-8 as U+FFFD.
inline QString cannotOpen(const QString &path)
{
    return QStringLiteral("Cannot open file %1").arg(filenames::shown(path));
}
inline QString cannotCreate(const QString &path)
{
    return QStringLiteral("Cannot create file %1").arg(filenames::shown(path));
}
inline QString invalidBitmap()
{
    return QStringLiteral("Bitmap image is not valid");
}
inline QString outOfMemory()
{
    return QStringLiteral("Out of memory");
}
inline QString noPrinter()
{
    return QStringLiteral("There is no default printer currently selected");
}

/// The text of the error report: a full stop is appended when the text's last
/// character sorts after the full stop (a letter or a digit, for instance).
QString reportText(const QString &text);
} // namespace errors
