#include "questeditor.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include "clipboardpicture.h"
#include "dialogs.h"
#include "errors.h"
#include "fonts.h"
#include "questfile.h"
#include "raster.h"
#include "textlines.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QTextCursor>
#include <QTextEdit>

namespace {
constexpr int kTitleLimit = 40;
constexpr int kMinSize = 8;
constexpr int kMaxSize = 14;

const QString kNoPicture = QStringLiteral("Keine Grafik in Zwischenablage");
const QString kLoadCancelled = QStringLiteral("Ladevorgang abgebrochen");
const QString kSaveQuestion = QStringLiteral("Text speichern?");

template <typename W> W *place(W *widget, int x, int y, int w, int h)
{
    widget->setGeometry(x, y, w, h);
    return widget;
}

template <typename W> W *placeAuto(W *widget, int x, int y)
{
    widget->adjustSize();
    widget->move(x, y);
    return widget;
}

QFont styled(QFont font, bool bold, bool italic = false)
{
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

// A multi-line field that wraps its words exactly where textlines:: says it
// does: at a fixed width inside its frame, in its own font, without scroll
// bars (the window's memos have none).
QTextEdit *makeTextField(QWidget *parent, const QFont &font, int x, int y, int w, int h)
{
    auto *field = place(new QTextEdit(parent), x, y, w, h);
    field->setAcceptRichText(false);
    field->setTabChangesFocus(true);
    field->setFont(font);
    field->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    field->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    field->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    field->setLineWrapMode(QTextEdit::FixedPixelWidth);
    field->setLineWrapColumnOrWidth(textlines::wrapWidth(w));
    field->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    field->document()->setDocumentMargin(textlines::kFieldMargin);
    return field;
}

QStringList fieldLines(const QTextEdit *field)
{
    return textlines::shownLines(*field->document());
}
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

// ---- Font size field -----------------------------------------------------------

FontSizeBox::FontSizeBox(QWidget *parent) : QSpinBox(parent)
{
    setRange(kMinSize, kMaxSize);
    setSingleStep(1);
    setValue(kMinSize);
}

QValidator::State FontSizeBox::validate(QString &input, int &) const
{
    for (QChar c : input) {
        if (!c.isDigit() && c != QLatin1Char('+') && c != QLatin1Char('-') && c != QLatin1Char('.') &&
            c != QLatin1Char(',') && c != locale().decimalPoint().front())
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

// ---- Window --------------------------------------------------------------------

QuestEditor::QuestEditor(QWidget *parent) : QDialog(parent)
{
    buildWindow();
    setAcceptDrops(true);
    // The text fields take drops of their own (text): a quest file dropped
    // on one of them loads like one dropped anywhere else in the window,
    // instead of its address landing in the text.
    m_memo1->viewport()->installEventFilter(this);
    for (QTextEdit *memo : m_memos)
        memo->viewport()->installEventFilter(this);
    FormCreate();
}

void QuestEditor::buildWindow()
{
    setWindowTitle(QStringLiteral("DK-Edit Questeditor"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(764, 599);
    setFont(questfonts::dialogFont());
    const QFont bold = styled(font(), true);

    // Frames first, so that the controls drawn over them stay on top.
    auto group = [&](const QString &title, int x, int y, int w, int h) {
        auto *box = place(new QGroupBox(title, this), x, y, w, h);
        box->setFont(bold);
        return box;
    };
    group(QStringLiteral("Quest-Karte"), 512, 8, 241, 89);
    group(QStringLiteral("Text"), 512, 112, 241, 65);
    group(QStringLiteral("Vorschau"), 512, 192, 241, 73);
    group(QStringLiteral("Anmerkungen"), 8, 336, 489, 113);
    group(QStringLiteral("Einleitung"), 8, 456, 745, 121);
    auto *panel1 = place(new QFrame(this), 512, 336, 241, 113);
    panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel1->setLineWidth(1);

    // Map display and its frame.
    m_image1 = place(new QLabel(this), 8, 8, 492, 325);
    m_image1->setScaledContents(true);
    m_image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_shape1 = place(new QFrame(this), 8, 8, 492, 325);
    m_shape1->setFrameStyle(QFrame::Box | QFrame::Plain);
    m_shape1->setLineWidth(1);
    QPalette black = m_shape1->palette();
    black.setColor(QPalette::WindowText, Qt::black);
    m_shape1->setPalette(black);
    m_shape1->setAttribute(Qt::WA_TransparentForMouseEvents);

    // Map picture.
    m_button7 = place(new QPushButton(QStringLiteral("Laden..."), this), 520, 32, 105, 25);
    m_button6 = place(new QPushButton(QStringLiteral("Aus Zwischenablage"), this), 632, 32, 113, 25);
    m_edit2 = place(new QLineEdit(this), 520, 64, 225, 21);
    m_edit2->setEnabled(false);
    m_edit2->hide();

    // Quest file.
    m_button5 = place(new QPushButton(QStringLiteral("Laden..."), this), 528, 136, 89, 25);
    m_button4 = place(new QPushButton(QStringLiteral("Speichern..."), this), 648, 136, 89, 25);

    // Previews and printing: their handlers are connected by the sheet's code.
    const QFont boldItalic = styled(font(), true, true);
    m_button3 = place(new QPushButton(QStringLiteral("Schriftrolle"), this), 520, 224, 105, 25);
    m_button1 = place(new QPushButton(QStringLiteral("Legende"), this), 640, 224, 105, 25);
    m_button3->setFont(boldItalic);
    m_button1->setFont(boldItalic);
    m_button2 = place(new QPushButton(QStringLiteral("Quest drucken"), this), 512, 280, 241, 49);
    m_button2->setFont(bold);
    m_button2->setEnabled(false);

    // Title and wandering monster.
    auto *label1 = new QLabel(QStringLiteral("Quest Titel"), this);
    label1->setFont(bold);
    placeAuto(label1, 522, 340);
    m_edit1 = place(new QLineEdit(this), 520, 360, 225, 21);
    auto *label2 = new QLabel(QStringLiteral("Streunendes Monster"), this);
    label2->setFont(bold);
    placeAuto(label2, 520, 396);
    m_comboBox1 = place(new QComboBox(this), 520, 416, 225, 21);
    m_comboBox1->setEditable(true);
    m_comboBox1->setInsertPolicy(QComboBox::NoInsert);
    m_comboBox1->addItems({QStringLiteral("Goblin"), QStringLiteral("Ork"), QStringLiteral("Sumpfling"),
                           QStringLiteral("Skelett"), QStringLiteral("Zombie"), QStringLiteral("Mumie"),
                           QStringLiteral("Chaos-Krieger"), QStringLiteral("Gargoyle")});
    m_comboBox1->setCurrentIndex(-1);
    m_comboBox1->clearEditText();
    // A longer line would not read back whole from a quest file.
    m_comboBox1->lineEdit()->setMaxLength(questfile::kMaxLineLength);

    // Notes: five fields and five "Aktiv" boxes on one spot, one pair shown.
    const char *captions[QuestDocument::NoteCount] = {"A", "B", "C", "D", "Sonstiges"};
    const int lefts[QuestDocument::NoteCount] = {16, 48, 80, 112, 144};
    auto *selector = new QButtonGroup(this);
    for (int n = 0; n < QuestDocument::NoteCount; ++n) {
        auto *radio = placeAuto(new QRadioButton(QString::fromUtf8(captions[n]), this), lefts[n], 352);
        selector->addButton(radio, n);
        m_radios[std::size_t(n)] = radio;
        connect(radio, &QRadioButton::toggled, this, [this, n](bool on) {
            if (on)
                showNote(n);
        });
        m_memos[std::size_t(n)] = makeTextField(this, questfonts::noteFieldFont(), 16, 376,
                                                textlines::kNoteFieldWidth, textlines::kNoteFieldHeight);
        m_checkBoxes[std::size_t(n)] = placeAuto(new QCheckBox(QStringLiteral("Aktiv"), this), 368, 384);
    }
    m_button8 = place(new QPushButton(QStringLiteral("Felder löschen"), this), 368, 408, 121, 25);

    // Intro with its font and size.
    m_memo1 = makeTextField(this, questfonts::introFieldFont(), 16, 472, textlines::kIntroFieldWidth,
                            textlines::kIntroFieldHeight);
    m_memo1->setContextMenuPolicy(Qt::CustomContextMenu);
    placeAuto(new QLabel(QStringLiteral("Schriftart:"), this), 512, 472);
    m_comboBox2 = place(new QComboBox(this), 512, 488, 145, 21);
    m_comboBox2->setEditable(true);
    m_comboBox2->setInsertPolicy(QComboBox::NoInsert);
    placeAuto(new QLabel(QStringLiteral("Größe:"), this), 680, 472);
    m_spinEdit1 = place(new FontSizeBox(this), 688, 488, 41, 22);

    m_bitBtn1 = place(new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton),
                                      QStringLiteral("Questeditor schließen"), this),
                      560, 528, 145, 33);
    m_bitBtn1->setDefault(true);
    // Editable drop-downs keep Enter to themselves; in this window it closes.
    m_comboBox1->installEventFilter(this);
    m_comboBox2->installEventFilter(this);

    m_statusBar1 = place(new QStatusBar(this), 0, 599 - 19, 764, 19);
    m_statusBar1->setSizeGripEnabled(false);
    m_statusLabel = new QLabel(m_statusBar1);
    m_statusBar1->addWidget(m_statusLabel, 1);

    m_popupMenu1 = new QMenu(this);
    m_ausschneiden1 = m_popupMenu1->addAction(QStringLiteral("Ausschneiden"));
    m_einfgen1 = m_popupMenu1->addAction(QStringLiteral("Einfügen"));
    m_popupMenu1->addSeparator();
    m_feldlschen1 = m_popupMenu1->addAction(QStringLiteral("Feld löschen"));

    // The title comes first in the tab order.
    QList<QWidget *> order{m_edit1, m_comboBox1};
    for (QRadioButton *r : m_radios)
        order << r;
    for (int n = 0; n < QuestDocument::NoteCount; ++n)
        order << m_memos[std::size_t(n)] << m_checkBoxes[std::size_t(n)];
    order << m_button8 << m_memo1 << m_comboBox2 << m_spinEdit1 << m_bitBtn1 << m_button7 << m_button6
          << m_button5 << m_button4 << m_button3 << m_button1 << m_button2;
    for (int i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
    m_edit1->setFocus();

    m_radios[QuestDocument::A]->setChecked(true);
    showNote(QuestDocument::A);

    // What counts as a user edit of the quest text.
    connect(m_edit1, &QLineEdit::textEdited, this, [this](const QString &text) {
        int cursor = -1;
        const QString limited = limitTyped(m_lastTitle, text, kTitleLimit, &cursor);
        if (limited != text) {
            m_edit1->setText(limited);
            m_edit1->setCursorPosition(cursor);
        }
        m_lastTitle = m_edit1->text();
        Edit1Change();
    });
    connect(m_comboBox1->lineEdit(), &QLineEdit::textEdited, this, &QuestEditor::Edit1Change);
    connect(m_comboBox1, &QComboBox::activated, this, &QuestEditor::Edit1Change);
    QList<QTextEdit *> texts{m_memo1};
    for (QTextEdit *memo : m_memos)
        texts << memo;
    for (QTextEdit *memo : texts) {
        connect(memo, &QTextEdit::textChanged, this, [this] {
            if (m_programmatic == 0)
                Edit1Change();
        });
    }

    connect(m_button6, &QPushButton::clicked, this, &QuestEditor::Button6Click);
    connect(m_button7, &QPushButton::clicked, this, &QuestEditor::Button7Click);
    connect(m_button4, &QPushButton::clicked, this, &QuestEditor::Button4Click);
    connect(m_button5, &QPushButton::clicked, this, &QuestEditor::Button5Click);
    connect(m_button8, &QPushButton::clicked, this, &QuestEditor::Button8Click);
    connect(m_bitBtn1, &QPushButton::clicked, this, &QuestEditor::BitBtn1Click);
    connect(m_ausschneiden1, &QAction::triggered, this, &QuestEditor::Ausschneiden1Click);
    connect(m_einfgen1, &QAction::triggered, this, &QuestEditor::Einfgen1Click);
    connect(m_feldlschen1, &QAction::triggered, this, &QuestEditor::Feldlschen1Click);
    connect(m_memo1, &QTextEdit::customContextMenuRequested, this, [this](const QPoint &pos) {
        PopupMenu1Popup();
        m_popupMenu1->exec(m_memo1->viewport()->mapToGlobal(pos));
    });
}

void QuestEditor::FormCreate()
{
    m_comboBox2->clear();
    m_comboBox2->addItems(questfonts::introFontList());
    m_comboBox2->setCurrentIndex(-1);
    m_comboBox2->clearEditText();
}

template <typename F> void QuestEditor::programmatic(F change)
{
    ++m_programmatic;
    change();
    --m_programmatic;
}

// ---- Document ------------------------------------------------------------------

QuestDocument QuestEditor::document() const
{
    QuestDocument doc;
    doc.title = m_edit1->text();
    doc.monster = m_comboBox1->currentText();
    doc.intro = fieldLines(m_memo1);
    for (int n = 0; n < QuestDocument::NoteCount; ++n) {
        doc.notes[std::size_t(n)] = fieldLines(m_memos[std::size_t(n)]);
        doc.active[std::size_t(n)] = m_checkBoxes[std::size_t(n)]->isChecked();
    }
    doc.introFont = m_comboBox2->currentText();
    doc.introSize = m_spinEdit1->value();
    return doc;
}

void QuestEditor::setQuestText(const QuestDocument &doc)
{
    programmatic([&] {
        m_edit1->setText(doc.title);
        m_lastTitle = doc.title;
        m_comboBox1->setEditText(doc.monster);
        m_memo1->setPlainText(textlines::fieldText(doc.intro));
        for (int n = 0; n < QuestDocument::NoteCount; ++n) {
            m_memos[std::size_t(n)]->setPlainText(textlines::fieldText(doc.notes[std::size_t(n)]));
            m_checkBoxes[std::size_t(n)]->setChecked(doc.active[std::size_t(n)]);
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
        m_checkBoxes[std::size_t(n)]->setVisible(shown);
        m_checkBoxes[std::size_t(n)]->setEnabled(shown);
        m_memos[std::size_t(n)]->setVisible(shown);
    }
}

void QuestEditor::Button8Click()
{
    programmatic([&] {
        for (QTextEdit *memo : m_memos)
            memo->clear();
    });
    for (QCheckBox *box : m_checkBoxes)
        box->setChecked(false);
    showNote(QuestDocument::A);
    m_radios[QuestDocument::A]->setChecked(true);
}

void QuestEditor::Edit1Change()
{
    m_modified = true;
}

// ---- Map picture ---------------------------------------------------------------

void QuestEditor::takeMapPicture(const QImage &picture)
{
    m_image3 = picture;
    restoreMapDisplay();
    m_statusLabel->clear();
    m_button2->setEnabled(true);
}

void QuestEditor::Button6Click()
{
    const QImage picture = clipboardpicture::picture(QGuiApplication::clipboard()->mimeData());
    if (picture.isNull()) {
        m_statusLabel->setText(kNoPicture);
        return;
    }
    takeMapPicture(picture);
    m_edit2->hide(); // its text stays
}

void QuestEditor::Button7Click()
{
    const QString path = dialogs().openFile(this, QStringLiteral("Öffnen"), QStringLiteral("Bitmaps (*.bmp)|*.bmp"));
    if (path.isEmpty()) {
        m_statusLabel->setText(kLoadCancelled);
        return;
    }
    const QImage picture = raster::readBmpFile(path); // throws: nothing has changed yet
    takeMapPicture(picture);
    m_edit2->setText(path);
    m_edit2->show();
}

void QuestEditor::showPreview(const QImage &picture)
{
    m_image1->setScaledContents(false);
    m_image1->setPixmap(QPixmap::fromImage(picture));
}

void QuestEditor::restoreMapDisplay()
{
    m_image1->setScaledContents(true);
    if (m_image3.isNull())
        m_image1->clear();
    else
        m_image1->setPixmap(QPixmap::fromImage(m_image3));
}

// ---- Intro context menu --------------------------------------------------------

void QuestEditor::PopupMenu1Popup()
{
    const QMimeData *mime = QGuiApplication::clipboard()->mimeData();
    m_einfgen1->setEnabled(mime && mime->hasText());
    m_ausschneiden1->setEnabled(m_memo1->textCursor().hasSelection());
    m_feldlschen1->setEnabled(true);
}

void QuestEditor::Ausschneiden1Click()
{
    QTextCursor cursor = m_memo1->textCursor();
    if (!cursor.hasSelection())
        return;
    QString text = cursor.selectedText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    QGuiApplication::clipboard()->setText(text);
    cursor.removeSelectedText(); // a user edit: marks the quest modified
}

void QuestEditor::Einfgen1Click()
{
    const QString text = QGuiApplication::clipboard()->text();
    if (!text.isEmpty())
        m_memo1->insertPlainText(text);
}

void QuestEditor::Feldlschen1Click()
{
    programmatic([&] { m_memo1->clear(); });
}

// ---- Quest file ----------------------------------------------------------------

QuestEditor::SaveResult QuestEditor::Button4Click()
{
    const QuestDocument doc = document();

    // A text line "---" would end its section early when the file is read back.
    const QString section = questfile::sectionWithSeparatorLine(doc);
    if (!section.isEmpty())
        throw DkError(QStringLiteral("Der Text kann nicht gespeichert werden: Das Feld „%1“ enthält "
                                     "eine Zeile, die nur aus „---“ besteht. Solche Zeilen trennen in der "
                                     "Quest-Datei die Abschnitte. Bitte ändern Sie diese Zeile.")
                          .arg(section));

    // A file that the reader would refuse is not written either.
    if (!questfile::fitsInFile(doc))
        throw DkError(QStringLiteral("Der Text kann nicht gespeichert werden: Er ist zu lang für eine "
                                     "Quest-Datei (%1).")
                          .arg(questfile::kLimitText));

    // Quest files are Windows-1252: say what would become "?" before it does.
    const QString unsaveable = questfile::unencodableCharacters(doc);
    if (!unsaveable.isEmpty() &&
        !dialogs().confirm(this, QStringLiteral("Die Zeichen „%1“ können in einer Quest-Datei nicht "
                                                "gespeichert werden und werden dort als „?“ geschrieben. "
                                                "Trotzdem speichern?")
                                     .arg(unsaveable)))
        return SaveResult::Cancelled;

    const QString path = dialogs().saveFile(this, QStringLiteral("Speichern unter"), questfile::kFilter);
    if (path.isEmpty())
        return SaveResult::Cancelled;
    questfile::write(doc, questfile::withExtension(path));
    m_modified = false;
    return SaveResult::Saved;
}

bool QuestEditor::askToSave(bool stopOnCancel)
{
    if (!m_modified || !dialogs().confirm(this, kSaveQuestion))
        return true;
    return Button4Click() == SaveResult::Saved || !stopOnCancel;
}

void QuestEditor::Button5Click()
{
    // Loading replaces the text: offer to keep unsaved edits first.
    if (!askToSave(true))
        return;
    const QString path = dialogs().openFile(this, QStringLiteral("Öffnen"), questfile::kFilter);
    if (path.isEmpty())
        return;
    readQuestFile(path);
}

void QuestEditor::readQuestFile(const QString &path)
{
    QuestDocument doc = document();
    questfile::read(path, doc); // throws before any field changes
    setQuestText(doc);
    m_modified = false;
}

void QuestEditor::loadQuestFile(const QString &path)
{
    if (!askToSave(true))
        return;
    readQuestFile(path);
}

namespace {
// The quest files among the dropped ones.
QStringList droppedQuestFiles(const QMimeData *data)
{
    QStringList paths;
    const auto urls = data->urls();
    for (const QUrl &url : urls)
        if (url.isLocalFile() && url.toLocalFile().contains(QLatin1String(".dke"), Qt::CaseInsensitive))
            paths << url.toLocalFile();
    return paths;
}
} // namespace

void QuestEditor::dragEnterEvent(QDragEnterEvent *event)
{
    if (!droppedQuestFiles(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void QuestEditor::dropEvent(QDropEvent *event)
{
    const QStringList paths = droppedQuestFiles(event->mimeData());
    if (paths.isEmpty())
        return;
    event->acceptProposedAction();
    // One event later, so a file that fails reaches the error report.
    const QString path = paths.constFirst();
    QMetaObject::invokeMethod(this, [this, path] { loadQuestFile(path); }, Qt::QueuedConnection);
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

// ---- Closing -------------------------------------------------------------------

bool QuestEditor::FormClose()
{
    // A cancelled save still closes: the text stays in the hidden editor.
    return askToSave(false);
}

void QuestEditor::BitBtn1Click()
{
    if (!FormClose())
        return;
    QDialog::done(QDialog::Accepted);
}

void QuestEditor::closeEvent(QCloseEvent *event)
{
    // Refuse first: a failed save throws out of here and must leave the editor open.
    event->ignore();
    BitBtn1Click();
}

bool QuestEditor::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if ((type == QEvent::DragEnter || type == QEvent::DragMove || type == QEvent::Drop) &&
        watched->isWidgetType() && watched != this) {
        auto *drop = static_cast<QDropEvent *>(event);
        if (!droppedQuestFiles(drop->mimeData()).isEmpty()) {
            if (type == QEvent::Drop)
                dropEvent(drop);
            else
                drop->acceptProposedAction();
            return true;
        }
    }
    if ((watched == m_comboBox1 || watched == m_comboBox2) && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && key->modifiers() == Qt::NoModifier) {
            m_bitBtn1->click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void QuestEditor::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (QScreen *s = screen()) {
        const QRect area = s->availableGeometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
}
