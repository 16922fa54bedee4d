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
}

std::size_t TempoTimeline::SegmentOf(double position) const {
    const auto next = std::upper_bound(Segments.begin(), Segments.end(), position,
                                       [](double p, const Segment& s) { return p < s.Start; });
    return next == Segments.begin() ? 0 : static_cast<std::size_t>(next - Segments.begin() - 1);
}

double TempoTimeline::Milliseconds(double from, double to) const {
    if (to < from) return -Milliseconds(to, from);
    double ms = 0.0;
    for (std::size_t i = SegmentOf(from); from < to; ++i) {
        const double end = i + 1 < Segments.size() ? std::min(Segments[i + 1].Start, to) : to;
        ms += (end - from) / Segments[i].PerMs;
        from = end;
    }
    return ms;
}

double TempoTimeline::PositionAfter(double from, double ms) const {
    std::size_t i = SegmentOf(from);
    if (ms >= 0.0) {
        while (i + 1 < Segments.size()) {
            const double span = (Segments[i + 1].Start - from) / Segments[i].PerMs;
            if (ms < span) break;
            ms -= span;
            from = Segments[++i].Start;
        }
        return from + ms * Segments[i].PerMs;
    }
    while (i > 0) {
        const double span = (from - Segments[i].Start) / Segments[i].PerMs;
        if (-ms <= span) break;
        ms += span;
        from = Segments[i--].Start;
    }
    return from + ms * Segments[i].PerMs;
}

double TempoTimeline::TicksPerMillisecond(double position) const {
    return Segments[SegmentOf(position)].PerMs;
}

std::int32_t TempoTimeline::BpmAt(double position) const {
    return Segments[SegmentOf(position)].Bpm;
}

} // namespace tamtara
