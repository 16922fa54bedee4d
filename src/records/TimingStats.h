// Figures of a play's timing from its graded strikes (Miss strikes carry no timing and are left
// out): the error histogram, early and late counts, mean and spread per lane, the unstable rate
// and the median error. Pure functions of the strikes.
#pragma once

#include "records/PlayRecord.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>

namespace tamtara {

// -100 ms to +100 ms in 5 ms bars: bar i holds errors from -100 + 5 i up to but not including
// -95 + 5 i, the last bar includes +100. Errors outside the range count in Below or Above.
struct TimingHistogram {
    static constexpr std::int32_t FromMs = -100, ToMs = 100, BarMs = 5;
    static constexpr int Bars = (ToMs - FromMs) / BarMs;
    std::array<std::int32_t, Bars> Counts{};
    std::int32_t Below = 0, Above = 0;
};

struct LaneTiming {
    std::int32_t Graded = 0;
    double MeanMs = 0;   // positive: late
    double SpreadMs = 0; // standard deviation
};

// A median needs this many graded strikes before it is worth suggesting as an offset.
constexpr std::int32_t MedianMinimumStrikes = 50;

// A strike this close to its note, either way, is on time: closer than a player can aim, and
// within what a key or pad and the sound add anyway.
constexpr std::int32_t OnTimeWithinMs = 5;

struct TimingStats {
    std::int32_t Graded = 0;
    // Error below -OnTimeWithinMs, above +OnTimeWithinMs, and from one to the other.
    std::int32_t Early = 0, Late = 0, OnTime = 0;
    double MeanMs = 0, SpreadMs = 0;
    double UnstableRate = 0;
    std::optional<double> MedianMs; // with at least MedianMinimumStrikes graded strikes
    TimingHistogram Histogram;
    std::array<LaneTiming, 7> Lanes{};
};

TimingStats ComputeTimingStats(std::span<const StrikeEntry> strikes);

// 10 times the standard deviation of the graded strikes' errors in ms; 0 with fewer than two.
double UnstableRate(std::span<const StrikeEntry> strikes);
// The median error of the graded strikes (the mean of the middle two for an even count), when
// there are at least MedianMinimumStrikes of them.
std::optional<double> MedianErrorMs(std::span<const StrikeEntry> strikes);

} // namespace tamtara
