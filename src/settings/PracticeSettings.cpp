// The practice section of the ini file: its values, their ranges and the practice keys' names.
#include "settings/PracticeSettings.h"

#include "settings/ProfileFile.h"

#include <algorithm>

namespace tamtara {

namespace {

const char* const Section = "Practice";
constexpr std::array<const char*, PracticeKeyCount> KeyEntries = {"TempoDownKey", "TempoUpKey",
                                                                  "RestartLoopKey", "MetronomeKey"};

// The window's own keys during play, which a practice key may not take.
constexpr std::array<std::int32_t, 5> PlayWindowKeys = {0x70, 0x71, 0x73, 0x1B, 0x0D};

constexpr std::int32_t F1 = 0x70, F12 = 0x7B, Tab = 0x09;

char UpperAscii(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

} // namespace

PracticeSettings ClampedPractice(PracticeSettings p) {
    const std::int32_t steps = (p.TempoPercent + PracticeTempoStep / 2) / PracticeTempoStep;
    p.TempoPercent = std::clamp(steps * PracticeTempoStep, MinPracticeTempo, MaxPracticeTempo);
    p.CountInBars = std::clamp(p.CountInBars, 0, MaxCountInBars);
    p.DrumVolume = std::clamp(p.DrumVolume, 0, MaxMixVolume);
    p.AccompanimentVolume = std::clamp(p.AccompanimentVolume, 0, MaxMixVolume);
    p.ClickVolume = std::clamp(p.ClickVolume, 0, MaxMixVolume);
    return p;
}

std::array<std::int32_t, PracticeKeyCount>
UsablePracticeKeys(const std::array<std::int32_t, PracticeKeyCount>& keys,
                   const std::array<std::int32_t, LaneCount>& keyA,
                   const std::array<std::int32_t, LaneCount>& keyB) {
    const PracticeSettings defaults;
    std::array<std::int32_t, PracticeKeyCount> usable{};
    const auto taken = [&](std::int32_t key, std::size_t before) {
        const auto in = [key](const auto& list) {
            return std::find(list.begin(), list.end(), key) != list.end();
        };
        return key == 0 || in(PlayWindowKeys) || in(keyA) || in(keyB) ||
               std::find(usable.begin(), usable.begin() + static_cast<std::ptrdiff_t>(before), key) !=
                   usable.begin() + static_cast<std::ptrdiff_t>(before);
    };
    for (std::size_t k = 0; k < usable.size(); ++k) {
        if (!taken(keys[k], k))
            usable[k] = keys[k];
        else if (!taken(defaults.Keys[k], k))
            usable[k] = defaults.Keys[k];
    }
    return usable;
}

std::string PracticeKeyName(std::int32_t code) {
    if (code >= F1 && code <= F12) return "F" + std::to_string(code - F1 + 1);
    if (code == Tab) return "Tab";
    if ((code >= 'A' && code <= 'Z') || (code >= '0' && code <= '9'))
        return std::string(1, static_cast<char>(code));
    return {};
}

std::int32_t PracticeKeyOfName(const std::string& name) {
    std::string upper = name;
    std::transform(upper.begin(), upper.end(), upper.begin(), UpperAscii);
    if (upper == "TAB") return Tab;
    if (upper.size() == 1 && ((upper[0] >= 'A' && upper[0] <= 'Z') || (upper[0] >= '0' && upper[0] <= '9')))
        return upper[0];
    if (upper.size() >= 2 && upper.size() <= 3 && upper[0] == 'F' &&
        std::all_of(upper.begin() + 1, upper.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        const std::int32_t n = std::stoi(upper.substr(1));
        if (n >= 1 && n <= 12) return F1 + n - 1;
    }
    return 0;
}

PracticeSettings LoadPracticeSettings(const std::string& iniPath) {
    const TProfileFile ini(iniPath);
    PracticeSettings p;
    p.TempoPercent = ini.ReadInteger(Section, "Tempo", p.TempoPercent);
    p.CountInBars = ini.ReadInteger(Section, "CountIn", p.CountInBars);
    p.Metronome = ini.ReadBool(Section, "Metronome", p.Metronome);
    p.DrumVolume = ini.ReadInteger(Section, "DrumVolume", p.DrumVolume);
    p.AccompanimentVolume = ini.ReadInteger(Section, "AccompanimentVolume", p.AccompanimentVolume);
    p.ClickVolume = ini.ReadInteger(Section, "ClickVolume", p.ClickVolume);
    for (std::size_t k = 0; k < KeyEntries.size(); ++k) {
        const std::int32_t key = PracticeKeyOfName(ini.ReadString(Section, KeyEntries[k], ""));
        if (key != 0) p.Keys[k] = key;
    }
    return ClampedPractice(p);
}

void SavePracticeSettings(const std::string& iniPath, const PracticeSettings& practice) {
    const PracticeSettings p = ClampedPractice(practice);
    TProfileFile ini(iniPath);
    ini.WriteInteger(Section, "Tempo", p.TempoPercent);
    ini.WriteInteger(Section, "CountIn", p.CountInBars);
    ini.WriteBool(Section, "Metronome", p.Metronome);
    ini.WriteInteger(Section, "DrumVolume", p.DrumVolume);
    ini.WriteInteger(Section, "AccompanimentVolume", p.AccompanimentVolume);
    ini.WriteInteger(Section, "ClickVolume", p.ClickVolume);
    for (std::size_t k = 0; k < KeyEntries.size(); ++k)
        ini.WriteString(Section, KeyEntries[k], PracticeKeyName(p.Keys[k]));
    ini.Save();
}

} // namespace tamtara
