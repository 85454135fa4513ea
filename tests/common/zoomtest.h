#pragma once

#include "zoom.h"

#include <QMetaType>
#include <QString>
#include <QTest>

// Zooms as data of data-driven tests, shown as "num/den" in messages.
Q_DECLARE_METATYPE(board::Zoom)

namespace board {
inline char *toString(const Zoom &zoom)
{
    return QTest::toString(QStringLiteral("%1/%2").arg(zoom.num).arg(zoom.den));
}
} // namespace board
