// The latency calibration's arithmetic: the click song it plays, how far a strike lies from
// the nearest click, which strikes are outliers, and the median of the others.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tamtara {

inline constexpr std::int32_t CalibrationTempo = 100;
inline constexpr std::int32_t CalibrationDivision = 480;
inline constexpr int CalibrationStrikesNeeded = 16;
// Strikes farther than this from the nearest click cannot be a latency the offset can hold.
inline constexpr double CalibrationRangeMs = 250.0;
// Strikes farther than this from the median of all strikes in range are dropped as outliers.
inline constexpr double CalibrationOutlierMs = 80.0;

// A Standard MIDI File of clicks on the drum channel, one per quarter note at 100 beats per
// minute for `bars` bars of four (a high wood block on the bar, a low one on the other beats).
std::vector<std::uint8_t> ClickSongBytes(int bars);

// Milliseconds from the nearest beat to a strike at song position `position` (ticks) at
// `tempo` beats per minute; negative when the strike came early.
double BeatDeviationMs(double position, std::int32_t division, std::int32_t tempo);

// How a calibration ended on Enter: the offset taken for play, and whether it reached the
// settings file; when not, Problem says why (empty: there was no file to save it to).
struct CalibrationEnding {
    std::int32_t OffsetMs = 0;
    bool Saved = false;
    std::string Problem;
    // What the screen confirms: "保存しました: +120 ms", or that the offset holds for this run only.
    std::string Text() const;
};

// "+120 ms", "-8 ms", "+0 ms".
std::string SignedMsText(std::int32_t ms);

// The strikes of one calibration. Outliers are judged against the median of every strike in range
// so far, so a steady latency anywhere in the offset's range is kept whole, and a few stray
// strikes (even the first ones) cannot pull the result away from the player's own.
class CalibrationRun {
public:
    void Clear() {
        Deviations.clear();
        Ending.reset();
    }
    void AddStrike(double deviationMs) { Deviations.push_back(deviationMs); }
    int Total() const { return static_cast<int>(Deviations.size()); }
    // The median of all strikes in range; none before the first.
    std::optional<double> Centre() const;
    // A strike of this deviation is kept around that centre: in range and near it.
    static bool IsKept(double deviationMs, std::optional<double> centre);
    int Kept() const;
    // The median of the kept strikes in whole milliseconds; none while no strike is kept.
    std::optional<std::int32_t> Median() const;
    bool Enough() const { return Kept() >= CalibrationStrikesNeeded; }
    // What the screen counts: "n / 16" up to the goal, then "OK".
    std::string CountText() const;
    // The last strike's deviation, if any.
    std::optional<double> Last() const;
    const std::vector<double>& All() const { return Deviations; }

    // Set by Enter; strikes after it are not taken.
    std::optional<CalibrationEnding> Ending;

private:
    std::vector<double> Deviations;
};

} // namespace tamtara
