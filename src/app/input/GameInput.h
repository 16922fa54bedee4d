// The game window's input: the keyboard component and what it reads from, the kit, the hold
// counters every screen polls, and the one queue of stamped strikes that key-downs and pad hits
// go into.
#pragma once

#include "app/input/KeyHolds.h"
#include "app/input/KeyStrikeInput.h"
#include "app/input/KitInput.h"
#include "app/input/Strike.h"
#include "platform/input/DXInput.h"
#include "platform/input/GameBindings.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>

namespace tamtara {

class IMidiInDriver;

class GameInput {
public:
    // wake ends the window's wait for events (the kit and the key thread call it on their
    // threads); without a MIDI input driver there is no kit, without a raw key reader no key
    // thread.
    GameInput(std::unique_ptr<TKeySource> keys, IMidiInDriver* midiIn, std::function<void()> wake,
              std::unique_ptr<IRawKeyReader> rawKeys = nullptr);
    GameInput(const GameInput&) = delete;
    GameInput& operator=(const GameInput&) = delete;

    // One keyboard poll into the hold counters; every screen calls it once a frame.
    void PollKeys();
    // A key-down taken between frames (repeats excluded by the caller): latched so that the
    // next poll sees even a tap that is over by then, and a strike queued per lane it is bound
    // to. While the key thread strikes the keys, the strike is only marked as its.
    void KeyDown(int sdlScancode, std::uint32_t time);
    // The key thread's strikes the window is to strike itself, queued.
    void TakeKeyStrikes();
    // The kit's hits since the last call: each is queued as a strike and latched as a press
    // of its lane's first key (the Enter pad as Enter), so the menus see pads as keys; a hit
    // struck on the input thread (Taken) is neither.
    void TakeKitHits();
    // Slot 0 of the lane states: the player's first and second key per drum part.
    void SetPlayerKeys(const std::array<std::int32_t, LaneCount>& keyA,
                       const std::array<std::int32_t, LaneCount>& keyB);
    // Tells the key thread which keys strike which lanes, as KeyDown finds them now.
    void RefreshKeyLanes();

    // What the keyboard component reads; it must outlive DXInput.
    std::unique_ptr<TKeySource> KeySource;
    TDXInput DXInput;
    // Null when the program has no MIDI input driver.
    std::unique_ptr<KitInput> Kit;
    // Null when the program has no raw key reader.
    std::unique_ptr<KeyStrikeInput> KeyThread;
    KeyHolds Holds;
    StrikeQueue Strikes;
    // Sees every poll's counters before any screen reads them (the window's notices take the
    // Enter press that closes them); empty: nothing.
    std::function<void(KeyHolds& holds)> AfterPoll;
};

} // namespace tamtara
