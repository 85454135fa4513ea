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
    return plainFontList(QFontDatabase::families());
}

QStringList questfonts::plainFontList(const QStringList &families)
{
    QStringList list;
    for (const QString &family : families) {
        // The toolkit names a family that several foundries make as
        // "Family [Foundry]"; the family alone selects it as well.
        QString name = family;
        const qsizetype bracket = name.lastIndexOf(QLatin1String(" ["));
        if (bracket > 0 && name.endsWith(QLatin1Char(']')))
            name.truncate(bracket);
        if (!list.contains(name))
            list.append(name);
    }
    if (!list.contains(kDefaultEntry))
        list.append(kDefaultEntry);
    std::stable_sort(list.begin(), list.end(), [](const QString &a, const QString &b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    return list;
}
