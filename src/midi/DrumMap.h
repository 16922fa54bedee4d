// Which General MIDI percussion keys become notes of which lane, and the note a lane sounds when
// struck with nothing pending.
#pragma once

#include "base/DrumParts.h"

#include <array>
#include <cstdint>

namespace tamtara {

// Up to three percussion keys per lane; 0 matches nothing.
constexpr std::array<std::array<std::int32_t, 3>, LaneCount> LaneNotes{{
    {42, 44, 46},
    {38, 40, 0},
    {35, 36, 0},
    {48, 50, 0},
    {45, 47, 0},
    {41, 43, 0},
    {49, 55, 57},
}};

constexpr std::array<std::uint8_t, LaneCount> LaneDefaultNote{42, 38, 36, 48, 45, 41, 49};

constexpr bool LaneHoldsNote(int lane, int note) {
    for (std::int32_t n : LaneNotes[lane])
        if (n != 0 && n == note) return true;
    return false;
}

// The lane a table drum note scrolls in, or -1 for any other note.
constexpr int LaneOfNote(int note) {
    for (int lane = 0; lane < LaneCount; ++lane)
        if (LaneHoldsNote(lane, note)) return lane;
    return -1;
}

} // namespace tamtara
