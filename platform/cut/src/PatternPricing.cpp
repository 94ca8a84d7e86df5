#include "PatternPricing_p.h"

#include <algorithm>
#include <limits>

namespace cut {

std::int64_t offcutOf(const PricingBar& bar, std::int64_t weight) {
    return std::max<std::int64_t>(0, bar.capacity - weight - bar.kerf);
}

bool isValidFill(const PricingBar& bar, std::int64_t weight) {
    if (weight > bar.capacity) return false;
    const std::int64_t offcut = offcutOf(bar, weight);
    return offcut == 0 || offcut >= bar.minOffcut;
}

std::vector<PricedPattern> bestPatterns(const std::vector<PricingItem>& items,
                                        const std::vector<PricingBar>& bars) {
    std::int64_t capacity = 0;
    for (const PricingBar& bar : bars)
        capacity = std::max(capacity, bar.capacity);
    const std::size_t size = std::size_t(capacity) + 1;

    // A bounded count is split into 1, 2, 4, ... copies so that a 0/1 knapsack covers every count.
    struct Split {
        int item;
        int copies;
    };
    std::vector<Split> splits;
    for (int i = 0; i < int(items.size()); ++i) {
        const PricingItem& it = items[i];
        if (it.value <= 1e-12 || it.maxCount <= 0 || it.weight <= 0 || it.weight > capacity) continue;
        int left = int(std::min<std::int64_t>(it.maxCount, capacity / it.weight));
        for (int k = 1; left > 0; k *= 2) {
            const int c = std::min(k, left);
            splits.push_back({i, c});
            left -= c;
        }
    }

    const double none = -std::numeric_limits<double>::infinity();
    std::vector<double> best(size, none);
    best[0] = 0;
    std::vector<std::vector<bool>> taken(splits.size());
    for (std::size_t s = 0; s < splits.size(); ++s) {
        const std::int64_t w = items[splits[s].item].weight * splits[s].copies;
        const double v = items[splits[s].item].value * splits[s].copies;
        std::vector<bool>& take = taken[s];
        take.assign(size, false);
        for (std::int64_t at = capacity; at >= w; --at) {
            const double from = best[at - w];
            if (from == none) continue;
            if (from + v > best[at] + 1e-12) {
                best[at] = from + v;
                take[at] = true;
            }
        }
    }

    std::vector<PricedPattern> out(bars.size());
    for (std::size_t b = 0; b < bars.size(); ++b) {
        PricedPattern& p = out[b];
        std::int64_t at = -1;
        for (std::int64_t w = 0; w <= bars[b].capacity; ++w) {
            if (best[w] == none || !isValidFill(bars[b], w)) continue;
            if (at < 0 || best[w] > best[at] + 1e-12) at = w;
        }
        if (at <= 0) continue;
        p.found = true;
        p.value = best[at];
        p.weight = at;
        p.counts.assign(items.size(), 0);
        for (std::size_t s = splits.size(); s-- > 0 && at > 0;) {
            if (!taken[s][at]) continue;
            p.counts[splits[s].item] += splits[s].copies;
            at -= items[splits[s].item].weight * splits[s].copies;
        }
    }
    return out;
}

} // namespace cut
