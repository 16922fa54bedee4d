// A MIDI driver that plays nothing and keeps every message with the time it was sent: the test
// double of the port and sequencer, and the output of the headless game harness and benchmark.
#pragma once

#include "base/Clock.h"
#include "midi/MidiDriver.h"

#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace tamtara {

struct RecordedMessage {
    std::uint32_t Time = 0; // IClock::Now() at the send
    MidiOutHandle Handle = 0;
    bool IsLong = false;
    std::uint32_t Short = 0;         // status | data1 << 8 | data2 << 16, for a short message
    std::vector<std::uint8_t> Bytes; // the whole message, for a long message
    // The due time a timed send carried (ShortMsgAt), in microseconds; none for one sent at once.
    std::optional<std::int64_t> Due;

    std::uint8_t Status() const { return static_cast<std::uint8_t>(Short & 0xFF); }
    std::uint8_t Data1() const { return static_cast<std::uint8_t>((Short >> 8) & 0xFF); }
    std::uint8_t Data2() const { return static_cast<std::uint8_t>((Short >> 16) & 0xFF); }
};

class RecordingMidiDriver final : public IMidiOutDriver {
public:
    // deviceNames are the numbered devices 0, 1, ...; the mapper (-1) is named mapperName.
    explicit RecordingMidiDriver(IClock& clock,
                                 std::vector<std::string> deviceNames = {"Recording MIDI Driver"},
                                 std::string mapperName = "MIDI Mapper");

    // Results to return instead of success, for error paths; NoError means behave normally.
    struct Failures {
        MidiResult GetDevCaps = MidiError::NoError;
        MidiResult Open = MidiError::NoError;
        MidiResult Close = MidiError::NoError;
        MidiResult ShortMsg = MidiError::NoError;
        // Only short messages of these kinds (status & 0xF0) fail with ShortMsg; 0: all do.
        std::uint8_t ShortMsgKind = 0;
        MidiResult PrepareHeader = MidiError::NoError;
        MidiResult LongMsg = MidiError::NoError;
    };
    void SetFailures(const Failures& failures);
    // true (the default): a long message completes inside LongMsg. false: it waits for
    // CompletePending().
    void SetAutoComplete(bool autoComplete);
    // The mapper (-1) and device 0 play nothing for this reason once opened, as the built-in
    // synth does without an audio device; empty (the default): they sound.
    void SetSynthSilenceReason(std::string reason);
    // Completes every long message still held; returns how many.
    std::size_t CompletePending();

    std::vector<RecordedMessage> Messages() const;
    std::size_t MessageCount() const;
    void ClearMessages();
    int OpenCount() const;
    // Told "prepare" or "open" and the device id as each such call begins, on its thread.
    std::function<void(const std::string& call, int deviceId)> OnCall;

    unsigned DeviceCount() override;
    MidiResult GetDevCaps(int deviceId, MidiOutCaps& caps) override;
    void Prepare(int deviceId) override;
    MidiResult Open(MidiOutHandle& handle, int deviceId, MidiDoneCallback onDone) override;
    MidiResult Close(MidiOutHandle handle) override;
    MidiResult ShortMsg(MidiOutHandle handle, std::uint32_t message) override;
    MidiResult ShortMsgAt(MidiOutHandle handle, std::uint32_t message, std::int64_t dueMicros) override;
    MidiResult PrepareHeader(MidiOutHandle handle, MidiLongBuffer& buffer) override;
    MidiResult LongMsg(MidiOutHandle handle, MidiLongBuffer& buffer) override;
    MidiResult UnprepareHeader(MidiOutHandle handle, MidiLongBuffer& buffer) override;
    bool GetErrorText(MidiResult code, std::string& text) override;
    std::string SilenceReason(MidiOutHandle handle) override;

private:
    MidiResult Record(MidiOutHandle handle, std::uint32_t message, std::optional<std::int64_t> due);

    std::string SynthSilence;
    std::map<MidiOutHandle, int> OpenDevices;
    struct Pending {
        MidiOutHandle Handle;
        MidiDoneCallback OnDone;
        MidiLongBuffer* Buffer;
    };

    IClock& Clock;
    std::vector<std::string> DeviceNames;
    std::string MapperName;
    mutable std::mutex Mutex;
    Failures Fail;
    bool AutoComplete = true;
    MidiOutHandle NextHandle = 1;
    std::map<MidiOutHandle, MidiDoneCallback> OpenHandles;
    std::vector<Pending> Held;
    std::vector<RecordedMessage> Log;
};

} // namespace tamtara
