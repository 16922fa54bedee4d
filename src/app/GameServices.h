// The platform services the game window runs on: real ones for the program, test doubles for
// the headless harness.
#pragma once

#include "base/Clock.h"
#include "midi/MidiDriver.h"
#include "midi/MidiInDriver.h"
#include "platform/display/Presenter.h"
#include "platform/input/KeySource.h"
#include "platform/input/RawKeyReader.h"

#include <iosfwd>
#include <memory>
#include <string>

namespace tamtara {

struct GameServices {
    // The frame timer's, the waits' and the sequencer's clock.
    IClock* Clock = &SystemClock::Instance();
    // What the sequencer's output port sends through; must outlive the window.
    IMidiOutDriver* MidiDriver = nullptr;
    // Where the kit's input port is opened; none: no kit. Must outlive the window.
    IMidiInDriver* MidiIn = nullptr;
    // The window (or a headless one) and the source of its events.
    std::unique_ptr<IPresenter> Presenter;
    // Where the keyboard component reads the keys from.
    std::unique_ptr<TKeySource> Keys;
    // Key-downs read on a thread of their own; null: the window's key events strike. Where it
    // cannot start, the window says why on KeyPathLog (null: nowhere) and its events strike.
    std::unique_ptr<IRawKeyReader> RawKeys;
    std::ostream* KeyPathLog = nullptr;
    // False: the sequencer runs no thread and the owner steps it (TMidiDrive::RunCycle).
    bool SequencerThread = true;
    // The ini file the calibration saves the measured input offset into; empty: not saved.
    std::string SettingsFile;
    // Where the records database and the song library's cache are kept; empty: the records
    // beside the settings file, no cache.
    std::string RecordsFolder;
    std::string CacheFolder;
    // Where every screen change is reported ("screen ssTitle"); null: nowhere.
    std::ostream* ScreenTrace = nullptr;
};

} // namespace tamtara
