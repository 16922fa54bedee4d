// The grading of a finished play: shares of the grades in per mille and the rank letter.
#pragma once

#include "platform/display/DisplayTypes.h"

#include <cstdint>

namespace tamtara {

// count's share of total in per mille, truncated; 0 for every grade when nothing was graded.
constexpr std::int32_t ShareOf(std::int32_t count, std::int32_t total) {
    return count * 1000 / (total + (total == 0 ? 1 : 0));
}

struct RankRow {
    char Letter;
    std::int32_t MinPerfect; // per mille
    std::int32_t MaxMiss;    // per mille
    TColor Color;
};

// The ranks from best to worst; a play gets the first whose limits it meets.
inline constexpr RankRow RankTable[] = {
    {'S', 700, 50, ColorRGB(255, 0, 255)}, {'A', 600, 80, ColorRGB(128, 128, 255)},
    {'B', 400, 150, ColorRGB(0, 255, 96)}, {'C', 200, 200, ColorRGB(255, 255, 0)},
    {'D', 0, 250, ColorRGB(255, 0, 0)},    {'E', 0, 1000, ColorRGB(128, 0, 0)},
};

// 0 (S) to 5 (E) from the Perfect and Miss shares; Great and Good do not count.
constexpr std::int32_t RankOf(std::int32_t perfectShare, std::int32_t missShare) {
    for (std::int32_t rank = 0; rank < 5; ++rank)
        if (perfectShare >= RankTable[rank].MinPerfect && missShare <= RankTable[rank].MaxMiss) return rank;
    return 5;
}

} // namespace tamtara
