// The result screen's part for a practice: "PRACTICE" where the rank stands, and one row per
// loop pass (its number, tempo, grade counts and accuracy) below the totals, the last ones when
// there are more than fit.
#pragma once

#include "app/play/PracticeRun.h"

#include <cstddef>
#include <span>
#include <string>

namespace tamtara {

class BitmapText;
class TDirectDrawSurface;

inline constexpr std::size_t ShownLoopRows = 5;

// The rows the screen shows: the last `count` of rows.
std::span<const PracticeLoopRow> LastLoopRows(const std::vector<PracticeLoopRow>& rows,
                                              std::size_t count = ShownLoopRows);
// One row as the screen draws it in the 8-pixel bitmap font:
// "   3   65%    12     3     0     1   93.7%".
std::string LoopRowText(const PracticeLoopRow& row);

void DrawPracticeResult(TDirectDrawSurface& back, BitmapText& text, const PracticeRun& run);

} // namespace tamtara
