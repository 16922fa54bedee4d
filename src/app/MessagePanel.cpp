// Layout and drawing of the message panel. The plate is translucent so that play under it stays
// visible; the text carries a black shadow like every other text of the screens.
#include "app/MessagePanel.h"

#include "app/graphics/BitmapText.h"
#include "app/graphics/FittedText.h"
#include "app/graphics/ScreenSurfaces.h"
#include "platform/display/DirectDrawSurface.h"
#include "platform/display/SurfaceCanvas.h"

namespace tamtara {

namespace {

constexpr std::int32_t TextLeft = MessagePanel::Left + 44;
constexpr std::int32_t TextWidth = MessagePanel::Width - 44 - 16;
constexpr std::int32_t TitleHeight = 22;
constexpr std::int32_t DetailHeight = 16;
constexpr std::int32_t DetailStep = 20;
constexpr std::int32_t HintHeight = 14;
constexpr std::int32_t PlateAlpha = 224;

void SetFont(TDirectDrawSurfaceCanvas& canvas, std::int32_t height, bool bold) {
    canvas.Brush.Style = TBrushStyle::bsClear;
    canvas.Font.Name = "ＭＳ Ｐゴシック";
    canvas.Font.Charset = SHIFTJIS_CHARSET;
    canvas.Font.Height = -height;
    canvas.Font.Style = bold ? TFontStyles{TFontStyle::fsBold} : TFontStyles{};
}

void ShadowedText(TDirectDrawSurfaceCanvas& canvas, std::int32_t x, std::int32_t y, const std::string& text,
                  TColor colour) {
    if (text.empty()) return;
    canvas.Font.Color = clBlack;
    canvas.TextOut(x + 1, y + 1, text);
    canvas.Font.Color = colour;
    canvas.TextOut(x, y, text);
}

void Frame(TDirectDrawSurface& back, const TRect& r, std::int32_t inset, std::int32_t thickness,
           TColor colour) {
    const std::uint32_t c = back.ColorMatch(colour);
    const std::int32_t l = r.Left + inset, t = r.Top + inset, rr = r.Right - inset, b = r.Bottom - inset;
    back.FillRect(TRect{l, t, rr, t + thickness}, c);
    back.FillRect(TRect{l, b - thickness, rr, b}, c);
    back.FillRect(TRect{l, t, l + thickness, b}, c);
    back.FillRect(TRect{rr - thickness, t, rr, b}, c);
}

} // namespace

std::string MessageWaitingText(std::size_t waiting) {
    return "ほかに " + std::to_string(waiting) + " 件";
}

void MessagePanel::Layout(TDirectDrawSurface& back, const GameMessage& message) {
    TDirectDrawSurfaceCanvas& canvas = back.Canvas();
    SetFont(canvas, TitleHeight, true);
    Title = FitText(canvas, message.Title, TextWidth);
    SetFont(canvas, DetailHeight, false);
    DetailLines = WrapText(canvas, message.Detail, TextWidth, MaxDetailLines);
    back.ReleaseCanvas();
    const auto lines = static_cast<std::int32_t>(DetailLines.size());
    Height = 12 + TitleHeight + 8 + lines * DetailStep + HintHeight + 14;
}

void MessagePanel::Draw(TDirectDrawSurface& back, const ScreenSurfaces& art, const GameMessage& message,
                        std::uint64_t serial, std::size_t waiting) {
    if (serial != LaidOut) {
        Layout(back, message);
        LaidOut = serial;
    }
    const TRect area = Area();
    back.FillRectAlpha(area, clBlack, PlateAlpha);
    Frame(back, area, 0, 2, clYellow);
    Frame(back, area, 4, 1, clRed);
    if (art.Font32 && !art.Font32->Absent())
        back.Draw(Left + 16, Top + 10, Font32Glyph('!', 2), *art.Font32, true);

    TDirectDrawSurfaceCanvas& canvas = back.Canvas();
    std::int32_t y = Top + 12;
    SetFont(canvas, TitleHeight, true);
    ShadowedText(canvas, TextLeft, y, Title, clYellow);
    y += TitleHeight + 8;
    SetFont(canvas, DetailHeight, false);
    for (const std::string& line : DetailLines) {
        ShadowedText(canvas, TextLeft, y, line, clWhite);
        y += DetailStep;
    }
    SetFont(canvas, HintHeight, false);
    const std::string hint =
        waiting > 0 ? MessageWaitingText(waiting) + "　" + MessageCloseText : std::string(MessageCloseText);
    ShadowedText(canvas, Left + Width - 14 - canvas.TextWidth(hint), Top + Height - HintHeight - 10, hint,
                 clSilver);
    back.ReleaseCanvas();
}

} // namespace tamtara
