// F4: full screen and a 640 x 480 window, the cursor, the saved window placement and the
// reloading of the current screen.
#include "support/harness/GameHarness.h"

#include <gtest/gtest.h>

namespace tamtara::testing {
namespace {

bool FullScreenOption(TMainForm& form) {
    return form.DXDraw.Options().Contains(TDXDrawOption::doFullScreen);
}

TEST(FullScreen, HandOverWithoutFullScreenGivesAWindowWithACursor) {
    TestGameFolder folder("FullScreenWindowed");
    HarnessOptions options;
    options.Settings.FullScreen = false;
    GameHarness game(folder.Path(), options);
    EXPECT_FALSE(FullScreenOption(game.Form()));
    EXPECT_EQ(game.Display().Mode(), TPresentMode::Windowed);
    EXPECT_TRUE(game.Display().CursorVisible);
    EXPECT_EQ(game.Display().Config().Width, 640);
    EXPECT_EQ(game.Display().Config().Height, 480);
}

TEST(FullScreen, F4TogglesAndTheCurrentScreenGoesOn) {
    TestGameFolder folder("FullScreenToggle");
    GameHarness game(folder.Path());
    EXPECT_EQ(game.Display().Mode(), TPresentMode::FullScreenMode);
    EXPECT_FALSE(game.Display().CursorVisible);
    game.Step(3);
    game.ChangeScreenInFrame(ssTitle);
    game.Step(2);

    game.WindowKey(WindowKeys::F4);
    game.Step();
    EXPECT_EQ(game.Display().Mode(), TPresentMode::Windowed);
    EXPECT_TRUE(game.Display().CursorVisible);
    EXPECT_EQ(game.State(), ssTitle);
    EXPECT_EQ(game.Form().Screen.ScreenFrame, 3);

    game.WindowKey(WindowKeys::F4);
    game.Step();
    EXPECT_EQ(game.Display().Mode(), TPresentMode::FullScreenMode);
    EXPECT_FALSE(game.Display().CursorVisible);
    EXPECT_EQ(game.Form().DXDraw.Display.BitCount(), 16);
    EXPECT_EQ(game.State(), ssTitle);
    EXPECT_EQ(game.Form().Screen.ScreenFrame, 4);
}

TEST(FullScreen, LeavingFullScreenRestoresThePlacementSavedOnEntering) {
    TestGameFolder folder("FullScreenPlacement");
    HarnessOptions options;
    options.Settings.FullScreen = false;
    GameHarness game(folder.Path(), options);
    game.Display().Placement = TWindowPlacement{120, 80, 640, 480, false, false};

    game.WindowKey(WindowKeys::F4);
    game.Step();
    ASSERT_EQ(game.Display().Mode(), TPresentMode::FullScreenMode);
    game.Display().Placement = TWindowPlacement{0, 0, 1024, 768, false, false};

    game.WindowKey(WindowKeys::F4);
    game.Step();
    EXPECT_EQ(game.Display().Placement.X, 120);
    EXPECT_EQ(game.Display().Placement.Y, 80);
    EXPECT_EQ(game.Display().Placement.Width, 640);
}

TEST(FullScreen, ARefusedFullScreenFallsBackToTheWindow) {
    TestGameFolder folder("FullScreenRefused");
    HarnessOptions options;
    options.Settings.FullScreen = false;
    GameHarness game(folder.Path(), options);
    game.Step(2);
    game.Display().FailOpen = "no such mode";

    game.WindowKey(WindowKeys::F4);
    game.Step();
    EXPECT_NE(game.Form().LastErrorText().find("no such mode"), std::string::npos);
    EXPECT_FALSE(FullScreenOption(game.Form()));
    EXPECT_EQ(game.Display().Mode(), TPresentMode::Windowed);
    EXPECT_TRUE(game.Display().CursorVisible);
    EXPECT_EQ(game.Form().Screen.FrameCount, 3);
}

} // namespace
} // namespace tamtara::testing
