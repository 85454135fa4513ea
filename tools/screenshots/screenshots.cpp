// Makes the pictures of the README: the real main window with a populated
// map, grabbed as it paints itself, and the printed quest sheet of that map as
// a PDF (turned into a PNG by tools/screenshots.sh).
//
//   screenshots <main-window.png> <quest-sheet.pdf>
//
// The pieces are placed through the palette and mouse clicks on the map, the
// way a user places them; the print dialog is answered with a PDF file.

#include "application.h"
#include "dialogs.h"
#include "fonts.h"
#include "mainwindow.h"
#include "mapwindow.h"
#include "palette.h"
#include "questdocument.h"
#include "sheetprint.h"

#include <QMouseEvent>
#include <QPrinter>
#include <QTabWidget>
#include <QToolButton>

#include <cstdio>

namespace {

/// The print dialog answered with a PDF file; nothing else is asked.
class PdfDialogs : public QtDialogs {
public:
    explicit PdfDialogs(QString pdf) : m_pdf(std::move(pdf)) {}
    bool print(QWidget *, QPrinter &printer) override
    {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(m_pdf);
        return true;
    }
    void error(QWidget *, const QString &text) override
    {
        std::fprintf(stderr, "screenshots: %s\n", qPrintable(text));
        failed = true;
    }
    bool failed = false;

private:
    QString m_pdf;
};

void settle()
{
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
}

constexpr int centre(int square)
{
    return 24 + 32 * square + 16;
}
constexpr int leftLine(int square)
{
    return 24 + 32 * square + 2;
}
constexpr int topLine(int square)
{
    return 24 + 32 * square + 2;
}

void clickMap(MapWindow *map, int x, int y)
{
    QWidget *canvas = map->canvas();
    const QPointF local(x, y);
    const QPointF global = canvas->mapToGlobal(local.toPoint());
    QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(canvas, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(canvas, &release);
    settle();
}

// Clicks a palette control ("Image19", "BitBtn1", "Button2", "ToolButton3").
void choose(MainWindow &window, const char *control)
{
    const QString name = QString::fromLatin1(control);
    if (QToolButton *button = window.toolButton(name))
        button->click();
    else
        window.palette()->click(name);
    settle();
}

} // namespace

int main(int argc, char **argv)
{
    Application app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: screenshots <main-window.png> <quest-sheet.pdf>\n");
        return 2;
    }
    const QString png = QString::fromLocal8Bit(argv[1]);
    const QString pdf = QString::fromLocal8Bit(argv[2]);
    PdfDialogs answers(pdf);
    setDialogs(&answers);
    questfonts::installFontSubstitutions();

    MainWindow window;
    window.show();
    settle();
    MapWindow *map = window.newFile();
    settle();

    // Monsters from the tool bar.
    const struct {
        const char *button;
        int col, row;
    } monsters[] = {
        {"ToolButton1", 2, 1}, {"ToolButton1", 3, 1}, {"ToolButton2", 2, 2},
        {"ToolButton4", 6, 1}, {"ToolButton5", 7, 2}, {"ToolButton6", 6, 2},
        {"ToolButton7", 3, 5}, {"ToolButton8", 6, 6}, {"ToolButton3", 10, 2},
    };
    for (const auto &m : monsters) {
        choose(window, m.button);
        clickMap(map, centre(m.col), centre(m.row));
    }
    // Doors in the room walls: one on a left line, one on a top line.
    choose(window, "Image19");
    clickMap(map, leftLine(5), centre(2));
    choose(window, "Image18");
    clickMap(map, centre(2), topLine(4));
    choose(window, "Image18");
    clickMap(map, centre(6), topLine(4));
    // Furniture: the altar as shown at start, a chest, a table turned once.
    choose(window, "BitBtn1");
    clickMap(map, centre(1), centre(6));
    choose(window, "Image14");
    choose(window, "BitBtn1");
    clickMap(map, centre(8), centre(1));
    choose(window, "Image4");
    choose(window, "Button2");
    choose(window, "BitBtn1");
    clickMap(map, centre(7), centre(5));
    // A pit, stairs and a note marker.
    choose(window, "Image12");
    clickMap(map, centre(10), centre(4));
    choose(window, "Image24");
    clickMap(map, centre(9), centre(1));
    choose(window, "Image32");
    clickMap(map, centre(4), centre(3));
    // A greyed-out part of the right room.
    choose(window, "ToolButton11");
    for (int row = 4; row <= 5; ++row)
        for (int col = 9; col <= 11; ++col)
            if (col != 10 || row != 4)
                clickMap(map, centre(col), centre(row));
    // The palette shows the furniture views; the status bar the fill mode.
    window.paletteTabs()->setCurrentIndex(0);
    settle();

    if (!window.grab().save(png)) {
        std::fprintf(stderr, "screenshots: cannot write %s\n", qPrintable(png));
        return 1;
    }

    QuestDocument quest;
    quest.title = QStringLiteral("Die Gruft des Nekromanten");
    quest.monster = QStringLiteral("Zombie");
    quest.intro = QStringList{
        QStringLiteral("Tief unter der alten Abtei hat ein Nekromant die Toten"),
        QStringLiteral("geweckt. Findet seinen Altar und zerstört ihn, bevor der"),
        QStringLiteral("Mond aufgeht. Hütet euch vor dem Chaos-Krieger!"),
    };
    quest.introSize = 10;
    quest.notes[QuestDocument::A] =
        QStringList{QStringLiteral("Die Truhe enthält 100 Goldstücke.")};
    quest.notes[QuestDocument::B] = QStringList{QStringLiteral("Die Fallgrube ist verdeckt.")};
    quest.notes[QuestDocument::Other] =
        QStringList{QStringLiteral("Wer den Altar berührt, verliert 1 Körperpunkt.")};
    quest.active[QuestDocument::A] = true;
    quest.active[QuestDocument::B] = true;
    quest.active[QuestDocument::Other] = true;
    printQuestSheet(&window, quest, map->document().picture());
    settle();

    // Closing without the save question: the map is a picture only.
    setDialogs(nullptr);
    return answers.failed ? 1 : 0;
}
