#pragma once

// A printed page as a picture, for tests that check where the printed sheet
// puts things: the first page of a PDF file rendered by poppler's pdftoppm.

#include <QImage>
#include <QProcess>
#include <QRect>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

/// The first page of `pdf` at `dpi` as an RGB32 picture (written beside the
/// PDF as a PNG file), or only the part `crop` of it (in pixels at that
/// resolution); a null picture when pdftoppm is missing or fails.
inline QImage rasterisePdf(const QString &pdf, double dpi = 100, const QRect &crop = QRect())
{
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
    if (tool.isEmpty())
        return QImage();
    const QString prefix = pdf.chopped(4);
    QStringList arguments{QStringLiteral("-r"), QString::number(dpi, 'g', 10)};
    if (crop.isValid())
        arguments << QStringLiteral("-x") << QString::number(crop.x()) << QStringLiteral("-y")
                  << QString::number(crop.y()) << QStringLiteral("-W")
                  << QString::number(crop.width()) << QStringLiteral("-H")
                  << QString::number(crop.height());
    arguments << QStringLiteral("-png") << QStringLiteral("-singlefile") << pdf << prefix;
    QProcess process;
    process.start(tool, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return QImage();
    return QImage(prefix + QStringLiteral(".png")).convertToFormat(QImage::Format_RGB32);
}
