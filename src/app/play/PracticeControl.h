// What a practice play asks of the sequencer and answers for it: the plan it starts with (tempo,
// loop, count-in, metronome, mix), the keys that change tempo and metronome or restart the loop,
// the close of each loop pass (its row, the speed trainer's step, the notes past the loop's end
// dropped) and wait mode's holds. A play that is no practice gets the sequencer's default plan
// and no hooks, so it runs exactly as the game's ordinary play.
#pragma once

#include "app/play/PlayState.h"
#include "midi/PlayRequest.h"

#include <cstdint>

namespace tamtara {

class Judge;
class TMidiDrive;
struct SequencerEvent;

// What the practice strip shows, copied under the sequencer's lock.
struct PracticeStripInfo {
    std::int32_t TempoPercent = 100;
    std::int32_t NextTempoPercent = 100;
    bool Trainer = false;
    std::int32_t LoopFromBar = 0;
    std::int32_t LoopToBar = 0;
    std::int32_t BarCount = 0;
    std::int32_t Passes = 0;
    bool Metronome = false;
    bool Holding = false;
};

class PracticeControl {
public:
    PracticeControl(PlayState& state, TMidiDrive& drive, Judge& judgement);

    // With the play's song loaded and before it plays: the plan of State.Practice and the hooks
    // into the play's options, left as they are when the play is no practice (or a
    // demonstration).
    void Prepare(PlaySetup& options);
    // The keys of a practice play (the window's thread).
    void ChangeTempo(std::int32_t percent);
    void RestartLoop();
    void ToggleMetronome();
    // Leaving play: a practice's song stops, its last pass gets its row, and the sequencer goes
    // back to the default plan and no hooks. Nothing for a play that was no practice: the
    // ordinary play never touches the sequencer's practice members.
    void End();

    // The sequencer's hooks (its thread, its lock held).
    void LoopEnded();
    bool HoldsAt(const SequencerEvent& slot);

    PracticeStripInfo StripInfo();

private:
    PlayState& State;
    TMidiDrive& Drive;
    Judge& Judgement;
    // A practice plan is on the sequencer.
    bool Planned = false;
};

} // namespace tamtara
