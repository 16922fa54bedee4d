// The song's position against time, integrated exactly over its tempo map: milliseconds between
// two positions and the position a given time after another, with no rounding carried along.
// Before the first tempo entry (and before tick 0) the first entry's tempo holds.
#pragma once

#include "midi/SongModel.h"

#include <cstdint>
#include <vector>

namespace tamtara {

class TempoTimeline {
public:
    TempoTimeline() = default;
    // Without Set Tempo events the song runs at defaultBpm.
    TempoTimeline(const TSongModel& song, std::int32_t defaultBpm);

    // Milliseconds from position `from` to position `to` at the song's own tempo (negative when
    // to lies before from).
    double Milliseconds(double from, double to) const;
    // The position `ms` milliseconds after (or, negative, before) position `from`.
    double PositionAfter(double from, double ms) const;
    // Ticks per millisecond and beats per minute in force at a position.
    double TicksPerMillisecond(double position) const;
    std::int32_t BpmAt(double position) const;

private:
    struct Segment {
        double Start = 0.0; // the first segment reaches back without end
        double PerMs = 0.0;
        std::int32_t Bpm = 0;
        // Milliseconds from the first segment's start to this one's: every conversion is a
        // search and one step, however many tempo changes lie between its two ends.
        double StartMs = 0.0;
    };
    std::size_t SegmentOf(double position) const;
    // Milliseconds from the first segment's start to position (negative before it).
    double MsOf(double position) const;

    std::vector<Segment> Segments{Segment{0.0, 0.96, 120, 0.0}};
};

} // namespace tamtara
