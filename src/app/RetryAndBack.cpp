// The ways on beyond the screens' own keys: F5 on the failed and result screens plays the same
// song again with the same mode and parts, and Backspace on the mode and part screens goes back
// to the disc screen with the chosen song highlighted. A player who never presses them meets
// the screens as they always were.
#include "app/MainForm.h"

#include <algorithm>

namespace tamtara {

bool TMainForm::MayRetry() const {
    // A demonstration, or a clear forced before any song was chosen, has no play of the player's
    // own to repeat.
    return (Screen.ScreenState == ssFailed || Screen.ScreenState == ssResult) && !Play->State.DemoMode &&
           !Selection.SongFile.empty();
}

void TMainForm::AskRetry() {
    if (MayRetry()) RetryAsked = true;
}

bool TMainForm::RetryIfAsked() {
    if (!RetryAsked) return false;
    RetryAsked = false;
    // Play keeps what the mode and part screens set (speed, length, hidden notes, automatic
    // parts) until they are visited again; entering it again plays the same song afresh.
    ChangeScreen(ssPlay);
    return true;
}

void TMainForm::BackToChosenDisc() {
    ChangeScreen(ssDiscSelect);
    const auto song = std::find(Library.DiscFiles.begin(), Library.DiscFiles.end(), Selection.SongFile);
    if (song != Library.DiscFiles.end())
        Selection.DiscIndex = static_cast<std::int32_t>(song - Library.DiscFiles.begin());
}

} // namespace tamtara
