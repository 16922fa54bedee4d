// The help line, counters and framed background shared by the selection screens.
#include "app/MenuText.h"

#include "app/graphics/ShadowText.h"
#include "platform/display/DirectDrawSurface.h"

#include <cstdio>

namespace tamtara {

namespace {

// A help line longer than this is cut with "…" rather than run off the screen's edges.
constexpr std::int32_t HelpLineWidth = 624;

} // namespace

void DrawHelpLine(TDirectDrawSurface& back, const std::string& text) {
    DrawShadowedLine(back, 320, 445, text, clRed, 22, HelpLineWidth);
}

void DrawSecondHelpLine(TDirectDrawSurface& back, const std::string& text) {
    DrawShadowedLine(back, 320, 408, text, clWhite, 18, HelpLineWidth);
}

void DrawBarredBackground(TDirectDrawSurface& back, const TDirectDrawSurface& background,
                          const TDirectDrawSurface& bars) {
    back.Draw(0, 0, TRect{0, 0, 640, 480}, background, false);
    back.Draw(0, 0, Bounds(0, 0, 640, 56), bars, false);
    back.Draw(0, 432, Bounds(0, 64, 640, 48), bars, false);
}

std::string CounterText(std::int32_t position, std::int32_t count) {
    char text[32];
    std::snprintf(text, sizeof text, "%2d/%2d", position, count);
    return text;
}

} // namespace tamtara
