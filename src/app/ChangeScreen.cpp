// The way between screens, the frame tick that runs the current one, and the jingles the
// screens start on entry.
#include "app/MainForm.h"

#include <algorithm>
#include <array>
#include <ostream>

namespace tamtara {

const TMainForm::ScreenHandlers& TMainForm::HandlersOf(tamtara::ScreenState state) {
    // In the order of the ScreenState values.
    static const std::array<ScreenHandlers, 12> screens = {{
        {&TMainForm::PlayScreen, &TMainForm::EnterPlay},
        {&TMainForm::TitleScreen, &TMainForm::EnterTitle},
        {&TMainForm::StageEndScreen, &TMainForm::EnterFailed},
        {&TMainForm::PartSelectScreen, &TMainForm::EnterPartSelect},
        {&TMainForm::DiscSelectScreen, &TMainForm::EnterDiscSelect},
        {&TMainForm::ModeSelectScreen, &TMainForm::EnterModeSelect},
        {&TMainForm::StageEndScreen, &TMainForm::EnterCleared},
        {&TMainForm::ResultScreen, &TMainForm::EnterResult},
        {&TMainForm::OpeningScreen, &TMainForm::EnterOpening},
        {&TMainForm::FolderSelectScreen, &TMainForm::EnterFolderSelect},
        {&TMainForm::CalibrationScreen, &TMainForm::EnterCalibration},
        {&TMainForm::PracticeSetupScreen, &TMainForm::EnterPracticeSetup},
    }};
    return screens.at(state);
}

void TMainForm::ChangeScreen(tamtara::ScreenState state) {
    // A practice's song stops with its play, and the sequencer returns to its ordinary plan.
    if (Screen.ScreenState == ssPlay && state != ssPlay) {
        Play->Judgement.OpenStrikes(false);
        Play->Practice.End();
    }
    Screen.Enter(state);
    TraceScreen(state);
    // A screen whose bitmaps cannot be loaded is not entered; the error has been reported.
    if (!ScreenGraphics()) {
        ChangeScreen(ssOpening);
        return;
    }
    (this->*HandlersOf(state).Enter)();
}

void TMainForm::TraceScreen(tamtara::ScreenState state) {
    if (!ScreenTrace) return;
    const std::lock_guard<std::mutex> lock(TraceMutex);
    *ScreenTrace << "screen " << ScreenStateName(state);
    if (state == ssPlay) *ScreenTrace << ' ' << Selection.SongFile;
    *ScreenTrace << std::endl;
}

void TMainForm::TraceStrike(const StrikeRecord& strike) {
    static constexpr const char* GradeNames[] = {"miss", "good", "great", "perfect"};
    const std::lock_guard<std::mutex> lock(TraceMutex);
    *ScreenTrace << "strike lane " << strike.Lane << " at "
                 << (strike.Time ? std::to_string(*strike.Time) + " ms" : std::string("the poll")) << ": "
                 << (strike.Result ? GradeNames[*strike.Result] : "no note") << std::endl;
}

void TMainForm::TraceSongStart() {
    if (!ScreenTrace) return;
    const std::lock_guard<std::mutex> lock(TraceMutex);
    *ScreenTrace << SongStartLine << std::endl;
}

void TMainForm::TimerTimer() {
    if (!DXDraw.CanDraw()) return;
    // Nothing else sets the first screen: the first frame that can draw enters the opening.
    if (Screen.FrameCount == 0) ChangeScreen(ssOpening);
    TakeRecordsNotice();
    (this->*HandlersOf(Screen.ScreenState).Frame)();
    Screen.FrameCount += 1;
}

void TMainForm::StartJingle(const char* fileName, bool loop, bool gmReset, bool gsReset) {
    {
        auto lock = MidiDrive->ScopedLock();
        SongStartLine.clear();
    }
    PlayRequest jingle{fileName, {}};
    jingle.Setup.Style = PlayStyle{.SkipLeadIn = true, .Loop = loop, .GMReset = gmReset, .GSReset = gsReset};
    MidiDrive->QueuePlay(jingle);
}

// The confirmation keeps the General MIDI reset as the screen left it and always resets GS;
// drum notes are not announced, so none of them is withheld from the jingle.
void TMainForm::StartEnterJingle() {
    StartJingle("_enter.mid", false, MidiDrive->Style().GMReset, true);
}

void TMainForm::ConfirmPlay(PlayState& play) {
    play.AutoPlayMode = std::all_of(play.AutoLane.begin(), play.AutoLane.end(), [](bool a) { return a; });
    StartEnterJingle();
    Screen.LeaveFrame = 1;
}

bool TMainForm::LeaveAfterConfirmation(tamtara::ScreenState next) {
    if (Screen.LeaveFrame > 30) {
        ChangeScreen(next);
        return true;
    }
    if (Screen.LeaveFrame > 0) Screen.LeaveFrame += 1;
    return false;
}

} // namespace tamtara
