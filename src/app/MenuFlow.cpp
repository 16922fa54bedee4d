// What the selection screens share on the way out: the frames counted from a confirmation to
// the change of screen.
#include "app/MainForm.h"

namespace tamtara {

bool TMainForm::LeaveAfterConfirmation(tamtara::ScreenState next) {
    if (LeaveFrame > 30) {
        ChangeScreen(next);
        return true;
    }
    if (LeaveFrame > 0) LeaveFrame += 1;
    return false;
}

} // namespace tamtara
