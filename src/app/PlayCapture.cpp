// The capture of a finished play into its record.
#include "app/PlayCapture.h"

#include "app/ResultRank.h"
#include "midi/MidiDrive.h"

#include <algorithm>
#include <cmath>

namespace tamtara {

TempoClock::TempoClock(const TSongModel& song) {
    const double division = std::max<std::int32_t>(song.Division.load(), 1);
    const auto msPerTick = [division](std::int32_t bpm) { return 60000.0 / (std::max(bpm, 1) * division); };
    Segments.push_back({0.0, 0.0, msPerTick(song.TempoCount > 0 ? song.TempoMap[0].Bpm : DefaultTempo)});
    for (std::int32_t i = 1; i < song.TempoCount; ++i) {
        const Segment& last = Segments.back();
        // Out of order entries wait until the song reaches the one before them.
        const double tick = std::max<double>(song.TempoMap[static_cast<std::size_t>(i)].Tick, last.Tick);
        Segments.push_back({tick, last.Ms + (tick - last.Tick) * last.MsPerTick,
                            msPerTick(song.TempoMap[static_cast<std::size_t>(i)].Bpm)});
    }
}

double TempoClock::MillisecondsAt(double tick) const {
    // The last segment starting at or before tick; before tick 0 the first tempo runs back.
    auto it = std::upper_bound(Segments.begin(), Segments.end(), tick,
                               [](double t, const Segment& s) { return t < s.Tick; });
    const Segment& s = it == Segments.begin() ? Segments.front() : *std::prev(it);
    return s.Ms + (tick - s.Tick) * s.MsPerTick;
}

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

    const TempoClock clock(song);
    play.Strikes.reserve(strikes.size());
    for (const StrikeRecord& strike : strikes) {
        if (!strike.Result) continue;
        const double error = clock.MillisecondsAt(strike.Position) - clock.MillisecondsAt(strike.NoteTick);
        StrikeEntry entry;
        entry.Lane = static_cast<std::uint8_t>(strike.Lane);
        entry.ErrorMs = static_cast<std::int16_t>(std::clamp(std::lround(error), -2000L, 2000L));
        entry.Grade = static_cast<std::uint8_t>(*strike.Result);
        play.Strikes.push_back(entry);
    }
    return play;
}

} // namespace tamtara
