// The launcher's hand-over to the game window: the settings values, the display mode, the
// input mode and the player's keys. Until the launcher dialog exists the program reads the
// settings straight from the ini file.
#pragma once

#include "midi/MidiDriver.h"
#include "settings/Settings.h"

#include <string>
#include <vector>

namespace tamtara {

class TMainForm;

// The launcher's MIDI list: the mapper's product name, then every numbered device's.
std::vector<std::string> MidiDeviceNames(IMidiOutDriver& driver);

// LoadSettings of the program's ini file, made into GameSettings against the driver's devices.
GameSettings ReadGameSettings(const std::string& programPath, IMidiOutDriver& driver);

// Writes settings into the window before it is shown, in the launcher's order.
void HandOverSettings(TMainForm& form, const GameSettings& settings);

} // namespace tamtara
