// The screens of the game window; the values are those the screens and tests refer to.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace tamtara {

enum ScreenState : std::uint8_t {
    ssPlay = 0,
    ssTitle = 1,
    ssFailed = 2,
    ssPartSelect = 3,
    ssDiscSelect = 4,
    ssModeSelect = 5,
    ssCleared = 6,
    ssResult = 7,
    ssOpening = 8,
    ssFolderSelect = 9,
    // The latency calibration, reached from the title screen.
    ssCalibration = 10,
    // The practice set-up, reached from the mode screen.
    ssPracticeSetup = 11,
};

// "ssPlay", "ssTitle", ...; "ss?" for a value outside the enumeration. For the screen trace
// and for test failure messages.
constexpr std::string_view ScreenStateName(ScreenState state) {
    constexpr std::array<std::string_view, 12> names = {
        "ssPlay",    "ssTitle",  "ssFailed",  "ssPartSelect",   "ssDiscSelect",  "ssModeSelect",
        "ssCleared", "ssResult", "ssOpening", "ssFolderSelect", "ssCalibration", "ssPracticeSetup"};
    return state < names.size() ? names[state] : std::string_view("ss?");
}

} // namespace tamtara
