// Makes every picture of the program's artwork and writes it below the given
// folder (normally the repository's artwork/).

#include "artgen.h"
#include "errors.h"

#include <QGuiApplication>
#include <cstdio>

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: artgen <artwork folder>\n");
        return 2;
    }
    artgen::Writer out(QString::fromLocal8Bit(argv[1]));
    try {
        artgen::makeSquaresAndBoard(out);
        artgen::makeCursors(out);
        artgen::makeMonsters(out);
        artgen::makePieces(out);
        artgen::makeFurniture(out);
        artgen::makeTiles(out);
        artgen::makeScrollAndLogo(out);
    } catch (const DkError &e) {
        std::fprintf(stderr, "artgen: %s\n", qPrintable(e.text()));
        return 1;
    }
    return 0;
}
