// The song folders as one ini value: the folders joined by ";", a ";" or "\" inside a folder's
// path written with a "\" before it, so any path survives the round trip.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tamtara {

std::string SongFolderListText(const std::vector<std::string>& folders);
// Empty items are dropped; a "\" before any character keeps that character.
std::vector<std::string> ParseSongFolderList(const std::string& text);

// The song counts of the last scan, one per folder, joined by ";".
std::string SongCountListText(const std::vector<std::int32_t>& counts);
// Counts that are not numbers read as -1 (unknown).
std::vector<std::int32_t> ParseSongCountList(const std::string& text);

} // namespace tamtara
