#include "aboutbox.h"

#include "artwork.h"
#include "raster.h"
#include "readability.h"

#include <QBitmap>
#include <QGuiApplication>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>

namespace {
const QColor kGround(240, 240, 240);

// The logo is drawn transparent: the colour of its bottom-left pixel is left out.
QPixmap transparentLogo()
{
    if (!artwork::hasBitmap(QStringLiteral("LOGO")))
        return QPixmap();
    const QImage image =
        artwork::bitmap(QStringLiteral("LOGO")).convertToFormat(QImage::Format_RGB32);
    QPixmap pixmap = QPixmap::fromImage(image);
    const QRgb key = image.pixel(0, image.height() - 1);
    pixmap.setMask(QBitmap::fromImage(image.createMaskFromColor(key, Qt::MaskInColor)));
    return pixmap;
}
} // namespace

AboutBox::AboutBox(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setWindowTitle(QStringLiteral("Info..."));
    setModal(true);
    setFixedSize(225, 207);
    // The logo is drawn for a light ground (its red line would vanish on a
    // dark one): the box keeps a light grey under every theme, and its texts
    // a colour that reads on it. The OK button follows the theme.
    setPalette(readability::onFixedGround(palette(), kGround));

    m_logo = new QLabel(this);
    m_logo->setGeometry(12, 8, 200, 70);
    m_logo->setAlignment(Qt::AlignCenter);
    m_logo->setPixmap(transparentLogo());

    // The program's title face is rarely installed; a bold serif stands in.
    m_title = new QLabel(QStringLiteral("DEVA V1.6b"), this);
    QFont titleFont;
    titleFont.setFamilies({QStringLiteral("Lithograph"), QStringLiteral("DejaVu Serif"),
                           QStringLiteral("Liberation Serif")});
    titleFont.setStyleHint(QFont::Serif);
    titleFont.setPixelSize(21);
    titleFont.setBold(true);
    m_title->setFont(titleFont);
    m_title->setAlignment(Qt::AlignCenter);
    m_title->setGeometry(0, 82, 225, 32);

    const QStringList credits = {QStringLiteral("Ein Karteneditor für Dunkelkrone"),
                                 QStringLiteral("geschrieben vom Autor von DK-Edit")};
    int y = 120;
    for (const QString &line : credits) {
        auto *label = new QLabel(line, this);
        label->setAlignment(Qt::AlignCenter);
        label->setGeometry(0, y, 225, 18);
        y += 20;
    }

    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setDefault(true);
    ok->setGeometry(75, 170, 75, 27);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    // The map windows' zoom keys, for whoever rests the mouse on the box.
    setToolTip(QStringLiteral("Zoom in Kartenfenstern (25 % bis 800 %):\n"
                              "Strg+Mausrad: am Mauszeiger\n"
                              "Strg++ / Strg+-: eine Stufe größer / kleiner\n"
                              "Strg+0: 100 %\n"
                              "Strg+/ oder Strg+9: ganze Karte"));

    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}
