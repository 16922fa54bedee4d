// Tick and time conversion over random tempo maps, against a plain walk over the tempo changes in
// tick order: both directions, before tick 0, and entries the file leaves out of order, doubled
// or without a tempo.
#include "midi/TempoTimeline.h"
#include "midi/SongModel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <vector>

namespace tamtara {
namespace {

// Milliseconds from tick 0 to tick, tempo change by tempo change; before the first change (and
// before tick 0) its tempo holds.
double WalkedMs(std::vector<TempoEntry> map, int division, double tick) {
    std::erase_if(map, [](const TempoEntry& e) { return e.Bpm <= 0; });
    std::stable_sort(map.begin(), map.end(),
                     [](const TempoEntry& a, const TempoEntry& b) { return a.Tick < b.Tick; });
    // The last of several at one tick wins.
    std::vector<TempoEntry> kept;
    for (const TempoEntry& e : map) {
        if (!kept.empty() && kept.back().Tick == e.Tick) kept.pop_back();
        kept.push_back(e);
    }
    const auto perMs = [division](const TempoEntry& e) { return e.Bpm * division / 60000.0; };
    // From the first change's tick, then shifted so that tick 0 reads 0.
    const auto from = [&](double t) {
        double ms = 0.0;
        double at = kept.front().Tick;
        std::size_t i = 0;
        if (t < at) return (t - at) / perMs(kept.front());
        for (; i + 1 < kept.size() && kept[i + 1].Tick < t; ++i) {
            ms += (kept[i + 1].Tick - at) / perMs(kept[i]);
            at = kept[i + 1].Tick;
        }
        return ms + (t - at) / perMs(kept[i]);
    };
    return from(tick) - from(0.0);
}

TEST(TempoTimeline, AgreesWithAWalkOverTheTempoChangesBothWays) {
    std::mt19937 random(20261210);
    for (int round = 0; round < 200; ++round) {
        auto song = std::make_unique<TSongModel>();
        const int division = 24 + static_cast<int>(random() % 1000);
        song->Division = division;
        song->TempoCount = 1 + static_cast<int>(random() % (round % 10 == 0 ? 3000 : 40));
        std::vector<TempoEntry> map;
        for (int i = 0; i < song->TempoCount; ++i) {
            // Mostly rising ticks, some out of order or doubled; a few without a tempo.
            const int tick = random() % 8 == 0 ? static_cast<int>(random() % 20000) : i * 97;
            const int bpm = random() % 25 == 0 ? 0 : 20 + static_cast<int>(random() % 400);
            map.push_back(TempoEntry{tick, bpm, 0});
            song->TempoMap[static_cast<std::size_t>(i)] = map.back();
        }
        if (std::none_of(map.begin(), map.end(), [](const TempoEntry& e) { return e.Bpm > 0; })) continue;
        const TempoTimeline timeline(*song, 120);
        for (int probe = 0; probe < 50; ++probe) {
            const double a = static_cast<double>(random() % 400000) / 10.0 - 2000.0;
            const double b = static_cast<double>(random() % 400000) / 10.0 - 2000.0;
            const double expected = WalkedMs(map, division, b) - WalkedMs(map, division, a);
            const double ms = timeline.Milliseconds(a, b);
            ASSERT_NEAR(ms, expected, 1e-6 * std::max(1.0, std::abs(expected)))
                << round << " " << a << " " << b;
            ASSERT_NEAR(timeline.PositionAfter(a, ms), b, 1e-6) << round << " " << a << " " << b;
        }
    }
}

TEST(TempoTimeline, WithoutTempoTheDefaultHolds) {
    auto song = std::make_unique<TSongModel>();
    song->Division = 480;
    const TempoTimeline timeline(*song, 150);
    EXPECT_DOUBLE_EQ(timeline.Milliseconds(0, 480), 400.0);
    EXPECT_DOUBLE_EQ(timeline.PositionAfter(-480, 800.0), 480.0);
    EXPECT_EQ(timeline.BpmAt(-5), 150);
}

} // namespace
} // namespace tamtara
