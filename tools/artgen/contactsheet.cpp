// Renders every bitmap the program carries at twice its size on one page,
// each with its name and size below it, so the whole set can be judged at a
// glance. Usage: contactsheet <output.png> [scale] [name pattern]

#include "artwork.h"
#include "errors.h"

#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <cstdio>
#include <cstdlib>

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: contactsheet <output.png>\n");
        return 2;
    }
    const int scale = argc > 2 ? qBound(1, atoi(argv[2]), 8) : 2;
    const QRegularExpression pattern(argc > 3 ? QString::fromLocal8Bit(argv[3])
                                              : QStringLiteral("."));
    const int pageWidth = 1800;
    const int gap = 12;
    const int labelHeight = 28;
    struct Cell {
        QString name;
        QImage picture;
        QRect box;
    };
    QVector<Cell> cells;
    int x = gap, y = gap, rowHeight = 0;
    try {
        for (const QString &name : artwork::bitmapNames()) {
            if (!pattern.match(name).hasMatch())
                continue;
            const QImage picture = artwork::bitmap(name);
            const int w = qMax(picture.width() * scale, 110);
            const int h = picture.height() * scale + labelHeight;
            if (x + w > pageWidth - gap) {
                x = gap;
                y += rowHeight + gap;
                rowHeight = 0;
            }
            cells.append({name, picture, QRect(x, y, w, h)});
            x += w + gap;
            rowHeight = qMax(rowHeight, h);
        }
    } catch (const DkError &e) {
        std::fprintf(stderr, "contactsheet: %s\n", qPrintable(e.text()));
        return 1;
    }
    QImage page(pageWidth, y + rowHeight + gap, QImage::Format_RGB32);
    // A board-like grey page, so blue grounds and white pieces both show.
    page.fill(QColor(200, 200, 200));
    QPainter p(&page);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(11);
    p.setFont(font);
    for (const Cell &cell : cells) {
        const QImage big = cell.picture.scaled(cell.picture.size() * scale, Qt::IgnoreAspectRatio,
                                               Qt::FastTransformation);
        p.drawImage(cell.box.topLeft(), big);
        const QRect label(cell.box.left(), cell.box.top() + big.height() + 2, cell.box.width(),
                          labelHeight - 2);
        p.setPen(Qt::black);
        p.drawText(label, Qt::AlignLeft | Qt::AlignTop,
                   QStringLiteral("%1\n%2x%3 %4bit")
                       .arg(cell.name)
                       .arg(cell.picture.width())
                       .arg(cell.picture.height())
                       .arg(cell.picture.colorCount() <= 16 ? 4 : 8));
    }
    p.end();
    if (!page.save(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "contactsheet: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
