// The layout of every picture in Graphics.pb: entry name, size, colour key and the rectangles the
// game's screens draw from. The generator draws to it and the tests check the pictures against it.
#pragma once

#include <array>
#include <optional>
#include <string_view>
#include <vector>

#include "Raster.h"
#include "base/DrumParts.h"

namespace tamtara {

// Pure magenta and white are exact in RGB565, so a key read back from a 16-bit surface still
// matches the pixels it was meant to remove.
inline constexpr Rgb kMagentaKey{255, 0, 255};
inline constexpr Rgb kWhiteKey{255, 255, 255};

struct SheetLayout {
    std::string_view Entry;
    int Width = 0, Height = 0;
    std::optional<Rgb> Key;  // the top-left pixel's colour for sheets the game draws with a key
    std::vector<Rect> Drawn; // each must hold visible (non-key) pixels
    std::vector<Rect> Clear; // each must be entirely key: where the layout needs transparency
};

const std::vector<SheetLayout>& SheetLayouts();
const SheetLayout& LayoutOf(std::string_view entry); // throws std::out_of_range for an unknown name

// Lane geometry of the play screen, left to right: hi-hat, snare, kick, three toms, cymbal.
inline constexpr std::array<int, LaneCount> kLaneX{161, 210, 256, 320, 352, 384, 415};
inline constexpr std::array<int, LaneCount> kLaneWidth{48, 46, 63, 30, 30, 30, 64};

// Glyph cells of the bitmap fonts, by byte value (and colour block for the 16- and 32-pixel fonts).
Rect AnkCell(int byte);
Rect Font16Cell(int code, int colour);
Rect Font32Cell(int code, int colour);
Rect Font06Cell(int byte);
inline constexpr int kFontColours = 5; // colour blocks 0-3 and the fifth the result screen uses

// Note and pad sprites cover only their lane's width, so neighbouring lanes stay clear.
Rect NoteInk(int lane, int column);
Rect PadInk(int lane, int row);

} // namespace tamtara
