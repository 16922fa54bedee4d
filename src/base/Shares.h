// Shares of a whole as a player reads them: in tenths of a percent, each the nearest to its
// exact value that still lets the shown shares add up to exactly 100.0 %.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace tamtara {

// Each count's share of their sum in per mille: rounded down, then the largest remainders
// (the earlier count on a tie) take the per mille that rounding down left over. All 0 when the
// counts add up to 0.
std::vector<std::int32_t> ShownPermille(std::span<const std::int32_t> counts);

} // namespace tamtara
