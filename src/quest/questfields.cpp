#include "questfields.h"

#include "questfile.h"

#include <QLineEdit>
#include <QLocale>

namespace {
constexpr int kMinSize = 8;
constexpr int kMaxSize = 14;
} // namespace

QString limitTyped(const QString &before, const QString &after, int limit, int *cursor)
{
    if (cursor)
        *cursor = -1;
    const int allowed = qMax(limit, int(before.size()));
    if (after.size() <= allowed)
        return after;
    // The edit replaced the middle of `before` by the middle of `after`.
    int prefix = 0;
    while (prefix < before.size() && prefix < after.size() && before[prefix] == after[prefix])
        ++prefix;
    int suffix = 0;
    while (suffix < before.size() - prefix && suffix < after.size() - prefix &&
           before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix])
        ++suffix;
    const int keep = allowed - prefix - suffix;
    if (cursor)
        *cursor = prefix + keep;
    return after.left(prefix) + after.mid(prefix, keep) + after.right(suffix);
}

QValidator::State OneLineValidator::validate(QString &input, int &pos) const
{
    const QString line = questfile::oneLine(input);
    if (line != input) {
        pos = int(questfile::oneLine(input.left(pos)).size());
        input = line;
    }
    return Acceptable;
}

void keepOnOneLine(QLineEdit *field)
{
    field->setValidator(new OneLineValidator(field));
}

FontSizeBox::FontSizeBox(QWidget *parent) : QSpinBox(parent)
{
    setRange(kMinSize, kMaxSize);
    setSingleStep(1);
    setValue(kMinSize);
}

QValidator::State FontSizeBox::validate(QString &input, int &) const
{
    for (QChar c : input) {
        if (!c.isDigit() && c != QLatin1Char('+') && c != QLatin1Char('-') &&
            c != QLatin1Char('.') && c != QLatin1Char(',') && c != locale().decimalPoint().front())
            return QValidator::Invalid;
    }
    bool ok = false;
    const int value = input.toInt(&ok);
    if (ok && value >= kMinSize && value <= kMaxSize && input == QString::number(value))
        return QValidator::Acceptable;
    return QValidator::Intermediate;
}

void FontSizeBox::fixup(QString &input) const
{
    bool ok = false;
    const int value = input.trimmed().toInt(&ok);
    input = QString::number(ok ? qBound(kMinSize, value, kMaxSize) : kMinSize);
}
