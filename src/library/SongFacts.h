// What one full read of a song tells beyond its title: the notes per lane, the length, the
// difficulty and the drum part's key.
#pragma once

#include "midi/DrumMap.h"

#include <array>
#include <cstdint>
#include <string>

namespace tamtara {

// What a full read of a song tells beyond the scan's title and check.
struct SongFacts {
    // Notes per lane, notes of one lane within one tick of each other counted once.
    std::array<std::int32_t, 7> LaneCounts{};
    // From the start to the song's end (SongEndTick).
    std::int32_t LengthMs = 0;
    // Tenths of the rating (43 is 4.3); 0 for no notes.
    std::int32_t DifficultyTenths = 0;
    // The drum part's key (see DrumPartKey); empty when the song could not be read.
    std::string DrumKey;
    // The lane map the counts and the rating were taken under.
    bool ExtendedMap = false;
};

// Reads and parses a song for its facts; facts of nothing (all zero) when it cannot be read.
SongFacts ReadSongFacts(const std::string& path, LaneMap lanes);

// The difficulty alone (see ChartDifficulty); 0 when the song cannot be read or timed.
double SongDifficulty(const std::string& path, LaneMap lanes);

} // namespace tamtara
