// Which General MIDI percussion keys become notes of which lane, and the note a lane sounds when
// struck with nothing pending. Two maps: the game's own table, and the extended one the player
// may turn on, which also gives the kit pieces the table leaves out to their natural lanes.
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

// The extended map: the table's keys, and side stick 37 on the snare; ride 51, china 52, ride
// bell 53 and ride 2 (59) on the cymbal lane.
constexpr std::array<std::array<std::int32_t, 7>, LaneCount> ExtendedLaneNotes{{
    {42, 44, 46},
    {38, 40, 37},
    {35, 36},
    {48, 50},
    {45, 47},
    {41, 43},
    {49, 55, 57, 51, 52, 53, 59},
}};

constexpr std::array<std::uint8_t, LaneCount> LaneDefaultNote{42, 38, 36, 48, 45, 41, 49};

// Lane per note (-1 for none), taken from a map's table once, at compile time: the lookups run
// on the sequencer's cycle and for every note of every song scanned.
template <typename Table> constexpr std::array<std::int8_t, 128> LanesByNote(const Table& table) {
    std::array<std::int8_t, 128> lanes{};
    lanes.fill(-1);
    // From the last lane down, so a note in two lanes keeps the first.
    for (int lane = LaneCount - 1; lane >= 0; --lane)
        for (std::int32_t n : table[static_cast<std::size_t>(lane)])
            if (n > 0 && n < 128) lanes[static_cast<std::size_t>(n)] = static_cast<std::int8_t>(lane);
    return lanes;
}
inline constexpr std::array<std::int8_t, 128> StandardLanesByNote = LanesByNote(LaneNotes);
inline constexpr std::array<std::int8_t, 128> ExtendedLanesByNote = LanesByNote(ExtendedLaneNotes);

// The lane a note has in the game's own table, or -1 for any other note.
constexpr int StandardLaneOfNote(int note) {
    return note >= 0 && note < 128 ? StandardLanesByNote[static_cast<std::size_t>(note)] : -1;
}

// The lane a note has in the extended map, or -1.
constexpr int ExtendedLaneOfNote(int note) {
    return note >= 0 && note < 128 ? ExtendedLanesByNote[static_cast<std::size_t>(note)] : -1;
}

// The map a play, a scan or a key is made under: which notes scroll in which lane. A value,
// chosen from the player's settings and handed to whatever sorts notes into lanes.
class LaneMap {
public:
    static constexpr LaneMap Standard() { return LaneMap(false); }
    static constexpr LaneMap Extended() { return LaneMap(true); }
    static constexpr LaneMap Chosen(bool extended) { return LaneMap(extended); }

    // The lane a drum note scrolls in, or -1 for a note of no lane.
    constexpr int LaneOf(int note) const {
        return ExtendedKeys ? ExtendedLaneOfNote(note) : StandardLaneOfNote(note);
    }
    constexpr bool HasLane(int note) const { return LaneOf(note) >= 0; }
    constexpr bool IsExtended() const { return ExtendedKeys; }
    constexpr bool operator==(const LaneMap&) const = default;

private:
    explicit constexpr LaneMap(bool extended) : ExtendedKeys(extended) {}
    bool ExtendedKeys = false;
};

} // namespace tamtara
