#include "geometry.h"

#include "artwork.h"
#include "raster.h"

namespace board {

namespace {

// The colour table of the default board: 256 greys, entry i of level i.
QVector<QRgb> greyRamp()
{
    QVector<QRgb> table(256);
    for (int i = 0; i < 256; ++i)
        table[i] = qRgb(i, i, i);
    return table;
}

} // namespace

const char kSquareTable[kColumns * kRows + 1] = "KJJJJJJJJJJJVWJJJJJJJJJJJL"
                                                "IFBBEFBBEFBECDFBEFBBEFBBEI"
                                                "ICSSDCSSDCSDCDCSDCSSDCSSDI"
                                                "IHAAGHAAGCSDCDCSDCSSDCSSDI"
                                                "IFBBEFBBECSDCDCSDHAAGHAAGI"
                                                "ICSSDCSSDHAGCDHAGFBBEFBBEI"
                                                "ICSSDCSSDKJJXYJJLCSSDCSSDI"
                                                "ICSSDCSSDIFBBBBEICSSDCSSDI"
                                                "IHAAGHAAGICSSSSDIHAAGHAAGI"
                                                "UJJJJJJJJTCSSSSDUJJJJJJJJT"
                                                "IFBBEFEFEICSSSSDIFBBEFBBEI"
                                                "ICSSDCDCDIHAAAAGICSSDCSSDI"
                                                "ICSSDHGHGHJJVWJJNHQSDCSSDI"
                                                "IHAAGFBBEFBECDFBBEHAGHAAGI"
                                                "IFBBECSSDCSDCDCSSDFBEFBBEI"
                                                "ICSSDCSSDCSDCDCSSDCSDCSSDI"
                                                "ICSSDCSSDCSDCDCSSDCSDCSSDI"
                                                "IHAAGHAAGHAGCDHAAGHAGHAAGI"
                                                "MJJJJJJJJJJJXYJJJJJJJJJJJN";

Square squareAt(int x, int y)
{
    // C++ integer division truncates toward zero, which is the rule wanted:
    // a pixel left of or above the grid maps to column 0 or row 0.
    return Square{(x - kMargin) / kPitch, (y - kMargin) / kPitch};
}

QPoint snapBase(int x, int y)
{
    const Square s = squareAt(x, y);
    return QPoint(kPitch * s.column, kPitch * s.row);
}

char squareLetter(int column, int row)
{
    if (column < 0 || column >= kColumns || row < 0 || row >= kRows)
        return 0;
    return kSquareTable[kColumns * row + column];
}

QImage squareBitmap(char letter)
{
    return artwork::bitmap(QString(QLatin1Char(letter)));
}

QImage defaultBoard()
{
    return artwork::bitmap(QStringLiteral("BOARD"));
}

void drawEdge(QImage &picture)
{
    const int w = picture.width();
    const int h = picture.height();
    raster::fillRect(picture, QRect(0, 0, w, kMargin), kSilver);
    raster::fillRect(picture, QRect(0, 0, kMargin, h), kSilver);
    raster::fillRect(picture, QRect(w - kMargin, 0, kMargin, h), kSilver);
    raster::fillRect(picture, QRect(0, h - kMargin, w, kMargin), kSilver);
    raster::drawOutline(picture, QRect(QPoint(23, 23), QPoint(w - 24, h - 24)), kBlack);
    raster::drawOutline(picture, QRect(QPoint(24, 24), QPoint(w - 25, h - 25)), kBlack);
}

QImage composeBoard(const std::function<QImage(char)> &squareOf)
{
    QImage picture(kWidth, kHeight, QImage::Format_Indexed8);
    picture.setColorTable(greyRamp());
    picture.setDotsPerMeterX(3780);
    picture.setDotsPerMeterY(3780);
    raster::fillRect(picture, picture.rect(), kSilver);
    drawEdge(picture);
    for (int row = 0; row < kRows; ++row)
        for (int column = 0; column < kColumns; ++column)
            raster::drawOpaque(picture, squareOf(squareLetter(column, row)),
                               kMargin + kPitch * column, kMargin + kPitch * row);
    return picture;
}

} // namespace board
