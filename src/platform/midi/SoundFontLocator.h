// Where the built-in synth finds its General MIDI SoundFont on a Debian-style system.
#pragma once

#include <string>
#include <vector>

namespace tamtara {

// The places looked at, most preferred first (the distribution's default-GM alternative, then
// the usual FluidR3 and TimGM6mb installs).
const std::vector<std::string>& GmSoundFontCandidates();

// The preferred SoundFont when one is set and readable, else the first candidate that is a
// readable file; empty when there is none.
std::string FindGmSoundFont();

// The SoundFont the player chose (empty: none); the built-in synth loads it when it starts.
void SetPreferredSoundFont(const std::string& path);

} // namespace tamtara
