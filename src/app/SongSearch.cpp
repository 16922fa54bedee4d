// A recursive walk for the first song file; unreadable folders are passed over.
#include "app/SongSearch.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <vector>

namespace tamtara {

namespace {

bool IsSongName(const std::string& name) {
    if (name.size() < 5 || name.front() == '_') return false;
    std::string extension = name.substr(name.size() - 4);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == ".mid";
}

} // namespace

std::string FindFirstSong(const std::string& folder) {
    namespace fs = std::filesystem;
    std::vector<fs::path> songs;
    std::error_code error;
    // Symbolic links to folders are not followed, so a link loop cannot trap the walk.
    fs::recursive_directory_iterator it(folder, fs::directory_options::skip_permission_denied,
                                        error);
    for (; !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
        if (it->is_regular_file(error) && IsSongName(it->path().filename().string())) {
            songs.push_back(fs::relative(it->path(), folder, error));
        }
    }
    if (songs.empty()) return {};
    return std::min_element(songs.begin(), songs.end())->string();
}

} // namespace tamtara
