// The keyboard as the menus and the polled judgement read it: how many consecutive polls each
// of the eight buttons (the seven lanes, then Enter) has been held, in the first and the second
// key row.
#pragma once

#include <array>
#include <cstdint>
#include <functional>

namespace tamtara {

struct KeyHolds {
    // 1 = pressed in this poll; 0 = up.
    std::array<std::int32_t, 8> KeyHoldA{};
    std::array<std::int32_t, 8> KeyHoldB{};

    // Adds one poll; stateOn answers for an input state number (inButton1 is 4, inButton11 14).
    void Update(const std::function<bool(int inputState)>& stateOn);
};

} // namespace tamtara
