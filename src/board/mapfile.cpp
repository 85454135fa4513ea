#include "mapfile.h"

#include "errors.h"
#include "filenames.h"
#include "userfiles.h"

bool mapfile::supportsFile(const QString &path)
{
    try {
        const std::unique_ptr<QFile> file = userfiles::openForReading(path);
        return file->peek(2) == QByteArrayLiteral("BM");
    } catch (const DkError &) {
        return false;
    }
}

QImage mapfile::read(const QString &path, Format *format)
{
    QImage picture = raster::readBmpFile(path, format ? &format->bmp : nullptr);
    if (picture.isNull())
        throw DkError(errors::invalidBitmap());
    return picture;
}

void mapfile::write(const QImage &picture, const Format &format, const QString &path)
{
    raster::writeBmpFile(picture, path, format.bmp);
}

QString mapfile::saveTarget(const QString &chosen)
{
    if (chosen.contains(QLatin1String(".bmp")))
        return chosen;
    return chosen + QLatin1String(".bmp");
}

QString mapfile::openFailures(const QList<Failure> &failures, int dropped)
{
    if (failures.isEmpty())
        return QString();
    if (dropped == 1)
        return failures.constFirst().error;
    if (failures.size() == 1)
        return QStringLiteral("Die Datei %1 konnte nicht geöffnet werden: %2")
            .arg(filenames::shown(failures.constFirst().path), failures.constFirst().error);
    QString text = QStringLiteral("%1 Dateien konnten nicht geöffnet werden:").arg(failures.size());
    for (const Failure &failure : failures)
        text += QLatin1Char('\n') + filenames::shown(failure.path) + QStringLiteral(": ") +
                failure.error;
    return text;
}

QString mapfile::closeQuestion(const QString &caption)
{
    return QStringLiteral("Änderungen an ") + caption + QStringLiteral(" speichern?");
}

QString mapfile::changedOnDiskQuestion(const QString &caption)
{
    return QStringLiteral("Die Datei ") + caption +
           QStringLiteral(" wurde außerhalb von DK-Edit geändert. Trotzdem speichern?");
}
