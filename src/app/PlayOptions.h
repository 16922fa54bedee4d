// The mode screen's three choices, counted up and down without bounds and read modulo their
// option count: play length, scroll speed and special mode.
#pragma once

#include <cstdint>

namespace tamtara {

struct PlayOptions {
    std::uint8_t PlayTimeChoice = 0;
    std::uint8_t SpeedChoice = 0;
    std::uint8_t SpecialChoice = 0;

    // The choice of a row of the mode screen: 0 play time, 1 speed, 2 special.
    std::uint8_t& Choice(std::int32_t row) {
        return row == 0 ? PlayTimeChoice : row == 1 ? SpeedChoice : SpecialChoice;
    }
};

} // namespace tamtara
