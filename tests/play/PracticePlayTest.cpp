// Practice through the headless game window: the set-up screen from the mode screen and what it
// keeps, the practice keys in play, a gauge that cannot fail, wait mode's holds (and a pause
// during one), the speed trainer after clean passes, and the practice result.
#include "SongWriter.h"
#include "app/graphics/BitmapText.h"
#include "app/play/GamePlay.h"
#include "harness/GameHarness.h"
#include "platform/display/Presenter.h"
#include "settings/PracticeSettings.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace tamtara::testing {

namespace {

// The player's first key per lane: A S D F G H J.
constexpr std::array<std::int32_t, 7> LaneKeys{65, 83, 68, 70, 71, 72, 74};
constexpr int KeyReturn = 13, KeyLeft = 37, KeyUp = 38, KeyRight = 39, KeyDown = 40;
constexpr std::int32_t F5 = 0x74, F6 = 0x75, F7 = 0x76, F8 = 0x77;
constexpr std::int32_t Bar = 4 * 480;

// A snare on every beat of `bars` 4/4 bars, a kick on every bar's first beat.
std::vector<SongNote> SnareSong(int bars) {
    std::vector<SongNote> notes;
    for (int beat = 0; beat < 4 * bars; ++beat) {
        notes.push_back({480 * beat, 38});
        if (beat % 4 == 0) notes.push_back({480 * beat, 36});
    }
    return notes;
}

} // namespace

class PracticePlay : public ::testing::Test {
protected:
    explicit PracticePlay(std::int32_t level = 3) {
        SongPath = (Folder.Path() / "Songs" / "practice.mid").string();
        OtherSong = (Folder.Path() / "Songs" / "other.mid").string();
        WriteSong(SongPath, SnareSong(6));
        WriteSong(OtherSong, SnareSong(2));
        HarnessOptions options;
        options.Settings.FullScreen = false;
        options.Settings.Level = level;
        options.Settings.MissPenalty = MissPenaltyFor(7);
        options.Settings.KeyA = LaneKeys;
        options.SettingsFile = (Folder.Path() / "tamtara.ini").string();
        Game = std::make_unique<GameHarness>(Folder.Path(), options);
        Game->Step();
    }

    PlayState& State() { return Game->Form().Play->State; }
    TMidiDrive& Drive() { return *Game->Form().MidiDrive; }
    PracticeSetupState& Chosen() { return Game->Form().PracticeSetup; }

    void Tap(int key, int times = 1) {
        for (int i = 0; i < times; ++i) {
            Game->TapKey(key);
            Game->Step();
        }
    }
    void Window(std::int32_t key) {
        Game->WindowKey(key);
        Game->Step();
    }
    // A key-down and its key-up within the next frame, as the window delivers a strike.
    void Strike(int lane) {
        Game->KeyDownAt(2, LaneKeys[static_cast<std::size_t>(lane)]);
        Game->KeyUpAt(20, LaneKeys[static_cast<std::size_t>(lane)]);
        Game->Step();
    }

    // The mode screen on song, then Tab.
    void OpenSetup(const std::string& song) {
        Game->Form().Selection.SongFile = song;
        Game->ChangeScreenInFrame(ssModeSelect);
        Game->Step();
        Window(WindowKeys::Tab);
        ASSERT_EQ(Game->State(), ssPracticeSetup);
    }
    // Moves the cursor to row and presses Left or Right there.
    void Set(std::int32_t row, int key, int times) {
        while (Chosen().Row < row)
            Tap(KeyDown);
        while (Chosen().Row > row)
            Tap(KeyUp);
        Tap(key, times);
    }
    void StartPractice() {
        Tap(KeyReturn);
        ASSERT_TRUE(Game->StepUntil(ssPlay, 40));
        Game->Step();
    }
    // Only the snare lane is the player's.
    void SnareOnly() {
        State().AutoLane.fill(true);
        State().AutoLane[dpSnare] = false;
    }

    void Shot(const std::string& name) {
        if (const char* dir = std::getenv("TAMTARA_SHOTS"))
            Game->SavePng(std::string(dir) + "/" + name + ".png");
    }

    TestGameFolder Folder{"Practice"};
    std::string SongPath;
    std::string OtherSong;
    std::unique_ptr<GameHarness> Game;
};

TEST_F(PracticePlay, SetUpFromTheModeScreenIsRememberedPerSongAndItsCommonPartInTheIni) {
    OpenSetup(SongPath);
    EXPECT_EQ(Chosen().BarCount, 6);
    Shot("practice_setup_fresh");
    Set(prTempo, KeyLeft, 8);         // 60 %
    Set(prLoopFrom, KeyRight, 3);     // bars 3
    Set(prLoopTo, KeyRight, 1);       // to 4
    Set(prTrainerStep, KeyRight, 5);  // +5 %
    Set(prTrainerTarget, KeyLeft, 4); // to 80 %
    Set(prCountIn, KeyRight, 1);      // one bar
    Set(prMetronome, KeyRight, 1);    // on
    Set(prClickVolume, KeyLeft, 100); // 0 at the end of the row
    EXPECT_EQ(Chosen().Choices.TempoPercent, 60);
    EXPECT_EQ(Chosen().Choices.LoopFromBar, 3);
    EXPECT_EQ(Chosen().Choices.LoopToBar, 4);
    EXPECT_EQ(Chosen().Choices.TrainerTarget, 80);
    EXPECT_EQ(Chosen().Choices.ClickVolume, 0);
    Shot("practice_setup");

    // Back to the mode screen, which keeps its rows; the ini has the common part.
    Window(WindowKeys::Back);
    EXPECT_EQ(Game->State(), ssModeSelect);
    const PracticeSettings saved = LoadPracticeSettings((Folder.Path() / "tamtara.ini").string());
    EXPECT_EQ(saved.TempoPercent, 60);
    EXPECT_EQ(saved.CountInBars, 1);
    EXPECT_TRUE(saved.Metronome);
    EXPECT_EQ(saved.ClickVolume, 0);
    EXPECT_EQ(Game->Form().Settings.Practice.TempoPercent, 60);

    // Another song starts from the ini's part, without loop or trainer; the first comes back whole.
    OpenSetup(OtherSong);
    EXPECT_EQ(Chosen().BarCount, 2);
    EXPECT_EQ(Chosen().Choices.TempoPercent, 60);
    EXPECT_EQ(Chosen().Choices.LoopFromBar, 0);
    EXPECT_EQ(Chosen().Choices.TrainerStep, 0);
    Window(WindowKeys::Escape);
    EXPECT_EQ(Game->State(), ssModeSelect);
    OpenSetup(SongPath);
    EXPECT_EQ(Chosen().Choices.LoopFromBar, 3);
    EXPECT_EQ(Chosen().Choices.TrainerStep, 5);

    StartPractice();
    const PracticePlan& plan = Drive().Practice();
    EXPECT_DOUBLE_EQ(plan.TempoScale, 0.6);
    EXPECT_EQ(plan.LoopFromTick, 2 * Bar);
    EXPECT_EQ(plan.LoopToTick, 4 * Bar);
    EXPECT_EQ(plan.CountInBars, 1);
    EXPECT_TRUE(plan.Metronome);
    EXPECT_EQ(plan.ClickVolume, 0);
    EXPECT_TRUE(State().Practice.Active);
    EXPECT_FALSE(State().TwoMinutes);
}

TEST_F(PracticePlay, PracticeKeysChangeTheTempoAndMetronomeAndLaneKeysNeverDo) {
    OpenSetup(SongPath);
    StartPractice();
    const PracticeRun& run = State().Practice;
    EXPECT_EQ(run.TempoPercent, 100);
    Window(F6);
    Window(F6);
    EXPECT_EQ(run.TempoPercent, 110);
    EXPECT_DOUBLE_EQ(Drive().Practice().TempoScale, 1.1);
    Window(F5);
    EXPECT_EQ(run.TempoPercent, 105);
    EXPECT_DOUBLE_EQ(Drive().Practice().TempoScale, 1.05);
    EXPECT_EQ(Game->State(), ssPlay) << "F5 in play is no retry";
    // Every lane key, as a strike and as a window key, leaves the tempo alone.
    for (int lane = 0; lane < LaneCount; ++lane) {
        Strike(lane);
        Window(LaneKeys[static_cast<std::size_t>(lane)]);
    }
    EXPECT_EQ(run.TempoPercent, 105);
    EXPECT_DOUBLE_EQ(Drive().Practice().TempoScale, 1.05);
    Window(F8);
    EXPECT_TRUE(Drive().Practice().Metronome);
    Window(F7);
    EXPECT_EQ(Game->State(), ssPlay);
    EXPECT_TRUE(Drive().IsPlaying());
    Shot("practice_strip");

    // Escape leaves to the practice's result; the sequencer is back on its ordinary plan.
    Window(WindowKeys::Escape);
    EXPECT_EQ(Game->State(), ssResult);
    EXPECT_FALSE(Drive().IsPlaying());
    EXPECT_DOUBLE_EQ(Drive().Practice().TempoScale, 1.0);
    EXPECT_FALSE(Drive().HasPracticeHooks());
}

TEST_F(PracticePlay, TheHudShowsTheBeatsPerMinuteBeingPlayed) {
    OpenSetup(SongPath);
    Set(prTempo, KeyLeft, 10); // 50 % of the song's 120
    StartPractice();
    Game->Step(3);
    ASSERT_EQ(State().Practice.TempoPercent, 50);
    const TRect digits{584, 340, 632, 372};
    const auto shown = [&] {
        std::vector<std::uint32_t> pixels;
        for (int y = digits.Top; y < digits.Bottom; ++y)
            for (int x = digits.Left; x < digits.Right; ++x)
                pixels.push_back(Game->Pixel(x, y));
        return pixels;
    };
    const std::vector<std::uint32_t> hud = shown();
    TDirectDrawSurface& back = Game->Form().DXDraw.Surface();
    back.Draw(digits.Left, digits.Top, digits, *Game->Form().Art.Surfaces.BackSurface, false);
    Game->Form().Art.Text.DrawText32(digits.Left, digits.Top, " 60", 2);
    EXPECT_TRUE(hud == shown()) << "BPM 60, not the song's 120";
}

TEST_F(PracticePlay, TheGaugeCannotFailAPracticeAndAPassWithMissesKeepsTheTempo) {
    OpenSetup(SongPath);
    Set(prTempo, KeyRight, 10);   // 150 %, to be quick, with room for the trainer to rise
    Set(prLoopFrom, KeyRight, 1); // bar 1 only
    Set(prTrainerStep, KeyRight, 5);
    Set(prTrainerTarget, KeyRight, 10); // to 200 %
    ASSERT_EQ(Chosen().Choices.TrainerTarget, 200);
    SnareOnly();
    StartPractice();
    // Hell: the second miss would fail an ordinary play.
    ASSERT_EQ(State().MissPenalty, MissPenaltyFor(7));
    for (int frame = 0; frame < 200 && State().Practice.Passes < 2; ++frame) {
        Game->Step();
        ASSERT_EQ(Game->State(), ssPlay) << frame;
    }
    ASSERT_GE(State().Practice.Passes, 2);
    EXPECT_GE(State().Gauge, 0);
    EXPECT_EQ(State().Practice.TempoPercent, 150);
    Window(WindowKeys::Escape);
    ASSERT_EQ(Game->State(), ssResult);
    const std::vector<PracticeLoopRow>& rows = State().Practice.Rows;
    ASSERT_GE(rows.size(), 2u);
    // Four snares a pass, none struck (the kick is the computer's).
    EXPECT_EQ(rows[0], (PracticeLoopRow{1, 150, {0, 0, 0, 4}}));
    EXPECT_EQ(rows[1].TempoPercent, 150);
    EXPECT_EQ(rows[1].Counts.Miss, 4);
}

TEST_F(PracticePlay, WaitModeHoldsForThePlayersLaneAndTheTrainerStepsAfterTheCleanPass) {
    OpenSetup(SongPath);
    Set(prTempo, KeyLeft, 8);         // 60 %
    Set(prLoopFrom, KeyRight, 2);     // bar 2 only
    Set(prTrainerStep, KeyRight, 5);  // +5 %
    Set(prTrainerTarget, KeyLeft, 4); // to 80 %
    Set(prWaitMode, KeyRight, 1);
    SnareOnly();
    // The hi-hat is the player's too (the song has none): a strike on it reaches the judge.
    State().AutoLane[dpHiHat] = false;
    StartPractice();

    // The first snare of the loop holds the song; the kick beside it is the computer's.
    for (int frame = 0; frame < 200 && !Drive().IsHolding(); ++frame)
        Game->Step();
    ASSERT_TRUE(Drive().IsHolding());
    EXPECT_EQ(State().Practice.HeldLane, dpSnare);
    const std::int32_t held = Drive().CurrentTick();
    EXPECT_EQ(held, Bar);
    Game->Step(5);
    EXPECT_EQ(Drive().CurrentTick(), held);
    Shot("practice_wait");

    // A strike on another of the player's lanes counts as a strike but the song stays.
    Strike(dpHiHat);
    EXPECT_TRUE(Drive().IsHolding());
    EXPECT_EQ(State().Practice.HeldLane, dpSnare);
    EXPECT_EQ(State().PerfectCount, 0);
    // The snare lets it go, Perfect by its distance of 0.
    Strike(dpSnare);
    EXPECT_EQ(State().PerfectCount, 1);
    Game->Step(2);
    EXPECT_GT(Drive().CurrentTick(), held);

    // The rest of the pass, struck as the song waits: a clean pass, and the tempo rises by 5.
    for (int frame = 0; frame < 400 && State().Practice.Passes < 1; ++frame) {
        if (Drive().IsHolding()) Strike(dpSnare);
        Game->Step();
    }
    ASSERT_EQ(State().Practice.Passes, 1);
    EXPECT_EQ(State().Practice.Rows.front(), (PracticeLoopRow{1, 60, {4, 0, 0, 0}}));
    EXPECT_EQ(State().Practice.TempoPercent, 65);
    EXPECT_DOUBLE_EQ(Drive().Practice().TempoScale, 0.65);
    Shot("practice_strip_after_pass");

    Window(WindowKeys::Escape);
    ASSERT_EQ(Game->State(), ssResult);
    Game->Step(2);
    Shot("practice_result");
}

// A pause while the song waits for the player keeps the wait: strikes in the pause are not
// taken, the count-in after it leads back to the same held note, and the snare then lets it go.
TEST_F(PracticePlay, APauseDuringAHoldKeepsTheHoldThroughItsCountIn) {
    OpenSetup(SongPath);
    Set(prLoopFrom, KeyRight, 2); // bar 2 only
    Set(prWaitMode, KeyRight, 1);
    SnareOnly();
    StartPractice();
    for (int frame = 0; frame < 200 && !Drive().IsHolding(); ++frame)
        Game->Step();
    ASSERT_TRUE(Drive().IsHolding());
    const std::int32_t held = Drive().CurrentTick();

    Window(WindowKeys::F1);
    ASSERT_TRUE(Drive().IsPaused());
    Strike(dpSnare);
    Game->Step(10);
    EXPECT_EQ(State().PerfectCount, 0);
    Window(WindowKeys::F1);
    // One bar of clicks at 120 BPM: two seconds.
    for (int frame = 0; frame < 120 && Drive().IsPaused(); ++frame)
        Game->Step();
    ASSERT_FALSE(Drive().IsPaused());
    Game->Step(5);
    EXPECT_TRUE(Drive().IsHolding());
    EXPECT_EQ(State().Practice.HeldLane, dpSnare);
    EXPECT_EQ(Drive().CurrentTick(), held);

    Strike(dpSnare);
    EXPECT_EQ(State().PerfectCount, 1);
    EXPECT_FALSE(Drive().IsHolding());
    Game->Step(2);
    EXPECT_GT(Drive().CurrentTick(), held);
}

TEST_F(PracticePlay, APlayerWhoNeverOpensPracticePlaysOnTheSequencersOrdinaryPlan) {
    // A practice first, then the same song from the mode screen as always.
    OpenSetup(SongPath);
    Set(prTempo, KeyLeft, 8);
    StartPractice();
    Window(WindowKeys::Escape);
    Game->Form().Selection.SongFile = SongPath;
    Game->ChangeScreenInFrame(ssModeSelect);
    Game->Step();
    EXPECT_FALSE(State().Practice.Active);
    Game->EnterPlay(SongPath);
    Game->Step();
    EXPECT_DOUBLE_EQ(Drive().Practice().TempoScale, 1.0);
    EXPECT_EQ(Drive().Practice().LoopFromTick, -1);
    EXPECT_FALSE(Drive().HasPracticeHooks());
    Window(F6);
    EXPECT_DOUBLE_EQ(Drive().Practice().TempoScale, 1.0);
    Window(WindowKeys::Escape);
    EXPECT_EQ(Game->State(), ssOpening);
}

} // namespace tamtara::testing
