// The strain model and the song's notes it runs over.
#include "library/Difficulty.h"

#include "midi/DrumMap.h"
#include "midi/SongModel.h"
#include "midi/TempoTimeline.h"

#include <algorithm>
#include <cmath>

namespace tamtara {

namespace {

// What is left of a lane's strain after one second, and of the overall strain: a lane played
// fast tires quickly, the whole kit more slowly.
constexpr double LaneDecayPerSecond = 0.125;
constexpr double OverallDecayPerSecond = 0.30;
constexpr double LaneStrainPerNote = 2.0;
constexpr double OverallStrainPerNote = 1.0;
// Sections whose peak strains are weighed, and the weight each later (easier) peak keeps.
constexpr double SectionSeconds = 0.4;
constexpr double PeakWeight = 0.9;
// The weighted peak sum at which the rating has covered 1 - 1/e of its range: the real-world
// songs the game was tuned on then spread from about 2 to 7.5, a typical one near 5.
constexpr double RatingScale = 280.0;

} // namespace

double ChartDifficulty(std::vector<TChartNote> notes) {
    if (notes.empty()) return 0;
    std::stable_sort(notes.begin(), notes.end(),
                     [](const TChartNote& a, const TChartNote& b) { return a.Seconds < b.Seconds; });
    double laneStrain[LaneCount] = {};
    double overall = 0;
    double previous = notes.front().Seconds;
    std::vector<double> peaks;
    for (const TChartNote& note : notes) {
        const double elapsed = note.Seconds - previous;
        previous = note.Seconds;
        for (double& strain : laneStrain)
            strain *= std::pow(LaneDecayPerSecond, elapsed);
        overall *= std::pow(OverallDecayPerSecond, elapsed);
        const int lane = std::clamp(note.Lane, 0, LaneCount - 1);
        laneStrain[lane] += LaneStrainPerNote;
        overall += OverallStrainPerNote;
        const auto section =
            static_cast<std::size_t>((note.Seconds - notes.front().Seconds) / SectionSeconds);
        if (section >= peaks.size()) peaks.resize(section + 1, 0);
        peaks[section] = std::max(peaks[section], laneStrain[lane] + overall);
    }
    std::sort(peaks.begin(), peaks.end(), std::greater<>());
    double sum = 0, weight = 1;
    for (double peak : peaks) {
        sum += peak * weight;
        weight *= PeakWeight;
    }
    const double rating = 1.0 + 9.0 * (1.0 - std::exp(-sum / RatingScale));
    return std::round(std::clamp(rating, 1.0, 10.0) * 10.0) / 10.0;
}

std::vector<TChartNote> ChartNotes(const TSongModel& song, LaneMap lanes) {
    std::vector<TChartNote> notes;
    if (song.Division <= 0) return notes;
    const TempoTimeline clock(song, 120);
    std::vector<std::pair<std::int32_t, int>> hits; // tick, lane
    ForEachDrumHit(song, [&hits, lanes](std::int32_t tick, std::uint8_t note) {
        if (const int lane = lanes.LaneOf(note); lane >= 0) hits.emplace_back(tick, lane);
    });
    std::sort(hits.begin(), hits.end(), [](const auto& a, const auto& b) {
        return a.second != b.second ? a.second < b.second : a.first < b.first;
    });
    for (std::size_t i = 0; i < hits.size(); ++i) {
        // A doubled kick or layered hi-hats are one strike.
        if (i > 0 && hits[i].second == hits[i - 1].second && hits[i].first - hits[i - 1].first <= 1) continue;
        notes.push_back({clock.Milliseconds(0, hits[i].first) / 1000.0, hits[i].second});
    }
    return notes;
}

} // namespace tamtara
