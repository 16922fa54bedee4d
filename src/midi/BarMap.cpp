// Bars and beats from the time signature list.
#include "midi/BarMap.h"

#include <algorithm>

namespace tamtara {

namespace {

std::int32_t FloorDiv(std::int64_t a, std::int64_t b) {
    const std::int64_t q = a / b;
    return static_cast<std::int32_t>(q * b > a ? q - 1 : q);
}

std::int32_t CeilDiv(std::int64_t a, std::int64_t b) {
    return -FloorDiv(-a, b);
}

} // namespace

BarMap BarMap::FromSong(const TSongModel& song, std::int32_t songEndTick) {
    const std::int32_t division = std::max(song.Division.load(), 1);
    // The file's order, sorted by tick; of several at one tick the last written wins.
    std::vector<MeterEntry> meters(song.MeterMap.begin(), song.MeterMap.begin() + song.MeterCount);
    std::stable_sort(meters.begin(), meters.end(),
                     [](const MeterEntry& a, const MeterEntry& b) { return a.Tick < b.Tick; });
    for (std::size_t i = 0; i + 1 < meters.size();)
        if (meters[i].Tick == meters[i + 1].Tick)
            meters.erase(meters.begin() + static_cast<std::ptrdiff_t>(i));
        else
            ++i;
    std::erase_if(meters, [](const MeterEntry& m) { return m.Tick < 0; });
    if (meters.empty() || meters.front().Tick > 0) meters.insert(meters.begin(), MeterEntry{});

    BarMap map;
    for (std::size_t i = 0; i < meters.size(); ++i) {
        Run run;
        run.Meter = meters[i];
        run.Start = meters[i].Tick;
        run.BeatTicks = std::max(division * 4 / std::max(meters[i].Denominator, 1), 1);
        run.BarTicks = run.BeatTicks * std::max(meters[i].Numerator, 1);
        if (!map.Runs.empty()) {
            const Run& last = map.Runs.back();
            const std::int32_t bars = CeilDiv(run.Start - last.Start, last.BarTicks);
            run.FirstBar = last.FirstBar + bars;
        }
        map.Runs.push_back(run);
    }
    map.Count = std::max(map.BarOfTick(std::max(songEndTick, 1) - 1), 1);
    map.Pickup = map.BarEndTick(1) - map.BarStartTick(1) < map.BarEndTick(2) - map.BarStartTick(2);
    return map;
}

const BarMap::Run& BarMap::RunOfTick(std::int32_t tick) const {
    const auto next = std::upper_bound(Runs.begin(), Runs.end(), tick,
                                       [](std::int32_t t, const Run& r) { return t < r.Start; });
    return next == Runs.begin() ? Runs.front() : *(next - 1);
}

const BarMap::Run& BarMap::RunOfBar(std::int32_t bar) const {
    const auto next = std::upper_bound(Runs.begin(), Runs.end(), bar,
                                       [](std::int32_t b, const Run& r) { return b < r.FirstBar; });
    return next == Runs.begin() ? Runs.front() : *(next - 1);
}

std::int32_t BarMap::BarStartTick(std::int32_t bar) const {
    const Run& run = RunOfBar(bar);
    return static_cast<std::int32_t>(run.Start +
                                     static_cast<std::int64_t>(bar - run.FirstBar) * run.BarTicks);
}

std::int32_t BarMap::BarEndTick(std::int32_t bar) const {
    return BarStartTick(bar + 1);
}

std::int32_t BarMap::BarOfTick(std::int32_t tick) const {
    const Run& run = RunOfTick(tick);
    return run.FirstBar + FloorDiv(static_cast<std::int64_t>(tick) - run.Start, run.BarTicks);
}

MeterEntry BarMap::MeterAt(std::int32_t tick) const {
    return RunOfTick(tick).Meter;
}

std::int32_t BarMap::BeatTicks(std::int32_t tick) const {
    return RunOfTick(tick).BeatTicks;
}

BarMap::Beat BarMap::BeatAtOrAfter(std::int32_t tick) const {
    const std::int32_t bar = BarOfTick(tick);
    const std::int32_t start = BarStartTick(bar);
    const std::int32_t end = BarEndTick(bar);
    const std::int32_t beat = RunOfTick(tick).BeatTicks;
    const std::int32_t at = start + CeilDiv(static_cast<std::int64_t>(tick) - start, beat) * beat;
    if (at < end) return Beat{at, at == start};
    return Beat{end, true};
}

} // namespace tamtara
