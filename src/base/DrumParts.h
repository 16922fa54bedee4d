// The drum parts, one per lane. Their order (lanes left to right) is also the order of the player's
// keys, the kit's note lists, the automatic-lane flags and the settings' per-part entries.
#pragma once

#include <array>

namespace tamtara {

inline constexpr int LaneCount = 7;

enum DrumPart : int { dpHiHat, dpSnare, dpKick, dpHighTom, dpMidTom, dpLowTom, dpCymbal };
static_assert(dpCymbal + 1 == LaneCount);

// Two-letter names of the parts, as the tools print and draw them.
inline constexpr std::array<const char*, LaneCount> DrumPartLabels{"HH", "SD", "BD", "HT", "MT", "LT", "CY"};

} // namespace tamtara
