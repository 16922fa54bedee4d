// The window's side of practice: the way in from the mode screen, and the keys of a practice
// play (tempo down and up, loop restart, metronome, and Escape to the practice's result). The
// keys are the ini's, never a lane key, so a strike can never change the tempo.
#include "app/MainForm.h"

namespace tamtara {

void TMainForm::OpenPracticeSetup() {
    // Only while the mode screen's rows are still being chosen.
    if (Screen.LeaveFrame >= 10) return;
    ApplyModeOptions();
    // A practice plays the whole song (or its loop) however long it takes.
    Play->State.TwoMinutes = false;
    ChangeScreen(ssPracticeSetup);
}

bool TMainForm::IsPracticePlay() const {
    return Play->State.Practice.Active && !Play->State.DemoMode;
}

bool TMainForm::PracticePlayKey(std::int32_t key) {
    if (Screen.ScreenState != ssPlay || !IsPracticePlay() || key == 0) return false;
    if (key == WindowKeys::Escape) {
        RecordPlay(false);
        ChangeScreen(ssResult);
        return true;
    }
    const auto& keys = Settings.Practice.Keys;
    PracticeControl& practice = Play->Practice;
    if (key == keys[pkTempoDown])
        practice.ChangeTempo(-PracticeTempoStep);
    else if (key == keys[pkTempoUp])
        practice.ChangeTempo(PracticeTempoStep);
    else if (key == keys[pkRestartLoop])
        practice.RestartLoop();
    else if (key == keys[pkMetronome])
        practice.ToggleMetronome();
    else
        return false;
    return true;
}

} // namespace tamtara
