// Unpacking of the driver interface's packed short message into the bytes a device receives.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace tamtara {

struct ShortMessageBytes {
    std::array<std::uint8_t, 3> Bytes{};
    std::size_t Length = 0; // 0: not a message a short send can carry
};

// Number of bytes a message with this status byte has; 0 for data bytes and for F0/F7, which
// only travel as long messages.
std::size_t ShortMessageLength(std::uint8_t status);

// status | data1 << 8 | data2 << 16 → the message bytes, data bytes masked to 7 bits.
ShortMessageBytes UnpackShortMessage(std::uint32_t message);

} // namespace tamtara
