// The frame window and its map windows, driven headless: file naming, the
// close question, undo, repair, menu merging, closing order, the error
// report and the tool bar.

#include "aboutbox.h"
#include "application.h"
#include "artwork.h"
#include "errors.h"
#include "geometry.h"
#include "mainwindow.h"
#include "mapwindow.h"
#include "raster.h"
#include "scripteddialogs.h"
#include "testhelpers.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QStatusBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QScopeGuard>
#include <QtTest>

#include <memory>

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

// The texts of a menu bar's menus or a menu's items, "-" for a separator.
QStringList texts(const QWidget *menu)
{
    QStringList result;
    for (const QAction *action : menu->actions())
        result << (action->isSeparator() ? QStringLiteral("-") : action->text());
    return result;
}


} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

    std::unique_ptr<ScriptedDialogs> script;
    std::unique_ptr<MainWindow> window;
    std::unique_ptr<QTemporaryDir> dir;

    QString path(const QString &name) const { return dir->filePath(name); }

    // A white picture of the given size written as a BMP file.
    QString writeWhite(const QString &name, int w, int h)
    {
        QImage white(w, h, QImage::Format_RGB32);
        white.fill(Qt::white);
        raster::writeBmpFile(white, path(name));
        return path(name);
    }

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
    void init()
    {
        script = std::make_unique<ScriptedDialogs>();
        dir = std::make_unique<QTemporaryDir>();
        QVERIFY(dir->isValid());
        window = std::make_unique<MainWindow>();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }

    void cleanup()
    {
        window.reset();
        flush();
        script.reset();
        dir.reset();
    }

    void toolButtons_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<QString>("stamp");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("status");
        for (int i = 0; i < MainWindow::kMonsterStamps.size(); ++i)
            QTest::newRow(qPrintable(MainWindow::kMonsterStamps[i]))
                << i + 1 << MainWindow::kMonsterStamps[i] << 0 << QString();
        QTest::newRow("correction") << 10 << QString() << 1 << QStringLiteral("Korrektur-Modus");
        QTest::newRow("fill") << 11 << QString() << 6 << QStringLiteral("Füll-Modus");
    }

    void toolButtons()
    {
        QFETCH(int, button);
        QFETCH(QString, stamp);
        QFETCH(int, mode);
        QFETCH(QString, status);
        ToolState &tool = window->toolState();
        // Start from another mode so every field must change.
        tool.mode = 3;
        tool.setStatusText(QStringLiteral("Füll-Modus"));
        const QImage before = tool.stamp;
        QTest::mouseClick(window->toolButton(button), Qt::LeftButton);
        flush();
        QCOMPARE(int(tool.mode), mode);
        QCOMPARE(tool.statusText(), status);
        QCOMPARE(window->statusLabel()->text(), status);
        if (stamp.isEmpty())
            QCOMPARE(tool.stamp, before);
        else
            QCOMPARE(tool.stamp, artwork::bitmap(stamp));
    }

    void offMapFlag()
    {
        PreviewState &preview = window->previewState();
        auto moveOver = [&](QWidget *widget) {
            preview.offMap = false;
            QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), widget->mapToGlobal(QPointF(2, 2)),
                             Qt::NoButton, Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(widget, &move);
            return preview.offMap;
        };
        QVERIFY(moveOver(window->toolButton(3)));
        // Controls that the palette adds later report too.
        QVERIFY(moveOver(new QWidget(new QLabel(window->paletteTabs()->widget(1)))));
        QVERIFY(!moveOver(window->statusBar()));
        AboutBox about(preview);
        QVERIFY(moveOver(about.title()));
    }

    void saveAsNaming_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("written");
        QTest::newRow("no extension") << "karte1" << "karte1.bmp";
        QTest::newRow("upper-case extension") << "karte1.BMP" << "karte1.BMP.bmp";
        QTest::newRow("with extension") << "karte2.bmp" << "karte2.bmp";
        QTest::newRow("cancelled") << "" << "";
        QTest::newRow("extension inside a folder name") << "x.bmp/karte3" << "x.bmp/karte3";
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
        const QString file = writeWhite(QStringLiteral("klein.bmp"), 200, 150);
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

    void openBadFile_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("exists");
        QTest::addColumn<QString>("error");
        QTest::newRow("empty file") << QByteArray() << true << "Bitmap image is not valid.";
        QTest::newRow("missing file") << QByteArray() << false << "Cannot open file %1";
    }

    void openBadFile()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, exists);
        QFETCH(QString, error);
        const QString file = path(QStringLiteral("kaputt.bmp"));
        if (exists) {
            QFile out(file);
            QVERIFY(out.open(QIODevice::WriteOnly));
            out.write(content);
        }
        // Through the menu, so the error takes the program's own way to the report.
        script->openAnswers << file;
        QAction *open = window->menuBar()->actions()[0]->menu()->actions()[1];
        QCOMPARE(open->text(), QStringLiteral("Öffnen..."));
        open->trigger();
        flush();
        if (error.contains(QLatin1String("%1")))
            error = error.arg(file);
        QCOMPARE(script->errors, QStringList{errors::reportText(error)});
        QVERIFY(window->mapWindows().isEmpty());
        QVERIFY(window->mdiArea()->subWindowList().isEmpty());
    }

    void closeQuestion_data()
    {
        QTest::addColumn<bool>("modify");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<int>("asked");
        QTest::addColumn<bool>("saved");
        QTest::newRow("unmodified") << false << false << 0 << false;
        QTest::newRow("modified, no") << true << false << 1 << false;
        QTest::newRow("modified, yes") << true << true << 1 << true;
    }

    void closeQuestion()
    {
        QFETCH(bool, modify);
        QFETCH(bool, yes);
        QFETCH(int, asked);
        QFETCH(bool, saved);
        MapWindow *map = window->newFile();
        if (modify)
            clickMap(map, QPoint(40, 40));
        script->confirmAnswers << yes;
        script->saveAnswers << path(QStringLiteral("neu"));
        QVERIFY(map->close());
        flush();
        QCOMPARE(script->questions.size(), asked);
        if (asked)
            QCOMPARE(script->questions[0], QStringLiteral("Änderungen an New* speichern?"));
        QCOMPARE(QFile::exists(path(QStringLiteral("neu.bmp"))), saved);
        QVERIFY(window->mapWindows().isEmpty());
    }

    void undoAndRepair()
    {
        MapWindow *map = openMap(writeWhite(QStringLiteral("weiss.bmp"), 300, 200));
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
                 (QStringList{"Neu", "Öffnen...", "Speichern", "Speichern als...", "Schließen",
                              "-", "Beenden"}));
        QCOMPARE(texts(second->editMenu()),
                 (QStringList{"Rückgängig", "In Zwischenablage kopieren", "Kartenrand reparieren"}));
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
            MapWindow *map = openMap(writeWhite(QString::fromLatin1(name), 100, 100));
            map->repairEdge();
            expected.prepend(mapfiles::closeQuestion(map->caption()));
            script->confirmAnswers << false;
        }
        QVERIFY(window->close());
        flush();
        QCOMPARE(script->questions, expected);
        QVERIFY(window->mapWindows().isEmpty());
        QVERIFY(script->errors.isEmpty());
    }

    // When the user wants a map saved on closing and the save does not
    // happen, the map stays open and the frame window stays too.
    void refusedClose_data()
    {
        QTest::addColumn<bool>("cancelDialog");
        QTest::newRow("save fails") << false;
        QTest::newRow("save dialog cancelled") << true;
    }

    void refusedClose()
    {
        QFETCH(bool, cancelDialog);
        MapWindow *keep = window->newFile();
        MapWindow *map = window->newFile();
        clickMap(map, QPoint(40, 40));
        // A directory named like a map file cannot be written, even by root.
        const QString blocked = path(QStringLiteral("besetzt.bmp"));
        QVERIFY(QDir().mkpath(blocked));
        script->confirmAnswers << true;
        if (!cancelDialog)
            script->saveAnswers << blocked;

        QVERIFY(!window->close());
        flush();
        QCOMPARE(script->questions.size(), 1);
        QCOMPARE(window->mapWindows(), (QList<MapWindow *>{keep, map}));
        QVERIFY(map->document().isModified());
        QCOMPARE(map->caption(), QStringLiteral("New*"));
        if (cancelDialog)
            QVERIFY(script->errors.isEmpty());
        else
            QCOMPARE(script->errors, QStringList{errors::reportText(errors::cannotCreate(blocked))});

        // The same through the map's own close box.
        script->reset();
        script->confirmAnswers << true;
        if (!cancelDialog)
            script->saveAnswers << blocked;
        QVERIFY(!map->close());
        flush();
        QCOMPARE(window->mapWindows().size(), 2);
        QCOMPARE(script->errors.size(), cancelDialog ? 0 : 1);
    }

    // Escape or the close box of the save question calls off what asked:
    // closing one map, "Alle schließen", "Beenden".
    void dismissedSaveQuestion()
    {
        MapWindow *first = window->newFile();
        clickMap(first, QPoint(40, 40));
        MapWindow *second = window->newFile();
        clickMap(second, QPoint(40, 40));
        const auto both = QList<MapWindow *>{first, second};

        script->confirmAnswers << Dialogs::Answer::Dismissed;
        QVERIFY(!second->close());
        flush();
        QCOMPARE(window->mapWindows(), both);

        script->confirmAnswers << Dialogs::Answer::Dismissed;
        QVERIFY(!window->closeAllMaps());
        flush();
        QCOMPARE(window->mapWindows(), both);

        // "Beenden": the last map is let go, the first is kept.
        script->confirmAnswers << false << Dialogs::Answer::Dismissed;
        QVERIFY(!window->close());
        flush();
        QCOMPARE(window->mapWindows(), QList<MapWindow *>{first});
        QVERIFY(first->document().isModified());
        QCOMPARE(script->questions.size(), 4);
        QVERIFY(script->saveQuestions.isEmpty());
        QVERIFY(script->unanswered.isEmpty());
    }

    // "Speichern als..." onto a file that belongs to no open map asks first;
    // "No" goes back to the dialog. The map's own file is replaced silently.
    void saveAsAsksBeforeReplacing()
    {
        const QString existing = writeWhite(QStringLiteral("alt.bmp"), 10, 10);
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
        QTest::addColumn<int>("tool");
        for (const char *control : {"DirectoryListBox1", "FileListBox1", "DriveComboBox1"}) {
            QTest::addRow("%s, correction", control) << control << 10;
            QTest::addRow("%s, fill", control) << control << 11;
        }
    }

    void enterInOverlayBrowsers()
    {
        QFETCH(QString, control);
        QFETCH(int, tool);
        QVERIFY(QDir(dir->path()).mkpath(QStringLiteral("ordner")));
        writeWhite(QStringLiteral("eigenes.bmp"), 30, 30);
        const QString previous = QDir::currentPath();
        QDir::setCurrent(dir->path());
        auto restore = qScopeGuard([&] { QDir::setCurrent(previous); });
        // Browsers made now start in the folder with the picture.
        window = std::make_unique<MainWindow>();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        window->toggleOverlayBrowsers();
        window->paletteTabs()->setCurrentIndex(0);
        window->toolButtonClicked(tool);
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
        QCOMPARE(int(window->toolState().mode), tool == 10 ? 1 : 6);
    }

    void errorReport_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");
        QTest::newRow("letter") << int(Failing::Dk) << "Bitmap image is not valid"
                                << "Bitmap image is not valid.";
        QTest::newRow("digit") << int(Failing::Dk) << "Fehler 7" << "Fehler 7.";
        QTest::newRow("full stop") << int(Failing::Dk) << "Schon fertig." << "Schon fertig.";
        QTest::newRow("question mark sorts after it") << int(Failing::Dk) << "Warum?" << "Warum?.";
        QTest::newRow("bracket sorts before it") << int(Failing::Dk) << "Fehler (intern)"
                                                 << "Fehler (intern)";
        QTest::newRow("empty") << int(Failing::Dk) << "" << "";
        QTest::newRow("std exception") << int(Failing::Std) << "out of memory" << "out of memory.";
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
        window->setQuestEditor(&quest);
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
        QCOMPARE(int(window->toolState().mode), 6);
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
