#include "palette.h"

#include "arrowkeys.h"
#include "artwork.h"
#include "catalogue.h"
#include "firstpaint.h"
#include "readability.h"
#include "themeicons.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QTextEdit>
#include <QToolButton>

namespace {

/// A clickable picture of the palette. It hands its clicks to the palette by
/// its component name, so one handler serves every thumbnail.
class Thumbnail : public QLabel {
public:
    Thumbnail(const QString &component, const QImage &picture, const QRect &box, bool scaled,
              Palette *palette, QWidget *parent)
        : QLabel(parent), m_palette(palette)
    {
        setObjectName(component);
        setGeometry(box);
        setAlignment(Qt::AlignLeft | Qt::AlignTop);
        setScaledContents(scaled);
        setCursor(Qt::PointingHandCursor);
        // Tab and the arrow keys reach it, Space chooses it; a click leaves
        // the focus where it was.
        setFocusPolicy(Qt::TabFocus);
        // A picture the program does not carry (yet) leaves an empty box.
        if (!picture.isNull())
            setPixmap(QPixmap::fromImage(picture));
    }

protected:
    void mousePressEvent(QMouseEvent *event) override
    {
        m_pressed = event->button() == Qt::LeftButton;
    }
    void mouseReleaseEvent(QMouseEvent *event) override
    {
        // A click: pressed and released on the thumbnail.
        const bool click = m_pressed && event->button() == Qt::LeftButton &&
                           rect().contains(event->position().toPoint());
        m_pressed = false;
        if (click)
            choose();
    }
    void keyPressEvent(QKeyEvent *event) override
    {
        if (event->key() == Qt::Key_Space && !(event->modifiers() & ~Qt::KeypadModifier)) {
            if (!event->isAutoRepeat())
                choose();
            return;
        }
        QLabel::keyPressEvent(event);
    }

private:
    void choose()
    {
        // Run after the input event is done, like every click of the
        // palette: a picture that fails to load then reaches the error
        // report without passing through the toolkit's event code.
        QMetaObject::invokeMethod(
            m_palette, [palette = m_palette, name = objectName()] { palette->click(name); },
            Qt::QueuedConnection);
    }

    Palette *m_palette;
    bool m_pressed = false;
};

/// The small unfilled circle between the four view buttons.
class Circle : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(palette().color(QPalette::WindowText), 1));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
    }
};

const QString kViewGroup = QStringLiteral("GroupBox1");

} // namespace

Palette::Palette(QTabWidget *paletteTabs, ToolState &tool, QWidget *mainWindow)
    : QObject(mainWindow), m_pages(paletteTabs), m_tool(tool), m_mainWindow(mainWindow),
      m_arrowKeys(new ArrowKeys(this))
{
    for (int n = m_pages->count() + 1; n <= 4; ++n)
        m_pages->addTab(new QWidget, QStringLiteral("Seite %1").arg(n));
    // The first frame shows "Seite 1" only: the other pages are built once it
    // is painted, or as soon as anything needs them.
    buildPage(1);
    connect(m_pages, &QTabWidget::currentChanged, this, &Palette::buildAllPages);
    afterFirstPaint(m_pages->widget(0), this, [this] { buildAllPages(); });

    if (m_mainWindow)
        m_mainWindow->installEventFilter(this);
}

void Palette::buildAllPages()
{
    for (int page = 2; page <= 4; ++page)
        buildPage(page);
}

void Palette::buildPage(int pageNumber)
{
    if (m_built[pageNumber])
        return;
    m_built[pageNumber] = true;
    int top = 0;
    int index = 0;
    for (const palette::Group &g : palette::groups()) {
        const bool view = g.title == palette::viewGroupTitle();
        if (!view)
            ++index; // the names count every group, built or not
        if (g.page != pageNumber)
            continue;
        QWidget *page = m_pages->widget(g.page - 1);
        auto *box = new QGroupBox(g.title, page);
        box->setObjectName(view ? kViewGroup : QStringLiteral("Group%1").arg(index));
        box->setGeometry(0, top, palette::kGroupWidth, g.height);
        top += g.height;
        page->setMinimumSize(palette::kGroupWidth, top);
        if (g.white) {
            // White whatever the theme, so the caption takes a text colour
            // that reads on white; "Drehen" follows the theme.
            box->setPalette(readability::onFixedGround(box->palette(), Qt::white));
            box->setAutoFillBackground(true);
        }
        m_groups.insert(g.title, box);
        m_widgets.insert(box->objectName(), box);
    }

    for (const palette::StampEntry &e : palette::stampEntries()) {
        QGroupBox *box = m_groups.value(e.group);
        if (!box || e.page != pageNumber)
            continue; // the tool bar's entries live in the main window
        auto *t = new Thumbnail(e.component, palette::thumbnail(e), e.box, e.scaled, this, box);
        // The hint, or the piece's name where the entry has no hint; both
        // pieces of a pair with one hint ("Fallbeil") tell themselves apart
        // by the description.
        t->setToolTip(palette::entryLabel(e));
        t->setAccessibleName(palette::entryLabel(e));
        t->setAccessibleDescription(e.name);
        m_widgets.insert(e.component, t);
    }

    for (QGroupBox *box : std::as_const(m_groups))
        if (box->parentWidget() == m_pages->widget(pageNumber - 1))
            box->show(); // built after the page was shown
    if (pageNumber == 1)
        buildChoiceAndViewGroups();
    takeKeys(m_pages->widget(pageNumber - 1));
}

void Palette::takeKeys(QWidget *page)
{
    // Tab goes from the page tabs through the page's entries, group by
    // group in the catalogue's order; the arrow keys move among them.
    QWidget *previous = m_pages->tabBar();
    const QList<QWidget *> children = page->findChildren<QWidget *>();
    for (QWidget *entry : children) {
        if (!(entry->focusPolicy() & Qt::TabFocus))
            continue;
        m_arrowKeys->add(entry, page);
        QWidget::setTabOrder(previous, entry);
        previous = entry;
    }
}

void Palette::buildChoiceAndViewGroups()
{
    QGroupBox *choice = m_groups.value(palette::choiceGroupTitle());
    for (const palette::FurnitureKind &f : palette::furnitureKinds()) {
        auto *t = new Thumbnail(f.component, palette::thumbnail(f), f.box, f.scaled, this, choice);
        t->setToolTip(f.hint);
        t->setAccessibleName(f.hint);
        m_widgets.insert(f.component, t);
    }

    buildViewGroup(m_groups.value(palette::viewGroupTitle()));
}

void Palette::buildViewGroup(QGroupBox *box)
{
    m_view = new QLabel(box);
    m_view->setObjectName(QStringLiteral("Image9"));
    m_view->setGeometry(24, 32, 94, 94);
    m_view->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_view->setAccessibleName(QStringLiteral("Gewählte Sicht"));
    m_widgets.insert(m_view->objectName(), m_view);

    const QPoint places[4] = {{128, 48}, {168, 48}, {128, 88}, {168, 88}};
    for (int i = 0; i < 4; ++i) {
        const QString name = QStringLiteral("Button%1").arg(i + 1);
        auto *b = new QPushButton(QString::number(i + 1), box);
        b->setObjectName(name);
        b->setGeometry(QRect(places[i], QSize(25, 25)));
        b->setToolTip(QStringLiteral("Sicht %1").arg(i + 1));
        b->setAccessibleName(b->toolTip());
        connect(
            b, &QPushButton::clicked, this, [this, name] { click(name); }, Qt::QueuedConnection);
        m_viewButtons[i] = b;
        m_widgets.insert(name, b);
    }

    auto *circle = new Circle(box);
    circle->setObjectName(QStringLiteral("Shape1"));
    circle->setGeometry(152, 72, 17, 17);
    m_widgets.insert(circle->objectName(), circle);

    m_applyButton = new QPushButton(themeicons::standardIcon(QStyle::SP_DialogOkButton),
                                    QStringLiteral("Übernehmen"), box);
    m_applyButton->setObjectName(QStringLiteral("BitBtn1"));
    m_applyButton->setGeometry(56, 128, 105, 25);
    connect(
        m_applyButton, &QPushButton::clicked, this, [this] { click(QStringLiteral("BitBtn1")); },
        Qt::QueuedConnection);
    m_widgets.insert(m_applyButton->objectName(), m_applyButton);

    showView(palette::viewResource(m_tool.furnitureKind, m_tool.orientation));
}

void Palette::showView(const QString &name)
{
    m_shownView = name;
    if (artwork::hasBitmap(name))
        m_view->setPixmap(QPixmap::fromImage(palette::viewPicture(artwork::bitmap(name))));
    else
        m_view->clear();
}

QWidget *Palette::lastTabStop() const
{
    return m_applyButton;
}

QWidget *Palette::widget(const QString &componentName)
{
    buildAllPages();
    return m_widgets.value(componentName);
}

QGroupBox *Palette::group(const QString &title)
{
    buildAllPages();
    return m_groups.value(title);
}

bool Palette::click(const QString &componentName)
{
    buildAllPages();
    const palette::StampEntry *entry = palette::findStampEntry(componentName);
    if (entry && entry->page > 0) {
        palette::applyStampEntry(m_tool, *entry);
        return true;
    }
    if (const palette::FurnitureKind *kind = palette::findFurniture(componentName)) {
        showView(palette::chooseFurniture(m_tool, kind->kind));
        m_viewButtons[0]->setFocus(Qt::OtherFocusReason);
        return true;
    }
    for (int i = 0; i < 4; ++i) {
        if (componentName == m_viewButtons[i]->objectName()) {
            showView(palette::chooseView(m_tool, quint8(i + 1)));
            return true;
        }
    }
    if (componentName == QLatin1String("BitBtn1")) {
        palette::takeFurniture(m_tool);
        return true;
    }
    return false;
}

namespace {
// True when Enter belongs to the control with the focus or to the control
// or window it lies in: map windows are windows of their own, and lists,
// drop-down boxes (with the line edit inside an editable one) and text areas
// act on Enter themselves.
bool enterBelongsElsewhere(QWidget *focus, const QWidget *window)
{
    for (QWidget *w = focus; w && w != window; w = w->parentWidget()) {
        if (qobject_cast<QMdiSubWindow *>(w) || qobject_cast<QAbstractItemView *>(w) ||
            qobject_cast<QComboBox *>(w) || qobject_cast<QTextEdit *>(w) ||
            qobject_cast<QPlainTextEdit *>(w))
            return true;
    }
    return false;
}
} // namespace

bool Palette::enterPressed()
{
    QWidget *focus = m_mainWindow->focusWidget();
    // The overlay browsers' directory, file and drive lists use Enter
    // themselves: it must not run "Übernehmen" too.
    if (enterBelongsElsewhere(focus, m_mainWindow))
        return false;
    // A focused push or tool button takes Enter for itself.
    if (qobject_cast<QPushButton *>(focus) || qobject_cast<QToolButton *>(focus)) {
        auto *button = static_cast<QAbstractButton *>(focus);
        if (button->isEnabled())
            button->click();
        return true;
    }
    if (m_pages->currentIndex() != 0 || !m_applyButton->isVisibleTo(m_mainWindow) ||
        !m_applyButton->isEnabled())
        return false;
    m_applyButton->click();
    return true;
}

bool Palette::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_mainWindow && event->type() == QEvent::KeyPress) {
        // Reaches the main window only when the focused control did not take
        // the key itself (a multi-line field keeps its Enter).
        auto *key = static_cast<QKeyEvent *>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        const auto mods =
            key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
        if (enter && !mods && enterPressed())
            return true;
    }
    return QObject::eventFilter(watched, event);
}
