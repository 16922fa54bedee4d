// The house style shared by every screen: a deep navy backdrop, brushed-silver bars with a cyan
// accent, rounded plates, and one colour per drum lane and per grade.
#pragma once

#include <array>
#include <string_view>

#include "Glyphs.h"
#include "Layout.h"
#include "Raster.h"

namespace tamtara {

namespace Palette {
inline constexpr Rgb Night{6, 10, 30};
inline constexpr Rgb Navy{20, 30, 72};
inline constexpr Rgb NavyLight{40, 56, 120};
inline constexpr Rgb Ink{14, 20, 48};
inline constexpr Rgb Cyan{0, 210, 255};
inline constexpr Rgb Gold{255, 196, 40};
inline constexpr Rgb SilverTop{238, 242, 250};
inline constexpr Rgb SilverBottom{140, 150, 172};
inline constexpr Rgb Steel{70, 80, 104};
inline constexpr Rgb Red{236, 40, 40};
// Sheets with a colour key are painted on this and it is swapped for the key at the end, so
// anti-aliased edges fade into a dark rim rather than into the key colour.
inline constexpr Rgb Canvas{0, 0, 0};
} // namespace Palette

// Lane colours follow the translucent lane stripes the play screen lays over the background.
inline constexpr std::array<Rgb, LaneCount> kLaneColours{
    Rgb{255, 196, 40}, Rgb{240, 56, 56},  Rgb{200, 204, 216}, Rgb{60, 220, 90},
    Rgb{60, 150, 255}, Rgb{110, 90, 255}, Rgb{255, 160, 30}};

// Grade colours, shared by the grade sprites, the font colour blocks and the result screen.
namespace GradeColour {
inline constexpr Rgb Perfect{128, 128, 255};
inline constexpr Rgb Great{0, 255, 96};
inline constexpr Rgb Good{255, 255, 0};
inline constexpr Rgb Miss{255, 40, 40};
} // namespace GradeColour

void DrawBackdrop(Image& image);                                  // the whole 640 × 480 backdrop
void DrawHeaderBar(Image& image, Rect r, std::string_view title); // 56-pixel bar with the screen's name
void DrawFooterBar(Image& image, Rect r);                         // 48-pixel bar behind the help line
void DrawPlate(Image& image, Rect r, Rgb face, bool lit);         // rounded button or plate
// Replaces the painting canvas colour by the magenta key.
void KeyOutCanvas(Image& image);

// A bar sheet as the menu screens draw it: header at (0, 0), footer at (0, 64), 640 × 112.
Image MenuBars(std::string_view title);

} // namespace tamtara
