// The one place that turns the program's location and the environment into the game's folders.
#include "settings/GamePaths.h"

#include "settings/Settings.h"
#include "settings/SettingsError.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace tamtara {

namespace {

namespace fs = std::filesystem;

constexpr const char* GameFolderName = "tamtara";
constexpr const char* MusicSubfolderName = "Tamtara";

std::string Variable(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// The variable when it names an absolute folder, else fallback below home (the base directory
// rules: a relative value is ignored).
std::string XdgFolder(const std::string& value, const std::string& home, const char* fallback) {
    if (!value.empty() && value.front() == '/') return fs::path(value).lexically_normal().string();
    return (fs::path(home) / fallback).lexically_normal().string();
}

std::string WithoutTrailingSlash(std::string path) {
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

// XDG_MUSIC_DIR from the user-dirs.dirs of configHome: a quoted "$HOME/..." or absolute path.
// Empty when the file or the line is missing or malformed.
std::string UserMusicFolder(const std::string& configHome, const std::string& home) {
    std::ifstream in(fs::path(configHome) / "user-dirs.dirs");
    std::string line;
    const std::string key = "XDG_MUSIC_DIR=";
    while (std::getline(in, line)) {
        if (line.compare(0, key.size(), key) != 0) continue;
        std::string value = line.substr(key.size());
        if (value.size() < 2 || value.front() != '"' || value.back() != '"') return {};
        value = value.substr(1, value.size() - 2);
        if (value.compare(0, 5, "$HOME") == 0) value = home + value.substr(5);
        if (value.empty() || value.front() != '/') return {};
        // "$HOME/" alone means the folder is disabled.
        if (WithoutTrailingSlash(value) == WithoutTrailingSlash(home)) return {};
        return WithoutTrailingSlash(value);
    }
    return {};
}

} // namespace

PathEnvironment ProcessPathEnvironment() {
    PathEnvironment environment{Variable("HOME"), Variable("XDG_CONFIG_HOME"), Variable("XDG_DATA_HOME"),
                                Variable("XDG_CACHE_HOME")};
    if (environment.Home.empty()) {
        if (const passwd* entry = ::getpwuid(::getuid()); entry && entry->pw_dir)
            environment.Home = entry->pw_dir;
    }
    return environment;
}

GamePaths DecideGamePaths(const std::string& programPath, const PathEnvironment& environment,
                          const std::string& installedData) {
    GamePaths paths;
    const fs::path program = fs::path(programPath).lexically_normal();
    paths.ProgramFolder = WithoutTrailingSlash(program.parent_path().string());
    std::error_code error;
    paths.Portable = fs::exists(fs::path(paths.ProgramFolder) / PortableMarkerName, error);
    const std::string home = environment.Home.empty() ? "/" : environment.Home;
    const std::string configHome = XdgFolder(environment.XdgConfigHome, home, ".config");
    const std::string music = UserMusicFolder(configHome, home);
    paths.MusicSongFolder =
        (fs::path(music.empty() ? home + "/Music" : music) / MusicSubfolderName).lexically_normal().string();
    const std::string dataHome = XdgFolder(environment.XdgDataHome, home, ".local/share");
    paths.SoundFontFolders = {"/usr/share/sounds/sf2", "/usr/share/sounds/sf3", dataHome + "/sounds"};
    if (paths.Portable) {
        paths.DataFolder = paths.ProgramFolder;
        paths.SettingsFile = SettingsPathForProgram(program.string());
        paths.ConfigFolder = paths.ProgramFolder;
        paths.RecordsFolder = paths.ProgramFolder;
        paths.CacheFolder = paths.ProgramFolder;
        return paths;
    }
    paths.DataFolder =
        WithoutTrailingSlash((fs::path(paths.ProgramFolder) / installedData).lexically_normal().string());
    paths.ConfigFolder = (fs::path(configHome) / GameFolderName).string();
    paths.SettingsFile = (fs::path(paths.ConfigFolder) / "tamtara.ini").string();
    paths.RecordsFolder = (fs::path(dataHome) / GameFolderName).string();
    paths.CacheFolder =
        (fs::path(XdgFolder(environment.XdgCacheHome, home, ".cache")) / GameFolderName).string();
    return paths;
}

std::vector<std::string> DefaultSongFolders(const GamePaths& paths) {
    std::vector<std::string> folders;
    if (!paths.DataFolder.empty()) folders.push_back(paths.DataFolder);
    std::error_code error;
    if (!paths.MusicSongFolder.empty() && fs::is_directory(paths.MusicSongFolder, error))
        folders.push_back(paths.MusicSongFolder);
    return folders;
}

void MakePrivateFolder(const std::string& folder) {
    // Parents first, each made private as it is made; existing ones keep their modes.
    fs::path made;
    for (const fs::path& part : fs::path(folder).lexically_normal()) {
        made /= part;
        if (part.empty() || made == made.root_path()) continue;
        if (::mkdir(made.c_str(), 0700) == 0 || errno == EEXIST) continue;
        throw ESettingsError(made.string() + " を作成できません: " + std::strerror(errno));
    }
    std::error_code error;
    if (!fs::is_directory(folder, error)) throw ESettingsError(folder + " を作成できません");
}

void MakeWritableFolders(const GamePaths& paths) {
    if (paths.Portable) return;
    MakePrivateFolder(paths.ConfigFolder);
    MakePrivateFolder(paths.RecordsFolder);
    MakePrivateFolder(paths.CacheFolder);
}

} // namespace tamtara
