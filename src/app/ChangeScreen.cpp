// ChangeScreen: the per-screen counters, the screen's bitmaps and each screen's entry action
// (the start of play, the jingles).
#include "app/MainForm.h"

#include <ostream>

namespace tamtara {

namespace {

constexpr const char* SelectJingle = "_select.mid";
constexpr const char* FailedJingle = "_failed.mid";
constexpr const char* ClearedJingle = "_cleared.mid";

} // namespace

void TMainForm::ChangeScreen(tamtara::ScreenState state) {
    ScreenFrame = 0;
    LeaveFrame = 0;
    ScreenState = state;
    if (ScreenTrace) {
        *ScreenTrace << "screen " << ScreenStateName(state);
        if (state == ssPlay) *ScreenTrace << ' ' << SongFile;
        *ScreenTrace << std::endl;
    }
    // A screen whose bitmaps cannot be loaded is not entered; the error has been reported.
    if (!ScreenGraphics()) {
        ChangeScreen(ssOpening);
        return;
    }

    switch (state) {
    case ssPlay:
        FrameCount = 0;
        // Resets for a new play (gauge, score, counts, lanes).
        Play->State.ResetForPlay();
        Play->State.Level = Level;
        Play->State.MissPenalty = MissPenalty;
        Play->State.Combo = Combo;
        Play->State.InputOffsetMs = InputOffsetMs;
        MidiDrive->SkipLeadIn = false;
        MidiDrive->GMResetOnPlay = true;
        MidiDrive->GSResetOnPlay = true;
        MidiDrive->LoopPlay = false;
        MidiDrive->AnnounceNotes = true;
        if (!StartChosenSong()) return;
        // The play clock starts once the song is playing.
        Play->State.PlayStartTime = Clock.Now();
        break;
    case ssTitle:
    case ssOpening:
        MidiDrive->Stop();
        break;
    case ssFailed:
        StartJingle(FailedJingle, false, true, true);
        break;
    case ssCleared:
        StartJingle(ClearedJingle, false, true, true);
        break;
    case ssPartSelect:
        StartJingle(SelectJingle, true, true, true);
        break;
    case ssModeSelect:
        StartJingle(SelectJingle, true, true, false);
        PlayTimeChoice = 0;
        SpeedChoice = 0;
        SpecialChoice = 0;
        break;
    case ssFolderSelect:
        StartJingle(SelectJingle, true, false, true);
        WheelAngle = -12 * FolderIndex;
        WheelTarget = WheelAngle;
        break;
    case ssDiscSelect:
        DiscIndex = 0;
        PreviewDelay = 0;
        WheelAngle = 0;
        WheelTarget = 0;
        break;
    case ssResult:
        break;
    case ssCalibration:
        EnterCalibration();
        break;
    }
}

void TMainForm::StartJingle(const char* fileName, bool loop, bool gmReset, bool gsReset) {
    MidiDrive->SkipLeadIn = true;
    MidiDrive->GMResetOnPlay = gmReset;
    MidiDrive->GSResetOnPlay = gsReset;
    MidiDrive->LoopPlay = loop;
    MidiDrive->AnnounceNotes = false;
    MidiDrive->QueuePlay(fileName);
}

} // namespace tamtara
