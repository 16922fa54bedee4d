// Starting the chosen song for play, and the way back when it cannot be played: the player is
// told which file and why, and returns to the disc screen on that song instead of sitting in a
// play that never started (which used to end as a clear with an empty result).
#include "app/MainForm.h"

#include "base/UserMessage.h"
#include "platform/text/SongText.h"

#include <algorithm>

namespace tamtara {

bool TMainForm::StartChosenSong() {
    std::string reason;
    try {
        MidiDrive->LoadFromFile(SongFile);
        MidiDrive->Play();
        if (MidiDrive->Playing) return true;
        reason = MidiDrive->Division <= 0 ? "the file gives no ticks per quarter note"
                                          : "the song did not start";
    } catch (const std::exception& error) {
        reason = error.what();
    }
    ShowUserMessage(MessageKind::Error, Caption, "Cannot play \"" + FileNameToUtf8(SongFile) + "\": " + reason);
    LeaveUnplayableSong();
    return false;
}

void TMainForm::LeaveUnplayableSong() {
    // A demonstration has no disc screen to go back to.
    if (Play->State.DemoMode || DiscFiles.empty()) {
        ChangeScreen(Play->State.DemoMode ? ssOpening : ssFolderSelect);
        return;
    }
    ChangeScreen(ssDiscSelect);
    const auto song = std::find(DiscFiles.begin(), DiscFiles.end(), SongFile);
    if (song != DiscFiles.end()) DiscIndex = static_cast<std::int32_t>(song - DiscFiles.begin());
}

} // namespace tamtara
