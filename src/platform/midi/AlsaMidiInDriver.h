// The kit's MIDI input: ALSA sequencer input ports through RtMidi.
#pragma once

#include "base/Clock.h"
#include "midi/MidiInDriver.h"

#include <memory>

namespace tamtara {

// Ports are named as the launcher lists them (client and port numbers stripped). Where the
// system has no sequencer (containers, CI) there are none, silently.
std::unique_ptr<IMidiInDriver> CreateAlsaMidiInDriver(IClock& clock);

} // namespace tamtara
