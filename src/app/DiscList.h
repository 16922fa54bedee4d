// What the selection screens derive from the library lists: the disc list of a folder and the
// texts that name folders and songs on screen.
#pragma once

#include <string>
#include <vector>

namespace tamtara {

// Whether song lies directly in folder: its directory part, up to and including the last "/",
// equals folder followed by "/", compared exactly (songs of subfolders do not).
bool SongLiesIn(const std::string& song, const std::string& folder);

// The songs (and their titles) of folder, in the order of songFiles.
void BuildDiscList(const std::string& folder, const std::vector<std::string>& songFiles,
                   const std::vector<std::string>& songTitles, std::vector<std::string>& discFiles,
                   std::vector<std::string>& discTitles);

// A folder's label: its path below programFolder joined with "/", or "../" and the folder's own
// name for programFolder itself; a folder elsewhere keeps its whole path. UTF-8 for drawing.
std::string FolderLabel(const std::string& folder, const std::string& programFolder);

// The file name of a song path without its folder, as UTF-8 for drawing.
std::string DiscFileName(const std::string& songFile);

} // namespace tamtara
