// The window's own keys (function keys and Escape) and its close requests. The game reads its
// play and menu keys through the keyboard component instead.
#include "app/MainForm.h"

namespace tamtara {

namespace {

bool MayClose(ScreenState state) {
    return state == ssTitle || state == ssOpening;
}

} // namespace

void TMainForm::FormKeyDown(std::int32_t key) {
    // Escape closes a notice first; only the next one acts on the screen.
    if (key == WindowKeys::Escape && Notices.Dismiss(Clock.Now())) return;
    if (PracticePlayKey(key)) return;
    switch (key) {
    case WindowKeys::F4:
        ToggleFullScreen();
        break;
    case WindowKeys::Escape:
        if (MayClose(Screen.ScreenState)) {
            DXDraw.RequestClose();
        } else if (Screen.ScreenState == ssCalibration) {
            ChangeScreen(ssTitle);
        } else if (Screen.ScreenState == ssPracticeSetup) {
            LeavePracticeSetup();
        } else if (Screen.ScreenState == ssDiscSelect) {
            ChangeScreen(ssFolderSelect);
            Clock.Sleep(20);
        } else {
            Clock.Sleep(50);
            ChangeScreen(ssOpening);
            Clock.Sleep(100);
        }
        break;
    case WindowKeys::F1:
        if (Screen.ScreenState == ssPlay) Play->Screen.TogglePause();
        break;
    case WindowKeys::F2:
        ChangeScreen(ssCleared);
        break;
    case WindowKeys::F5:
        AskRetry();
        break;
    case WindowKeys::Back:
        if (Screen.ScreenState == ssModeSelect || Screen.ScreenState == ssPartSelect) BackToChosenDisc();
        if (Screen.ScreenState == ssPracticeSetup) LeavePracticeSetup();
        break;
    case WindowKeys::Tab:
        if (Screen.ScreenState == ssModeSelect) OpenPracticeSetup();
        break;
    case WindowKeys::F3:
        // The title screen's way to the latency calibration.
        if (Screen.ScreenState == ssTitle) ChangeScreen(ssCalibration);
        break;
    default:
        break;
    }
}

void TMainForm::FormCloseQuery(bool& canClose) {
    if (MayClose(Screen.ScreenState)) {
        canClose = true;
        return;
    }
    // A close from a menu or from play first goes back to the opening screen.
    canClose = false;
    RunHandler([this] { ChangeScreen(ssOpening); });
    Clock.Sleep(150);
}

} // namespace tamtara
