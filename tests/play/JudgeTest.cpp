// Judgement: grade windows in ticks, strikes, the miss sweep, gauge, score and combo.
#include "PlayFixture.h"

#include <thread>

namespace tamtara::testing {

TEST(GradeWindows, BoundariesAtDivision480) {
    EXPECT_EQ(GradeFor(0, 480), Perfect);
    EXPECT_EQ(GradeFor(29, 480), Perfect);
    EXPECT_EQ(GradeFor(-29, 480), Perfect);
    EXPECT_EQ(GradeFor(30, 480), Great);
    EXPECT_EQ(GradeFor(-30, 480), Great);
    EXPECT_EQ(GradeFor(59, 480), Great);
    EXPECT_EQ(GradeFor(60, 480), Good);
    EXPECT_EQ(GradeFor(119, 480), Good);
    EXPECT_EQ(GradeFor(-119, 480), Good);
    EXPECT_EQ(GradeFor(120, 480), std::nullopt);
    EXPECT_EQ(GradeFor(-120, 480), std::nullopt);
}

using Judging = PlayFixture;

TEST_F(Judging, PerfectStrikeSoundsGradesAndRemovesTheNote) {
    Announce(960, 38);
    SetTick(950);
    Strike(dpSnare);
    EXPECT_EQ(Sent(), (std::vector<std::uint32_t>{Short(0x99, 38, 100)}));
    EXPECT_EQ(State.QueueCount[dpSnare], 0);
    EXPECT_EQ(State.PerfectCount, 1);
    EXPECT_EQ(State.Score, 100);
    EXPECT_EQ(State.ComboCount, 1);
    EXPECT_EQ(State.JudgeGrade[dpSnare], Perfect);
    EXPECT_EQ(State.JudgeTimer[dpSnare], 10);
    EXPECT_EQ(State.ExplodeTimer[dpSnare], 6);
    EXPECT_EQ(State.ScoreFlash, 2);
    EXPECT_EQ(State.PadTimer[dpSnare], 7);
}

TEST_F(Judging, GoodScoresWithoutGaugeFlashOrExplosion) {
    State.Gauge = 300;
    Announce(960, 36);
    SetTick(960 + 100);
    Strike(dpKick);
    EXPECT_EQ(State.GoodCount, 1);
    EXPECT_EQ(State.Score, 25);
    EXPECT_EQ(State.ComboCount, 1);
    EXPECT_EQ(State.Gauge, 300);
    EXPECT_EQ(State.ScoreFlash, 0);
    EXPECT_EQ(State.ExplodeTimer[dpKick], 0);
}

TEST_F(Judging, GaugeNeverRisesAbove425) {
    State.Gauge = 420;
    Announce(960, 36);
    Announce(1920, 36);
    SetTick(960);
    Strike(dpKick);
    EXPECT_EQ(State.Gauge, 425);
    SetTick(1920 + 40);
    Strike(dpKick);
    EXPECT_EQ(State.GreatCount, 1);
    EXPECT_EQ(State.Gauge, 425);
}

TEST_F(Judging, PressHalfABeatEarlySoundsTheNoteAndLeavesItPending) {
    Announce(960, 38);
    SetTick(960 - 240);
    Strike(dpSnare);
    EXPECT_EQ(Sent(), (std::vector<std::uint32_t>{Short(0x99, 38, 100)}));
    EXPECT_EQ(State.QueueCount[dpSnare], 1);
    EXPECT_EQ(State.Score, 0);
    // Not struck again: it is missed once it is more than a quarter of a beat late.
    EXPECT_FALSE(Judgement.SweepSlot(dpSnare, 0, 960 + 120));
    EXPECT_TRUE(Judgement.SweepSlot(dpSnare, 0, 960 + 121));
    EXPECT_EQ(State.MissCount, 1);
}

TEST_F(Judging, OneStrikeSoundsMainAndPartner) {
    Announce(960, 42, 90);
    Announce(970, 44, 70);
    SetTick(960);
    Strike(dpHiHat);
    EXPECT_EQ(Sent(), (std::vector<std::uint32_t>{Short(0x99, 42, 90), Short(0x99, 44, 70)}));
    EXPECT_EQ(State.QueueCount[dpHiHat], 0);
}

TEST_F(Judging, EarlyStrikeDoesNotSoundThePartnerTwice) {
    Announce(960, 42);
    Announce(1000, 44);
    SetTick(0);
    Strike(dpHiHat);
    SetTick(960);
    Strike(dpHiHat);
    EXPECT_EQ(Sent(),
              (std::vector<std::uint32_t>{Short(0x99, 42, 100), Short(0x99, 44, 100), Short(0x99, 42, 100)}));
}

TEST_F(Judging, OneStrikeSoundsEveryLayeredNoteAndCountsOnce) {
    Announce(0, 36, 110);
    Announce(0, 35, 90);
    Announce(960, 36);
    Announce(961, 35);
    SetTick(-5);
    Strike(dpKick);
    EXPECT_EQ(Sent(), (std::vector<std::uint32_t>{Short(0x99, 36, 110), Short(0x99, 35, 90)}));
    EXPECT_EQ(State.PerfectCount, 1);
    EXPECT_EQ(State.Score, 100);
    EXPECT_EQ(State.QueueCount[dpKick], 1);
    // Missed, the doubled note is one miss.
    EXPECT_TRUE(Judgement.SweepSlot(dpKick, 1, 960 + 121));
    EXPECT_EQ(State.MissCount, 1);
    EXPECT_EQ(State.QueueCount[dpKick], 0);
    EXPECT_EQ(State.Gauge, FullGauge - 20);
}

TEST_F(Judging, StrikeBeforeTickZeroIsGradedByItsDistance) {
    // In the pre-roll the position is negative: a strike a quarter early is no Perfect.
    Announce(0, 38);
    SetTick(-240);
    Strike(dpSnare);
    EXPECT_EQ(State.PerfectCount + State.GreatCount + State.GoodCount, 0);
    EXPECT_EQ(State.QueueCount[dpSnare], 1);
    SetTick(-40);
    Strike(dpSnare);
    EXPECT_EQ(State.GreatCount, 1);
}

TEST_F(Judging, StrikeOnAnEmptyLaneSoundsItsDefaultNote) {
    for (int lane = 0; lane < LaneCount; ++lane)
        Strike(lane);
    std::vector<std::uint32_t> expected;
    for (std::uint8_t note : {42, 38, 36, 48, 45, 41, 49})
        expected.push_back(Short(0x99, note, 100));
    EXPECT_EQ(Sent(), expected);
    EXPECT_EQ(State.ComboCount, 0);
}

TEST_F(Judging, AutomaticLanesIgnorePressesAndPassWithoutMiss) {
    State.AutoLane[dpKick] = true;
    Announce(960, 36);
    SetTick(960);
    Strike(dpKick);
    EXPECT_TRUE(Sent().empty());
    EXPECT_TRUE(Judgement.SweepSlot(dpKick, 0, 2000));
    EXPECT_EQ(State.MissCount, 0);
    EXPECT_EQ(State.Gauge, 425);
    EXPECT_EQ(State.QueueCount[dpKick], 0);
}

TEST_F(Judging, PadOnTheInputThreadSoundsThereAndIsGradedOnTheWindowsTurn) {
    Announce(960, 38);
    Announce(1920, 38);
    SetTick(955);
    State.AutoLane[dpKick] = true;
    const auto fromInput = [this](int lane) {
        bool taken = false;
        std::thread input([&] { taken = Judgement.StrikeFromInputThread(lane, 0, 90); });
        input.join();
        return taken;
    };
    // Before the play opens them (a demonstration, another screen) the window takes the hit.
    EXPECT_FALSE(fromInput(dpSnare));
    EXPECT_TRUE(Sent().empty());

    Judgement.OpenStrikes(true);
    EXPECT_FALSE(fromInput(dpKick));
    EXPECT_TRUE(fromInput(dpSnare));
    // Sounded at its velocity and taken from the lane at once; score and record wait.
    EXPECT_EQ(Sent(), (std::vector<std::uint32_t>{Short(0x99, 38, 90)}));
    EXPECT_EQ(State.QueueCount[dpSnare], 1);
    EXPECT_EQ(State.Score, 0);
    EXPECT_TRUE(Judgement.PlayStrikes.empty());
    // A second hit on the lane sounds the next note, not the one just struck.
    SetTick(1920);
    EXPECT_TRUE(fromInput(dpSnare));
    EXPECT_EQ(State.QueueCount[dpSnare], 0);
    Judgement.GradeSounded();
    EXPECT_EQ(State.PerfectCount, 2);
    EXPECT_EQ(State.ComboCount, 2);
    ASSERT_EQ(Judgement.PlayStrikes.size(), 2u);
    EXPECT_EQ(Judgement.PlayStrikes[0].NoteTick, 960);
    EXPECT_EQ(Judgement.PlayStrikes[1].NoteTick, 1920);
    Judgement.GradeSounded();
    EXPECT_EQ(State.PerfectCount, 2);

    // A hit sounded after the play's last grading is not carried into the next play.
    EXPECT_TRUE(fromInput(dpSnare));
    Judgement.BeginPlay();
    Judgement.GradeSounded();
    EXPECT_TRUE(Judgement.PlayStrikes.empty());
    Judgement.OpenStrikes(false);
    EXPECT_FALSE(fromInput(dpSnare));
}

TEST_F(Judging, BothKeysOrAHeldKeyCountOnce) {
    Announce(960, 38);
    Announce(1920, 38);
    SetTick(960);
    Holds.KeyHoldA[dpSnare] = 1;
    Holds.KeyHoldB[dpSnare] = 1;
    Judgement.JudgePresses(Holds);
    Holds.KeyHoldA[dpSnare] = 2;
    Holds.KeyHoldB[dpSnare] = 2;
    Judgement.JudgePresses(Holds);
    EXPECT_EQ(State.QueueCount[dpSnare], 1);
    EXPECT_EQ(Sent().size(), 1u);
}

TEST_F(Judging, LevelSevenFailsOnTheSecondMiss) {
    State.MissPenalty = MissPenaltyFor(7);
    Announce(480, 36);
    Announce(960, 36);
    EXPECT_TRUE(Judgement.SweepSlot(dpKick, 0, 480 + 121));
    EXPECT_EQ(State.Gauge, 175);
    EXPECT_TRUE(Judgement.SweepSlot(dpKick, 1, 960 + 121));
    EXPECT_EQ(State.Gauge, -75);
    EXPECT_EQ(State.JudgeGrade[dpKick], Miss);
}

TEST_F(Judging, MissEndsTheComboButKeepsTheMaximum) {
    State.MissPenalty = MissPenaltyFor(0);
    Announce(480, 36);
    Announce(960, 36);
    SetTick(480);
    Strike(dpKick);
    State.ComboBounce = 4;
    EXPECT_TRUE(Judgement.SweepSlot(dpKick, 1, 960 + 200));
    EXPECT_EQ(State.ComboCount, 0);
    EXPECT_EQ(State.ComboBounce, 0);
    EXPECT_EQ(State.MaxCombo, 1);
    EXPECT_EQ(State.Gauge, 425);
    EXPECT_EQ(State.Score, 100);
}

TEST(MissPenalty, FollowsTheLevelList) {
    const std::int32_t expected[] = {0, 5, 10, 20, 30, 50, 100, 250};
    for (int level = 0; level < 8; ++level)
        EXPECT_EQ(MissPenaltyFor(level), expected[level]);
}

TEST_F(Judging, KeyHoldsCountConsecutivePollsAndDropToZero) {
    bool snareDown = true;
    const auto poll = [&] { Holds.Update([&](int inputState) { return snareDown && inputState == 5; }); };
    poll();
    poll();
    EXPECT_EQ(Holds.KeyHoldA[dpSnare], 2);
    EXPECT_EQ(Holds.KeyHoldB[dpSnare], 0);
    snareDown = false;
    poll();
    EXPECT_EQ(Holds.KeyHoldA[dpSnare], 0);
}

} // namespace tamtara::testing
