// The help line, counters and framed background shared by the selection screens.
#include "app/MenuText.h"

#include "platform/display/DirectDrawSurface.h"
#include "platform/display/SurfaceCanvas.h"

#include <cstdio>

namespace tamtara {

void DrawCentredText(TDirectDrawSurface& back, const std::string& text, std::int32_t centreX, std::int32_t y,
                     std::int32_t height, TColor colour) {
    TDirectDrawSurfaceCanvas& canvas = back.Canvas();
    canvas.Brush.Style = TBrushStyle::bsClear;
    canvas.Font.Name = "ＭＳ Ｐゴシック";
    canvas.Font.Charset = SHIFTJIS_CHARSET;
    canvas.Font.Height = -height;
    canvas.Font.Style = TFontStyles{TFontStyle::fsBold};
    const std::int32_t w = canvas.TextWidth(text);
    canvas.Font.Color = clBlack;
    canvas.TextOut(centreX + 1 - w / 2, y + 1, text);
    canvas.Font.Color = colour;
    canvas.TextOut(centreX - w / 2, y, text);
    back.ReleaseCanvas();
}

void DrawHelpLine(TDirectDrawSurface& back, const std::string& text) {
    DrawCentredText(back, text, 320, 445, 22, clRed);
}

void DrawSecondHelpLine(TDirectDrawSurface& back, const std::string& text) {
    DrawCentredText(back, text, 320, 408, 18, clWhite);
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
