// The practice timeline on a fake clock into the recording driver: tempo scaling, loops with
// their chase and note release, clicks at their beats, the mix and wait-mode holds.
#include "midi/MidiDrive.h"
#include "midi/SmfBuilder.h"
#include "support/doubles/RecordingMidiDriver.h"

#include "FakeClock.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace tamtara {
namespace {

using namespace tamtara::testing;

class PracticeTest : public ::testing::Test {
protected:
    PracticeTest() { Drive.OpenOutput(MidiMapperId); }

    // What the tests' plays are given besides the plan.
    PlaySetup Options;

    void Load(const Bytes& bytes) {
        TMemoryStream stream(bytes);
        Drive.LoadFromStream(stream);
    }
    // Plays with the plan; returns the clock time at which Play started the timeline and
    // forgets what Play sent.
    std::uint32_t Start(const PracticePlan& plan, std::int32_t preRoll = 0) {
        Options.Practice = plan;
        Options.PreRollTicks = preRoll;
        Drive.Play(Options);
        Driver.ClearMessages();
        return Drive.LastCycleTime();
    }
    // Runs cycles (each sleeps as the thread would) until the clock reaches `until` or the
    // song stops.
    void RunUntil(std::uint32_t until) {
        while (Drive.IsPlaying() && static_cast<std::int32_t>(Clock.Now() - until) < 0)
            Drive.RunCycle();
    }
    std::vector<RecordedMessage> Matching(std::uint8_t status, int data1 = -1) const {
        std::vector<RecordedMessage> out;
        for (const RecordedMessage& m : Driver.Messages())
            if (!m.IsLong && m.Status() == status && (data1 < 0 || m.Data1() == data1)) out.push_back(m);
        return out;
    }

    FakeClock Clock;
    RecordingMidiDriver Driver{Clock};
    TMidiDrive Drive{Driver, Clock, false};
};

TEST_F(PracticeTest, ScaledSongEndsAtItsLengthOverTheScale) {
    // 150 s at 120 BPM, then 150 s at 80 BPM: five minutes, its last note ending at 240000.
    const Bytes song = Smf(480, {Cat({Tempo(0, 500000), Ev(0, {0x90, 60, 100}), Tempo(144000, 750000),
                                      Ev(96000, {0x80, 60, 0})})});
    for (double scale : {0.5, 0.73, 1.25, 2.0}) {
        Load(song);
        PracticePlan plan;
        plan.TempoScale = scale;
        const std::uint32_t start = Start(plan);
        // Positions and times agree: at 50 % a second of song takes two.
        EXPECT_NEAR(Drive.PositionAt(start + 2000), 2000 * scale * 0.96, 1e-6);
        RunUntil(start + 700000);
        const auto ends = Matching(0x80, 60);
        ASSERT_EQ(ends.size(), 1u) << scale;
        const double expected = 300000.0 / scale;
        EXPECT_LE(std::abs((ends[0].Time - start) - expected), Drive.SleepInterval) << scale;
        EXPECT_LE(std::abs(Drive.SongMilliseconds(ends[0].Time) - expected), Drive.SleepInterval) << scale;
        EXPECT_FALSE(Drive.IsPlaying());
    }
}

TEST_F(PracticeTest, ScaleChangedMidSongKeepsThePositionAndRescalesTheRest) {
    Load(Smf(480, {Cat({Tempo(0, 500000), Ev(0, {0x90, 60, 100}), Ev(96000, {0x80, 60, 0})})}));
    PracticePlan plan;
    plan.TempoScale = 0.73;
    const std::uint32_t start = Start(plan);
    RunUntil(start + 30000);
    const std::uint32_t at = Clock.Now();
    const double before = Drive.PositionAt(at);
    Drive.SetTempoScale(1.5);
    EXPECT_NEAR(Drive.PositionAt(at), before, 1e-6);
    EXPECT_NEAR(Drive.PositionAt(at + 1000), before + 960.0 * 1.5, 1e-6);
    RunUntil(start + 200000);
    const auto ends = Matching(0x80, 60);
    ASSERT_EQ(ends.size(), 1u);
    const double expected = at + (96000.0 - before) / 960.0 * 1000.0 / 1.5;
    EXPECT_LE(std::abs(ends[0].Time - expected), Drive.SleepInterval);
}

// A loop over the second bar [1920, 3840) at 120 BPM: a note held across its end, controller,
// program and pitch bend state set before it and changed inside it.
Bytes LoopSong() {
    return Smf(
        480, {Cat({Tempo(0, 500000), Ev(0, {0xC0, 5}), Ev(0, {0xB0, 7, 90}), Ev(0, {0xB0, 64, 127}),
                   Ev(100, {0xE0, 0, 80}), Ev(1820, {0x90, 64, 100}), Ev(480, {0xC0, 9}),
                   Ev(0, {0xB0, 7, 50}), Ev(0, {0xE0, 0, 20}), Ev(0, {0xB0, 1, 70}), Ev(720, {0x90, 67, 100}),
                   Ev(1000, {0x80, 67, 0}), Ev(500, {0x80, 64, 0}), Ev(1920, {0x80, 1, 0})}),
              Cat({Ev(1920, {0x99, 38, 100}), Ev(1900, {0x99, 36, 100}), Ev(40, {0x99, 42, 100})})});
}

TEST_F(PracticeTest, LoopRestartsOnItsFirstTickWithTheStateChasedAndNotesReleased) {
    Load(LoopSong());
    std::vector<std::int32_t> announced;
    Options.Style.AnnounceNotes = true;
    Drive.Hooks.DrumNoteAhead = [&](const SequencerEvent* s) { announced.push_back(s->Tick); };
    std::vector<std::size_t> loopEnds;
    Options.OnLoopEnd = [&](TMidiDrive&) { loopEnds.push_back(Driver.MessageCount()); };
    PracticePlan plan;
    plan.LoopFromTick = 1920;
    plan.LoopToTick = 3840;
    const std::uint32_t start = Start(plan);
    // Play itself chased the state before the loop: program 5, volume 90, sustain, bend.
    EXPECT_EQ(Drive.ChannelProgram(0), 5);
    EXPECT_EQ(Drive.ChannelVolume(0), 90);
    RunUntil(start + 2100);
    EXPECT_EQ(Drive.LoopCount(), 1);
    ASSERT_EQ(loopEnds.size(), 1u);
    const auto messages = Driver.Messages();
    // Before the end: the held notes (64 from 1920, 67 from 3120) get their note-offs...
    std::vector<std::uint32_t> before, after;
    for (std::size_t i = 0; i < messages.size(); ++i)
        (i < loopEnds[0] ? before : after).push_back(messages[i].Short);
    auto has = [](const std::vector<std::uint32_t>& list, std::uint32_t m) {
        return std::find(list.begin(), list.end(), m) != list.end();
    };
    EXPECT_TRUE(has(before, 0x80 | 64 << 8));
    EXPECT_TRUE(has(before, 0x80 | 67 << 8));
    // ...and after it the state at the loop's start again, not the one the pass left.
    EXPECT_TRUE(has(after, 0xC0 | 5 << 8));
    EXPECT_TRUE(has(after, 0xB0 | 7 << 8 | 90 << 16));
    EXPECT_TRUE(has(after, 0xB0 | 64 << 8 | 127 << 16));
    EXPECT_TRUE(has(after, 0xE0 | 0 << 8 | 80 << 16));
    EXPECT_TRUE(has(after, 0xB0 | 1 << 8 | 0 << 16)); // modulation back to its power-on value
    EXPECT_EQ(Drive.ChannelProgram(0), 5);
    EXPECT_EQ(Drive.ChannelVolume(0), 90);
    RunUntil(start + 3500);
    EXPECT_EQ(Drive.LoopCount(), 1);
    // The loop's first note plays again exactly one loop length (2 s) after its first time.
    const auto firsts = Matching(0x90, 64);
    ASSERT_EQ(firsts.size(), 2u);
    EXPECT_EQ(firsts[1].Time - firsts[0].Time, 2000u);
    EXPECT_EQ(firsts[0].Time - start, 0u);
    // Nothing at or past the loop's end is announced or sent; the loop's notes are announced
    // again for the second pass.
    for (std::int32_t tick : announced)
        EXPECT_LT(tick, 3840);
    EXPECT_EQ(std::count(announced.begin(), announced.end(), 1920), 2);
    EXPECT_EQ(std::count(announced.begin(), announced.end(), 3820), 2);
    EXPECT_TRUE(Matching(0x80, 1).empty());
}

TEST_F(PracticeTest, EachPassCountsInWithTheBarBeforeTheLoopSilent) {
    Load(LoopSong());
    PracticePlan plan;
    plan.LoopFromTick = 1920;
    plan.LoopToTick = 3840;
    plan.CountInBars = 1;
    const std::uint32_t start = Start(plan);
    RunUntil(start + 6100);
    // Clicks on the four beats before each pass; the loop's first note on the bar line after.
    std::vector<std::uint32_t> clicks;
    for (const RecordedMessage& m : Matching(0x99, -1))
        if (m.Data1() == TMidiDrive::CountInDownbeatNote || m.Data1() == TMidiDrive::CountInBeatNote)
            clicks.push_back(m.Time - start);
    EXPECT_EQ(clicks, (std::vector<std::uint32_t>{0, 500, 1000, 1500, 4000, 4500, 5000, 5500}));
    const auto firsts = Matching(0x90, 64);
    ASSERT_EQ(firsts.size(), 2u);
    EXPECT_EQ(firsts[0].Time - start, 2000u);
    EXPECT_EQ(firsts[1].Time - start, 6000u);
    // The bar before the loop is chased, never played: after Play only the pass's own bend
    // (at 2400) and the restart's chase, before the count-in, send one.
    const auto bends = Matching(0xE0);
    ASSERT_EQ(bends.size(), 2u);
    EXPECT_EQ(bends[0].Time - start, 2500u);
    EXPECT_EQ(bends[1].Time - start, 4000u);
    EXPECT_EQ(bends[1].Data2(), 80);
    EXPECT_EQ(Drive.SongMilliseconds(start + 2000), 0);

    // A restart now: the sounding note ends and the pass begins again after its count-in.
    Driver.ClearMessages();
    RunUntil(start + 6600);
    const std::uint32_t restart = Clock.Now();
    Drive.RestartLoop();
    EXPECT_FALSE(Matching(0x80, 64).empty());
    RunUntil(restart + 2100);
    ASSERT_EQ(Matching(0x90, 64).size(), 1u);
    EXPECT_EQ(Matching(0x90, 64)[0].Time - restart, 2000u);
    EXPECT_EQ(Drive.LoopCount(), 1);
}

TEST_F(PracticeTest, CountInAndMetronomeClickOnTheBeatsThroughTempoAndMeterChanges) {
    // Bar 1 in 4/4 at 120 BPM, bar 2 at 60 BPM, then 3/4 from bar 3; the song ends with bar 3.
    const Bytes song = Smf(480, {Cat({Tempo(0, 500000), Meta(0, 0x58, {4, 2, 24, 8}), Tempo(1920, 1000000),
                                      Meta(1920, 0x58, {3, 2, 24, 8}), Ev(1440, {0xB0, 1, 0})})});
    for (double scale : {1.0, 0.5}) {
        Load(song);
        PracticePlan plan;
        plan.TempoScale = scale;
        plan.CountInBars = 1;
        plan.Metronome = true;
        const std::uint32_t start = Start(plan);
        RunUntil(start + 30000);
        // One bar of count-in at 120 BPM, bar 1 at 120, bar 2 at 60, bar 3 in 3/4 at 60.
        const double beats[] = {0,    500,  1000, 1500, 2000, 2500, 3000, 3500,
                                4000, 5000, 6000, 7000, 8000, 9000, 10000};
        const bool downbeats[] = {1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0};
        std::vector<RecordedMessage> clicks;
        for (const RecordedMessage& m : Driver.Messages())
            if (m.Status() == 0x99) clicks.push_back(m);
        ASSERT_EQ(clicks.size(), std::size(beats)) << scale;
        for (std::size_t i = 0; i < clicks.size(); ++i) {
            EXPECT_EQ(clicks[i].Time - start, static_cast<std::uint32_t>(beats[i] / scale))
                << scale << " " << i;
            EXPECT_EQ(clicks[i].Data1(),
                      downbeats[i] ? TMidiDrive::CountInDownbeatNote : TMidiDrive::CountInBeatNote);
            EXPECT_EQ(clicks[i].Data2(), downbeats[i] ? 127 : 96);
        }
        // The song's tick 0 played after the count-in.
        EXPECT_EQ(Drive.SongMilliseconds(start + static_cast<std::uint32_t>(2000 / scale)), 0);
    }
}

TEST_F(PracticeTest, MixScalesTheSongsVolumesAndKeepsTheClickLevel) {
    Load(Smf(480, {Cat({Tempo(0, 500000), Ev(10, {0xB0, 7, 120}), Ev(0, {0xB9, 7, 127}),
                        Ev(4000, {0x80, 1, 0})})}));
    PracticePlan plan;
    plan.DrumVolume = 64;
    plan.AccompanimentVolume = 100;
    plan.ClickVolume = 50;
    plan.CountInBars = 1;
    Options.Practice = plan;
    Drive.Play(Options);
    // Play's volumes: 100 scaled by the mix.
    EXPECT_EQ(Matching(0xB9, 7).at(0).Data2(), 100 * 64 / 127);
    EXPECT_EQ(Matching(0xB0, 7).at(0).Data2(), 100 * 100 / 127);
    // The count-in's clicks are made louder by as much as the drum channel is turned down.
    Drive.RunCycle();
    const auto clicks = Matching(0x99);
    ASSERT_FALSE(clicks.empty());
    EXPECT_EQ(clicks[0].Data2(), 126); // 127 * 50 / 100, times 127 / 64
    RunUntil(Drive.LastCycleTime() + 2100);
    EXPECT_EQ(Matching(0x99).at(1).Data2(), 95); // 96 * 50 / 100, times 127 / 64
    EXPECT_EQ(Matching(0xB0, 7).back().Data2(), 120 * 100 / 127);
    EXPECT_EQ(Matching(0xB9, 7).back().Data2(), 127 * 64 / 127);
    Driver.ClearMessages();
    Drive.SetMix(127, 30, 100);
    EXPECT_EQ(Matching(0xB0, 7).at(0).Data2(), 120 * 30 / 127);
    EXPECT_EQ(Matching(0xB9, 7).at(0).Data2(), 127);
    EXPECT_EQ(Matching(0xB5, 7).at(0).Data2(), 100 * 30 / 127);
    EXPECT_EQ(Drive.ChannelVolume(0), 120); // the song's own value
}

TEST_F(PracticeTest, HoldStopsTheSongAtTheDrumNoteUntilReleased) {
    // A drum note at 960 with a bass note at the same tick on a later track, then a note at 1440.
    Load(Smf(480, {Cat({Tempo(0, 500000), Ev(960, {0x99, 38, 100}), Ev(2000, {0x99, 38, 0})}),
                   Cat({Ev(960, {0x90, 40, 100}), Ev(480, {0x90, 43, 100}), Ev(2000, {0x80, 1, 0})})}));
    Options.Style.AnnounceNotes = true;
    std::vector<std::int32_t> due;
    Drive.Hooks.DrumNote = [&](const SequencerEvent* s) { due.push_back(s->Tick); };
    Options.HoldsAt = [](const SequencerEvent& s) { return s.Tick == 960; };
    const std::uint32_t start = Start(PracticePlan{});
    RunUntil(start + 1200);
    ASSERT_TRUE(Drive.IsHolding());
    EXPECT_EQ(due, std::vector<std::int32_t>{960});
    EXPECT_TRUE(Matching(0x90, 40).empty()); // nothing after the held note, not even its tick
    EXPECT_EQ(Drive.CurrentPosition(), 960.0);
    EXPECT_EQ(Drive.PositionAt(Clock.Now() + 500), 960.0);
    EXPECT_EQ(Drive.SongMilliseconds(Clock.Now()), 1000);
    const std::size_t sent = Driver.MessageCount();
    RunUntil(start + 6000);
    EXPECT_EQ(Driver.MessageCount(), sent);
    EXPECT_EQ(Drive.SongMilliseconds(Clock.Now()), 1000);

    const std::uint32_t strike = Clock.Now();
    Drive.ReleaseHold();
    EXPECT_FALSE(Drive.IsHolding());
    Drive.RunCycle();
    const auto resumed = Matching(0x90, 40);
    ASSERT_EQ(resumed.size(), 1u);
    EXPECT_EQ(resumed[0].Time, strike); // sent by the first cycle after the release
    RunUntil(strike + 1000);
    ASSERT_EQ(Matching(0x90, 43).size(), 1u);
    EXPECT_EQ(Matching(0x90, 43)[0].Time, strike + 500);
    EXPECT_EQ(Drive.SongMilliseconds(strike + 500), 1500);
}

} // namespace
} // namespace tamtara
