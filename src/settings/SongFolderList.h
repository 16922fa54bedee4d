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

// The folders at or below base written relative to it ("." for base itself), others as they
// are: the game's own folder is the current directory when the settings are read, so a copy of
// the game moved with its settings still finds its songs.
std::vector<std::string> FoldersRelativeTo(const std::vector<std::string>& folders, const std::string& base);
// The relative ones made absolute against base, normalised.
std::vector<std::string> FoldersAbsoluteFrom(const std::vector<std::string>& folders,
                                             const std::string& base);

// The song counts of the last scan, one per folder, joined by ";".
std::string SongCountListText(const std::vector<std::int32_t>& counts);
// Counts that are not numbers read as -1 (unknown).
std::vector<std::int32_t> ParseSongCountList(const std::string& text);

} // namespace tamtara
