// Under a dark theme every caption of the palette pages and of the about box
// stays legible: measured on the rendered pixels, text against its ground.

#include "aboutbox.h"
#include "palette.h"
#include "readability.h"
#include "toolstate.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QStyleOptionGroupBox>
#include <QTabBar>
#include <QTabWidget>
#include <QtTest>

namespace {

QPalette darkPalette()
{
    QPalette dark(QColor(60, 60, 60), QColor(53, 53, 53));
    for (QPalette::ColorRole text : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        dark.setColor(text, QColor(238, 238, 238));
    dark.setColor(QPalette::Base, QColor(45, 45, 45));
    return dark;
}

// The contrast of a text drawn within `box` of `shot`: the ground is the
// commonest colour there, the text the pixel that stands out most from it.
double textContrast(const QImage &shot, const QRect &box)
{
    QHash<QRgb, int> counts;
    const QRect inside = box & shot.rect();
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            ++counts[shot.pixel(x, y)];
    QRgb ground = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        if (it.value() > counts.value(ground))
            ground = it.key();
    double best = 1;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        best = std::max(best, readability::contrastRatio(QColor(ground), QColor(it.key())));
    return best;
}

QRect titleRect(QGroupBox *box)
{
    QStyleOptionGroupBox option;
    option.initFrom(box);
    option.text = box->title();
    option.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
    option.textAlignment = box->alignment();
    return box->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel,
                                        box);
}

// Every caption in `window`: group titles, button and label texts, tabs.
// Returns "caption: contrast" for each one below the minimum.
QStringList illegibleCaptions(QWidget *window)
{
    QStringList failures;
    auto check = [&](const QImage &shot, const QString &caption, const QRect &box) {
        const double contrast = textContrast(shot, box);
        if (contrast < readability::kMinimumContrast)
            failures << QStringLiteral("%1: %2").arg(caption).arg(contrast, 0, 'f', 2);
    };
    const QImage shot = window->grab().toImage().convertToFormat(QImage::Format_RGB32);
    int captions = 0;
    for (QWidget *w : window->findChildren<QWidget *>()) {
        if (!w->isVisibleTo(window))
            continue;
        const QPoint at = w->mapTo(window, QPoint());
        if (auto *box = qobject_cast<QGroupBox *>(w)) {
            check(shot, box->title(), titleRect(box).translated(at));
        } else if (auto *button = qobject_cast<QAbstractButton *>(w)) {
            if (button->text().isEmpty())
                continue;
            // The glyph beside a caption is no text: measured without it.
            const QIcon icon = button->icon();
            button->setIcon(QIcon());
            check(button->grab().toImage().convertToFormat(QImage::Format_RGB32), button->text(),
                  button->rect().adjusted(3, 3, -3, -3));
            button->setIcon(icon);
        } else if (auto *label = qobject_cast<QLabel *>(w)) {
            if (label->text().isEmpty())
                continue;
            check(shot, label->text(), label->contentsRect().translated(at));
        } else if (auto *tabs = qobject_cast<QTabBar *>(w)) {
            for (int i = 0; i < tabs->count(); ++i) // the tabs scrolled into view
                if (tabs->rect().contains(tabs->tabRect(i)))
                    check(shot, tabs->tabText(i), tabs->tabRect(i).translated(at));
        } else {
            continue;
        }
        ++captions;
    }
    if (captions == 0)
        failures << QStringLiteral("no caption found");
    return failures;
}

} // namespace

class TestDarkTheme : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        // Run under a real dark desktop theme (test_darktheme_gtk3), the
        // palette is the theme's own.
        if (qEnvironmentVariableIsEmpty("DK_DESKTOP_THEME"))
            QApplication::setPalette(darkPalette());
        else if (readability::contrastRatio(QApplication::palette().color(QPalette::Window),
                                            Qt::black) > 3)
            QSKIP("the desktop theme did not give a dark palette");
    }

    void everyPaletteCaptionReads()
    {
        ToolState tool;
        QTabWidget pages;
        pages.resize(217, 480);
        new Palette(&pages, tool, &pages);
        pages.show();
        QVERIFY(QTest::qWaitForWindowExposed(&pages));
        for (int page = 0; page < 4; ++page) {
            pages.setCurrentIndex(page);
            const QStringList failures = illegibleCaptions(&pages);
            QVERIFY2(failures.isEmpty(), qPrintable(failures.join(QStringLiteral("; "))));
        }
    }

    void aboutBoxReads()
    {
        AboutBox about;
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        const QStringList failures = illegibleCaptions(&about);
        QVERIFY2(failures.isEmpty(), qPrintable(failures.join(QStringLiteral("; "))));
        // The logo's dark red line reads on the box's ground, as on the light
        // ground it was drawn for.
        QVERIFY(readability::contrastRatio(about.palette().color(QPalette::Window),
                                           QColor(170, 20, 20)) >= readability::kMinimumContrast);
    }

    void themedTextStaysWhereItReads()
    {
        QPalette light(QColor(239, 239, 239));
        light.setColor(QPalette::WindowText, QColor(30, 30, 90));
        const QPalette fixed = readability::onFixedGround(light, Qt::white);
        QCOMPARE(fixed.color(QPalette::WindowText), QColor(30, 30, 90));
        QCOMPARE(readability::onFixedGround(darkPalette(), Qt::white).color(QPalette::WindowText),
                 QColor(Qt::black));
        QCOMPARE(readability::readableText(QColor(20, 20, 20), QColor(40, 40, 40)),
                 QColor(Qt::white));
    }
};

QTEST_MAIN(TestDarkTheme)
#include "test_darktheme.moc"
