// The scripted MIDI input port: the test double of a drum kit's port for tests and the headless
// game harness.
#pragma once

#include "midi/MidiInDriver.h"

#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace tamtara {

// Ports by name, and messages delivered when the test says, on its thread.
class ScriptedMidiInDriver final : public IMidiInDriver {
public:
    explicit ScriptedMidiInDriver(std::vector<std::string> ports = {}) : Ports(std::move(ports)) {}

    std::vector<std::string> PortNames() override;
    bool Open(const std::string& name, MidiInCallback onMessage) override;
    void Close() override;
    bool Connected() override;

    // Delivers one message to the open port's receiver, as the input thread would; nothing when
    // no port is open or it has vanished.
    void Receive(const MidiInMessage& message);
    // The open port disappears (unplugged).
    void Vanish();
    std::string OpenPort() const;

private:
    mutable std::mutex Mutex;
    std::vector<std::string> Ports;
    std::string Opened;
    bool Gone = false;
    MidiInCallback Receiver;
};

} // namespace tamtara
