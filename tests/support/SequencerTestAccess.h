// For tests of the game's judgement: a stopped sequencer's song division and position set
// directly, as a play would have left them, without a song to play; and the fade asked for,
// which a song that is not playing never carries out.
#pragma once

#include "midi/MidiDrive.h"

namespace tamtara {

struct SequencerTestAccess {
    static void SetDivision(TMidiDrive& drive, std::int32_t division) { drive.Model.Division = division; }
    static void SetPosition(TMidiDrive& drive, double position) { drive.Position = position; }
    static bool FadeAsked(const TMidiDrive& drive) { return drive.FadeStep != 0.0; }
};

} // namespace tamtara
