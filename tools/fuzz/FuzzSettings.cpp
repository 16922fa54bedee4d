// Feeds arbitrary ini files to the settings store: load, save, load again must give the same
// settings, keep every line that the save does not own, and a second save must change nothing.
#include "settings/ProfileText.h"
#include "settings/Settings.h"
#include "settings/SettingsError.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

namespace {

// A folder of the run's own, its name as long in every run: a path that grew with the process
// id would take the save through other counts of the same loops, and CI's fixed-seed runs would
// stop repeating themselves.
struct IniFolder {
    std::string Path;
    IniFolder() {
        // Memory-backed when it can be: every save syncs the file and its folder.
        std::string name =
            ::access("/dev/shm", W_OK) == 0 ? "/dev/shm/fuzz_settings_XXXXXX" : "/tmp/fuzz_settings_XXXXXX";
        if (!::mkdtemp(name.data())) std::abort();
        Path = name;
    }
    ~IniFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(Path, ignored);
    }
};

const std::string& IniPath() {
    static const IniFolder folder;
    static const std::string path = folder.Path + "/tamtara.ini";
    return path;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The file's lines as the store reads them: in its text form (UTF-16 converted, a mark set
// aside), split at "\n", or at "\r" in a file with no "\n" at all.
std::vector<std::string> SplitLines(const std::string& bytes) {
    tamtara::ProfileTextForm form;
    const std::string text = tamtara::DecodeProfileText(bytes, form).value_or(bytes);
    const char newline =
        text.find('\n') == std::string::npos && text.find('\r') != std::string::npos ? '\r' : '\n';
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(newline, start);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

// A key line with a name that the save writes: it may be rewritten or, as a second copy, go.
bool SavedKeyLine(std::string_view line) {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> list = {"mejor",  "minor",      "release", "midi", "prev", "nobank",
                                         "dinput", "fullscreen", "level",   "demo", "combo"};
        for (char part = '1'; part <= '7'; ++part)
            for (char side : {'a', 'b'})
                list.push_back(std::string("key") + part + side);
        return list;
    }();
    std::size_t first = line.find_first_not_of(" \t\r");
    std::size_t equals = line.find('=');
    if (first == std::string_view::npos || equals == std::string_view::npos || equals < first) return false;
    if (line[first] == ';' || line[first] == '#' || line[first] == '[') return false;
    std::string name = Lower(line.substr(first, equals - first));
    name.erase(name.find_last_not_of(" \t\r") + 1);
    return std::find(names.begin(), names.end(), name) != names.end();
}

bool SameSettings(const tamtara::LauncherSettings& a, const tamtara::LauncherSettings& b) {
    return a.Midi == b.Midi && a.Prev == b.Prev && a.NoBank == b.NoBank && a.DInput == b.DInput &&
           a.FullScreen == b.FullScreen && a.Level == b.Level && a.Demo == b.Demo && a.Combo == b.Combo &&
           a.KeyA == b.KeyA && a.KeyB == b.KeyB;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tamtara;
    const std::string original(reinterpret_cast<const char*>(data), size);
    std::ofstream(IniPath(), std::ios::binary | std::ios::trunc) << original;

    const LauncherSettings loaded = LoadSettings(IniPath());
    try {
        SaveSettings(IniPath(), loaded);
    } catch (const ESettingsError&) {
        // A file the store refuses to change (UTF-16 that does not decode) is left as it was.
        if (ReadFile(IniPath()) != original) std::abort();
        return 0;
    }
    const std::string saved = ReadFile(IniPath());
    if (!SameSettings(LoadSettings(IniPath()), loaded)) std::abort();

    // Every line the save does not own is still there, in its order.
    std::vector<std::string> after = SplitLines(saved);
    auto next = after.begin();
    for (const std::string& line : SplitLines(original)) {
        if (SavedKeyLine(line)) continue;
        next = std::find(next, after.end(), line);
        if (next == after.end()) std::abort();
        ++next;
    }

    SaveSettings(IniPath(), LoadSettings(IniPath()));
    if (ReadFile(IniPath()) != saved) std::abort();
    return 0;
}
