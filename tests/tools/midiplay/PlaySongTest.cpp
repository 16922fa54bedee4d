// midiplay plays through stray data bytes, and fails when an output error stops the song.
#include "PlaySong.h"
#include "FakeClock.h"
#include "library/TempTree.h"
#include "support/doubles/RecordingMidiDriver.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace tamtara::testing {
namespace {

// A stray "01 3F" opening the track, a program change and four kicks at 120 BPM.
Bytes StraySong() {
    return Smf(480, {Cat({Tempo(0, 500000), Ev(0, {0x01, 0x3F}), Ev(0, {0xC0, 5}), Ev(0, {0x99, 36, 100}),
                          Ev(480, {0x99, 36, 100}), Ev(480, {0x99, 36, 100}), Ev(480, {0x99, 36, 100}),
                          Ev(240, {0x89, 36, 0})})});
}

// PlaySong on a fake clock, interrupted after ten seconds of real time should the song never end.
int BoundedPlay(RecordingMidiDriver& driver, FakeClock& clock, const PlaySongOptions& options) {
    std::atomic<bool> interrupted{false};
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    std::thread watchdog([&] {
        std::unique_lock lock(mutex);
        if (!finished.wait_for(lock, std::chrono::seconds(10), [&] { return done; })) interrupted = true;
    });
    const int result = PlaySong(driver, clock, options, interrupted);
    {
        std::lock_guard lock(mutex);
        done = true;
    }
    finished.notify_one();
    watchdog.join();
    EXPECT_FALSE(interrupted) << "the song did not end";
    return result;
}

int KickCount(const RecordingMidiDriver& driver) {
    int kicks = 0;
    for (const RecordedMessage& m : driver.Messages())
        kicks += !m.IsLong && m.Status() == 0x99 && m.Data1() == 36;
    return kicks;
}

TEST(MidiPlay, PlaysThroughStrayBytesAndFailsOnAnOutputError) {
    TempTree tree;
    tree.File("stray.mid", StraySong());
    const PlaySongOptions options{MidiMapperId, false, tree.Path("stray.mid")};
    {
        FakeClock clock;
        RecordingMidiDriver driver(clock);
        EXPECT_EQ(BoundedPlay(driver, clock, options), 0);
        EXPECT_EQ(KickCount(driver), 4);
    }
    {
        // The song's program change, in its first cycle, cannot be sent.
        FakeClock clock;
        RecordingMidiDriver driver(clock);
        driver.SetFailures({.ShortMsg = MidiError::InvalidParam, .ShortMsgKind = 0xC0});
        EXPECT_EQ(BoundedPlay(driver, clock, options), 1);
        EXPECT_EQ(KickCount(driver), 0);
    }
}

} // namespace
} // namespace tamtara::testing
