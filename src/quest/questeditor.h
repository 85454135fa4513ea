#pragma once

#include "questdocument.h"

#include <QDialog>
#include <QImage>
#include <QSpinBox>

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

/// Limits typing in a one-line field: when an edit turned `before` into
/// `after` and made the text longer than `limit` (or than `before`, if that
/// was already longer), only as many of the inserted characters are kept as
/// fit. A text set by the program may be longer; it is never cut here.
/// `cursor` receives the caret position after the kept characters, or -1 when
/// `after` is returned unchanged.
QString limitTyped(const QString &before, const QString &after, int limit, int *cursor = nullptr);

/// The intro font size field: whole numbers 8 to 14. Typing accepts digits,
/// signs and the decimal separator; when the field is left, a number out of
/// range becomes 8 or 14 and anything that is not a whole number becomes 8.
class FontSizeBox : public QSpinBox {
public:
    explicit FontSizeBox(QWidget *parent = nullptr);
    QValidator::State validate(QString &input, int &pos) const override;
    void fixup(QString &input) const override;
};

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
    QImage mapPicture() const { return m_image3; }
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

    QPushButton *printButton() const { return m_button2; }   ///< "Quest drucken"
    QPushButton *legendButton() const { return m_button1; }  ///< "Legende"
    QPushButton *scrollButton() const { return m_button3; }  ///< "Schriftrolle"
    /// Shows a picture in the map display at natural size from its top-left
    /// corner (a preview); the map picture stays as it is.
    void showPreview(const QImage &picture);
    /// Shows the map picture stretched over the map display again.
    void restoreMapDisplay();
    /// The map display (for inspection).
    QLabel *mapDisplay() const { return m_image1; }

    // ---- Fields (for the application and tests) -------------------------------

    QLineEdit *titleField() const { return m_edit1; }
    QComboBox *monsterField() const { return m_comboBox1; }
    QTextEdit *introField() const { return m_memo1; }
    QTextEdit *noteField(int note) const { return m_memos[std::size_t(note)]; }
    QCheckBox *activeBox(int note) const { return m_checkBoxes[std::size_t(note)]; }
    QRadioButton *noteButton(int note) const { return m_radios[std::size_t(note)]; }
    QComboBox *fontField() const { return m_comboBox2; }
    FontSizeBox *sizeField() const { return m_spinEdit1; }
    QLineEdit *fileNameField() const { return m_edit2; }
    QPushButton *closeButton() const { return m_bitBtn1; }
    QMenu *introMenu() const { return m_popupMenu1; }
    QAction *cutAction() const { return m_ausschneiden1; }
    QAction *pasteAction() const { return m_einfgen1; }
    QAction *clearIntroAction() const { return m_feldlschen1; }
    /// The note whose field is shown (QuestDocument::A ... Other).
    int shownNote() const { return m_shownNote; }

    // ---- Handlers -------------------------------------------------------------

    void FormCreate();
    /// Shows one note field and its "Aktiv" box, hides and disables the others.
    void showNote(int note);
    void RadioButton3Click() { showNote(QuestDocument::A); }
    void RadioButton4Click() { showNote(QuestDocument::B); }
    void RadioButton5Click() { showNote(QuestDocument::C); }
    void RadioButton6Click() { showNote(QuestDocument::D); }
    void RadioButton1Click() { showNote(QuestDocument::Other); }
    void Button6Click();             ///< map picture from the clipboard
    void Button7Click();             ///< map picture from a BMP file
    SaveResult Button4Click();       ///< save the quest file
    void Button5Click();             ///< load a quest file
    /// Loads a quest file as "Laden..." does after its dialog, asking first
    /// about unsaved text (a dropped file comes here).
    void loadQuestFile(const QString &path);
    void Button8Click();             ///< "Felder löschen"
    void Edit1Change();              ///< a user edit of a text field
    void PopupMenu1Popup();          ///< enables the intro menu's items
    void Ausschneiden1Click();
    void Einfgen1Click();
    void Feldlschen1Click();
    /// Closes the editor (also the close box and Enter): asks, saves, hides.
    void BitBtn1Click();
    /// The close question. Returns false only when the editor must stay open;
    /// a failed save throws its error.
    bool FormClose();

    /// Escape does nothing: the editor has no cancel.
    void reject() override {}
    /// The default button's way of closing.
    void accept() override { BitBtn1Click(); }

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
    template <typename F> void programmatic(F change);
    /// Asks the save question when modified; false when the caller must stop.
    bool askToSave(bool stopOnCancel);
    void readQuestFile(const QString &path);

    QLabel *m_image1 = nullptr;
    QFrame *m_shape1 = nullptr;
    QImage m_image3;
    QPushButton *m_button7 = nullptr;
    QPushButton *m_button6 = nullptr;
    QLineEdit *m_edit2 = nullptr;
    QPushButton *m_button5 = nullptr;
    QPushButton *m_button4 = nullptr;
    QPushButton *m_button3 = nullptr;
    QPushButton *m_button1 = nullptr;
    QPushButton *m_button2 = nullptr;
    QLineEdit *m_edit1 = nullptr;
    QComboBox *m_comboBox1 = nullptr;
    std::array<QRadioButton *, QuestDocument::NoteCount> m_radios{};
    std::array<QTextEdit *, QuestDocument::NoteCount> m_memos{};
    std::array<QCheckBox *, QuestDocument::NoteCount> m_checkBoxes{};
    QPushButton *m_button8 = nullptr;
    QTextEdit *m_memo1 = nullptr;
    QComboBox *m_comboBox2 = nullptr;
    FontSizeBox *m_spinEdit1 = nullptr;
    QPushButton *m_bitBtn1 = nullptr;
    QStatusBar *m_statusBar1 = nullptr;
    QLabel *m_statusLabel = nullptr;
    QMenu *m_popupMenu1 = nullptr;
    QAction *m_ausschneiden1 = nullptr;
    QAction *m_einfgen1 = nullptr;
    QAction *m_feldlschen1 = nullptr;

    int m_shownNote = QuestDocument::A;
    bool m_modified = false;
    int m_programmatic = 0;
    QString m_lastTitle;
};
