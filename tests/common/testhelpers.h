#pragma once

#include "errors.h"

#include <QByteArray>
#include <QFile>
#include <QString>

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
