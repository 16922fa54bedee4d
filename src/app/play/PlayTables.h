// Fixed tables of the play screen: the grades, the lane geometry and the gauge loss per level
// (which drum notes go to which lane is midi/DrumMap.h).
#pragma once

#include "base/DrumParts.h"
#include "midi/DrumMap.h"

#include <array>
#include <cstdint>

namespace tamtara {

constexpr int ChannelCount = 16;

// Grade values double as the row order of the grade sprites.
enum Grade : std::int32_t { Miss = 0, Good = 1, Great = 2, Perfect = 3 };

constexpr std::array<std::int32_t, LaneCount> LaneX{161, 210, 256, 320, 352, 384, 415};
constexpr std::array<std::int32_t, LaneCount> LaneWidth{48, 46, 63, 30, 30, 30, 64};
constexpr std::array<std::int32_t, LaneCount> ExplodeX{151, 200, 256, 310, 342, 374, 410};
constexpr std::array<std::int32_t, LaneCount> ExplodeRow{2, 1, 4, 0, 3, 3, 2};

constexpr std::int32_t LaneCentre(int lane) {
    return LaneX[lane] + LaneWidth[lane] / 2;
}

constexpr std::array<std::int32_t, 8> MissPenaltyByLevel{0, 5, 10, 20, 30, 50, 100, 250};

// A level outside the list (a hand-edited ini) takes the nearest end rather than reading past it.
constexpr std::int32_t MissPenaltyFor(std::int32_t level) {
    if (level < 0) return MissPenaltyByLevel.front();
    if (level > 7) return MissPenaltyByLevel.back();
    return MissPenaltyByLevel[level];
}

constexpr std::int32_t FullGauge = 425;
// Division rounding down, so the negative ticks of the pre-roll fall into the beat before.
constexpr std::int32_t FloorDiv(std::int32_t value, std::int32_t divisor) {
    const std::int32_t q = value / divisor;
    return (value % divisor != 0 && (value < 0) != (divisor < 0)) ? q - 1 : q;
}

constexpr std::int32_t HitLineY = 398;
// A note sprite's height; its top is drawn 8 pixels above the hit line when it is due.
constexpr std::int32_t NoteHeight = 16;

} // namespace tamtara
