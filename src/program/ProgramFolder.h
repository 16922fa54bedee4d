// The program's own path, and the game folder every relative name resolves against.
#pragma once

#include <string>

namespace tamtara {

// The running program's full path (from /proc/self/exe, else argv0 made absolute).
std::string ProgramPath(const char* argv0);
// Makes the game's data folder (GamePaths::DataFolder) the current directory: every relative
// name of a package, jingle or readme resolves against it. Raises std::runtime_error naming it.
void EnterGameFolder(const std::string& folder);

} // namespace tamtara
