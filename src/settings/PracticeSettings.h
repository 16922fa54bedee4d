// What the practice set-up keeps between runs in the ini file's [Practice] section: the tempo,
// count-in, metronome and mix a new song's practice starts from, and the keys that change the
// tempo, restart the loop and switch the metronome during a practice play.
#pragma once

#include "base/DrumParts.h"

#include <array>
#include <cstdint>
#include <string>

namespace tamtara {

// The tempo range of practice in percent of the song's own, and its step.
inline constexpr std::int32_t MinPracticeTempo = 25;
inline constexpr std::int32_t MaxPracticeTempo = 200;
inline constexpr std::int32_t PracticeTempoStep = 5;
inline constexpr std::int32_t MaxCountInBars = 2;
inline constexpr std::int32_t MaxMixVolume = 127;

// The four keys of a practice play, as virtual-key codes.
enum PracticeKey : std::uint8_t { pkTempoDown, pkTempoUp, pkRestartLoop, pkMetronome, PracticeKeyCount };

struct PracticeSettings {
    std::int32_t TempoPercent = 100;
    std::int32_t CountInBars = 0;
    bool Metronome = false;
    std::int32_t DrumVolume = 127;
    std::int32_t AccompanimentVolume = 127;
    std::int32_t ClickVolume = 100;
    // F5, F6, F7, F8.
    std::array<std::int32_t, PracticeKeyCount> Keys{0x74, 0x75, 0x76, 0x77};
};

// Every value brought into its range: the tempo to the nearest step within 25..200, the count-in
// to 0..2 bars, the volumes to 0..127.
PracticeSettings ClampedPractice(PracticeSettings practice);

// The keys with every one that cannot serve replaced by its default: a key the window's own
// handler takes in play (F1 pause, F2 clear, F4 full screen, Escape, Return), a lane key of
// laneKeys, or a key already taken by an earlier practice key. A default that is itself taken
// leaves that practice key unbound (0).
std::array<std::int32_t, PracticeKeyCount>
UsablePracticeKeys(const std::array<std::int32_t, PracticeKeyCount>& keys,
                   const std::array<std::int32_t, LaneCount>& keyA,
                   const std::array<std::int32_t, LaneCount>& keyB);

// The ini's name of a key code ("F5", "Tab", "Q", "7"); empty for a code it has none for.
std::string PracticeKeyName(std::int32_t code);
// The key code of such a name, without regard to case; 0 when it names no key.
std::int32_t PracticeKeyOfName(const std::string& name);

// [Practice] of the ini: missing or unreadable values give the defaults, the rest is clamped.
PracticeSettings LoadPracticeSettings(const std::string& iniPath);
// Writes the whole section (clamped), keeping everything else in the file. Raises
// ESettingsError as SaveSettings does.
void SavePracticeSettings(const std::string& iniPath, const PracticeSettings& practice);

} // namespace tamtara
