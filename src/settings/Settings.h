// The player's settings: the record the launcher's controls bind to, its ini file, and the
// GameSettings handed to the game window when play starts.
#pragma once

#include "base/DrumParts.h"
#include "settings/KitSettings.h"
#include "settings/PracticeSettings.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace tamtara {

// The input offset's range in milliseconds.
inline constexpr std::int32_t MinInputOffsetMs = -250;
inline constexpr std::int32_t MaxInputOffsetMs = 250;
// The MIDI input list's first entry: no kit.
inline constexpr const char* NoMidiInput = "(なし)";
// How full screen enlarges the picture, as the ini file keeps it: the largest whole factor
// (sharp), or the largest size that keeps the shape (smooth). Other values read as Integer.
inline constexpr std::int32_t ScalingInteger = 0;
inline constexpr std::int32_t ScalingFit = 1;
inline constexpr std::int32_t ScalingCount = 2;

// What the launcher shows and saves. Level and the keys are list positions; -1 means the list
// has no selection (the launcher may produce it; loading never does).
struct LauncherSettings {
    std::string Midi = "MIDI Mapper";
    bool Prev = true;
    bool NoBank = false;
    bool DInput = true;
    bool FullScreen = true;
    std::int32_t Scaling = ScalingInteger;
    std::int32_t Level = 3;
    bool Demo = true;
    bool Combo = true;
    std::array<std::int32_t, LaneCount> KeyA{};
    std::array<std::int32_t, LaneCount> KeyB{};
    // Strikes judged at their own moment rather than at the frame's poll.
    bool PreciseInput = true;
    std::int32_t InputOffsetMs = 0;
    // The MIDI input port of the kit, by name; NoMidiInput for none.
    std::string MidiIn = NoMidiInput;
    KitSettings Kit = DefaultKit();
    // Read from [Practice]; the launcher carries it over untouched and SaveSettings leaves the
    // section to the game, which saves it when a practice is set up.
    PracticeSettings Practice;
    // [Library] Folders: the roots the scan walks, in the player's order.
    std::vector<std::string> SongFolders;
    // The file named no folders, so SongFolders holds the defaults: a save writes no Folders
    // key, and the defaults (a music folder made later) keep applying until the player changes
    // the list.
    bool SongFoldersDefault = false;
    // [Library] SongCounts: the songs each folder held at the last scan; -1 unknown.
    std::vector<std::int32_t> SongCounts;
    // [Synth] SoundFont: the built-in synth's SoundFont file; empty for the best one installed.
    std::string SoundFont;
    // [GameConfig] ExtendedDrumMap: more kit pieces on the lanes (see midi/DrumMap.h).
    bool ExtendedDrumMap = false;
};

struct GameSettings {
    std::int32_t MidiDevice = -1; // -1 is the MIDI mapper, n is output device n
    bool Prev = true;
    bool Demo = true;
    bool Combo = true;
    bool NoBank = false;
    bool FullScreen = true;
    std::int32_t Scaling = ScalingInteger;
    bool DInput = true;
    std::int32_t Level = 3;
    std::int32_t MissPenalty = 20;
    std::array<std::int32_t, LaneCount> KeyA{}; // key codes
    std::array<std::int32_t, LaneCount> KeyB{};
    bool PreciseInput = true;
    std::int32_t InputOffsetMs = 0;
    // The kit's input port name; empty for none.
    std::string MidiIn;
    KitSettings Kit = DefaultKit();
    // Its keys are usable ones: none of them a lane key or a key of the window's own in play.
    PracticeSettings Practice;
    bool ExtendedDrumMap = false;
};

// Every default of a first run.
LauncherSettings DefaultSettings();
// The launcher's two default buttons: the device, display and input options; the keys.
void ResetAppDefaults(LauncherSettings& settings);
void ResetKeyDefaults(LauncherSettings& settings);

// The program's path with ".ini" in place of its extension, the file name in lower case
// (the folders keep theirs: paths here are case-sensitive).
std::string SettingsPathForProgram(const std::string& programPath);

// Missing file, sections or keys give the defaults; so does a value that is not a number
// where one is expected, or a level or key position outside its list. A file without a
// Folders key gets defaultSongFolders (see DefaultSongFolders); one with an empty key, none.
LauncherSettings LoadSettings(const std::string& iniPath,
                              const std::vector<std::string>& defaultSongFolders = {});
// Writes the Version keys and every setting but the practice section (and the song folders while
// they are the defaults), keeping whatever else the file holds.
// Raises ESettingsError "<path> に書き込めません" and leaves the old file as it was.
void SaveSettings(const std::string& iniPath, const LauncherSettings& settings);

// Writes only the song counts of the last scan, keeping everything else in the file.
void SaveSongCounts(const std::string& iniPath, const std::vector<std::int32_t>& counts);

// Writes only InputOffsetMs (clamped to its range), keeping everything else in the file.
void SaveInputOffset(const std::string& iniPath, std::int32_t offsetMs);

// Position of the first device name equal to midi without regard to case, or 0 (the MIDI
// mapper, the list's first entry) when there is none.
int FindMidiEntry(const std::vector<std::string>& midiNames, const std::string& midi);
// The device number of a position in the MIDI list (the mapper, -1, when none is chosen).
std::int32_t MidiDeviceOfEntry(int entry);
// The device is the first one carrying the saved name; a launcher that knows which row was
// chosen hands that row over instead, as two devices may share a name.
GameSettings MakeGameSettings(const LauncherSettings& settings, const std::vector<std::string>& midiNames);

} // namespace tamtara
