// The screens' order as the window's own keys and close requests drive it.
#include "support/harness/GameHarness.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace tamtara::testing {
namespace {

class ScreenStateMachine : public ::testing::Test {
protected:
    TestGameFolder Folder{"StateMachine"};
    GameHarness Game{Folder.Path()};
};

TEST_F(ScreenStateMachine, FirstFrameEntersOpeningWhateverTheStateWas) {
    Game.Form().Screen.ScreenState = ssResult;
    Game.Step();
    EXPECT_EQ(Game.State(), ssOpening);
    EXPECT_EQ(Game.Form().Screen.ScreenFrame, 1);
}

TEST_F(ScreenStateMachine, EscapeOnOpeningAndTitleClosesTheWindow) {
    Game.Step();
    Game.WindowKey(WindowKeys::Escape);
    Game.Step();
    EXPECT_TRUE(Game.Closed());

    TestGameFolder otherFolder("StateMachineTitle");
    GameHarness title(otherFolder.Path());
    title.Step();
    title.Form().ChangeScreen(ssTitle);
    title.WindowKey(WindowKeys::Escape);
    title.Step();
    EXPECT_TRUE(title.Closed());
}

TEST_F(ScreenStateMachine, EscapeOnDiscSelectionGoesBackToFolderSelection) {
    Game.Step();
    Game.Form().ChangeScreen(ssDiscSelect);
    const std::uint32_t before = Game.Clock().Now();
    Game.WindowKey(WindowKeys::Escape);
    Game.Form().ProcessMessages();
    EXPECT_EQ(Game.State(), ssFolderSelect);
    EXPECT_GE(Game.Clock().Now() - before, 20u);
    EXPECT_FALSE(Game.Closed());
}

TEST_F(ScreenStateMachine, EscapeAnywhereElseGoesToOpening) {
    Game.Step();
    Game.Form().Selection.SongFile = "Songs/demo.mid";
    for (ScreenState state :
         {ssFolderSelect, ssModeSelect, ssPartSelect, ssFailed, ssCleared, ssResult, ssPlay}) {
        Game.ChangeScreenInFrame(state);
        ASSERT_EQ(Game.State(), state);
        Game.Step();
        Game.WindowKey(WindowKeys::Escape);
        Game.Step();
        EXPECT_EQ(Game.State(), ssOpening) << ScreenStateName(state);
        EXPECT_FALSE(Game.Closed()) << ScreenStateName(state);
    }
}

TEST_F(ScreenStateMachine, EscapeDuringPlayStopsTheSong) {
    Game.Step();
    Game.EnterPlay("Songs/demo.mid");
    Game.Step();
    ASSERT_EQ(Game.State(), ssPlay);
    ASSERT_TRUE(Game.Form().MidiDrive->IsPlaying());
    Game.WindowKey(WindowKeys::Escape);
    Game.Step();
    EXPECT_EQ(Game.State(), ssOpening);
    EXPECT_FALSE(Game.Form().MidiDrive->IsPlaying());
}

TEST_F(ScreenStateMachine, F2GoesToClearedFromAnyScreen) {
    Game.Step();
    Game.WindowKey(WindowKeys::F2);
    Game.Step();
    EXPECT_EQ(Game.State(), ssCleared);

    Game.EnterPlay("Songs/demo.mid");
    Game.Step(3);
    ASSERT_EQ(Game.State(), ssPlay);
    Game.WindowKey(WindowKeys::F2);
    Game.Step();
    EXPECT_EQ(Game.State(), ssCleared);
}

TEST_F(ScreenStateMachine, CloseFromPlayReturnsToOpeningAndASecondCloseCloses) {
    Game.Step();
    Game.EnterPlay("Songs/demo.mid");
    Game.Step();
    ASSERT_EQ(Game.State(), ssPlay);
    const std::uint32_t before = Game.Clock().Now();
    Game.RequestClose();
    Game.Form().ProcessMessages();
    EXPECT_FALSE(Game.Closed());
    EXPECT_EQ(Game.State(), ssOpening);
    EXPECT_GE(Game.Clock().Now() - before, 150u);

    Game.RequestClose();
    Game.Step();
    EXPECT_TRUE(Game.Closed());
}

TEST_F(ScreenStateMachine, EnterLeadsFromOpeningThroughTheMenusToPlay) {
    Game.Form().ScanLibrary(nullptr, nullptr);
    Game.Step();
    // The opening and the title take their time after Enter: the black tail, the jingle.
    Game.TapKey(13);
    ASSERT_TRUE(Game.StepUntil(ssTitle, 12));
    Game.TapKey(13);
    ASSERT_TRUE(Game.StepUntil(ssFolderSelect, 31));
    Game.Step();
    const ScreenState expected[] = {ssDiscSelect, ssModeSelect, ssPartSelect, ssPlay};
    for (ScreenState next : expected) {
        // Each menu confirms with Enter (three rows on the mode screen) and moves on a little later.
        for (int press = 0; press < (Game.State() == ssModeSelect ? 3 : 1); ++press) {
            Game.TapKey(13);
            Game.Step();
        }
        EXPECT_TRUE(Game.StepUntil(next, 40)) << ScreenStateName(next);
        Game.Step();
    }
    EXPECT_EQ(Game.Form().Selection.SongFile, (std::filesystem::current_path() / "Songs/demo.mid").string());
    EXPECT_TRUE(Game.Form().MidiDrive->IsPlaying());
}

TEST_F(ScreenStateMachine, EachSelectionScreenDrawsAndPresentsOneWholeFramePerTick) {
    Game.Step();
    for (ScreenState state : {ssFolderSelect, ssDiscSelect, ssModeSelect, ssPartSelect}) {
        Game.ChangeScreenInFrame(state);
        Game.Form().DXDraw.Surface().Fill(0);
        const int presents = Game.Display().PresentCount();
        Game.Step();
        EXPECT_EQ(Game.Display().PresentCount(), presents + 1) << ScreenStateName(state);
        // The top bar covers the corner: nothing of the cleared buffer is left there.
        EXPECT_NE(Game.Pixel(5, 5), 0u) << ScreenStateName(state);
    }
}

TEST_F(ScreenStateMachine, EveryScreenShowsExactlyOneFramePerTick) {
    Game.Step();
    Game.Form().Selection.SongFile = "Songs/demo.mid";
    for (ScreenState state : {ssOpening, ssTitle, ssFolderSelect, ssDiscSelect, ssModeSelect, ssPartSelect,
                              ssPlay, ssCleared, ssFailed, ssResult}) {
        Game.ChangeScreenInFrame(state);
        const int presents = Game.Display().PresentCount();
        Game.Step();
        EXPECT_EQ(Game.Display().PresentCount(), presents + 1) << ScreenStateName(state);
        EXPECT_EQ(Game.Form().LastErrorText(), "") << ScreenStateName(state);
    }
}

} // namespace
} // namespace tamtara::testing
