// The General MIDI SoundFonts installed for the built-in synth: where they are looked for,
// which are found, and which one plays when the player has chosen none.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tamtara {

struct SoundFontFile {
    std::string Path;
    std::uintmax_t Size = 0;
};

// Every readable "*.sf2" and "*.sf3" file directly in folders (links followed), each file
// once however many names lead to it. The named General MIDI sets come first in the order
// FluidR3_GM, MuseScore_General, TimGM6mb (the distribution's default-GM name after them),
// the rest by name.
std::vector<SoundFontFile> DiscoverSoundFonts(const std::vector<std::string>& folders);

// The SoundFont that plays: the saved one while it is still readable, else the first found;
// empty when none is installed.
std::string ChosenSoundFont(const std::string& saved, const std::vector<SoundFontFile>& found);

// "FluidR3_GM.sf2 (141.5 MB)": the file name and its size, for the launcher's list.
std::string SoundFontCaption(const SoundFontFile& file);

} // namespace tamtara
