#pragma once

#include <QMetaType>
#include <QPoint>
#include <QString>

#include <vector>

namespace board {

/// Placement modes: how a left click on a map is snapped and what it does.
/// The tool state keeps the mode as one unsigned byte; these are its values.
enum class Mode : quint8 {
    Interior = 0, ///< the stamp in the clicked square's interior, where it fits
    Restore = 1,  ///< the clicked square back to the empty board
    LeftLine = 2, ///< the stamp centred on the square's left line (doors, stones)
    TopLine = 3,  ///< the stamp centred on the square's top line
    OutLeft = 4,  ///< an entrance or exit reaching out of the square to the left
    OutUp = 5,    ///< an entrance or exit reaching out of the square upwards
    Fill = 6,     ///< the white area under the click greyed
};

/// What a click does to the board picture.
enum class ClickAction {
    Stamp,         ///< draws the current stamp at the snap base + offset
    RestoreSquare, ///< draws the clicked square's bitmap, which becomes the stamp
    FloodFill,     ///< greys the white region under the exact click pixel
};

/// The cursor the map overlay shows.
enum class OverlayCursor { CrossHair, Correction, Fill };

/// What one placement mode does. Placement, the hover preview and the
/// overlay cursor all read these rows; a new mode is one more row (and, for
/// a new kind of click, its case in placement).
struct ModeRule {
    Mode mode;
    ClickAction click;
    QPoint offset;        ///< from the snap base (32 x column, 32 x row)
    bool fitsOnly;        ///< drawn only where it ends inside the picture (strictly)
    bool ghost;           ///< the preview shows the stamp where a click would draw it
    QString marker;       ///< status text of the mode's tool; empty for stamping
    OverlayCursor cursor; ///< shown while the marker is the status text
};

/// Every mode's row.
const std::vector<ModeRule> &modeRules();

/// The row of `mode`, or nullptr for a value that is no mode: a click then
/// draws nothing and the preview shows no ghost.
const ModeRule *modeRule(Mode mode);

} // namespace board

Q_DECLARE_METATYPE(board::Mode)
