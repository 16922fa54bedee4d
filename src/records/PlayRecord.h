// One finished play as the records keep it, the song it was played on, and what the records give
// back: bests per song, the launcher's list, points of a song's progress.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace tamtara {

enum class InputKind : std::uint8_t { Keyboard = 0, Kit = 1 };

struct StrikeEntry {
    std::uint8_t Lane = 0;
    std::int16_t ErrorMs = 0; // strike time minus note time; the records keep -1023 to +1023
    std::uint8_t Grade = 0;   // 0 Miss, 1 Good, 2 Great, 3 Perfect
    bool operator==(const StrikeEntry&) const = default;
};

struct SongInfo {
    std::string Key, LastPath, Title;
    std::int32_t LengthMs = 0;
    std::array<std::int32_t, 7> LaneCounts{};
};

struct PlayRecord {
    std::string SongKey;
    std::int64_t PlayedAt = 0; // unix seconds
    // The mode screen's choices as they were: play time, special, scroll speed percent.
    std::int32_t PlayTime = 0, Special = 0, Speed = 100;
    bool HideLower = false, HideUpper = false;
    std::int32_t Level = 3;
    std::uint8_t AutoLanes = 0; // bit per lane
    InputKind Input = InputKind::Keyboard;
    std::int32_t OffsetMs = 0;
    std::int32_t PracticeTempo = 0; // 0 = not a practice, else percent
    std::int32_t LoopFromBar = 0, LoopToBar = 0;
    std::int32_t Score = 0;
    std::string Rank; // "" for practice
    std::int32_t Perfect = 0, Great = 0, Good = 0, Miss = 0, MaxCombo = 0;
    bool Cleared = false, Failed = false;
    std::vector<StrikeEntry> Strikes;
    // The id the records gave it; 0 for a play not read from them.
    std::int64_t Id = 0;
};

// A practice (PracticeTempo above 0) is counted apart and never makes a best: its score grows
// with the loop passes the player chose to play.
struct SongBest {
    std::int32_t Plays = 0;         // plays that were not practices
    std::int32_t PracticePlays = 0; // practices
    std::int32_t BestScore = 0;
    std::string BestRank;          // of the best-scoring play that was not a practice; "" when none
    std::int64_t LastPlayedAt = 0; // of any play, practice too
};

// Brings a song's best up to date with one more play of it, as the records would count it.
void CountPlayIn(SongBest& best, const PlayRecord& play);

struct SongSummary {
    SongInfo Song;
    SongBest Best;
};

struct PlayPoint {
    std::int64_t PlayId = 0;
    std::int64_t PlayedAt = 0;
    std::int32_t Score = 0;
    double Accuracy = 0; // 0..1, as PlayAccuracy
};

// The graded share of a play with Perfect worth 1, Great 2/3, Good 1/3 and Miss 0; 0 when
// nothing was graded.
double PlayAccuracy(std::int32_t perfect, std::int32_t great, std::int32_t good, std::int32_t miss);

} // namespace tamtara
