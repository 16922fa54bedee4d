// The sequencer stepped cycle by cycle on a fake clock into the recording driver.
#include "midi/MidiDrive.h"
#include "midi/SmfBuilder.h"
#include "support/doubles/RecordingMidiDriver.h"

#include "FakeClock.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace tamtara {
namespace {

using namespace tamtara::testing;

class MidiDriveTest : public ::testing::Test {
protected:
    MidiDriveTest() { Drive.OpenOutput(MidiMapperId); }

    // What the tests' plays are given.
    PlaySetup Options;

    void Load(const Bytes& bytes) {
        TMemoryStream stream(bytes);
        Drive.LoadFromStream(stream);
    }
    // Plays and forgets what Play itself sent.
    void PlayQuietly() {
        Drive.Play(Options);
        Driver.ClearMessages();
    }
    void Cycle(std::uint32_t advanceMs) {
        Clock.Advance(advanceMs);
        Drive.RunCycle();
    }
    std::vector<RecordedMessage> Shorts(std::uint8_t status) {
        std::vector<RecordedMessage> out;
        for (auto& m : Driver.Messages())
            if (!m.IsLong && m.Status() == status) out.push_back(m);
        return out;
    }
    bool Sent(std::uint8_t status, std::uint8_t d1, std::uint8_t d2) {
        for (auto& m : Driver.Messages())
            if (!m.IsLong && m.Status() == status && m.Data1() == d1 && m.Data2() == d2) return true;
        return false;
    }

    FakeClock Clock;
    RecordingMidiDriver Driver{Clock};
    TMidiDrive Drive{Driver, Clock, false};
};

// One track at 120 BPM, 480 ticks per quarter, holding the given events and a late controller
// that keeps the song going (a late note-off would not: a song ends at its last sound).
Bytes Song(const Bytes& events, std::uint32_t tempo = 500000) {
    return Smf(480, {Cat({Tempo(0, tempo), events, Ev(100000, {0xB0, 1, 0})})});
}

TEST_F(MidiDriveTest, PositionAdvancesByElapsedTimeAndTempo) {
    Load(Song({}));
    PlayQuietly();
    EXPECT_EQ(Drive.CurrentTempo(), 120);
    Cycle(10);
    EXPECT_NEAR(Drive.CurrentPosition(), 9.6, 1e-9);
    Cycle(0); // the previous cycle slept SleepInterval
    EXPECT_NEAR(Drive.CurrentPosition(), 9.6 + 1.92, 1e-9);
    EXPECT_EQ(Drive.CurrentTick(), 11);
    EXPECT_EQ(Drive.CycleCount(), 2);
}

TEST_F(MidiDriveTest, SongWithoutTempoPlaysAt120) {
    Load(Smf(480, {Ev(5000, {0x90, 1, 1})}));
    PlayQuietly();
    EXPECT_EQ(Drive.CurrentTempo(), 120);
    Cycle(100);
    EXPECT_NEAR(Drive.CurrentPosition(), 96.0, 1e-9);
}

TEST_F(MidiDriveTest, TempoChangesApplyWhenReached) {
    Load(Smf(480, {Cat({Tempo(0, 500000), Tempo(96, 250000), Ev(100000, {0xB0, 1, 0})})}));
    PlayQuietly();
    Cycle(100); // reaches tick 96 at 120 BPM
    EXPECT_EQ(Drive.CurrentTempo(), 120);
    Cycle(0);
    EXPECT_EQ(Drive.CurrentTempo(), 240);
    EXPECT_NEAR(Drive.CurrentPosition(), 96.0 + 2 * 1.92, 1e-9);
}

TEST_F(MidiDriveTest, DataThatIsNotMidiCannotBePlayed) {
    Load(Bytes{'n', 'o', 'p', 'e'});
    EXPECT_TRUE(Drive.IsLoaded());
    Drive.Play(Options);
    EXPECT_FALSE(Drive.IsPlaying());
    EXPECT_EQ(Driver.MessageCount(), 0u);
}

TEST_F(MidiDriveTest, PlayWithoutSongOrWhilePlayingDoesNothing) {
    Drive.Play(Options);
    EXPECT_FALSE(Drive.IsPlaying());
    Load(Song({}));
    Drive.Play(Options);
    const auto sent = Driver.MessageCount();
    Drive.Play(Options);
    EXPECT_EQ(Driver.MessageCount(), sent);
}

TEST_F(MidiDriveTest, SkipLeadInRunsTripleSpeedUntilASixteenthBeforeFirstNote) {
    Options.Style.SkipLeadIn = true;
    Load(Smf(480, {Cat({Tempo(0, 500000), Ev(1920, {0x90, 60, 100}), Ev(100000, {0x80, 60, 0})})}));
    PlayQuietly();
    Cycle(10);
    EXPECT_NEAR(Drive.CurrentPosition(), 28.8, 1e-9);
    while (Drive.CurrentPosition() < 1800)
        Cycle(0);
    const double before = Drive.CurrentPosition();
    Cycle(0);
    EXPECT_NEAR(Drive.CurrentPosition() - before, 1.92, 1e-9);
}

TEST_F(MidiDriveTest, SkipLeadInWithoutNotesUsesTheFallbackTick) {
    Options.Style.SkipLeadIn = true;
    // A song that goes on past tick 100000 without a note.
    Load(Smf(480, {Cat({Ev(10, {0xB0, 1, 1}), Ev(199990, {0xB0, 1, 2})})}));
    Drive.Play(Options);
    // Triple speed (2.88 ticks a millisecond at 120 BPM) up to a sixteenth before tick 100000.
    for (int cycle = 0; Drive.CurrentPosition() < 100000 - 120 - 100 && cycle < 100000; ++cycle)
        Cycle(10);
    EXPECT_NEAR(Drive.TicksPerMillisecond(), 2.88, 1e-9);
    for (int cycle = 0; Drive.CurrentPosition() < 100000 - 120 && cycle < 100000; ++cycle)
        Cycle(1);
    EXPECT_NEAR(Drive.TicksPerMillisecond(), 0.96, 1e-9);
}

TEST_F(MidiDriveTest, PlaySetsChannelVolumesWithoutResets) {
    Load(Song({}));
    Drive.Play(Options);
    auto messages = Driver.Messages();
    ASSERT_EQ(messages.size(), 16u);
    for (int c = 0; c < 16; ++c) {
        EXPECT_EQ(messages[c].Status(), 0xB0 + c);
        EXPECT_EQ(messages[c].Data1(), 7);
        EXPECT_EQ(messages[c].Data2(), 100);
        EXPECT_EQ(Drive.ChannelVolume(c), 100);
        EXPECT_EQ(Drive.ChannelPan(c), 64);
        EXPECT_EQ(Drive.ChannelProgram(c), 128);
    }
    EXPECT_EQ(Drive.FadeLevel(), 10000.0);
}

TEST_F(MidiDriveTest, ResetsGoOutInOrderAndReplaceTheVolumeMessages) {
    Options.Style.GMReset = true;
    Options.Style.GSReset = true;
    Load(Song({}));
    const auto before = Clock.Now();
    Drive.Play(Options);
    auto messages = Driver.Messages();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].Bytes,
              std::vector<std::uint8_t>(GMSystemOnMessage.begin(), GMSystemOnMessage.end()));
    EXPECT_EQ(messages[1].Bytes, std::vector<std::uint8_t>(GSResetMessage.begin(), GSResetMessage.end()));
    EXPECT_EQ(messages[1].Time - messages[0].Time, 60u);
    EXPECT_EQ(Clock.Now() - before, 60u + 60u + 16u);
    EXPECT_EQ(Drive.ChannelVolume(9), 100);
    EXPECT_EQ(Drive.ProcessCompletions(), 2);
}

TEST_F(MidiDriveTest, DrumNotesAreAnnouncedEightQuartersAheadAndWithheldWhenDue) {
    Options.Style.AnnounceNotes = true;
    std::vector<int> ahead, due;
    Drive.Hooks.DrumNoteAhead = [&](const SequencerEvent* slot) { ahead.push_back(slot->Tick); };
    Drive.Hooks.DrumNote = [&](const SequencerEvent* slot) { due.push_back(slot->Tick); };
    Load(Song(Cat({Ev(100, {0x99, 38, 100}), Ev(3900, {0x99, 36, 0})})));
    PlayQuietly();
    EXPECT_EQ(ahead, std::vector<int>{100}); // 4000 lies past 8 × 480
    Cycle(200);                              // position 192: the first note is due, the window reaches 4032
    EXPECT_EQ(due, std::vector<int>{100});
    EXPECT_EQ(ahead, (std::vector<int>{100, 4000}));
    EXPECT_TRUE(Shorts(0x99).empty());
}

TEST_F(MidiDriveTest, WithheldDrumNoteWithoutCallbackIsNeitherSentNorReported) {
    Options.Style.AnnounceNotes = true;
    Load(Song(Ev(0, {0x99, 42, 100})));
    PlayQuietly();
    Cycle(1);
    EXPECT_TRUE(Shorts(0x99).empty());
}

TEST_F(MidiDriveTest, ThePlaysLaneMapDecidesWhichDrumNotesAreTheGames) {
    // The ride (51) has a lane in the extended map only: announced and withheld under it, sent
    // as any other note under the standard map.
    std::vector<int> ahead;
    Drive.Hooks.DrumNoteAhead = [&](const SequencerEvent* slot) { ahead.push_back(slot->Event.Data1); };
    Options.Style.AnnounceNotes = true;
    for (const LaneMap lanes : {LaneMap::Extended(), LaneMap::Standard()}) {
        ahead.clear();
        Load(Song(Cat({Ev(0, {0x99, 51, 100}), Ev(0, {0x99, 36, 100})})));
        Options.Lanes = lanes;
        PlayQuietly();
        Cycle(1);
        const std::vector<int> expected =
            lanes.IsExtended() ? std::vector<int>{51, 36} : std::vector<int>{36};
        EXPECT_EQ(ahead, expected) << lanes.IsExtended();
        EXPECT_EQ(Sent(0x99, 51, 100), !lanes.IsExtended());
        EXPECT_FALSE(Sent(0x99, 36, 100));
        Drive.Stop();
        Driver.ClearMessages();
    }
}

TEST_F(MidiDriveTest, DrumNotesPlayNormallyWithoutAnnounceNotes) {
    int calls = 0;
    Drive.Hooks.DrumNoteAhead = [&](const SequencerEvent*) { ++calls; };
    Drive.Hooks.DrumNote = [&](const SequencerEvent*) { ++calls; };
    Drive.Hooks.NoteOn = [&](const SequencerEvent*) { ++calls; };
    Load(Song(Cat({Ev(0, {0x99, 38, 100}), Ev(0, {0x90, 60, 100})})));
    PlayQuietly();
    Cycle(1);
    EXPECT_EQ(calls, 0);
    EXPECT_TRUE(Sent(0x99, 38, 100));
    EXPECT_TRUE(Sent(0x90, 60, 100));
}

TEST_F(MidiDriveTest, OtherNotesAreReportedThenSent) {
    Options.Style.AnnounceNotes = true;
    std::vector<int> noteOns;
    int drumCalls = 0;
    Drive.Hooks.NoteOn = [&](const SequencerEvent* slot) {
        EXPECT_FALSE(Sent(slot->Event.Status, slot->Event.Data1, slot->Event.Data2));
        noteOns.push_back(slot->Event.Status);
    };
    Drive.Hooks.DrumNote = [&](const SequencerEvent*) { ++drumCalls; };
    Drive.Hooks.DrumNoteAhead = [&](const SequencerEvent*) { ++drumCalls; };
    Load(Song(
        Cat({Ev(0, {0x99, 37, 90}), Ev(0, {0x90, 60, 100}), Ev(0, {0x9F, 61, 0}), Ev(0, {0x89, 38, 0})})));
    PlayQuietly();
    Cycle(1);
    EXPECT_EQ(noteOns, (std::vector<int>{0x90, 0x9F}));
    EXPECT_EQ(drumCalls, 0);
    EXPECT_TRUE(Sent(0x99, 37, 90));
    EXPECT_TRUE(Sent(0x90, 60, 100));
    EXPECT_TRUE(Sent(0x9F, 61, 0));
    EXPECT_TRUE(Sent(0x89, 38, 0));
}

TEST_F(MidiDriveTest, BankSelectIsDroppedOnEveryChannelWhenAsked) {
    Drive.SetNoBankSelect(true);
    Load(Song(Cat({Ev(0, {0xB0, 0, 1}), Ev(0, {0xB5, 32, 2}), Ev(0, {0xB5, 1, 3}), Ev(0, {0xBF, 0, 4})})));
    PlayQuietly();
    Cycle(1);
    auto messages = Driver.Messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].Short, 0xB5u | 1u << 8 | 3u << 16);
}

TEST_F(MidiDriveTest, BankSelectGoesOutByDefault) {
    Load(Song(Cat({Ev(0, {0xB0, 0, 1}), Ev(0, {0xB0, 32, 2})})));
    PlayQuietly();
    Cycle(1);
    EXPECT_TRUE(Sent(0xB0, 0, 1));
    EXPECT_TRUE(Sent(0xB0, 32, 2));
}

TEST_F(MidiDriveTest, ChannelStateFollowsTheSong) {
    Load(Song(Cat({Ev(0, {0xB3, 7, 90}), Ev(0, {0xB3, 10, 20}), Ev(0, {0xC3, 33})})));
    PlayQuietly();
    Cycle(1);
    EXPECT_EQ(Drive.ChannelVolume(3), 90);
    EXPECT_EQ(Drive.ChannelPan(3), 20);
    EXPECT_EQ(Drive.ChannelProgram(3), 33);
    EXPECT_EQ(Drive.ChannelProgram(4), 128);
    EXPECT_EQ(Drive.ChannelVolume(16), 0);
    EXPECT_EQ(Drive.ChannelVolume(-1), 0);
}

TEST_F(MidiDriveTest, VolumeIsScaledByTheFadeLevel) {
    Load(Song(Ev(60, {0xB2, 7, 100})));
    PlayQuietly();
    // The twentieth cycle, 38 ms on, sets the level to 10000 - 38 × 125.
    Drive.FadeOut(80);
    for (int i = 0; i < 20; ++i)
        Cycle(0);
    ASSERT_EQ(Drive.FadeLevel(), 5250.0);
    Driver.ClearMessages();
    Cycle(30);
    EXPECT_TRUE(Sent(0xB2, 7, 52));
    EXPECT_EQ(Drive.ChannelVolume(2), 100);
}

TEST_F(MidiDriveTest, FadeOutLowersTheLevelEveryTwentyCyclesByTheTimeSinceThenStops) {
    Load(Song({}));
    PlayQuietly();
    Drive.FadeOut(5000);
    EXPECT_TRUE(Drive.IsFading());
    for (int i = 0; i < 19; ++i)
        Cycle(0);
    EXPECT_EQ(Drive.FadeLevel(), 10000.0);
    EXPECT_TRUE(Driver.Messages().empty());
    // The twentieth cycle comes 38 ms after FadeOut (nineteen sleeps of 2 ms): 2 per ms.
    Cycle(0);
    EXPECT_EQ(Drive.FadeLevel(), 9924.0);
    EXPECT_TRUE(Sent(0xB0, 7, 99));
    EXPECT_EQ(Shorts(0xB0).size(), 1u);
    int cycles = 20;
    while (Drive.IsPlaying() && cycles < 10000) {
        Cycle(0);
        ++cycles;
    }
    // 5000 ms after FadeOut is cycle 2501; the level is looked at every twentieth.
    EXPECT_EQ(cycles, 2520);
    EXPECT_FALSE(Drive.IsPlaying());
    EXPECT_EQ(Drive.FadeLevel(), 0.0);
    EXPECT_FALSE(Drive.IsFading());
    EXPECT_TRUE(Sent(0xBF, 123, 0));
}

TEST_F(MidiDriveTest, FadeOutOfZeroMillisecondsStillEnds) {
    Load(Song({}));
    PlayQuietly();
    Drive.FadeOut(0);
    for (int i = 0; i < 20; ++i)
        Cycle(0);
    EXPECT_FALSE(Drive.IsPlaying());
}

TEST_F(MidiDriveTest, SongEndsWhenEveryTrackHasEndedWithoutSilencing) {
    Load(Smf(480, {Ev(0, {0x90, 60, 100}), Ev(48, {0x80, 60, 0})}));
    PlayQuietly();
    Cycle(10);
    EXPECT_TRUE(Drive.IsPlaying());
    Cycle(50);
    EXPECT_FALSE(Drive.IsPlaying());
    EXPECT_TRUE(Shorts(0xB0).empty());
}

TEST_F(MidiDriveTest, LoopingSongRestartsAndNeverEndsByItself) {
    Options.Style.Loop = true;
    Load(Smf(480, {Ev(48, {0x90, 60, 100})}));
    PlayQuietly();
    for (int i = 0; i < 20; ++i)
        Cycle(10);
    EXPECT_TRUE(Drive.IsPlaying());
    EXPECT_GE(Shorts(0x90).size(), 3u);
    Drive.Stop();
    EXPECT_FALSE(Drive.IsPlaying());
}

TEST_F(MidiDriveTest, StopSilencesEveryChannelInOrder) {
    Load(Song({}));
    PlayQuietly();
    Drive.Stop();
    auto messages = Driver.Messages();
    ASSERT_EQ(messages.size(), 64u);
    const std::uint8_t order[] = {7, 120, 123, 121};
    for (int c = 0; c < 16; ++c)
        for (int k = 0; k < 4; ++k) {
            EXPECT_EQ(messages[c * 4 + k].Status(), 0xB0 + c);
            EXPECT_EQ(messages[c * 4 + k].Data1(), order[k]);
            EXPECT_EQ(messages[c * 4 + k].Data2(), 0);
        }
    Driver.ClearMessages();
    Drive.Stop();
    EXPECT_EQ(Driver.MessageCount(), 0u);
}

TEST_F(MidiDriveTest, RewindRestartsPositionButKeepsAnnouncements) {
    Options.Style.AnnounceNotes = true;
    int ahead = 0;
    Drive.Hooks.DrumNoteAhead = [&](const SequencerEvent*) { ++ahead; };
    Load(Song(Ev(10, {0x99, 38, 100})));
    PlayQuietly();
    Cycle(100);
    Drive.Rewind();
    EXPECT_EQ(Drive.CurrentPosition(), 0.0);
    EXPECT_EQ(Drive.CycleCount(), 0);
    EXPECT_EQ(Drive.Song().Tracks[0].PlayIndex, 0);
    EXPECT_EQ(ahead, 1);
}

TEST_F(MidiDriveTest, OnCycleRunsOncePerPlayingCycle) {
    int cycles = 0;
    Drive.Hooks.Cycle = [&](TMidiDrive& sender) {
        EXPECT_EQ(&sender, &Drive);
        ++cycles;
    };
    Load(Song({}));
    Cycle(1);
    EXPECT_EQ(cycles, 0);
    PlayQuietly();
    Cycle(1);
    Cycle(1);
    EXPECT_EQ(cycles, 2);
}

TEST_F(MidiDriveTest, OpenOutputTwiceKeepsTheFirstPort) {
    TMidiOutput* first = Drive.Output();
    ASSERT_NE(first, nullptr);
    Drive.OpenOutput(0);
    EXPECT_EQ(Drive.Output(), first);
    EXPECT_EQ(Drive.Output()->DeviceID(), MidiMapperId);
}

TEST_F(MidiDriveTest, InvalidDeviceRaisesAndCanBeRetried) {
    TMidiDrive other(Driver, Clock, false);
    EXPECT_THROW(other.OpenOutput(5), EmidioutputError);
    EXPECT_EQ(other.Output(), nullptr);
    other.OpenOutput(0);
    ASSERT_NE(other.Output(), nullptr);
    EXPECT_TRUE(other.Output()->IsOpen());
}

TEST_F(MidiDriveTest, OutputErrorDuringACycleStopsTheSongAndIsReported) {
    Load(Song(Ev(0, {0x90, 60, 100})));
    PlayQuietly();
    Driver.SetFailures({.ShortMsg = MidiError::NoDevice});
    Cycle(1);
    EXPECT_FALSE(Drive.IsPlaying());
    EXPECT_NE(Drive.LastError().find("MIDI output error during playback"), std::string::npos);
    EXPECT_EQ(Drive.ErrorCount(), 1u);
    Driver.SetFailures({});
    Drive.Play(Options);
    EXPECT_TRUE(Drive.IsPlaying());
}

class QueuedFileTest : public MidiDriveTest {
protected:
    ~QueuedFileTest() override { std::filesystem::remove(Path); }
    std::string Path =
        (std::filesystem::temp_directory_path() / ("tamtara-midi-" + std::to_string(::getpid()) + ".mid"))
            .string();
};

TEST_F(QueuedFileTest, FileThatCannotBeOpenedIsReportedAndTheNextRequestPlays) {
    Drive.QueuePlay({Path + ".missing", {}});
    Cycle(0);
    EXPECT_FALSE(Drive.IsPlaying());
    EXPECT_NE(Drive.LastError().find(".missing"), std::string::npos);

    const Bytes song = Song(Ev(0, {0x90, 60, 100}));
    std::ofstream(Path, std::ios::binary).write(reinterpret_cast<const char*>(song.data()), song.size());
    Drive.QueuePlay({Path, {}});
    Cycle(0);
    EXPECT_TRUE(Drive.IsPlaying());
    EXPECT_FALSE(Drive.IsPlayQueued());
    Cycle(1);
    EXPECT_TRUE(Sent(0x90, 60, 100));
}

TEST_F(QueuedFileTest, LoadingStopsTheCurrentSong) {
    Load(Song({}));
    PlayQuietly();
    const Bytes song = Smf(96, {Ev(0, {0x91, 1, 1})});
    std::ofstream(Path, std::ios::binary).write(reinterpret_cast<const char*>(song.data()), song.size());
    Drive.LoadFromFile(Path);
    EXPECT_FALSE(Drive.IsPlaying());
    EXPECT_TRUE(Sent(0xB0, 123, 0));
    EXPECT_EQ(Drive.Division(), 96);
    EXPECT_THROW(Drive.LoadFromFile(Path + ".missing"), EStreamError);
    EXPECT_EQ(Drive.Division(), 96);
}

TEST_F(QueuedFileTest, AQueuedPlayTakesItsOwnSetupAndNothingOfThePracticeBeforeIt) {
    // A practice play: a loop at half speed in wait mode, drum notes the game's.
    Load(Song(Ev(0, {0x99, 38, 100})));
    Options.Style = PlayStyle{.Loop = true, .AnnounceNotes = true};
    Options.Practice.TempoScale = 0.5;
    Options.Practice.LoopFromTick = 0;
    Options.Practice.LoopToTick = 480;
    int holds = 0;
    Options.HoldsAt = [&holds](const SequencerEvent&) { return ++holds > 0; };
    PlayQuietly();
    ASSERT_TRUE(Drive.OnPracticeTimeline());
    ASSERT_TRUE(Drive.HasPracticeHooks());

    // A jingle asked for with a plain setup plays as written: its drum note is sent, at the
    // song's own speed, and nothing holds.
    const Bytes jingle = Smf(480, {Cat({Tempo(0, 500000), Ev(0, {0x99, 42, 90}), Ev(960, {0x99, 42, 0})})});
    std::ofstream(Path, std::ios::binary).write(reinterpret_cast<const char*>(jingle.data()), jingle.size());
    PlayRequest request{Path, {}};
    request.Setup.Style.GMReset = true;
    Drive.QueuePlay(request);
    EXPECT_TRUE(Drive.Style().GMReset);
    EXPECT_FALSE(Drive.Style().AnnounceNotes);
    Cycle(0);
    ASSERT_TRUE(Drive.IsPlaying());
    EXPECT_FALSE(Drive.OnPracticeTimeline());
    EXPECT_FALSE(Drive.HasPracticeHooks());
    EXPECT_EQ(Drive.Practice().TempoScale, 1.0);
    Cycle(1);
    EXPECT_TRUE(Sent(0x99, 42, 90));
    EXPECT_FALSE(Drive.IsHolding());
    EXPECT_EQ(holds, 0);
    Cycle(100);
    EXPECT_NEAR(Drive.CurrentPosition(), 96.0 + 1.92 * 2, 5.0);
}

TEST(MidiDriveThread, StartsAndStopsCleanly) {
    RecordingMidiDriver driver(SystemClock::Instance());
    TMidiDrive drive(driver, SystemClock::Instance());
    drive.OpenOutput(MidiMapperId);
}

// The pre-roll: the position starts below 0, the first tick plays (and is reported) once it has
// counted up, and the song clock reads 0 then.
TEST_F(MidiDriveTest, PreRollDelaysTheFirstTickByExactlyItsLength) {
    Load(Song({Ev(0, {0x90, 60, 100})}));
    int starts = 0;
    double startPosition = -1.0;
    Drive.Hooks.SongStart = [&](TMidiDrive& d) {
        ++starts;
        startPosition = d.CurrentPosition();
    };
    Options.PreRollTicks = 480; // half a second at 120 BPM
    Drive.Play(Options);
    Driver.ClearMessages();
    const std::uint32_t played = Clock.Now();
    EXPECT_EQ(Drive.SongStartTime(), played + 500);
    EXPECT_EQ(Drive.CurrentTick(), -480);
    EXPECT_EQ(Drive.SongMilliseconds(played), -500);
    // Each pass sleeps 2 ms after its step.
    while (Clock.Now() < played + 498)
        Cycle(0);
    EXPECT_EQ(starts, 0);
    EXPECT_FALSE(Sent(0x90, 60, 100));
    Cycle(2);
    EXPECT_EQ(starts, 1);
    EXPECT_NEAR(startPosition, 0.0, 2.0);
    EXPECT_GE(startPosition, 0.0);
    EXPECT_TRUE(Sent(0x90, 60, 100));
    EXPECT_EQ(Drive.SongMilliseconds(Clock.Now()), std::int32_t(Clock.Now() - played) - 500);
    Cycle(0);
    EXPECT_EQ(starts, 1);
}

// A pause freezes the position and the song clock and silences the notes; the resume counts
// one bar in the song's meter on channel 10, then the song goes on from the very position.
TEST_F(MidiDriveTest, PauseFreezesThePositionAndResumeCountsInOneBarThenContinuesExactly) {
    // 3/4 from the start; a note at tick 2000 must not sound before the song goes on.
    const Bytes meter = Meta(0, 0x58, {3, 2, 24, 8});
    Load(Song(Cat({meter, Ev(2000, {0x90, 62, 100})})));
    PlayQuietly();
    while (Drive.CurrentPosition() < 1200)
        Cycle(0); // the second beat of the second bar, and a quarter of a beat
    const double paused = Drive.CurrentPosition();
    Drive.Pause();
    EXPECT_TRUE(Drive.IsPaused());
    EXPECT_EQ(Shorts(0xB0).size(), 2u);
    EXPECT_TRUE(Sent(0xB9, 123, 0));
    EXPECT_FALSE(Sent(0xB9, 7, 0)); // volumes stay as the song set them
    const std::int32_t songMs = Drive.SongMilliseconds(Clock.Now());
    for (int i = 0; i < 1000; ++i)
        Cycle(2);
    EXPECT_EQ(Drive.CurrentPosition(), paused);
    EXPECT_EQ(Drive.SongMilliseconds(Clock.Now()), songMs);
    Driver.ClearMessages();

    Drive.Resume();
    const std::uint32_t resumed = Clock.Now();
    EXPECT_TRUE(Drive.IsCountingIn());
    // A bar of 3/4 at 120 BPM: 1500 ms standing still, with clicks on the meter's beats.
    while (Drive.IsPaused() && Clock.Now() - resumed < 1600) {
        EXPECT_EQ(Drive.CurrentPosition(), paused);
        Cycle(0);
    }
    EXPECT_NEAR(double(Clock.Now() - resumed), 1500.0, 2.0);
    const auto clicks = Shorts(0x99);
    ASSERT_EQ(clicks.size(), 3u);
    // The silent bar runs from tick -240 to the paused position: clicks at ticks 0, 480, 960.
    EXPECT_EQ(clicks[0].Data1(), TMidiDrive::CountInDownbeatNote);
    EXPECT_EQ(clicks[1].Data1(), TMidiDrive::CountInBeatNote);
    EXPECT_EQ(clicks[2].Data1(), TMidiDrive::CountInBeatNote);
    const double first = resumed + (-(paused - 1440.0)) / 0.96;
    EXPECT_NEAR(double(clicks[0].Time), first, 2.5);
    EXPECT_NEAR(double(clicks[1].Time), first + 500.0, 2.5);
    EXPECT_NEAR(double(clicks[2].Time), first + 1000.0, 2.5);
    EXPECT_FALSE(Drive.IsPaused());
    // The cycle that ended the count-in carried the song on only by the time past its end.
    EXPECT_GE(Drive.CurrentPosition(), paused);
    EXPECT_LE(Drive.CurrentPosition(), paused + 1.92 + 1e-9);
    // The song clock goes on with it (the pass slept 2 ms after its step).
    EXPECT_NEAR(Drive.SongMilliseconds(Clock.Now()), songMs + (Drive.CurrentPosition() - paused) / 0.96 + 2.0,
                1.0);
    EXPECT_FALSE(Sent(0x90, 62, 100));
    while (Drive.CurrentPosition() < 2000)
        Cycle(0);
    EXPECT_TRUE(Sent(0x90, 62, 100));
}

TEST_F(MidiDriveTest, PauseOfAStoppedSongAndResumeWithoutPauseDoNothing) {
    Load(Song({}));
    Drive.Pause();
    EXPECT_FALSE(Drive.IsPaused());
    PlayQuietly();
    Drive.Resume();
    EXPECT_FALSE(Drive.IsPaused());
    Drive.Pause();
    Drive.Stop();
    EXPECT_FALSE(Drive.IsPaused());
}

} // namespace
} // namespace tamtara

namespace tamtara {
namespace {

// The sequencer runs on microseconds: a song started between two milliseconds and stepped by
// late, uneven cycles sends each event stamped with the very moment it fell due, on the default
// path and on the practice timeline; sends outside the song carry no stamp.
TEST_F(MidiDriveTest, SongEventsCarryTheMicrosecondTheyFellDue) {
    // A note-on at tick 480 (500 ms at 120 BPM) and one at 720 (750 ms).
    Load(Song(Cat({Ev(480, {0x90, 60, 100}), Ev(240, {0x90, 62, 100})})));
    Clock.AdvanceMicros(250);
    Drive.Play(Options);
    // Tick 0 is at the end of Play (its sends take their time), between two milliseconds.
    const std::int64_t start = Clock.NowMicros();
    ASSERT_NE(start % 1000, 0);
    for (const RecordedMessage& m : Driver.Messages())
        EXPECT_FALSE(m.Due.has_value()) << "Play's own sends go at once";
    Driver.ClearMessages();
    Clock.AdvanceMicros(1234);
    Drive.RunCycle();
    // Ticks from microseconds, not from whole milliseconds.
    EXPECT_NEAR(Drive.CurrentPosition(), 1.234 * 0.96, 1e-9);
    while (Shorts(0x90).size() < 2) {
        Clock.AdvanceMicros(7321);
        Drive.RunCycle();
    }
    const std::vector<RecordedMessage> notes = Shorts(0x90);
    ASSERT_TRUE(notes[0].Due && notes[1].Due);
    EXPECT_NEAR(static_cast<double>(*notes[0].Due - start), 500000.0, 2.0);
    EXPECT_NEAR(static_cast<double>(*notes[1].Due - start), 750000.0, 2.0);
    EXPECT_LE(*notes[1].Due, Clock.NowMicros());
}

TEST_F(MidiDriveTest, PracticeTimelineStampsEventsAtTheirScaledTime) {
    Load(Song(Ev(480, {0x90, 60, 100})));
    PracticePlan plan;
    plan.TempoScale = 0.5;
    Options.Practice = plan;
    PlayQuietly();
    const std::int64_t start = Clock.NowMicros();
    while (Shorts(0x90).empty()) {
        Clock.AdvanceMicros(3500);
        Drive.RunCycle();
    }
    const RecordedMessage note = Shorts(0x90).front();
    ASSERT_TRUE(note.Due.has_value());
    // At half the tempo the beat at tick 480 comes after a second; the timeline counts whole
    // milliseconds from the start, which began on one here.
    EXPECT_NEAR(static_cast<double>(*note.Due - start), 1000000.0, 2.0);
}

} // namespace
} // namespace tamtara
