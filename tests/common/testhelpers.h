#pragma once

#include "errors.h"

#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QString>

#include <cstring>

/// The text of the DkError that `run` throws, or an empty string when it
/// throws none.
template <class F> QString errorOf(F &&run)
{
    try {
        run();
    } catch (const DkError &e) {
        return e.text();
    }
    return QString();
}

/// The whole content of a file; empty when it cannot be read.
inline QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

/// Two pictures hold the same bytes: size, format, colour table and every
/// row's pixels (the padding at the rows' ends aside).
inline bool samePixels(const QImage &a, const QImage &b)
{
    if (a.size() != b.size() || a.format() != b.format() || a.colorTable() != b.colorTable())
        return false;
    const size_t bytes = (size_t(a.width()) * size_t(a.depth()) + 7) / 8;
    for (int y = 0; y < a.height(); ++y)
        if (std::memcmp(a.constScanLine(y), b.constScanLine(y), bytes) != 0)
            return false;
    return true;
}
