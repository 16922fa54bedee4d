// The scripted MIDI input port.
#include "support/doubles/ScriptedMidiInDriver.h"

#include <algorithm>

namespace tamtara {

std::vector<std::string> ScriptedMidiInDriver::PortNames() {
    std::lock_guard lock(Mutex);
    return Ports;
}

bool ScriptedMidiInDriver::Open(const std::string& name, MidiInCallback onMessage) {
    std::lock_guard lock(Mutex);
    Opened.clear();
    Receiver = nullptr;
    if (std::find(Ports.begin(), Ports.end(), name) == Ports.end()) return false;
    Opened = name;
    Gone = false;
    Receiver = std::move(onMessage);
    return true;
}

void ScriptedMidiInDriver::Close() {
    std::lock_guard lock(Mutex);
    Opened.clear();
    Receiver = nullptr;
}

bool ScriptedMidiInDriver::Connected() {
    std::lock_guard lock(Mutex);
    return !Opened.empty() && !Gone;
}

void ScriptedMidiInDriver::Receive(const MidiInMessage& message) {
    MidiInCallback receiver;
    {
        std::lock_guard lock(Mutex);
        if (Opened.empty() || Gone) return;
        receiver = Receiver;
    }
    if (receiver) receiver(message);
}

void ScriptedMidiInDriver::Vanish() {
    std::lock_guard lock(Mutex);
    Gone = true;
    std::erase(Ports, Opened);
}

std::string ScriptedMidiInDriver::OpenPort() const {
    std::lock_guard lock(Mutex);
    return Opened;
}

} // namespace tamtara
