// Drawing of the timing page.
#include "app/TimingPage.h"

#include "base/DrumParts.h"
#include "base/Shares.h"

#include "platform/display/DirectDrawSurface.h"
#include "platform/display/SurfaceCanvas.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <vector>

namespace tamtara {

namespace {

constexpr TRect HistogramPanel{16, 92, 416, 258};
constexpr TRect FiguresPanel{424, 92, 624, 258};
constexpr TRect LanePanel{16, 266, 416, 426};
constexpr TRect BestPanel{424, 266, 624, 426};
constexpr std::int32_t HistogramBars = TimingHistogram::Bars;
constexpr std::int32_t BarWidth = (HistogramPanel.Right - HistogramPanel.Left) / HistogramBars;
constexpr std::int32_t BarBase = 236;
constexpr std::int32_t BarHeight = 122;

constexpr TColor EarlyColour = ColorRGB(96, 160, 255);
constexpr TColor LateColour = ColorRGB(255, 128, 64);
constexpr TColor CentreColour = ColorRGB(0, 255, 96);
constexpr TColor HeadColour = ColorRGB(255, 255, 0);

// Left-aligned (align 0), right-aligned at x (1) or centred on x (2), over a black copy.
void Text(TDirectDrawSurfaceCanvas& canvas, std::int32_t x, std::int32_t y, const std::string& text,
          TColor colour, std::int32_t size = 14, int align = 0) {
    canvas.Font.Height = -size;
    const std::int32_t w = align == 0 ? 0 : canvas.TextWidth(text);
    const std::int32_t left = align == 1 ? x - w : align == 2 ? x - w / 2 : x;
    canvas.Font.Color = clBlack;
    canvas.TextOut(left + 1, y + 1, text);
    canvas.Font.Color = colour;
    canvas.TextOut(left, y, text);
}

std::string Number(std::int32_t value) {
    return std::to_string(value);
}

std::string Fixed(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    return text;
}

// "ぴったり ±5ms": the strikes the figures count as on time.
std::string OnTimeLabel() {
    return "ぴったり ±" + std::to_string(OnTimeWithinMs) + "ms";
}

std::string SignedInt(std::int32_t value) {
    return (value > 0 ? "+" : "") + std::to_string(value);
}

void DrawHistogramBars(TDirectDrawSurface& back, const TimingStats& timing) {
    const auto& counts = timing.Histogram.Counts;
    const std::int32_t highest = std::max(1, *std::max_element(counts.begin(), counts.end()));
    for (std::size_t bar = 0; bar < counts.size(); ++bar) {
        const std::int32_t count = counts[bar];
        if (count == 0) continue;
        const std::int32_t height = std::max(1, count * BarHeight / highest);
        const std::int32_t x = HistogramPanel.Left + BarWidth * std::int32_t(bar);
        const std::int32_t centre = HistogramBars / 2;
        const TColor colour = std::int32_t(bar) < centre - 1 ? EarlyColour
                              : std::int32_t(bar) > centre   ? LateColour
                                                             : CentreColour;
        back.FillRectAlpha(TRect{x + 1, BarBase - height, x + BarWidth, BarBase}, colour, 255);
    }
    const std::int32_t mid = (HistogramPanel.Left + HistogramPanel.Right) / 2;
    back.FillRectAlpha(TRect{mid, BarBase - BarHeight - 4, mid + 1, BarBase}, clWhite, 160);
    back.FillRectAlpha(TRect{HistogramPanel.Left, BarBase, HistogramPanel.Right, BarBase + 1}, clWhite, 200);
}

void DrawHistogramLabels(TDirectDrawSurfaceCanvas& canvas) {
    const std::int32_t mid = (HistogramPanel.Left + HistogramPanel.Right) / 2;
    Text(canvas, HistogramPanel.Left + 2, BarBase + 3, "-100ms", clSilver, 12);
    Text(canvas, mid, BarBase + 3, "0", clSilver, 12, 2);
    Text(canvas, HistogramPanel.Right - 2, BarBase + 3, "+100ms", clSilver, 12, 1);
    Text(canvas, HistogramPanel.Left + 6, HistogramPanel.Top + 4, "早い", EarlyColour, 14);
    Text(canvas, HistogramPanel.Right - 6, HistogramPanel.Top + 4, "遅い", LateColour, 14, 1);
}

void DrawFigures(TDirectDrawSurfaceCanvas& canvas, const TimingPageData& data) {
    const TimingStats& t = data.Timing;
    const std::int32_t x = FiguresPanel.Left + 8;
    const std::int32_t r = FiguresPanel.Right - 8;
    std::int32_t y = FiguresPanel.Top + 5;
    const auto row = [&](const std::string& label, const std::string& value, TColor colour) {
        Text(canvas, x, y, label, clWhite);
        Text(canvas, r, y, value, colour, 14, 1);
        y += 18;
    };
    row("判定した打数", Number(t.Graded), clWhite);
    const std::array<std::int32_t, 3> sides{t.Early, t.OnTime, t.Late};
    const std::vector<std::int32_t> shares = ShownPermille(sides);
    const auto share = [&](std::size_t side) {
        return Number(sides[side]) + " (" + Number(shares[side] / 10) + "." + Number(shares[side] % 10) +
               "%)";
    };
    row("早い", share(0), EarlyColour);
    row(OnTimeLabel(), share(1), CentreColour);
    row("遅い", share(2), LateColour);
    row("平均のずれ", SignedMs(t.MeanMs) + " ms", clWhite);
    row("アンステーブル", Fixed(t.UnstableRate), clWhite);
    y += 2;
    Text(canvas, x, y, "推奨入力オフセット", HeadColour);
    y += 18;
    if (const std::optional<std::int32_t> offset = SuggestedOffset(data)) {
        Text(canvas, r, y, SignedInt(*offset) + " ms (今 " + SignedInt(data.OffsetMs) + ")", clWhite, 14, 1);
    } else {
        Text(canvas, x, y, "判定" + Number(MedianMinimumStrikes) + "打以上で表示します", clSilver, 12);
    }
}

void DrawLanes(TDirectDrawSurfaceCanvas& canvas, const TimingStats& timing) {
    constexpr std::array<std::int32_t, 4> Columns{70, 150, 250, 370};
    std::int32_t y = LanePanel.Top + 4;
    Text(canvas, LanePanel.Left + 8, y, "パート", HeadColour);
    Text(canvas, LanePanel.Left + Columns[1], y, "打数", HeadColour, 14, 1);
    Text(canvas, LanePanel.Left + Columns[2], y, "平均 ms", HeadColour, 14, 1);
    Text(canvas, LanePanel.Left + Columns[3], y, "ばらつき ms", HeadColour, 14, 1);
    y += 21;
    for (std::size_t lane = 0; lane < timing.Lanes.size(); ++lane, y += 19) {
        const LaneTiming& l = timing.Lanes[lane];
        const TColor colour = l.Graded > 0 ? clWhite : clGray;
        Text(canvas, LanePanel.Left + 12, y, DrumPartLabels[lane], colour);
        Text(canvas, LanePanel.Left + Columns[1], y, Number(l.Graded), colour, 14, 1);
        Text(canvas, LanePanel.Left + Columns[2], y, l.Graded > 0 ? SignedMs(l.MeanMs) : "-", colour, 14, 1);
        Text(canvas, LanePanel.Left + Columns[3], y, l.Graded > 0 ? Fixed(l.SpreadMs) : "-", colour, 14, 1);
    }
}

// A practice is never weighed against the best: its tempo and loop are its own, and its score
// grows with the passes played. It gets a panel of its own instead.
void DrawPractice(TDirectDrawSurfaceCanvas& canvas, const PlayRecord& play) {
    const std::int32_t x = BestPanel.Left + 8;
    const std::int32_t r = BestPanel.Right - 8;
    std::int32_t y = BestPanel.Top + 4;
    Text(canvas, x, y, "練習", HeadColour);
    y += 22;
    Text(canvas, x, y, "テンポ", clWhite);
    Text(canvas, r, y, Number(play.PracticeTempo) + "%", clWhite, 14, 1);
    y += 19;
    Text(canvas, x, y, "小節", clWhite);
    Text(canvas, r, y,
         play.LoopFromBar > 0 ? Number(play.LoopFromBar) + "〜" + Number(play.LoopToBar)
                              : std::string("曲全体"),
         clWhite, 14, 1);
    y += 27;
    Text(canvas, x, y, PracticeNotComparedLine, clSilver, 12);
}

void DrawBest(TDirectDrawSurfaceCanvas& canvas, const TimingPageData& data) {
    if (data.Play.PracticeTempo != 0) {
        DrawPractice(canvas, data.Play);
        return;
    }
    const std::int32_t x = BestPanel.Left + 8;
    const std::int32_t r = BestPanel.Right - 8;
    std::int32_t y = BestPanel.Top + 4;
    Text(canvas, x, y, "自己ベストと比べて", HeadColour);
    y += 22;
    if (data.BestState != BestLookup::Found || !data.Best) {
        const char* why = data.BestState == BestLookup::Pending ? "記録を読んでいます..."
                          : data.BestState == BestLookup::None ? "この曲とモードで初めての記録です"
                                                               : "記録はオフです";
        Text(canvas, x, y, why, clSilver, 12);
        return;
    }
    const PlayRecord& best = *data.Best;
    const PlayRecord& now = data.Play;
    Text(canvas, r - 70, y, "今回", clSilver, 12, 1);
    Text(canvas, r, y, "ベスト", clSilver, 12, 1);
    y += 18;
    const auto row = [&](const char* label, const std::string& mine, const std::string& theirs, bool better) {
        Text(canvas, x, y, label, clWhite);
        Text(canvas, r - 70, y, mine, better ? HeadColour : clWhite, 14, 1);
        Text(canvas, r, y, theirs, clSilver, 14, 1);
        y += 19;
    };
    row("スコア", Number(now.Score), Number(best.Score), now.Score > best.Score);
    row("ランク", now.Rank, best.Rank, now.Score > best.Score);
    row("Perfect", Number(now.Perfect), Number(best.Perfect), now.Perfect > best.Perfect);
    row("Miss", Number(now.Miss), Number(best.Miss), now.Miss < best.Miss);
    row("最大コンボ", Number(now.MaxCombo), Number(best.MaxCombo), now.MaxCombo > best.MaxCombo);
    const std::int32_t diff = now.Score - best.Score;
    Text(canvas, r, y + 2, "差 " + SignedInt(diff),
         diff > 0   ? HeadColour
         : diff < 0 ? LateColour
                    : clWhite,
         14, 1);
}

} // namespace

std::string SignedMs(double ms) {
    char text[32];
    std::snprintf(text, sizeof text, "%+.1f", ms);
    return text;
}

std::optional<std::int32_t> SuggestedOffset(const TimingPageData& data) {
    if (!data.Timing.MedianMs) return std::nullopt;
    return data.OffsetMs + static_cast<std::int32_t>(std::lround(*data.Timing.MedianMs));
}

void DrawTimingPage(TDirectDrawSurface& back, const TimingPageData& data) {
    for (const TRect& panel : {HistogramPanel, FiguresPanel, LanePanel, BestPanel})
        back.FillRectAlpha(panel, clBlack, 170);
    DrawHistogramBars(back, data.Timing);
    TDirectDrawSurfaceCanvas& canvas = back.Canvas();
    canvas.Brush.Style = TBrushStyle::bsClear;
    canvas.Font.Name = "ＭＳ Ｐゴシック";
    canvas.Font.Charset = SHIFTJIS_CHARSET;
    canvas.Font.Style = TFontStyles{TFontStyle::fsBold};
    Text(canvas, 320, 62, TimingPageTitle, clWhite, 22, 2);
    DrawHistogramLabels(canvas);
    DrawFigures(canvas, data);
    DrawLanes(canvas, data.Timing);
    DrawBest(canvas, data);
    back.ReleaseCanvas();
}

} // namespace tamtara
