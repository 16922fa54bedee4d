// The rows of the practice set-up and their ranges.
#include "app/PracticeSetup.h"

#include "app/play/PracticeRun.h"
#include "midi/BarMap.h"
#include "midi/SmfReader.h"
#include "midi/SongEnd.h"

#include <algorithm>
#include <array>
#include <memory>

namespace tamtara {

namespace {

std::string OnOff(bool on) {
    return on ? "オン" : "オフ";
}

std::string Percent(std::int32_t value) {
    return std::to_string(value) + " %";
}

std::int32_t StepTempo(std::int32_t tempo, std::int32_t direction) {
    return std::clamp(tempo + direction * PracticeTempoStep, MinPracticeTempo, MaxPracticeTempo);
}

} // namespace

PracticeChoices ChoicesFromSettings(const PracticeSettings& settings) {
    const PracticeSettings s = ClampedPractice(settings);
    PracticeChoices c;
    c.TempoPercent = s.TempoPercent;
    c.TrainerTarget = s.TempoPercent;
    c.CountInBars = s.CountInBars;
    c.Metronome = s.Metronome;
    c.DrumVolume = s.DrumVolume;
    c.AccompanimentVolume = s.AccompanimentVolume;
    c.ClickVolume = s.ClickVolume;
    return c;
}

PracticeSettings SettingsOfChoices(const PracticeChoices& c, const PracticeSettings& keys) {
    PracticeSettings s = keys;
    s.TempoPercent = c.TempoPercent;
    s.CountInBars = c.CountInBars;
    s.Metronome = c.Metronome;
    s.DrumVolume = c.DrumVolume;
    s.AccompanimentVolume = c.AccompanimentVolume;
    s.ClickVolume = c.ClickVolume;
    return ClampedPractice(s);
}

PracticeChoices ClampedChoices(PracticeChoices c, std::int32_t barCount) {
    PracticeSettings s = ClampedPractice(SettingsOfChoices(c, PracticeSettings{}));
    c.TempoPercent = s.TempoPercent;
    c.CountInBars = s.CountInBars;
    c.DrumVolume = s.DrumVolume;
    c.AccompanimentVolume = s.AccompanimentVolume;
    c.ClickVolume = s.ClickVolume;
    if (c.LoopFromBar <= 0 || barCount <= 0) {
        c.LoopFromBar = 0;
        c.LoopToBar = 0;
    } else {
        c.LoopFromBar = std::min(c.LoopFromBar, barCount);
        c.LoopToBar = std::clamp(c.LoopToBar, c.LoopFromBar, barCount);
    }
    c.TrainerStep = std::clamp(c.TrainerStep, 0, MaxTrainerStep);
    s.TempoPercent = c.TrainerTarget;
    c.TrainerTarget = std::max(ClampedPractice(s).TempoPercent, c.TempoPercent);
    return c;
}

void ChangePracticeRow(PracticeChoices& c, std::int32_t row, std::int32_t direction, std::int32_t barCount) {
    switch (row) {
    case prTempo:
        c.TempoPercent = StepTempo(c.TempoPercent, direction);
        c.TrainerTarget = std::max(c.TrainerTarget, c.TempoPercent);
        break;
    case prLoopFrom:
        // Off, then bars 1 to the last; loop B follows when A passes it.
        c.LoopFromBar = std::clamp(c.LoopFromBar + direction, 0, std::max(barCount, 0));
        c.LoopToBar = c.LoopFromBar == 0 ? 0 : std::max(c.LoopToBar, c.LoopFromBar);
        break;
    case prLoopTo:
        if (c.LoopFromBar == 0) break;
        c.LoopToBar = std::clamp(c.LoopToBar + direction, 1, barCount);
        c.LoopFromBar = std::min(c.LoopFromBar, c.LoopToBar);
        break;
    case prTrainerStep:
        c.TrainerStep = std::clamp(c.TrainerStep + direction, 0, MaxTrainerStep);
        break;
    case prTrainerTarget:
        if (c.TrainerStep == 0) break;
        c.TrainerTarget = std::max(StepTempo(c.TrainerTarget, direction), c.TempoPercent);
        break;
    case prWaitMode:
        c.WaitMode = !c.WaitMode;
        break;
    case prCountIn:
        c.CountInBars = std::clamp(c.CountInBars + direction, 0, MaxCountInBars);
        break;
    case prMetronome:
        c.Metronome = !c.Metronome;
        break;
    case prDrumVolume:
        c.DrumVolume = std::clamp(c.DrumVolume + direction * MixVolumeStep, 0, MaxMixVolume);
        break;
    case prAccompanimentVolume:
        c.AccompanimentVolume =
            std::clamp(c.AccompanimentVolume + direction * MixVolumeStep, 0, MaxMixVolume);
        break;
    case prClickVolume:
        c.ClickVolume = std::clamp(c.ClickVolume + direction * MixVolumeStep, 0, MaxMixVolume);
        break;
    default:
        break;
    }
}

const char* PracticeRowName(std::int32_t row) {
    static constexpr std::array<const char*, PracticeRowCount> names = {
        "テンポ",         "ループ A",       "ループ B",     "スピードトレーナー",
        "トレーナー目標", "ウェイトモード", "カウントイン", "メトロノーム",
        "ドラム音量",     "伴奏音量",       "クリック音量"};
    return row >= 0 && row < PracticeRowCount ? names[static_cast<std::size_t>(row)] : "";
}

std::string PracticeRowValue(const PracticeChoices& c, std::int32_t row, std::int32_t barCount) {
    const auto bar = [barCount](std::int32_t n) {
        return std::to_string(n) + " / " + std::to_string(barCount);
    };
    switch (row) {
    case prTempo:
        return Percent(c.TempoPercent);
    case prLoopFrom:
        return c.LoopFromBar == 0 ? "オフ (曲全体を1回)" : bar(c.LoopFromBar);
    case prLoopTo:
        return c.LoopFromBar == 0 ? "―" : bar(c.LoopToBar);
    case prTrainerStep:
        return c.TrainerStep == 0 ? OnOff(false) : "+" + Percent(c.TrainerStep);
    case prTrainerTarget:
        return c.TrainerStep == 0 ? "―" : Percent(c.TrainerTarget);
    case prWaitMode:
        return OnOff(c.WaitMode);
    case prCountIn:
        return c.CountInBars == 0 ? "なし" : std::to_string(c.CountInBars) + " 小節";
    case prMetronome:
        return OnOff(c.Metronome);
    case prDrumVolume:
        return std::to_string(c.DrumVolume);
    case prAccompanimentVolume:
        return std::to_string(c.AccompanimentVolume);
    case prClickVolume:
        return std::to_string(c.ClickVolume);
    default:
        return {};
    }
}

bool PracticeRowInUse(const PracticeChoices& c, std::int32_t row) {
    if (row == prLoopTo) return c.LoopFromBar > 0;
    if (row == prTrainerTarget) return c.TrainerStep > 0;
    return true;
}

std::int32_t SongBarCount(const std::string& path) {
    try {
        const auto song = std::make_unique<TSongModel>();
        ParseSmf(ReadSongFile(path), *song);
        return BarMap::FromSong(*song, SongEndTick(*song)).BarCount();
    } catch (const std::exception&) {
        return 0;
    }
}

void PracticeSetupState::Begin(const std::string& song, std::int32_t barCount,
                               const PracticeSettings& settings) {
    BarCount = barCount;
    Row = 0;
    const auto remembered = Remembered.find(song);
    Choices = ClampedChoices(
        remembered != Remembered.end() ? remembered->second : ChoicesFromSettings(settings), barCount);
}

void PracticeSetupState::MoveRow(std::int32_t direction) {
    Row = std::clamp(Row + direction, 0, PracticeRowCount - 1);
}

void ApplyChoices(const PracticeChoices& choices, std::int32_t barCount, PracticeRun& run) {
    const PracticeChoices c = ClampedChoices(choices, barCount);
    run.Active = true;
    run.StartTempoPercent = c.TempoPercent;
    run.TempoPercent = c.TempoPercent;
    run.TrainerStep = c.TrainerStep;
    run.TrainerTarget = c.TrainerTarget;
    run.WaitMode = c.WaitMode;
    run.StartMetronome = c.Metronome;
    run.Metronome = c.Metronome;
    run.LoopFromBar = c.LoopFromBar;
    run.LoopToBar = c.LoopToBar;
    run.BarCount = barCount;
    run.CountInBars = c.CountInBars;
    run.DrumVolume = c.DrumVolume;
    run.AccompanimentVolume = c.AccompanimentVolume;
    run.ClickVolume = c.ClickVolume;
}

} // namespace tamtara
