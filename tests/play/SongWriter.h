// Writes small Standard MIDI Files for play tests: 480 ticks per quarter note, 120 beats per
// minute, one track with a piano part on channel 1 and drum notes on channel 10.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tamtara::testing {

struct SongNote {
    std::int32_t Tick;
    std::uint8_t Note;
    std::uint8_t Channel = 9; // 0-based; 9 is the drum channel
    std::uint8_t Velocity = 100;
};

// Notes are sorted by tick; each lasts a sixteenth.
std::vector<std::uint8_t> SongFileBytes(std::vector<SongNote> notes);
void WriteSong(const std::string& path, const std::vector<SongNote>& notes);

} // namespace tamtara::testing
