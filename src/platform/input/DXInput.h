// TDXInput: polls the keyboard once per frame and turns bound keys into input states that
// change only on a press or a release.
#pragma once

#include "platform/input/InputStates.h"
#include "platform/input/KeySource.h"

#include <array>
#include <cstdint>

namespace tamtara {

inline constexpr int AssignSlotCount = 3;
using KeyAssigns = std::array<std::array<std::int32_t, AssignSlotCount>, InputStateCount>;

// The bindings the game window starts from, before its own and the launcher's changes.
KeyAssigns StoredAssigns();

// The states whose bound key codes are down in keys.
TInputStates BoundStates(const KeyAssigns& assigns, const KeyStateArray& keys);

class TKeyboard {
public:
    bool Enabled = true;
    bool BindInputStates = true;
    // Key codes by state and slot; codes outside 1 to 255 never match.
    KeyAssigns Assigns = StoredAssigns();
    // Rebuilt by every poll: key code -> bit 7 set when down, and the states whose keys are down.
    KeyStateArray Keys{};
    TInputStates States;

    bool Initialized() const { return IsInitialized; }

private:
    friend class TDXInput;
    void Poll(TKeySource& source, bool useDirectInput, bool activeOnly);
    void Finalize();
    bool IsInitialized = false;
};

class TDXInput {
public:
    // The source must outlive the component. Starts without DirectInput, as the form stores it.
    explicit TDXInput(TKeySource& source);
    TDXInput(const TDXInput&) = delete;
    TDXInput& operator=(const TDXInput&) = delete;

    TKeyboard Keyboard;
    // Read nothing while the game window lacks the keyboard focus.
    bool ActiveOnly = true;
    // The published states: a state is added when its keys go down and removed when they all
    // come up; in between a consumer may remove it, and it then stays off until pressed again.
    TInputStates States;

    bool UseDirectInput() const { return DirectInput; }
    // A different value re-creates the devices and polls once.
    void SetUseDirectInput(bool value);
    void Update();
    // The input states the key with this SDL scancode is bound to, in the current reading mode.
    TInputStates StatesOfKey(int sdlScancode);
    // The states count as held at the next Update even when their keys are up again by then,
    // so a press shorter than a frame (or a pad hit, which has no release) is seen by the poll.
    void Latch(const TInputStates& states) { Latched |= states; }
    // Called when the game window is activated.
    void Acquire();

private:
    void InitializeDevices();

    TKeySource& Source;
    bool DirectInput = false;
    TInputStates RawStates;
    TInputStates Latched;
};

} // namespace tamtara
