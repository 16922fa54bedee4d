// A play asked of the sequencer, given whole: how the song is started and sent, the pre-roll
// before its first tick and the practice plan with the practice's hooks. The sequencer takes it
// under its lock at the play's start, so no part of it can change while a play runs.
#pragma once

#include "midi/DrumMap.h"
#include "midi/MidiEvent.h"
#include "midi/PracticePlan.h"

#include <cstdint>
#include <functional>
#include <string>

namespace tamtara {

class TMidiDrive;

struct PlayStyle {
    // The silence before the first note passes at three times the speed.
    bool SkipLeadIn = false;
    // At its end the song starts again from tick 0.
    bool Loop = false;
    // General MIDI System On, and the GS reset, before the first tick.
    bool GMReset = false;
    bool GSReset = false;
    // The drum notes of the game's map are the game's: announced ahead and withheld when due,
    // instead of being sent.
    bool AnnounceNotes = false;
};

struct PlaySetup {
    PlayStyle Style;
    // Which drum notes are the game's, and in which lane (announced plays only).
    LaneMap Lanes = LaneMap::Standard();
    // The song starts this many ticks before its tick 0.
    std::int32_t PreRollTicks = 0;
    // The default plan is the song as written, sent exactly as without practice.
    PracticePlan Practice;
    // On the sequencer thread with the lock held, when a loop pass has reached its end and
    // before the restart: the pass's sounding notes have been ended; a tempo scale set here
    // applies to the next pass and its count-in.
    std::function<void(TMidiDrive& sender)> OnLoopEnd;
    // Wait mode: asked on the sequencer thread (lock held) for each withheld drum note as it
    // falls due. When it returns true the song holds at that note's tick: the position stands
    // at the tick, nothing further is sent (not even the song's other events at that tick), the
    // song's milliseconds stand still. Left empty, nothing holds.
    std::function<bool(const SequencerEvent& slot)> HoldsAt;
};

// A song file for the sequencer's thread to load and play.
struct PlayRequest {
    std::string File;
    PlaySetup Setup;
};

} // namespace tamtara
