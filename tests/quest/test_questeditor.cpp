// The quest editor window: shown lines of its fields, the modified flag and
// the close question, the map picture, the note selector and the quest file
// commands. Handlers are called directly; no dialog is ever run.

#include "errors.h"
#include "fonts.h"
#include "questeditor.h"
#include "questfile.h"
#include "scripteddialogs.h"
#include "textlines.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QtTest>

#include "testhelpers.h"

namespace {
QString dataPath(const QString &name)
{
    return QStringLiteral(DK_TEST_DATA "/quest/") + name;
}

void clipboardPicture(int w, int h)
{
    QImage picture(w, h, QImage::Format_RGB32);
    picture.fill(Qt::red);
    QGuiApplication::clipboard()->setImage(picture);
}

void showAndWait(QWidget &w)
{
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
}
} // namespace

class TestQuestEditor : public QObject {
    Q_OBJECT
    ScriptedDialogs *m_dialogs = nullptr;
    QTemporaryDir m_dir;

private slots:
    void initTestCase() { questfonts::installFontSubstitutions(); }
    void init()
    {
        m_dialogs = new ScriptedDialogs;
        QGuiApplication::clipboard()->clear();
    }
    void cleanup()
    {
        delete m_dialogs;
        m_dialogs = nullptr;
    }

    // Every control is found by its component name, once.
    void componentsByName()
    {
        QuestEditor editor;
        for (const char *name :
             {"Image1",  "Shape1",    "RadioGroup1", "Button7", "Button6", "Edit2",   "GroupBox3",
              "Button5", "Button4",   "GroupBox2",   "Button3", "Button1", "Button2", "Panel1",
              "Edit1",   "ComboBox1", "RadioGroup2", "Memo2",   "Memo7",   "Button8", "GroupBox1",
              "Memo1",   "ComboBox2", "SpinEdit1",   "BitBtn1"})
            QVERIFY2(editor.findChildren<QWidget *>(QLatin1String(name)).size() == 1, name);
        // The wandering monsters offered are the tool bar's, in its order.
        QStringList monsters;
        for (int i = 0; i < editor.monsterField()->count(); ++i)
            monsters << editor.monsterField()->itemText(i);
        QCOMPARE(monsters, (QStringList{"Goblin", "Ork", "Sumpfling", "Skelett", "Zombie", "Mumie",
                                        "Chaos-Krieger", "Gargoyle"}));
    }

    // The widget and the widget-free function give the same lines.
    void fieldsAndFunctionAgree_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << QString();
        QTest::newRow("paragraphs") << QStringLiteral(
            "Die Helden betreten das Gewölbe durch die Treppe im Norden. Dort wartet ein "
            "Ork-Häuptling mit seinen Wachen; wer ihn besiegt, findet den Schlüssel.\n\nViel "
            "Glück!");
        QTest::newRow("spaces") << QStringLiteral(
            "   Leerzeichen    am Anfang und     in der Mitte"
            "                                                "
            "                           und am Ende   \n\n\nx");
        QTest::newRow("long words")
            << QString(200, QLatin1Char('i')) + QLatin1Char(' ') + QString(120, QLatin1Char('M'));
    }
    void fieldsAndFunctionAgree()
    {
        QFETCH(QString, text);
        QuestEditor editor;
        editor.introField()->setPlainText(text);
        editor.noteField(QuestDocument::C)->setPlainText(text);
        const QuestDocument doc = editor.document();
        QCOMPARE(doc.intro, textlines::shownIntroLines(text));
        QCOMPARE(doc.notes[QuestDocument::C], textlines::shownNoteLines(text));
        // The same after the window has been shown and laid out.
        showAndWait(editor);
        QCOMPARE(editor.document().intro, doc.intro);
        editor.setQuestModified(false);
    }

    void modifiedByUserEditsOnly()
    {
        QuestEditor editor;
        // Not by flags, font, size, selector, clearing or the map picture.
        editor.activeBox(QuestDocument::A)->click();
        editor.fontField()->setEditText(QStringLiteral("Liberation Serif"));
        editor.sizeField()->setValue(12);
        editor.noteButton(QuestDocument::C)->click();
        clipboardPicture(10, 10);
        editor.pastePicture();
        editor.introField()->setPlainText(QStringLiteral("abc"));
        editor.setQuestModified(false);
        editor.clearIntro();
        editor.clearNotes();
        QVERIFY(!editor.questModified());
        QVERIFY(editor.introField()->toPlainText().isEmpty());

        const QList<std::pair<const char *, std::function<void(QuestEditor &)>>> edits{
            {"title",
             [](QuestEditor &e) { QTest::keyClicks(e.titleField(), QStringLiteral("x")); }},
            {"monster typed",
             [](QuestEditor &e) {
                 QTest::keyClicks(e.monsterField()->lineEdit(), QStringLiteral("T"));
             }},
            {"monster chosen", [](QuestEditor &e) { emit e.monsterField()->activated(2); }},
            {"intro Enter",
             [](QuestEditor &e) { QTest::keyClick(e.introField(), Qt::Key_Return); }},
            {"note",
             [](QuestEditor &e) {
                 QTest::keyClicks(e.noteField(QuestDocument::Other), QStringLiteral("a"));
             }},
        };
        for (const auto &[name, run] : edits) {
            QuestEditor fresh;
            run(fresh);
            QVERIFY2(fresh.questModified(), name);
        }
    }

    void titleTypingStopsAtForty()
    {
        QuestEditor editor;
        QTest::keyClicks(editor.titleField(), QString(45, QLatin1Char('a')));
        QCOMPARE(editor.titleField()->text(), QString(40, QLatin1Char('a')));
        // A longer title from a file is shown whole; nothing can be added, deleting works.
        QuestDocument doc;
        doc.title = QString(60, QLatin1Char('b'));
        editor.setQuestText(doc);
        QTest::keyClicks(editor.titleField(), QStringLiteral("c"));
        QCOMPARE(editor.titleField()->text(), QString(60, QLatin1Char('b')));
        QTest::keyClick(editor.titleField(), Qt::Key_Backspace);
        QCOMPARE(editor.titleField()->text().size(), 59);
        editor.titleField()->setSelection(0, 20);
        QTest::keyClicks(editor.titleField(), QStringLiteral("cd"));
        QCOMPARE(editor.titleField()->text(), QStringLiteral("c") + QString(39, QLatin1Char('b')));
    }

    // The title and the monster field stay one line, whatever route a text
    // with line breaks takes into them; the title's limit holds for pastes.
    void oneLineFields_data()
    {
        QTest::addColumn<QString>("lineBreak");
        QTest::newRow("CR") << "\r";
        QTest::newRow("LF") << "\n";
        QTest::newRow("CR LF") << "\r\n";
    }
    void oneLineFields()
    {
        QFETCH(QString, lineBreak);
        const QString text = QStringList{"Erste", "Zweite", "---", "+A"}.join(lineBreak);
        const QString line = QStringLiteral("Erste Zweite --- +A");
        QuestEditor editor;
        for (QLineEdit *field : {editor.titleField(), editor.monsterField()->lineEdit()}) {
            const QString name = field->objectName();
            field->clear();
            editor.setQuestModified(false);
            QGuiApplication::clipboard()->setText(text);
            field->paste();
            QCOMPARE(field->text(), line);
            QVERIFY2(editor.questModified(), qPrintable(name));

            field->clear();
            QMimeData dropped;
            dropped.setText(text);
            QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &dropped, Qt::LeftButton,
                                  Qt::NoModifier);
            QApplication::sendEvent(field, &enter);
            QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &dropped, Qt::LeftButton,
                            Qt::NoModifier);
            QApplication::sendEvent(field, &drop);
            QCOMPARE(field->text(), line);

            QAccessibleInterface *access = QAccessible::queryAccessibleInterface(field);
            QVERIFY(access && access->editableTextInterface());
            access->setText(QAccessible::Value, text);
            QCOMPARE(field->text(), line);
            access->editableTextInterface()->insertText(0, lineBreak);
            access->editableTextInterface()->replaceText(1, 6, lineBreak + QLatin1Char('x'));
            QCOMPARE(field->text(), QStringLiteral("  x Zweite --- +A"));
        }
        QuestDocument loaded;
        loaded.title = text;
        loaded.monster = text;
        editor.setQuestText(loaded);
        QCOMPARE(editor.document().title, line);
        QCOMPARE(editor.document().monster, line);

        // A pasted title keeps to 40 characters, the line breaks as spaces.
        editor.titleField()->clear();
        QGuiApplication::clipboard()->setText(QString(30, QLatin1Char('a')) + lineBreak +
                                              QString(30, QLatin1Char('b')));
        editor.titleField()->paste();
        QCOMPARE(editor.titleField()->text(),
                 QString(30, QLatin1Char('a')) + QLatin1Char(' ') + QString(9, QLatin1Char('b')));
        editor.setQuestModified(false);
    }

    void limitTyped_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::addColumn<QString>("result");
        QTest::addColumn<int>("cursor");
        QTest::newRow("fits") << "abc"
                              << "abcd"
                              << "abcd" << -1;
        QTest::newRow("paste in the middle") << "aaaa"
                                             << "aaXYZaa"
                                             << "aaXaa" << 3;
        QTest::newRow("long text, one more") << "abcdef"
                                             << "abcxdef"
                                             << "abcdef" << 3;
        QTest::newRow("long text, shorter") << "abcdef"
                                            << "abdef"
                                            << "abdef" << -1;
    }
    void limitTyped()
    {
        QFETCH(QString, before);
        QFETCH(QString, after);
        QFETCH(QString, result);
        QFETCH(int, cursor);
        int got = 0;
        QCOMPARE(::limitTyped(before, after, 5, &got), result);
        QCOMPARE(got, cursor);
    }

    void sizeField_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("value");
        QTest::newRow("above") << "20" << 14;
        QTest::newRow("below") << "3" << 8;
        QTest::newRow("decimal") << "9,5" << 8;
        QTest::newRow("letters refused") << "1a1" << 11;
    }
    void sizeField()
    {
        QFETCH(QString, typed);
        QFETCH(int, value);
        QuestEditor editor;
        showAndWait(editor);
        editor.sizeField()->setFocus();
        editor.sizeField()->selectAll();
        QTest::keyClicks(editor.sizeField(), typed);
        editor.titleField()->setFocus(); // the field is left
        QCOMPARE(editor.sizeField()->value(), value);
    }

    void noteSelectorAndClearing()
    {
        QuestEditor editor;
        editor.noteField(QuestDocument::C)->setPlainText(QStringLiteral("Text 2"));
        editor.titleField()->setText(QStringLiteral("Titel"));
        editor.noteButton(QuestDocument::C)->click();
        for (int n = 0; n < QuestDocument::NoteCount; ++n) {
            QCOMPARE(editor.noteField(n)->isHidden(), n != QuestDocument::C);
            QCOMPARE(editor.activeBox(n)->isEnabled(), n == QuestDocument::C);
        }
        editor.activeBox(QuestDocument::C)->setChecked(true);
        editor.noteButton(QuestDocument::Other)->click();
        // Hidden notes keep their text and flags.
        QCOMPARE(editor.document().notes[QuestDocument::C], QStringList{QStringLiteral("Text 2")});
        QVERIFY(editor.document().active[QuestDocument::C]);

        editor.clearNotes();
        const QuestDocument doc = editor.document();
        for (int n = 0; n < QuestDocument::NoteCount; ++n)
            QVERIFY(doc.notes[std::size_t(n)].isEmpty() && !doc.active[std::size_t(n)]);
        QVERIFY(editor.noteButton(QuestDocument::A)->isChecked());
        QCOMPARE(doc.title, QStringLiteral("Titel"));
        QVERIFY(m_dialogs->questions.isEmpty());
    }

    void mapPictureFromClipboard()
    {
        QuestEditor editor;
        QGuiApplication::clipboard()->setText(QStringLiteral("nur Text"));
        editor.pastePicture();
        QCOMPARE(editor.statusText(), QStringLiteral("Keine Grafik in Zwischenablage"));
        QVERIFY(editor.mapPicture().isNull());
        QVERIFY(!editor.printButton()->isEnabled());

        clipboardPicture(100, 50);
        editor.pastePicture();
        QCOMPARE(editor.mapPicture().pixel(0, 0), QColor(Qt::red).rgb());
        QVERIFY(editor.printButton()->isEnabled());

        // A failure afterwards leaves picture and print availability.
        QGuiApplication::clipboard()->clear();
        editor.pastePicture();
        QCOMPARE(editor.statusText(), QStringLiteral("Keine Grafik in Zwischenablage"));
        QCOMPARE(editor.mapPicture().size(), QSize(100, 50));
        QVERIFY(editor.printButton()->isEnabled());
    }

    void mapPictureFromFile()
    {
        QuestEditor editor;
        const QString bmp =
            writeSolidBmp(m_dir.filePath(QStringLiteral("karte.bmp")), Qt::white, 30, 20);
        const QString broken = m_dir.filePath(QStringLiteral("kaputt.bmp"));
        QVERIFY(writeBytes(broken, "kein Bild"));

        m_dialogs->openAnswers << QString();
        editor.loadPicture();
        QCOMPARE(editor.statusText(), QStringLiteral("Ladevorgang abgebrochen"));
        QCOMPARE(m_dialogs->openQuestions.last().filter, QStringLiteral("Bitmaps (*.bmp)|*.bmp"));

        m_dialogs->openAnswers << bmp;
        editor.loadPicture();
        QCOMPARE(editor.mapPicture().size(), QSize(30, 20));
        QVERIFY(!editor.fileNameField()->isHidden());
        QCOMPARE(editor.fileNameField()->text(), bmp);

        // A file that is no picture, or an empty one: an error, and nothing
        // changes.
        for (const QByteArray &bytes : {QByteArray("kein Bild"), QByteArray()}) {
            QVERIFY(writeBytes(broken, bytes));
            m_dialogs->openAnswers << broken;
            QVERIFY_THROWS_EXCEPTION(DkError, editor.loadPicture());
            QCOMPARE(editor.mapPicture().size(), QSize(30, 20));
            QCOMPARE(editor.fileNameField()->text(), bmp);
        }

        // Cancelling keeps the picture; the clipboard hides the file name.
        m_dialogs->openAnswers << QString();
        editor.loadPicture();
        QCOMPARE(editor.mapPicture().size(), QSize(30, 20));
        clipboardPicture(5, 5);
        editor.pastePicture();
        QVERIFY(editor.fileNameField()->isHidden());
    }

    // Cut needs a selection and paste a text on the clipboard; both count as edits.
    void introMenu()
    {
        QuestEditor editor;
        editor.introField()->setPlainText(QStringLiteral("Hallo Welt"));
        editor.setQuestModified(false);
        clipboardPicture(4, 4);
        editor.updateIntroMenu();
        QVERIFY(!editor.cutAction()->isEnabled());
        QVERIFY(!editor.pasteAction()->isEnabled());
        QVERIFY(editor.clearIntroAction()->isEnabled());
        editor.introField()->selectAll();
        editor.updateIntroMenu();
        QVERIFY(editor.cutAction()->isEnabled());
        editor.cutIntro();
        QVERIFY(editor.questModified());
        editor.updateIntroMenu();
        QVERIFY(editor.pasteAction()->isEnabled());
        editor.pasteIntro();
        QCOMPARE(editor.introField()->toPlainText(), QStringLiteral("Hallo Welt"));
    }

    void closeQuestion()
    {
        QuestEditor editor;
        showAndWait(editor);
        // Unmodified: closes without a question.
        editor.activeBox(QuestDocument::A)->click();
        editor.closeEditor();
        QVERIFY(editor.isHidden());
        QVERIFY(m_dialogs->questions.isEmpty());

        // Modified, "No": closes, stays modified, asks again next time.
        editor.show();
        QTest::keyClicks(editor.noteField(QuestDocument::A), QStringLiteral("x"));
        m_dialogs->confirmAnswers << false;
        editor.close();
        QVERIFY(editor.isHidden());
        QCOMPARE(m_dialogs->questions, QStringList{QStringLiteral("Text speichern?")});
        QVERIFY(editor.questModified());

        // "Yes", save dialog cancelled: closes, nothing written, still modified.
        editor.show();
        m_dialogs->confirmAnswers << true;
        m_dialogs->saveAnswers << QString();
        editor.closeEditor();
        QVERIFY(editor.isHidden());
        QVERIFY(editor.questModified());
        QCOMPARE(m_dialogs->saveQuestions.last().filter,
                 QStringLiteral("DK-Edit Questeditor|*.dke"));

        // "Yes", the save fails: the error goes up and the editor stays open.
        editor.show();
        const QString bad = m_dir.filePath(QStringLiteral("fehlt/quest"));
        m_dialogs->confirmAnswers << true;
        m_dialogs->saveAnswers << bad;
        QCOMPARE(errorOf([&] { editor.closeEditor(); }),
                 errors::cannotCreate(bad + QStringLiteral(".dke")));
        QVERIFY(!editor.isHidden());
        QVERIFY(editor.questModified());

        // Escape at the question (or its close box): the editor stays open.
        m_dialogs->confirmAnswers << Dialogs::Answer::Dismissed;
        editor.close();
        QVERIFY(!editor.isHidden());
        QVERIFY(editor.questModified());

        // "Yes" and a good name: written, no longer modified, closed.
        const QString good = m_dir.filePath(QStringLiteral("quest"));
        m_dialogs->confirmAnswers << true;
        m_dialogs->saveAnswers << good;
        editor.closeEditor();
        QVERIFY(editor.isHidden());
        QVERIFY(!editor.questModified());
        QVERIFY(QFile::exists(good + QStringLiteral(".dke")));
        QVERIFY(m_dialogs->overwriteQuestions.isEmpty());
    }

    // "Speichern..." onto another quest file asks before replacing it; the
    // quest's own file, saved or loaded, is replaced without a word.
    void savingOverAnotherQuestAsks()
    {
        const QString other = m_dir.filePath(QStringLiteral("andere.dke"));
        questfile::write(QuestDocument(), other);
        QuestEditor editor;
        m_dialogs->saveAnswers << other << other;
        m_dialogs->overwriteAnswers << true;
        QCOMPARE(editor.saveQuest(), QuestEditor::SaveResult::Saved);
        QCOMPARE(editor.saveQuest(), QuestEditor::SaveResult::Saved);
        QuestEditor second;
        second.loadQuestFile(other);
        m_dialogs->saveAnswers << other;
        QCOMPARE(second.saveQuest(), QuestEditor::SaveResult::Saved);
        QCOMPARE(m_dialogs->overwriteQuestions, QStringList{other});
        QVERIFY(m_dialogs->unanswered.isEmpty());
    }

    // maybeSave() is what the main window asks before quitting: false = stop.
    void maybeSaveStopsOnCancelAndFailure()
    {
        QuestEditor editor;
        QTest::keyClicks(editor.titleField(), QStringLiteral("T"));
        m_dialogs->confirmAnswers << true;
        m_dialogs->saveAnswers << QString(); // cancelled: the text would be lost
        QVERIFY(!editor.maybeSave());
        m_dialogs->confirmAnswers << true;
        m_dialogs->saveAnswers << m_dir.filePath(QStringLiteral("fehlt/q.dke"));
        QVERIFY(!editor.maybeSave());
        QCOMPARE(m_dialogs->errors.size(), 1);
        QVERIFY(m_dialogs->errors.first().startsWith(QStringLiteral("Cannot create file")));
    }

    void enterClosesEscapeDoesNot()
    {
        QuestEditor editor;
        showAndWait(editor);
        editor.titleField()->setFocus();
        QTest::keyClick(editor.titleField(), Qt::Key_Escape);
        QVERIFY(!editor.isHidden());
        QTest::keyClicks(editor.titleField(), QStringLiteral("T"));
        m_dialogs->confirmAnswers << false;
        QTest::keyClick(editor.titleField(), Qt::Key_Return);
        QVERIFY(editor.isHidden());
        QCOMPARE(m_dialogs->questions.size(), 1);
    }

    void savesAndLoadsTheWorkedExample()
    {
        QuestEditor editor;
        editor.titleField()->setText(QStringLiteral("Der verlorene Schlüssel"));
        editor.monsterField()->setEditText(QStringLiteral("Ork"));
        editor.introField()->setPlainText(
            QStringLiteral("Ein Schlüssel liegt\nim tiefsten Keller."));
        editor.noteField(QuestDocument::A)
            ->setPlainText(QStringLiteral("Hier liegt der Schlüssel."));
        editor.noteField(QuestDocument::D)->setPlainText(QStringLiteral("Eine Falle.\n"));
        editor.noteField(QuestDocument::Other)->setPlainText(QStringLiteral("Viel Glück!"));
        editor.activeBox(QuestDocument::A)->setChecked(true);
        editor.activeBox(QuestDocument::Other)->setChecked(true);
        const QString path = m_dir.filePath(QStringLiteral("beispiel"));
        m_dialogs->saveAnswers << path;
        QCOMPARE(editor.saveQuest(), QuestEditor::SaveResult::Saved);
        QCOMPARE(readBytes(path + QStringLiteral(".dke")),
                 readBytes(dataPath(QStringLiteral("worked_example.dke"))));
        QVERIFY(!editor.questModified());

        // Loading into a changed editor: asks first; "No" goes on. Font, size,
        // shown note and map picture are not in the file and stay.
        QuestEditor other;
        QTest::keyClicks(other.introField(), QStringLiteral("ungespeichert"));
        other.fontField()->setEditText(QStringLiteral("Liberation Serif"));
        other.sizeField()->setValue(13);
        clipboardPicture(20, 10);
        other.pastePicture();
        other.noteButton(QuestDocument::D)->click();
        m_dialogs->confirmAnswers << false;
        m_dialogs->openAnswers << dataPath(QStringLiteral("worked_example_lf.dke"));
        other.loadQuest();
        QCOMPARE(m_dialogs->questions.last(), QStringLiteral("Text speichern?"));
        const QuestDocument loaded = other.document();
        QCOMPARE(loaded.title, QStringLiteral("Der verlorene Schlüssel"));
        QCOMPARE(loaded.intro, (QStringList{"Ein Schlüssel liegt", "im tiefsten Keller."}));
        QCOMPARE(loaded.active, (std::array<bool, 5>{true, false, false, false, true}));
        QCOMPARE(loaded.introFont, QStringLiteral("Liberation Serif"));
        QCOMPARE(loaded.introSize, 13);
        QCOMPARE(other.shownNote(), int(QuestDocument::D));
        QVERIFY(!other.mapPicture().isNull());
        QVERIFY(!other.questModified());
        QTest::keyClicks(other.titleField(), QStringLiteral("!"));
        QVERIFY(other.questModified());
    }

    void loadingOverUnsavedEditsAsksFirst()
    {
        QuestEditor editor;
        QTest::keyClicks(editor.introField(), QStringLiteral("wichtig"));
        // "Yes" but the save dialog is cancelled: nothing is loaded.
        m_dialogs->confirmAnswers << true;
        m_dialogs->saveAnswers << QString();
        editor.loadQuest();
        QCOMPARE(editor.document().intro, QStringList{QStringLiteral("wichtig")});
        QVERIFY(m_dialogs->openQuestions.isEmpty()); // the open dialog never came
        // Escape at the question: nothing is loaded either.
        m_dialogs->confirmAnswers << Dialogs::Answer::Dismissed << Dialogs::Answer::Dismissed;
        editor.loadQuest();
        editor.loadQuestFile(dataPath(QStringLiteral("worked_example.dke")));
        QCOMPARE(editor.document().intro, QStringList{QStringLiteral("wichtig")});
        QVERIFY(m_dialogs->openQuestions.isEmpty());

        // A file that is not a quest: refused, the text stays.
        m_dialogs->confirmAnswers << false;
        m_dialogs->openAnswers << dataPath(QStringLiteral("truncated.dke"));
        QVERIFY_THROWS_EXCEPTION(DkError, editor.loadQuest());
        QCOMPARE(editor.document().intro, QStringList{QStringLiteral("wichtig")});
        QVERIFY(editor.questModified());

        // "Yes" and a name: the text is saved first, then the file loads.
        const QString saved = m_dir.filePath(QStringLiteral("vorher"));
        m_dialogs->confirmAnswers << true;
        m_dialogs->saveAnswers << saved;
        editor.loadQuestFile(dataPath(QStringLiteral("worked_example.dke")));
        QCOMPARE(editor.document().title, QStringLiteral("Der verlorene Schlüssel"));
        QuestDocument before;
        questfile::read(saved + QStringLiteral(".dke"), before);
        QCOMPARE(before.intro, QStringList{QStringLiteral("wichtig")});
    }

    // A text too long for a quest file is not saved, and no dialog asks for a name.
    void overlongTextIsNotSaved()
    {
        QuestEditor editor;
        QStringList lines;
        for (int i = 0; i < questfile::kMaxLines; ++i)
            lines << QStringLiteral("Zeile %1").arg(i);
        editor.introField()->setPlainText(lines.join(QLatin1Char('\n')));
        const QString target = m_dir.filePath(QStringLiteral("zu-lang.dke"));
        m_dialogs->saveAnswers << target;
        const QString error = errorOf([&] { editor.saveQuest(); });
        QVERIFY2(error.startsWith(QStringLiteral("Der Text kann nicht gespeichert werden")),
                 qPrintable(error));
        QVERIFY(!QFile::exists(target));
        QVERIFY(m_dialogs->saveQuestions.isEmpty()); // refused before the dialog
    }

    void separatorLineIsNotSaved()
    {
        QuestEditor editor;
        editor.titleField()->setText(QStringLiteral("---"));
        QTest::keyClicks(editor.noteField(QuestDocument::B), QStringLiteral("oben"));
        QTest::keyClick(editor.noteField(QuestDocument::B), Qt::Key_Return);
        QTest::keyClicks(editor.noteField(QuestDocument::B), QStringLiteral("---"));
        const QString path = m_dir.filePath(QStringLiteral("trenner.dke"));
        m_dialogs->saveAnswers << path;
        const QString error = errorOf([&] { editor.saveQuest(); });
        QVERIFY2(error.contains(QStringLiteral("„Anmerkung B“")), qPrintable(error));
        QVERIFY(!QFile::exists(path));
        QVERIFY(editor.questModified());
    }

    void charactersOutsideTheCodePageAreAskedAbout()
    {
        QuestEditor editor;
        editor.noteField(QuestDocument::A)->insertPlainText(QStringLiteral("Łódź €")); // as pasted
        const QString path = m_dir.filePath(QStringLiteral("zeichen.dke"));
        m_dialogs->confirmAnswers << false;
        m_dialogs->saveAnswers << path;
        QCOMPARE(editor.saveQuest(), QuestEditor::SaveResult::Cancelled);
        QVERIFY(m_dialogs->questions.last().contains(QStringLiteral("„Łź“")));
        QVERIFY(!QFile::exists(path));
        QVERIFY(editor.questModified());

        m_dialogs->confirmAnswers << true;
        m_dialogs->saveAnswers.clear();
        m_dialogs->saveAnswers << path;
        QCOMPARE(editor.saveQuest(),
                 QuestEditor::SaveResult::Saved); // as "?ód? €": see test_questfile
    }
};

QTEST_MAIN(TestQuestEditor)
#include "test_questeditor.moc"
