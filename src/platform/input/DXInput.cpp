// Keyboard polling, binding and edge detection.
#include "platform/input/DXInput.h"

#include "platform/input/ScanCodeTable.h"

namespace tamtara {

KeyAssigns StoredAssigns() {
    KeyAssigns assigns{};
    assigns[inUp] = {75, 38, 104};
    assigns[inDown] = {74, 40, 98};
    assigns[inLeft] = {72, 37, 100};
    assigns[inRight] = {76, 39, 102};
    assigns[inButton1] = {90, 32, 0};
    assigns[inButton2] = {88, 13, 0};
    assigns[inButton9] = {113, 0, 0};
    return assigns;
}

void TKeyboard::Finalize() {
    Keys.fill(0);
    States.Clear();
    IsInitialized = false;
}

void TKeyboard::Poll(TKeySource& source, bool useDirectInput, bool activeOnly) {
    Keys.fill(0);
    States.Clear();
    if (!IsInitialized) return;
    if (activeOnly && !source.HasFocus()) return;

    if (useDirectInput) {
        KeyStateArray scanCodes{};
        bool read = source.ReadScanCodes(scanCodes);
        if (!read) {
            source.Acquire();
            scanCodes.fill(0);
            read = source.ReadScanCodes(scanCodes);
        }
        if (read)
            for (std::size_t scan = 0; scan < scanCodes.size(); ++scan)
                if (scanCodes[scan] & 0x80) Keys[ScanCodeTable[scan]] = 0x80;
        Keys[0] = 0; // unmapped scan codes land on the no-key code
    } else if (!source.ReadVirtualKeys(Keys)) {
        Keys.fill(0);
    }

    States = BoundStates(Assigns, Keys);
}

TInputStates BoundStates(const KeyAssigns& assigns, const KeyStateArray& keys) {
    TInputStates states;
    for (int state = 0; state < InputStateCount; ++state) {
        for (std::int32_t code : assigns[static_cast<std::size_t>(state)]) {
            if (code >= 1 && code <= 255 && (keys[static_cast<std::size_t>(code)] & 0x80)) {
                states.Include(static_cast<InputState>(state));
                break;
            }
        }
    }
    return states;
}

TDXInput::TDXInput(TKeySource& source) : Source(source) {
    InitializeDevices();
}

void TDXInput::SetUseDirectInput(bool value) {
    if (value == DirectInput) return;
    DirectInput = value;
    InitializeDevices();
}

void TDXInput::InitializeDevices() {
    Keyboard.Finalize();
    if (Keyboard.Enabled) Keyboard.IsInitialized = true;
    Update();
}

void TDXInput::Update() {
    TInputStates polled;
    Keyboard.Poll(Source, DirectInput, ActiveOnly);
    if (Keyboard.BindInputStates) polled |= Keyboard.States;
    polled |= Latched;
    Latched.Clear();

    for (int i = 0; i < InputStateCount; ++i) {
        auto state = static_cast<InputState>(i);
        bool now = polled.Contains(state);
        bool before = RawStates.Contains(state);
        if (now && !before) States.Include(state);
        if (!now && before) States.Exclude(state);
    }
    RawStates = polled;
}

TInputStates TDXInput::StatesOfKey(int sdlScancode) {
    if (!Keyboard.Initialized() || !Keyboard.BindInputStates) return {};
    KeyStateArray keys{};
    Source.KeyCodesOfScancode(sdlScancode, DirectInput, keys);
    return BoundStates(Keyboard.Assigns, keys);
}

void TDXInput::Acquire() {
    if (ActiveOnly && !Source.HasFocus()) return;
    Source.Acquire();
}

} // namespace tamtara
