// A MIDI output for the benchmarks that notes the moment every short message reaches it, on the
// steady clock, and the song time a tick is due at by the song's tempo map.
#pragma once

#include "midi/MidiDrive.h"
#include "midi/MidiDriver.h"
#include "midi/SongModel.h"

#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

namespace tamtara::bench {

struct StampedMessage {
    std::chrono::steady_clock::time_point At;
    std::uint32_t Message = 0;
};

class StampingMidiDriver final : public IMidiOutDriver {
public:
    unsigned DeviceCount() override { return 1; }
    MidiResult GetDevCaps(int, MidiOutCaps& caps) override {
        caps.ProductName = "Stamping";
        return MidiError::NoError;
    }
    MidiResult Open(MidiOutHandle& handle, int, MidiDoneCallback) override {
        handle = 1;
        return MidiError::NoError;
    }
    MidiResult Close(MidiOutHandle) override { return MidiError::NoError; }
    MidiResult ShortMsg(MidiOutHandle, std::uint32_t message) override {
        const auto now = std::chrono::steady_clock::now();
        std::lock_guard lock(Mutex);
        Log.push_back(StampedMessage{now, message});
        return MidiError::NoError;
    }
    MidiResult PrepareHeader(MidiOutHandle, MidiLongBuffer&) override { return MidiError::NoError; }
    MidiResult LongMsg(MidiOutHandle, MidiLongBuffer&) override { return MidiError::NoError; }
    MidiResult UnprepareHeader(MidiOutHandle, MidiLongBuffer&) override { return MidiError::NoError; }
    bool GetErrorText(MidiResult code, std::string& text) override {
        return StandardMidiErrorText(code, text);
    }

    // The messages since the last call, in the order they came.
    std::vector<StampedMessage> Take() {
        std::lock_guard lock(Mutex);
        std::vector<StampedMessage> out;
        out.swap(Log);
        return out;
    }

private:
    std::mutex Mutex;
    std::vector<StampedMessage> Log;
};

// Milliseconds from tick 0 to tick by the song's tempo map, integrated independently of the
// sequencer; before tick 0 the first tempo holds.
inline double SongMs(const TSongModel& song, double tick) {
    double ms = 0;
    double at = 0;
    double bpm = song.TempoCount > 0 ? song.TempoMap[0].Bpm : DefaultTempo;
    if (tick < 0) return tick * 60000.0 / (bpm * song.Division);
    for (int i = 0; i < song.TempoCount && song.TempoMap[i].Tick < tick; ++i) {
        ms += (song.TempoMap[i].Tick - at) * 60000.0 / (bpm * song.Division);
        at = song.TempoMap[i].Tick;
        bpm = song.TempoMap[i].Bpm;
    }
    return ms + (tick - at) * 60000.0 / (bpm * song.Division);
}

} // namespace tamtara::bench
