// The three overlay browser pages: their parts, the show and use handlers,
// the directory walking, the mouse-move report, and keeping their contents
// while the tab control is hidden.
#include "errors.h"
#include "overlaybrowser.h"
#include "raster.h"
#include "toolstate.h"

#include <QComboBox>
#include <QDir>
#include <QListWidget>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QImage solid(int w, int h, QRgb colour) {
    QImage picture(w, h, QImage::Format_RGB32);
    picture.fill(colour);
    return picture;
}

QStringList texts(const QListWidget *list) {
    QStringList result;
    for (int i = 0; i < list->count(); ++i)
        result << list->item(i)->text();
    return result;
}

OverlayBrowser *browserAt(QTabWidget &tabs, int i) {
    return qobject_cast<OverlayBrowser *>(tabs.widget(i));
}

} // namespace

// Stands in for the program's error report: keeps the text of the last
// DkError that escaped an event handler.
class ReportingApplication : public QApplication {
public:
    using QApplication::QApplication;
    QString lastError;
    bool notify(QObject *receiver, QEvent *event) override {
        try {
            return QApplication::notify(receiver, event);
        } catch (const DkError &e) {
            lastError = e.text();
        }
        return false;
    }
};

class TestOverlayBrowser : public QObject {
    Q_OBJECT

    QTemporaryDir m_tmp;

    QString folder(const QString &name) const { return QDir(m_tmp.path()).filePath(name); }

private Q_SLOTS:
    void initTestCase() {
        QVERIFY(m_tmp.isValid());
        QDir root(m_tmp.path());
        for (const char *name : {"eins", "zwei", "drei", "eins/unter"})
            QVERIFY(root.mkpath(QString::fromLatin1(name)));
        raster::writeBmpFile(solid(30, 30, qRgb(255, 0, 0)), folder("eins/rot.bmp"));
        raster::writeBmpFile(solid(200, 150, qRgb(0, 128, 0)), folder("zwei/GRUEN.BMP"));
        raster::writeBmpFile(solid(60, 60, qRgb(0, 0, 0)), folder("drei/schwarz.bmp"));
        raster::writeBmpFile(solid(60, 60, qRgb(9, 9, 9)), folder("drei/Anders.Bmp"));
    }

    void pagesAndParts() {
        QTabWidget tabs;
        ToolState tool;
        addOverlayBrowsers(&tabs, tool, [] {});
        QCOMPARE(tabs.count(), 3);
        QCOMPARE(tabs.currentIndex(), 0);
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(tabs.tabText(i), QString::number(i + 1));
            OverlayBrowser *b = browserAt(tabs, i);
            QVERIFY(b);
            // Start: the process's directory, nothing selected, empty disabled preview.
            QCOMPARE(b->slot().directory(), QDir::currentPath());
            QVERIFY(b->fileList()->selectedItems().isEmpty());
            QVERIFY(!b->previewBox()->isEnabled());
            QVERIFY(b->previewBox()->picture().isNull());
            QCOMPARE(b->driveBox()->itemData(0).toString(), QStringLiteral("/"));
        }
    }

    void walkChooseAndUse() {
        ToolState tool;
        OverlayBrowser b(1, tool);
        b.show();
        QVERIFY(QTest::qWaitForWindowExposed(&b));

        // The disabled preview ignores clicks.
        tool.stamp = solid(5, 5, qRgb(1, 2, 3));
        tool.mode = ToolState::Fill;
        QTest::mouseClick(b.previewBox(), Qt::LeftButton);
        QCoreApplication::processEvents();
        QCOMPARE(tool.mode, quint8(ToolState::Fill));

        // Choosing the root drive shows the root in the directory list.
        Q_EMIT b.driveBox()->activated(0);
        QCOMPARE(b.slot().directory(), QStringLiteral("/"));
        QCOMPARE(b.directoryList()->currentItem()->text(), QStringLiteral("/"));

        // Entering a directory by activating its line.
        b.setDirectory(m_tmp.path());
        QListWidget *dirs = b.directoryList();
        const QList<QListWidgetItem *> found = dirs->findItems("eins", Qt::MatchExactly);
        QCOMPARE(found.size(), 1);
        Q_EMIT dirs->itemActivated(found.first());
        QCOMPARE(b.slot().directory(), QDir(folder("eins")).absolutePath());
        QCOMPARE(dirs->currentItem()->text(), QStringLiteral("eins"));
        QCOMPARE(dirs->item(dirs->count() - 1)->text(), QStringLiteral("unter"));
        QCOMPARE(texts(b.fileList()), QStringList({"rot.bmp"}));

        // Choosing the file shows it; a click on the preview stamps it.
        b.selectFile(QStringLiteral("rot.bmp"));
        QVERIFY(b.previewBox()->isEnabled());
        QCOMPARE(b.previewBox()->picture().pixel(47, 47), qRgb(255, 0, 0));
        QTest::mouseClick(b.previewBox(), Qt::LeftButton);
        QCOMPARE(tool.mode, quint8(ToolState::Fill)); // runs after the click event
        QCoreApplication::processEvents();
        QCOMPARE(tool.stamp.size(), QSize(30, 30));
        QCOMPARE(tool.mode, quint8(ToolState::Square));

        // Another directory: the selection goes, the preview stays enabled.
        b.setDirectory(folder("drei"));
        QCOMPARE(texts(b.fileList()), QStringList({"Anders.Bmp", "schwarz.bmp"}));
        QVERIFY(b.fileList()->selectedItems().isEmpty());
        QVERIFY(b.previewBox()->isEnabled());
        QCOMPARE(b.previewBox()->picture().pixel(47, 47), qRgb(255, 0, 0));
    }

    void userSelectionReportsFailures() {
        // The user moves through the list with the keyboard: each new
        // selection is shown after its event; a broken file is reported and
        // the preview keeps the picture before it.
        auto &app = static_cast<ReportingApplication &>(*qApp);
        QFile bad(folder("drei/kaputt.bmp"));
        QVERIFY(bad.open(QIODevice::WriteOnly));
        bad.write("BM this is no picture at all, not even close");
        bad.close();

        ToolState tool;
        OverlayBrowser b(2, tool);
        b.setDirectory(folder("drei"));
        QCOMPARE(texts(b.fileList()), QStringList({"Anders.Bmp", "kaputt.bmp", "schwarz.bmp"}));
        b.fileList()->setCurrentRow(0);
        QVERIFY(!b.previewBox()->isEnabled());
        QCoreApplication::processEvents();
        QVERIFY(b.previewBox()->isEnabled());
        QCOMPARE(b.previewBox()->picture().pixel(47, 47), qRgb(9, 9, 9));

        app.lastError.clear();
        b.fileList()->setCurrentRow(1);
        QCoreApplication::processEvents();
        QCOMPARE(app.lastError, errors::invalidBitmap());
        QCOMPARE(b.previewBox()->picture().pixel(47, 47), qRgb(9, 9, 9));

        b.fileList()->setCurrentRow(2);
        QCoreApplication::processEvents();
        QCOMPARE(b.previewBox()->picture().pixel(47, 47), qRgb(0, 0, 0));
        QVERIFY(bad.remove());

        // A click on the preview after a change of directory: nothing is
        // selected, the report says so and the tool state stays.
        b.setDirectory(folder("eins"));
        b.show();
        QVERIFY(QTest::qWaitForWindowExposed(&b));
        tool.stamp = solid(5, 5, qRgb(1, 2, 3));
        tool.mode = ToolState::Correct;
        tool.setStatusText(ToolState::kCorrectionText);
        QTest::mouseClick(b.previewBox(), Qt::LeftButton);
        QCoreApplication::processEvents();
        QCOMPARE(app.lastError, QStringLiteral("Cannot open file "));
        QCOMPARE(tool.mode, quint8(ToolState::Correct));
        QCOMPARE(tool.statusText(), ToolState::kCorrectionText);
        QCOMPARE(tool.stamp, solid(5, 5, qRgb(1, 2, 3)));
    }

    void hidingKeepsEachBrowser() {
        QTabWidget tabs;
        ToolState tool;
        addOverlayBrowsers(&tabs, tool, [] {});
        tabs.resize(149, 466);
        tabs.show();
        const QStringList dirs = {"eins", "zwei", "drei"};
        const QStringList files = {"rot.bmp", "GRUEN.BMP", "schwarz.bmp"};
        const QList<QRgb> centres = {qRgb(255, 0, 0), qRgb(0, 128, 0), qRgb(0, 0, 0)};
        for (int i = 0; i < 3; ++i) {
            browserAt(tabs, i)->setDirectory(folder(dirs[i]));
            browserAt(tabs, i)->selectFile(files[i]);
        }

        tabs.hide();
        tabs.show();
        tabs.setCurrentIndex(2);
        tabs.hide();
        tabs.show();

        for (int i = 0; i < 3; ++i) {
            const OverlayBrowser *b = browserAt(tabs, i);
            QCOMPARE(b->slot().directory(), QDir(folder(dirs[i])).absolutePath());
            QCOMPARE(b->slot().selectedFile(), files[i]);
            QCOMPARE(b->fileList()->selectedItems().size(), 1);
            QCOMPARE(b->fileList()->selectedItems().first()->text(), files[i]);
            QCOMPARE(b->previewBox()->picture().pixel(47, 47), centres[i]);
            QVERIFY(b->previewBox()->isEnabled());
        }
        // Each preview stamps its own file.
        browserAt(tabs, 1)->imageClick();
        QCOMPARE(tool.stamp.size(), QSize(200, 150));
        browserAt(tabs, 0)->imageClick();
        QCOMPARE(tool.stamp.size(), QSize(30, 30));
    }

    void mouseMovesReportOffMap() {
        QTabWidget tabs;
        ToolState tool;
        int moves = 0;
        addOverlayBrowsers(&tabs, tool, [&moves] { ++moves; });
        tabs.resize(149, 480);
        tabs.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tabs));
        OverlayBrowser *b = browserAt(tabs, 0);

        struct Spot {
            const char *name;
            QWidget *widget;
            QPoint at;
            bool counts;
        };
        const QList<Spot> spots = {
            {"page between preview and drive box", b, QPoint(70, 110), true},
            {"preview", b->previewBox(), QPoint(47, 47), true},
            {"directory list", b->directoryList()->viewport(), QPoint(40, 40), true},
            {"file list", b->fileList()->viewport(), QPoint(40, 40), true},
            {"drive box", b->driveBox(), QPoint(60, 9), false},
        };
        for (const Spot &spot : spots) {
            // From an empty corner of the page into the middle of the part.
            QTest::mouseMove(b, QPoint(2, 2));
            moves = 0;
            QTest::mouseMove(spot.widget, spot.at);
            QTest::mouseMove(spot.widget, spot.at + QPoint(1, 1));
            if (spot.counts)
                QVERIFY2(moves > 0, spot.name);
            else
                QVERIFY2(moves == 0, spot.name);
        }
    }
};

int main(int argc, char **argv) {
    ReportingApplication app(argc, argv);
    QTEST_SET_MAIN_SOURCE_PATH
    TestOverlayBrowser test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_overlaybrowser.moc"
