#include "textlines.h"
#include "fonts.h"

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QTextOption>

void textlines::setUpFieldDocument(QTextDocument &document, const QFont &font, int fieldWidth)
{
    document.setDefaultFont(font);
    document.setDocumentMargin(kFieldMargin);
    QTextOption option = document.defaultTextOption();
    // Words wrap at the edge; a word longer than the whole line breaks anywhere.
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    document.setDefaultTextOption(option);
    document.setTextWidth(wrapWidth(fieldWidth));
}

QStringList textlines::shownLines(const QTextDocument &document)
{
    // Asking for the size finishes any pending (lazy) layout of the document.
    if (QAbstractTextDocumentLayout *layout = document.documentLayout())
        layout->documentSize();

    QStringList lines;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const QString text = block.text();
        const QTextLayout *layout = block.layout();
        if (!layout || layout->lineCount() == 0) {
            lines.append(text);
            continue;
        }
        for (int i = 0; i < layout->lineCount(); ++i) {
            const QTextLine line = layout->lineAt(i);
            QString part = text.mid(line.textStart(), line.textLength());
            // A forced line break inside a paragraph ends its line; it is not text.
            if (part.endsWith(QChar::LineSeparator))
                part.chop(1);
            lines.append(part);
        }
    }
    if (!lines.isEmpty() && lines.constLast().isEmpty())
        lines.removeLast();
    return lines;
}

QStringList textlines::shownLines(const QString &text, const QFont &font, int fieldWidth)
{
    QTextDocument document;
    setUpFieldDocument(document, font, fieldWidth);
    document.setPlainText(text);
    return shownLines(document);
}

QStringList textlines::shownIntroLines(const QString &text)
{
    return shownLines(text, questfonts::introFieldFont(), kIntroFieldWidth);
}

QStringList textlines::shownNoteLines(const QString &text)
{
    return shownLines(text, questfonts::noteFieldFont(), kNoteFieldWidth);
}

QString textlines::fieldText(const QStringList &lines)
{
    QString text;
    for (const QString &line : lines) {
        text += line;
        text += QLatin1Char('\n');
    }
    return text;
}
