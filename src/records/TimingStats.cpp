#include "records/TimingStats.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace tamtara {

namespace {

bool Graded(const StrikeEntry& strike) {
    return strike.Grade > 0;
}

// Mean and population standard deviation, summed in one pass.
struct Moments {
    std::int32_t Count = 0;
    double Sum = 0, Squares = 0;
    void Add(double value) {
        ++Count;
        Sum += value;
        Squares += value * value;
    }
    double Mean() const { return Count ? Sum / Count : 0; }
    double Spread() const {
        if (Count < 2) return 0;
        const double mean = Mean();
        return std::sqrt(std::max(0.0, Squares / Count - mean * mean));
    }
};

int BarOf(std::int32_t errorMs) {
    if (errorMs == TimingHistogram::ToMs) return TimingHistogram::Bars - 1;
    return (errorMs - TimingHistogram::FromMs) / TimingHistogram::BarMs;
}

} // namespace

TimingStats ComputeTimingStats(std::span<const StrikeEntry> strikes) {
    TimingStats stats;
    Moments all;
    std::array<Moments, 7> lanes;
    for (const StrikeEntry& strike : strikes) {
        if (!Graded(strike)) continue;
        const std::int32_t error = strike.ErrorMs;
        all.Add(error);
        if (strike.Lane < lanes.size()) lanes[strike.Lane].Add(error);
        (error < -OnTimeWithinMs ? stats.Early : error > OnTimeWithinMs ? stats.Late : stats.OnTime)++;
        if (error < TimingHistogram::FromMs)
            ++stats.Histogram.Below;
        else if (error > TimingHistogram::ToMs)
            ++stats.Histogram.Above;
        else
            ++stats.Histogram.Counts[static_cast<std::size_t>(BarOf(error))];
    }
    stats.Graded = all.Count;
    stats.MeanMs = all.Mean();
    stats.SpreadMs = all.Spread();
    stats.UnstableRate = 10 * stats.SpreadMs;
    for (std::size_t lane = 0; lane < lanes.size(); ++lane)
        stats.Lanes[lane] = LaneTiming{lanes[lane].Count, lanes[lane].Mean(), lanes[lane].Spread()};
    stats.MedianMs = MedianErrorMs(strikes);
    return stats;
}

double UnstableRate(std::span<const StrikeEntry> strikes) {
    return ComputeTimingStats(strikes).UnstableRate;
}

std::optional<double> MedianErrorMs(std::span<const StrikeEntry> strikes) {
    std::vector<std::int32_t> errors;
    for (const StrikeEntry& strike : strikes)
        if (Graded(strike)) errors.push_back(strike.ErrorMs);
    if (errors.size() < static_cast<std::size_t>(MedianMinimumStrikes)) return std::nullopt;
    std::sort(errors.begin(), errors.end());
    const std::size_t middle = errors.size() / 2;
    if (errors.size() % 2 == 1) return errors[middle];
    return (errors[middle - 1] + errors[middle]) / 2.0;
}

} // namespace tamtara
