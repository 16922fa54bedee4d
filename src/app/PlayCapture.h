// A finished play as the records keep it: the mode and settings it was played with, the outcome
// and its graded strikes with their errors in milliseconds along the song's tempo map.
#pragma once

#include "app/play/Judge.h"
#include "app/play/PlayState.h"
#include "midi/SongModel.h"
#include "records/PlayRecord.h"

#include <cstdint>
#include <vector>

namespace tamtara {

// The rank letter of a play's counts ("S" to "E").
std::string RankLetterOf(std::int32_t perfect, std::int32_t great, std::int32_t good, std::int32_t miss);

struct PlayOutcomeFacts {
    bool Failed = false;
    InputKind Input = InputKind::Keyboard;
    std::int64_t PlayedAt = 0;
    // Percent of the song's tempo when practising, else 0.
    std::int32_t PracticeTempo = 0;
    // The practice's loop in bars, 0 when it played the whole song.
    std::int32_t LoopFromBar = 0;
    std::int32_t LoopToBar = 0;
};

// The play in state with its strikes; SongKey is left for whoever knows the song's key.
PlayRecord CapturePlay(const PlayState& state, const std::vector<StrikeRecord>& strikes,
                       const TSongModel& song, const PlayOutcomeFacts& facts);

} // namespace tamtara
