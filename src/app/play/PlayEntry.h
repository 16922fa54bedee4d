// What entering play does: reset the play state, set the sequencer up for a song and start it.
#pragma once

#include <string>

namespace tamtara {

class IClock;
class TMidiDrive;
struct PlayState;

// Raises the sequencer's load errors (the song file cannot be opened or read).
void StartPlay(PlayState& state, TMidiDrive& drive, IClock& clock, const std::string& songFile);

} // namespace tamtara
