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

std::vector<std::vector<PricedPattern>> goodPatterns(const std::vector<PricingItem>& items,
                                                     const std::vector<PricingBar>& bars,
                                                     const std::vector<double>& minValue, int perBar,
                                                     std::vector<double>* bestValue,
                                                     const std::function<bool()>& stop) {
    std::int64_t capacity = 0;
    for (const PricingBar& bar : bars)
        capacity = std::max(capacity, bar.capacity);
    const std::size_t size = std::size_t(capacity) + 1;

    // A bounded count is split into 1, 2, 4, ... copies so that a 0/1 knapsack covers every count.
    struct Split {
        int item;
        int copies;
        std::int64_t weight;
        double value;
    };
    std::vector<Split> splits;
    for (int i = 0; i < int(items.size()); ++i) {
        const PricingItem& it = items[i];
        if (it.value <= 1e-12 || it.maxCount <= 0 || it.weight <= 0 || it.weight > capacity) continue;
        int left = int(std::min<std::int64_t>(it.maxCount, capacity / it.weight));
        for (int k = 1; left > 0; k *= 2) {
            const int c = std::min(k, left);
            splits.push_back({i, c, it.weight * c, it.value * c});
            left -= c;
        }
    }

    // best[w]: the greatest value of a fill of exactly w (minus infinity when no fill has that
    // length). The choices are kept as one bit per split and fill length, in one block.
    const double none = -std::numeric_limits<double>::infinity();
    std::vector<double> best(size, none);
    best[0] = 0;
    const std::size_t words = (size + 63) / 64;
    std::vector<std::uint64_t> taken(splits.size() * words, 0);
    // No fill is longer than the splits so far together: the lengths above stay minus infinity and
    // need no visit.
    std::int64_t reach = 0;
    // A stop is asked after every few million fill lengths visited.
    std::int64_t visited = 0;
    for (std::size_t s = 0; s < splits.size(); ++s) {
        if (stop && visited > (std::int64_t(1) << 22)) {
            visited = 0;
            if (stop()) {
                if (bestValue) bestValue->assign(bars.size(), 0.0);
                return std::vector<std::vector<PricedPattern>>(bars.size());
            }
        }
        visited += std::min(capacity, reach + splits[s].weight);
        const std::int64_t w = splits[s].weight;
        const double v = splits[s].value;
        std::uint64_t* take = taken.data() + s * words;
        double* row = best.data();
        reach = std::min(capacity, reach + w);
        for (std::int64_t at = reach; at >= w; --at) {
            const double with = row[at - w] + v; // stays minus infinity when at - w is no fill
            if (with > row[at] + 1e-12) {
                row[at] = with;
                take[at >> 6] |= std::uint64_t(1) << (at & 63);
            }
        }
    }
    auto isTaken = [&](std::size_t s, std::int64_t at) {
        return (taken[s * words + std::size_t(at >> 6)] >> (at & 63)) & 1;
    };

    std::vector<std::vector<PricedPattern>> out(bars.size());
    if (bestValue) bestValue->assign(bars.size(), 0.0);
    std::vector<std::int64_t> fills;
    for (std::size_t b = 0; b < bars.size(); ++b) {
        fills.clear();
        for (std::int64_t w = 1; w <= bars[b].capacity; ++w) {
            if (best[w] == none || !isValidFill(bars[b], w)) continue;
            if (bestValue) (*bestValue)[b] = std::max((*bestValue)[b], best[w]);
            if (best[w] > minValue[b]) fills.push_back(w);
        }
        // Greatest value first; of equal values the fuller bar.
        const std::size_t keep = std::min<std::size_t>(fills.size(), std::size_t(std::max(perBar, 1)));
        std::partial_sort(fills.begin(), fills.begin() + std::ptrdiff_t(keep), fills.end(),
                          [&](std::int64_t a, std::int64_t c) {
                              if (best[a] > best[c] + 1e-12) return true;
                              if (best[c] > best[a] + 1e-12) return false;
                              return a > c;
                          });
        for (std::size_t k = 0; k < keep; ++k) {
            PricedPattern p;
            std::int64_t at = fills[k];
            p.found = true;
            p.value = best[at];
            p.weight = at;
            p.counts.assign(items.size(), 0);
            for (std::size_t s = splits.size(); s-- > 0 && at > 0;) {
                if (!isTaken(s, at)) continue;
                p.counts[splits[s].item] += splits[s].copies;
                at -= splits[s].weight;
            }
            out[b].push_back(std::move(p));
        }
    }
    return out;
}

std::vector<PricedPattern> bestPatterns(const std::vector<PricingItem>& items,
                                        const std::vector<PricingBar>& bars) {
    const std::vector<double> minValue(bars.size(), 0.0);
    std::vector<std::vector<PricedPattern>> good = goodPatterns(items, bars, minValue, 1);
    std::vector<PricedPattern> out(bars.size());
    for (std::size_t b = 0; b < bars.size(); ++b)
        if (!good[b].empty()) out[b] = std::move(good[b].front());
    return out;
}

} // namespace cut
