// What the game makes of one song file: whether it can be played, its title, length, drum notes
// per lane and picture, found with the game's own loaders and limits.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace tamtara {

struct TSongModel;

struct TSongReport {
    std::string Path;
    bool Playable = false;
    std::string Problem; // why it cannot be played; empty when it can
    std::string Title;   // decoded to UTF-8, control characters replaced
    double Seconds = 0;
    std::array<std::int32_t, 7> LaneNotes{};
    // Channel 10 note-ons with a velocity, and how many of them have a lane in the game's own
    // table and in the extended map.
    std::int32_t DrumNotes = 0;
    std::int32_t StandardMapNotes = 0;
    std::int32_t ExtendedMapNotes = 0;
    // The song's rating (see ChartDifficulty).
    double Difficulty = 0;
    std::string Picture; // "none", "bmp", "jpg" or "refused: reason"
    std::string Key;     // the drum-part key the records file the song under; empty when unplayable
};

// song is scratch space for the load (it is large, so the caller keeps one for every song).
TSongReport CheckSong(const std::string& path, TSongModel& song);

// One line: path, "ok" or the problem, title, seconds, notes per lane, the share of drum notes
// with a lane under both maps, picture; tab-separated.
std::string FormatReport(const TSongReport& report);

} // namespace tamtara
