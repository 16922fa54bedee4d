// What the menu screens draw alike: the help line at the bottom, the line above it for the keys
// beyond a screen's own, the "%2d/%2d" counters and the background framed by two bars.
#pragma once

#include "app/graphics/ShadowText.h"

#include "platform/display/DisplayTypes.h"

#include <cstdint>
#include <string>

namespace tamtara {

class TDirectDrawSurface;

// The help line: bold 22-pixel "ＭＳ Ｐゴシック", centred on x 320 at y 445, red over a black copy
// one pixel right and down, cut with "…" to the screen's width. Releases the canvas.
void DrawHelpLine(TDirectDrawSurface& back, const std::string& text);

// The help lines of the keys beyond the screens' own: F5 on the failed and result screens,
// Backspace on the mode and part screens.
inline constexpr const char* RetryHelpLine = "F5で同じ曲をもう一度";
inline constexpr const char* BackHelpLine = "BackSpaceでディスク選択に戻る";

// A second, smaller help line just above the bottom bar: bold 18-pixel "ＭＳ Ｐゴシック" centred
// on x 320 at y 408, white over a black copy one pixel right and down, cut to the screen's width.
// Releases the canvas.
void DrawSecondHelpLine(TDirectDrawSurface& back, const std::string& text);

// The background whole, then the top bar (0, 0, 640, 56) and the bottom bar (0, 64, 640, 48) of
// bars at the top and bottom edges, all opaque.
void DrawBarredBackground(TDirectDrawSurface& back, const TDirectDrawSurface& background,
                          const TDirectDrawSurface& bars);

// "%2d/%2d" of position and count.
std::string CounterText(std::int32_t position, std::int32_t count);

} // namespace tamtara
