#pragma once

#include "bmpcodec.h"

#include <QImage>
#include <QList>
#include <QString>

/// Map files: the one place that knows how a map is stored. A map file is a
/// BMP picture of the board, of any size and depth, and is written back in
/// the pixel format it was read in. Whoever opens or saves a map (the map
/// window, the frame window's "Öffnen..." and drops, the command line, the
/// quest editor's map picture) goes through here.
namespace mapfile {

/// How a map's file stores its pixels: read with the picture, kept by the
/// map's document and written back by every save, so that a map keeps the
/// format its file had. The default (a map that never came from a file) lets
/// the picture decide.
struct Format {
    raster::BmpFormat bmp;

    bool operator==(const Format &other) const { return bmp == other.bmp; }
    bool operator!=(const Format &other) const { return !(*this == other); }
};

/// Filter of the open dialogs for map pictures.
inline const QString kOpenFilter = QStringLiteral("Bitmaps (*.bmp)|*.bmp");
/// Filter of the map window's save dialog.
inline const QString kSaveFilter = QStringLiteral("Bitmaps|*.bmp");
/// Caption of a map that has no file yet.
inline const QString kNewCaption = QStringLiteral("New*");

/// Whether the file holds a map picture of a format read here, judged by its
/// first bytes (a BMP, whatever its name). False for a file that cannot be
/// read.
bool supportsFile(const QString &path);

/// Reads a map file. Throws DkError "Cannot open file %1" or "Bitmap image is
/// not valid"; an empty file is no picture either. `format`, when given,
/// receives how the file stores its pixels, for saving the map.
QImage read(const QString &path, Format *format = nullptr);

/// Writes the picture as a map file in `format` (as read, or the default for
/// a new map), replacing the file at `path` only once the new one is
/// complete. Throws DkError "Cannot create file %1".
void write(const QImage &picture, const Format &format, const QString &path);

/// The path a save-as writes to: the chosen name as it is when it contains
/// ".bmp" anywhere (case-sensitive), otherwise the name with ".bmp" appended.
QString saveTarget(const QString &chosen);

/// A file that could not be opened, with the error's text.
struct Failure {
    QString path;
    QString error;
};

/// The one error report for the files of a drop that could not be opened:
/// for a single dropped file its own error text (as "Öffnen..." gives it),
/// for several files a list naming each file that failed with its error.
QString openFailures(const QList<Failure> &failures, int dropped);

/// The question asked before a modified map is closed.
QString closeQuestion(const QString &caption);

/// The question asked before a save writes over a file that was changed on
/// the disk since the map read or last wrote it.
QString changedOnDiskQuestion(const QString &caption);

} // namespace mapfile
