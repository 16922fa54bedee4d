// Locating the program and entering the game's folder.
#include "program/ProgramFolder.h"

#include <filesystem>
#include <stdexcept>

namespace tamtara {

std::string ProgramPath(const char* argv0) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path self = fs::read_symlink("/proc/self/exe", error);
    if (!error) return self.string();
    const fs::path fromArgument = fs::absolute(argv0 ? argv0 : "", error);
    return error ? std::string(argv0 ? argv0 : "") : fromArgument.lexically_normal().string();
}

void EnterGameFolder(const std::string& folder) {
    namespace fs = std::filesystem;
    std::error_code error;
    fs::current_path(folder, error);
    if (error) {
        throw std::runtime_error("Cannot enter the game's folder \"" + folder + "\": " + error.message());
    }
}

} // namespace tamtara
