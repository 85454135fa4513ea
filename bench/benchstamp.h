#pragma once

#include <QImage>

/// A stamp like the goblin: 30 x 30, indexed, grey with its left column of
/// pure blue left out.
inline QImage goblinLike()
{
    QImage s(30, 30, QImage::Format_Indexed8);
    s.setColorTable({qRgb(0, 0, 255), qRgb(64, 64, 64)});
    s.fill(1);
    for (int i = 0; i < 30; ++i)
        s.scanLine(i)[0] = 0;
    return s;
}
