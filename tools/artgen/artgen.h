#pragma once

#include <QDir>
#include <QImage>
#include <QString>
#include <QVector>

/// The artwork generator: every picture the program carries is made here and
/// written under artwork/. Run `make artwork` to re-make them all.
namespace artgen {

/// Writes the generator's output files.
class Writer {
public:
    explicit Writer(const QString &artworkDir) : m_dir(artworkDir) {}
    /// A bitmap resource, artwork/bitmaps/NAME.bmp, in the picture's own format.
    void bitmap(const QString &name, const QImage &picture);
    /// A cursor picture, artwork/cursors/NAME.png (hot spots live in the program).
    void cursor(const QString &name, const QImage &picture);
    QString dir() const { return m_dir; }

private:
    QString m_dir;
};

/// The 16-colour table of every 4-bit stamp and square bitmap: pure blue (the
/// transparent ground) at index 0, then 15 greys from black to white, among
/// them the board's silver ($C0C0C0) and the fill grey ($808080).
QVector<QRgb> stampPalette();

/// Reduces an RGB picture to an indexed one with the given table, colour by
/// nearest colour.
QImage toIndexed(const QImage &rgb, const QVector<QRgb> &table);

// The parts of the artwork, one function each.
void makeSquaresAndBoard(Writer &out);
void makeCursors(Writer &out);
void makeMonsters(Writer &out);  // monster and ogre tokens, tool-bar glyphs
void makePieces(Writer &out);    // doors, traps, stairs, markers, entrances, small expansion pieces
void makeFurniture(Writer &out); // the 44 furniture views
void makeTiles(Writer &out);     // the large expansion tiles
void makeScrollAndLogo(Writer &out);

} // namespace artgen
