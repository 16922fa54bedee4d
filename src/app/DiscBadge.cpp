// Drawing of the disc screen's records badge.
#include "app/DiscBadge.h"

#include "app/ResultRank.h"
#include "platform/display/DirectDrawSurface.h"
#include "platform/display/SurfaceCanvas.h"

#include <string>

namespace tamtara {

namespace {

// The rank's colour of the result screen, lifted towards white when it is too dark to read in
// the badge's small letters on its dark plate (E's dark red).
TColor RankColour(const std::string& rank) {
    TColor colour = clWhite;
    for (const RankRow& row : RankTable)
        if (!rank.empty() && row.Letter == rank[0]) colour = row.Color;
    if (RedOf(colour) + GreenOf(colour) + BlueOf(colour) >= 255) return colour;
    const auto lift = [](std::uint8_t c) { return static_cast<std::uint8_t>(c + (255 - c) * 2 / 5); };
    return ColorRGB(lift(RedOf(colour)), lift(GreenOf(colour)), lift(BlueOf(colour)));
}

void Shadowed(TDirectDrawSurfaceCanvas& canvas, std::int32_t x, std::int32_t y, const std::string& text,
              TColor colour) {
    canvas.Font.Color = clBlack;
    canvas.TextOut(x + 1, y + 1, text);
    canvas.Font.Color = colour;
    canvas.TextOut(x, y, text);
}

} // namespace

void DrawDiscBadge(TDirectDrawSurface& back, const TRect& area, const SongBest& best) {
    back.FillRectAlpha(area, clBlack, 180);
    back.FillRectAlpha(TRect{area.Left, area.Top, area.Right, area.Top + 1}, ColorRGB(255, 255, 0), 200);
    TDirectDrawSurfaceCanvas& canvas = back.Canvas();
    canvas.Brush.Style = TBrushStyle::bsClear;
    canvas.Font.Name = "ＭＳ Ｐゴシック";
    canvas.Font.Charset = SHIFTJIS_CHARSET;
    canvas.Font.Style = TFontStyles{TFontStyle::fsBold};
    canvas.Font.Height = -14;
    const std::int32_t x = area.Left + 8;
    const std::int32_t y = area.Top + 4;
    if (best.Plays == 0 && best.PracticePlays == 0) {
        Shadowed(canvas, x, y + 9, "未プレイ", clSilver);
        back.ReleaseCanvas();
        return;
    }
    Shadowed(canvas, x, y, "ベスト", ColorRGB(255, 255, 0));
    const std::string score = best.BestRank.empty() ? "-" : std::to_string(best.BestScore);
    canvas.Font.Height = -16;
    const std::int32_t scoreWidth = canvas.TextWidth(score);
    Shadowed(canvas, area.Right - 8 - scoreWidth, y - 1, score, clWhite);
    if (!best.BestRank.empty()) {
        canvas.Font.Height = -20;
        Shadowed(canvas, area.Right - 8 - scoreWidth - 8 - canvas.TextWidth(best.BestRank), y - 3,
                 best.BestRank, RankColour(best.BestRank));
    }
    canvas.Font.Height = -14;
    // Plays on the left, practices apart on the right.
    const auto count = [&](std::int32_t left, const char* label, std::int32_t times) {
        Shadowed(canvas, left, y + 19, label, ColorRGB(255, 255, 0));
        Shadowed(canvas, left + canvas.TextWidth(label) + 6, y + 19, std::to_string(times) + "回", clWhite);
    };
    count(x, "プレイ", best.Plays);
    if (best.PracticePlays > 0)
        count(area.Left + (area.Right - area.Left) / 2 + 8, "練習", best.PracticePlays);
    back.ReleaseCanvas();
}

} // namespace tamtara
