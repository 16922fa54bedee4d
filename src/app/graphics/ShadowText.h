// A line of text in the game's menu style: bold "ＭＳ Ｐゴシック" in a colour over a black copy one
// pixel right and down, centred on a point.
#pragma once

#include "platform/display/DisplayTypes.h"

#include <cstdint>
#include <string>

namespace tamtara {

class TDirectDrawSurface;

// Draws text centred on centreX with its top at y, height pixels high; with maxWidth, cut with
// "…" to fit that many pixels. Releases the canvas.
void DrawShadowedLine(TDirectDrawSurface& back, std::int32_t centreX, std::int32_t y, const std::string& text,
                      TColor colour, std::int32_t height = 22, std::int32_t maxWidth = 0);

} // namespace tamtara
