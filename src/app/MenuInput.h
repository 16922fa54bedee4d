// How the menu screens read the hold counters of the keyboard: presses, list repeat, and which
// counter is which cursor key.
#pragma once

#include <cstdint>

namespace tamtara {

// Indices into KeyHoldA of the buttons the menus read (inButton1..inButton8).
enum MenuButton : std::uint8_t {
    mbLeft = 0,
    mbRight = 1,
    mbUp = 3,
    mbDown = 5,
    mbEnter = 7,
};

// The menus' looping tune.
inline constexpr const char* SelectJingle = "_select.mid";

// A press: the first frame the button is held.
constexpr bool IsPress(std::int32_t hold) {
    return hold == 1;
}

// A repeating press of the lists: the first frame, then every second frame from the 16th held.
constexpr bool IsRepeatPress(std::int32_t hold) {
    return hold == 1 || (hold > 15 && hold % 2 == 0);
}

} // namespace tamtara
