// Reading, writing and converting the player's settings.
#include "settings/Settings.h"

#include "settings/Choices.h"
#include "settings/ProfileFile.h"
#include "settings/SongFolderList.h"

#include <algorithm>
#include <filesystem>

namespace tamtara {

namespace {

const char* const KeySection = "KeyConfig";
const char* const InputSection = "Input";
const char* const KitSection = "Kit";
const char* const LibrarySection = "Library";
const char* const SynthSection = "Synth";

// Default entries of the first and second key of each drum part, by text so they follow the list.
constexpr std::array<std::string_view, LaneCount> DefaultKeyA = {"A", "F", "スペース", "J", "K", "L", ";"};
constexpr std::array<std::string_view, LaneCount> DefaultKeyB = {"S", "D", "(なし)", "I", "O", "P", "(なし)"};

std::string KeyName(int part, char slot) {
    return "Key" + std::to_string(part + 1) + slot;
}

char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualNoCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
    return true;
}

std::int32_t ReadPosition(const TProfileFile& ini, const char* section, const std::string& key,
                          std::int32_t fallback, int listSize) {
    std::int32_t position = ini.ReadInteger(section, key, fallback);
    return position >= 0 && position < listSize ? position : fallback;
}

std::int32_t ClampOffset(std::int32_t offset) {
    return std::clamp(offset, MinInputOffsetMs, MaxInputOffsetMs);
}

std::string LaneKey(int lane, const char* what) {
    return "Lane" + std::to_string(lane + 1) + what;
}

KitSettings LoadKit(const TProfileFile& ini) {
    KitSettings kit = DefaultKit();
    for (int lane = 0; lane < LaneCount; ++lane) {
        const auto i = static_cast<std::size_t>(lane);
        if (const auto text = ini.RawValue(KitSection, LaneKey(lane, "Notes")))
            kit.Notes[i] = ParseKitNoteList(*text);
        kit.MinVelocity[i] =
            std::clamp(ini.ReadInteger(KitSection, LaneKey(lane, "MinVelocity"), kit.MinVelocity[i]), 0, 127);
    }
    kit.DebounceMs = std::clamp(ini.ReadInteger(KitSection, "DebounceMs", kit.DebounceMs), 0, 1000);
    const std::int32_t enter = ini.ReadInteger(KitSection, "EnterNote", kit.EnterNote);
    kit.EnterNote = enter >= 0 && enter <= 127 ? enter : NoKitNote;
    return kit;
}

void SaveKit(TProfileFile& ini, const KitSettings& kit) {
    for (int lane = 0; lane < LaneCount; ++lane)
        ini.WriteString(KitSection, LaneKey(lane, "Notes"),
                        KitNoteListText(kit.Notes[static_cast<std::size_t>(lane)]));
    for (int lane = 0; lane < LaneCount; ++lane)
        ini.WriteInteger(KitSection, LaneKey(lane, "MinVelocity"),
                         kit.MinVelocity[static_cast<std::size_t>(lane)]);
    ini.WriteInteger(KitSection, "DebounceMs", kit.DebounceMs);
    ini.WriteInteger(KitSection, "EnterNote", kit.EnterNote);
}

} // namespace

LauncherSettings DefaultSettings() {
    LauncherSettings settings;
    ResetAppDefaults(settings);
    ResetKeyDefaults(settings);
    return settings;
}

void ResetAppDefaults(LauncherSettings& settings) {
    LauncherSettings defaults;
    settings.Midi = defaults.Midi;
    settings.MidiIn = defaults.MidiIn;
    settings.Prev = defaults.Prev;
    settings.NoBank = defaults.NoBank;
    settings.DInput = defaults.DInput;
    settings.FullScreen = defaults.FullScreen;
    settings.Scaling = defaults.Scaling;
    settings.SoundFont = defaults.SoundFont;
}

void ResetKeyDefaults(LauncherSettings& settings) {
    for (int part = 0; part < LaneCount; ++part) {
        settings.KeyA[static_cast<std::size_t>(part)] =
            KeyChoicePosition(DefaultKeyA[static_cast<std::size_t>(part)]);
        settings.KeyB[static_cast<std::size_t>(part)] =
            KeyChoicePosition(DefaultKeyB[static_cast<std::size_t>(part)]);
    }
}

std::string SettingsPathForProgram(const std::string& programPath) {
    std::filesystem::path path(programPath);
    path.replace_extension(".ini");
    std::string name = path.filename().string();
    for (char& c : name)
        c = LowerAscii(c);
    path.replace_filename(name);
    return path.string();
}

LauncherSettings LoadSettings(const std::string& iniPath,
                              const std::vector<std::string>& defaultSongFolders) {
    TProfileFile ini(iniPath);
    LauncherSettings settings = DefaultSettings();
    settings.Midi = ini.ReadString("Config", "Midi", settings.Midi);
    settings.Prev = ini.ReadBool("Config", "Prev", settings.Prev);
    settings.NoBank = ini.ReadBool("Config", "NoBank", settings.NoBank);
    settings.DInput = ini.ReadBool("Config", "DInput", settings.DInput);
    settings.FullScreen = ini.ReadBool("Config", "FullScreen", settings.FullScreen);
    settings.Scaling = ReadPosition(ini, "Config", "Scaling", settings.Scaling, ScalingCount);
    settings.Level = ReadPosition(ini, "GameConfig", "Level", settings.Level, LevelCount);
    settings.Demo = ini.ReadBool("GameConfig", "Demo", settings.Demo);
    settings.Combo = ini.ReadBool("GameConfig", "Combo", settings.Combo);
    settings.ExtendedDrumMap = ini.ReadBool("GameConfig", "ExtendedDrumMap", settings.ExtendedDrumMap);
    for (int part = 0; part < LaneCount; ++part) {
        auto& keyA = settings.KeyA[static_cast<std::size_t>(part)];
        auto& keyB = settings.KeyB[static_cast<std::size_t>(part)];
        keyA = ReadPosition(ini, KeySection, KeyName(part, 'A'), keyA, KeyChoiceCount);
        keyB = ReadPosition(ini, KeySection, KeyName(part, 'B'), keyB, KeyChoiceCount);
    }
    settings.PreciseInput = ini.ReadBool(InputSection, "PreciseInput", settings.PreciseInput);
    settings.InputOffsetMs =
        ClampOffset(ini.ReadInteger(InputSection, "InputOffsetMs", settings.InputOffsetMs));
    settings.MidiIn = ini.ReadString(InputSection, "MidiIn", settings.MidiIn);
    settings.Kit = LoadKit(ini);
    settings.Practice = LoadPracticeSettings(iniPath);
    const auto folders = ini.RawValue(LibrarySection, "Folders");
    settings.SongFolders =
        folders ? FoldersAbsoluteFrom(ParseSongFolderList(*folders), std::filesystem::current_path().string())
                : defaultSongFolders;
    settings.SongFoldersDefault = !folders;
    settings.SongCounts = ParseSongCountList(ini.ReadString(LibrarySection, "SongCounts", ""));
    settings.SongCounts.resize(settings.SongFolders.size(), -1);
    settings.SoundFont = ini.ReadString(SynthSection, "SoundFont", "");
    return settings;
}

void SaveSettings(const std::string& iniPath, const LauncherSettings& settings) {
    TProfileFile ini(iniPath);
    ini.WriteInteger("Version", "Mejor", 1);
    ini.WriteInteger("Version", "Minor", 8);
    ini.WriteInteger("Version", "Release", 2);
    ini.WriteString("Config", "Midi", settings.Midi);
    ini.WriteBool("Config", "Prev", settings.Prev);
    ini.WriteBool("Config", "NoBank", settings.NoBank);
    ini.WriteBool("Config", "DInput", settings.DInput);
    ini.WriteBool("Config", "FullScreen", settings.FullScreen);
    ini.WriteInteger("Config", "Scaling", settings.Scaling);
    ini.WriteInteger("GameConfig", "Level", settings.Level);
    ini.WriteBool("GameConfig", "Demo", settings.Demo);
    ini.WriteBool("GameConfig", "Combo", settings.Combo);
    ini.WriteBool("GameConfig", "ExtendedDrumMap", settings.ExtendedDrumMap);
    for (int part = 0; part < LaneCount; ++part)
        ini.WriteInteger(KeySection, KeyName(part, 'A'), settings.KeyA[static_cast<std::size_t>(part)]);
    for (int part = 0; part < LaneCount; ++part)
        ini.WriteInteger(KeySection, KeyName(part, 'B'), settings.KeyB[static_cast<std::size_t>(part)]);
    ini.WriteBool(InputSection, "PreciseInput", settings.PreciseInput);
    ini.WriteInteger(InputSection, "InputOffsetMs", ClampOffset(settings.InputOffsetMs));
    ini.WriteString(InputSection, "MidiIn", settings.MidiIn);
    SaveKit(ini, settings.Kit);
    if (!settings.SongFoldersDefault)
        ini.WriteString(LibrarySection, "Folders",
                        SongFolderListText(FoldersRelativeTo(settings.SongFolders,
                                                             std::filesystem::current_path().string())));
    ini.WriteString(LibrarySection, "SongCounts", SongCountListText(settings.SongCounts));
    ini.WriteString(SynthSection, "SoundFont", settings.SoundFont);
    ini.Save();
}

void SaveSongCounts(const std::string& iniPath, const std::vector<std::int32_t>& counts) {
    TProfileFile ini(iniPath);
    ini.WriteString(LibrarySection, "SongCounts", SongCountListText(counts));
    ini.Save();
}

void SaveInputOffset(const std::string& iniPath, std::int32_t offsetMs) {
    TProfileFile ini(iniPath);
    ini.WriteInteger(InputSection, "InputOffsetMs", ClampOffset(offsetMs));
    ini.Save();
}

int FindMidiEntry(const std::vector<std::string>& midiNames, const std::string& midi) {
    for (std::size_t i = 0; i < midiNames.size(); ++i)
        if (EqualNoCase(midiNames[i], midi)) return static_cast<int>(i);
    return 0;
}

std::int32_t MidiDeviceOfEntry(int entry) {
    return std::max(entry, 0) - 1;
}

GameSettings MakeGameSettings(const LauncherSettings& settings, const std::vector<std::string>& midiNames) {
    GameSettings game;
    game.MidiDevice = MidiDeviceOfEntry(FindMidiEntry(midiNames, settings.Midi));
    game.Prev = settings.Prev;
    game.Demo = settings.Demo;
    game.Combo = settings.Combo;
    game.NoBank = settings.NoBank;
    game.FullScreen = settings.FullScreen;
    game.Scaling = settings.Scaling == ScalingFit ? ScalingFit : ScalingInteger;
    game.DInput = settings.DInput;
    // A level list without a selection plays as the default level rather than without penalty.
    game.Level = settings.Level >= 0 && settings.Level < LevelCount ? settings.Level : DefaultLevel;
    game.MissPenalty = Levels[static_cast<std::size_t>(game.Level)].MissPenalty;
    for (int part = 0; part < LaneCount; ++part) {
        game.KeyA[static_cast<std::size_t>(part)] =
            KeyCodeOfChoice(settings.KeyA[static_cast<std::size_t>(part)]);
        game.KeyB[static_cast<std::size_t>(part)] =
            KeyCodeOfChoice(settings.KeyB[static_cast<std::size_t>(part)]);
    }
    game.PreciseInput = settings.PreciseInput;
    game.InputOffsetMs = ClampOffset(settings.InputOffsetMs);
    game.MidiIn = settings.MidiIn == NoMidiInput ? std::string() : settings.MidiIn;
    game.Kit = settings.Kit;
    game.Practice = ClampedPractice(settings.Practice);
    game.Practice.Keys = UsablePracticeKeys(settings.Practice.Keys, game.KeyA, game.KeyB);
    game.ExtendedDrumMap = settings.ExtendedDrumMap;
    return game;
}

} // namespace tamtara
