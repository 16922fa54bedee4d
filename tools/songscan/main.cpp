// songscan [--progress] DIR: the game's own library scan with DIR as the game folder, one item
// a line ("folder REL", "song REL TITLEHEX", with --progress first "progress PERCENT MSG").
#include "library/DirectoryListing.h"
#include "library/SongLibrary.h"

#include <sys/stat.h>

#include <cstdio>
#include <iostream>
#include <string>

namespace {

// path relative to base ("." for base itself); both absolute, base without a trailing "/".
std::string Relative(const std::string& path, const std::string& base) {
    if (path == base) return ".";
    const std::string prefix = base == "/" ? base : base + "/";
    return path.compare(0, prefix.size(), prefix) == 0 ? path.substr(prefix.size()) : path;
}

std::string Hex(const std::string& bytes) {
    if (bytes.empty()) return "-";
    std::string text;
    char digits[3];
    for (unsigned char byte : bytes) {
        std::snprintf(digits, sizeof digits, "%02X", byte);
        text += digits;
    }
    return text;
}

bool IsDirectory(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

} // namespace

int main(int argc, char** argv) {
    using namespace tamtara;
    bool progress = false;
    std::string directory;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--progress")
            progress = true;
        else if (directory.empty())
            directory = argument;
        else
            directory.clear(), i = argc;
    }
    if (directory.empty()) {
        std::cerr << "usage: songscan [--progress] DIR" << std::endl;
        return 2;
    }
    if (!IsDirectory(directory)) {
        std::cerr << "songscan: no such directory: " << directory << std::endl;
        return 1;
    }
    const std::string base = AbsoluteDirectory(directory);
    TSongLibrary library;
    TScanProgress onProgress;
    if (progress) {
        onProgress = [](std::int32_t percent, const std::string& msg) {
            std::cout << "progress " << percent << " " << msg << "\n";
        };
    }
    library.Scan(base, onProgress);
    for (const std::string& folder : library.Folders)
        std::cout << "folder " << Relative(folder, base) << "\n";
    for (std::size_t i = 0; i < library.SongFiles.size(); ++i) {
        std::cout << "song " << Relative(library.SongFiles[i], base) << " " << Hex(library.SongTitles[i])
                  << "\n";
    }
    std::cout.flush();
    return std::cout ? 0 : 1;
}
