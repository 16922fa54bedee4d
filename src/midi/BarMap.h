// Bars and beats of a song from its own time signatures.
//
// Bar 1 starts at tick 0 and bars are numbered on from there; there is no bar 0. A time
// signature change that falls on a bar line starts its meter there; one that falls inside a bar
// cuts that bar short and starts a new bar on its own tick. A song whose first bar is cut short
// this way (a pick-up: a first time signature after tick 0, or a change before the first bar is
// full) has that short bar as bar 1, so every note of the song lies in a numbered bar the
// player can choose; HasPickup() tells when the first bar is shorter than the second. Before any time
// signature the meter is 4/4. Ticks before 0 (a pre-roll) belong to bars 0, -1, ... of the first meter,
// counted back.
#pragma once

#include "midi/SongModel.h"

#include <cstdint>
#include <vector>

namespace tamtara {

class BarMap {
public:
    // A beat of the grid: its tick and whether it starts a bar.
    struct Beat {
        std::int32_t Tick = 0;
        bool Downbeat = false;
    };

    static BarMap FromSong(const TSongModel& song, std::int32_t songEndTick);

    // Bars up to the song's end: the last is the one holding the song's last tick before its
    // end (at least 1).
    std::int32_t BarCount() const { return Count; }
    std::int32_t BarStartTick(std::int32_t bar) const;
    // The start of the next bar.
    std::int32_t BarEndTick(std::int32_t bar) const;
    std::int32_t BarOfTick(std::int32_t tick) const;
    // The meter in force at tick; its Tick is where that meter's bars begin.
    MeterEntry MeterAt(std::int32_t tick) const;
    // Ticks of one beat (one 1/Denominator note) of the meter at tick; at least 1.
    std::int32_t BeatTicks(std::int32_t tick) const;
    // The first beat at or after tick: beats run from each bar's start, a short bar ending its
    // beats early.
    Beat BeatAtOrAfter(std::int32_t tick) const;
    bool HasPickup() const { return Pickup; }

private:
    // A run of bars of one meter, from a bar line up to the next run.
    struct Run {
        std::int32_t Start = 0;
        std::int32_t FirstBar = 1;
        std::int32_t BarTicks = 1;
        std::int32_t BeatTicks = 1;
        MeterEntry Meter;
    };
    const Run& RunOfTick(std::int32_t tick) const;
    const Run& RunOfBar(std::int32_t bar) const;

    std::vector<Run> Runs;
    std::int32_t Count = 1;
    bool Pickup = false;
};

} // namespace tamtara
