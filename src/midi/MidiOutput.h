// The program's one MIDI output port: device selection by id or product name, short and
// exclusive sends, and completions of exclusive sends handed back to the thread that drains them.
#pragma once

#include "midi/MidiDriver.h"
#include "midi/MidiEvent.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <unordered_map>

namespace tamtara {

// Every failure of the port, with its message text.
class EmidioutputError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// One exclusive message in flight: owns its bytes until the driver reports it played.
class TMyMidiHdr {
public:
    explicit TMyMidiHdr(std::uint16_t byteCount);
    MidiLongBuffer Buffer;
};

class TMidiOutput {
public:
    enum class PortState { Open = 0, Closed = 1 };

    explicit TMidiOutput(IMidiOutDriver& driver);
    ~TMidiOutput();
    TMidiOutput(const TMidiOutput&) = delete;
    TMidiOutput& operator=(const TMidiOutput&) = delete;

    int DeviceID() const { return Id; }
    // Raises "Change to DeviceID while device was open", "Invalid device ID", or the driver's
    // text when the capabilities cannot be read (the id is stored by then).
    void SetDeviceID(int id);
    const std::string& ProductName() const { return Name; }
    // Selects the first device, mapper first, whose product name equals name exactly.
    void SetProductName(const std::string& name);

    // False (nothing raised, LastError holds the code) when the device cannot be opened.
    bool Open();
    // True if the port was open.
    bool Close();
    bool IsOpen() const { return State == PortState::Open; }
    void SendShort(std::uint8_t status, std::uint8_t data1, std::uint8_t data2);
    // With the moment it fell due (IMidiOutDriver::ShortMsgAt).
    void SendShortAt(std::uint8_t status, std::uint8_t data1, std::uint8_t data2, std::int64_t dueMicros);
    void SendLong(const std::uint8_t* bytes, std::uint16_t length);
    // Raises "MIDI Output device not open" on a closed port.
    void SendEvent(const TMyMidiEvent& event);
    // A short event with the moment it fell due; an exclusive one goes at once.
    void SendEventAt(const TMyMidiEvent& event, std::int64_t dueMicros);
    std::string ErrorText(MidiResult code);
    // Why the open port plays nothing (IMidiOutDriver::SilenceReason); empty when closed.
    std::string SilenceReason() const { return IsOpen() ? Driver.SilenceReason(Handle) : std::string(); }

    // Releases every exclusive message the driver has finished with and fires Onmidioutput once
    // for each. Call it on the thread that opened the port (the game loop does, every frame).
    // Returns the number handled.
    int ProcessCompletions();
    // Exclusive messages sent and not yet released.
    std::size_t PendingCount() const;

    MidiResult LastError() const { return LastResult; }
    const MidiOutCaps& Capabilities() const { return Caps; }

    // A long message has been played and its buffer released; runs inside ProcessCompletions.
    std::function<void(TMidiOutput& sender)> Onmidioutput;

private:
    struct CompletionQueue {
        std::mutex Mutex;
        std::deque<MidiLongBuffer*> Done;
    };

    void Check(MidiResult result);
    void ReadCaps(int id);
    int DrainCompletions(bool notify);

    IMidiOutDriver& Driver;
    int Id = MidiMapperId;
    std::string Name;
    MidiOutCaps Caps;
    MidiOutHandle Handle = 0;
    PortState State = PortState::Closed;
    MidiResult LastResult = MidiError::NoError;
    // Shared with the driver's callback so a late completion never touches a destroyed port.
    std::shared_ptr<CompletionQueue> Completions = std::make_shared<CompletionQueue>();
    mutable std::mutex InFlightMutex;
    std::unordered_map<MidiLongBuffer*, std::unique_ptr<TMyMidiHdr>> InFlight;
};

} // namespace tamtara
