// Where the built-in synth finds its General MIDI SoundFont on a Debian-style system.
#pragma once

#include <string>
#include <vector>

namespace tamtara {

// The places looked at, most preferred first (the distribution's default-GM alternative, then
// the usual FluidR3 and TimGM6mb installs).
const std::vector<std::string>& GmSoundFontCandidates();

// The first candidate that is a readable file; empty when there is none.
std::string FindGmSoundFont();

} // namespace tamtara
