#include "base/Shares.h"

#include <algorithm>
#include <numeric>

namespace tamtara {

std::vector<std::int32_t> ShownPermille(std::span<const std::int32_t> counts) {
    std::vector<std::int32_t> shares(counts.size(), 0);
    const std::int64_t total = std::accumulate(counts.begin(), counts.end(), std::int64_t{0});
    if (total <= 0) return shares;
    std::vector<std::int64_t> remainders(counts.size());
    std::int64_t given = 0;
    for (std::size_t i = 0; i < counts.size(); ++i) {
        const std::int64_t scaled = std::int64_t{counts[i]} * 1000;
        shares[i] = static_cast<std::int32_t>(scaled / total);
        remainders[i] = scaled % total;
        given += shares[i];
    }
    std::vector<std::size_t> order(counts.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&remainders](std::size_t a, std::size_t b) { return remainders[a] > remainders[b]; });
    for (std::size_t i = 0; given < 1000 && i < order.size(); ++i, ++given)
        ++shares[order[i]];
    return shares;
}

} // namespace tamtara
