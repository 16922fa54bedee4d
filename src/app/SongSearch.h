// Finds a song to play while the song library and its menus are still to come.
#pragma once

#include <string>

namespace tamtara {

// The first "*.mid" file (case-insensitive, names beginning with "_" excluded) under folder,
// in path order, as a path relative to folder; empty when there is none.
std::string FindFirstSong(const std::string& folder);

} // namespace tamtara
