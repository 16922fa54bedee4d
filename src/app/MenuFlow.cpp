// What the selection screens share on the way out: the confirmation jingle and the frames
// counted from a confirmation to the change of screen.
#include "app/MainForm.h"

namespace tamtara {

void TMainForm::StartEnterJingle() {
    // The confirmation keeps the general MIDI reset as it is and always resets GS.
    StartJingle("_enter.mid", false, MidiDrive->GMResetOnPlay, true);
}

bool TMainForm::LeaveAfterConfirmation(tamtara::ScreenState next) {
    if (LeaveFrame > 30) {
        ChangeScreen(next);
        return true;
    }
    if (LeaveFrame > 0) LeaveFrame += 1;
    return false;
}

} // namespace tamtara
