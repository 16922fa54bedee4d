// The fixed map from DirectInput keyboard scan codes to the game's key codes (from the key table).
#pragma once

#include <array>
#include <cstdint>

namespace tamtara {

// Key code of each scan code 0 to 255; 0 where the scan code gives no key.
extern const std::array<std::uint8_t, 256> ScanCodeTable;

} // namespace tamtara
