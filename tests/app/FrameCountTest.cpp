// The frame tick's counters: FrameCount per frame that could draw, ScreenFrame per screen.
#include "support/harness/GameHarness.h"

#include <gtest/gtest.h>

namespace tamtara::testing {
namespace {

class FrameCounting : public ::testing::Test {
protected:
    TestGameFolder Folder{"FrameCount"};
    GameHarness Game{Folder.Path()};
};

TEST_F(FrameCounting, EveryFrameCountsOnceAndTheScreenCountsItsOwnFrames) {
    Game.Step(5);
    EXPECT_EQ(Game.Form().Screen.FrameCount, 5);
    EXPECT_EQ(Game.Form().Screen.ScreenFrame, 5);
    Game.Form().ChangeScreen(ssTitle);
    Game.Step(2);
    EXPECT_EQ(Game.Form().Screen.FrameCount, 7);
    EXPECT_EQ(Game.Form().Screen.ScreenFrame, 2);
}

TEST_F(FrameCounting, AFrameThatCannotDrawCountsNothing) {
    Game.Step(3);
    Game.Display().FailRestore = true;
    Game.Display().SimulateLoss();
    const int presents = Game.Display().PresentCount();
    Game.Step(4);
    EXPECT_EQ(Game.Form().Screen.FrameCount, 3);
    EXPECT_EQ(Game.Form().Screen.ScreenFrame, 3);
    EXPECT_EQ(Game.Display().PresentCount(), presents);

    Game.Display().FailRestore = false;
    Game.Step();
    EXPECT_EQ(Game.Form().Screen.FrameCount, 4);
}

TEST_F(FrameCounting, EnteringPlayCountsFramesFromZeroAgain) {
    Game.Step(10);
    Game.Form().Selection.SongFile = "Songs/demo.mid";
    Game.Form().ChangeScreen(ssPlay);
    EXPECT_EQ(Game.Form().Screen.FrameCount, 0);
    Game.Form().Screen.FrameCount += 1; // what the frame tick that entered play adds
    Game.Step(2);
    EXPECT_EQ(Game.Form().Screen.FrameCount, 3);
    EXPECT_EQ(Game.State(), ssPlay);
}

} // namespace
} // namespace tamtara::testing
