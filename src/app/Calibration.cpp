// Click song, beat deviation and the calibration's median.
#include "app/Calibration.h"

#include <algorithm>
#include <cmath>

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

int CalibrationRun::Kept() const {
    return static_cast<int>(std::count_if(Deviations.begin(), Deviations.end(),
                                          [](double d) { return std::fabs(d) <= CalibrationOutlierMs; }));
}

std::optional<std::int32_t> CalibrationRun::Median() const {
    std::vector<double> kept;
    for (double d : Deviations)
        if (std::fabs(d) <= CalibrationOutlierMs) kept.push_back(d);
    if (kept.empty()) return std::nullopt;
    std::sort(kept.begin(), kept.end());
    const std::size_t middle = kept.size() / 2;
    const double median = kept.size() % 2 ? kept[middle] : (kept[middle - 1] + kept[middle]) / 2;
    return static_cast<std::int32_t>(std::lround(median));
}

std::optional<double> CalibrationRun::Last() const {
    if (Deviations.empty()) return std::nullopt;
    return Deviations.back();
}

} // namespace tamtara
