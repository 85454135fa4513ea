#pragma once

#include <QImage>
#include <QPoint>

#include <functional>

/// The board's pixel geometry. It is anchored at the picture's top-left corner
/// and does not scale: a margin of 24 pixels, then squares of 32 pixels.
namespace board {

constexpr int kMargin = 24;
constexpr int kPitch = 32;
constexpr int kColumns = 26;
constexpr int kRows = 19;
constexpr int kWidth = kMargin + kColumns * kPitch + kMargin; // 880
constexpr int kHeight = kMargin + kRows * kPitch + kMargin;   // 656

constexpr QRgb kSilver = 0xffc0c0c0u;
constexpr QRgb kBlack = 0xff000000u;
constexpr QRgb kWhite = 0xffffffffu;
constexpr QRgb kFillGrey = 0xff808080u;

/// Column and row of a pixel: (x - 24) / 32 truncated toward zero, so the left
/// and top margins count as column 0 and row 0, and the right and bottom
/// margins of a default board as column 26 and row 19.
struct Square {
    int column;
    int row;
    bool operator==(const Square &o) const { return column == o.column && row == o.row; }
};
Square squareAt(int x, int y);

/// Snap base of a pixel: (32 x column, 32 x row). The square's top-left corner
/// is the snap base plus (24, 24).
QPoint snapBase(int x, int y);

/// The board square table: 19 rows of 26 letters, row by row. The letter of a
/// square names the 32 x 32 square bitmap that shows it in its pristine state.
extern const char kSquareTable[kColumns * kRows + 1];

/// Letter of a square, or 0 for a square outside the table.
char squareLetter(int column, int row);

/// The 32 x 32 square bitmap of a letter ("A" to "Y").
QImage squareBitmap(char letter);

/// The default board picture every new map starts with (880 x 656, 8 bits per
/// pixel, grey colour table).
QImage defaultBoard();

/// Draws the board's edge for the picture's own width W and height H: the
/// 24-pixel margins in silver and the 2-pixel black frame inside them, the
/// outlines of (23, 23, W-23, H-23) and (24, 24, W-24, H-24), right and bottom
/// exclusive.
void drawEdge(QImage &picture);

/// The board as composed from its parts: silver ground, the edge
/// (drawEdge) and each square's bitmap. Equals the default board picture in
/// every pixel but (343, 408), which the default board has black.
QImage composeBoard(const std::function<QImage(char)> &squareOf = squareBitmap);

} // namespace board
