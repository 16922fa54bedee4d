// What a practice play changes about the song: its speed, a loop, clicks and the mix. The
// default plan is the song as written, sent exactly as without practice.
#pragma once

#include <cstdint>

namespace tamtara {

struct PracticePlan {
    double TempoScale = 1.0;        // 0.25 .. 2.0; the song and its notes at that speed
    std::int32_t LoopFromTick = -1; // loop [LoopFromTick, LoopToTick) when LoopFromTick >= 0
    std::int32_t LoopToTick = -1;
    std::int32_t CountInBars = 0;           // 0..2 bars of clicks before the song and before each loop
    bool Metronome = false;                 // clicks on every beat during play, accent on bar starts
    std::uint8_t DrumVolume = 127;          // channel 10 (the drum part and the player's strikes)
    std::uint8_t AccompanimentVolume = 127; // every other channel
    std::uint8_t ClickVolume = 100;         // count-in and metronome clicks

    static constexpr double MinTempoScale = 0.25;
    static constexpr double MaxTempoScale = 2.0;
    static constexpr std::int32_t MaxCountInBars = 2;

    bool HasLoop() const { return LoopFromTick >= 0 && LoopToTick > LoopFromTick; }
    // Anything that needs the practice timeline (the mix alone does not).
    bool ChangesTiming() const { return TempoScale != 1.0 || HasLoop() || CountInBars > 0 || Metronome; }
    // The plan with every value brought into its range; a loop that is empty is no loop.
    PracticePlan Clamped() const;
};

// A song value of channel volume under the mix: the drum channel's (10) by the drum volume,
// every other channel's by the accompaniment volume; 127 leaves it as it is.
std::uint8_t MixedVolume(const PracticePlan& plan, int channel, int songValue);

// The velocity of a click at the plan's click volume (100: 127 on a bar's first beat, 96 on the
// others), raised to make up for the drum volume turning channel 10 down, since the clicks
// sound on that channel: the click's loudness follows ClickVolume alone as far as velocity 127
// reaches. 0 means no click.
std::uint8_t ClickVelocity(const PracticePlan& plan, bool downbeat);

} // namespace tamtara
