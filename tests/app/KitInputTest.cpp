// The kit as input: which messages strike which lane, and the kit in the game window: strikes
// graded at their own moment and sounded at the pad's velocity, menus driven by pads, and a
// port that vanishes in the middle of a song.
#include "app/input/KitInput.h"
#include "app/Calibration.h"
#include "app/play/GamePlay.h"
#include "harness/GameHarness.h"

#include <gtest/gtest.h>

#include <fstream>

namespace tamtara::testing {

namespace {

MidiInMessage Message(std::uint32_t time, std::uint8_t status, std::uint8_t note, std::uint8_t velocity) {
    return MidiInMessage{time, status, note, velocity};
}

} // namespace

TEST(KitDecoding, OnlyNoteOnsAboveTheLaneMinimumStrike) {
    KitSettings kit = DefaultKit();
    kit.MinVelocity[1] = 30;
    KitDecoder decoder(kit);
    EXPECT_FALSE(decoder.Decode(Message(1000, 0x99, 38, 30))); // not above the minimum
    const auto hit = decoder.Decode(Message(1100, 0x99, 38, 31));
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->Lane, 1);
    EXPECT_EQ(hit->Velocity, 31);
    EXPECT_EQ(hit->Time, 1100u);
    EXPECT_TRUE(decoder.Decode(Message(1200, 0x90, 36, 11))); // any channel, default minimum 10
    EXPECT_FALSE(decoder.Decode(Message(1300, 0x99, 42, 10)));
    for (const MidiInMessage& ignored :
         {Message(1400, 0x89, 38, 64), Message(1500, 0x99, 38, 0), Message(1600, 0xA9, 38, 100),
          Message(1700, 0xB9, 4, 100), Message(1800, 0xF8, 0, 0), Message(1900, 0xD9, 100, 0),
          Message(2000, 0x99, 60, 100), Message(2100, 0x99, 127, 100)})
        EXPECT_FALSE(decoder.Decode(ignored))
            << std::hex << int(ignored.Status) << " " << std::dec << int(ignored.Data1);
}

TEST(KitDecoding, HiHatPedalIsEnterAndNeverAStickHit) {
    KitDecoder decoder;
    const auto stomp = decoder.Decode(Message(1000, 0x99, 44, 90));
    ASSERT_TRUE(stomp);
    EXPECT_EQ(stomp->Lane, -1);
    KitSettings noEnter = DefaultKit();
    noEnter.EnterNote = NoKitNote;
    KitDecoder withoutEnter(noEnter);
    EXPECT_FALSE(withoutEnter.Decode(Message(1000, 0x99, 44, 90)));
}

TEST(KitDecoding, HitsOfOneLaneWithinTheDebounceWindowCountOnce) {
    KitDecoder decoder;
    EXPECT_TRUE(decoder.Decode(Message(1000, 0x99, 38, 100)));
    EXPECT_FALSE(decoder.Decode(Message(1014, 0x99, 40, 100))); // rim of the same pad
    EXPECT_TRUE(decoder.Decode(Message(1005, 0x99, 36, 100)));  // another lane is not held back
    EXPECT_TRUE(decoder.Decode(Message(1015, 0x99, 38, 100)));
    EXPECT_FALSE(decoder.Decode(Message(1020, 0x99, 38, 100)));
}

// The readme: a hit less than DebounceMs after the last one of its lane is a double trigger;
// one exactly DebounceMs later is a new stroke, and 0 holds nothing back.
TEST(KitDecoding, DebounceWindowEndsExactlyAtItsLength) {
    KitSettings kit = DefaultKit();
    kit.DebounceMs = 25;
    KitDecoder decoder(kit);
    EXPECT_TRUE(decoder.Decode(Message(2000, 0x99, 38, 100)));
    EXPECT_FALSE(decoder.Decode(Message(2024, 0x99, 38, 100)));
    EXPECT_TRUE(decoder.Decode(Message(2025, 0x99, 38, 100)));
    kit.DebounceMs = 0;
    KitDecoder undamped(kit);
    EXPECT_TRUE(undamped.Decode(Message(3000, 0x99, 38, 100)));
    EXPECT_TRUE(undamped.Decode(Message(3000, 0x99, 40, 100)));
}

class KitGame : public ::testing::Test {
protected:
    void Start(bool precise) {
        Game.reset();
        SongPath = (Folder.Path() / "Songs" / "kit.mid").string();
        HarnessOptions options;
        options.Settings.FullScreen = false;
        options.Settings.KeyA = {65, 83, 68, 70, 71, 72, 74};
        options.Settings.PreciseInput = precise;
        options.Settings.MidiIn = "Test Kit";
        Game = std::make_unique<GameHarness>(Folder.Path(), options);
        Game->Step();
        Game->Form().Play->Judgement.OnStrike = [this](const StrikeRecord& r) { Strikes.push_back(r); };
    }

    void EnterPlay(const std::string& song = "demo.mid") {
        Game->Form().Play->State.AutoLane.fill(false);
        Game->ClearMidiMessages();
        Game->EnterPlay((Folder.Path() / "Songs" / song).string());
        // The song's first tick plays after the pre-roll; the tests strike from that moment on.
        SongStart = Game->Form().MidiDrive->SongStartTime();
        while (Game->Clock().Now() + 33 <= SongStart)
            Game->Step();
    }

    TestGameFolder Folder{"Kit"};
    std::string SongPath;
    std::unique_ptr<GameHarness> Game;
    std::vector<StrikeRecord> Strikes;
    std::uint32_t SongStart = 0;
};

TEST_F(KitGame, PadStrikesAtItsOwnMomentAtItsVelocityInBothInputModes) {
    for (bool precise : {true, false}) {
        SCOPED_TRACE(precise ? "precise" : "written");
        Strikes.clear();
        Start(precise);
        ASSERT_EQ(Game->MidiIn().OpenPort(), "Test Kit");
        EnterPlay();
        // The harness's song has a snare at tick 0: strike it 5 ms into the song.
        Game->KitHitAt(SongStart + 5 - Game->Clock().Now(), 38, 77);
        Game->Step(3);
        ASSERT_EQ(Strikes.size(), 1u);
        EXPECT_EQ(*Strikes[0].Time, SongStart + 5);
        EXPECT_NEAR(Strikes[0].Position, 5 * 0.96, 1.0);
        EXPECT_EQ(Game->Form().Play->State.PerfectCount, 1);
        int snares = 0;
        for (const RecordedMessage& m : Game->MidiMessages())
            if (!m.IsLong && m.Status() == 0x99 && m.Data1() == 38) {
                ++snares;
                EXPECT_EQ(m.Data2(), 77);
            }
        EXPECT_EQ(snares, 1);
    }
}

TEST_F(KitGame, PadsDriveTheMenusThroughTheLanesButtonsAndThePedalIsEnter) {
    Start(true);
    ASSERT_EQ(Game->State(), ssOpening);
    Game->KitHitAt(3, 44);
    EXPECT_TRUE(Game->StepUntil(ssTitle, 60));
    Game->Step(10);
    Game->KitHitAt(3, 42); // hi-hat: the left button
    Game->Step();
    EXPECT_EQ(Game->Form().Input.Holds.KeyHoldA[0], 1);
    Game->Step();
    EXPECT_EQ(Game->Form().Input.Holds.KeyHoldA[0], 0);
    Game->KitHitAt(3, 44);
    EXPECT_TRUE(Game->StepUntil(ssFolderSelect, 60));
}

TEST_F(KitGame, VanishedPortLeavesTheKeyboardPlayingAndSaysSoOnce) {
    // A song long enough to go on: two and a half minutes of clicks.
    const std::vector<std::uint8_t> clicks = ClickSongBytes(64);
    std::ofstream(Folder.Path() / "Songs" / "long.mid", std::ios::binary)
        .write(reinterpret_cast<const char*>(clicks.data()), std::streamsize(clicks.size()));
    Start(true);
    EnterPlay("long.mid");
    Game->Step(5);
    Game->MidiIn().Vanish();
    Game->Step(40);
    EXPECT_EQ(Game->State(), ssPlay);
    EXPECT_EQ(Game->Form().Notice(), "MIDI入力が切断されました");
    EXPECT_TRUE(Game->MidiIn().OpenPort().empty());
    Game->Step(250);
    EXPECT_TRUE(Game->Form().Notice().empty());
    const std::size_t before = Strikes.size();
    Game->KeyDownAt(4, 83);
    Game->Step();
    Game->ReleaseKey(83);
    EXPECT_EQ(Strikes.size(), before + 1);
}

TEST_F(KitGame, WithoutAnyInputPortThereIsNoKitAndNoMessage) {
    Game.reset();
    HarnessOptions options;
    options.Settings.FullScreen = false;
    options.Settings.MidiIn = "Test Kit";
    options.MidiInPorts = {};
    Game = std::make_unique<GameHarness>(Folder.Path(), options);
    Game->Step(3);
    EXPECT_TRUE(Game->Form().Notice().empty());
    EXPECT_TRUE(Game->MidiIn().OpenPort().empty());
}

} // namespace tamtara::testing
