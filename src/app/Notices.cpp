// Notices: a line over the top of every frame for a few seconds, for what the player should
// know but that need not stop the game (a kit that is missing or went away).
#include "app/MainForm.h"

#include "platform/display/SurfaceCanvas.h"

#include <iostream>

namespace tamtara {

namespace {

constexpr std::uint32_t NoticeMilliseconds = 6000;

} // namespace

void TMainForm::ShowNotice(const std::string& text) {
    std::cerr << "tamtara: " << text << std::endl;
    NoticeText = text;
    NoticeStart = Clock.Now();
}

void TMainForm::DrawNotice() {
    if (NoticeText.empty()) return;
    if (Clock.Now() - NoticeStart > NoticeMilliseconds) {
        NoticeText.clear();
        return;
    }
    TDirectDrawSurface& back = DXDraw.Surface();
    back.FillRect(TRect{0, 0, 640, 24}, back.ColorMatch(ColorRGB(128, 0, 0)));
    TDirectDrawSurfaceCanvas& canvas = back.Canvas();
    canvas.Brush.Style = TBrushStyle::bsClear;
    canvas.Font.Name = "Times New Roman";
    canvas.Font.Height = -16;
    canvas.Font.Style = TFontStyles{};
    canvas.Font.Color = clWhite;
    canvas.TextOut(320 - canvas.TextWidth(NoticeText) / 2, 3, NoticeText);
    back.ReleaseCanvas();
}

} // namespace tamtara
