// The game's side of the sequencer's drum-note reports: announced notes go into the lane rings,
// due notes sound at once on automatic lanes, other note-ons feed the channel level meters.
#pragma once

#include "app/play/PlayState.h"

#include <functional>

namespace tamtara {

class TMidiDrive;
struct SequencerEvent;

// Level meter values of one note-on, before the fade (all integer, in this order).
struct MeterLevels {
    std::int32_t Left = 0;
    std::int32_t Right = 0;
};
MeterLevels MeterLevelsFor(std::int32_t volume, std::int32_t pan, std::int32_t velocity, std::int32_t fade);

class NoteCapture {
public:
    // inPlay tells, from the sequencer thread, whether the play screen is current.
    NoteCapture(PlayState& state, TMidiDrive& drive, std::function<bool()> inPlay);

    // Hooks the four handlers into the sequencer.
    void Register();

    // The handlers run on the sequencer thread with its lock held (MeterDecay without it).
    void CaptureDrumNote(const SequencerEvent* event);
    void SoundDrumNote(const SequencerEvent* event);
    void MeterNoteOn(const SequencerEvent* event);
    void MeterDecay();

    // Notes dropped because their lane already held a full ring.
    std::int32_t DroppedNotes() const { return Dropped.load(); }

private:
    PlayState& State;
    TMidiDrive& Drive;
    std::function<bool()> InPlay;
    std::atomic<std::int32_t> Dropped{0};
};

} // namespace tamtara
