// The practice strip of the play frame: a small dark panel left of the lanes, between the
// channel meters and the title strip, with the tempo, the loop and its passes, and the speed
// trainer's next tempo.
#include "app/graphics/ShadowText.h"
#include "app/play/PlayScreen.h"
#include "app/play/PracticeControl.h"
#include "platform/display/DXDraw.h"

#include <string>

namespace tamtara {

namespace {

constexpr TRect StripRect{2, 262, 148, 336};
constexpr std::int32_t StripCentre = (StripRect.Left + StripRect.Right) / 2;
constexpr std::int32_t LineHeight = 14;

} // namespace

void PlayScreen::DrawPracticeStrip() {
    const PracticeStripInfo info = Parts.Practice.StripInfo();
    TDirectDrawSurface& back = Back();
    back.FillRectAlpha(StripRect, clBlack, 150);
    std::int32_t y = StripRect.Top + 3;
    const auto line = [&](const std::string& text, TColor colour) {
        DrawShadowedLine(back, StripCentre, y, text, colour, LineHeight - 1,
                         StripRect.Right - StripRect.Left - 4);
        y += LineHeight;
    };
    line("練習  テンポ " + std::to_string(info.TempoPercent) + "%", clYellow);
    if (info.LoopFromBar > 0)
        line("ループ " + std::to_string(info.LoopFromBar) + "–" + std::to_string(info.LoopToBar) + " / " +
                 std::to_string(info.BarCount) + "小節",
             clWhite);
    else
        line("曲全体 " + std::to_string(info.BarCount) + "小節", clWhite);
    line(std::to_string(info.Passes) + " 回終了", clWhite);
    if (!info.Trainer)
        line("トレーナー オフ", clGray);
    else if (info.NextTempoPercent > info.TempoPercent)
        line("次のテンポ " + std::to_string(info.NextTempoPercent) + "%", clLime);
    else
        line("目標テンポ到達", clLime);
    line(info.Holding     ? "叩くまで待機中"
         : info.Metronome ? "メトロノーム オン"
                          : "メトロノーム オフ",
         info.Holding ? clAqua : clWhite);
}

} // namespace tamtara
