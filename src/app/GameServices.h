// The platform services the game window runs on: real ones for the program, test doubles for
// the headless harness.
#pragma once

#include "base/Clock.h"
#include "midi/MidiDriver.h"
#include "midi/MidiInDriver.h"
#include "platform/display/Presenter.h"
#include "platform/input/KeySource.h"

#include <memory>

namespace tamtara {

struct GameServices {
    // The frame timer's, the waits' and the sequencer's clock.
    IClock* Clock = &SystemClock::Instance();
    // What the sequencer's output port sends through; must outlive the window.
    IMidiOutDriver* MidiDriver = nullptr;
    // Where the kit's input port is opened; none: no kit. Must outlive the window.
    IMidiInDriver* MidiIn = nullptr;
    // The window (or its headless stand-in) and the source of its events.
    std::unique_ptr<IPresenter> Presenter;
    // Where the keyboard component reads the keys from.
    std::unique_ptr<TKeySource> Keys;
    // False: the sequencer runs no thread and the owner steps it (TMidiDrive::RunCycle).
    bool SequencerThread = true;
};

} // namespace tamtara
