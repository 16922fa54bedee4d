// The system's external MIDI output ports, behind a small interface so the device list and
// vanished ports can be tested without an ALSA sequencer.
#pragma once

#include "midi/MidiDriver.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace tamtara {

// One open output port.
class IMidiPortConnection {
public:
    virtual ~IMidiPortConnection() = default;
    // Sends the bytes of one complete message; MidiError::NoDevice once the port has gone.
    virtual MidiResult Send(std::span<const std::uint8_t> message) = 0;
};

class IMidiPortSystem {
public:
    virtual ~IMidiPortSystem() = default;
    // Names of the output ports present now, in the system's order.
    virtual std::vector<std::string> PortNames() = 0;
    // Opens port `index` of PortNames(); on failure returns null and sets `result`.
    virtual std::unique_ptr<IMidiPortConnection> Open(std::size_t index, MidiResult& result) = 0;
};

} // namespace tamtara
