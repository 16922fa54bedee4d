// Strikes between frames through the headless game window: graded at the key-down's moment in
// precise mode, at the poll in the written mode, taps shorter than a frame, one strike per
// press, and the input offset in both modes.
#include "SongWriter.h"
#include "app/play/GamePlay.h"
#include "harness/GameHarness.h"

#include <gtest/gtest.h>

#include <cmath>

namespace tamtara::testing {

namespace {

constexpr std::int32_t SnareKey = 83; // "S", the snare lane's first key here
constexpr int SnareLane = 1;
constexpr std::int32_t NoteTick = 1920; // beat 4 at 120 beats per minute: 2000 ms into the song
constexpr double TicksPerMs = 0.96;

} // namespace

class StrikeTiming : public ::testing::Test {
protected:
    void Start(bool precise, std::int32_t offsetMs = 0) {
        SongPath = (Folder.Path() / "Songs" / "one.mid").string();
        WriteSong(SongPath, {{NoteTick, 38}, {NoteTick * 2, 60, 0}});
        Game.reset(); // the harness restores the working folder it found
        HarnessOptions options;
        options.Settings.FullScreen = false;
        options.Settings.KeyA = {65, SnareKey, 68, 70, 71, 72, 74};
        options.Settings.PreciseInput = precise;
        options.Settings.InputOffsetMs = offsetMs;
        Game = std::make_unique<GameHarness>(Folder.Path(), options);
        Game->Step();
        Game->Form().Play->Judgement.OnStrike = [this](const StrikeRecord& r) { Strikes.push_back(r); };
        Game->Form().Play->State.AutoLane.fill(false);
        Game->ClearMidiMessages();
        Game->EnterPlay(SongPath);
        SongStart = Game->Form().MidiDrive->SongStartTime();
    }

    // Steps until the next Step's 33 ms hold `time`; returns time's offset into that Step.
    std::uint32_t StepToFrameHolding(std::uint32_t time) {
        while (Game->Clock().Now() + 33 <= time)
            Game->Step();
        return time - Game->Clock().Now();
    }

    std::uint32_t NoteTime() const { return SongStart + std::uint32_t(NoteTick / TicksPerMs); }
    PlayState& State() { return Game->Form().Play->State; }

    int SnareStrikesSounded() {
        int count = 0;
        for (const RecordedMessage& m : Game->MidiMessages())
            if (!m.IsLong && m.Status() == 0x99 && m.Data1() == 38 && m.Data2() > 0) ++count;
        return count;
    }

    TestGameFolder Folder{"Timing"};
    std::string SongPath;
    std::unique_ptr<GameHarness> Game;
    std::uint32_t SongStart = 0;
    std::vector<StrikeRecord> Strikes;
};

TEST_F(StrikeTiming, PreciseKeyDownIsGradedAtItsOwnMomentAndSoundsAtOnce) {
    Start(true);
    const std::uint32_t at = StepToFrameHolding(NoteTime() - 10);
    Game->KeyDownAt(at, SnareKey);
    Game->Step();
    Game->ReleaseKey(SnareKey);
    Game->Step(2);

    ASSERT_EQ(Strikes.size(), 1u);
    ASSERT_TRUE(Strikes[0].Time.has_value());
    EXPECT_EQ(*Strikes[0].Time, NoteTime() - 10);
    EXPECT_NEAR(Strikes[0].Position, NoteTick - 10 * TicksPerMs, 1.0);
    EXPECT_EQ(State().PerfectCount, 1);
    // The note went out at the key-down, not at the frame's tick.
    ASSERT_EQ(SnareStrikesSounded(), 1);
    for (const RecordedMessage& m : Game->MidiMessages())
        if (!m.IsLong && m.Status() == 0x99 && m.Data1() == 38) {
            EXPECT_LE(m.Time, NoteTime() - 10 + 2);
        }
}

TEST_F(StrikeTiming, WrittenModeGradesAtThePollOfTheNextFrame) {
    Start(false);
    const std::uint32_t at = StepToFrameHolding(NoteTime() - 10);
    Game->KeyDownAt(at, SnareKey);
    Game->Step();
    const std::uint32_t poll = Game->Clock().Now();
    Game->ReleaseKey(SnareKey);
    Game->Step(2);

    ASSERT_EQ(Strikes.size(), 1u);
    EXPECT_FALSE(Strikes[0].Time.has_value());
    // The sequencer's last cycle before the poll, at most one 2 ms pass behind it.
    const double pollPosition = (poll - SongStart) * TicksPerMs;
    EXPECT_LE(Strikes[0].Position, pollPosition + 0.01);
    EXPECT_GE(Strikes[0].Position, pollPosition - 2 * TicksPerMs - 0.01);
    EXPECT_EQ(SnareStrikesSounded(), 1);
}

TEST_F(StrikeTiming, TapShorterThanAFrameCountsOnlyInPreciseMode) {
    for (bool precise : {true, false}) {
        SCOPED_TRACE(precise ? "precise" : "written");
        Strikes.clear();
        Start(precise);
        const std::uint32_t at = StepToFrameHolding(NoteTime());
        Game->KeyDownAt(at, SnareKey);
        Game->KeyUpAt(std::min<std::uint32_t>(at + 10, 32), SnareKey);
        Game->Step(40);
        EXPECT_EQ(State().PerfectCount, precise ? 1 : 0);
        EXPECT_EQ(State().MissCount, precise ? 0 : 1);
        EXPECT_EQ(SnareStrikesSounded(), precise ? 1 : 0);
    }
}

TEST_F(StrikeTiming, PressStruckByItsKeyDownIsNotStruckAgainByThePoll) {
    Start(true);
    const std::uint32_t at = StepToFrameHolding(NoteTime() - 300);
    // A press held over several frames.
    Game->KeyDownAt(at, SnareKey);
    Game->Step(3);
    // Held keys still count per frame for everything else.
    EXPECT_EQ(Game->Form().Input.Holds.KeyHoldA[SnareLane], 3);
    Game->ReleaseKey(SnareKey);
    Game->Step(3);
    EXPECT_EQ(Strikes.size(), 1u);
    EXPECT_EQ(SnareStrikesSounded(), 1);
}

TEST_F(StrikeTiming, InputOffsetMovesTheGradedMomentInBothModes) {
    for (bool precise : {true, false}) {
        SCOPED_TRACE(precise ? "precise" : "written");
        Strikes.clear();
        Start(precise, 40);
        const std::uint32_t at = StepToFrameHolding(NoteTime() + 40);
        Game->KeyDownAt(at, SnareKey);
        Game->Step();
        const std::uint32_t poll = Game->Clock().Now();
        Game->ReleaseKey(SnareKey);
        Game->Step();
        ASSERT_EQ(Strikes.size(), 1u);
        const double expected = precise ? NoteTick : (poll - 40 - SongStart) * TicksPerMs;
        EXPECT_NEAR(Strikes[0].Position, expected, precise ? 1.0 : 2 * TicksPerMs + 0.01);
        if (precise) {
            EXPECT_EQ(State().PerfectCount, 1);
        }
    }
}

TEST(MenuTaps, ShortEnterTapIsOnePressInPreciseMode) {
    TestGameFolder folder{"MenuTap"};
    HarnessOptions options;
    options.Settings.FullScreen = false;
    GameHarness game(folder.Path(), options);
    game.Step();
    ASSERT_EQ(game.State(), ssOpening);
    game.KeyDownAt(3, 13);
    game.KeyUpAt(5, 13);
    ASSERT_TRUE(game.StepUntil(ssTitle, 60));
    game.Step(90);
    EXPECT_EQ(game.State(), ssTitle);
}

} // namespace tamtara::testing
