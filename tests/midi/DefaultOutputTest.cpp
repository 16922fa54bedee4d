// Without practice settings the sequencer's output for a demo song is what it has always been:
// every message with its time, and every note callback with its tick, against a digest taken
// from the sequencer before practice existed.
#include "midi/MidiDrive.h"
#include "songgen/Catalogue.h"
#include "support/doubles/RecordingMidiDriver.h"

#include "FakeClock.h"

#include <gtest/gtest.h>

#include <optional>

namespace tamtara {
namespace {

struct Digest {
    std::uint64_t Hash = 1469598103934665603ull;
    std::size_t Count = 0;
    void Add(std::uint64_t value) {
        for (int i = 0; i < 8; ++i) {
            Hash ^= (value >> (8 * i)) & 0xFF;
            Hash *= 1099511628211ull;
        }
        ++Count;
    }
};

// Plays the song to its end with a pause and resume in the middle; the drive is configured by
// `configure` before Play.
Digest PlayDemo(const std::function<void(PlaySetup&)>& configure) {
    testing::FakeClock clock;
    RecordingMidiDriver driver(clock);
    TMidiDrive drive(driver, clock, false);
    drive.OpenOutput(MidiMapperId);
    const TRenderedSong song = RenderSong(Tempest());
    TMemoryStream stream(song.Bytes);
    drive.LoadFromStream(stream);
    Digest calls;
    drive.Hooks.DrumNoteAhead = [&](const SequencerEvent* s) { calls.Add(1ull << 40 | s->Tick); };
    drive.Hooks.DrumNote = [&](const SequencerEvent* s) { calls.Add(2ull << 40 | s->Tick); };
    drive.Hooks.NoteOn = [&](const SequencerEvent* s) { calls.Add(3ull << 40 | s->Tick); };
    drive.Hooks.SongStart = [&](TMidiDrive&) { calls.Add(4ull << 40 | clock.Now()); };
    PlaySetup options;
    options.Style.AnnounceNotes = true;
    options.PreRollTicks = 960;
    configure(options);
    drive.Play(options);
    for (int cycle = 0; drive.IsPlaying() && cycle < 1000000; ++cycle) {
        if (cycle == 20000) drive.Pause();
        if (cycle == 20100) drive.Resume();
        clock.Advance(1);
        drive.RunCycle();
    }
    EXPECT_FALSE(drive.IsPlaying()) << clock.Now();
    Digest out;
    for (const RecordedMessage& m : driver.Messages()) {
        out.Add(static_cast<std::uint64_t>(m.Time) << 32 | m.Short);
        for (std::uint8_t b : m.Bytes)
            out.Add(b);
    }
    out.Add(calls.Hash);
    out.Add(calls.Count);
    return out;
}

TEST(DefaultOutput, DemoSongSoundsAsBeforePractice) {
    const Digest plain = PlayDemo([](PlaySetup&) {});
    // Taken from the sequencer as it was before tempo, loops, clicks and the mix were added,
    // then again once it waited for the next event instead of a fixed 2 ms: the same messages
    // in the same order, each sent less than a millisecond after it falls due instead of up to
    // two.
    EXPECT_EQ(plain.Count, 4886u);
    EXPECT_EQ(plain.Hash, 3248050238535179665ull);

    // A default plan set explicitly, and a wait mode that never holds, change nothing either.
    const Digest practice = PlayDemo([](PlaySetup& options) {
        options.Practice = PracticePlan{};
        options.HoldsAt = [](const SequencerEvent&) { return false; };
        options.OnLoopEnd = [](TMidiDrive&) {};
    });
    EXPECT_EQ(practice.Count, plain.Count);
    EXPECT_EQ(practice.Hash, plain.Hash);
}

} // namespace
} // namespace tamtara
