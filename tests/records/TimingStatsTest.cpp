// The timing figures on error sets whose answers are known.
#include "records/TimingStats.h"

#include <gtest/gtest.h>

#include <vector>

namespace tamtara::testing {
namespace {

std::vector<StrikeEntry> Strikes(std::initializer_list<int> errors, std::uint8_t lane = 0,
                                 std::uint8_t grade = 3) {
    std::vector<StrikeEntry> strikes;
    for (int error : errors)
        strikes.push_back(StrikeEntry{lane, static_cast<std::int16_t>(error), grade});
    return strikes;
}

TEST(TimingStats, CountsBarsSidesAndLanesOfGradedStrikesOnly) {
    std::vector<StrikeEntry> strikes = Strikes({-100, -96, -95, -1, 0, 4, 5, 99, 100, 101, -250});
    const std::vector<StrikeEntry> snare = Strikes({10, 20, 30}, 1, 1);
    strikes.insert(strikes.end(), snare.begin(), snare.end());
    const std::vector<StrikeEntry> misses = Strikes({-80, 80, 0}, 2, 0);
    strikes.insert(strikes.end(), misses.begin(), misses.end());

    const TimingStats stats = ComputeTimingStats(strikes);
    EXPECT_EQ(stats.Graded, 14);
    // Within 5 ms either way is on time: -1, 0, 4 and 5.
    EXPECT_EQ(stats.Early, 4);
    EXPECT_EQ(stats.OnTime, 4);
    EXPECT_EQ(stats.Late, 6);
    const auto& bars = stats.Histogram.Counts;
    EXPECT_EQ(bars[0], 2);  // -100, -96
    EXPECT_EQ(bars[1], 1);  // -95
    EXPECT_EQ(bars[19], 1); // -1
    EXPECT_EQ(bars[20], 2); // 0, 4
    EXPECT_EQ(bars[21], 1); // 5
    EXPECT_EQ(bars[22], 1); // 10
    EXPECT_EQ(bars[24], 1); // 20
    EXPECT_EQ(bars[26], 1); // 30
    EXPECT_EQ(bars[39], 2); // 99, 100
    EXPECT_EQ(stats.Histogram.Below, 1);
    EXPECT_EQ(stats.Histogram.Above, 1);
    int total = stats.Histogram.Below + stats.Histogram.Above;
    for (int count : bars)
        total += count;
    EXPECT_EQ(total, stats.Graded);

    EXPECT_EQ(stats.Lanes[1].Graded, 3);
    EXPECT_DOUBLE_EQ(stats.Lanes[1].MeanMs, 20);
    EXPECT_NEAR(stats.Lanes[1].SpreadMs, 8.16497, 1e-4); // sqrt(200 / 3)
    EXPECT_EQ(stats.Lanes[2].Graded, 0) << "misses carry no timing";
    EXPECT_FALSE(stats.MedianMs) << "fewer than 50 graded strikes";
}

TEST(TimingStats, OnTimeReachesFiveMillisecondsEitherWayAndNoFurther) {
    const TimingStats stats = ComputeTimingStats(Strikes({-6, -5, -3, 1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(stats.Early, 1);
    EXPECT_EQ(stats.OnTime, 7);
    EXPECT_EQ(stats.Late, 1);
}

TEST(TimingStats, UnstableRateIsTenStandardDeviationsAndTheMedianNeedsFiftyStrikes) {
    // Half at -10, half at +10: standard deviation 10 ms, unstable rate 100.
    std::vector<StrikeEntry> strikes;
    for (int i = 0; i < 24; ++i) {
        strikes.push_back(StrikeEntry{0, -10, 3});
        strikes.push_back(StrikeEntry{3, 10, 2});
    }
    EXPECT_DOUBLE_EQ(UnstableRate(strikes), 100);
    EXPECT_FALSE(MedianErrorMs(strikes));
    strikes.push_back(StrikeEntry{1, -10, 1});
    strikes.push_back(StrikeEntry{1, 10, 0}); // a miss does not count towards the fifty
    EXPECT_FALSE(MedianErrorMs(strikes));
    strikes.push_back(StrikeEntry{1, 10, 1});
    ASSERT_TRUE(MedianErrorMs(strikes));
    EXPECT_DOUBLE_EQ(*MedianErrorMs(strikes), 0) << "the middle two of -10 x25 and +10 x25";
    strikes.push_back(StrikeEntry{1, 12, 1});
    EXPECT_DOUBLE_EQ(*MedianErrorMs(strikes), 10);
    EXPECT_EQ(UnstableRate(Strikes({5})), 0);
    EXPECT_EQ(UnstableRate({}), 0);
}

} // namespace
} // namespace tamtara::testing
