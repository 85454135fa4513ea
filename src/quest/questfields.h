#pragma once

#include <QSpinBox>
#include <QString>
#include <QValidator>

class QLineEdit;

// Input rules of the quest editor's fields, kept apart from the window so
// that they can be tried on their own.

/// Limits typing in a one-line field: when an edit turned `before` into
/// `after` and made the text longer than `limit` (or than `before`, if that
/// was already longer), only as many of the inserted characters are kept as
/// fit. A text set by the program may be longer; it is never cut here.
/// `cursor` receives the caret position after the kept characters, or -1 when
/// `after` is returned unchanged.
QString limitTyped(const QString &before, const QString &after, int limit, int *cursor = nullptr);

/// Keeps a one-line field (the title, the wandering monster) on one line,
/// whatever route a text takes into it: typing, pasting, dropping, the
/// accessibility interface or the program. Each line break becomes one space
/// as it enters (questfile::oneLine), so it never reaches the quest file.
class OneLineValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString &input, int &pos) const override;
};

/// Gives the field a OneLineValidator of its own.
void keepOnOneLine(QLineEdit *field);

/// The intro font size field: whole numbers 8 to 14. Typing accepts digits,
/// signs and the decimal separator; when the field is left, a number out of
/// range becomes 8 or 14 and anything that is not a whole number becomes 8.
class FontSizeBox : public QSpinBox {
public:
    explicit FontSizeBox(QWidget *parent = nullptr);
    QValidator::State validate(QString &input, int &pos) const override;
    void fixup(QString &input) const override;
};
