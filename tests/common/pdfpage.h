#pragma once

// A printed page as a picture, for tests that check where the printed sheet
// puts things: the first page of a PDF file rendered by poppler's pdftoppm.

#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

/// The first page of `pdf` at `dpi` as an RGB32 picture (written beside the
/// PDF as a PNG file); a null picture when pdftoppm is missing or fails.
inline QImage rasterisePdf(const QString &pdf, int dpi = 100)
{
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
    if (tool.isEmpty())
        return QImage();
    const QString prefix = pdf.chopped(4);
    QProcess process;
    process.start(tool, {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-png"),
                         QStringLiteral("-singlefile"), pdf, prefix});
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return QImage();
    return QImage(prefix + QStringLiteral(".png")).convertToFormat(QImage::Format_RGB32);
}
