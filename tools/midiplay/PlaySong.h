// midiplay's play: one song through the sequencer to its end, on any driver and clock.
#pragma once

#include "base/Clock.h"
#include "midi/MidiDriver.h"

#include <atomic>
#include <string>

namespace tamtara {

struct PlaySongOptions {
    int DeviceId = MidiMapperId;
    bool Loop = false;
    std::string Path;
};

// Plays the song until it ends or interrupted is set; says on stderr what went wrong. 0 when
// it played to its end or was interrupted; 1 when it could not be read or started, or an
// output error stopped it.
int PlaySong(IMidiOutDriver& driver, IClock& clock, const PlaySongOptions& options,
             const std::atomic<bool>& interrupted);

} // namespace tamtara
