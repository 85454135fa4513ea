#pragma once

#include "toolstate.h"

#include <QHash>
#include <QObject>
#include <QString>

class ArrowKeys;
class QGroupBox;
class QLabel;
class QPushButton;
class QTabWidget;
class QWidget;

/// The tile palette: fills the four pages of the main window's tab control
/// with the framed groups of the catalogue, each thumbnail at its box, and the
/// group "Drehen" with the view picture, the four view buttons and
/// "Übernehmen". Every click goes through click(), which looks the component
/// up in the catalogue and changes the tool state.
///
/// It also makes "Übernehmen" the main window's default button: Enter pressed
/// on "Seite 1" while the focus is on a control that is neither a button nor
/// uses Enter itself presses it; with the focus on a button, Enter presses
/// that button.
///
/// From the keyboard, Tab reaches every entry of the page shown (after the
/// page tabs, in the catalogue's order) and the arrow keys move among them;
/// Space chooses the focused entry as a click does.
///
/// Built with one line, `new Palette(paletteTabs, toolState, mainWindow)`; it
/// lives as long as the main window.
class Palette : public QObject {
    Q_OBJECT
public:
    /// Fills the pages of `paletteTabs` (missing pages "Seite 1" to "Seite 4"
    /// are added). `tool` must outlive the palette; `mainWindow` becomes its
    /// parent and receives the Enter handling.
    Palette(QTabWidget *paletteTabs, ToolState &tool, QWidget *mainWindow);

    /// Runs the click of a component of the pages: a stamp entry ("Image20"),
    /// a furniture thumbnail ("Image1"), a view button ("Button1" to
    /// "Button4") or "BitBtn1". Returns false for a name that is none of
    /// these (the tool bar's buttons are the main window's).
    bool click(const QString &componentName);

    /// A palette widget by component name ("Image20", "Image9", "Button3",
    /// "BitBtn1", "Shape1", "GroupBox1"), or nullptr.
    QWidget *widget(const QString &componentName);

    /// The framed group with that caption, or nullptr.
    QGroupBox *group(const QString &title);

    /// The last of the palette's entries that Tab reaches ("Übernehmen").
    QWidget *lastTabStop() const;

    /// The resource the view picture shows.
    QString shownView() const { return m_shownView; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildPage(int pageNumber);
    void buildAllPages();
    void buildChoiceAndViewGroups();
    void buildViewGroup(QGroupBox *box);
    void takeKeys(QWidget *page);
    void showView(const QString &name);
    bool enterPressed();

    QTabWidget *m_pages;
    ToolState &m_tool;
    QWidget *m_mainWindow;
    ArrowKeys *m_arrowKeys;
    QHash<QString, QWidget *> m_widgets;
    QHash<QString, QGroupBox *> m_groups;
    QLabel *m_view = nullptr;
    QPushButton *m_viewButtons[4] = {};
    QPushButton *m_applyButton = nullptr;
    QString m_shownView;
    bool m_built[5] = {};
};
