// The practice set-up's rows on their own: ranges, the loop's A <= B, the trainer's target never
// below the tempo, per-song memory, and the closing of loop passes with the speed trainer.
#include "app/PracticeResult.h"
#include "app/PracticeSetup.h"
#include "app/play/PracticeRun.h"

#include <gtest/gtest.h>

namespace tamtara {
namespace {

void Press(PracticeChoices& c, std::int32_t row, std::int32_t direction, int times, std::int32_t bars = 48) {
    for (int i = 0; i < times; ++i)
        ChangePracticeRow(c, row, direction, bars);
}

TEST(PracticeRows, EveryRowStopsAtItsEnds) {
    PracticeChoices c;
    Press(c, prTempo, -1, 40);
    EXPECT_EQ(c.TempoPercent, 25);
    EXPECT_EQ(PracticeRowValue(c, prTempo, 48), "25 %");
    Press(c, prTempo, 1, 7);
    EXPECT_EQ(c.TempoPercent, 60);
    Press(c, prTempo, 1, 40);
    EXPECT_EQ(c.TempoPercent, 200);
    Press(c, prCountIn, 1, 5);
    EXPECT_EQ(c.CountInBars, 2);
    EXPECT_EQ(PracticeRowValue(c, prCountIn, 48), "2 小節");
    Press(c, prCountIn, -1, 5);
    EXPECT_EQ(c.CountInBars, 0);
    Press(c, prDrumVolume, 1, 3);
    EXPECT_EQ(c.DrumVolume, 127);
    Press(c, prClickVolume, -1, 40);
    EXPECT_EQ(c.ClickVolume, 0);
    Press(c, prTrainerStep, 1, 20);
    EXPECT_EQ(c.TrainerStep, 10);
    EXPECT_EQ(PracticeRowValue(c, prTrainerStep, 48), "+10 %");
    Press(c, prWaitMode, 1, 1);
    Press(c, prMetronome, -1, 3);
    EXPECT_TRUE(c.WaitMode);
    EXPECT_TRUE(c.Metronome);
}

TEST(PracticeRows, LoopKeepsAAtMostBAndOffMeansTheWholeSong) {
    PracticeChoices c;
    EXPECT_EQ(PracticeRowValue(c, prLoopFrom, 48), "オフ (曲全体を1回)");
    EXPECT_FALSE(PracticeRowInUse(c, prLoopTo));
    Press(c, prLoopTo, 1, 3); // nothing to change without a loop
    EXPECT_EQ(c.LoopToBar, 0);
    Press(c, prLoopFrom, 1, 3);
    EXPECT_EQ(c.LoopFromBar, 3);
    EXPECT_EQ(c.LoopToBar, 3);
    EXPECT_EQ(PracticeRowValue(c, prLoopFrom, 48), "3 / 48");
    Press(c, prLoopTo, 1, 1);
    EXPECT_EQ(PracticeRowValue(c, prLoopTo, 48), "4 / 48");
    // A passing B pushes it on; B going below A pulls A back.
    Press(c, prLoopFrom, 1, 3);
    EXPECT_EQ(c.LoopFromBar, 6);
    EXPECT_EQ(c.LoopToBar, 6);
    Press(c, prLoopTo, -1, 2);
    EXPECT_EQ(c.LoopFromBar, 4);
    EXPECT_EQ(c.LoopToBar, 4);
    Press(c, prLoopTo, 1, 100);
    EXPECT_EQ(c.LoopToBar, 48);
    Press(c, prLoopFrom, 1, 100);
    EXPECT_EQ(c.LoopFromBar, 48);
    Press(c, prLoopFrom, -1, 100);
    EXPECT_EQ(c.LoopFromBar, 0);
    EXPECT_EQ(c.LoopToBar, 0);
    // A song whose bars cannot be counted has no loop to offer.
    PracticeChoices none;
    Press(none, prLoopFrom, 1, 2, 0);
    EXPECT_EQ(none.LoopFromBar, 0);
}

TEST(PracticeRows, TrainerTargetNeverBelowTheTempoAndRememberedChoicesFitTheSong) {
    PracticeChoices c;
    Press(c, prTempo, -1, 8); // 60 %
    Press(c, prTrainerTarget, 1, 2);
    EXPECT_EQ(c.TrainerTarget, 100) << "no target without a trainer";
    Press(c, prTrainerStep, 1, 5);
    Press(c, prTrainerTarget, -1, 100);
    EXPECT_EQ(c.TrainerTarget, 60);
    Press(c, prTrainerTarget, 1, 4);
    EXPECT_EQ(c.TrainerTarget, 80);
    Press(c, prTempo, 1, 6); // 90 %: the target follows
    EXPECT_EQ(c.TrainerTarget, 90);

    PracticeSetupState setup;
    PracticeSettings ini;
    ini.TempoPercent = 70;
    ini.Metronome = true;
    setup.Begin("a.mid", 48, ini);
    EXPECT_EQ(setup.Choices, ChoicesFromSettings(ini));
    EXPECT_EQ(setup.Choices.TempoPercent, 70);
    setup.Choices.LoopFromBar = 40;
    setup.Choices.LoopToBar = 44;
    setup.Remember("a.mid");
    setup.Begin("b.mid", 10, ini);
    EXPECT_EQ(setup.Choices.LoopFromBar, 0);
    setup.Begin("a.mid", 42, ini);
    EXPECT_EQ(setup.Choices.LoopFromBar, 40);
    EXPECT_EQ(setup.Choices.LoopToBar, 42);
    setup.MoveRow(-1);
    EXPECT_EQ(setup.Row, 0);
    for (int i = 0; i < 20; ++i)
        setup.MoveRow(1);
    EXPECT_EQ(setup.Row, PracticeRowCount - 1);
}

TEST(PracticeTrainer, StepsOnlyAfterACleanPassAndStopsAtTheTarget) {
    PracticeRun run;
    run.StartTempoPercent = 60;
    run.TrainerStep = 5;
    run.TrainerTarget = 70;
    run.ResetForPlay();
    GradeCounts total{3, 1, 0, 0};
    EXPECT_EQ(run.TrainerNextTempo(), 65);
    EXPECT_EQ(run.ClosePass(total), 65) << "all Great or better";
    total.Good += 1;
    EXPECT_EQ(run.ClosePass(total), 65) << "a Good";
    total.Perfect += 4;
    total.Miss += 1;
    EXPECT_EQ(run.ClosePass(total), 65) << "a Miss";
    EXPECT_EQ(run.ClosePass(total), 65) << "a pass without notes";
    total.Perfect += 2;
    EXPECT_EQ(run.ClosePass(total), 70);
    total.Great += 2;
    EXPECT_EQ(run.ClosePass(total), 70) << "at the target";
    EXPECT_EQ(run.TrainerNextTempo(), 70);
    ASSERT_EQ(run.Rows.size(), 5u) << "the empty pass has no row";
    EXPECT_EQ(run.Rows[0], (PracticeLoopRow{1, 60, {3, 1, 0, 0}}));
    EXPECT_EQ(run.Rows[2], (PracticeLoopRow{3, 65, {4, 0, 0, 1}}));
    EXPECT_EQ(run.Rows[3], (PracticeLoopRow{5, 65, {2, 0, 0, 0}}));
    EXPECT_EQ(run.Rows[4].TempoPercent, 70);
    // Leaving halfway keeps the partial pass as the last row; a new play starts afresh.
    total.Miss += 2;
    run.AbandonPass(total, true);
    EXPECT_EQ(run.Rows.back(), (PracticeLoopRow{7, 70, {0, 0, 0, 2}}));
    run.ResetForPlay();
    EXPECT_EQ(run.TempoPercent, 60);
    EXPECT_TRUE(run.Rows.empty());
}

TEST(PracticeResultRows, TheLastRowsWithCountsAndAccuracy) {
    std::vector<PracticeLoopRow> rows;
    for (int loop = 1; loop <= 8; ++loop)
        rows.push_back({loop, 55 + 5 * loop, {12, 3, 0, 1}});
    const auto shown = LastLoopRows(rows);
    ASSERT_EQ(shown.size(), ShownLoopRows);
    EXPECT_EQ(shown.front().Loop, 4);
    EXPECT_EQ(shown.back().Loop, 8);
    EXPECT_EQ(LoopRowText(rows[1]), "   2   65%    12     3     0     1   93.7%");
    EXPECT_EQ(LastLoopRows({}).size(), 0u);
}

} // namespace
} // namespace tamtara
