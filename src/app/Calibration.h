// The latency calibration's arithmetic: the click song it plays, how far a strike lies from
// the nearest click, and the median of the strikes that are not outliers.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace tamtara {

inline constexpr std::int32_t CalibrationTempo = 100;
inline constexpr std::int32_t CalibrationDivision = 480;
inline constexpr int CalibrationStrikesNeeded = 16;
// Strikes farther than this from the nearest click are dropped as outliers.
inline constexpr double CalibrationOutlierMs = 80.0;

// A Standard MIDI File of clicks on the drum channel, one per quarter note at 100 beats per
// minute for `bars` bars of four (a high wood block on the bar, a low one on the other beats).
std::vector<std::uint8_t> ClickSongBytes(int bars);

// Milliseconds from the nearest beat to a strike at song position `position` (ticks) at
// `tempo` beats per minute; negative when the strike came early.
double BeatDeviationMs(double position, std::int32_t division, std::int32_t tempo);

class CalibrationRun {
public:
    void Clear() { Deviations.clear(); }
    void AddStrike(double deviationMs) { Deviations.push_back(deviationMs); }
    int Total() const { return static_cast<int>(Deviations.size()); }
    // Strikes within the outlier limit.
    int Kept() const;
    // The median of the kept strikes in whole milliseconds; none while no strike is kept.
    std::optional<std::int32_t> Median() const;
    bool Enough() const { return Kept() >= CalibrationStrikesNeeded; }
    // The last strike's deviation, if any.
    std::optional<double> Last() const;
    const std::vector<double>& All() const { return Deviations; }

private:
    std::vector<double> Deviations;
};

} // namespace tamtara
