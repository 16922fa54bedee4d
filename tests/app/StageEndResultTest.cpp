// The stage-end panels and the result screen on the headless window: panel positions, the
// screens' lengths, the rank table, shares and bar, the combo line and the Enter key.
#include "support/harness/GameHarness.h"

#include "app/ResultRank.h"
#include "app/graphics/BitmapText.h"

#include <gtest/gtest.h>

#include <vector>

namespace tamtara::testing {
namespace {

constexpr int Return = 13;

struct Point {
    int X, Y;
};

HarnessOptions Windowed(bool combo = true) {
    HarnessOptions options;
    options.Settings.FullScreen = false;
    options.Settings.Combo = combo;
    return options;
}

class StageEnd : public ::testing::TestWithParam<ScreenState> {
protected:
    // Pixels of the panel's visible part at (left, top) that differ from the panel sheet;
    // the banner's rows are left out.
    int PanelMismatches(Point at) {
        const TDirectDrawSurface& panel = *Game.Form().Art.Surfaces.BackSurface;
        int wrong = 0;
        for (int y = std::max(at.Y, 0); y < std::min(at.Y + 160, 480); ++y) {
            if (y >= 192 && y < 304) continue;
            for (int x = std::max(at.X, 0); x < std::min(at.X + 160, 640); ++x)
                wrong += Game.Pixel(x, y) != panel.Pixel(x - at.X, y - at.Y);
        }
        return wrong;
    }

    TestGameFolder Folder{"StageEnd"};
    GameHarness Game{Folder.Path(), Windowed()};
};

TEST_P(StageEnd, PanelsSlideInShakeAndSettle) {
    Game.Step();
    Game.ChangeScreenInFrame(GetParam());
    TDirectDrawSurface& back = Game.Form().DXDraw.Surface();
    const std::uint32_t lime = back.ColorMatch(clLime);
    back.Fill(lime); // what the last play frame left: it shows through until the wall is shut

    const auto grid = [](int dx, int dy) {
        std::vector<Point> points;
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 4; ++c)
                points.push_back({160 * c + dx, 160 * r + dy});
        return points;
    };
    const struct {
        int Frame;
        std::vector<Point> Panels;
    } frames[] = {{0, {}}, {5, {{0, 0}, {480, 320}}}, {10, grid(0, 8)}, {15, grid(-8, 0)}, {20, grid(0, 0)}};
    for (const auto& frame : frames) {
        while (Game.Form().Screen.ScreenFrame < frame.Frame)
            Game.Step();
        Game.Step();
        for (Point at : frame.Panels)
            EXPECT_EQ(PanelMismatches(at), 0) << frame.Frame << " " << at.X << "," << at.Y;
        if (frame.Frame <= 5) {
            EXPECT_EQ(Game.Pixel(320, 240), lime) << frame.Frame;
        }
        if (frame.Frame == 10) {
            EXPECT_EQ(Game.Pixel(320, 3), 0u); // the shaken wall leaves black behind
        }
    }
}

TEST_P(StageEnd, Lasts65FramesWithoutReadingKeys) {
    Game.Step();
    Game.ChangeScreenInFrame(GetParam());
    Game.HoldKey(Return);
    Game.Step(64);
    EXPECT_EQ(Game.State(), GetParam());
    EXPECT_EQ(Game.Form().Input.Holds.KeyHoldA[7], 0);
    Game.Step();
    EXPECT_EQ(Game.State(), GetParam() == ssFailed ? ssOpening : ssResult);
}

INSTANTIATE_TEST_SUITE_P(Outcomes, StageEnd, ::testing::Values(ssFailed, ssCleared),
                         [](const auto& info) { return std::string(ScreenStateName(info.param)); });

TEST(ResultRank, FirstRowWhoseLimitsHoldAndNoNotesIsD) {
    EXPECT_EQ(RankTable[RankOf(700, 50)].Letter, 'S');
    EXPECT_EQ(RankTable[RankOf(699, 0)].Letter, 'A');
    EXPECT_EQ(RankTable[RankOf(900, 60)].Letter, 'A');
    EXPECT_EQ(RankTable[RankOf(400, 150)].Letter, 'B');
    EXPECT_EQ(RankTable[RankOf(1000, 200)].Letter, 'C');
    EXPECT_EQ(RankTable[RankOf(0, 250)].Letter, 'D');
    EXPECT_EQ(RankTable[RankOf(749, 251)].Letter, 'E');
    EXPECT_EQ(RankTable[RankOf(ShareOf(0, 0), ShareOf(0, 0))].Letter, 'D');
    EXPECT_EQ(ShareOf(2, 3), 666);
}

class Result : public ::testing::Test {
protected:
    void Show(std::int32_t perfect, std::int32_t great, std::int32_t good, std::int32_t miss,
              bool combo = true) {
        Game.reset(); // the harness before it gives the working folder back first
        Game = std::make_unique<GameHarness>(Folder.Path(), Windowed(combo));
        Game->Step();
        PlayState& play = Game->Form().Play->State;
        play.PerfectCount = perfect;
        play.GreatCount = great;
        play.GoodCount = good;
        play.MissCount = miss;
        play.MaxCombo = 123;
        Game->ChangeScreenInFrame(ssResult);
        Game->Step();
    }
    // Pixels of exactly this colour where the rank letter stands.
    int LetterPixels(TColor color) {
        const std::uint32_t device = Game->BackBuffer().ColorMatch(color);
        int count = 0;
        for (int y = 120; y < 360; ++y)
            for (int x = 440; x < 640; ++x)
                count += Game->Pixel(x, y) == device;
        return count;
    }

    TestGameFolder Folder{"Result"};
    std::unique_ptr<GameHarness> Game;
};

TEST_F(Result, RankLetterIsDrawnInItsColour) {
    Show(700, 250, 0, 50);
    EXPECT_GT(LetterPixels(ColorRGB(255, 0, 255)), 2000);
    Show(10, 10, 10, 100);
    EXPECT_GT(LetterPixels(ColorRGB(128, 0, 0)), 2000);
    EXPECT_EQ(LetterPixels(ColorRGB(255, 0, 255)), 0);
    Show(0, 0, 0, 0);
    EXPECT_GT(LetterPixels(ColorRGB(255, 0, 0)), 2000);
    EXPECT_EQ(Game->Form().Play->State.NoteTotal, 0);
}

TEST_F(Result, SharesAreTruncatedAndStackedInTheBar) {
    Show(2, 1, 0, 0);
    const TDirectDrawSurface& back = Game->BackBuffer();
    EXPECT_EQ(Game->Form().Play->State.NoteTotal, 3);
    // 666 per mille: 106 pixels from y 120, then 333: 53 pixels.
    EXPECT_EQ(Game->Pixel(370, 120), back.ColorMatch(ColorRGB(128, 128, 255)));
    EXPECT_EQ(Game->Pixel(370, 225), back.ColorMatch(ColorRGB(128, 128, 255)));
    EXPECT_EQ(Game->Pixel(370, 226), back.ColorMatch(ColorRGB(0, 255, 96)));
    EXPECT_EQ(Game->Pixel(387, 278), back.ColorMatch(ColorRGB(0, 255, 96)));
    EXPECT_NE(Game->Pixel(370, 279), back.ColorMatch(ColorRGB(0, 255, 96)));
}

TEST_F(Result, SharesAreReadRoundedAndAddUpToAHundred) {
    // 7, 20 and 7 of 34: 20.588, 58.824 and 20.588 per cent.
    Show(7, 20, 7, 0);
    const auto row = [&](int y) {
        std::vector<std::uint32_t> pixels;
        for (int py = y; py < y + 32; ++py)
            for (int px = 0; px < 360; ++px)
                pixels.push_back(Game->Pixel(px, py));
        return pixels;
    };
    const std::vector<std::uint32_t> perfect = row(120), great = row(160);
    // The same rows written afresh with the rounded shares over the same background.
    TDirectDrawSurface& back = Game->Form().DXDraw.Surface();
    back.Draw(0, 0, TRect{0, 0, 640, 480}, *Game->Form().Art.Surfaces.BackSurface, false);
    BitmapText& text = Game->Form().Art.Text;
    text.DrawText32(-16, 120, "    Perfect", 1);
    text.DrawText32(-16, 120, "               7  20.6%", 0);
    text.DrawText32(-16, 160, "      Great", 4);
    text.DrawText32(-16, 160, "              20  58.8%", 0);
    EXPECT_TRUE(perfect == row(120)) << "7 of 34 reads 20.6 %";
    EXPECT_TRUE(great == row(160));
}

TEST_F(Result, ComboLineOnlyWithTheComboSetting) {
    const auto differsFromBackground = [&] {
        const TDirectDrawSurface& background = *Game->Form().Art.Surfaces.BackSurface;
        int differ = 0;
        for (int y = 336; y < 384; ++y)
            for (int x = 0; x < 330; ++x)
                differ += Game->Pixel(x, y) != background.Pixel(x, y);
        return differ;
    };
    Show(5, 0, 0, 0, true);
    EXPECT_GT(differsFromBackground(), 500);
    Show(5, 0, 0, 0, false);
    EXPECT_EQ(differsFromBackground(), 0);
}

TEST_F(Result, EnterHeldFromPlayDoesNotLeaveAFreshPressDoes) {
    Game = std::make_unique<GameHarness>(Folder.Path(), Windowed());
    Game->Step();
    Game->EnterPlay("Songs/demo.mid");
    Game->HoldKey(Return);
    Game->Step(2);
    Game->ChangeScreenInFrame(ssCleared);
    ASSERT_TRUE(Game->StepUntil(ssResult, 70));
    Game->Step(40);
    EXPECT_EQ(Game->State(), ssResult);
    Game->ReleaseKey(Return);
    Game->Step();
    Game->ClearMidiMessages();
    Game->TapKey(Return);
    Game->Step(29);
    EXPECT_EQ(Game->State(), ssResult);
    EXPECT_EQ(ProgramChanges(Game->MidiMessages()), std::vector<std::uint8_t>{EnterJingleProgram});
    Game->Step();
    EXPECT_EQ(Game->State(), ssFolderSelect);
}

TEST_F(Result, F2DuringPlayShowsTheCountsSoFar) {
    Game = std::make_unique<GameHarness>(Folder.Path(), Windowed());
    Game->Step();
    Game->EnterPlay("Songs/demo.mid");
    Game->Step(3);
    PlayState& play = Game->Form().Play->State;
    play.PerfectCount = 4;
    play.MissCount = 1;
    Game->WindowKey(WindowKeys::F2);
    Game->Step();
    ASSERT_EQ(Game->State(), ssCleared);
    ASSERT_TRUE(Game->StepUntil(ssResult, 70));
    Game->Step();
    EXPECT_EQ(play.PerfectCount, 4);
    EXPECT_EQ(play.NoteTotal, 5);
    // 800 per mille Perfect, 200 Miss: rank C in yellow.
    EXPECT_GT(LetterPixels(ColorRGB(255, 255, 0)), 2000);
}

} // namespace
} // namespace tamtara::testing
