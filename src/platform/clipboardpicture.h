#pragma once

#include <QImage>

class QMimeData;

/// Pictures on the clipboard, in and out.
namespace clipboardpicture {

/// The clipboard content for a map picture ("In Zwischenablage kopieren"):
/// the picture itself for this program, and for another program that asks
/// for "image/bmp" the bytes of our own BMP writer, made when asked. (Qt's
/// BMP writer would copy each row's padding from memory.)
QMimeData *mimeData(const QImage &picture);

/// The picture the clipboard content holds, or a null picture when it holds
/// none. BMP data ("image/bmp" and its other names) is decoded by our own BMP
/// reader, so pixels the data does not give are zero; BMP data that is no
/// valid picture counts as no picture. Other picture types come through Qt.
QImage picture(const QMimeData *data);

} // namespace clipboardpicture
