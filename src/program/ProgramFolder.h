// The program's own path and folder; the folder is the game folder every relative name
// resolves against.
#pragma once

#include <string>

namespace tamtara {

// The running program's full path (from /proc/self/exe, else argv0 made absolute).
std::string ProgramPath(const char* argv0);
// Makes the program's folder the current directory; raises std::runtime_error naming it.
void EnterProgramFolder(const std::string& programPath);

} // namespace tamtara
