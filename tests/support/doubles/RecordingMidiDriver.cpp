// The recording MIDI driver.
#include "support/doubles/RecordingMidiDriver.h"

#include <utility>

namespace tamtara {

RecordingMidiDriver::RecordingMidiDriver(IClock& clock, std::vector<std::string> deviceNames,
                                         std::string mapperName)
    : Clock(clock), DeviceNames(std::move(deviceNames)), MapperName(std::move(mapperName)) {}

void RecordingMidiDriver::SetFailures(const Failures& failures) {
    std::lock_guard<std::mutex> lock(Mutex);
    Fail = failures;
}

void RecordingMidiDriver::SetAutoComplete(bool autoComplete) {
    std::lock_guard<std::mutex> lock(Mutex);
    AutoComplete = autoComplete;
}

std::size_t RecordingMidiDriver::CompletePending() {
    std::vector<Pending> held;
    {
        std::lock_guard<std::mutex> lock(Mutex);
        held.swap(Held);
    }
    for (auto& pending : held) {
        pending.Buffer->Done = true;
        pending.OnDone(pending.Buffer);
    }
    return held.size();
}

std::vector<RecordedMessage> RecordingMidiDriver::Messages() const {
    std::lock_guard<std::mutex> lock(Mutex);
    return Log;
}

std::size_t RecordingMidiDriver::MessageCount() const {
    std::lock_guard<std::mutex> lock(Mutex);
    return Log.size();
}

void RecordingMidiDriver::ClearMessages() {
    std::lock_guard<std::mutex> lock(Mutex);
    Log.clear();
}

int RecordingMidiDriver::OpenCount() const {
    std::lock_guard<std::mutex> lock(Mutex);
    return static_cast<int>(OpenHandles.size());
}

unsigned RecordingMidiDriver::DeviceCount() {
    return static_cast<unsigned>(DeviceNames.size());
}

MidiResult RecordingMidiDriver::GetDevCaps(int deviceId, MidiOutCaps& caps) {
    std::lock_guard<std::mutex> lock(Mutex);
    if (Fail.GetDevCaps != MidiError::NoError) return Fail.GetDevCaps;
    if (deviceId < MidiMapperId || deviceId >= static_cast<int>(DeviceNames.size()))
        return MidiError::BadDeviceId;
    caps = MidiOutCaps{};
    caps.ProductName = deviceId == MidiMapperId ? MapperName : DeviceNames[deviceId];
    caps.Voices = 0;
    caps.Notes = 0;
    caps.ChannelMask = 0xFFFF;
    return MidiError::NoError;
}

void RecordingMidiDriver::Prepare(int deviceId) {
    if (OnCall) OnCall("prepare", deviceId);
}

MidiResult RecordingMidiDriver::Open(MidiOutHandle& handle, int deviceId, MidiDoneCallback onDone) {
    if (OnCall) OnCall("open", deviceId);
    std::lock_guard<std::mutex> lock(Mutex);
    if (Fail.Open != MidiError::NoError) return Fail.Open;
    if (deviceId < MidiMapperId || deviceId >= static_cast<int>(DeviceNames.size()))
        return MidiError::BadDeviceId;
    handle = NextHandle++;
    OpenHandles.emplace(handle, std::move(onDone));
    OpenDevices[handle] = deviceId;
    return MidiError::NoError;
}

void RecordingMidiDriver::SetSynthSilenceReason(std::string reason) {
    std::lock_guard<std::mutex> lock(Mutex);
    SynthSilence = std::move(reason);
}

std::string RecordingMidiDriver::SilenceReason(MidiOutHandle handle) {
    std::lock_guard<std::mutex> lock(Mutex);
    const auto device = OpenDevices.find(handle);
    if (device == OpenDevices.end() || !OpenHandles.count(handle)) return {};
    return device->second <= 0 ? SynthSilence : std::string();
}

MidiResult RecordingMidiDriver::Close(MidiOutHandle handle) {
    std::lock_guard<std::mutex> lock(Mutex);
    if (Fail.Close != MidiError::NoError) return Fail.Close;
    if (OpenHandles.erase(handle) == 0) return MidiError::InvalidHandle;
    // Closing abandons what the device still holds; its buffers may be freed right after.
    std::erase_if(Held, [handle](const Pending& p) { return p.Handle == handle; });
    return MidiError::NoError;
}

MidiResult RecordingMidiDriver::ShortMsg(MidiOutHandle handle, std::uint32_t message) {
    return Record(handle, message, std::nullopt);
}

MidiResult RecordingMidiDriver::ShortMsgAt(MidiOutHandle handle, std::uint32_t message,
                                           std::int64_t dueMicros) {
    return Record(handle, message, dueMicros);
}

MidiResult RecordingMidiDriver::Record(MidiOutHandle handle, std::uint32_t message,
                                       std::optional<std::int64_t> due) {
    std::lock_guard<std::mutex> lock(Mutex);
    if (Fail.ShortMsg != MidiError::NoError &&
        (Fail.ShortMsgKind == 0 || (message & 0xF0) == Fail.ShortMsgKind))
        return Fail.ShortMsg;
    if (!OpenHandles.contains(handle)) return MidiError::InvalidHandle;
    // As every real driver: a message must open with a status byte.
    if ((message & 0xFF) < 0x80) return MidiError::InvalidParam;
    RecordedMessage recorded;
    recorded.Time = Clock.Now();
    recorded.Handle = handle;
    recorded.Short = message;
    recorded.Due = due;
    Log.push_back(std::move(recorded));
    return MidiError::NoError;
}

MidiResult RecordingMidiDriver::PrepareHeader(MidiOutHandle handle, MidiLongBuffer& buffer) {
    std::lock_guard<std::mutex> lock(Mutex);
    if (Fail.PrepareHeader != MidiError::NoError) return Fail.PrepareHeader;
    if (!OpenHandles.contains(handle)) return MidiError::InvalidHandle;
    buffer.Prepared = true;
    return MidiError::NoError;
}

MidiResult RecordingMidiDriver::LongMsg(MidiOutHandle handle, MidiLongBuffer& buffer) {
    MidiDoneCallback onDone;
    {
        std::lock_guard<std::mutex> lock(Mutex);
        if (Fail.LongMsg != MidiError::NoError) return Fail.LongMsg;
        auto it = OpenHandles.find(handle);
        if (it == OpenHandles.end()) return MidiError::InvalidHandle;
        if (!buffer.Prepared) return MidiError::Unprepared;
        RecordedMessage recorded;
        recorded.Time = Clock.Now();
        recorded.Handle = handle;
        recorded.IsLong = true;
        recorded.Bytes = buffer.Data;
        Log.push_back(std::move(recorded));
        buffer.Done = false;
        if (!AutoComplete) {
            Held.push_back(Pending{handle, it->second, &buffer});
            return MidiError::NoError;
        }
        onDone = it->second;
    }
    buffer.Done = true;
    onDone(&buffer);
    return MidiError::NoError;
}

MidiResult RecordingMidiDriver::UnprepareHeader(MidiOutHandle, MidiLongBuffer& buffer) {
    if (!buffer.Done && buffer.Prepared) return MidiError::StillPlaying;
    buffer.Prepared = false;
    return MidiError::NoError;
}

bool RecordingMidiDriver::GetErrorText(MidiResult code, std::string& text) {
    return StandardMidiErrorText(code, text);
}

} // namespace tamtara
