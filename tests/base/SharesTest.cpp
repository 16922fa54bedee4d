// Shares as the player reads them: the nearest tenth of a percent, adding up to 100.0 %.
#include "base/Shares.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace tamtara::testing {
namespace {

std::vector<std::int32_t> Shares(std::initializer_list<std::int32_t> counts) {
    const std::vector<std::int32_t> list(counts);
    return ShownPermille(list);
}

TEST(ShownPermille, RoundsToTheNearestTenthAndAlwaysAddsUpToAThousand) {
    // 205.88, 588.24 and 205.88 per mille: cut they read 20.5, 58.8, 20.5 = 99.8 %.
    EXPECT_EQ(Shares({7, 20, 7}), (std::vector<std::int32_t>{206, 588, 206}));
    // 666.67 and 333.33.
    EXPECT_EQ(Shares({2, 1}), (std::vector<std::int32_t>{667, 333}));
    // Three equal thirds cannot all be 33.3: the first takes the tenth left over.
    EXPECT_EQ(Shares({1, 1, 1}), (std::vector<std::int32_t>{334, 333, 333}));
    // 0.4 per mille rounds away, and the sum stays whole.
    EXPECT_EQ(Shares({1, 2499, 0}), (std::vector<std::int32_t>{0, 1000, 0}));
    EXPECT_EQ(Shares({0, 0, 0}), (std::vector<std::int32_t>{0, 0, 0}));
    EXPECT_TRUE(Shares({}).empty());
    const std::array<std::int32_t, 4> grades{123, 45, 6, 7};
    std::int32_t sum = 0;
    for (std::int32_t share : ShownPermille(grades))
        sum += share;
    EXPECT_EQ(sum, 1000);
}

} // namespace
} // namespace tamtara::testing
