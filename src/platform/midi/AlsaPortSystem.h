// ALSA sequencer output ports through RtMidi.
#pragma once

#include "platform/midi/MidiPortSystem.h"

#include <memory>

namespace tamtara {

// The ALSA ports; where the system has no sequencer (containers, CI) there are none, silently.
std::unique_ptr<IMidiPortSystem> CreateAlsaPortSystem();

// "Client:Port 20:0" → "Client:Port": the client and port numbers change between sessions, the
// names a player picks in the launcher should not.
std::string DisplayPortName(const std::string& alsaName);

} // namespace tamtara
