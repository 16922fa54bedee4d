// The frame timer's tick rule on a fake clock.
#include "platform/display/DXTimer.h"
#include "FakeClock.h"

#include <gtest/gtest.h>

#include <vector>

namespace tamtara {
namespace {

class DXTimerTest : public ::testing::Test {
protected:
    DXTimerTest() : Clock(0), Timer(Clock) {
        Timer.OnTimer = [this](TDXTimer&, std::int32_t lag) {
            Ticks.push_back(Clock.Now());
            Lags.push_back(lag);
            Clock.Advance(HandlerCost);
        };
    }
    void RunUntil(std::uint32_t end) {
        while (Clock.Now() < end)
            Timer.Idle();
    }
    testing::FakeClock Clock;
    TDXTimer Timer;
    std::vector<std::uint32_t> Ticks;
    std::vector<std::int32_t> Lags;
    std::uint32_t HandlerCost = 0;
};

TEST_F(DXTimerTest, TicksEveryIntervalFromTheStart) {
    RunUntil(100);
    EXPECT_EQ(Ticks, (std::vector<std::uint32_t>{0, 33, 66, 99}));
    EXPECT_EQ(Lags, (std::vector<std::int32_t>{1, 1, 1, 1}));
}

TEST_F(DXTimerTest, SlowHandlerGetsLagAndTheNextTickFollowsAnIntervalLater) {
    RunUntil(66);
    HandlerCost = 80;
    Timer.Idle(); // the tick at 66 runs until 146
    HandlerCost = 0;
    RunUntil(200);
    EXPECT_EQ(Ticks, (std::vector<std::uint32_t>{0, 33, 66, 146, 179}));
    EXPECT_EQ(Lags[3], 2);
}

TEST_F(DXTimerTest, IdleSleepsUntilTheNextTickInsteadOfSpinning) {
    Timer.Idle();
    EXPECT_EQ(Clock.Now(), 33u);
    Clock.Advance(10);
    EXPECT_EQ(Timer.MillisecondsToNextTick(), 0u);
    Timer.Idle();
    EXPECT_EQ(Clock.Now(), 43u + 33u);
}

TEST_F(DXTimerTest, InactiveApplicationStopsTicksAndReactivationBringsNoBurst) {
    RunUntil(40);
    Timer.SetApplicationActive(false);
    RunUntil(1000);
    EXPECT_EQ(Ticks.size(), 2u);
    const std::uint32_t back = Clock.Now();
    Timer.SetApplicationActive(true);
    RunUntil(back + 40);
    EXPECT_EQ(Ticks, (std::vector<std::uint32_t>{0, 33, back, back + 33}));
    EXPECT_EQ(Lags.back(), 1);
}

TEST_F(DXTimerTest, ActiveOnlyOffKeepsTickingInTheBackground) {
    Timer.ActiveOnly = false;
    Timer.SetApplicationActive(false);
    RunUntil(40);
    EXPECT_EQ(Ticks.size(), 2u);
}

TEST_F(DXTimerTest, DisabledTimerDoesNotTick) {
    Timer.SetEnabled(false);
    RunUntil(500);
    EXPECT_TRUE(Ticks.empty());
    const std::uint32_t start = Clock.Now();
    Timer.SetEnabled(true);
    RunUntil(start + 34);
    EXPECT_EQ(Ticks, (std::vector<std::uint32_t>{start, start + 33}));
}

TEST_F(DXTimerTest, FrameRateCountsTheLastMeasuredSecond) {
    EXPECT_EQ(Timer.FrameRate(), 0);
    RunUntil(2100);
    EXPECT_EQ(Timer.FrameRate(), 30);
}

TEST_F(DXTimerTest, ZeroIntervalTicksEveryPassWithLagAtLeastOne) {
    Timer.SetInterval(0);
    Timer.Step();
    Clock.Advance(5);
    Timer.Step();
    EXPECT_EQ(Lags, (std::vector<std::int32_t>{1, 5}));
}

TEST_F(DXTimerTest, ClockWrapAroundKeepsTheRhythm) {
    Clock.Set(0xFFFFFFF0u);
    Timer.Idle();
    Timer.Idle();
    ASSERT_EQ(Ticks.size(), 2u);
    EXPECT_EQ(Ticks[1], 0xFFFFFFF0u + 33u);
    EXPECT_EQ(Lags[1], 1);
}

} // namespace
} // namespace tamtara
