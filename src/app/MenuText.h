// What the menu screens draw alike: the help line at the bottom, the "%2d/%2d" counters and the
// background framed by two bars.
#pragma once

#include <cstdint>
#include <string>

namespace tamtara {

class TDirectDrawSurface;

// The help line: bold 22-pixel "ＭＳ Ｐゴシック", centred on x 320 at y 445, red over a black copy
// one pixel right and down. Releases the canvas.
void DrawHelpLine(TDirectDrawSurface& back, const std::string& text);

// The background whole, then the top bar (0, 0, 640, 56) and the bottom bar (0, 64, 640, 48) of
// bars at the top and bottom edges, all opaque.
void DrawBarredBackground(TDirectDrawSurface& back, const TDirectDrawSurface& background,
                          const TDirectDrawSurface& bars);

// "%2d/%2d" of position and count.
std::string CounterText(std::int32_t position, std::int32_t count);

} // namespace tamtara
