// The opening and title screens on the headless window: frame counts, curtains, logo
// bounds, the demonstration's timeline and what leaving the title sets for play.
#include "SequencerTestAccess.h"
#include "support/harness/GameHarness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <sstream>

namespace tamtara::testing {
namespace {

constexpr int Return = 13;
constexpr std::uint32_t White = 0xFFFF;

struct Box {
    int Left = 640, Top = 480, Right = -1, Bottom = -1; // inclusive; empty when Right < Left
};

// Where the back buffer holds anything but white.
Box NonWhiteBounds(GameHarness& game) {
    Box box;
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x)
            if (game.Pixel(x, y) != White) {
                box.Left = std::min(box.Left, x);
                box.Right = std::max(box.Right, x);
                box.Top = std::min(box.Top, y);
                box.Bottom = std::max(box.Bottom, y);
            }
    return box;
}

bool RowIsBlack(GameHarness& game, int y) {
    for (int x = 0; x < 640; ++x)
        if (game.Pixel(x, y) != 0) return false;
    return true;
}

HarnessOptions Settings(bool demo) {
    HarnessOptions options;
    options.Settings.FullScreen = false;
    options.Settings.Demo = demo;
    return options;
}

class Opening : public ::testing::Test {
protected:
    // Steps to the frame whose ScreenFrame is f and draws it.
    void DrawFrame(int f) {
        while (Game.Form().Screen.ScreenFrame < f)
            Game.Step();
        ASSERT_EQ(Game.Form().Screen.ScreenFrame, f);
        Game.Step();
    }

    TestGameFolder Folder{"Opening"};
    GameHarness Game{Folder.Path(), Settings(false)};
};

TEST_F(Opening, Shows122FramesThenTheTitleStartsAtFrameOne) {
    Game.Step(121);
    EXPECT_EQ(Game.State(), ssOpening);
    Game.Step();
    EXPECT_EQ(Game.State(), ssTitle);
    EXPECT_EQ(Game.Form().Screen.ScreenFrame, 1);
}

TEST_F(Opening, EnterOnTheFirstFrameSkipsToElevenBlackFrames) {
    Game.TapKey(Return);
    EXPECT_EQ(Game.Form().Screen.ScreenFrame, 111);
    for (int frame = 0; frame < 10; ++frame) {
        Game.Step();
        ASSERT_EQ(Game.State(), ssOpening);
        EXPECT_TRUE(RowIsBlack(Game, 240));
    }
    Game.Step();
    EXPECT_EQ(Game.State(), ssTitle);
}

TEST_F(Opening, EnterMidAnimationCutsToTheTailAndASecondEnterChangesNothing) {
    Game.Step(50);
    Game.TapKey(Return);
    Game.Step(4);
    Game.TapKey(Return);
    Game.Step(5);
    EXPECT_EQ(Game.State(), ssOpening);
    Game.Step();
    EXPECT_EQ(Game.State(), ssTitle);
}

TEST_F(Opening, CurtainsOpenAndCloseAtTheirHeights) {
    DrawFrame(0);
    EXPECT_TRUE(RowIsBlack(Game, 0) && RowIsBlack(Game, 239) && RowIsBlack(Game, 240) &&
                RowIsBlack(Game, 479));
    // Opening: (8 - f) * 240 / 8; closing: (f - 91) * 240 / 8. Column 0 lies beside the logo.
    for (auto [f, height] : {std::pair{6, 60}, std::pair{94, 90}, std::pair{98, 210}}) {
        DrawFrame(f);
        EXPECT_EQ(Game.Pixel(0, height - 1), 0u) << f;
        EXPECT_EQ(Game.Pixel(0, height), White) << f;
        EXPECT_EQ(Game.Pixel(0, 480 - height), 0u) << f;
        EXPECT_EQ(Game.Pixel(0, 479 - height), White) << f;
    }
}

TEST_F(Opening, LogoHoldsAtItsNaturalSizeThenStretchesFlatAndTurned) {
    DrawFrame(33);
    const Box hold = NonWhiteBounds(Game);
    EXPECT_GE(hold.Left, 135);
    EXPECT_LE(hold.Right, 135 + 369);
    EXPECT_GE(hold.Top, 150);
    EXPECT_LE(hold.Bottom, 150 + 179);
    EXPECT_LT(hold.Left, 175);  // the drum's left edge
    EXPECT_GT(hold.Right, 460); // the name's right edge

    // f 80: n = 76, 978 x 104 turned back by 56/256 of a turn, so nearly upright: at most
    // 489 |cos| + 52 |sin| = 146 pixels either side of the centre, and over the full height.
    DrawFrame(80);
    const Box stretch = NonWhiteBounds(Game);
    EXPECT_GE(stretch.Left, 320 - 147);
    EXPECT_LE(stretch.Right, 320 + 147);
    EXPECT_LT(stretch.Right - stretch.Left, 300);
    EXPECT_EQ(stretch.Top, 0);
    EXPECT_EQ(stretch.Bottom, 479);
}

class Title : public ::testing::Test {
protected:
    void Start(bool demo, std::vector<std::string> songs) {
        Game.reset(); // the harness before it gives the working folder back first
        Game = std::make_unique<GameHarness>(Folder.Path(), Settings(demo));
        Game->Step();
        Game->Form().Library.SongFiles = songs;
        for (const std::string& song : songs)
            Game->Form().Library.SongTitles.push_back("title of " + song);
        Game->ChangeScreenInFrame(ssTitle);
    }
    // Draws title frames until the next one to draw is f.
    void StepTo(int f) {
        while (Game->State() == ssTitle && Game->Form().Screen.ScreenFrame < f)
            Game->Step();
        ASSERT_EQ(Game->Form().Screen.ScreenFrame, f);
    }
    PlayState& Play() { return Game->Form().Play->State; }

    static TestGameFolderOptions ThreeSongs() {
        TestGameFolderOptions options;
        options.Songs = {"Songs/a.mid", "Songs/b.mid", "Songs/c.mid"};
        return options;
    }

    TestGameFolder Folder{"Title", ThreeSongs()};
    std::unique_ptr<GameHarness> Game;
};

TEST_F(Title, DemonstrationFadesClosesAndStartsARandomSongAllAutomatic) {
    Start(true, {"Songs/a.mid", "Songs/b.mid", "Songs/c.mid"});
    StepTo(757);
    EXPECT_FALSE(SequencerTestAccess::FadeAsked(*Game->Form().MidiDrive));
    Game->Step();
    EXPECT_TRUE(SequencerTestAccess::FadeAsked(*Game->Form().MidiDrive));

    StepTo(879); // frame 878 drew a curtain of height 0
    EXPECT_NE(Game->Pixel(320, 0), 0u);
    Game->Step();
    EXPECT_EQ(Game->Pixel(320, 29), 0u);
    EXPECT_NE(Game->Pixel(320, 30), 0u);
    StepTo(886);
    Game->Step();
    for (int y = 24; y < 480; y += 7)
        EXPECT_TRUE(RowIsBlack(*Game, y)) << y;

    StepTo(910);
    EXPECT_EQ(Game->State(), ssTitle);
    Game->Step();
    ASSERT_EQ(Game->State(), ssPlay);
    const TMainForm& form = Game->Form();
    EXPECT_TRUE(Play().DemoMode);
    EXPECT_TRUE(Play().AutoPlayMode);
    EXPECT_TRUE(std::all_of(Play().AutoLane.begin(), Play().AutoLane.end(), [](bool on) { return on; }));
    EXPECT_EQ(Play().ScrollSpeed, 100);
    EXPECT_FALSE(Play().HideLowerNotes || Play().HideUpperNotes);
    ASSERT_GE(form.Selection.DiscIndex, 0);
    ASSERT_LT(form.Selection.DiscIndex, 3);
    EXPECT_EQ(form.Selection.SongFile, form.Library.SongFiles[form.Selection.DiscIndex]);
    EXPECT_EQ(form.Selection.SongTitle, form.Library.SongTitles[form.Selection.DiscIndex]);
    EXPECT_TRUE(form.MidiDrive->IsPlaying());
}

TEST_F(Title, DemonstrationDrawsItsSongFromTheWholeLibrary) {
    const std::vector<std::string> songs = {"Songs/a.mid", "Songs/b.mid", "Songs/c.mid"};
    std::set<std::string> chosen;
    for (std::uint32_t seed = 1; seed <= 6; ++seed) {
        Start(true, songs);
        Game->Form().Random.seed(seed);
        Game->Form().Screen.ScreenFrame = 905; // the fade and the curtain are another test's
        StepTo(910);
        Game->Step();
        ASSERT_EQ(Game->State(), ssPlay) << seed;
        const TMainForm& form = Game->Form();
        EXPECT_NE(std::find(songs.begin(), songs.end(), form.Selection.SongFile), songs.end())
            << form.Selection.SongFile;
        EXPECT_EQ(form.Selection.SongTitle, "title of " + form.Selection.SongFile);
        chosen.insert(form.Selection.SongFile);
    }
    EXPECT_GT(chosen.size(), 1u);
}

TEST_F(Title, DemonstrationSkipsSongsTheScanMarked) {
    const std::vector<std::string> songs = {"Songs/a.mid", "Songs/b.mid", "Songs/c.mid"};
    for (std::uint32_t seed = 1; seed <= 6; ++seed) {
        Start(true, songs);
        Game->Form().Library.SongChecks = {SongCheck{SongMark::Unplayable, "broken"},
                                           SongCheck{SongMark::Playable, ""},
                                           SongCheck{SongMark::NoDrumNotes, "no drums"}};
        Game->Form().Random.seed(seed);
        Game->Form().Screen.ScreenFrame = 905;
        StepTo(910);
        Game->Step();
        ASSERT_EQ(Game->State(), ssPlay) << seed;
        EXPECT_EQ(Game->Form().Selection.SongFile, "Songs/b.mid") << seed;
    }

    // Nothing playable: the title stays, as with an empty library.
    Start(true, songs);
    Game->Form().Library.SongChecks.assign(3, SongCheck{SongMark::NoDrumNotes, "no drums"});
    Game->Form().Screen.ScreenFrame = 905;
    for (int k = 0; k < 40; ++k)
        Game->Step();
    EXPECT_EQ(Game->State(), ssTitle);
}

TEST_F(Title, EnterTwoFramesBeforeTheDemonstrationStillStartsIt) {
    Start(true, {"Songs/b.mid"});
    StepTo(908);
    Game->TapKey(Return);
    EXPECT_EQ(Game->Form().Screen.LeaveFrame, 2);
    Game->Step(2);
    EXPECT_EQ(Game->State(), ssPlay);
    EXPECT_EQ(Game->Form().Selection.SongFile, "Songs/b.mid");
}

TEST_F(Title, WithoutDemoOrWithoutSongsTheTitleWaitsForEver) {
    for (auto [demo, songs] : {std::pair{false, std::vector<std::string>{"Songs/a.mid"}},
                               std::pair{true, std::vector<std::string>{}}}) {
        Start(demo, songs);
        StepTo(2000);
        EXPECT_EQ(Game->State(), ssTitle);
        EXPECT_NE(Game->Pixel(320, 100), 0u);
        EXPECT_FALSE(SequencerTestAccess::FadeAsked(*Game->Form().MidiDrive));
    }
}

TEST_F(Title, EnterLeavesThirtyFramesLaterWithOnlyTheHiHatAutomatic) {
    Start(false, {});
    // As a demonstration leaves them.
    Play().DemoMode = true;
    Play().AutoLane.fill(true);
    StepTo(5);
    Game->ClearMidiMessages();
    Game->TapKey(Return);
    Game->Step(29);
    EXPECT_EQ(Game->State(), ssTitle);
    EXPECT_EQ(ProgramChanges(Game->MidiMessages()), std::vector<std::uint8_t>{EnterJingleProgram});
    Game->Step();
    EXPECT_EQ(Game->State(), ssFolderSelect);
    EXPECT_FALSE(Play().DemoMode);
    EXPECT_EQ(Play().AutoLane, (std::array<bool, 7>{true, false, false, false, false, false, false}));
}

TEST(ScreenTrace, EveryChangeIsOneLineAndPlayNamesItsSong) {
    TestGameFolder folder("ScreenTrace");
    std::ostringstream trace;
    HarnessOptions options;
    options.ScreenTrace = &trace;
    GameHarness game(folder.Path(), options);
    game.TapKey(Return);
    game.StepUntil(ssTitle, 12);
    game.EnterPlay("Songs/demo.mid");
    game.WindowKey(WindowKeys::F2);
    game.Step();
    EXPECT_EQ(trace.str(),
              "screen ssOpening\nscreen ssTitle\nscreen ssPlay Songs/demo.mid\nscreen ssCleared\n");
}

} // namespace
} // namespace tamtara::testing
