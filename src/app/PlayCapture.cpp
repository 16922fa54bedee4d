// The capture of a finished play into its record.
#include "app/PlayCapture.h"

#include "app/ResultRank.h"
#include "midi/MidiDrive.h"
#include "midi/TempoTimeline.h"

#include <algorithm>
#include <cmath>

namespace tamtara {

std::string RankLetterOf(std::int32_t perfect, std::int32_t great, std::int32_t good, std::int32_t miss) {
    const std::int32_t total = perfect + great + good + miss;
    return std::string(1, RankTable[RankOf(ShareOf(perfect, total), ShareOf(miss, total))].Letter);
}

PlayRecord CapturePlay(const PlayState& state, const std::vector<StrikeRecord>& strikes,
                       const TSongModel& song, const PlayOutcomeFacts& facts) {
    PlayRecord play;
    play.PlayedAt = facts.PlayedAt;
    play.PlayTime = state.TwoMinutes ? 0 : 1;
    play.HideLower = state.HideLowerNotes;
    play.HideUpper = state.HideUpperNotes;
    play.Special = (state.HideLowerNotes ? 1 : 0) | (state.HideUpperNotes ? 2 : 0);
    play.Speed = state.ScrollSpeed;
    play.Level = state.Level;
    for (std::size_t lane = 0; lane < state.AutoLane.size(); ++lane)
        if (state.AutoLane[lane]) play.AutoLanes = static_cast<std::uint8_t>(play.AutoLanes | (1u << lane));
    play.Input = facts.Input;
    play.OffsetMs = state.InputOffsetMs;
    play.PracticeTempo = facts.PracticeTempo;
    play.LoopFromBar = facts.LoopFromBar;
    play.LoopToBar = facts.LoopToBar;
    play.Score = state.Score;
    play.Perfect = state.PerfectCount;
    play.Great = state.GreatCount;
    play.Good = state.GoodCount;
    play.Miss = state.MissCount;
    play.MaxCombo = state.MaxCombo;
    play.Failed = facts.Failed;
    play.Cleared = !facts.Failed;
    if (facts.PracticeTempo == 0) play.Rank = RankLetterOf(play.Perfect, play.Great, play.Good, play.Miss);

    const TempoTimeline clock(song, DefaultTempo);
    play.Strikes.reserve(strikes.size());
    for (const StrikeRecord& strike : strikes) {
        if (!strike.Result) continue;
        // How far off the player was in their own time: at half speed a note's song time is
        // twice the player's.
        const double error = clock.Milliseconds(strike.NoteTick, strike.Position) / strike.TempoScale;
        StrikeEntry entry;
        entry.Lane = static_cast<std::uint8_t>(strike.Lane);
        entry.ErrorMs = static_cast<std::int16_t>(std::clamp(std::lround(error), -2000L, 2000L));
        entry.Grade = static_cast<std::uint8_t>(*strike.Result);
        play.Strikes.push_back(entry);
    }
    return play;
}

} // namespace tamtara
