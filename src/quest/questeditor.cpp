#include "questeditor.h"

#include "catalogue.h"
#include "filenames.h"
#include "fonts.h"
#include "questfields.h"
#include "questfile.h"
#include "screenfit.h"
#include "textlines.h"
#include "themeicons.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGroupBox>
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
#include <QTextEdit>
#include <QUrl>

namespace {
constexpr int kTitleLimit = 40;

// Each control keeps its component name as object name, where tests, styles
// and assistive tools find it.
template <typename W> W *place(W *widget, const char *name, int x, int y, int w, int h)
{
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(x, y, w, h);
    return widget;
}

template <typename W> W *placeAuto(W *widget, const char *name, int x, int y)
{
    widget->setObjectName(QLatin1String(name));
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
// bars (the window's text fields have none).
QTextEdit *makeTextField(QWidget *parent, const char *name, const QFont &font, int x, int y, int w,
                         int h)
{
    auto *field = place(new QTextEdit(parent), name, x, y, w, h);
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

// The quest files among the dropped ones.
QStringList droppedQuestFiles(const QMimeData *data)
{
    QStringList paths;
    const auto urls = data->urls();
    for (const QUrl &url : urls)
        if (url.isLocalFile() && questfile::isQuestFile(filenames::localFile(url)))
            paths << filenames::localFile(url);
    return paths;
}
} // namespace

QuestEditor::QuestEditor(QWidget *parent) : QDialog(parent)
{
    buildWindow();
    setAcceptDrops(true);
    // The text fields take drops of their own (text): a quest file dropped
    // on one of them loads like one dropped anywhere else in the window,
    // instead of its address landing in the text.
    m_introEdit->viewport()->installEventFilter(this);
    for (QTextEdit *note : m_noteEdits)
        note->viewport()->installEventFilter(this);
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
    auto group = [&](const char *name, const QString &title, int x, int y, int w, int h) {
        auto *box = place(new QGroupBox(title, this), name, x, y, w, h);
        box->setFont(bold);
        return box;
    };
    group("RadioGroup1", QStringLiteral("Quest-Karte"), 512, 8, 241, 89);
    group("GroupBox3", QStringLiteral("Text"), 512, 112, 241, 65);
    group("GroupBox2", QStringLiteral("Vorschau"), 512, 192, 241, 73);
    group("RadioGroup2", QStringLiteral("Anmerkungen"), 8, 336, 489, 113);
    group("GroupBox1", QStringLiteral("Einleitung"), 8, 456, 745, 121);
    auto *titlePanel = place(new QFrame(this), "Panel1", 512, 336, 241, 113);
    titlePanel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    titlePanel->setLineWidth(1);

    // Map display and its frame.
    m_mapDisplay = place(new QLabel(this), "Image1", 8, 8, 492, 325);
    m_mapDisplay->setScaledContents(true);
    m_mapDisplay->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_mapFrame = place(new QFrame(this), "Shape1", 8, 8, 492, 325);
    m_mapFrame->setFrameStyle(QFrame::Box | QFrame::Plain);
    m_mapFrame->setLineWidth(1);
    QPalette black = m_mapFrame->palette();
    black.setColor(QPalette::WindowText, Qt::black);
    m_mapFrame->setPalette(black);
    m_mapFrame->setAttribute(Qt::WA_TransparentForMouseEvents);

    // Map picture.
    m_loadPictureButton =
        place(new QPushButton(QStringLiteral("Laden..."), this), "Button7", 520, 32, 105, 25);
    m_pastePictureButton = place(new QPushButton(QStringLiteral("Aus Zwischenablage"), this),
                                 "Button6", 632, 32, 113, 25);
    m_pictureFileEdit = place(new QLineEdit(this), "Edit2", 520, 64, 225, 21);
    m_pictureFileEdit->setEnabled(false);
    m_pictureFileEdit->hide();

    // Quest file.
    m_loadQuestButton =
        place(new QPushButton(QStringLiteral("Laden..."), this), "Button5", 528, 136, 89, 25);
    m_saveQuestButton =
        place(new QPushButton(QStringLiteral("Speichern..."), this), "Button4", 648, 136, 89, 25);

    // Previews and printing: their handlers are connected by the sheet's code.
    const QFont boldItalic = styled(font(), true, true);
    m_scrollButton =
        place(new QPushButton(QStringLiteral("Schriftrolle"), this), "Button3", 520, 224, 105, 25);
    m_legendButton =
        place(new QPushButton(QStringLiteral("Legende"), this), "Button1", 640, 224, 105, 25);
    m_scrollButton->setFont(boldItalic);
    m_legendButton->setFont(boldItalic);
    m_printButton =
        place(new QPushButton(QStringLiteral("Quest drucken"), this), "Button2", 512, 280, 241, 49);
    m_printButton->setFont(bold);
    m_printButton->setEnabled(false);

    // Title and wandering monster.
    auto *titleLabel = new QLabel(QStringLiteral("Quest Titel"), this);
    titleLabel->setFont(bold);
    placeAuto(titleLabel, "Label1", 522, 340);
    m_titleEdit = place(new QLineEdit(this), "Edit1", 520, 360, 225, 21);
    keepOnOneLine(m_titleEdit);
    auto *monsterLabel = new QLabel(QStringLiteral("Streunendes Monster"), this);
    monsterLabel->setFont(bold);
    placeAuto(monsterLabel, "Label2", 520, 396);
    m_monsterEdit = place(new QComboBox(this), "ComboBox1", 520, 416, 225, 21);
    m_monsterEdit->setEditable(true);
    m_monsterEdit->setInsertPolicy(QComboBox::NoInsert);
    // The monsters of the main window's tool bar.
    m_monsterEdit->addItems(palette::monsterNames());
    m_monsterEdit->setCurrentIndex(-1);
    m_monsterEdit->clearEditText();
    // A longer line would not read back whole from a quest file.
    m_monsterEdit->lineEdit()->setMaxLength(questfile::kMaxLineLength);
    keepOnOneLine(m_monsterEdit->lineEdit());

    // Notes: five fields and five "Aktiv" boxes on one spot, one pair shown.
    const char *captions[QuestDocument::NoteCount] = {"A", "B", "C", "D", "Sonstiges"};
    const char *buttonNames[QuestDocument::NoteCount] = {
        "RadioButton3", "RadioButton4", "RadioButton5", "RadioButton6", "RadioButton1"};
    const char *fieldNames[QuestDocument::NoteCount] = {"Memo2", "Memo3", "Memo4", "Memo5",
                                                        "Memo7"};
    const char *boxNames[QuestDocument::NoteCount] = {"CheckBox1", "CheckBox2", "CheckBox3",
                                                      "CheckBox4", "CheckBox5"};
    const int lefts[QuestDocument::NoteCount] = {16, 48, 80, 112, 144};
    auto *selector = new QButtonGroup(this);
    for (int n = 0; n < QuestDocument::NoteCount; ++n) {
        auto *radio = placeAuto(new QRadioButton(QString::fromUtf8(captions[n]), this),
                                buttonNames[n], lefts[n], 352);
        selector->addButton(radio, n);
        m_noteButtons[std::size_t(n)] = radio;
        connect(radio, &QRadioButton::toggled, this, [this, n](bool on) {
            if (on)
                showNote(n);
        });
        m_noteEdits[std::size_t(n)] =
            makeTextField(this, fieldNames[n], questfonts::noteFieldFont(), 16, 376,
                          textlines::kNoteFieldWidth, textlines::kNoteFieldHeight);
        m_activeBoxes[std::size_t(n)] =
            placeAuto(new QCheckBox(QStringLiteral("Aktiv"), this), boxNames[n], 368, 384);
    }
    m_clearNotesButton = place(new QPushButton(QStringLiteral("Felder löschen"), this), "Button8",
                               368, 408, 121, 25);

    // Intro with its font and size.
    m_introEdit = makeTextField(this, "Memo1", questfonts::introFieldFont(), 16, 472,
                                textlines::kIntroFieldWidth, textlines::kIntroFieldHeight);
    m_introEdit->setContextMenuPolicy(Qt::CustomContextMenu);
    placeAuto(new QLabel(QStringLiteral("Schriftart:"), this), "Label3", 512, 472);
    m_fontBox = place(new QComboBox(this), "ComboBox2", 512, 488, 145, 21);
    m_fontBox->setEditable(true);
    m_fontBox->setInsertPolicy(QComboBox::NoInsert);
    placeAuto(new QLabel(QStringLiteral("Größe:"), this), "Label4", 680, 472);
    m_sizeBox = place(new FontSizeBox(this), "SpinEdit1", 688, 488, 41, 22);

    m_closeButton = place(new QPushButton(themeicons::standardIcon(QStyle::SP_DialogOkButton, this),
                                          QStringLiteral("Questeditor schließen"), this),
                          "BitBtn1", 560, 528, 145, 33);
    m_closeButton->setDefault(true);
    // Editable drop-downs keep Enter to themselves; in this window it closes.
    m_monsterEdit->installEventFilter(this);
    m_fontBox->installEventFilter(this);

    m_statusBar = place(new QStatusBar(this), "StatusBar1", 0, 599 - 19, 764, 19);
    m_statusBar->setSizeGripEnabled(false);
    m_statusLabel = new QLabel(m_statusBar);
    m_statusBar->addWidget(m_statusLabel, 1);

    m_introMenu = new QMenu(this);
    m_introMenu->setObjectName(QStringLiteral("PopupMenu1"));
    m_cutAction = m_introMenu->addAction(QStringLiteral("Ausschneiden"));
    m_cutAction->setObjectName(QStringLiteral("Ausschneiden1"));
    m_pasteAction = m_introMenu->addAction(QStringLiteral("Einfügen"));
    m_pasteAction->setObjectName(QStringLiteral("Einfgen1"));
    m_introMenu->addSeparator();
    m_clearIntroAction = m_introMenu->addAction(QStringLiteral("Feld löschen"));
    m_clearIntroAction->setObjectName(QStringLiteral("Feldlschen1"));

    // Names for assistive technology: what each field holds, as its label or
    // frame says it.
    m_mapDisplay->setAccessibleName(QStringLiteral("Quest-Karte"));
    m_pictureFileEdit->setAccessibleName(QStringLiteral("Datei der Quest-Karte"));
    m_titleEdit->setAccessibleName(titleLabel->text());
    m_monsterEdit->setAccessibleName(monsterLabel->text());
    m_introEdit->setAccessibleName(QStringLiteral("Einleitung"));
    m_fontBox->setAccessibleName(QStringLiteral("Schriftart"));
    m_sizeBox->setAccessibleName(QStringLiteral("Größe"));
    for (int n = 0; n < QuestDocument::NoteCount; ++n) {
        const QString note = n == QuestDocument::Other
                                 ? QStringLiteral("Sonstiges")
                                 : QStringLiteral("Anmerkung %1").arg(QLatin1Char(char('A' + n)));
        m_noteEdits[std::size_t(n)]->setAccessibleName(note);
        m_activeBoxes[std::size_t(n)]->setAccessibleName(QStringLiteral("Aktiv (%1)").arg(note));
    }

    // The title comes first in the tab order.
    QList<QWidget *> order{m_titleEdit, m_monsterEdit};
    for (QRadioButton *r : m_noteButtons)
        order << r;
    for (int n = 0; n < QuestDocument::NoteCount; ++n)
        order << m_noteEdits[std::size_t(n)] << m_activeBoxes[std::size_t(n)];
    order << m_clearNotesButton << m_introEdit << m_fontBox << m_sizeBox << m_closeButton
          << m_loadPictureButton << m_pastePictureButton << m_loadQuestButton << m_saveQuestButton
          << m_scrollButton << m_legendButton << m_printButton;
    for (int i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
    m_titleEdit->setFocus();

    m_noteButtons[QuestDocument::A]->setChecked(true);
    showNote(QuestDocument::A);

    // What counts as a user edit of the quest text.
    connect(m_titleEdit, &QLineEdit::textEdited, this, [this](const QString &text) {
        int cursor = -1;
        const QString limited = limitTyped(m_lastTitle, text, kTitleLimit, &cursor);
        if (limited != text) {
            m_titleEdit->setText(limited);
            m_titleEdit->setCursorPosition(cursor);
        }
        m_lastTitle = m_titleEdit->text();
        markModified();
    });
    connect(m_monsterEdit->lineEdit(), &QLineEdit::textEdited, this, &QuestEditor::markModified);
    connect(m_monsterEdit, &QComboBox::activated, this, &QuestEditor::markModified);
    QList<QTextEdit *> texts{m_introEdit};
    for (QTextEdit *note : m_noteEdits)
        texts << note;
    for (QTextEdit *field : texts) {
        connect(field, &QTextEdit::textChanged, this, [this] {
            if (m_programmatic == 0)
                markModified();
        });
    }

    connect(m_pastePictureButton, &QPushButton::clicked, this, &QuestEditor::pastePicture);
    connect(m_loadPictureButton, &QPushButton::clicked, this, &QuestEditor::loadPicture);
    connect(m_saveQuestButton, &QPushButton::clicked, this, &QuestEditor::saveQuest);
    connect(m_loadQuestButton, &QPushButton::clicked, this, &QuestEditor::loadQuest);
    connect(m_clearNotesButton, &QPushButton::clicked, this, &QuestEditor::clearNotes);
    connect(m_closeButton, &QPushButton::clicked, this, &QuestEditor::closeEditor);
    connect(m_cutAction, &QAction::triggered, this, &QuestEditor::cutIntro);
    connect(m_pasteAction, &QAction::triggered, this, &QuestEditor::pasteIntro);
    connect(m_clearIntroAction, &QAction::triggered, this, &QuestEditor::clearIntro);
    connect(m_introEdit, &QTextEdit::customContextMenuRequested, this, [this](const QPoint &pos) {
        updateIntroMenu();
        m_introMenu->exec(m_introEdit->viewport()->mapToGlobal(pos));
    });
}

void QuestEditor::fillFontList() const
{
    if (m_fontListFilled)
        return;
    m_fontListFilled = true;
    m_fontBox->clear();
    m_fontBox->addItems(questfonts::introFontList());
    m_fontBox->setCurrentIndex(-1);
    m_fontBox->clearEditText();
}

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
    QMetaObject::invokeMethod(
        this, [this, path] { loadQuestFile(path); }, Qt::QueuedConnection);
}

// ---- Closing -------------------------------------------------------------------

bool QuestEditor::confirmClose()
{
    // A cancelled save dialog still closes: the text stays in the hidden
    // editor. A dismissed question keeps it open.
    return askToSave(false);
}

void QuestEditor::closeEditor()
{
    if (!confirmClose())
        return;
    QDialog::done(QDialog::Accepted);
}

void QuestEditor::closeEvent(QCloseEvent *event)
{
    // Refuse first: a failed save throws out of here and must leave the editor open.
    event->ignore();
    closeEditor();
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
    if ((watched == m_monsterEdit || watched == m_fontBox) && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            key->modifiers() == Qt::NoModifier) {
            m_closeButton->click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void QuestEditor::showEvent(QShowEvent *event)
{
    fillFontList();
    QDialog::showEvent(event);
    // Centred; on a screen smaller than the window, its title bar stays on it.
    if (QScreen *s = screen())
        move(screenfit::place(size(), QMargins(), s->availableGeometry(), size()).framePosition);
}
