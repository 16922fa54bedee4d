// Click song, beat deviation, and the calibration's outliers and median.
#include "app/Calibration.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace tamtara {

namespace {

void PutBigEndian(std::vector<std::uint8_t>& bytes, std::uint32_t value, int count) {
    for (int shift = (count - 1) * 8; shift >= 0; shift -= 8)
        bytes.push_back(static_cast<std::uint8_t>(value >> shift));
}

void PutDelta(std::vector<std::uint8_t>& bytes, std::uint32_t delta) {
    std::uint8_t groups[5];
    int count = 0;
    do {
        groups[count++] = static_cast<std::uint8_t>(delta & 0x7F);
        delta >>= 7;
    } while (delta != 0);
    while (count > 1)
        bytes.push_back(static_cast<std::uint8_t>(groups[--count] | 0x80));
    bytes.push_back(groups[0]);
}

std::optional<double> MedianOf(std::vector<double> values) {
    if (values.empty()) return std::nullopt;
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

constexpr std::uint8_t HighWoodBlock = 76;
constexpr std::uint8_t LowWoodBlock = 77;

} // namespace

std::vector<std::uint8_t> ClickSongBytes(int bars) {
    std::vector<std::uint8_t> track;
    const std::uint32_t microsPerQuarter = 60000000 / CalibrationTempo;
    PutDelta(track, 0);
    track.insert(track.end(), {0xFF, 0x51, 0x03});
    PutBigEndian(track, microsPerQuarter, 3);
    const std::uint32_t clickLength = CalibrationDivision / 8;
    for (int beat = 0; beat < bars * 4; ++beat) {
        PutDelta(track, beat == 0 ? 0 : CalibrationDivision - clickLength);
        const std::uint8_t note = beat % 4 == 0 ? HighWoodBlock : LowWoodBlock;
        track.insert(track.end(), {0x99, note, std::uint8_t(beat % 4 == 0 ? 120 : 90)});
        PutDelta(track, clickLength);
        track.insert(track.end(), {0x89, note, 0});
    }
    // A no-op controller on the closing bar line, so a looped song restarts exactly on the beat.
    PutDelta(track, CalibrationDivision - clickLength);
    track.insert(track.end(), {0xB9, 0x10, 0x00});
    track.insert(track.end(), {0x00, 0xFF, 0x2F, 0x00});

    std::vector<std::uint8_t> bytes = {'M', 'T', 'h', 'd'};
    PutBigEndian(bytes, 6, 4);
    PutBigEndian(bytes, 0, 2);
    PutBigEndian(bytes, 1, 2);
    PutBigEndian(bytes, CalibrationDivision, 2);
    bytes.insert(bytes.end(), {'M', 'T', 'r', 'k'});
    PutBigEndian(bytes, static_cast<std::uint32_t>(track.size()), 4);
    bytes.insert(bytes.end(), track.begin(), track.end());
    return bytes;
}

double BeatDeviationMs(double position, std::int32_t division, std::int32_t tempo) {
    if (division <= 0 || tempo <= 0) return 0.0;
    const double nearest = std::round(position / division) * division;
    return (position - nearest) * 60000.0 / (static_cast<double>(tempo) * division);
}

std::optional<double> CalibrationRun::Centre() const {
    std::vector<double> inRange;
    for (double d : Deviations)
        if (std::fabs(d) <= CalibrationRangeMs) inRange.push_back(d);
    return MedianOf(std::move(inRange));
}

bool CalibrationRun::IsKept(double deviationMs, std::optional<double> centre) {
    return centre && std::fabs(deviationMs) <= CalibrationRangeMs &&
           std::fabs(deviationMs - *centre) <= CalibrationOutlierMs;
}

int CalibrationRun::Kept() const {
    const std::optional<double> centre = Centre();
    return static_cast<int>(
        std::count_if(Deviations.begin(), Deviations.end(), [&](double d) { return IsKept(d, centre); }));
}

std::optional<std::int32_t> CalibrationRun::Median() const {
    const std::optional<double> centre = Centre();
    std::vector<double> kept;
    std::copy_if(Deviations.begin(), Deviations.end(), std::back_inserter(kept),
                 [&](double d) { return IsKept(d, centre); });
    const std::optional<double> median = MedianOf(std::move(kept));
    if (!median) return std::nullopt;
    return static_cast<std::int32_t>(std::lround(*median));
}

std::string CalibrationRun::CountText() const {
    if (Enough()) return "OK";
    return std::to_string(Kept()) + " / " + std::to_string(CalibrationStrikesNeeded);
}

std::string SignedMsText(std::int32_t ms) {
    return (ms < 0 ? "-" : "+") + std::to_string(ms < 0 ? -static_cast<std::int64_t>(ms) : ms) + " ms";
}

std::string CalibrationEnding::Text() const {
    if (Saved) return "保存しました: " + SignedMsText(OffsetMs);
    if (Problem.empty()) return "今回だけ使います: " + SignedMsText(OffsetMs);
    return "保存できませんでした (今回だけ " + SignedMsText(OffsetMs) + " を使います)";
}

std::optional<double> CalibrationRun::Last() const {
    if (Deviations.empty()) return std::nullopt;
    return Deviations.back();
}

} // namespace tamtara
