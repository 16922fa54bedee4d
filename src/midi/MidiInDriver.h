// MIDI input ports (an electronic drum kit), behind an interface: ALSA ports through RtMidi in
// the game, a scripted port in tests. Every message is stamped with the sequencer's
// millisecond clock on the thread that received it.
#pragma once

#include "base/Clock.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace tamtara {

struct MidiInMessage {
    std::uint32_t Time = 0;
    std::uint8_t Status = 0;
    std::uint8_t Data1 = 0;
    std::uint8_t Data2 = 0;
};

using MidiInCallback = std::function<void(const MidiInMessage& message)>;

class IMidiInDriver {
public:
    virtual ~IMidiInDriver() = default;
    // Names of the input ports present now; none where the system has no MIDI sequencer.
    virtual std::vector<std::string> PortNames() = 0;
    // Opens the port of that name (closing one that is open); its messages then arrive through
    // onMessage on the driver's own thread. False when no port has the name.
    virtual bool Open(const std::string& name, MidiInCallback onMessage) = 0;
    virtual void Close() = 0;
    // Whether the open port is still present; false once it has vanished, or when none is open.
    virtual bool Connected() = 0;
};

} // namespace tamtara
