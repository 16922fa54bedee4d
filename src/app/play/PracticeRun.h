// A practice play as the play screen keeps it: the options it was set up with (tempo, loop,
// speed trainer, wait mode), the tempo now, and one row of grade counts per loop pass. The
// sequencer thread closes the passes (with its lock held); the frame reads a copy under the
// same lock.
#pragma once

#include <cstdint>
#include <vector>

namespace tamtara {

struct PlayState;

struct GradeCounts {
    std::int32_t Perfect = 0;
    std::int32_t Great = 0;
    std::int32_t Good = 0;
    std::int32_t Miss = 0;

    std::int32_t Total() const { return Perfect + Great + Good + Miss; }
    // The share of notes struck Great or better, in tenths of a percent (0 without notes).
    std::int32_t AccuracyPermille() const;
    // A pass the speed trainer rewards: at least one note, and every one Great or better.
    bool Clean() const { return Total() > 0 && Good == 0 && Miss == 0; }
    GradeCounts operator-(const GradeCounts& since) const {
        return {Perfect - since.Perfect, Great - since.Great, Good - since.Good, Miss - since.Miss};
    }
    bool operator==(const GradeCounts&) const = default;
};

// The grade counts of the play so far.
GradeCounts CountsOf(const PlayState& state);

// One loop pass: its number from 1, the tempo it was played at, its counts.
struct PracticeLoopRow {
    std::int32_t Loop = 0;
    std::int32_t TempoPercent = 100;
    GradeCounts Counts;
    bool operator==(const PracticeLoopRow&) const = default;
};

struct PracticeRun {
    // Set by the practice set-up; a play without it is the game's ordinary play.
    bool Active = false;
    // The set-up's tempo and metronome, which every play of the practice (a retry too) starts with.
    std::int32_t StartTempoPercent = 100;
    bool StartMetronome = false;
    // The tempo in percent of the song's own: the set-up's, then the keys' and the trainer's.
    std::int32_t TempoPercent = 100;
    // The speed trainer: the step in percent after each clean pass (0: no trainer), up to Target.
    std::int32_t TrainerStep = 0;
    std::int32_t TrainerTarget = 100;
    bool WaitMode = false;
    bool Metronome = false;
    // The loop's first and last bar, 0 for none (the whole song once), and the song's bar count.
    std::int32_t LoopFromBar = 0;
    std::int32_t LoopToBar = 0;
    std::int32_t BarCount = 0;
    // Bars of clicks before the song and before each pass, and the mix (0 to 127 each).
    std::int32_t CountInBars = 0;
    std::int32_t DrumVolume = 127;
    std::int32_t AccompanimentVolume = 127;
    std::int32_t ClickVolume = 100;

    // Filled during the play.
    std::vector<PracticeLoopRow> Rows;
    // The counts as the pass now running began.
    GradeCounts PassStart;
    // Loop passes completed.
    std::int32_t Passes = 0;
    // The lane the song is held for in wait mode; -1 when it is not held.
    std::int32_t HeldLane = -1;

    // What a new play clears and restarts from the set-up's values; the options stay.
    void ResetForPlay();
    // The tempo the trainer goes to after a clean pass from now (the tempo itself without a
    // trainer or at its target).
    std::int32_t TrainerNextTempo() const;
    // Ends the pass whose counts have reached `now`: its row is added when it had notes (a pass
    // without a row still counts), and after a clean pass the trainer's step is taken. Returns
    // the tempo for the next pass.
    std::int32_t ClosePass(const GradeCounts& now);
    // Ends the pass without a row (the player restarted it, or the play left halfway): its
    // counts stay in the totals only. With keepRow, the partial pass gets its row when it had
    // notes (the last pass when the player leaves).
    void AbandonPass(const GradeCounts& now, bool keepRow);
};

} // namespace tamtara
