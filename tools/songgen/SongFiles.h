// Where each piece of music and picture lands in the game folder, and writing them there.
#pragma once

#include "songgen/Arrangement.h"

#include <string>

namespace tamtara {

// Path of a song relative to the game folder: "Folder/name.mid", or "name.mid" for jingles.
std::string SongPath(const TSong& song);

// Writes every jingle, demo song and song picture below gameDir; returns a line per file.
std::string WriteGameMusic(const std::string& gameDir);

} // namespace tamtara
