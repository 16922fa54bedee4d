// Switching between full screen and a 640 x 480 window; the window's placement is kept across
// a stay in full screen.
#include "app/MainForm.h"

namespace tamtara {

void TMainForm::ToggleFullScreen() {
    DXDraw.Finalize();
    const bool entering = !DXDraw.Options().Contains(TDXDrawOption::doFullScreen);
    if (entering) {
        EnterFullScreen();
    } else {
        LeaveFullScreen();
    }
    // Opening again creates and loads every surface anew.
    try {
        DXDraw.Initialize();
    } catch (...) {
        // A full screen the display refuses must not leave the game without any display:
        // go back to the window, then report why full screen failed.
        if (!entering) throw;
        LeaveFullScreen();
        DXDraw.Initialize();
        throw;
    }
}

void TMainForm::LeaveFullScreen() {
    IPresenter& window = DXDraw.Presenter();
    if (PlacementSaved) {
        window.SetWindowPlacement(SavedPlacement);
        PlacementSaved = false;
    }
    window.SetCursorVisible(true);
    auto options = DXDraw.Options();
    options.Exclude(TDXDrawOption::doFullScreen);
    DXDraw.SetOptions(options);
}

void TMainForm::EnterFullScreen() {
    IPresenter& window = DXDraw.Presenter();
    PlacementSaved = window.GetWindowPlacement(SavedPlacement);
    window.SetCursorVisible(false);
    DXDraw.Display.SetBitCount(16);
    auto options = DXDraw.Options();
    options.Include(TDXDrawOption::doFullScreen);
    DXDraw.SetOptions(options);
}

} // namespace tamtara
