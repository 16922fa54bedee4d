#include "records/StrikePacking.h"

#include <algorithm>

namespace tamtara {

std::vector<std::uint8_t> PackStrikes(std::span<const StrikeEntry> strikes) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(strikes.size() * 2);
    for (const StrikeEntry& strike : strikes) {
        const std::int32_t error =
            std::clamp<std::int32_t>(strike.ErrorMs, -MaxStoredErrorMs, MaxStoredErrorMs);
        const auto word = static_cast<std::uint16_t>((strike.Lane & 7) | ((strike.Grade & 3) << 3) |
                                                     ((static_cast<std::uint32_t>(error) & 0x7FF) << 5));
        bytes.push_back(static_cast<std::uint8_t>(word & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(word >> 8));
    }
    return bytes;
}

std::vector<StrikeEntry> UnpackStrikes(std::span<const std::uint8_t> bytes) {
    std::vector<StrikeEntry> strikes;
    strikes.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const std::uint32_t word = bytes[i] | (static_cast<std::uint32_t>(bytes[i + 1]) << 8);
        std::int32_t error = static_cast<std::int32_t>(word >> 5);
        if (error >= 1024) error -= 2048;
        strikes.push_back(StrikeEntry{static_cast<std::uint8_t>(word & 7), static_cast<std::int16_t>(error),
                                      static_cast<std::uint8_t>((word >> 3) & 3)});
    }
    return strikes;
}

} // namespace tamtara
