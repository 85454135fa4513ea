#pragma once

#include "bmpcodec.h"
#include "errors.h"

#include <QAccessible>
#include <QByteArray>
#include <QColor>
#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QPaintEvent>
#include <QRegion>
#include <QString>

#include <cstring>

/// Runs what the event loop has queued: queued commands, then the windows
/// they closed (deferred deletes), then what those left behind.
inline void flush()
{
    for (int i = 0; i < 2; ++i) {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    QCoreApplication::processEvents();
}

/// The text of the DkError that `run` throws, or an empty string when it
/// throws none.
template <class F> QString errorOf(F &&run)
{
    try {
        run();
    } catch (const DkError &e) {
        return e.text();
    }
    return QString();
}

/// The whole content of a file; empty when it cannot be read.
inline QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

/// Writes `bytes` as the whole content of `path`; false when it cannot.
inline bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

/// A picture of one colour (RGB32).
inline QImage solidPicture(int w, int h, const QColor &colour)
{
    QImage picture(w, h, QImage::Format_RGB32);
    picture.fill(colour);
    return picture;
}

/// An 8-bit picture with a grey colour table (index i is qRgb(i, i, i)),
/// every pixel of grey `level`.
inline QImage greyPicture(int w, int h, int level)
{
    QImage picture(w, h, QImage::Format_Indexed8);
    QVector<QRgb> table;
    for (int i = 0; i < 256; ++i)
        table << qRgb(i, i, i);
    picture.setColorTable(table);
    picture.fill(uint(level));
    return picture;
}

/// A picture of one colour written as the BMP file `path`; returns `path`.
inline QString writeSolidBmp(const QString &path, const QColor &colour, int w = 64, int h = 48)
{
    raster::writeBmpFile(solidPicture(w, h, colour), path);
    return path;
}

/// What assistive technology reads as the name of a widget.
inline QString accessibleName(QObject *widget)
{
    QAccessibleInterface *face = QAccessible::queryAccessibleInterface(widget);
    return face ? face->text(QAccessible::Name) : QString();
}

/// Two pictures hold the same bytes: size, format, colour table and every
/// row's pixels (the padding at the rows' ends aside).
inline bool samePixels(const QImage &a, const QImage &b)
{
    if (a.size() != b.size() || a.format() != b.format() || a.colorTable() != b.colorTable())
        return false;
    const size_t bytes = (size_t(a.width()) * size_t(a.depth()) + 7) / 8;
    for (int y = 0; y < a.height(); ++y)
        if (std::memcmp(a.constScanLine(y), b.constScanLine(y), bytes) != 0)
            return false;
    return true;
}

/// Collects what a widget paints.
class PaintSpy : public QObject {
public:
    explicit PaintSpy(QObject *widget) { widget->installEventFilter(this); }

    /// The region `action` makes the widget paint, up to the next pass of
    /// the event loop.
    template <class F> QRegion repaintOf(F &&action)
    {
        m_painted = QRegion();
        action();
        QCoreApplication::processEvents();
        return m_painted;
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            m_painted += static_cast<QPaintEvent *>(event)->region();
        return false;
    }

private:
    QRegion m_painted;
};

// A memory limit (ulimit -v) cannot hold AddressSanitizer's shadow memory:
// tests that run a child under one skip in the sanitizer build.
#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define DK_TEST_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) || defined(DK_TEST_ASAN)
#define SKIP_UNDER_MEMORY_LIMIT_WITH_SANITIZER()                                                   \
    QSKIP("a memory limit cannot be set under AddressSanitizer")
#else
#define SKIP_UNDER_MEMORY_LIMIT_WITH_SANITIZER() (void)0
#endif
