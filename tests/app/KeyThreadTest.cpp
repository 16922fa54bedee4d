// The key thread in the game window: a key it reads strikes once however the window's own event
// of the same key comes, only while the game window has the focus, and where the thread cannot
// start or is lost the window's events strike as before, said once.
#include "app/play/GamePlay.h"
#include "harness/GameHarness.h"
#include "platform/input/SdlKeyTables.h"

#include <gtest/gtest.h>

#include <sstream>

namespace tamtara::testing {

namespace {

// The second lane (snare) on S, where the harness's song has its note at tick 0.
constexpr int SnareKey = 83;

int Count(const std::string& text, const std::string& part) {
    int count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

} // namespace

class KeyThreadGame : public ::testing::Test {
protected:
    void Start(const std::string& refusal = {}, bool precise = true) {
        HarnessOptions options;
        options.Settings.FullScreen = false;
        options.Settings.KeyA = {65, SnareKey, 68, 70, 71, 72, 74};
        options.Settings.PreciseInput = precise;
        options.KeyThread = true;
        options.KeyThreadRefusal = refusal;
        options.KeyPathLog = &Log;
        Game = std::make_unique<GameHarness>(Folder.Path(), options);
        Game->Step();
        Game->Form().Play->Judgement.OnStrike = [this](const StrikeRecord& r) { Strikes.push_back(r); };
    }

    void EnterPlay() {
        Game->Form().Play->State.AutoLane.fill(false);
        Game->EnterPlay((Folder.Path() / "Songs" / "demo.mid").string());
        SongStart = Game->Form().MidiDrive->SongStartTime();
        while (Game->Clock().Now() + 33 <= SongStart)
            Game->Step();
        Game->ClearMidiMessages();
    }

    int SnaresSounded() const {
        int snares = 0;
        for (const RecordedMessage& m : Game->MidiMessages())
            snares += !m.IsLong && m.Status() == 0x99 && m.Data1() == 38 && m.Data2() > 0;
        return snares;
    }

    // The key goes down 5 ms into the song; the window's event of it comes too, before or
    // after the key thread's.
    void PressSnare(bool windowFirst) {
        const std::uint32_t at = SongStart + 5 - Game->Clock().Now();
        if (windowFirst) Game->KeyDownAt(at, SnareKey);
        Game->RawKeyDownAt(at, SnareKey);
        if (!windowFirst) Game->KeyDownAt(at, SnareKey);
        Game->Step();
        Game->ReleaseKey(SnareKey);
        Game->Step(2);
    }

    TestGameFolder Folder{"KeyThread"};
    std::ostringstream Log;
    std::unique_ptr<GameHarness> Game;
    std::vector<StrikeRecord> Strikes;
    std::uint32_t SongStart = 0;
};

TEST_F(KeyThreadGame, AKeyStrikesOnceAtItsStampWhicheverPathSeesItFirst) {
    for (const bool windowFirst : {false, true}) {
        SCOPED_TRACE(windowFirst ? "window's event first" : "key thread first");
        Strikes.clear();
        Log.str("");
        Start();
        EXPECT_EQ(Log.str(), "tamtara: key strikes: raw X input thread\n");
        EnterPlay();
        PressSnare(windowFirst);
        ASSERT_EQ(Strikes.size(), 1u);
        EXPECT_EQ(*Strikes[0].Time, SongStart + 5);
        EXPECT_EQ(Game->Form().Play->State.PerfectCount, 1);
        EXPECT_EQ(SnaresSounded(), 1);
    }
}

// SDL may show the key down to the frame's poll before its key-down event comes (and a press
// whose release it missed comes as a repeat): the key thread strikes it, and the poll does not.
TEST_F(KeyThreadGame, ThePollStrikesNoKeyTheThreadStrikes) {
    for (const bool event : {false, true}) {
        SCOPED_TRACE(event ? "its event a repeat" : "no event");
        Strikes.clear();
        Start();
        EnterPlay();
        Game->HoldKey(SnareKey);
        if (event) {
            TDisplayEvent repeat;
            repeat.Kind = TDisplayEventKind::KeyDown;
            repeat.Scancode = SdlScancodeOfKeyCode(SnareKey);
            repeat.Repeat = true;
            Game->Display().PushEvent(repeat);
        }
        Game->RawKeyDownAt(SongStart + 5 - Game->Clock().Now(), SnareKey);
        Game->Step();
        Game->ReleaseKey(SnareKey);
        Game->Step(2);
        ASSERT_EQ(Strikes.size(), 1u);
        EXPECT_EQ(*Strikes[0].Time, SongStart + 5);
        EXPECT_EQ(SnaresSounded(), 1);
    }
}

TEST_F(KeyThreadGame, KeysOfAnotherWindowStrikeNothing) {
    Start();
    EnterPlay();
    Game->KeySource().Focus = false;
    Game->Step();
    Game->RawKeyDownAt(3, SnareKey);
    Game->Step(2);
    EXPECT_TRUE(Strikes.empty());
    EXPECT_EQ(SnaresSounded(), 0);
    // Back in the game window, the next key strikes.
    Game->KeySource().Focus = true;
    Game->Step();
    Game->RawKeyDownAt(3, SnareKey);
    Game->Step(2);
    EXPECT_EQ(Strikes.size(), 1u);
    EXPECT_EQ(SnaresSounded(), 1);
}

TEST_F(KeyThreadGame, WithoutTheThreadTheWindowsEventsStrikeAndSaySoOnce) {
    Start("no X display");
    EnterPlay();
    PressSnare(false);
    Game->Step(5);
    ASSERT_EQ(Strikes.size(), 1u);
    EXPECT_EQ(*Strikes[0].Time, SongStart + 5);
    EXPECT_EQ(SnaresSounded(), 1);
    EXPECT_EQ(Log.str(), "tamtara: key strikes: window events (no X display)\n");
}

TEST_F(KeyThreadGame, AThreadLostHandsTheKeysBackToTheWindowSayingItOnce) {
    Start();
    Game->RawKeys()->Lose();
    Game->Step(3);
    EnterPlay();
    // The lost thread reads nothing; the window's event strikes.
    PressSnare(false);
    Game->Step(3);
    EXPECT_EQ(Count(Log.str(), "\n"), 2);
    EXPECT_EQ(Count(Log.str(), "window events (the X connection of the key thread was lost)"), 1);
    ASSERT_EQ(Strikes.size(), 1u);
    EXPECT_EQ(*Strikes[0].Time, SongStart + 5);
    EXPECT_EQ(SnaresSounded(), 1);
}

TEST_F(KeyThreadGame, WrittenInputLeavesEveryKeyToTheFramesPoll) {
    Start({}, false);
    EnterPlay();
    PressSnare(false);
    ASSERT_EQ(Strikes.size(), 1u);
    EXPECT_FALSE(Strikes[0].Time); // graded at the poll
    EXPECT_EQ(SnaresSounded(), 1);
}

} // namespace tamtara::testing
