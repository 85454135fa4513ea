// A long random session over five maps: clicks in every placement mode, undo,
// edge repair and save, each step checked against a plain model of the board
// kept by the test, with memory that must stay flat.

#include "bmpcodec.h"
#include "geometry.h"
#include "mapdocument.h"
#include "raster.h"
#include "testhelpers.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <array>
#include <deque>

namespace {

// The model: the rules written out the simplest way, pixel by pixel, on a
// grey picture (every colour used here is a grey level, index = level).
struct Model {
    QImage picture;
    QImage undo;

    static void put(QImage &p, int x, int y, QRgb c)
    {
        if (p.valid(x, y))
            p.setPixel(x, y, uint(qRed(c)));
    }
    static void stamp(QImage &p, const QImage &s, int x0, int y0)
    {
        for (int y = 0; y < s.height(); ++y)
            for (int x = 0; x < s.width(); ++x) {
                const QRgb c = raster::pixel(s, x, y);
                if (c != raster::kTransparent)
                    put(p, x0 + x, y0 + y, c);
            }
    }
    void click(int x, int y, board::Mode mode, const QImage &s)
    {
        undo = picture;
        const int bx = 32 * ((x - 24) / 32), by = 32 * ((y - 24) / 32);
        switch (mode) {
        case board::Mode::Interior:
            if (s.width() + bx + 25 < picture.width() && s.height() + by + 25 < picture.height())
                stamp(picture, s, bx + 25, by + 25);
            break;
        case board::Mode::Restore: {
            const char letter = board::squareLetter((x - 24) / 32, (y - 24) / 32);
            if (letter)
                stamp(picture, board::squareBitmap(letter), bx + 24, by + 24);
            break;
        }
        case board::Mode::LeftLine:
            stamp(picture, s, bx + 15, by + 25);
            break;
        case board::Mode::TopLine:
            stamp(picture, s, bx + 25, by + 15);
            break;
        case board::Mode::OutLeft:
            stamp(picture, s, bx - 1, by + 25);
            break;
        case board::Mode::OutUp:
            stamp(picture, s, bx + 25, by);
            break;
        case board::Mode::Fill:
            if (picture.valid(x, y) && picture.pixelIndex(x, y) == 255) {
                std::deque<QPoint> todo{QPoint(x, y)};
                while (!todo.empty()) {
                    const QPoint p = todo.front();
                    todo.pop_front();
                    if (!picture.valid(p) || picture.pixelIndex(p) != 255)
                        continue;
                    picture.setPixel(p, 128);
                    todo.push_back(p + QPoint(1, 0));
                    todo.push_back(p + QPoint(-1, 0));
                    todo.push_back(p + QPoint(0, 1));
                    todo.push_back(p + QPoint(0, -1));
                }
            }
            break;
        }
    }
};

long residentKb()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toLong() * 4 : 0;
}

} // namespace

class TestSoak : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void twentyThousandSteps()
    {
        QRandomGenerator random(20261208);
        QTemporaryDir dir;
        std::array<MapDocument, 5> docs;
        std::array<Model, 5> models;
        for (auto &m : models) {
            m.picture = board::defaultBoard().copy();
            m.undo = m.picture;
        }
        // A handful of stamps of the sizes the pieces have, with blue grounds.
        std::vector<QImage> stamps;
        for (const QSize size : {QSize(30, 30), QSize(18, 30), QSize(30, 18), QSize(35, 30),
                                 QSize(30, 35), QSize(62, 94), QSize(254, 222)}) {
            // RGB stamps, like a user's own 24-bit picture.
            QImage s(size, QImage::Format_RGB32);
            s.fill(qRgb(0, 0, 255));
            for (int y = 2; y < size.height() - 2; ++y)
                for (int x = (y % 3); x < size.width() - 2; x += 2)
                    s.setPixel(x, y, qRgb(16 * (x % 16), 16 * (x % 16), 16 * (x % 16)));
            stamps.push_back(s);
        }
        ToolState tool;
        long rssAfterThousand = 0;
        // The sanitizer build runs ten times slower: a shorter session there.
        const bool sanitized = qEnvironmentVariableIsSet("ASAN_OPTIONS");
        const int steps = sanitized ? 2000 : 20000;
        for (int step = 0; step < steps; ++step) {
            const int w = random.bounded(5);
            MapDocument &doc = docs[w];
            Model &model = models[w];
            const int action = random.bounded(100);
            if (action < 90) {
                tool.mode = board::Mode(random.bounded(7));
                tool.stamp = stamps[random.bounded(int(stamps.size()))];
                const int x = random.bounded(900) - 10, y = random.bounded(680) - 10;
                const QImage stampBefore = tool.stamp;
                doc.mouseDown(Qt::LeftButton, x, y, tool);
                model.click(x, y, tool.mode, stampBefore);
            } else if (action < 95) {
                if (doc.canUndo()) {
                    doc.undo();
                    model.picture = model.undo;
                }
            } else if (action < 98) {
                doc.repairEdge();
                model.undo = model.picture;
                const int W = model.picture.width(), H = model.picture.height();
                for (int y = 0; y < H; ++y) {
                    uchar *line = model.picture.scanLine(y);
                    if (y < 24 || y >= H - 24) {
                        std::memset(line, 192, size_t(W));
                    } else {
                        std::memset(line, 192, 24);
                        std::memset(line + W - 24, 192, 24);
                    }
                }
                for (const int inset : {23, 24}) {
                    for (int x = inset; x <= W - 1 - inset; ++x) {
                        model.picture.setPixel(x, inset, 0);
                        model.picture.setPixel(x, H - 1 - inset, 0);
                    }
                    for (int y = inset; y <= H - 1 - inset; ++y) {
                        model.picture.setPixel(inset, y, 0);
                        model.picture.setPixel(W - 1 - inset, y, 0);
                    }
                }
            } else {
                const QString path = dir.filePath(QStringLiteral("karte%1.bmp").arg(w));
                raster::writeBmpFile(doc.picture(), path);
                QVERIFY(samePixels(raster::readBmpFile(path), model.picture));
            }
            if (!samePixels(doc.picture(), model.picture))
                QFAIL(qPrintable(
                    QStringLiteral("map %1 differs from the model at step %2").arg(w).arg(step)));
            if (step == 999)
                rssAfterThousand = residentKb();
        }
        const long rssAtEnd = residentKb();
        qInfo("resident memory after 1000 steps: %ld kB, at the end: %ld kB", rssAfterThousand,
              rssAtEnd);
        if (!sanitized)
            QVERIFY2(rssAtEnd <= rssAfterThousand * 11 / 10, "memory grew during the session");
    }
};

QTEST_GUILESS_MAIN(TestSoak)
#include "test_soak.moc"
