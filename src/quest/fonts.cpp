#include "fonts.h"

#include <QFontDatabase>

#include <algorithm>

QStringList questfonts::substitutesFor(const QString &face)
{
    if (face == kIntroFieldFace)
        return {QStringLiteral("Liberation Mono"), QStringLiteral("DejaVu Sans Mono"),
                QStringLiteral("Noto Mono"),       QStringLiteral("Nimbus Mono PS"),
                QStringLiteral("Courier New"),     QStringLiteral("monospace")};
    if (face == kDefaultFace)
        return {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans"),
                QStringLiteral("Nimbus Sans"), QStringLiteral("Arial"),
                QStringLiteral("sans-serif")};
    return {};
}

void questfonts::installFontSubstitutions()
{
    for (const QString &face : {kIntroFieldFace, kDefaultFace}) {
        // Replace rather than add, so that repeated calls keep the order.
        QFont::removeSubstitutions(face);
        QFont::insertSubstitutions(face, substitutesFor(face));
    }
}

QFont questfonts::dialogFont()
{
    QFont font(kDefaultFace);
    font.setPixelSize(11);
    return font;
}

QFont questfonts::introFieldFont()
{
    QFont font(kIntroFieldFace);
    font.setPixelSize(16);
    font.setStyleHint(QFont::TypeWriter);
    return font;
}

QFont questfonts::noteFieldFont()
{
    return dialogFont();
}

QString questfonts::faceFor(const QString &introFont)
{
    if (introFont.isEmpty() || introFont.compare(kDefaultEntry, Qt::CaseInsensitive) == 0)
        return kDefaultFace;
    return introFont;
}

QStringList questfonts::introFontList()
{
    QStringList list = QFontDatabase::families();
    if (!list.contains(kDefaultEntry))
        list.append(kDefaultEntry);
    std::stable_sort(list.begin(), list.end(), [](const QString &a, const QString &b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    return list;
}
