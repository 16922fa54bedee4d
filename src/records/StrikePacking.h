// The strikes of a play as one blob, two bytes a strike, little-endian:
//   bits 0-2 lane (0-6), bits 3-4 grade (0-3), bits 5-15 error in ms as 11-bit two's complement,
//   clamped to -1023..+1023 (no judged strike is that far off).
#pragma once

#include "records/PlayRecord.h"

#include <cstdint>
#include <span>
#include <vector>

namespace tamtara {

constexpr std::int32_t MaxStoredErrorMs = 1023;

std::vector<std::uint8_t> PackStrikes(std::span<const StrikeEntry> strikes);
// A trailing odd byte is ignored.
std::vector<StrikeEntry> UnpackStrikes(std::span<const std::uint8_t> bytes);

} // namespace tamtara
