// The result screen after a cleared play: the grade counts and their shares, the stacked share
// bar, the rank letter and the longest combo; Right turns to the timing page and Left back;
// Enter leads back to the folder screen from either, F5 plays the song again.
#include "app/MainForm.h"
#include "app/MenuInput.h"
#include "app/MenuText.h"
#include "app/PracticeResult.h"
#include "app/ResultRank.h"
#include "base/Shares.h"

#include "platform/display/SurfaceCanvas.h"

#include <array>
#include <cstdio>
#include <string>
#include <vector>

namespace tamtara {

namespace {

struct ResultRow {
    const char* Label;
    std::int32_t LabelColour; // colour set of the 16 x 32 font
    TColor BarColor;
};

constexpr std::array<ResultRow, 5> Rows{{
    {"Perfect", 1, ColorRGB(128, 128, 255)},
    {"Great", 4, ColorRGB(0, 255, 96)},
    {"Good", 3, ColorRGB(255, 255, 0)},
    {"Miss", 2, ColorRGB(255, 0, 0)},
    {"TOTAL", 0, clBlack},
}};

template <typename... Args> std::string Format(const char* format, Args... args) {
    char text[64];
    std::snprintf(text, sizeof text, format, args...);
    return text;
}

} // namespace

void TMainForm::ResultScreen() {
    if (RetryIfAsked()) return;
    Input.PollKeys();
    if (Screen.LeaveFrame == 0 && Input.Holds.KeyHoldA[7] == 1) {
        StartEnterJingle();
        Screen.LeaveFrame = 1;
    }
    if (Screen.LeaveFrame == 0 && IsPress(Input.Holds.KeyHoldA[mbRight])) TimingPageShown = true;
    if (Screen.LeaveFrame == 0 && IsPress(Input.Holds.KeyHoldA[mbLeft])) TimingPageShown = false;

    TDirectDrawSurface& back = DXDraw.Surface();
    const ScreenSurfaces& surfaces = Art.Surfaces;
    back.Draw(0, 0, TRect{0, 0, 640, 480}, *surfaces.BackSurface, false);
    back.Draw(0, 0, Bounds(0, 0, 640, 56), *surfaces.OverlaySurface, false);
    back.Draw(0, 432, Bounds(0, 64, 640, 48), *surfaces.OverlaySurface, false);
    if (TimingPageShown)
        DrawResultTiming(back);
    else
        DrawResultCounts(back);
    DXDraw.Flip();

    LeaveAfterConfirmation(ssFolderSelect);
}

void TMainForm::DrawResultCounts(TDirectDrawSurface& back) {
    BitmapText& text = Art.Text;
    PlayState& play = Play->State;

    const std::array<std::int32_t, 4> counts{play.PerfectCount, play.GreatCount, play.GoodCount,
                                             play.MissCount};
    const std::int32_t total = counts[0] + counts[1] + counts[2] + counts[3];
    play.NoteTotal = total;
    std::array<std::int32_t, 5> shares{};
    for (std::size_t i = 0; i < counts.size(); ++i)
        shares[i] = ShareOf(counts[i], total);
    shares[4] = ShareOf(total, total);
    const RankRow& rank = RankTable[RankOf(shares[0], shares[3])];
    // The rank goes by the truncated shares; the player reads them rounded, adding up to 100.0 %.
    const std::vector<std::int32_t> shown = ShownPermille(counts);

    // A practice gets no rank.
    const bool practice = IsPracticePlay();
    if (!practice) {
        TDirectDrawSurfaceCanvas& canvas = back.Canvas();
        canvas.Brush.Style = TBrushStyle::bsClear;
        canvas.Font.Name = "Times New Roman";
        canvas.Font.Style = TFontStyles{TFontStyle::fsBold, TFontStyle::fsItalic};
        canvas.Font.Charset = ANSI_CHARSET;
        canvas.Font.Height = 240; // the whole cell, leading included
        canvas.Font.Color = clBlack;
        canvas.TextOut(446, 126, std::string(1, rank.Letter));
        canvas.Font.Color = rank.Color;
        canvas.TextOut(440, 120, std::string(1, rank.Letter));
        back.ReleaseCanvas();
        text.DrawText32(440, 240, "RANK", 0);
    }
    text.DrawAnkText(-16, 96, Format("%22s  %8s  %s", "", "notes", "  percentage"));
    for (std::size_t i = 0; i < Rows.size(); ++i) {
        const std::int32_t y = 120 + 40 * std::int32_t(i);
        text.DrawText32(-16, y, Format("%11s", Rows[i].Label), Rows[i].LabelColour);
        if (i < 4)
            text.DrawText32(-16, y, Format("%11s %4d %3d.%1d%%", "", counts[i], shown[i] / 10, shown[i] % 10),
                            0);
        else
            text.DrawText32(-16, y, Format("%11s %4d", "", total), 0);
    }
    if (practice) {
        DrawPracticeResult(back, text, play.Practice);
    } else if (Settings.Combo) {
        text.DrawText32(-16, 338, Format("%11s", "MAX"), 0);
        text.DrawComboNumber(160, 336, play.MaxCombo);
    }

    std::int32_t barTop = 120;
    for (std::size_t i = 0; i < 4; ++i) {
        const std::int32_t height = shares[i] * 40 / 250;
        TDirectDrawSurfaceCanvas& bar = back.Canvas();
        bar.Brush.Style = TBrushStyle::bsSolid;
        bar.Brush.Color = Rows[i].BarColor;
        bar.FillRect(Bounds(364, barTop, 24, height));
        back.ReleaseCanvas();
        barTop += height;
    }

    if ((Screen.FrameCount / 4) % 3 != 0) text.DrawText16(350, 410, "PRESS ENTER KEY", 2);
    DrawHelpLine(back, std::string(TimingPageKeyLine) + "、" + (MayRetry() ? RetryHelpLine : "ENTERで次へ"));
}

void TMainForm::DrawResultTiming(TDirectDrawSurface& back) {
    if (LastPlay.BestState == BestLookup::Pending && Records) {
        if (const std::optional<PlayComparison> comparison = Records->ComparisonFor(LastPlayTicket)) {
            LastPlay.Best = comparison->Best;
            LastPlay.BestState = !comparison->Recorded ? BestLookup::RecordsOff
                                 : comparison->Best    ? BestLookup::Found
                                                       : BestLookup::None;
        }
    }
    DrawTimingPage(back, LastPlay);
    DrawHelpLine(back, std::string(TimingPageBackLine) + "、" + (MayRetry() ? RetryHelpLine : "ENTERで次へ"));
}

void TMainForm::EnterResult() {
    RetryAsked = false;
    TimingPageShown = false;
}

} // namespace tamtara
