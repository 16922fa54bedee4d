// The launcher's side of starting the game: its MIDI device list and the hand-over of the
// settings to the game window, in the order the window expects them.
#pragma once

#include "launcher/GameWindow.h"
#include "midi/MidiDriver.h"
#include "settings/Settings.h"

#include <string>
#include <vector>

namespace tamtara {

// The launcher's MIDI list: the mapper's product name, then every numbered device's.
std::vector<std::string> MidiDeviceNames(IMidiOutDriver& driver);

// Prev, Demo, MidiDevice, Combo, NoBank, the display, DInput, MissPenalty, Level, the keys.
void HandOverSettings(IGameWindow& window, const GameSettings& settings);

} // namespace tamtara
