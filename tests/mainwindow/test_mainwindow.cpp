// The frame window and its map windows, driven headless: file naming, the
// close question, undo, repair, menu merging, closing order, the error
// report and the tool bar.

#include "aboutbox.h"
#include "application.h"
#include "artwork.h"
#include "bmpcodec.h"
#include "bmpfiles.h"
#include "catalogue.h"
#include "errors.h"
#include "geometry.h"
#include "mainwindow.h"
#include "mapfile.h"
#include "mapwindow.h"
#include "overlaybrowser.h"
#include "palette.h"
#include "raster.h"
#include "windowtest.h"

#include <QAccessible>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScopeGuard>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolButton>
#include <QtTest>

using board::Mode;

namespace {

// An object whose events fail, to reach the error report through notify.
class Failing : public QObject {
public:
    enum Kind { Dk, Std };
    Failing(Kind kind, QString text) : m_kind(kind), m_text(std::move(text)) {}
    bool event(QEvent *event) override
    {
        if (event->type() != QEvent::User)
            return QObject::event(event);
        if (m_kind == Dk)
            throw DkError(m_text);
        throw std::runtime_error(m_text.toStdString());
    }

private:
    Kind m_kind;
    QString m_text;
};

// The texts of a menu bar's menus or a menu's items as a screen reader reads
// them (without the mnemonic's mark), "-" for a separator.
QStringList texts(QWidget *menu)
{
    QStringList result;
    QAccessibleInterface *read = QAccessible::queryAccessibleInterface(menu);
    const QList<QAction *> actions = menu->actions();
    for (int i = 0; i < actions.size(); ++i)
        result << (actions[i]->isSeparator() ? QStringLiteral("-")
                                             : read->child(i)->text(QAccessible::Name));
    return result;
}

} // namespace

class TestMainWindow : public QObject, WindowTest {
    Q_OBJECT

    MapWindow *openMap(const QString &file)
    {
        script->openAnswers << file;
        return window->open();
    }

    // A left click on the map's overlay, as the user makes it.
    static void clickMap(MapWindow *map, QPoint at)
    {
        QTest::mouseClick(map->canvas(), Qt::LeftButton, Qt::NoModifier, at);
    }

private Q_SLOTS:
    void init() { setUp(); }
    void cleanup() { tearDown(); }

    // Each tool bar button: what a click chooses, and its tooltip, which is
    // also its name for assistive technology.
    void toolButtons_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("stamp");
        QTest::addColumn<Mode>("mode");
        QTest::addColumn<QString>("status");
        QTest::addColumn<QString>("name");
        const QList<QPair<const char *, const char *>> monsters = {
            {"GOBLIN", "Goblin"},
            {"ORK", "Ork"},
            {"SUMPFLING", "Sumpfling"},
            {"SKELETT", "Skelett"},
            {"ZOMBIE", "Zombie"},
            {"MUMIE", "Mumie"},
            {"CHAOSKRIEGER", "Chaos-Krieger"},
            {"GARGOYLE", "Gargoyle"}};
        for (int i = 0; i < monsters.size(); ++i)
            QTest::newRow(monsters[i].first)
                << QStringLiteral("ToolButton%1").arg(i + 1) << monsters[i].first << Mode::Interior
                << QString() << monsters[i].second;
        QTest::newRow("correction")
            << "ToolButton10" << QString() << Mode::Restore << QStringLiteral("Korrektur-Modus")
            << QStringLiteral("Korrektur-Modus");
        QTest::newRow("fill") << "ToolButton11" << QString() << Mode::Fill
                              << QStringLiteral("Füll-Modus") << QStringLiteral("Füllmodus");
    }

    void toolButtons()
    {
        QFETCH(QString, button);
        QFETCH(QString, stamp);
        QFETCH(Mode, mode);
        QFETCH(QString, status);
        QFETCH(QString, name);
        QCOMPARE(window->toolButton(button)->toolTip(), name);
        QCOMPARE(accessibleName(window->toolButton(button)), name);
        ToolState &tool = window->toolState();
        // Start from another mode so every field must change.
        tool.mode = Mode::TopLine;
        tool.setStatusText(QStringLiteral("Füll-Modus"));
        const QImage before = tool.stamp;
        QTest::mouseClick(window->toolButton(button), Qt::LeftButton);
        flush();
        QCOMPARE(tool.mode, mode);
        QCOMPARE(tool.statusText(), status);
        QCOMPARE(window->statusLabel()->text(), status);
        if (stamp.isEmpty())
            QCOMPARE(tool.stamp, before);
        else
            QCOMPARE(tool.stamp, artwork::bitmap(stamp));
    }

    // A move over the frame's controls, the palette or the about box empties
    // the map previews; one over the status bar or the client area does not.
    void offMapFlag_data()
    {
        QTest::addColumn<QString>("spot");
        QTest::addColumn<bool>("offMap");
        for (const char *name : {"ToolButton3", "Image20", "Image9", "Shape1", "BitBtn1",
                                 "GroupBox1", "page", "tabbar", "added later", "about box"})
            QTest::newRow(name) << name << true;
        QTest::newRow("status bar") << "status bar" << false;
        QTest::newRow("client area") << "client area" << false;
    }
    void offMapFlag()
    {
        QFETCH(QString, spot);
        QFETCH(bool, offMap);
        AboutBox about;
        window->setAboutBox(&about);
        QWidget *widget = nullptr;
        if (spot == QLatin1String("ToolButton3"))
            widget = window->toolButton(spot);
        else if (spot == QLatin1String("page"))
            widget = window->paletteTabs()->widget(2);
        else if (spot == QLatin1String("tabbar"))
            widget = window->paletteTabs()->tabBar();
        else if (spot == QLatin1String("added later")) // controls the palette adds later
            widget = new QWidget(new QLabel(window->paletteTabs()->widget(1)));
        else if (spot == QLatin1String("about box"))
            widget = about.title();
        else if (spot == QLatin1String("status bar"))
            widget = window->statusBar();
        else if (spot == QLatin1String("client area"))
            widget = window->mdiArea()->viewport();
        else
            widget = window->palette()->widget(spot);
        QVERIFY(widget);
        PreviewState &preview = window->previewState();
        preview.offMap = false;
        QMouseEvent move(QEvent::MouseMove, QPointF(3, 3), widget->mapToGlobal(QPointF(3, 3)),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(widget, &move);
        QCOMPARE(preview.offMap, offMap);
    }

    // The pointer moving over an overlay browser empties the previews, except
    // over its drive box.
    void overlayBrowsersAreOffMap()
    {
        window->toggleOverlayBrowsers();
        auto *b = qobject_cast<OverlayBrowser *>(window->overlayTabs()->widget(0));
        QVERIFY(b);
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        const QList<std::tuple<const char *, QWidget *, QPoint, bool>> spots = {
            {"page between preview and drive box", b, QPoint(70, 110), true},
            {"preview", b->previewBox(), QPoint(47, 47), true},
            {"file list", b->fileList()->viewport(), QPoint(40, 40), true},
            {"drive box", b->driveBox(), QPoint(60, 9), false},
        };
        PreviewState &preview = window->previewState();
        for (const auto &[name, widget, at, counts] : spots) {
            // From an empty corner of the page into the middle of the part.
            QTest::mouseMove(b, QPoint(2, 2));
            preview.offMap = false;
            QTest::mouseMove(widget, at);
            QTest::mouseMove(widget, at + QPoint(1, 1));
            QVERIFY2(preview.offMap == counts, name);
        }
    }

    void saveAsNaming_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("written");
        QTest::newRow("no extension") << "karte1"
                                      << "karte1.bmp";
        QTest::newRow("upper-case extension") << "karte1.BMP"
                                              << "karte1.BMP.bmp";
        QTest::newRow("with extension") << "karte2.bmp"
                                        << "karte2.bmp";
        QTest::newRow("cancelled") << ""
                                   << "";
        QTest::newRow("extension inside a folder name") << "x.bmp/karte3"
                                                        << "x.bmp/karte3";
    }

    void saveAsNaming()
    {
        QFETCH(QString, chosen);
        QFETCH(QString, written);
        QVERIFY(QDir(dir->path()).mkpath(QStringLiteral("x.bmp")));
        MapWindow *map = window->newFile();
        QCOMPARE(map->caption(), QStringLiteral("New*"));
        clickMap(map, QPoint(40, 40));

        // "Speichern" of a new map asks for a name.
        script->saveAnswers << (chosen.isEmpty() ? QString() : path(chosen));
        QCOMPARE(map->save(), !chosen.isEmpty());
        QCOMPARE(script->saveQuestions[0].filter, QStringLiteral("Bitmaps|*.bmp"));
        if (chosen.isEmpty()) {
            QCOMPARE(map->caption(), QStringLiteral("New*"));
            QVERIFY(map->document().isModified());
            QCOMPARE(QDir(dir->path()).entryList(QDir::Files), QStringList());
            return;
        }
        QCOMPARE(map->caption(), path(written));
        QVERIFY(!map->document().isModified());
        const QImage back = raster::readBmpFile(path(written));
        QCOMPARE(back.size(), QSize(880, 656));
        QCOMPARE(back.format(), QImage::Format_Indexed8);

        // The next save goes to the same file without a dialog.
        QFile::remove(path(written));
        clickMap(map, QPoint(80, 80));
        QVERIFY(map->save());
        QCOMPARE(script->saveQuestions.size(), 1);
        QVERIFY(QFile::exists(path(written)));
        QVERIFY(script->unanswered.isEmpty());
    }

    void openMap()
    {
        const QString file = writeSolidBmp(path(QStringLiteral("klein.bmp")), Qt::white, 200, 150);
        MapWindow *map = openMap(file);
        QVERIFY(map);
        QCOMPARE(script->openQuestions[0].filter, QStringLiteral("Bitmaps (*.bmp)|*.bmp"));
        QCOMPARE(map->caption(), file);
        QCOMPARE(map->document().picture().size(), QSize(200, 150));
        QVERIFY(!map->document().isModified());
        // A cancelled open dialog makes no window.
        QVERIFY(!window->open());
        QCOMPARE(window->mapWindows().size(), 1);
    }

    // A map opened from an 8-bit file of four colours is saved as 8 bits
    // again, where the picture alone would give a 4-bit file.
    void openedMapKeepsItsFilesDepth()
    {
        const QString file = path(QStringLiteral("acht.bmp"));
        QVERIFY(writeBytes(file, bmpfiles::eightBitFewColours()));
        MapWindow *map = openMap(file);
        QVERIFY(map);
        QVERIFY(map->save());
        QCOMPARE(int(quint8(readBytes(file)[28])), 8);
    }

    // Closing a map, "Alle schließen" or the frame window with two new maps
    // (both modified or neither): the save question for each modified map,
    // last made first, and what its answer and the save do. A save that does
    // not happen keeps the map open and modified, and with it the frame;
    // Escape at the question calls off what asked.
    void closeQuestion_data()
    {
        QTest::addColumn<QString>("route"); // "map" (the second), "all", "frame"
        QTest::addColumn<bool>("modified");
        QTest::addColumn<QList<int>>("answers");
        QTest::addColumn<QString>("save"); // "" no dialog, "file", "blocked", "cancelled"
        QTest::addColumn<int>("left");     // maps still open
        const int yes = int(Dialogs::Answer::Yes), no = int(Dialogs::Answer::No);
        const int dismissed = int(Dialogs::Answer::Dismissed);
        QTest::newRow("map, unmodified") << "map" << false << QList<int>{} << "" << 1;
        QTest::newRow("map, no") << "map" << true << QList<int>{no} << "" << 1;
        QTest::newRow("map, yes") << "map" << true << QList<int>{yes} << "file" << 1;
        QTest::newRow("map, save fails") << "map" << true << QList<int>{yes} << "blocked" << 2;
        QTest::newRow("map, save dialog cancelled")
            << "map" << true << QList<int>{yes} << "cancelled" << 2;
        QTest::newRow("map, dismissed") << "map" << true << QList<int>{dismissed} << "" << 2;
        QTest::newRow("close all, dismissed") << "all" << true << QList<int>{dismissed} << "" << 2;
        QTest::newRow("frame, save fails") << "frame" << true << QList<int>{yes} << "blocked" << 2;
        QTest::newRow("frame, save dialog cancelled")
            << "frame" << true << QList<int>{yes} << "cancelled" << 2;
        // "Beenden": the last map is let go, the first is kept.
        QTest::newRow("frame, no, dismissed")
            << "frame" << true << QList<int>{no, dismissed} << "" << 1;
    }

    void closeQuestion()
    {
        QFETCH(QString, route);
        QFETCH(bool, modified);
        QFETCH(QList<int>, answers);
        QFETCH(QString, save);
        QFETCH(int, left);
        const QList<MapWindow *> both{window->newFile(), window->newFile()};
        for (MapWindow *map : both)
            if (modified)
                clickMap(map, QPoint(40, 40));
        for (int answer : answers)
            script->confirmAnswers << Dialogs::Answer(answer);
        // A directory named like a map file cannot be written, even by root.
        const QString blocked = path(QStringLiteral("besetzt.bmp"));
        QVERIFY(QDir().mkpath(blocked));
        if (save == QLatin1String("file"))
            script->saveAnswers << path(QStringLiteral("neu"));
        else if (save == QLatin1String("blocked"))
            script->saveAnswers << blocked;
        else if (save == QLatin1String("cancelled"))
            script->saveAnswers << QString();

        const bool closed = route == QLatin1String("map")   ? both[1]->close()
                            : route == QLatin1String("all") ? window->closeAllMaps()
                                                            : window->close();
        flush();
        QCOMPARE(closed, left == (route == QLatin1String("map") ? 1 : 0));
        QCOMPARE(window->mapWindows(), both.mid(0, left));
        QCOMPARE(script->questions,
                 QStringList(answers.size(), QStringLiteral("Änderungen an New* speichern?")));
        QCOMPARE(script->saveQuestions.size(), save.isEmpty() ? 0 : 1);
        QCOMPARE(QFile::exists(path(QStringLiteral("neu.bmp"))), save == QLatin1String("file"));
        for (MapWindow *map : window->mapWindows()) {
            QCOMPARE(map->document().isModified(), modified);
            QCOMPARE(map->caption(), QStringLiteral("New*"));
        }
        QCOMPARE(script->errors,
                 save == QLatin1String("blocked")
                     ? QStringList{errors::reportText(errors::cannotCreate(blocked))}
                     : QStringList{});
        QVERIFY(script->unanswered.isEmpty());
    }

    void undoAndRepair()
    {
        MapWindow *map =
            openMap(writeSolidBmp(path(QStringLiteral("weiss.bmp")), Qt::white, 300, 200));
        const QImage pristine = map->document().picture().copy();
        QVERIFY(!map->undoAction()->isEnabled());
        map->repairEdge();
        QCOMPARE(raster::pixel(map->document().picture(), 275, 100), board::kBlack); // W - 25
        QVERIFY(map->undoAction()->isEnabled());
        map->undo();
        QCOMPARE(map->document().picture(), pristine);
        QVERIFY(!map->undoAction()->isEnabled());
        QVERIFY(map->document().isModified());
        // Closing after the undo still asks.
        script->confirmAnswers << false;
        QVERIFY(map->close());
        QCOMPARE(script->questions.size(), 1);
    }

    void copyToClipboard()
    {
        MapWindow *map = window->newFile();
        map->copyToClipboard();
        QCOMPARE(QGuiApplication::clipboard()->image().size(), QSize(880, 656));
        QVERIFY(!map->document().isModified());
    }

    void menuMerging()
    {
        QMenuBar *bar = window->menuBar();
        const QStringList frame = {"Karte", "Werkzeuge", "Fenster", "Info"};
        const QStringList merged = {"Karte", "Bearbeiten", "Werkzeuge", "Fenster", "Info"};
        QCOMPARE(texts(bar), frame);
        QCOMPARE(texts(bar->actions()[0]->menu()),
                 (QStringList{"Neu", "Öffnen...", "-", "Beenden"}));

        MapWindow *first = window->newFile();
        MapWindow *second = window->newFile();
        QCOMPARE(texts(bar), merged);
        QCOMPARE(bar->actions()[0]->menu(), second->mapMenu());
        QCOMPARE(texts(second->mapMenu()),
                 (QStringList{"Neu", "Öffnen...", "Speichern", "Speichern als...", "Schließen", "-",
                              "Beenden"}));
        QCOMPARE(texts(second->editMenu()), (QStringList{"Rückgängig", "In Zwischenablage kopieren",
                                                         "Kartenrand reparieren"}));
        window->mdiArea()->setActiveSubWindow(first);
        QCOMPARE(bar->actions()[0]->menu(), first->mapMenu());

        QVERIFY(window->closeAllMaps());
        flush();
        QCOMPARE(texts(bar), frame);
    }

    void closeOrderOnExit()
    {
        QStringList expected;
        for (const char *name : {"a.bmp", "b.bmp", "c.bmp"}) {
            MapWindow *map =
                openMap(writeSolidBmp(path(QString::fromLatin1(name)), Qt::white, 100, 100));
            map->repairEdge();
            expected.prepend(mapfile::closeQuestion(map->caption()));
            script->confirmAnswers << false;
        }
        QVERIFY(window->close());
        flush();
        QCOMPARE(script->questions, expected);
        QVERIFY(window->mapWindows().isEmpty());
        QVERIFY(script->errors.isEmpty());
    }

    // "Speichern als..." onto a file that belongs to no open map asks first;
    // "No" goes back to the dialog. The map's own file is replaced silently.
    void saveAsAsksBeforeReplacing()
    {
        const QString existing = writeSolidBmp(path(QStringLiteral("alt.bmp")), Qt::white, 10, 10);
        const QByteArray old = readBytes(existing);
        MapWindow *map = window->newFile();
        clickMap(map, QPoint(40, 40));

        script->saveAnswers << existing;
        script->overwriteAnswers << false; // then the dialog is cancelled
        QVERIFY(!map->saveAs());
        QCOMPARE(script->overwriteQuestions, QStringList{existing});
        QCOMPARE(script->saveQuestions.size(), 2);
        QCOMPARE(map->caption(), QStringLiteral("New*"));
        QCOMPARE(readBytes(existing), old);

        // Asked about the file that is written, with the extension added.
        script->reset();
        script->saveAnswers << path(QStringLiteral("alt"));
        script->overwriteAnswers << true;
        QVERIFY(map->saveAs());
        QCOMPARE(script->overwriteQuestions, QStringList{existing});
        QCOMPARE(map->caption(), existing);
        QCOMPARE(raster::readBmpFile(existing).size(), QSize(880, 656));

        script->reset();
        clickMap(map, QPoint(80, 80));
        QVERIFY(map->save());
        script->saveAnswers << existing;
        QVERIFY(map->saveAs());
        QVERIFY(script->overwriteQuestions.isEmpty());
        QVERIFY(script->unanswered.isEmpty());
    }

    // Horizontal tiling: one window above another, each as wide as the
    // client area; minimised windows stay where they are.
    void tileWindows_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<bool>("minimised");
        for (int count : {1, 2, 3, 5})
            QTest::addRow("%d", count) << count << false;
        QTest::newRow("3 and a minimised one") << 3 << true;
    }

    void tileWindows()
    {
        QFETCH(int, count);
        QFETCH(bool, minimised);
        QMdiSubWindow *icon = nullptr;
        if (minimised) {
            icon = window->newFile();
            icon->showMinimized();
        }
        QList<MapWindow *> maps;
        for (int i = 0; i < count; ++i)
            maps << window->newFile();
        const QRect iconPlace = icon ? icon->geometry() : QRect();
        window->tileWindows();
        flush();

        const QSize area = window->mdiArea()->viewport()->size();
        const int bottom = area.height() - (icon ? icon->height() : 0);
        // The active (last made) window on top, the others below it.
        int top = 0;
        for (int i = count - 1; i >= 0; --i) {
            const QRect r = maps[i]->geometry();
            QCOMPARE(r.left(), 0);
            QCOMPARE(r.width(), area.width());
            QCOMPARE(r.top(), top);
            top = r.bottom() + 1;
        }
        QCOMPARE(top, bottom);
        if (icon) {
            QVERIFY(icon->isMinimized());
            QCOMPARE(icon->geometry(), iconPlace);
        }
    }

    // Enter in the overlay browsers' lists and drive boxes works the list,
    // never "Übernehmen": the tool the user chose stays.
    void enterInOverlayBrowsers_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<Mode>("tool");
        for (const char *control : {"DirectoryListBox1", "FileListBox1", "DriveComboBox1"}) {
            QTest::addRow("%s, correction", control) << control << Mode::Restore;
            QTest::addRow("%s, fill", control) << control << Mode::Fill;
        }
    }

    void enterInOverlayBrowsers()
    {
        QFETCH(QString, control);
        QFETCH(Mode, tool);
        QVERIFY(QDir(dir->path()).mkpath(QStringLiteral("ordner")));
        writeSolidBmp(path(QStringLiteral("eigenes.bmp")), Qt::white, 30, 30);
        const QString previous = QDir::currentPath();
        QDir::setCurrent(dir->path());
        auto restore = qScopeGuard([&] { QDir::setCurrent(previous); });
        // Browsers made now start in the folder with the picture.
        showNewWindow();
        window->toggleOverlayBrowsers();
        window->paletteTabs()->setCurrentIndex(0);
        window->chooseTool(tool);
        const QString status = window->toolState().statusText();
        QVERIFY(!status.isEmpty());

        auto *target = window->findChild<QWidget *>(control);
        QVERIFY(target);
        if (auto *list = qobject_cast<QListWidget *>(target)) {
            QVERIFY(list->count() > 0);
            list->setCurrentRow(list->count() - 1);
        }
        target->setFocus();
        QTRY_COMPARE(window->focusWidget(), target);
        QTest::keyClick(target, Qt::Key_Return);
        flush();
        QCOMPARE(window->toolState().statusText(), status);
        QCOMPARE(window->toolState().mode, tool);
    }

    void errorReport_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");
        QTest::newRow("letter") << int(Failing::Dk) << "Bitmap image is not valid"
                                << "Bitmap image is not valid.";
        QTest::newRow("digit") << int(Failing::Dk) << "Fehler 7"
                               << "Fehler 7.";
        QTest::newRow("full stop") << int(Failing::Dk) << "Schon fertig."
                                   << "Schon fertig.";
        QTest::newRow("question mark sorts after it") << int(Failing::Dk) << "Warum?"
                                                      << "Warum?.";
        QTest::newRow("bracket sorts before it") << int(Failing::Dk) << "Fehler (intern)"
                                                 << "Fehler (intern)";
        QTest::newRow("empty") << int(Failing::Dk) << ""
                               << "";
        QTest::newRow("std exception") << int(Failing::Std) << "out of memory"
                                       << "out of memory.";
    }

    void errorReport()
    {
        QFETCH(int, kind);
        QFETCH(QString, text);
        QFETCH(QString, shown);
        Failing failing(Failing::Kind(kind), text);
        QEvent event(QEvent::User);
        QVERIFY(!QCoreApplication::sendEvent(&failing, &event));
        QCOMPARE(script->errors, QStringList{shown});
        // The program goes on: the next event is handled normally.
        QEvent next(QEvent::None);
        QCoreApplication::sendEvent(&failing, &next);
        QCOMPARE(script->errors.size(), 1);
    }

    void overlaysToggle()
    {
        QAction *overlays = window->overlaysAction();
        overlays->trigger();
        overlays->trigger();
        QVERIFY(window->overlayTabs()->isHidden());
        window->toggleOverlayBrowsers(); // the menu item shows them, whatever before
        QVERIFY(overlays->isChecked());
        QVERIFY(window->overlayTabs()->isVisible());
    }

    void previewLifecycle()
    {
        PreviewState &preview = window->previewState();
        preview.lastPreview = QPoint(57, 89);
        preview.previousSample = QPoint(3, 4);
        MapWindow *first = window->newFile();
        QCOMPARE(preview.lastPreview, QPoint(0, 0));
        QCOMPARE(preview.previousSample, QPoint(0, 0));
        MapWindow *second = window->newFile();
        QVERIFY(second->canvas()->timer().isActive());
        // The window that loses activation stops its timer.
        window->mdiArea()->setActiveSubWindow(first);
        QVERIFY(!second->canvas()->timer().isActive());

        // Opening a modal window empties the previews.
        QDialog quest;
        window->setQuestEditor([&quest] { return &quest; });
        preview.offMap = false;
        QTimer::singleShot(0, &quest, &QDialog::reject);
        window->showQuestEditor();
        QVERIFY(preview.offMap);
    }

    void popupModes()
    {
        MapWindow *map = window->newFile();
        const auto items = map->popupMenu()->actions();
        QCOMPARE(texts(map->popupMenu()),
                 (QStringList{"Korrektur-Modus", "Füllmodus", "-", "In Zwischenablage kopieren"}));
        items[1]->trigger();
        flush();
        QCOMPARE(window->toolState().mode, Mode::Fill);
        QCOMPARE(window->statusLabel()->text(), QStringLiteral("Füll-Modus"));
    }
};

int main(int argc, char **argv)
{
    Application app(argc, argv);
    TestMainWindow test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_mainwindow.moc"
