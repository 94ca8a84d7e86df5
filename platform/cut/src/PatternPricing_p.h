#pragma once
// The pricing problem of the column generation: the most valuable way to fill a bar, a bounded
// knapsack solved exactly by dynamic programming over the fill length in whole units.
#include <cstdint>
#include <functional>
#include <vector>

namespace cut {

/// One kind of piece as the knapsack sees it.
struct PricingItem {
    std::int64_t weight = 0; ///< piece length plus one kerf, in units
    double value = 0;        ///< its dual price
    int maxCount = 0;        ///< at most this many in one pattern
};

/// A bar a pattern is sought for: capacity is the bar length plus one kerf (the last cut may run off
/// the end), and the offcut left must be zero or at least `minOffcut`.
struct PricingBar {
    std::int64_t capacity = 0;
    std::int64_t kerf = 0;
    std::int64_t minOffcut = 0;
};

/// The best pattern found for one bar.
struct PricedPattern {
    bool found = false;
    double value = 0;
    std::int64_t weight = 0;
    std::vector<int> counts; ///< per item
};

/// The offcut a fill of `weight` leaves on `bar`; 0 when the last cut runs off the end.
std::int64_t offcutOf(const PricingBar& bar, std::int64_t weight);
/// True when a fill of `weight` fits the bar and leaves an offcut it may leave.
bool isValidFill(const PricingBar& bar, std::int64_t weight);

/// For each bar, the pattern of greatest value among the valid fills (exact: every fill length up to
/// the longest capacity is tried). One table serves all bars, because it is kept by exact fill.
std::vector<PricedPattern> bestPatterns(const std::vector<PricingItem>& items,
                                        const std::vector<PricingBar>& bars);

/// As `bestPatterns`, but up to `perBar` patterns for each bar, the best first, each of a different
/// fill length and worth more than `minValue[bar]`. The first is the exact best; the others are the
/// best of their fill length, which column generation takes as extra columns from the same table.
/// `bestValue`, when given, receives each bar's best value (0 when nothing of value fits). `stop`,
/// when given, is asked now and then while the table is filled; when it says so, no patterns come
/// back (and the caller must not take that for "nothing of value fits").
std::vector<std::vector<PricedPattern>> goodPatterns(const std::vector<PricingItem>& items,
                                                     const std::vector<PricingBar>& bars,
                                                     const std::vector<double>& minValue, int perBar,
                                                     std::vector<double>* bestValue = nullptr,
                                                     const std::function<bool()>& stop = {});

} // namespace cut
