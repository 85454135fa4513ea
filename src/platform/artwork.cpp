#include "artwork.h"

#include "bmpcodec.h"
#include "errors.h"

#include <QBitmap>
#include <QDir>
#include <QHash>
#include <QPixmap>

namespace {
QHash<QString, QImage> &cache()
{
    static QHash<QString, QImage> images;
    return images;
}
} // namespace

QString artwork::bitmapPath(const QString &name)
{
    return QStringLiteral(":/artwork/bitmaps/%1.bmp").arg(name);
}

bool artwork::hasBitmap(const QString &name)
{
    return QFile::exists(bitmapPath(name));
}

QImage artwork::bitmap(const QString &name)
{
    auto &images = cache();
    const auto it = images.constFind(name);
    if (it != images.constEnd())
        return *it;
    if (!hasBitmap(name))
        throw DkError(errors::cannotOpen(name));
    QImage image = raster::readBmpFile(bitmapPath(name));
    images.insert(name, image);
    return image;
}

QStringList artwork::bitmapNames()
{
    QStringList names;
    const auto entries =
        QDir(QStringLiteral(":/artwork/bitmaps")).entryList(QDir::Files, QDir::Name);
    for (const QString &entry : entries)
        names << entry.chopped(4);
    return names;
}

QPoint artwork::cursorHotSpot(const QString &name)
{
    if (name == QLatin1String("EMPTYCURSOR"))
        return QPoint(1, 1);
    if (name == QLatin1String("CROSS"))
        return QPoint(15, 15);
    return QPoint(0, 0);
}

QCursor artwork::cursor(const QString &name)
{
    const QString path = QStringLiteral(":/artwork/cursors/%1.png").arg(name);
    QPixmap pixmap(path);
    if (pixmap.isNull())
        throw DkError(errors::cannotOpen(name));
    const QPoint hot = cursorHotSpot(name);
    return QCursor(pixmap, hot.x(), hot.y());
}
