// Locating the program and entering its folder.
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

void EnterProgramFolder(const std::string& programPath) {
    namespace fs = std::filesystem;
    const fs::path folder = fs::path(programPath).parent_path();
    std::error_code error;
    fs::current_path(folder, error);
    if (error) {
        throw std::runtime_error("Cannot enter the program's folder \"" + folder.string() +
                                 "\": " + error.message());
    }
}

} // namespace tamtara
