// What the menu screens share on the way out: the confirmation jingle and the frames counted
// from a confirmation to the change of screen.
#include "app/MainForm.h"

namespace tamtara {

// The confirmation keeps the General MIDI reset as the screen left it and always resets GS;
// drum notes are not announced, so none of them is withheld from the jingle.
void TMainForm::StartEnterJingle() {
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
