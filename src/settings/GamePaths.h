// Where the game keeps everything: one decision, made from the program's own place and the
// player's environment, that every other part reads its folders and files from.
#pragma once

#include <string>
#include <vector>

namespace tamtara {

// The marker beside the program that keeps the whole game in the program's folder.
inline constexpr const char* PortableMarkerName = "portable";

// The parts of the environment the decision reads; empty means unset.
struct PathEnvironment {
    std::string Home;
    std::string XdgConfigHome;
    std::string XdgDataHome;
    std::string XdgCacheHome;
};

struct GamePaths {
    // A portable copy keeps settings, records and songs beside the program.
    bool Portable = true;
    std::string ProgramFolder;
    // The shipped data (packages, jingles, readme, demo songs); the current directory once the
    // program has entered it.
    std::string DataFolder;
    // The settings file; the records database lives beside it in a portable copy.
    std::string SettingsFile;
    std::string ConfigFolder;
    std::string RecordsFolder;
    std::string CacheFolder;
    // The player's own song folder: XDG_MUSIC_DIR of user-dirs.dirs (the music folder below
    // Home when it names none) with "Tamtara" below it; it need not exist.
    std::string MusicSongFolder;
    // Where installed SoundFonts are looked for: the distribution's sf2 and sf3 folders, then
    // the player's own below XDG_DATA_HOME.
    std::vector<std::string> SoundFontFolders;
};

// The environment of this process (HOME falling back to the password database).
PathEnvironment ProcessPathEnvironment();

// The decision. programPath is the program's absolute path; installedData is the shipped data
// folder of an installed copy, relative to the program's folder (e.g. "../share/tamtara") or
// absolute. Portable when PortableMarkerName stands beside the program. An installed copy
// takes the XDG folders (a relative or unset variable gives the default below Home) and never
// uses a settings file beside the program.
GamePaths DecideGamePaths(const std::string& programPath, const PathEnvironment& environment,
                          const std::string& installedData);

// The song folders of a first start: the data folder, then MusicSongFolder when it exists.
std::vector<std::string> DefaultSongFolders(const GamePaths& paths);

// Creates folder and any missing parents, each new one readable only by the player (0700).
// Raises ESettingsError naming the folder when it cannot be made.
void MakePrivateFolder(const std::string& folder);
// The folders an installed copy writes to (config, records, cache); nothing for a portable one.
void MakeWritableFolders(const GamePaths& paths);

} // namespace tamtara
