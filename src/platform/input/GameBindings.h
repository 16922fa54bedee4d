// The bindings the game window makes on top of the stored ones: arrow keys and Enter for the
// menus, and the player's two keys per drum part from the launcher.
#pragma once

#include "base/DrumParts.h"
#include "platform/input/DXInput.h"

#include <array>
#include <cstdint>

namespace tamtara {

// The game window's own changes at creation: the lane states' spare slots cleared, the arrows
// on the hi-hat, snare, high-tom and low-tom first keys, Enter as the decide key.
void ApplyGameBindings(TKeyboard& keyboard);

// The player's keys as key codes, per drum part: slot 0 of inButton1 to inButton7 from keyA,
// of inButton11 to inButton17 from keyB.
void BindPlayerKeys(TKeyboard& keyboard, const std::array<std::int32_t, LaneCount>& keyA,
                    const std::array<std::int32_t, LaneCount>& keyB);

// The states read into the per-frame hold counters: index 0 to 6 the lanes, 7 the decide key
// (first row) and a state nothing is bound to (second row).
inline constexpr std::array<InputState, 8> FirstKeyStates = {inButton1, inButton2, inButton3, inButton4,
                                                             inButton5, inButton6, inButton7, inButton8};
inline constexpr std::array<InputState, 8> SecondKeyStates = {inButton11, inButton12, inButton13, inButton14,
                                                              inButton15, inButton16, inButton17, inButton18};

} // namespace tamtara
