// The entry action of the play screen.
#include "app/play/PlayEntry.h"

#include "app/play/PlayState.h"
#include "base/Clock.h"
#include "midi/MidiDrive.h"

namespace tamtara {

void StartPlay(PlayState& state, TMidiDrive& drive, IClock& clock, const std::string& songFile)
{
    state.ResetForPlay(0);
    drive.SkipLeadIn = false;
    drive.GMResetOnPlay = true;
    drive.GSResetOnPlay = true;
    drive.LoopPlay = false;
    drive.AnnounceNotes = true;
    drive.LoadFromFile(songFile);
    drive.Play();
    state.PlayStartTime = clock.Now();
}

} // namespace tamtara
