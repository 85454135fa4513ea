#include "artgen.h"

#include "bmpcodec.h"
#include "raster.h"

#include <QDir>

namespace artgen {

void Writer::bitmap(const QString &name, const QImage &picture)
{
    QDir().mkpath(m_dir + QStringLiteral("/bitmaps"));
    raster::writeBmpFile(picture,
                         m_dir + QStringLiteral("/bitmaps/") + name + QStringLiteral(".bmp"));
}

void Writer::cursor(const QString &name, const QImage &picture)
{
    QDir().mkpath(m_dir + QStringLiteral("/cursors"));
    picture.save(m_dir + QStringLiteral("/cursors/") + name + QStringLiteral(".png"));
}

QVector<QRgb> stampPalette()
{
    QVector<QRgb> table;
    table << qRgb(0, 0, 255);
    for (int level : {0, 32, 48, 64, 80, 96, 112, 128, 144, 160, 176, 192, 208, 224, 255})
        table << qRgb(level, level, level);
    return table;
}

QImage toIndexed(const QImage &rgb, const QVector<QRgb> &table)
{
    const QImage src = rgb.convertToFormat(QImage::Format_RGB32);
    QImage out(src.size(), QImage::Format_Indexed8);
    out.setColorTable(table);
    for (int y = 0; y < src.height(); ++y) {
        const auto *in = reinterpret_cast<const QRgb *>(src.constScanLine(y));
        uchar *line = out.scanLine(y);
        for (int x = 0; x < src.width(); ++x)
            line[x] = uchar(raster::nearestIndex(table, in[x]));
    }
    return out;
}

} // namespace artgen
