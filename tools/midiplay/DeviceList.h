// The MIDI output list as the launcher shows it: the mapper first, then devices 0 … n-1.
#pragma once

#include "midi/MidiDriver.h"

#include <string>
#include <vector>

namespace tamtara {

struct MidiDeviceEntry {
    int DeviceId = MidiMapperId; // the value --device (and the game's MidiDevice) takes
    std::string Name;
};

// A device whose capabilities cannot be read is listed with the driver's error text as its name.
std::vector<MidiDeviceEntry> ListMidiDevices(IMidiOutDriver& driver);

} // namespace tamtara
