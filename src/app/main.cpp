// A first window with one map, until the main window exists: stamp a goblin,
// switch placement modes from the tool bar.

#include "mapcanvas.h"
#include "artwork.h"
#include "errors.h"

#include <QActionGroup>
#include <QApplication>
#include <QMainWindow>
#include <QMessageBox>
#include <QScrollArea>
#include <QStatusBar>
#include <QToolBar>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("DK-Edit"));
    ToolState tool;
    tool.stamp = artwork::bitmap(QStringLiteral("BOARD")).copy(24, 24, 30, 30);
    PreviewState preview;
    MapDocument document;
    QMainWindow window;
    auto *canvas = new MapCanvas(document, tool, preview);
    auto *scroll = new QScrollArea;
    scroll->setWidget(canvas);
    window.setCentralWidget(scroll);
    auto *bar = window.addToolBar(QStringLiteral("Modus"));
    for (int mode = 0; mode <= 6; ++mode) {
        bar->addAction(QString::number(mode), [&, mode] {
            tool.mode = quint8(mode);
            tool.setStatusText(mode == 1 ? ToolState::kCorrectionText
                               : mode == 6 ? ToolState::kFillText : QString());
            window.statusBar()->showMessage(tool.statusText());
        });
    }
    window.resize(920, 760);
    window.show();
    return app.exec();
}
