// Songs from the wild: stray data bytes among the events, and silent tails days long. The
// reader keeps what it finds; what is played and measured must not be fooled by it.
#include "midi/SongEnd.h"
#include "midi/BarMap.h"
#include "midi/MidiDrive.h"
#include "midi/SmfBuilder.h"
#include "midi/SmfReader.h"
#include "support/doubles/RecordingMidiDriver.h"

#include "FakeClock.h"

#include <gtest/gtest.h>

#include <memory>

namespace tamtara {
namespace {

using namespace tamtara::testing;

// 120 BPM at 480 ticks a quarter: 0.96 ticks a millisecond.
constexpr std::int32_t Quarter = 480;

// A kick and a snare on every beat of two bars, each with its note-off a sixteenth later: the
// last sound is the last release, at 3480 (3.625 s).
Bytes TwoBarsOfDrums() {
    Bytes events;
    for (int beat = 0; beat < 8; ++beat) {
        events =
            Cat({events, Ev(beat == 0 ? 0 : Quarter - 120, {0x99, std::uint8_t(beat % 2 ? 38 : 36), 100}),
                 Ev(120, {0x89, std::uint8_t(beat % 2 ? 38 : 36), 0})});
    }
    return events;
}

std::unique_ptr<TSongModel> Parse(const Bytes& bytes) {
    auto song = std::make_unique<TSongModel>();
    ParseSmf(bytes, *song);
    return song;
}

class SongPlay : public ::testing::Test {
protected:
    SongPlay() { Drive.OpenOutput(MidiMapperId); }
    void PlayToEnd(const Bytes& bytes, std::uint32_t limitMs) {
        TMemoryStream stream(bytes);
        Drive.LoadFromStream(stream);
        Drive.Play();
        for (std::uint32_t ms = 0; ms < limitMs && Drive.IsPlaying(); ms += 5) {
            Clock.Advance(5);
            Drive.RunCycle();
        }
    }
    std::vector<RecordedMessage> DrumNoteOns() const {
        std::vector<RecordedMessage> out;
        for (const RecordedMessage& m : Driver.Messages())
            if (!m.IsLong && m.Status() == 0x99 && m.Data2() > 0) out.push_back(m);
        return out;
    }

    FakeClock Clock;
    RecordingMidiDriver Driver{Clock};
    TMidiDrive Drive{Driver, Clock, false};
};

TEST(SongEnd, ADaysLongSilentTailEndsTheSongAtItsLastSound) {
    // The last note-off and the end of track come after a delta of 2^31 ticks.
    const Bytes bytes = Smf(
        Quarter, {Cat({Tempo(0, 500000), TwoBarsOfDrums(), Ev(0x80000000u, {0x80, 60, 0}), EndOfTrack()})});
    const auto song = Parse(bytes);
    // The last drum note's release, a sixteenth after it.
    EXPECT_EQ(SongEndTick(*song), 7 * Quarter + 120);
    EXPECT_NEAR(SongLengthMs(*song), 3625.0, 0.5);
    EXPECT_EQ(BarMap::FromSong(*song, SongEndTick(*song)).BarCount(), 2);
}

TEST(SongEnd, ATailOfAFewSecondsAndAnythingThatChangesTheSoundKeepTheEnd) {
    // A note-off of no sounding note 5 s after the last note: a tail this short is kept.
    EXPECT_EQ(SongEndTick(*Parse(Smf(Quarter, {Cat({TwoBarsOfDrums(), Ev(4800 - 120, {0x80, 60, 0})})}))),
              7 * Quarter + 4800);
    // A note let ring for 20 s, and released then, is the song's.
    EXPECT_EQ(SongEndTick(*Parse(Smf(Quarter, {Cat({Ev(0, {0x90, 60, 100}), Ev(19200, {0x80, 60, 0})})}))),
              19200);
    // Far later, anything that sounds or changes the sound is still the song.
    const std::initializer_list<std::uint8_t> changes[] = {{0xB0, 7, 100}, {0xC0, 5},     {0xE0, 0, 64},
                                                           {0xD0, 20},     {0x90, 60, 1}, {0xF0, 1, 0xF7}};
    for (const auto& change : changes) {
        const auto song = Parse(Smf(Quarter, {Cat({TwoBarsOfDrums(), Ev(100000, change)})}));
        EXPECT_EQ(SongEndTick(*song), 7 * Quarter + 120 + 100000) << int(*change.begin());
    }
    // A tempo change in another track counts too.
    const auto tempoLate =
        Parse(Smf(Quarter, {TwoBarsOfDrums(), Cat({Tempo(20000, 400000), Ev(100000, {0x80, 60, 0})})}));
    EXPECT_EQ(SongEndTick(*tempoLate), 20000);
}

TEST_F(SongPlay, TheSequencerEndsAtTheLastSoundWithTheTailSentThere) {
    // After the drums, a delta of 2^31 ticks, a note-off of no sounding note and a running-status
    // pair of zero bytes, then the end of track.
    const Bytes bytes = Smf(Quarter, {Cat({Tempo(0, 500000), TwoBarsOfDrums(), Ev(0x80000000u, {0x89, 36, 0}),
                                           Ev(0, {0x00, 0x00}), EndOfTrack()})});
    PlayToEnd(bytes, 60000);
    EXPECT_FALSE(Drive.IsPlaying());
    EXPECT_LE(Clock.Now(), 1000u + 3625u + 100u);
    EXPECT_EQ(DrumNoteOns().size(), 8u);
    const std::vector<RecordedMessage> messages = Driver.Messages();
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.back().Short, 0x89u);
}

TEST_F(SongPlay, StrayDataBytesAreKeptByTheReaderButNeverSentAndTheSongPlaysOn) {
    // "00 01 3F" opens the drum track, and "00 45 01" another, where no running status is in
    // force yet.
    const Bytes drums = Cat({Ev(0, {0x01, 0x3F}), TwoBarsOfDrums()});
    const Bytes bytes =
        Smf(Quarter, {Tempo(0, 500000), drums, Cat({Ev(0, {0x45, 0x01}), Ev(960, {0xC0, 5})})});
    const auto song = Parse(bytes);
    ASSERT_EQ(song->Tracks[1][0].Event.Status, 0x00); // what smfdump shows
    EXPECT_EQ(song->Tracks[1][0].Event.Data1, 0x01);

    PlayToEnd(bytes, 10000);
    EXPECT_FALSE(Drive.IsPlaying());
    EXPECT_EQ(Drive.ErrorCount(), 0u) << Drive.LastError();
    EXPECT_EQ(DrumNoteOns().size(), 8u);
    for (const RecordedMessage& m : Driver.Messages())
        EXPECT_TRUE(m.IsLong || m.Status() >= 0x80) << std::hex << m.Short;
}

} // namespace
} // namespace tamtara
