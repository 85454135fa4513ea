#include "modes.h"

#include "toolstate.h"

namespace board {

const std::vector<ModeRule> &modeRules()
{
    // Offsets from the snap base; the square's top-left corner is at
    // (+24, +24), its interior at (+25, +25). An 18-pixel door centred on
    // the 2-pixel left line starts 9 pixels left of the square; the pieces
    // that reach out of the square start 25 pixels to its left or 24 above.
    using C = ClickAction;
    using Cursor = OverlayCursor;
    static const std::vector<ModeRule> rules = {
        // clang-format off
        // mode, click, offset, fits only, ghost, marker, cursor
        {Mode::Interior, C::Stamp,         {25, 25}, true,      true,  QString(),                  Cursor::CrossHair},
        {Mode::Restore,  C::RestoreSquare, {24, 24}, false,     false, ToolState::kCorrectionText, Cursor::Correction},
        {Mode::LeftLine, C::Stamp,         {15, 25}, false,     true,  QString(),                  Cursor::CrossHair},
        {Mode::TopLine,  C::Stamp,         {25, 15}, false,     true,  QString(),                  Cursor::CrossHair},
        {Mode::OutLeft,  C::Stamp,         {-1, 25}, false,     true,  QString(),                  Cursor::CrossHair},
        {Mode::OutUp,    C::Stamp,         {25, 0},  false,     true,  QString(),                  Cursor::CrossHair},
        {Mode::Fill,     C::FloodFill,     {0, 0},   false,     false, ToolState::kFillText,       Cursor::Fill},
        // clang-format on
    };
    return rules;
}

const ModeRule *modeRule(Mode mode)
{
    for (const ModeRule &rule : modeRules()) {
        if (rule.mode == mode)
            return &rule;
    }
    return nullptr;
}

} // namespace board
