// Exact tick and time conversion over the tempo map.
#include "midi/TempoTimeline.h"

#include <algorithm>

namespace tamtara {

TempoTimeline::TempoTimeline(const TSongModel& song, std::int32_t defaultBpm) {
    const double division = std::max(song.Division.load(), 1);
    std::vector<TempoEntry> entries(song.TempoMap.begin(), song.TempoMap.begin() + song.TempoCount);
    std::erase_if(entries, [](const TempoEntry& e) { return e.Bpm <= 0; });
    std::stable_sort(entries.begin(), entries.end(),
                     [](const TempoEntry& a, const TempoEntry& b) { return a.Tick < b.Tick; });
    if (entries.empty()) entries.push_back(TempoEntry{0, defaultBpm});
    Segments.clear();
    for (const TempoEntry& e : entries) {
        const Segment segment{static_cast<double>(e.Tick), e.Bpm * division / 60000.0, e.Bpm};
        // Of several entries at one tick the last written wins.
        if (!Segments.empty() && Segments.back().Start == segment.Start)
            Segments.back() = segment;
        else
            Segments.push_back(segment);
    }
    for (std::size_t i = 1; i < Segments.size(); ++i) {
        const Segment& before = Segments[i - 1];
        Segments[i].StartMs = before.StartMs + (Segments[i].Start - before.Start) / before.PerMs;
    }
}

std::size_t TempoTimeline::SegmentOf(double position) const {
    const auto next = std::upper_bound(Segments.begin(), Segments.end(), position,
                                       [](double p, const Segment& s) { return p < s.Start; });
    return next == Segments.begin() ? 0 : static_cast<std::size_t>(next - Segments.begin() - 1);
}

double TempoTimeline::MsOf(double position) const {
    const Segment& segment = Segments[SegmentOf(position)];
    return segment.StartMs + (position - segment.Start) / segment.PerMs;
}

double TempoTimeline::Milliseconds(double from, double to) const {
    return MsOf(to) - MsOf(from);
}

double TempoTimeline::PositionAfter(double from, double ms) const {
    const double target = MsOf(from) + ms;
    const auto next = std::upper_bound(Segments.begin(), Segments.end(), target,
                                       [](double t, const Segment& s) { return t < s.StartMs; });
    const Segment& segment = next == Segments.begin() ? Segments.front() : *(next - 1);
    return segment.Start + (target - segment.StartMs) * segment.PerMs;
}

double TempoTimeline::TicksPerMillisecond(double position) const {
    return Segments[SegmentOf(position)].PerMs;
}

std::int32_t TempoTimeline::BpmAt(double position) const {
    return Segments[SegmentOf(position)].Bpm;
}

} // namespace tamtara
