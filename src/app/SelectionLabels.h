// The texts that name folders and songs on the selection screens.
#pragma once

#include <string>

namespace tamtara {

// A folder's label: its path below programFolder joined with "/", or "../" and the folder's own
// name for programFolder itself; a folder elsewhere keeps its whole path. UTF-8 for drawing.
std::string FolderLabel(const std::string& folder, const std::string& programFolder);

// The file name of a song path without its folder, as UTF-8 for drawing.
std::string DiscFileName(const std::string& songFile);

} // namespace tamtara
