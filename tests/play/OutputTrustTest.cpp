// Plays of real-world-style songs through the headless window: stray data bytes do not stop a
// play, and an output error that does stop one is told, neither cleared nor recorded.
#include "app/SelectionLabels.h"
#include "harness/GameHarness.h"
#include "midi/SmfBuilder.h"
#include "records/RecordStore.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace tamtara::testing {

namespace {

constexpr std::int32_t SnareKey = 83;
constexpr double TicksPerMs = 0.96; // 480 ticks a quarter at 120
constexpr int FirstBeat = 4;
constexpr int Snares = 8;

// As files from the wild have them: each track opens with a stray pair of data bytes where no
// running status is in force; the accompaniment's note and the snares on beats 4 to 11 follow.
Bytes StraySong() {
    Bytes drums = Ev(0, {0x45, 0x01});
    for (int beat = FirstBeat; beat < FirstBeat + Snares; ++beat)
        drums =
            Cat({drums, Ev(beat == FirstBeat ? 480 * beat : 360, {0x99, 38, 100}), Ev(120, {0x89, 38, 0})});
    return Smf(480, {Cat({Tempo(0, 500000), Ev(0, {0x01, 0x3F}), Ev(0, {0xC0, 5}), Ev(960, {0x90, 60, 90}),
                          Ev(960, {0x80, 60, 0})}),
                     drums});
}

class OutputTrust : public ::testing::Test {
protected:
    OutputTrust() {
        SongPath = (Folder.Path() / "Songs" / "stray.mid").string();
        const Bytes bytes = StraySong();
        std::ofstream(SongPath, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        HarnessOptions options;
        options.Settings.FullScreen = false;
        options.Settings.PreciseInput = true;
        options.Settings.KeyA = {65, SnareKey, 68, 70, 71, 72, 74};
        Game = std::make_unique<GameHarness>(Folder.Path(), options);
        Game->Step();
        Play().AutoLane.fill(true);
        Play().AutoLane[dpSnare] = false;
        Play().AutoPlayMode = false;
        Play().DemoMode = false;
    }

    PlayState& Play() { return Game->Form().Play->State; }

    std::vector<SongSummary> StoredSongs() {
        Game->Form().Records->WaitIdle();
        return TRecordStore::Open((Folder.Path() / RecordsFileName).string())->Songs();
    }

    TestGameFolder Folder{"OutputTrust"};
    std::string SongPath;
    std::unique_ptr<GameHarness> Game;
};

} // namespace

TEST_F(OutputTrust, ASongWithStrayBytesPlaysToItsEndAndIsGraded) {
    Game->EnterPlay(SongPath);
    ASSERT_EQ(Game->State(), ssPlay);
    const std::uint32_t start = Game->Form().MidiDrive->SongStartTime();
    for (int beat = FirstBeat; beat < FirstBeat + Snares && Game->State() == ssPlay; ++beat) {
        const auto time = start + static_cast<std::uint32_t>(480 * beat / TicksPerMs);
        while (Game->Clock().Now() + 33 <= time)
            Game->Step();
        Game->KeyDownAt(time - Game->Clock().Now(), SnareKey);
        Game->Step();
        Game->ReleaseKey(SnareKey);
    }
    ASSERT_TRUE(Game->StepUntil(ssCleared, 300));
    EXPECT_EQ(Play().PerfectCount, Snares);
    EXPECT_EQ(Play().MissCount, 0);
    for (const RecordedMessage& m : Game->MidiMessages())
        EXPECT_TRUE(m.IsLong || m.Status() >= 0x80) << std::hex << m.Short;
}

TEST_F(OutputTrust, AnOutputErrorThatStopsThePlayIsToldNeitherClearedNorRecorded) {
    Game->EnterPlay(SongPath);
    ASSERT_EQ(Game->State(), ssPlay);
    // The accompaniment's note-on, two beats in, cannot be sent.
    Game->MidiDriver().SetFailures({.ShortMsg = MidiError::NoDevice, .ShortMsgKind = 0x90});
    for (int frame = 0; frame < 300 && Game->State() == ssPlay; ++frame)
        Game->Step();
    EXPECT_NE(Game->State(), ssPlay);
    EXPECT_NE(Game->State(), ssCleared);
    EXPECT_EQ(Game->Form().Notice(), OutputStoppedPlayText);
    Game->MidiDriver().SetFailures({});
    for (int frame = 0; frame < 80; ++frame)
        Game->Step();
    EXPECT_NE(Game->State(), ssCleared);
    EXPECT_NE(Game->State(), ssResult);
    EXPECT_TRUE(StoredSongs().empty());
}

} // namespace tamtara::testing
