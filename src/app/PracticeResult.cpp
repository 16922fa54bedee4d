// The practice's rows on the result screen.
#include "app/PracticeResult.h"

#include "app/graphics/BitmapText.h"
#include "app/graphics/ShadowText.h"
#include "platform/display/DirectDrawSurface.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace tamtara {

namespace {

constexpr std::int32_t TableX = 24;
constexpr std::int32_t HeaderY = 314;
constexpr std::int32_t FirstRowY = 330;
constexpr std::int32_t RowHeight = 16;
constexpr std::int32_t GlyphWidth = 8;

// Each column's heading and the character its field is centred on in LoopRowText.
struct Column {
    const char* Heading;
    std::int32_t CentreCharacter;
};
constexpr std::array<Column, 7> Columns{{{"ループ", 2},
                                         {"テンポ", 8},
                                         {"Perfect", 14},
                                         {"Great", 20},
                                         {"Good", 26},
                                         {"Miss", 32},
                                         {"正確さ", 39}}};

} // namespace

std::span<const PracticeLoopRow> LastLoopRows(const std::vector<PracticeLoopRow>& rows, std::size_t count) {
    const std::size_t shown = std::min(rows.size(), count);
    return std::span<const PracticeLoopRow>(rows).last(shown);
}

std::string LoopRowText(const PracticeLoopRow& row) {
    const std::int32_t accuracy = row.Counts.AccuracyPermille();
    char text[96];
    std::snprintf(text, sizeof text, "%4d  %3d%%  %4d  %4d  %4d  %4d  %3d.%d%%", row.Loop, row.TempoPercent,
                  row.Counts.Perfect, row.Counts.Great, row.Counts.Good, row.Counts.Miss, accuracy / 10,
                  accuracy % 10);
    return text;
}

void DrawPracticeResult(TDirectDrawSurface& back, BitmapText& text, const PracticeRun& run) {
    text.DrawText32(440, 176, "PRACTICE", 1);
    const auto rows = LastLoopRows(run.Rows);
    if (rows.empty()) return;
    back.FillRectAlpha(TRect{TableX - 8, HeaderY - 2, TableX + 44 * GlyphWidth,
                             FirstRowY + RowHeight * static_cast<std::int32_t>(ShownLoopRows) + 2},
                       clBlack, 120);
    for (const Column& column : Columns)
        DrawShadowedLine(back, TableX + column.CentreCharacter * GlyphWidth, HeaderY, column.Heading,
                         clYellow, 13);
    std::int32_t y = FirstRowY;
    for (const PracticeLoopRow& row : rows) {
        text.DrawAnkText(TableX, y, LoopRowText(row));
        y += RowHeight;
    }
}

} // namespace tamtara
