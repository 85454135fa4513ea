// The quest editor window: shown lines of its fields, the modified flag and
// the close question, the map picture, the note selector and the quest file
// commands. Handlers are called directly; no dialog is ever run.

#include "errors.h"
#include "fonts.h"
#include "questdialogs.h"
#include "questeditor.h"
#include "questfile.h"
#include "raster.h"
#include "textlines.h"

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

namespace {
QString dataPath(const QString &name)
{
    return QStringLiteral(DK_TEST_DATA "/quest/") + name;
}

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Fills the editor as a user would have it for the worked example.
void typeWorkedExample(QuestEditor &editor)
{
    editor.titleField()->setText(QStringLiteral("Der verlorene Schlüssel"));
    editor.monsterField()->setEditText(QStringLiteral("Ork"));
    editor.introField()->setPlainText(QStringLiteral("Ein Schlüssel liegt\nim tiefsten Keller."));
    editor.noteField(QuestDocument::A)->setPlainText(QStringLiteral("Hier liegt der Schlüssel."));
    editor.noteField(QuestDocument::D)->setPlainText(QStringLiteral("Eine Falle.\n"));
    editor.noteField(QuestDocument::Other)->setPlainText(QStringLiteral("Viel Glück!"));
    editor.activeBox(QuestDocument::A)->setChecked(true);
    editor.activeBox(QuestDocument::Other)->setChecked(true);
}

const QStringList kSamples = {
    QString(),
    QStringLiteral("abc\n"),
    QStringLiteral("abc\n\n"),
    QStringLiteral("Die Helden betreten das Gewölbe durch die Treppe im Norden. Dort wartet ein "
                   "Ork-Häuptling mit seinen Wachen; wer ihn besiegt, findet den Schlüssel.\n\nViel Glück!"),
    QStringLiteral("Ein sehr langes Wort: Donaudampfschifffahrtsgesellschaftskapitänsmützenabzeichen"
                   "herstellungsbetriebsratsvorsitzender und dann weiter im Text."),
    QStringLiteral("   Leerzeichen    am Anfang und     in der Mitte                                "
                   "                                          und am Ende   \n\n\nx"),
    QString(200, QLatin1Char('i')) + QLatin1Char(' ') + QString(120, QLatin1Char('M')),
};
} // namespace

class TestQuestEditor : public QObject {
    Q_OBJECT
    QuestScriptedDialogs *m_dialogs = nullptr;
    QTemporaryDir m_dir;

private slots:
    void initTestCase() { questfonts::installFontSubstitutions(); }
    void init()
    {
        m_dialogs = new QuestScriptedDialogs;
        setDialogs(m_dialogs);
        QGuiApplication::clipboard()->clear();
    }
    void cleanup()
    {
        setDialogs(nullptr);
        delete m_dialogs;
        m_dialogs = nullptr;
    }

    void window()
    {
        QuestEditor editor;
        QCOMPARE(editor.windowTitle(), QStringLiteral("DK-Edit Questeditor"));
        QCOMPARE(editor.size(), QSize(764, 599));
        QCOMPARE(editor.mapDisplay()->geometry(), QRect(8, 8, 492, 325));
        QCOMPARE(editor.introField()->geometry(), QRect(16, 472, 481, 97));
        for (int n = 0; n < QuestDocument::NoteCount; ++n) {
            QCOMPARE(editor.noteField(n)->geometry(), QRect(16, 376, 345, 65));
            QCOMPARE(editor.activeBox(n)->pos(), QPoint(368, 384));
        }
        QCOMPARE(editor.closeButton()->geometry(), QRect(560, 528, 145, 33));
        QVERIFY(editor.closeButton()->isDefault());
        QVERIFY(!editor.printButton()->isEnabled());
        QVERIFY(editor.fileNameField()->isHidden());
        QVERIFY(!editor.fileNameField()->isEnabled());
        QCOMPARE(editor.monsterField()->count(), 8);
        QCOMPARE(editor.monsterField()->itemText(6), QStringLiteral("Chaos-Krieger"));
        QVERIFY(editor.monsterField()->currentText().isEmpty());
        QVERIFY(editor.fontField()->currentText().isEmpty());
        QVERIFY(editor.fontField()->findText(QStringLiteral("Default")) >= 0);
        QCOMPARE(editor.sizeField()->value(), 8);
        QCOMPARE(editor.shownNote(), int(QuestDocument::A));
        QVERIFY(editor.statusText().isEmpty());
        QVERIFY(!editor.questModified());
    }

    // The widget and the widget-free function give the same lines.
    void fieldsAndFunctionAgree_data()
    {
        QTest::addColumn<QString>("text");
        for (int i = 0; i < kSamples.size(); ++i)
            QTest::newRow(qPrintable(QStringLiteral("sample %1").arg(i))) << kSamples[i];
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
        editor.show();
        QVERIFY(QTest::qWaitForWindowExposed(&editor));
        QCOMPARE(editor.document().intro, doc.intro);
        editor.noteField(QuestDocument::C)->setPlainText(text + QStringLiteral("x"));
        QCOMPARE(editor.document().notes[QuestDocument::C], textlines::shownNoteLines(text + QStringLiteral("x")));
        editor.setQuestModified(false);
        editor.hide();
    }

    void modifiedByUserEditsOnly()
    {
        QuestEditor editor;
        // Not by flags, font, size, selector, clearing or the map picture.
        editor.activeBox(QuestDocument::A)->click();
        editor.fontField()->setEditText(QStringLiteral("Liberation Serif"));
        editor.sizeField()->setValue(12);
        editor.noteButton(QuestDocument::C)->click();
        QGuiApplication::clipboard()->setImage(QImage(10, 10, QImage::Format_RGB32));
        editor.Button6Click();
        editor.introField()->setPlainText(QStringLiteral("abc")); // counts, checked below
        editor.setQuestModified(false);
        editor.Feldlschen1Click();
        editor.Button8Click();
        QVERIFY(!editor.questModified());
        QVERIFY(editor.introField()->toPlainText().isEmpty());

        struct Edit {
            const char *name;
            std::function<void(QuestEditor &)> run;
        };
        const QList<Edit> edits{
            {"title", [](QuestEditor &e) { QTest::keyClicks(e.titleField(), QStringLiteral("x")); }},
            {"monster typed", [](QuestEditor &e) { QTest::keyClicks(e.monsterField()->lineEdit(), QStringLiteral("T")); }},
            {"monster chosen", [](QuestEditor &e) { emit e.monsterField()->activated(2); }},
            {"intro", [](QuestEditor &e) { QTest::keyClicks(e.introField(), QStringLiteral("a")); }},
            {"intro Enter", [](QuestEditor &e) { QTest::keyClick(e.introField(), Qt::Key_Return); }},
            {"note", [](QuestEditor &e) { QTest::keyClicks(e.noteField(QuestDocument::Other), QStringLiteral("a")); }},
        };
        for (const Edit &edit : edits) {
            QuestEditor fresh;
            edit.run(fresh);
            QVERIFY2(fresh.questModified(), edit.name);
        }
    }

    void titleTypingStopsAtForty()
    {
        QuestEditor editor;
        QTest::keyClicks(editor.titleField(), QString(45, QLatin1Char('a')));
        QCOMPARE(editor.titleField()->text(), QString(40, QLatin1Char('a')));

        // A longer title from a file is shown whole; no character can be added,
        // but deleting works.
        QuestDocument doc;
        doc.title = QString(60, QLatin1Char('b'));
        editor.setQuestText(doc);
        QCOMPARE(editor.titleField()->text().size(), 60);
        QTest::keyClicks(editor.titleField(), QStringLiteral("c"));
        QCOMPARE(editor.titleField()->text(), QString(60, QLatin1Char('b')));
        QTest::keyClick(editor.titleField(), Qt::Key_Backspace);
        QCOMPARE(editor.titleField()->text().size(), 59);
        QTest::keyClicks(editor.titleField(), QStringLiteral("c"));
        QCOMPARE(editor.titleField()->text().size(), 59);
        editor.titleField()->setSelection(0, 20);
        QTest::keyClicks(editor.titleField(), QStringLiteral("cd"));
        QCOMPARE(editor.titleField()->text(), QStringLiteral("c") + QString(39, QLatin1Char('b')));
    }

    void limitTyped_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::addColumn<QString>("result");
        QTest::addColumn<int>("cursor");
        QTest::newRow("fits") << "abc" << "abcd" << "abcd" << -1;
        QTest::newRow("paste in the middle") << "aaaa" << "aaXYZaa" << "aaXaa" << 3;
        QTest::newRow("paste over a selection") << "abcde" << "aXYZe" << "aXYZe" << -1;
        QTest::newRow("long text, one more") << "abcdef" << "abcxdef" << "abcdef" << 3;
        QTest::newRow("long text, shorter") << "abcdef" << "abdef" << "abdef" << -1;
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
        QTest::newRow("in range") << "12" << 12;
        QTest::newRow("above") << "20" << 14;
        QTest::newRow("below") << "3" << 8;
        QTest::newRow("negative") << "-5" << 8;
        QTest::newRow("sign") << "+13" << 13;
        QTest::newRow("decimal") << "9,5" << 8;
        QTest::newRow("letters refused") << "1a1" << 11;
    }
    void sizeField()
    {
        QFETCH(QString, typed);
        QFETCH(int, value);
        QuestEditor editor;
        editor.show();
        QVERIFY(QTest::qWaitForWindowExposed(&editor));
        FontSizeBox *box = editor.sizeField();
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, typed);
        editor.titleField()->setFocus(); // the field is left
        QCOMPARE(box->value(), value);
        editor.hide();
    }

    void noteSelectorAndClearing()
    {
        QuestEditor editor;
        for (int n = 0; n < QuestDocument::NoteCount; ++n)
            editor.noteField(n)->setPlainText(QStringLiteral("Text %1").arg(n));
        editor.titleField()->setText(QStringLiteral("Titel"));
        editor.introField()->setPlainText(QStringLiteral("Einleitung"));
        editor.noteButton(QuestDocument::C)->click();
        QCOMPARE(editor.shownNote(), int(QuestDocument::C));
        for (int n = 0; n < QuestDocument::NoteCount; ++n) {
            QCOMPARE(editor.noteField(n)->isHidden(), n != QuestDocument::C);
            QCOMPARE(editor.activeBox(n)->isHidden(), n != QuestDocument::C);
            QCOMPARE(editor.activeBox(n)->isEnabled(), n == QuestDocument::C);
        }
        editor.activeBox(QuestDocument::C)->setChecked(true);
        editor.noteButton(QuestDocument::Other)->click();
        editor.activeBox(QuestDocument::Other)->setChecked(true);
        // Hidden notes keep their text and flags.
        QCOMPARE(editor.document().notes[QuestDocument::C], QStringList{QStringLiteral("Text 2")});
        QVERIFY(editor.document().active[QuestDocument::C]);

        editor.Button8Click();
        const QuestDocument doc = editor.document();
        for (int n = 0; n < QuestDocument::NoteCount; ++n) {
            QVERIFY(doc.notes[std::size_t(n)].isEmpty());
            QVERIFY(!doc.active[std::size_t(n)]);
        }
        QCOMPARE(editor.shownNote(), int(QuestDocument::A));
        QVERIFY(editor.noteButton(QuestDocument::A)->isChecked());
        QVERIFY(!editor.noteField(QuestDocument::A)->isHidden());
        QCOMPARE(doc.title, QStringLiteral("Titel"));
        QCOMPARE(doc.intro, QStringList{QStringLiteral("Einleitung")});
        QVERIFY(m_dialogs->asked.isEmpty());
    }

    void mapPictureFromClipboard()
    {
        QuestEditor editor;
        QGuiApplication::clipboard()->setText(QStringLiteral("nur Text"));
        editor.Button6Click();
        QCOMPARE(editor.statusText(), QStringLiteral("Keine Grafik in Zwischenablage"));
        QVERIFY(editor.mapPicture().isNull());
        QVERIFY(!editor.printButton()->isEnabled());

        QImage picture(100, 50, QImage::Format_RGB32);
        picture.fill(Qt::red);
        QGuiApplication::clipboard()->setImage(picture);
        editor.Button6Click();
        QVERIFY(editor.statusText().isEmpty());
        QCOMPARE(editor.mapPicture().size(), QSize(100, 50));
        QCOMPARE(editor.mapPicture().pixel(0, 0), QColor(Qt::red).rgb());
        QVERIFY(editor.printButton()->isEnabled());
        QVERIFY(editor.mapDisplay()->hasScaledContents()); // fills the whole display
        QCOMPARE(editor.mapDisplay()->pixmap().size(), QSize(100, 50));

        // A failure afterwards leaves picture and print availability.
        QGuiApplication::clipboard()->clear();
        editor.Button6Click();
        QCOMPARE(editor.statusText(), QStringLiteral("Keine Grafik in Zwischenablage"));
        QCOMPARE(editor.mapPicture().size(), QSize(100, 50));
        QVERIFY(editor.printButton()->isEnabled());
    }

    void mapPictureFromFile()
    {
        QuestEditor editor;
        const QString bmp = m_dir.filePath(QStringLiteral("karte.bmp"));
        QImage picture(30, 20, QImage::Format_RGB32);
        picture.fill(Qt::green);
        raster::writeBmpFile(picture, bmp);
        const QString broken = m_dir.filePath(QStringLiteral("kaputt.bmp"));
        {
            QFile f(broken);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("kein Bild");
        }

        m_dialogs->openAnswers << QString();
        editor.Button7Click();
        QCOMPARE(editor.statusText(), QStringLiteral("Ladevorgang abgebrochen"));
        QCOMPARE(m_dialogs->filters.last(), QStringLiteral("Bitmaps (*.bmp)|*.bmp"));
        QVERIFY(editor.fileNameField()->isHidden());

        m_dialogs->openAnswers << bmp;
        editor.Button7Click();
        QVERIFY(editor.statusText().isEmpty());
        QCOMPARE(editor.mapPicture().size(), QSize(30, 20));
        QVERIFY(!editor.fileNameField()->isHidden());
        QCOMPARE(editor.fileNameField()->text(), bmp);
        QVERIFY(editor.printButton()->isEnabled());

        // A file that is no picture: an error, and nothing changes.
        m_dialogs->openAnswers << broken;
        QVERIFY_THROWS_EXCEPTION(DkError, editor.Button7Click());
        QCOMPARE(editor.mapPicture().size(), QSize(30, 20));
        QCOMPARE(editor.fileNameField()->text(), bmp);

        // Cancelling keeps the picture; the clipboard hides the file name.
        m_dialogs->openAnswers << QString();
        editor.Button7Click();
        QCOMPARE(editor.statusText(), QStringLiteral("Ladevorgang abgebrochen"));
        QCOMPARE(editor.mapPicture().size(), QSize(30, 20));
        QGuiApplication::clipboard()->setImage(QImage(5, 5, QImage::Format_RGB32));
        editor.Button6Click();
        QVERIFY(editor.fileNameField()->isHidden());
        QCOMPARE(editor.fileNameField()->text(), bmp);
    }

    void previewSeam()
    {
        QuestEditor editor;
        QImage legend(492, 325, QImage::Format_RGB32);
        legend.fill(Qt::white);
        editor.showPreview(legend);
        QVERIFY(!editor.mapDisplay()->hasScaledContents());
        editor.restoreMapDisplay();
        QVERIFY(editor.mapDisplay()->hasScaledContents());
        QVERIFY(editor.mapDisplay()->pixmap().isNull()); // no map picture yet
    }

    void introMenu()
    {
        QuestEditor editor;
        editor.introField()->setPlainText(QStringLiteral("Hallo Welt"));
        editor.setQuestModified(false);
        QGuiApplication::clipboard()->setImage(QImage(4, 4, QImage::Format_RGB32));
        editor.PopupMenu1Popup();
        QVERIFY(!editor.cutAction()->isEnabled());
        QVERIFY(!editor.pasteAction()->isEnabled());
        QVERIFY(editor.clearIntroAction()->isEnabled());

        QTextCursor cursor = editor.introField()->textCursor();
        cursor.setPosition(0);
        cursor.setPosition(6, QTextCursor::KeepAnchor);
        editor.introField()->setTextCursor(cursor);
        editor.PopupMenu1Popup();
        QVERIFY(editor.cutAction()->isEnabled());
        editor.Ausschneiden1Click();
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("Hallo "));
        QCOMPARE(editor.introField()->toPlainText(), QStringLiteral("Welt"));
        QVERIFY(editor.questModified());

        editor.setQuestModified(false);
        editor.PopupMenu1Popup();
        QVERIFY(editor.pasteAction()->isEnabled());
        editor.introField()->moveCursor(QTextCursor::End);
        editor.Einfgen1Click();
        QCOMPARE(editor.introField()->toPlainText(), QStringLiteral("WeltHallo "));
        QVERIFY(editor.questModified());
    }

    void closeQuestion()
    {
        QuestEditor editor;
        editor.show();
        QVERIFY(QTest::qWaitForWindowExposed(&editor));

        // Unmodified: closes without a question.
        editor.activeBox(QuestDocument::A)->click();
        editor.BitBtn1Click();
        QVERIFY(editor.isHidden());
        QVERIFY(m_dialogs->asked.isEmpty());

        // Modified, "No": closes, stays modified, asks again next time.
        editor.show();
        QTest::keyClicks(editor.noteField(QuestDocument::A), QStringLiteral("x"));
        m_dialogs->confirmAnswers << false;
        editor.close();
        QVERIFY(editor.isHidden());
        QCOMPARE(m_dialogs->asked, QStringList{QStringLiteral("Text speichern?")});
        QVERIFY(editor.questModified());

        // "Yes", save dialog cancelled: closes, nothing written, still modified.
        editor.show();
        m_dialogs->confirmAnswers << true;
        m_dialogs->saveAnswers << QString();
        editor.BitBtn1Click();
        QVERIFY(editor.isHidden());
        QVERIFY(editor.questModified());
        QCOMPARE(m_dialogs->filters.last(), QStringLiteral("DK-Edit Questeditor|*.dke"));

        // "Yes", the save fails: the error goes up and the editor stays open.
        editor.show();
        const QString bad = m_dir.filePath(QStringLiteral("fehlt/quest"));
        m_dialogs->confirmAnswers << true;
        m_dialogs->saveAnswers << bad;
        try {
            editor.BitBtn1Click();
            QFAIL("a failed save went unreported");
        } catch (const DkError &e) {
            QCOMPARE(e.text(), errors::cannotCreate(bad + QStringLiteral(".dke")));
        }
        QVERIFY(!editor.isHidden());
        QVERIFY(editor.questModified());

        // "Yes" and a good name: written, no longer modified, closed.
        const QString good = m_dir.filePath(QStringLiteral("quest"));
        m_dialogs->confirmAnswers << true;
        m_dialogs->saveAnswers << good;
        editor.BitBtn1Click();
        QVERIFY(editor.isHidden());
        QVERIFY(!editor.questModified());
        QVERIFY(QFile::exists(good + QStringLiteral(".dke")));
    }

    void enterClosesEscapeDoesNot()
    {
        QuestEditor editor;
        editor.show();
        QVERIFY(QTest::qWaitForWindowExposed(&editor));
        editor.titleField()->setFocus();
        QTest::keyClick(editor.titleField(), Qt::Key_Escape);
        QVERIFY(!editor.isHidden());
        QTest::keyClicks(editor.titleField(), QStringLiteral("T"));
        m_dialogs->confirmAnswers << false;
        QTest::keyClick(editor.titleField(), Qt::Key_Return);
        QVERIFY(editor.isHidden());
        QCOMPARE(m_dialogs->asked.size(), 1);

        // Also from the wandering monster's field.
        editor.show();
        m_dialogs->confirmAnswers << false;
        QTest::keyClick(editor.monsterField()->lineEdit(), Qt::Key_Return);
        QVERIFY(editor.isHidden());
    }

    void savesAndLoadsTheWorkedExample()
    {
        QuestEditor editor;
        typeWorkedExample(editor);
        QImage map(20, 10, QImage::Format_RGB32);
        QGuiApplication::clipboard()->setImage(map);
        editor.Button6Click();
        editor.fontField()->setEditText(QStringLiteral("Default"));
        editor.sizeField()->setValue(11);
        const QString path = m_dir.filePath(QStringLiteral("beispiel"));
        m_dialogs->saveAnswers << path;
        QCOMPARE(editor.Button4Click(), QuestEditor::SaveResult::Saved);
        QCOMPARE(readBytes(path + QStringLiteral(".dke")), readBytes(dataPath(QStringLiteral("worked_example.dke"))));
        QVERIFY(!editor.questModified());

        // Loading into a changed editor: asks first; "No" goes on.
        QuestEditor other;
        QTest::keyClicks(other.introField(), QStringLiteral("ungespeichert"));
        other.fontField()->setEditText(QStringLiteral("Liberation Serif"));
        other.sizeField()->setValue(13);
        QGuiApplication::clipboard()->setImage(map);
        other.Button6Click();
        other.noteButton(QuestDocument::D)->click();
        m_dialogs->confirmAnswers << false;
        m_dialogs->openAnswers << dataPath(QStringLiteral("worked_example_lf.dke"));
        other.Button5Click();
        QCOMPARE(m_dialogs->asked.last(), QStringLiteral("Text speichern?"));
        QuestDocument loaded = other.document();
        QCOMPARE(loaded.title, QStringLiteral("Der verlorene Schlüssel"));
        QCOMPARE(loaded.intro, (QStringList{"Ein Schlüssel liegt", "im tiefsten Keller."}));
        QCOMPARE(loaded.active, (std::array<bool, 5>{true, false, false, false, true}));
        QCOMPARE(loaded.introFont, QStringLiteral("Liberation Serif"));
        QCOMPARE(loaded.introSize, 13);
        QCOMPARE(other.shownNote(), int(QuestDocument::D));
        QVERIFY(!other.mapPicture().isNull());
        QVERIFY(!other.questModified());
        // The loaded field ends in a line break, which does not count.
        QVERIFY(other.introField()->toPlainText().endsWith(QLatin1Char('\n')));
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
        m_dialogs->openAnswers << dataPath(QStringLiteral("worked_example.dke"));
        editor.Button5Click();
        QCOMPARE(editor.document().intro, QStringList{QStringLiteral("wichtig")});
        QVERIFY(editor.questModified());
        QCOMPARE(m_dialogs->openAnswers.size(), 1); // the open dialog never came
        m_dialogs->openAnswers.clear();

        // A file that is not a quest: refused, the text stays.
        m_dialogs->confirmAnswers << false;
        m_dialogs->openAnswers << dataPath(QStringLiteral("truncated.dke"));
        QVERIFY_THROWS_EXCEPTION(DkError, editor.Button5Click());
        QCOMPARE(editor.document().intro, QStringList{QStringLiteral("wichtig")});
        QVERIFY(editor.questModified());
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
        try {
            editor.Button4Click();
            QFAIL("a line \"---\" was saved");
        } catch (const DkError &e) {
            QVERIFY2(e.text().contains(QStringLiteral("„Anmerkung B“")), qPrintable(e.text()));
        }
        QVERIFY(!QFile::exists(path));
        QVERIFY(editor.questModified());

        // maybeSave() reports it and tells the caller to stop.
        m_dialogs->confirmAnswers << true;
        QVERIFY(!editor.maybeSave());
        QCOMPARE(m_dialogs->errors.size(), 1);

        // "--- " (with a space) is ordinary text and reads back as it was.
        QTest::keyClicks(editor.noteField(QuestDocument::B), QStringLiteral(" "));
        QCOMPARE(editor.Button4Click(), QuestEditor::SaveResult::Saved);
        QuestDocument back;
        questfile::read(path, back);
        QCOMPARE(back.notes[QuestDocument::B], (QStringList{"oben", "--- "}));
        QCOMPARE(back.title, QStringLiteral("---"));
    }

    void charactersOutsideTheCodePageAreAskedAbout()
    {
        QuestEditor editor;
        editor.noteField(QuestDocument::A)->insertPlainText(QStringLiteral("Łódź €")); // as pasted
        const QString path = m_dir.filePath(QStringLiteral("zeichen.dke"));

        m_dialogs->confirmAnswers << false;
        m_dialogs->saveAnswers << path;
        QCOMPARE(editor.Button4Click(), QuestEditor::SaveResult::Cancelled);
        QVERIFY(m_dialogs->asked.last().contains(QStringLiteral("„Łź“")));
        QVERIFY(!QFile::exists(path));
        QVERIFY(editor.questModified());

        m_dialogs->confirmAnswers << true;
        m_dialogs->saveAnswers.clear();
        m_dialogs->saveAnswers << path;
        QCOMPARE(editor.Button4Click(), QuestEditor::SaveResult::Saved);
        QuestDocument back;
        questfile::read(path, back);
        QCOMPARE(back.notes[QuestDocument::A], QStringList{QStringLiteral("?ód? €")});
    }

    void maybeSave()
    {
        QuestEditor editor;
        QVERIFY(editor.maybeSave()); // nothing to ask
        QVERIFY(m_dialogs->asked.isEmpty());
        QTest::keyClicks(editor.titleField(), QStringLiteral("T"));
        m_dialogs->confirmAnswers << false;
        QVERIFY(editor.maybeSave());
        m_dialogs->confirmAnswers << true;
        m_dialogs->saveAnswers << QString(); // cancelled: the text would be lost
        QVERIFY(!editor.maybeSave());
        m_dialogs->confirmAnswers << true;
        m_dialogs->saveAnswers << m_dir.filePath(QStringLiteral("fehlt/q.dke"));
        QVERIFY(!editor.maybeSave());
        QCOMPARE(m_dialogs->errors.size(), 1);
        QVERIFY(m_dialogs->errors.first().startsWith(QStringLiteral("Cannot create file")));
        m_dialogs->confirmAnswers << true;
        m_dialogs->saveAnswers << m_dir.filePath(QStringLiteral("gut.dke"));
        QVERIFY(editor.maybeSave());
        QVERIFY(!editor.questModified());
    }
};

QTEST_MAIN(TestQuestEditor)
#include "test_questeditor.moc"
