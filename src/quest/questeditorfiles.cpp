#include "questeditor.h"

#include "clipboardpicture.h"
#include "dialogs.h"
#include "errors.h"
#include "mapfile.h"
#include "questfile.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
const QString kNoPicture = QStringLiteral("Keine Grafik in Zwischenablage");
const QString kLoadCancelled = QStringLiteral("Ladevorgang abgebrochen");
const QString kSaveQuestion = QStringLiteral("Text speichern?");
} // namespace

// ---- Map picture ---------------------------------------------------------------

void QuestEditor::takeMapPicture(const QImage &picture)
{
    m_mapPicture = picture;
    restoreMapDisplay();
    m_statusLabel->clear();
    m_printButton->setEnabled(true);
}

void QuestEditor::pastePicture()
{
    const QImage picture = clipboardpicture::picture(QGuiApplication::clipboard()->mimeData());
    if (picture.isNull()) {
        m_statusLabel->setText(kNoPicture);
        return;
    }
    takeMapPicture(picture);
    m_pictureFileEdit->hide(); // its text stays
}

void QuestEditor::loadPicture()
{
    const QString path =
        askOpenFile(this, FileKind::Picture, QStringLiteral("Öffnen"), mapfile::kOpenFilter,
                    m_pictureFileEdit->isHidden() ? QString() : m_pictureFileEdit->text());
    if (path.isEmpty()) {
        m_statusLabel->setText(kLoadCancelled);
        return;
    }
    const QImage picture = mapfile::read(path); // throws: nothing has changed yet
    takeMapPicture(picture);
    m_pictureFileEdit->setText(path);
    m_pictureFileEdit->show();
}

void QuestEditor::showPreview(const QImage &picture)
{
    m_mapDisplay->setScaledContents(false);
    m_mapDisplay->setPixmap(QPixmap::fromImage(picture));
}

void QuestEditor::restoreMapDisplay()
{
    m_mapDisplay->setScaledContents(true);
    if (m_mapPicture.isNull())
        m_mapDisplay->clear();
    else
        m_mapDisplay->setPixmap(QPixmap::fromImage(m_mapPicture));
}
// ---- Quest file ----------------------------------------------------------------

QuestEditor::SaveResult QuestEditor::saveQuest()
{
    const QuestDocument doc = document();

    // A text line "---" would end its section early when the file is read back.
    const QString section = questfile::sectionWithSeparatorLine(doc);
    if (!section.isEmpty())
        throw DkError(
            QStringLiteral("Der Text kann nicht gespeichert werden: Das Feld „%1“ enthält "
                           "eine Zeile, die nur aus „---“ besteht. Solche Zeilen trennen in der "
                           "Quest-Datei die Abschnitte. Bitte ändern Sie diese Zeile.")
                .arg(section));

    // A file that the reader would refuse is not written either.
    if (!questfile::fitsInFile(doc))
        throw DkError(
            QStringLiteral("Der Text kann nicht gespeichert werden: Er ist zu lang für eine "
                           "Quest-Datei (%1).")
                .arg(questfile::kLimitText));

    // Quest files are Windows-1252: say what would become "?" before it does.
    const QString unsaveable = questfile::unencodableCharacters(doc);
    if (!unsaveable.isEmpty() &&
        !dialogs().confirm(this,
                           QStringLiteral("Die Zeichen „%1“ können in einer Quest-Datei nicht "
                                          "gespeichert werden und werden dort als „?“ geschrieben. "
                                          "Trotzdem speichern?")
                               .arg(unsaveable)))
        return SaveResult::Cancelled;

    const QString path =
        chooseSaveTarget(this, FileKind::Quest, QStringLiteral("Speichern unter"),
                         questfile::kFilter, questfile::withExtension, m_questFile);
    if (path.isEmpty())
        return SaveResult::Cancelled;
    questfile::write(doc, path);
    m_questFile = path;
    m_modified = false;
    Q_EMIT textSettled();
    return SaveResult::Saved;
}

bool QuestEditor::askToSave(bool stopOnCancel)
{
    if (!m_modified)
        return true;
    switch (dialogs().ask(this, kSaveQuestion)) {
    case Dialogs::Answer::Yes:
        return saveQuest() == SaveResult::Saved || !stopOnCancel;
    case Dialogs::Answer::No:
        Q_EMIT textSettled();
        return true;
    case Dialogs::Answer::Dismissed:
        break;
    }
    // Escape or the question's close box: whatever asked is called off.
    return false;
}

void QuestEditor::loadQuest()
{
    // Loading replaces the text: offer to keep unsaved edits first.
    if (!askToSave(true))
        return;
    const QString path = askOpenFile(this, FileKind::Quest, QStringLiteral("Öffnen"),
                                     questfile::kFilter, m_questFile);
    if (path.isEmpty())
        return;
    readQuestFile(path);
}

void QuestEditor::readQuestFile(const QString &path)
{
    QuestDocument doc = document();
    questfile::read(path, doc); // throws before any field changes
    setQuestText(doc);
    m_questFile = path;
    m_modified = false;
    Q_EMIT textSettled();
}

void QuestEditor::loadQuestFile(const QString &path)
{
    if (!askToSave(true))
        return;
    readQuestFile(path);
}

bool QuestEditor::maybeSave()
{
    try {
        return askToSave(true);
    } catch (const DkError &e) {
        dialogs().error(this, errors::reportText(e.text()));
        return false;
    }
}
