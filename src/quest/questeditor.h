#pragma once

#include "questdocument.h"
#include "questfields.h"

#include <QDialog>
#include <QImage>

#include <array>

class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;
class QStatusBar;
class QTextEdit;

/// The quest editor: one dialog that holds the one quest document in its
/// fields (title, wandering monster, intro with its font and size, notes A to
/// D and "Sonstiges" with their active flags, map picture). It is made once at
/// start-up and only hidden when closed, so its content lasts until the
/// program ends.
class QuestEditor : public QDialog {
    Q_OBJECT
public:
    explicit QuestEditor(QWidget *parent = nullptr);

    /// The outcome of saving the quest file.
    enum class SaveResult { Saved, Cancelled };

    // ---- The quest document -------------------------------------------------

    /// The document as the fields hold it; text fields as their shown lines.
    QuestDocument document() const;
    /// Puts title, monster, intro, notes and active flags of a document into
    /// the fields (intro font and size, map picture and note selector stay).
    /// Does not touch the modified flag.
    void setQuestText(const QuestDocument &document);
    /// The map picture as taken (null before the first one).
    QImage mapPicture() const { return m_mapPicture; }
    bool questModified() const { return m_modified; }
    void setQuestModified(bool modified) { m_modified = modified; }
    QString statusText() const;

    /// Asks "Text speichern?" when the quest holds unsaved edits and saves on
    /// "Yes". Returns false when the user answered Yes but the text was not
    /// saved (the save failed, was refused or its dialog was cancelled): the
    /// caller should then not go on with what would lose the text (ending the
    /// program). Errors are reported here, not thrown.
    bool maybeSave();

    // ---- Seams for printing and the previews ----------------------------------

    QPushButton *printButton() const { return m_printButton; }   ///< "Quest drucken"
    QPushButton *legendButton() const { return m_legendButton; } ///< "Legende"
    QPushButton *scrollButton() const { return m_scrollButton; } ///< "Schriftrolle"
    /// Shows a picture in the map display at natural size from its top-left
    /// corner (a preview); the map picture stays as it is.
    void showPreview(const QImage &picture);
    /// Shows the map picture stretched over the map display again.
    void restoreMapDisplay();
    /// The map display (for inspection).
    QLabel *mapDisplay() const { return m_mapDisplay; }

    // ---- Fields (for the application and tests) -------------------------------

    QLineEdit *titleField() const { return m_titleEdit; }
    QComboBox *monsterField() const { return m_monsterEdit; }
    QTextEdit *introField() const { return m_introEdit; }
    QTextEdit *noteField(int note) const { return m_noteEdits[std::size_t(note)]; }
    QCheckBox *activeBox(int note) const { return m_activeBoxes[std::size_t(note)]; }
    QRadioButton *noteButton(int note) const { return m_noteButtons[std::size_t(note)]; }
    QComboBox *fontField() const
    {
        fillFontList();
        return m_fontBox;
    }
    FontSizeBox *sizeField() const { return m_sizeBox; }
    QLineEdit *fileNameField() const { return m_pictureFileEdit; }
    QAction *cutAction() const { return m_cutAction; }
    QAction *pasteAction() const { return m_pasteAction; }
    QAction *clearIntroAction() const { return m_clearIntroAction; }
    /// The note whose field is shown (QuestDocument::A ... Other).
    int shownNote() const { return m_shownNote; }

    // ---- Handlers -------------------------------------------------------------

    /// Fills the intro font list with the installed families and "Default",
    /// once: when the editor is first shown or its font field is asked for,
    /// so that the program's start does not wait for the whole font list.
    void fillFontList() const;
    /// Shows one note field and its "Aktiv" box, hides and disables the others.
    void showNote(int note);
    void pastePicture();    ///< "Aus Zwischenablage": map picture from the clipboard
    void loadPicture();     ///< "Laden..." of the map: picture from a BMP file
    SaveResult saveQuest(); ///< "Speichern...": save the quest file
    void loadQuest();       ///< "Laden..." of the text: load a quest file
    /// Loads a quest file as "Laden..." does after its dialog, asking first
    /// about unsaved text (a dropped file comes here).
    void loadQuestFile(const QString &path);
    void clearNotes();      ///< "Felder löschen"
    void markModified();    ///< a user edit of a text field
    void updateIntroMenu(); ///< enables the intro menu's items as it opens
    void cutIntro();        ///< "Ausschneiden"
    void pasteIntro();      ///< "Einfügen"
    void clearIntro();      ///< "Feld löschen"
    /// Closes the editor (also the close box and Enter): asks, saves, hides.
    void closeEditor();
    /// The close question. Returns false only when the editor must stay open
    /// (the question was dismissed); a failed save throws its error.
    bool confirmClose();

    /// Fills the editor with a document kept from an earlier session (every
    /// field, the intro font and size, the map picture), marked modified.
    void restoreQuest(const QuestDocument &document, const QImage &picture);

    /// Escape does nothing: the editor has no cancel.
    void reject() override {}
    /// The default button's way of closing.
    void accept() override { closeEditor(); }

Q_SIGNALS:
    /// The user edited the quest's text.
    void textEdited();
    /// The quest's unsaved edits no longer need keeping: they were saved,
    /// replaced by a loaded file, or given up with "No" at "Text speichern?".
    void textSettled();

protected:
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildWindow();
    void takeMapPicture(const QImage &picture);
    /// Changes a field's text from the program without marking the quest modified.
    template <typename F> void programmatic(F change)
    {
        ++m_programmatic;
        change();
        --m_programmatic;
    }
    /// Asks the save question when modified; false when the caller must stop:
    /// the question was dismissed, or (with `stopOnCancel`) the save after
    /// "Yes" did not happen.
    bool askToSave(bool stopOnCancel);
    void readQuestFile(const QString &path);

    QLabel *m_mapDisplay = nullptr;
    QFrame *m_mapFrame = nullptr;
    QImage m_mapPicture;
    QPushButton *m_loadPictureButton = nullptr;
    QPushButton *m_pastePictureButton = nullptr;
    QLineEdit *m_pictureFileEdit = nullptr;
    QPushButton *m_loadQuestButton = nullptr;
    QPushButton *m_saveQuestButton = nullptr;
    QPushButton *m_scrollButton = nullptr;
    QPushButton *m_legendButton = nullptr;
    QPushButton *m_printButton = nullptr;
    QLineEdit *m_titleEdit = nullptr;
    QComboBox *m_monsterEdit = nullptr;
    std::array<QRadioButton *, QuestDocument::NoteCount> m_noteButtons{};
    std::array<QTextEdit *, QuestDocument::NoteCount> m_noteEdits{};
    std::array<QCheckBox *, QuestDocument::NoteCount> m_activeBoxes{};
    QPushButton *m_clearNotesButton = nullptr;
    QTextEdit *m_introEdit = nullptr;
    QComboBox *m_fontBox = nullptr;
    mutable bool m_fontListFilled = false;
    FontSizeBox *m_sizeBox = nullptr;
    QPushButton *m_closeButton = nullptr;
    QStatusBar *m_statusBar = nullptr;
    QLabel *m_statusLabel = nullptr;
    QMenu *m_introMenu = nullptr;
    QAction *m_cutAction = nullptr;
    QAction *m_pasteAction = nullptr;
    QAction *m_clearIntroAction = nullptr;

    /// The quest file last loaded or saved: saving over it asks nothing, and
    /// the quest file dialogs start in its folder.
    QString m_questFile;
    int m_shownNote = QuestDocument::A;
    bool m_modified = false;
    int m_programmatic = 0;
    QString m_lastTitle;
};
