// The practice set-up's rows: what each one holds, how Left and Right change it within its
// range, and the text the screen shows for it. The values stay consistent after every change:
// loop A never past loop B, the trainer's target never below the tempo.
#pragma once

#include "settings/PracticeSettings.h"

#include <cstdint>
#include <map>
#include <string>

namespace tamtara {

struct PracticeRun;

enum PracticeRow : std::int32_t {
    prTempo,
    prLoopFrom,
    prLoopTo,
    prTrainerStep,
    prTrainerTarget,
    prWaitMode,
    prCountIn,
    prMetronome,
    prDrumVolume,
    prAccompanimentVolume,
    prClickVolume,
    PracticeRowCount
};

// The mix rows move by this much a press.
inline constexpr std::int32_t MixVolumeStep = 4;
inline constexpr std::int32_t MaxTrainerStep = 10;

struct PracticeChoices {
    std::int32_t TempoPercent = 100;
    // Bars from 1; LoopFromBar 0 is no loop (LoopToBar is then 0 as well).
    std::int32_t LoopFromBar = 0;
    std::int32_t LoopToBar = 0;
    // 0: no trainer; else the step in percent.
    std::int32_t TrainerStep = 0;
    std::int32_t TrainerTarget = 100;
    bool WaitMode = false;
    std::int32_t CountInBars = 0;
    bool Metronome = false;
    std::int32_t DrumVolume = 127;
    std::int32_t AccompanimentVolume = 127;
    std::int32_t ClickVolume = 100;
    bool operator==(const PracticeChoices&) const = default;
};

// A new song's set-up: the ini's tempo, count-in, metronome and mix; no loop, trainer or wait.
PracticeChoices ChoicesFromSettings(const PracticeSettings& settings);
// The ini's part of the choices (the keys as they were).
PracticeSettings SettingsOfChoices(const PracticeChoices& choices, const PracticeSettings& keys);
// Every value in its range for a song of barCount bars (a remembered loop past a shorter song's
// end is cut to it).
PracticeChoices ClampedChoices(PracticeChoices choices, std::int32_t barCount);

// One press of Left (direction -1) or Right (+1) on row, for a song of barCount bars.
void ChangePracticeRow(PracticeChoices& choices, std::int32_t row, std::int32_t direction,
                       std::int32_t barCount);

// The row's name and its value as the screen shows them ("テンポ", "60 %", "3 / 48", "オフ").
const char* PracticeRowName(std::int32_t row);
std::string PracticeRowValue(const PracticeChoices& choices, std::int32_t row, std::int32_t barCount);
// Whether the row means anything with the other choices (loop B without a loop, the target
// without a trainer); the screen dims the others, and Up/Down still stop on them.
bool PracticeRowInUse(const PracticeChoices& choices, std::int32_t row);

// The set-up screen's state: the song's bar count, the row the cursor is on, the choices, and
// the choices last used for each song this session (by the song's path).
struct PracticeSetupState {
    std::int32_t BarCount = 0;
    std::int32_t Row = 0;
    PracticeChoices Choices;
    std::map<std::string, PracticeChoices> Remembered;

    // The choices for song: its remembered ones, or a new song's from the ini's settings.
    void Begin(const std::string& song, std::int32_t barCount, const PracticeSettings& settings);
    // Up (-1) or Down (+1), stopping at the first and last rows.
    void MoveRow(std::int32_t direction);
    void Remember(const std::string& song) { Remembered[song] = Choices; }
};

// The bars of a song file from its time signatures; 0 when it cannot be read.
std::int32_t SongBarCount(const std::string& path);

// The play-side options of a practice with these choices.
void ApplyChoices(const PracticeChoices& choices, std::int32_t barCount, PracticeRun& run);

} // namespace tamtara
