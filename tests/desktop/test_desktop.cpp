// The program on a Linux desktop: the frame fits the screen, the toolkit's
// dialogs speak the user's language while the program's own texts stay, the
// windows carry the program's icon, the window fields have names for
// assistive technology, and file dialogs start where the user's files are.
//
// The program runs under a German locale here (set in main, before the
// application object reads it). CTest runs it a second time on a 1280 x 1024
// screen at scale factor 2, where the frame's design size does not fit.

#include "application.h"
#include "bmpcodec.h"
#include "dialogs.h"
#include "errors.h"
#include "filefolders.h"
#include "mainwindow.h"
#include "mapwindow.h"
#include "overlaybrowser.h"
#include "program.h"
#include "screenfit.h"
#include "testhelpers.h"
#include "windowtest.h"

#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSettings>
#include <QSpinBox>
#include <QTabWidget>
#include <QTextEdit>
#include <QtTest>

namespace {

bool hasToolkitTranslation(const QString &language)
{
    return QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) +
                         QStringLiteral("/qtbase_%1.qm").arg(language));
}

QStringList buttonTexts(const QMessageBox &box)
{
    QStringList texts;
    for (QAbstractButton *button : box.buttons())
        if (!button->isHidden())
            texts << button->text();
    texts.sort();
    return texts;
}

} // namespace

class TestDesktop : public QObject, WindowTest {
    Q_OBJECT

private Q_SLOTS:
    void init() { setUp(/*withWindow=*/false); }
    void cleanup() { tearDown(); }

    // ---- A frame that fits the screen ------------------------------------------

    void placement_data()
    {
        QTest::addColumn<QRect>("available");
        QTest::addColumn<QSize>("minimum");
        QTest::addColumn<QPoint>("frameAt");
        QTest::addColumn<QSize>("client");
        // A design of 789 x 547 in a frame of 4, 24, 4, 4 pixels. Room for the design: its size,
        // centred with its frame.
        QTest::newRow("1280x1024")
            << QRect(0, 0, 1280, 1024) << QSize(400, 300) << QPoint(241, 224) << QSize(789, 547);
        QTest::newRow("panel on top")
            << QRect(0, 30, 1280, 994) << QSize(400, 300) << QPoint(241, 239) << QSize(789, 547);
        // Scale factor 2 on 1280 x 1024: the whole window inside 640 x 512.
        QTest::newRow("640x512") << QRect(0, 0, 640, 512) << QSize(400, 300) << QPoint(0, 0)
                                 << QSize(632, 484);
        QTest::newRow("second screen, narrow") << QRect(1280, 100, 700, 800) << QSize(400, 300)
                                               << QPoint(1280, 212) << QSize(692, 547);
        // A minimum that cannot fit keeps the title bar on the screen.
        QTest::newRow("minimum larger than the screen")
            << QRect(10, 20, 300, 200) << QSize(400, 300) << QPoint(10, 20) << QSize(400, 300);
    }

    void placement()
    {
        QFETCH(QRect, available);
        QFETCH(QSize, minimum);
        QFETCH(QPoint, frameAt);
        QFETCH(QSize, client);
        const screenfit::Placement placed =
            screenfit::place(QSize(789, 547), QMargins(4, 24, 4, 4), available, minimum);
        QCOMPARE(placed.framePosition, frameAt);
        QCOMPARE(placed.clientSize, client);
        if (minimum.width() <= available.width())
            QVERIFY(
                available.contains(QRect(placed.framePosition, placed.clientSize + QSize(8, 28))));
    }

    // The real frame at start-up: the design size (client area 789 x 526 below
    // the menu bar) where the screen holds it, otherwise all of it on screen.
    void frameStartsOnScreen()
    {
        MainWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QRect area = window.screen()->availableGeometry();
        const QSize design(789, 526 + window.menuBar()->height());
        if (area.width() >= 900 && area.height() >= 700) {
            QCOMPARE(window.size(), design);
            QVERIFY(std::abs(window.frameGeometry().center().x() - area.center().x()) <= 1);
        } else {
            QVERIFY2(area.contains(window.frameGeometry()),
                     qPrintable(QStringLiteral("frame %1,%2 %3x%4 on %5x%6")
                                    .arg(window.frameGeometry().x())
                                    .arg(window.frameGeometry().y())
                                    .arg(window.frameGeometry().width())
                                    .arg(window.frameGeometry().height())
                                    .arg(area.width())
                                    .arg(area.height())));
            QVERIFY(window.menuBar()->isVisible());
        }
        QCOMPARE(window.paletteTabs()->width(), 217);
    }

    // Resizing: the client area with the maps takes the change, the palette
    // keeps its width; too low for the tallest page, the palette scrolls.
    void frameResizes()
    {
        MainWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(window.minimumWidth() < window.maximumWidth());
        QVERIFY(window.minimumHeight() < window.maximumHeight());
        QVERIFY(window.windowFlags() & Qt::WindowMaximizeButtonHint);

        // (On a small screen the palette column may stop scrolling and so
        // give its scroll bar's width to the client area as well.)
        auto *column = window.findChild<QScrollArea *>(QStringLiteral("PaletteColumn"));
        QVERIFY(column);
        const QSize before = window.mdiArea()->size() + QSize(column->width(), 0);
        window.resize(window.width() + 150, window.height() + 100);
        flush();
        QCOMPARE(window.mdiArea()->size() + QSize(column->width(), 0), before + QSize(150, 100));
        QCOMPARE(window.paletteTabs()->width(), 217);

        // A map window can take the whole client area.
        MapWindow *map = window.newFile();
        map->showMaximized();
        flush();
        QCOMPARE(map->size(), window.mdiArea()->viewport()->size());

        window.resize(window.width(), 700);
        flush();
        QVERIFY(!column->verticalScrollBar()->isVisible());
        QCOMPARE(column->width(), 217);
        window.resize(window.width(), 360);
        flush();
        QCOMPARE(window.height(), 360);
        QCOMPARE(window.paletteTabs()->width(), 217);
        QVERIFY(column->verticalScrollBar()->isVisible());
        QCOMPARE(column->width(), 217 + column->verticalScrollBar()->width());
    }

    // ---- The toolkit's translations ---------------------------------------------

    void toolkitSpeaksGerman()
    {
        if (!hasToolkitTranslation(QStringLiteral("de")))
            QSKIP("Qt's German translation (qt6-translations-l10n) is not installed");
        QCOMPARE(QLocale::system().language(), QLocale::German);
        // The file and print dialogs' own texts.
        QCOMPARE(QCoreApplication::translate("QFileDialog", "Look in:"),
                 QStringLiteral("Suchen in:"));
        QCOMPARE(QCoreApplication::translate("QFileDialog", "File &name:"),
                 QStringLiteral("Datei&name:"));
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"),
                 QStringLiteral("Abbrechen"));
        QCOMPARE(QCoreApplication::translate("QPrintDialog", "Print"), QStringLiteral("Drucken"));
    }

    // The program's own texts stay in every language: the question box keeps
    // "Confirm", "&Yes" and "&No" also when the toolkit retranslates its
    // windows, and the error report keeps its English texts.
    void ownTextsStay()
    {
        const std::unique_ptr<QMessageBox> box =
            makeQuestionBox(nullptr, QStringLiteral("Text speichern?"));
        QEvent change(QEvent::LanguageChange);
        QCoreApplication::sendEvent(box.get(), &change);
        for (QObject *child : box->findChildren<QWidget *>())
            QCoreApplication::sendEvent(child, &change);
        QCOMPARE(buttonTexts(*box), (QStringList{"&No", "&Yes"}));
        QCOMPARE(box->windowTitle(), QStringLiteral("Confirm"));

        // Error reports through the program's own paths.
        MainWindow window;
        const QString broken = path(QStringLiteral("kaputt.bmp"));
        QVERIFY(writeBytes(broken, "BM no picture"));
        QCOMPARE(errors::reportText(errorOf([&] { window.openMap(broken); })),
                 QStringLiteral("Bitmap image is not valid."));
        const QString missing = path(QStringLiteral("fehlt/karte.bmp"));
        QCOMPARE(
            errorOf([&] { raster::writeBmpFile(QImage(4, 4, QImage::Format_RGB32), missing); }),
            QStringLiteral("Cannot create file ") + missing);
        QCOMPARE(QAccessible::queryAccessibleInterface(window.menuBar())
                     ->child(0)
                     ->text(QAccessible::Name),
                 QStringLiteral("Karte"));
    }

    // A right-to-left language would mirror the windows; the layout stays.
    void layoutStaysLeftToRight()
    {
        if (!hasToolkitTranslation(QStringLiteral("ar")))
            QSKIP("Qt's Arabic translation is not installed");
        auto *app = static_cast<Application *>(QCoreApplication::instance());
        QVERIFY(app->loadToolkitTranslation(QLocale(QLocale::Arabic)));
        flush();
        QCOMPARE(QGuiApplication::layoutDirection(), Qt::LeftToRight);
        QVERIFY(app->loadToolkitTranslation(QLocale::system()) ||
                !hasToolkitTranslation(QStringLiteral("de")));
        flush();
        QCOMPARE(QGuiApplication::layoutDirection(), Qt::LeftToRight);
    }

    // ---- Icons ----------------------------------------------------------------

    void programIcon()
    {
        const QIcon icon = QApplication::windowIcon();
        QVERIFY(!icon.isNull());
        // Every size, pixel for pixel the picture the package installs.
        for (int size : {16, 32, 48, 64, 128, 256}) {
            QVERIFY2(icon.availableSizes().contains(QSize(size, size)),
                     qPrintable(QString::number(size)));
            const QImage installed =
                QPixmap::fromImage(
                    QImage(QStringLiteral(DK_TEST_DATA "/../../packaging/icons/dkedit-%1.png")
                               .arg(size)))
                    .toImage();
            QVERIFY(samePixels(icon.pixmap(QSize(size, size), 1.0).toImage(), installed));
        }

        Program program;
        MapWindow *map = program.mainWindow.newFile();
        for (QWidget *window :
             QList<QWidget *>{&program.mainWindow, map, &program.questEditor(), &program.aboutBox})
            QCOMPARE(window->windowIcon().cacheKey(), icon.cacheKey());
    }

    // The quest editor is not in the first frame: it is made just after it,
    // and at once when something needs it earlier.
    void questEditorFollowsTheFirstFrame()
    {
        Program early;
        QVERIFY(!early.hasQuestEditor());
        QVERIFY(early.mainWindow.questEditor());
        QVERIFY(early.hasQuestEditor());

        Program program;
        program.mainWindow.show();
        QVERIFY(QTest::qWaitForWindowExposed(&program.mainWindow));
        QTRY_VERIFY(program.hasQuestEditor());
    }

    // ---- Names for assistive technology ----------------------------------------

    void windowFieldNames()
    {
        Program program;
        MapWindow *map = program.mainWindow.newFile();
        QCOMPARE(accessibleName(map->canvas()), QStringLiteral("Karte"));

        QuestEditor &editor = program.questEditor();
        QCOMPARE(accessibleName(editor.mapDisplay()), QStringLiteral("Quest-Karte"));
        QCOMPARE(accessibleName(editor.titleField()), QStringLiteral("Quest Titel"));
        QCOMPARE(accessibleName(editor.monsterField()), QStringLiteral("Streunendes Monster"));
        QCOMPARE(accessibleName(editor.introField()), QStringLiteral("Einleitung"));
        QCOMPARE(accessibleName(editor.fontField()), QStringLiteral("Schriftart"));
        QCOMPARE(accessibleName(editor.sizeField()), QStringLiteral("Größe"));
        QCOMPARE(accessibleName(editor.noteField(QuestDocument::C)), QStringLiteral("Anmerkung C"));
        QCOMPARE(accessibleName(editor.noteField(QuestDocument::Other)),
                 QStringLiteral("Sonstiges"));
        QCOMPARE(accessibleName(editor.activeBox(QuestDocument::A)),
                 QStringLiteral("Aktiv (Anmerkung A)"));
        QCOMPARE(editor.activeBox(QuestDocument::A)->text(), QStringLiteral("Aktiv"));

        // The preview boxes of the overlay browsers.
        const auto previews = program.mainWindow.overlayTabs()->findChildren<OverlayPreviewBox *>();
        QCOMPARE(previews.size(), 3);
        for (OverlayPreviewBox *preview : previews)
            QCOMPARE(accessibleName(preview), QStringLiteral("Vorschau"));
    }

    // ---- Where file dialogs start ---------------------------------------------

    void startFolder_data()
    {
        QTest::addColumn<QString>("current");    // relative to the test folder; "" none
        QTest::addColumn<QString>("remembered"); // relative; "" none
        QTest::addColumn<QString>("expected");   // relative; "~" the home folder
        QTest::newRow("nothing known") << ""
                                       << ""
                                       << "~";
        QTest::newRow("remembered") << ""
                                    << "karten"
                                    << "karten";
        QTest::newRow("document wins") << "quests/a.dke"
                                       << "karten"
                                       << "quests";
        QTest::newRow("document's folder gone") << "weg/a.dke"
                                                << "karten"
                                                << "karten";
        QTest::newRow("remembered folder gone") << ""
                                                << "weg"
                                                << "~";
    }

    void startFolder()
    {
        QFETCH(QString, current);
        QFETCH(QString, remembered);
        QFETCH(QString, expected);
        QDir(dir->path()).mkpath(QStringLiteral("karten"));
        QDir(dir->path()).mkpath(QStringLiteral("quests"));
        auto at = [this](const QString &relative) {
            return relative.isEmpty() ? QString() : path(relative);
        };
        if (!remembered.isEmpty())
            filefolders::remember(FileKind::Quest, at(remembered) + QStringLiteral("/x.dke"));
        QCOMPARE(filefolders::startFolder(FileKind::Quest, at(current)),
                 expected == QLatin1String("~") ? QDir::homePath() : at(expected));
    }

    // Through the windows: the open dialog starts beside the active map, each
    // kind remembers its own folder, and the folders outlast the run.
    void dialogsStartWhereTheFilesAre()
    {
        const QString maps = path(QStringLiteral("karten"));
        const QString others = path(QStringLiteral("andere"));
        QVERIFY(QDir().mkpath(maps) && QDir().mkpath(others));
        const QString first = writeSolidBmp(maps + QStringLiteral("/eins.bmp"), Qt::white, 40, 30);
        Program program;
        MainWindow &window = program.mainWindow;

        script->openAnswers << first;
        QVERIFY(window.open());
        QCOMPARE(script->openQuestions.last().folder, QDir::homePath());

        // Beside the active map's file.
        const QString second =
            writeSolidBmp(others + QStringLiteral("/zwei.bmp"), Qt::white, 40, 30);
        script->openAnswers << second;
        window.open();
        QCOMPARE(script->openQuestions.last().folder, maps);

        // A new map has no file: its save dialog starts where the last map was chosen.
        MapWindow *fresh = window.newFile();
        script->saveAnswers << maps + QStringLiteral("/drei");
        QVERIFY(fresh->saveAs());
        QCOMPARE(script->saveQuestions.last().folder, others);

        // Quests and pictures have folders of their own.
        script->openAnswers << QString();
        program.questEditor().loadQuest();
        QCOMPARE(script->openQuestions.last().folder, QDir::homePath());
        script->openAnswers << second;
        program.questEditor().loadPicture();
        QCOMPARE(script->openQuestions.last().folder, QDir::homePath());
        script->openAnswers << QString();
        program.questEditor().loadPicture();
        QCOMPARE(script->openQuestions.last().folder, others);

        // Remembered in the program's settings, which the tests keep apart
        // from the user's own.
        QSettings settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("dkedit"),
                           QStringLiteral("dkedit"));
        QVERIFY(settings.fileName().startsWith(script->settingsDir.path()));
        QCOMPARE(settings.value(filefolders::settingsKey(FileKind::Map)).toString(), maps);
        QCOMPARE(settings.value(filefolders::settingsKey(FileKind::Picture)).toString(), others);
        QVERIFY(!settings.contains(filefolders::settingsKey(FileKind::Quest)));
    }
};

int main(int argc, char **argv)
{
    // A German desktop, whatever the machine running the tests speaks.
    qputenv("LC_ALL", "de_DE.UTF-8");
    qputenv("LANG", "de_DE.UTF-8");
    qputenv("LANGUAGE", "de");
    Application app(argc, argv);
    prepareApplication();
    TestDesktop test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_desktop.moc"
