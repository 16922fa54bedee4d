// The MIDI output port over the driver interface.
#include "midi/MidiOutput.h"

#include <cstdio>
#include <cstring>
#include <vector>

namespace tamtara {

TMyMidiHdr::TMyMidiHdr(std::uint16_t byteCount) {
    Buffer.Data.assign(byteCount, 0);
}

TMidiOutput::TMidiOutput(IMidiOutDriver& driver) : Driver(driver) {}

TMidiOutput::~TMidiOutput() {
    // Messages the driver already finished with are released quietly; nobody is listening now.
    DrainCompletions(false);
    try {
        if (IsOpen()) Close();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tamtara: closing the MIDI output failed: %s\n", e.what());
    }
}

void TMidiOutput::Check(MidiResult result) {
    LastResult = result;
    if (result != MidiError::NoError) throw EmidioutputError(ErrorText(result));
}

std::string TMidiOutput::ErrorText(MidiResult code) {
    std::string text;
    if (!Driver.GetErrorText(code, text)) return "Specified error number is out of range";
    return text;
}

void TMidiOutput::ReadCaps(int id) {
    MidiOutCaps caps;
    Check(Driver.GetDevCaps(id, caps));
    Caps = caps;
    Name = caps.ProductName;
}

void TMidiOutput::SetDeviceID(int id) {
    if (IsOpen()) throw EmidioutputError("Change to DeviceID while device was open");
    if (id >= static_cast<int>(Driver.DeviceCount()) && id != MidiMapperId)
        throw EmidioutputError("Invalid device ID");
    Id = id;
    ReadCaps(id);
}

void TMidiOutput::SetProductName(const std::string& name) {
    if (IsOpen()) throw EmidioutputError("Change to ProductName while device was open");
    const int count = static_cast<int>(Driver.DeviceCount());
    int found = MidiMapperId;
    bool matched = false;
    for (int id = MidiMapperId; id < count; ++id) {
        MidiOutCaps caps;
        Check(Driver.GetDevCaps(id, caps));
        if (caps.ProductName == name) {
            found = id;
            matched = true;
            break;
        }
    }
    if (!matched && Name != name) throw EmidioutputError("MIDI output Device " + name + " not installed");
    if (matched) Name = name;
    // With no match the name was already ours: keep the current device rather than falling
    // back to the mapper.
    SetDeviceID(matched ? found : Id);
}

bool TMidiOutput::Open() {
    std::weak_ptr<CompletionQueue> queue = Completions;
    MidiOutHandle handle = 0;
    LastResult = Driver.Open(handle, Id, [queue](MidiLongBuffer* buffer) {
        if (auto q = queue.lock()) {
            std::lock_guard<std::mutex> lock(q->Mutex);
            q->Done.push_back(buffer);
        }
    });
    if (LastResult != MidiError::NoError) return false;
    Handle = handle;
    State = PortState::Open;
    return true;
}

bool TMidiOutput::Close() {
    bool wasOpen = false;
    if (IsOpen()) {
        Check(Driver.Close(Handle));
        wasOpen = true;
    }
    Handle = 0;
    State = PortState::Closed;
    return wasOpen;
}

void TMidiOutput::SendShort(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) {
    Check(Driver.ShortMsg(Handle, static_cast<std::uint32_t>(status) |
                                      static_cast<std::uint32_t>(data1) << 8 |
                                      static_cast<std::uint32_t>(data2) << 16));
}

void TMidiOutput::SendShortAt(std::uint8_t status, std::uint8_t data1, std::uint8_t data2,
                              std::int64_t dueMicros) {
    Check(Driver.ShortMsgAt(Handle,
                            static_cast<std::uint32_t>(status) | static_cast<std::uint32_t>(data1) << 8 |
                                static_cast<std::uint32_t>(data2) << 16,
                            dueMicros));
}

void TMidiOutput::SendLong(const std::uint8_t* bytes, std::uint16_t length) {
    auto header = std::make_unique<TMyMidiHdr>(length);
    if (length > 0) std::memcpy(header->Buffer.Data.data(), bytes, length);
    MidiLongBuffer* buffer = &header->Buffer;
    buffer->User = header.get();
    Check(Driver.PrepareHeader(Handle, *buffer));
    {
        // In the map before the send: the completion may arrive before LongMsg returns.
        std::lock_guard<std::mutex> lock(InFlightMutex);
        InFlight.emplace(buffer, std::move(header));
    }
    const MidiResult result = Driver.LongMsg(Handle, *buffer);
    if (result != MidiError::NoError) {
        // Never queued, so never completed: release it here instead of leaking it.
        Driver.UnprepareHeader(Handle, *buffer);
        std::lock_guard<std::mutex> lock(InFlightMutex);
        InFlight.erase(buffer);
    }
    Check(result);
}

void TMidiOutput::SendEvent(const TMyMidiEvent& event) {
    if (!IsOpen()) throw EmidioutputError("MIDI Output device not open");
    if (event.ExclusiveData)
        SendLong(event.ExclusiveData, event.ExclusiveLength);
    else
        SendShort(event.Status, event.Data1, event.Data2);
}

void TMidiOutput::SendEventAt(const TMyMidiEvent& event, std::int64_t dueMicros) {
    if (!IsOpen()) throw EmidioutputError("MIDI Output device not open");
    if (event.ExclusiveData)
        SendLong(event.ExclusiveData, event.ExclusiveLength);
    else
        SendShortAt(event.Status, event.Data1, event.Data2, dueMicros);
}

int TMidiOutput::DrainCompletions(bool notify) {
    std::deque<MidiLongBuffer*> done;
    {
        std::lock_guard<std::mutex> lock(Completions->Mutex);
        done.swap(Completions->Done);
    }
    int handled = 0;
    for (MidiLongBuffer* buffer : done) {
        std::unique_ptr<TMyMidiHdr> header;
        {
            std::lock_guard<std::mutex> lock(InFlightMutex);
            auto it = InFlight.find(buffer);
            if (it == InFlight.end()) continue;
            header = std::move(it->second);
            InFlight.erase(it);
        }
        LastResult = Driver.UnprepareHeader(Handle, header->Buffer);
        header.reset();
        ++handled;
        if (notify && Onmidioutput) Onmidioutput(*this);
    }
    return handled;
}

int TMidiOutput::ProcessCompletions() {
    return DrainCompletions(true);
}

std::size_t TMidiOutput::PendingCount() const {
    std::lock_guard<std::mutex> lock(InFlightMutex);
    return InFlight.size();
}

} // namespace tamtara
