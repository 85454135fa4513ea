#include "questeditor.h"

#include "textlines.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QRadioButton>
#include <QTextCursor>
#include <QTextEdit>

namespace {
QStringList fieldLines(const QTextEdit *field)
{
    return textlines::shownLines(*field->document());
}
} // namespace

QuestDocument QuestEditor::document() const
{
    QuestDocument doc;
    doc.title = m_titleEdit->text();
    doc.monster = m_monsterEdit->currentText();
    doc.intro = fieldLines(m_introEdit);
    for (int n = 0; n < QuestDocument::NoteCount; ++n) {
        doc.notes[std::size_t(n)] = fieldLines(m_noteEdits[std::size_t(n)]);
        doc.active[std::size_t(n)] = m_activeBoxes[std::size_t(n)]->isChecked();
    }
    doc.introFont = m_fontBox->currentText();
    doc.introSize = m_sizeBox->value();
    return doc;
}

void QuestEditor::setQuestText(const QuestDocument &doc)
{
    programmatic([&] {
        m_titleEdit->setText(doc.title);
        m_lastTitle = doc.title;
        m_monsterEdit->setEditText(doc.monster);
        m_introEdit->setPlainText(textlines::fieldText(doc.intro));
        for (int n = 0; n < QuestDocument::NoteCount; ++n) {
            m_noteEdits[std::size_t(n)]->setPlainText(
                textlines::fieldText(doc.notes[std::size_t(n)]));
            m_activeBoxes[std::size_t(n)]->setChecked(doc.active[std::size_t(n)]);
        }
    });
}

QString QuestEditor::statusText() const
{
    return m_statusLabel->text();
}

// ---- Note selector and clearing ----------------------------------------------

void QuestEditor::showNote(int note)
{
    m_shownNote = note;
    for (int n = 0; n < QuestDocument::NoteCount; ++n) {
        const bool shown = n == note;
        m_activeBoxes[std::size_t(n)]->setVisible(shown);
        m_activeBoxes[std::size_t(n)]->setEnabled(shown);
        m_noteEdits[std::size_t(n)]->setVisible(shown);
    }
}

void QuestEditor::clearNotes()
{
    programmatic([&] {
        for (QTextEdit *note : m_noteEdits)
            note->clear();
    });
    for (QCheckBox *box : m_activeBoxes)
        box->setChecked(false);
    showNote(QuestDocument::A);
    m_noteButtons[QuestDocument::A]->setChecked(true);
}

void QuestEditor::markModified()
{
    m_modified = true;
    Q_EMIT textEdited();
}

void QuestEditor::restoreQuest(const QuestDocument &document, const QImage &picture)
{
    setQuestText(document);
    programmatic([&] {
        m_fontBox->setEditText(document.introFont);
        m_sizeBox->setValue(document.introSize);
    });
    if (!picture.isNull())
        takeMapPicture(picture);
    m_modified = true;
}
// ---- Intro context menu --------------------------------------------------------

void QuestEditor::updateIntroMenu()
{
    const QMimeData *mime = QGuiApplication::clipboard()->mimeData();
    m_pasteAction->setEnabled(mime && mime->hasText());
    m_cutAction->setEnabled(m_introEdit->textCursor().hasSelection());
    m_clearIntroAction->setEnabled(true);
}

void QuestEditor::cutIntro()
{
    QTextCursor cursor = m_introEdit->textCursor();
    if (!cursor.hasSelection())
        return;
    QString text = cursor.selectedText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    QGuiApplication::clipboard()->setText(text);
    cursor.removeSelectedText(); // a user edit: marks the quest modified
}

void QuestEditor::pasteIntro()
{
    const QString text = QGuiApplication::clipboard()->text();
    if (!text.isEmpty())
        m_introEdit->insertPlainText(text);
}

void QuestEditor::clearIntro()
{
    programmatic([&] { m_introEdit->clear(); });
}
