// Shows the quest editor with a map picture and some text, for a look by eye
// (for instance under xvfb-run with a screenshot). Quits after the given
// number of seconds (default 5). Not a test.

#include "fonts.h"
#include "questeditor.h"
#include "raster.h"

#include <QApplication>
#include <QClipboard>
#include <QTimer>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("DK-Edit"));
    questfonts::installFontSubstitutions();

    QuestEditor editor;
    QuestDocument doc;
    doc.title = QStringLiteral("Der verlorene Schlüssel");
    doc.monster = QStringLiteral("Ork");
    doc.intro = QStringList{QStringLiteral("Ein Schlüssel liegt im tiefsten Keller der alten Burg, "
                                           "bewacht von Orks und Goblins."),
                            QString(), QStringLiteral("Findet ihn!")};
    doc.notes[QuestDocument::A] = QStringList{QStringLiteral("Hier liegt der Schlüssel. Wer die Truhe "
                                                             "öffnet, findet ihn unter einem alten Tuch.")};
    doc.active[QuestDocument::A] = true;
    editor.setQuestText(doc);

    // A small grey-and-white checker as the map picture, stretched by the display.
    QImage map(88, 66, QImage::Format_RGB32);
    for (int y = 0; y < map.height(); ++y)
        for (int x = 0; x < map.width(); ++x)
            map.setPixel(x, y, ((x / 8 + y / 8) % 2) ? 0xffc0c0c0u : 0xffffffffu);
    QGuiApplication::clipboard()->setImage(map);
    editor.Button6Click();

    editor.show();
    const int seconds = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 5;
    QTimer::singleShot(seconds * 1000, &app, &QApplication::quit);
    return app.exec();
}
