// Finding and ranking the installed SoundFonts.
#include "settings/SoundFonts.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <set>
#include <string_view>

namespace tamtara {

namespace {

namespace fs = std::filesystem;

std::string Lower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

// The preference of a file by its name: the better General MIDI sets first.
int Rank(const std::string& path) {
    static constexpr std::array<std::string_view, 4> preferred = {"fluidr3_gm", "musescore_general",
                                                                  "timgm6mb", "default-gm"};
    const std::string name = Lower(fs::path(path).filename().string());
    for (std::size_t i = 0; i < preferred.size(); ++i)
        if (name.compare(0, preferred[i].size(), preferred[i]) == 0) return static_cast<int>(i);
    return static_cast<int>(preferred.size());
}

bool IsSoundFontName(const fs::path& path) {
    const std::string extension = Lower(path.extension().string());
    return extension == ".sf2" || extension == ".sf3";
}

} // namespace

std::vector<SoundFontFile> DiscoverSoundFonts(const std::vector<std::string>& folders) {
    std::vector<SoundFontFile> found;
    for (const std::string& folder : folders) {
        std::error_code error;
        for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
            const fs::path& path = it->path();
            std::error_code statError;
            if (!IsSoundFontName(path) || !fs::is_regular_file(path, statError)) continue;
            if (::access(path.c_str(), R_OK) != 0) continue;
            found.push_back({path.string(), fs::file_size(path, statError)});
        }
    }
    std::stable_sort(found.begin(), found.end(), [](const SoundFontFile& a, const SoundFontFile& b) {
        const int rankA = Rank(a.Path), rankB = Rank(b.Path);
        if (rankA != rankB) return rankA < rankB;
        return fs::path(a.Path).filename() < fs::path(b.Path).filename();
    });
    // default-GM and its kin are links to one of the others: keep the first name of each file.
    std::set<std::string> seen;
    std::vector<SoundFontFile> unique;
    for (SoundFontFile& file : found) {
        std::error_code error;
        const fs::path real = fs::canonical(file.Path, error);
        if (seen.insert(error ? file.Path : real.string()).second) unique.push_back(std::move(file));
    }
    return unique;
}

std::string ChosenSoundFont(const std::string& saved, const std::vector<SoundFontFile>& found) {
    if (!saved.empty() && ::access(saved.c_str(), R_OK) == 0) return saved;
    return found.empty() ? std::string() : found.front().Path;
}

std::string SoundFontCaption(const SoundFontFile& file) {
    char size[32];
    std::snprintf(size, sizeof size, "%.1f MB", static_cast<double>(file.Size) / (1024.0 * 1024.0));
    return fs::path(file.Path).filename().string() + " (" + size + ")";
}

} // namespace tamtara
