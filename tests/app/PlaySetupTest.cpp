// The mode and part screens driven frame by frame: row moves, wrap-around choices, what they
// hand to play, the part toggles, the blinking highlights and the delayed exits.
#include "support/harness/GameHarness.h"

#include <gtest/gtest.h>

namespace tamtara::testing {
namespace {

constexpr int KeyReturn = 13;
constexpr int KeyLeft = 37;
constexpr int KeyUp = 38;
constexpr int KeyRight = 39;
constexpr int KeyDown = 40;
// The player's first key of each part: hi-hat, snare, kick, high, mid and low tom, cymbal.
constexpr std::array<std::int32_t, 7> PartKeys = {65, 70, 32, 74, 75, 76, 59};

class PlaySetup : public ::testing::Test {
protected:
    PlaySetup() {
        HarnessOptions options;
        options.Settings.FullScreen = false;
        options.Settings.KeyA = PartKeys;
        Game = std::make_unique<GameHarness>(Folder.Path(), options);
        Game->Form().Selection.SongFile = "Songs/demo.mid";
        Game->Step();
    }

    TMainForm& Form() { return Game->Form(); }
    PlayState& Play() { return Form().Play->State; }
    // Taps the keys together in one frame, then lets a frame pass with them released.
    void Tap(std::initializer_list<int> keys) {
        for (int key : keys)
            Game->HoldKey(key);
        Game->Step();
        for (int key : keys)
            Game->ReleaseKey(key);
        Game->Step();
    }
    // Steps until the next frame drawn has FrameCount with blink(FrameCount).
    template <typename Blink> void StepToDrawnFrame(Blink blink) {
        while (!blink(Form().Screen.FrameCount))
            Game->Step();
        Game->Step();
    }
    // How many non-transparent pixels of the sheet's source rectangle show unchanged at (x, y).
    int Shown(const TDirectDrawSurface& sheet, const TRect& source, int x, int y) {
        int same = 0;
        for (int dy = 0; dy < source.Height(); dy += 3)
            for (int dx = 0; dx < source.Width(); dx += 3) {
                const std::uint32_t pixel = sheet.Pixel(source.Left + dx, source.Top + dy);
                if (pixel != sheet.TransparentColor() && Game->Pixel(x + dx, y + dy) == pixel) ++same;
            }
        return same;
    }

    TestGameFolder Folder{"PlaySetup"};
    std::unique_ptr<GameHarness> Game;
};

TEST_F(PlaySetup, ModeRowsWrapMoveAndConfirm) {
    Game->ChangeScreenInFrame(ssModeSelect);
    Tap({KeyUp}); // nothing above the first row
    EXPECT_EQ(Form().Screen.LeaveFrame, 0);
    Tap({KeyRight});
    Tap({KeyRight});
    EXPECT_EQ(Form().Options.PlayTimeChoice, 2); // only the low bit counts: two minutes again
    Tap({KeyDown});
    Tap({KeyLeft}); // from the first option to the last: 75
    EXPECT_EQ(Form().Options.SpeedChoice, 255);
    Tap({KeyUp});
    EXPECT_EQ(Form().Screen.LeaveFrame, 0);
    EXPECT_EQ(Form().Options.SpeedChoice, 255);
    Tap({KeyReturn});
    Tap({KeyDown});
    ASSERT_EQ(Form().Screen.LeaveFrame, 2);
    Tap({KeyDown}); // only Enter confirms on the special row
    EXPECT_EQ(Form().Screen.LeaveFrame, 2);
    Tap({KeyRight});
    Tap({KeyRight});
    Game->HoldKey(KeyReturn);
    Game->HoldKey(KeyUp);
    Game->Step(); // Enter and Up together: the confirmation wins
    Game->ReleaseKey(KeyReturn);
    Game->ReleaseKey(KeyUp);
    EXPECT_EQ(Form().Screen.LeaveFrame, 11);
    EXPECT_TRUE(Play().TwoMinutes);
    EXPECT_EQ(Play().ScrollSpeed, 75);
    EXPECT_FALSE(Play().HideLowerNotes);
    EXPECT_TRUE(Play().HideUpperNotes);
    // Twenty-one frames after the confirmation the part screen comes.
    Game->Step(20);
    EXPECT_EQ(Game->State(), ssModeSelect);
    Game->Step();
    EXPECT_EQ(Game->State(), ssPartSelect);
}

TEST_F(PlaySetup, ModeChoicesMapToTheirOptions) {
    const std::int32_t speeds[] = {100, 150, 200, 75};
    for (std::uint8_t choice = 0; choice < 4; ++choice) {
        Game->ChangeScreenInFrame(ssModeSelect);
        Form().Options.PlayTimeChoice = choice;
        Form().Options.SpeedChoice = choice;
        Form().Options.SpecialChoice = static_cast<std::uint8_t>(choice + 4);
        Form().Screen.LeaveFrame = 2;
        Tap({KeyReturn});
        EXPECT_EQ(Play().TwoMinutes, choice % 2 == 0);
        EXPECT_EQ(Play().ScrollSpeed, speeds[choice]);
        EXPECT_EQ(Play().HideLowerNotes, choice == 1 || choice == 3);
        EXPECT_EQ(Play().HideUpperNotes, choice >= 2);
    }
}

TEST_F(PlaySetup, TheRowBeingChosenBlinksOneFrameInThree) {
    Game->ChangeScreenInFrame(ssModeSelect);
    const TDirectDrawSurface& sheet = *Form().Art.Surfaces.SpriteSurface;
    const TRect highlight = Bounds(0, 176, 320, 48);
    const TRect specialHighlight = Bounds(0, 368, 160, 48);
    StepToDrawnFrame([](std::int32_t frame) { return frame % 3 == 1; });
    const int lit = Shown(sheet, highlight, 0, 128);
    StepToDrawnFrame([](std::int32_t frame) { return frame % 3 == 0; });
    const int dark = Shown(sheet, highlight, 0, 128);
    const int specialUnreached = Shown(sheet, specialHighlight, 0, 352);
    EXPECT_GT(lit, 500);
    EXPECT_LT(dark, lit / 2);
    // Rows already answered show steadily, rows not reached show nothing.
    Tap({KeyReturn});
    StepToDrawnFrame([](std::int32_t frame) { return frame % 3 == 0; });
    EXPECT_EQ(Shown(sheet, highlight, 0, 128), lit);
    Tap({KeyReturn});
    StepToDrawnFrame([](std::int32_t frame) { return frame % 3 == 1; });
    EXPECT_GT(Shown(sheet, specialHighlight, 0, 352), specialUnreached + 100);
}

TEST_F(PlaySetup, PartKeysToggleLanesAndTheTomsTogether) {
    Play().AutoLane = {true, false, false, false, false, false, false};
    Game->ChangeScreenInFrame(ssPartSelect);
    Tap({PartKeys[0], PartKeys[6]});
    EXPECT_EQ(Play().AutoLane, (std::array<bool, 7>{false, false, false, false, false, false, true}));
    Tap({PartKeys[4]});
    EXPECT_EQ(Play().AutoLane, (std::array<bool, 7>{false, false, false, true, true, true, true}));
    Tap({PartKeys[3], PartKeys[5]}); // two tom keys in one frame cancel out
    EXPECT_EQ(Play().AutoLane, (std::array<bool, 7>{false, false, false, true, true, true, true}));
    Tap({KeyUp, KeyRight}); // cursor up is the high tom, cursor right the snare
    EXPECT_EQ(Play().AutoLane, (std::array<bool, 7>{false, true, false, false, false, false, true}));
}

TEST_F(PlaySetup, AutoPlayModeOnlyWithAllSevenPartsAutomatic) {
    Play().AutoLane = {true, true, true, true, true, true, false};
    Game->ChangeScreenInFrame(ssPartSelect);
    Tap({KeyReturn});
    EXPECT_FALSE(Play().AutoPlayMode);

    Play().AutoLane.fill(true);
    Game->ChangeScreenInFrame(ssPartSelect);
    Tap({KeyReturn});
    EXPECT_TRUE(Play().AutoPlayMode);
    Tap({PartKeys[0]}); // ignored after the confirmation
    EXPECT_TRUE(Play().AutoLane[0]);
    EXPECT_TRUE(Game->StepUntil(ssPlay, 30));
}

TEST_F(PlaySetup, PartPanelsShowTheLitButtonOfEachPartsState) {
    Play().AutoLane = {true, false, false, true, true, true, false};
    Game->ChangeScreenInFrame(ssPartSelect);
    const TDirectDrawSurface& sheet = *Form().Art.Surfaces.SpriteSurface;
    const TRect litAuto = Bounds(384, 96, 128, 48);
    const TRect litPlay = Bounds(128, 96, 128, 48);
    StepToDrawnFrame([](std::int32_t frame) { return (frame / 2) % 5 != 0; });
    EXPECT_GT(Shown(sheet, litAuto, 0, 318), 300);       // hi-hat automatic
    EXPECT_GT(Shown(sheet, litPlay, 128, 270), 300);     // snare played
    EXPECT_GT(Shown(sheet, litAuto, 3 * 128, 318), 300); // toms automatic
    const int litToms = Shown(sheet, litAuto, 3 * 128, 318);
    StepToDrawnFrame([](std::int32_t frame) { return (frame / 2) % 5 == 0; });
    EXPECT_LT(Shown(sheet, litAuto, 3 * 128, 318), litToms / 2);
}

} // namespace
} // namespace tamtara::testing
