// The game's changes to the keyboard bindings.
#include "platform/input/GameBindings.h"

namespace tamtara {

namespace {

constexpr std::int32_t KeyLeft = 37, KeyUp = 38, KeyRight = 39, KeyDown = 40, KeyEnter = 13;

void SetSpareSlots(TKeyboard& keyboard, InputState state, std::int32_t slot1) {
    keyboard.Assigns[state][1] = slot1;
    keyboard.Assigns[state][2] = 0;
}

} // namespace

void ApplyGameBindings(TKeyboard& keyboard) {
    SetSpareSlots(keyboard, inButton1, KeyLeft);
    SetSpareSlots(keyboard, inButton2, KeyRight);
    SetSpareSlots(keyboard, inButton3, 0);
    SetSpareSlots(keyboard, inButton4, KeyUp);
    SetSpareSlots(keyboard, inButton5, 0);
    SetSpareSlots(keyboard, inButton6, KeyDown);
    SetSpareSlots(keyboard, inButton7, 0);
    keyboard.Assigns[inButton8] = {KeyEnter, 0, 0};
    for (int button = 11; button <= 17; ++button)
        SetSpareSlots(keyboard, ButtonState(button), 0);
    keyboard.Assigns[inButton18] = {0, 0, 0};
}

void BindPlayerKeys(TKeyboard& keyboard, const std::array<std::int32_t, LaneCount>& keyA,
                    const std::array<std::int32_t, LaneCount>& keyB) {
    for (int part = 0; part < LaneCount; ++part) {
        keyboard.Assigns[ButtonState(1 + part)][0] = keyA[static_cast<std::size_t>(part)];
        keyboard.Assigns[ButtonState(11 + part)][0] = keyB[static_cast<std::size_t>(part)];
    }
}

} // namespace tamtara
