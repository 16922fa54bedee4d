// Proportional text of the menu screens: the help line at the bottom and the "%2d/%2d" counters.
#pragma once

#include <cstdint>
#include <string>

namespace tamtara {

class TDirectDrawSurface;

// The help line: bold 22-pixel "ＭＳ Ｐゴシック", centred on x 320 at y 445, red over a black copy
// one pixel right and down. Releases the canvas.
void DrawHelpLine(TDirectDrawSurface& back, const std::string& text);

// "%2d/%2d" of position and count.
std::string CounterText(std::int32_t position, std::int32_t count);

} // namespace tamtara
