#include <cut/CuttingStock.h>

#include "PatternPricing_p.h"

#include <ClpSimplex.hpp>
#include <CoinHelperFunctions.hpp>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <limits>
#include <list>
#include <map>
#include <numeric>
#include <unordered_map>

namespace cut {
namespace {

// Sets why nothing (or not everything) could be planned, with its kind.
void setFault(Result& r, MessageKind kind, std::string text, long long count = 0) {
    r.error = text;
    r.fault = Message{0, std::move(text), kind};
    r.fault.count = count;
}

using Clock = std::chrono::steady_clock;

/// A pattern in whole units: the stock it is cut from and how many of each part.
struct Column {
    int stock = 0;
    std::vector<int> counts; // per part
};

/// The problem in whole units, reduced by the greatest common divisor of all lengths.
struct Units {
    std::vector<std::int64_t> part; // piece length + kerf
    std::vector<PricingBar> bar;    // per stock length
    std::int64_t kerf = 0;
};

// Lengths beyond what a run takes (`inputFault`) count as none, never as an overflow.
std::int64_t toUnits(double mm, double unit) {
    const double units = mm / unit;
    if (!std::isfinite(units) || std::abs(units) > 4.0 * double(kMaxLengthUnits)) return 0;
    return std::llround(units);
}

// Floor and ceiling of a / b for b > 0.
std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}
std::int64_t ceilDiv(std::int64_t a, std::int64_t b) {
    return -floorDiv(-a, b);
}

// How many pieces of weight `w` a bar filled to `used` takes one after the other, each leaving a
// fill the bar allows: while the offcut stays at the minimum or above, and on from where it is zero.
std::int64_t piecesInTurn(const PricingBar& bar, std::int64_t used, std::int64_t w) {
    const std::int64_t room = floorDiv(bar.capacity - used, w);
    if (room < 1) return 0;
    if (bar.minOffcut <= 0) return room;
    const std::int64_t allowed = floorDiv(bar.capacity - bar.kerf - bar.minOffcut - used, w);
    const std::int64_t exact = std::max<std::int64_t>(1, ceilDiv(bar.capacity - bar.kerf - used, w));
    if (allowed >= 1) return allowed + 1 >= exact ? room : std::min(allowed, room);
    return exact <= 1 ? room : 0;
}

// The most pieces of weight `w`, at most `most`, that fill a bar allowed alone; 0 when none.
std::int64_t mostPieces(const PricingBar& bar, std::int64_t w, std::int64_t most) {
    const std::int64_t room = std::min(most, bar.capacity / w);
    if (room < 1) return 0;
    if (isValidFill(bar, room * w)) return room;
    // Between the minimum offcut and none: fewer pieces, leaving the minimum.
    return std::clamp<std::int64_t>(floorDiv(bar.capacity - bar.kerf - bar.minOffcut, w), 0, room);
}

Units makeUnits(const std::vector<Part>& parts, const std::vector<StockLength>& stock, const Settings& s) {
    const double unit = s.unit > 0 ? s.unit : 0.1;
    std::vector<std::int64_t> lens;
    for (const Part& p : parts)
        lens.push_back(std::max<std::int64_t>(0, toUnits(p.length, unit)));
    std::vector<std::int64_t> bars;
    for (const StockLength& st : stock)
        bars.push_back(std::max<std::int64_t>(0, toUnits(st.length, unit)));
    std::int64_t kerf = std::max<std::int64_t>(0, toUnits(s.kerf, unit));
    std::int64_t minOff = std::max<std::int64_t>(0, toUnits(s.minOffcut, unit));

    std::int64_t g = 0;
    for (std::int64_t v : lens)
        g = std::gcd(g, v);
    for (std::int64_t v : bars)
        g = std::gcd(g, v);
    g = std::gcd(g, kerf);
    if (g <= 0) g = 1;
    // The minimum offcut only ever compares, so it is rounded up to the grain rather than divided.
    Units u;
    u.kerf = kerf / g;
    for (std::int64_t v : lens)
        u.part.push_back(v / g + u.kerf);
    for (std::int64_t v : bars)
        u.bar.push_back({v / g + u.kerf, u.kerf, (minOff + g - 1) / g});
    return u;
}

/// Bars cut so far, `copies` of them alike: how each is cut, and how much of the demand each covers
/// (less than its pieces when a piece no longer needed stays on it to keep the offcut allowed).
struct CutBar {
    Column bar;
    std::vector<int> covered;
    long long copies = 1;
};

// Every plan costs a whole number of the greatest step the prices share (1 for equal prices, 0.1 for
// 1 and 1.9), so an LP bound of 7.2 at prices 1 and 2 means no plan below 8. 0 when there is none.
double costGrain(const std::vector<StockLength>& stock) {
    for (const double step : {1.0, 0.1, 0.01, 0.001}) {
        long long g = 0;
        bool whole = true;
        for (const StockLength& st : stock) {
            if (st.length <= 0) continue;
            const double k = st.cost / step;
            whole = whole && std::abs(k - std::round(k)) < 1e-6;
            g = std::gcd(g, std::llround(k));
        }
        if (whole) return double(g) * step;
    }
    return 0;
}

double roundUpToGrain(double cost, double grain) {
    if (grain <= 0) return cost;
    return std::ceil(cost / grain - 1e-5) * grain;
}

/// True when a plan of `cost` is no more than the LP bound rounded up to the grain.
bool reachesBound(double cost, double lpBound, double grain) {
    return cost <= roundUpToGrain(lpBound, grain) + (grain > 0 ? grain / 2 : 1e-9);
}

class Planner {
public:
    Planner(const std::vector<Part>& parts, const std::vector<StockLength>& stock, const Settings& settings)
        : m_parts(parts)
        , m_stock(stock)
        , m_settings(settings)
        , m_units(makeUnits(parts, stock, settings))
        , m_start(Clock::now()) {}

    Result run();

private:
    enum class Lp { Optimal, Infeasible, TimedOut, CutOff };

    double elapsed() const { return std::chrono::duration<double>(Clock::now() - m_start).count(); }
    bool stopAsked() const { return m_settings.stop && m_settings.stop->load(std::memory_order_relaxed); }
    bool timeUp() const { return stopAsked() || elapsed() > m_settings.timeLimit; }
    // A piece fits a stock length when it is not longer; whether the offcut left is allowed depends
    // on the other pieces of the bar.
    bool pieceFits(int part, int stock) const {
        return m_stock[stock].length > 0 && m_units.part[part] <= m_units.bar[stock].capacity;
    }
    std::int64_t fill(const Column& c) const {
        std::int64_t w = 0;
        for (int i = 0; i < int(c.counts.size()); ++i)
            w += std::int64_t(c.counts[i]) * m_units.part[i];
        return w;
    }
    bool limited(int stock) const { return m_rowOfStock[stock] >= 0; }
    bool needsMore() const {
        return std::any_of(m_need.begin(), m_need.end(), [](long long q) { return q > 0; });
    }
    bool setUp();
    int addColumn(const Column& c);
    void enterLp(int id);
    void ageColumns();
    void dropIdleColumns();
    std::vector<double> poolSolution() const;
    void forbid(int id);
    void allow(int id);
    Lp columnGeneration(int round, bool rowsChanged);
    double roundUp(double cost) const;
    bool canImprove(double bound) const;
    long long takeBar(const Column& c, bool moveToCheaper = true, long long copies = 1);
    void takeBars(const Column& c, long long copies);
    void undoTo(std::size_t mark);
    bool repairRest(int prefer = -1);
    bool fillGreedily();
    double lengthBound() const;
    void resetRows();
    void keepIfBetter();
    void completeByRounding(const std::vector<double>& x, bool greedy = false);
    void search(int discrepancies);
    Result makeResult();

    const std::vector<Part>& m_parts;
    const std::vector<StockLength>& m_stock;
    const Settings& m_settings;
    Units m_units;
    Clock::time_point m_start;
    const std::function<bool()> m_timeUp = [this] { return timeUp(); };

    std::vector<int> m_rowOfPart;  // -1 for parts not planned
    std::vector<int> m_rowOfStock; // -1 for stock without a limit
    std::vector<long long> m_need; // per part, still to cut
    std::vector<long long> m_left; // per stock, bars still at hand (-1: any number)
    ClpSimplex m_lp;
    // Every pattern found stays in the pool; the LP holds only those that have been of use lately,
    // for a master with thousands of idle columns makes every simplex iteration slow.
    std::vector<Column> m_columns; // the pattern pool
    // Patterns by a hash of their stock and counts (a map keyed by the counts compared and copied
    // thousands of counts per pattern with many part lengths).
    std::unordered_multimap<std::uint64_t, int> m_columnIndex;
    std::vector<int> m_forbidden; // per pattern: how many branches of the search forbid it
    std::vector<int> m_lpIndex;   // per pattern: its LP column, -1 while it is out of the LP
    std::vector<int> m_idle;      // per pattern: LP solves in a row that priced it clearly out
    std::vector<int> m_lpColumn;  // per LP column: its pattern
    std::vector<bool> m_kept;     // per pattern: never leaves the LP (the starting patterns, which
                                  // keep it feasible for any demand the stock allows)
    int m_dropped = 0;            // patterns taken out of the LP
    int m_restored = 0;           // patterns priced again and put back
    std::vector<double> m_center; // the best duals of the last column generation
    double m_lpValue = 0;
    double m_lowerBound = 0; // no plan for the demand still to cut costs less (set by the generation)
    int m_round = 1;

    std::vector<CutBar> m_cut; // the bars cut on the way to a plan
    double m_cutCost = 0;
    long long m_cutBars = 0;
    std::vector<CutBar> m_best; // the cheapest whole plan found
    double m_bestCost = 0;
    long long m_bestBars = 0;
    bool m_poolFull = false; // the pattern pool reached its budget: no more patterns are generated
    bool m_haveBest = false;
    double m_grain = 0; // every plan's cost is a multiple of this (0: no such step)
    long long m_nodes = 0;
    long long m_nodeLimit = 0;
    bool m_stop = false;
    Result m_result;
};

// Bounds of the search. A branch departs from the LP's choice; a pass allows that a few times per
// dive. Nodes are limited as well (100 and three per bar: the hard exact packings need about two per
// bar) so that a plan the LP bound cannot prove optimal ends in seconds, not at the time limit.
constexpr int kMaxDiscrepancies = 3;
constexpr int kColumnsPerPricing = 12; // patterns of different fill per stock length and pricing
constexpr double kSmoothing = 0.5;     // weight of the best duals so far in the point priced
// Keep Clp's work areas and factorization between the many small solves.
constexpr int kStartFinish = 3;
constexpr double kFractional = 1e-6;
// Bars left to cut below which a dive's rounding tries the greedy fill as well.
constexpr std::size_t kGreedyRestBars = 20;
// A column leaves the LP after this many solves in a row at a reduced cost above this share of its
// price, once enough of them are idle to be worth a deletion.
constexpr int kIdleSolves = 10;
constexpr double kIdleReducedCost = 0.02;
constexpr int kDropBatch = 64;
int g_idleSolves = kIdleSolves;
int g_dropBatch = kDropBatch;

// Adds a pattern to the pool and the LP; -1 when it is in the LP already. A pattern of the pool
// that is out of the LP goes back in, unless the search forbids it (it never drops those).
int Planner::addColumn(const Column& c) {
    std::uint64_t h = 1469598103934665603ULL ^ std::uint64_t(c.stock);
    for (std::size_t i = 0; i < c.counts.size(); ++i)
        if (c.counts[i] != 0)
            h = (h ^ (std::uint64_t(i) << 32 ^ std::uint32_t(c.counts[i]))) * 1099511628211ULL;
    const auto [first, last] = m_columnIndex.equal_range(h);
    for (auto it = first; it != last; ++it) {
        const int id = it->second;
        if (m_columns[id].stock != c.stock || m_columns[id].counts != c.counts) continue;
        if (m_lpIndex[id] >= 0 || m_forbidden[id] > 0) return -1;
        enterLp(id);
        ++m_restored;
        return id;
    }
    const int id = int(m_columns.size());
    m_columnIndex.emplace(h, id);
    m_columns.push_back(c);
    m_forbidden.push_back(0);
    m_lpIndex.push_back(-1);
    m_idle.push_back(0);
    m_kept.push_back(false);
    enterLp(id);
    return id;
}

void Planner::enterLp(int id) {
    const Column& c = m_columns[id];
    std::vector<int> rows;
    std::vector<double> values;
    for (int i = 0; i < int(c.counts.size()); ++i) {
        if (c.counts[i] > 0 && m_rowOfPart[i] >= 0) {
            rows.push_back(m_rowOfPart[i]);
            values.push_back(c.counts[i]);
        }
    }
    if (m_rowOfStock[c.stock] >= 0) {
        rows.push_back(m_rowOfStock[c.stock]);
        values.push_back(1.0);
    }
    m_lp.addColumn(int(rows.size()), rows.data(), values.data(), 0.0, COIN_DBL_MAX, m_stock[c.stock].cost);
    m_lpIndex[id] = int(m_lpColumn.size());
    m_lpColumn.push_back(id);
    m_idle[id] = 0;
}

// After an LP solve: a column whose reduced cost is clearly positive ages by one solve, any other
// is young again.
void Planner::ageColumns() {
    const double* reduced = m_lp.dualColumnSolution();
    const double* x = m_lp.primalColumnSolution();
    for (int j = 0; j < int(m_lpColumn.size()); ++j) {
        const int id = m_lpColumn[j];
        const double cost = m_stock[m_columns[id].stock].cost;
        if (x[j] <= kFractional && reduced[j] > kIdleReducedCost * std::max(cost, 1e-3))
            ++m_idle[id];
        else
            m_idle[id] = 0;
    }
}

// Takes the columns that stayed priced out for long out of the LP (they stay in the pool). They are
// nonbasic at zero, so the basis, the solution and the duals stay as they are. Done in batches, as
// every deletion rebuilds Clp's column arrays.
void Planner::dropIdleColumns() {
    std::vector<int> drop;
    for (int j = 0; j < int(m_lpColumn.size()); ++j) {
        const int id = m_lpColumn[j];
        if (m_idle[id] >= g_idleSolves && m_forbidden[id] == 0 && !m_kept[id]) drop.push_back(j);
    }
    if (drop.empty() || int(drop.size()) < std::max(g_dropBatch, int(m_lpColumn.size()) / 8)) return;
    m_lp.deleteColumns(int(drop.size()), drop.data());
    std::vector<int> kept;
    kept.reserve(m_lpColumn.size() - drop.size());
    std::size_t d = 0;
    for (int j = 0; j < int(m_lpColumn.size()); ++j) {
        const int id = m_lpColumn[j];
        if (d < drop.size() && drop[d] == j) {
            ++d;
            m_lpIndex[id] = -1;
            m_idle[id] = 0;
            continue;
        }
        m_lpIndex[id] = int(kept.size());
        kept.push_back(id);
    }
    m_lpColumn = std::move(kept);
    m_dropped += int(drop.size());
}

// The LP's solution per pattern of the pool (zero for those out of the LP).
std::vector<double> Planner::poolSolution() const {
    std::vector<double> x(m_columns.size(), 0.0);
    const double* lp = m_lp.primalColumnSolution();
    for (int j = 0; j < int(m_lpColumn.size()); ++j)
        x[m_lpColumn[j]] = lp[j];
    return x;
}

void Planner::forbid(int id) {
    if (m_forbidden[id]++ == 0 && m_lpIndex[id] >= 0) m_lp.setColumnUpper(m_lpIndex[id], 0.0);
}

void Planner::allow(int id) {
    if (--m_forbidden[id] == 0 && m_lpIndex[id] >= 0) m_lp.setColumnUpper(m_lpIndex[id], COIN_DBL_MAX);
}

// Column generation on the demand still to cut: solve the master LP, price new patterns for each
// stock length, add those that lower the cost, until none does. After the rows changed the old
// basis is still dual feasible, so the dual simplex starts; new columns keep the basis primal
// feasible, so the primal simplex goes on.
//
// The duals of a degenerate master jump about, and pricing with them alone takes many rounds to
// settle. So patterns are priced at a point between the LP's duals and the best duals seen so far
// (those that gave the highest Lagrangian bound); only when that finds nothing that lowers the cost
// are the LP's own duals priced, and nothing there means the LP is optimal. In the search, the
// Lagrangian bound also ends a node early once it shows the node cannot beat the best plan.
Planner::Lp Planner::columnGeneration(int round, bool rowsChanged) {
    const int n = int(m_parts.size());
    const int stocks = int(m_stock.size());
    const double none = -std::numeric_limits<double>::infinity();
    std::vector<double> center, at(n, 0.0), lpDual(n, 0.0), stockDual(stocks, 0.0);
    std::vector<double> minValue(stocks, none), bestValue;
    double bestBound = none;
    m_lowerBound = none;
    // The search starts each node from the best duals of the node before: its demand differs by a
    // few bars, and the LP's first duals at a new node are a poor point to price.
    if (round > 1) center = m_center;
    for (int iteration = 1;; ++iteration) {
        if (iteration == 1 && rowsChanged)
            m_lp.dual(0, kStartFinish);
        else
            m_lp.primal(0, kStartFinish);
        if (m_lp.status() != 0 && m_lp.status() != 1) m_lp.primal(); // a stalled dual: once more from here
        if (m_lp.status() != 0) return Lp::Infeasible;
        m_lpValue = m_lp.objectiveValue();
        ageColumns();
        if (m_settings.progress)
            m_settings.progress({round, iteration, int(m_lpColumn.size()), m_lpValue, elapsed()});
        if (timeUp()) return Lp::TimedOut;
        const double* dual = m_lp.dualRowSolution();
        for (int i = 0; i < n; ++i)
            lpDual[i] = m_rowOfPart[i] >= 0 && m_need[i] > 0 ? std::max(0.0, dual[m_rowOfPart[i]]) : 0.0;
        for (int s = 0; s < stocks; ++s)
            stockDual[s] = m_rowOfStock[s] >= 0 ? std::min(0.0, dual[m_rowOfStock[s]]) : 0.0;

        bool added = false;
        for (int attempt = 0; attempt < 2 && !added; ++attempt) {
            const bool smooth = attempt == 0 && !center.empty();
            if (attempt == 1 && center.empty()) break; // the first attempt already priced the LP's duals
            for (int i = 0; i < n; ++i)
                at[i] = smooth ? kSmoothing * center[i] + (1 - kSmoothing) * lpDual[i] : lpDual[i];
            std::vector<PricingItem> items(n);
            for (int i = 0; i < n; ++i)
                if (at[i] > 0)
                    items[i] = {m_units.part[i], at[i], int(std::min<long long>(m_need[i], 1 << 30))};
            const std::vector<std::vector<PricedPattern>> priced =
                goodPatterns(items, m_units.bar, minValue, kColumnsPerPricing, &bestValue, m_timeUp);
            if (timeUp()) return Lp::TimedOut; // the pricing may have been cut short

            // The Lagrangian bound of these duals: scaled so that no bar of unlimited stock is
            // worth more than its price, each limited stock adds what its bars would gain.
            double scale = 1;
            bool valid = true;
            for (int s = 0; s < stocks; ++s) {
                if (m_stock[s].length <= 0 || m_left[s] == 0 || limited(s)) continue;
                if (m_stock[s].cost > 0)
                    scale = std::max(scale, bestValue[s] / m_stock[s].cost);
                else if (bestValue[s] > 0)
                    valid = false;
            }
            if (valid) {
                double bound = 0;
                for (int i = 0; i < n; ++i)
                    bound += double(std::max<long long>(0, m_need[i])) * at[i] / scale;
                for (int s = 0; s < stocks; ++s)
                    if (limited(s) && m_stock[s].length > 0 && m_left[s] > 0)
                        bound += double(m_left[s]) * std::min(0.0, m_stock[s].cost - bestValue[s] / scale);
                if (bound > bestBound) {
                    bestBound = bound;
                    center = at;
                }
            }

            // A pattern joins the master when it lowers the cost at the LP's own duals.
            for (int s = 0; s < stocks; ++s) {
                if (m_stock[s].length <= 0 || m_left[s] == 0) continue;
                for (const PricedPattern& p : priced[s]) {
                    double reduced = m_stock[s].cost - stockDual[s];
                    for (int i = 0; i < n; ++i)
                        reduced -= p.counts[i] * lpDual[i];
                    if (reduced >= -1e-9 * std::max(1.0, m_stock[s].cost)) continue;
                    // The pool holds every pattern with a count per part: within its budget only.
                    if (double(m_columns.size() + 1) * double(n) > kMaxPatternCounts) {
                        m_poolFull = true;
                        continue;
                    }
                    added = addColumn({s, p.counts}) >= 0 || added;
                }
            }
        }
        m_lowerBound = std::max(m_lowerBound, bestBound);
        m_center = center;
        dropIdleColumns();
        // Without room for the patterns that lower the cost the LP is not optimal: as at the time
        // limit, the Lagrangian bound stands and the best plan is kept.
        if (m_poolFull) return Lp::TimedOut;
        // Nothing new: the LP is optimal, unless the search forbids a pattern the pricing found,
        // in which case its value is only an estimate (the search treats it as one).
        if (!added) {
            m_lowerBound = m_lpValue;
            return Lp::Optimal;
        }
        if (m_lpValue - m_lowerBound <= 1e-9 * std::max(1.0, std::abs(m_lpValue))) return Lp::Optimal;
        // In the search only the bound rounded to the price step matters: once the Lagrangian bound
        // rounds to the same step as the LP's value, more patterns cannot raise it.
        if (round > 1 && m_grain > 0 &&
            roundUp(m_cutCost + m_lowerBound) >= roundUp(m_cutCost + m_lpValue) - m_grain / 2)
            return Lp::Optimal;
        if (round > 1 && !canImprove(m_cutCost + m_lowerBound)) return Lp::CutOff;
    }
}

double Planner::roundUp(double cost) const {
    return roundUpToGrain(cost, m_grain);
}

// True when a part plan whose cost is at least `bound` may still beat the best plan found.
bool Planner::canImprove(double bound) const {
    if (!m_haveBest) return true;
    const double step = m_grain > 0 ? m_grain / 2 : 1e-9;
    return roundUp(bound) < m_bestCost - step;
}

// Cuts bars of a pattern, up to `copies` alike. While every piece is still needed that often they
// are cut as one group; else one bar, trimmed to what is still needed, where a piece no longer
// needed stays when taking it out would leave a forbidden offcut. What a bar holds may go on a
// cheaper bar. The number of bars cut: 0 when a bar would cut nothing needed or none is at hand.
long long Planner::takeBar(const Column& c, bool moveToCheaper, long long copies) {
    if (m_left[c.stock] == 0 || copies <= 0) return 0;
    CutBar cut{c, std::vector<int>(c.counts.size(), 0), 1};
    Column& t = cut.bar;
    bool useful = false;
    long long whole = copies;
    for (int i = 0; i < int(c.counts.size()); ++i) {
        useful = useful || (c.counts[i] > 0 && m_need[i] > 0);
        if (c.counts[i] > 0) whole = std::min(whole, m_need[i] / c.counts[i]);
    }
    if (!useful) return 0;
    if (whole >= 1) {
        cut.copies = whole;
    } else {
        for (int i = 0; i < int(t.counts.size()); ++i)
            t.counts[i] = int(std::min<long long>(t.counts[i], m_need[i]));
        if (!isValidFill(m_units.bar[c.stock], fill(t))) t.counts = c.counts;
    }
    if (moveToCheaper) {
        const std::int64_t w = fill(t);
        for (int s = 0; s < int(m_stock.size()); ++s) {
            if (m_stock[s].length <= 0 || m_left[s] == 0 || !isValidFill(m_units.bar[s], w)) continue;
            const StockLength& now = m_stock[t.stock];
            if (m_stock[s].cost < now.cost || (m_stock[s].cost == now.cost && m_stock[s].length < now.length))
                t.stock = s;
        }
    }
    if (limited(t.stock)) cut.copies = std::min(cut.copies, m_left[t.stock]);
    for (int i = 0; i < int(t.counts.size()); ++i) {
        cut.covered[i] = int(std::min<long long>(t.counts[i], m_need[i] / cut.copies));
        m_need[i] -= cut.covered[i] * cut.copies;
    }
    if (limited(t.stock)) m_left[t.stock] -= cut.copies;
    m_cutCost += m_stock[t.stock].cost * double(cut.copies);
    m_cutBars += cut.copies;
    const long long taken = cut.copies;
    m_cut.push_back(std::move(cut));
    return taken;
}

void Planner::takeBars(const Column& c, long long copies) {
    while (copies > 0) {
        const long long taken = takeBar(c, true, copies);
        if (taken == 0) return;
        copies -= taken;
    }
}

// Gives back the bars cut after the first `mark`.
void Planner::undoTo(std::size_t mark) {
    while (m_cut.size() > mark) {
        const CutBar& cut = m_cut.back();
        for (int i = 0; i < int(cut.covered.size()); ++i)
            m_need[i] += cut.covered[i] * cut.copies;
        if (limited(cut.bar.stock)) m_left[cut.bar.stock] += cut.copies;
        m_cutCost -= m_stock[cut.bar.stock].cost * double(cut.copies);
        m_cutBars -= cut.copies;
        m_cut.pop_back();
    }
    if (m_cut.empty()) m_cutCost = 0;
}

// First fit decreasing for what is still needed, with identical pieces taken together: a group of
// open bars is cut alike, and each bar takes as many pieces of one length as it can one after the
// other, so the bars are those of placing piece after piece, in time that grows with the lengths
// and groups rather than the pieces. A piece that fits no open bar opens new bars of the stock
// length `prefer` when that is at hand and long enough, else of the cheapest (then shortest) one.
// False when a piece found no bar at hand, or a bar ended with a forbidden offcut.
bool Planner::repairRest(int prefer) {
    const int n = int(m_parts.size());
    std::vector<int> order;
    for (int i = 0; i < n; ++i)
        if (m_need[i] > 0) order.push_back(i);
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return m_units.part[a] > m_units.part[b]; });
    struct Group {
        Column bar;
        std::int64_t used;
        long long copies;
    };
    std::list<Group> open; // in the order opened; a group splits in place
    std::vector<long long> left = m_left;
    bool complete = true;
    for (int piece : order) {
        const std::int64_t w = m_units.part[piece];
        long long rest = m_need[piece];
        for (auto g = open.begin(); g != open.end() && rest > 0; ++g) {
            const long long k =
                std::min<long long>(piecesInTurn(m_units.bar[g->bar.stock], g->used, w), rest);
            if (k <= 0) continue;
            const long long full = std::min(g->copies, rest / k);
            if (full == g->copies) {
                g->bar.counts[piece] += int(k);
                g->used += k * w;
                rest -= full * k;
                continue;
            }
            // The group splits: `full` bars take k each, one bar takes what is left, the rest stay.
            const long long partial = rest - full * k;
            if (full > 0) {
                Group a = *g;
                a.copies = full;
                a.bar.counts[piece] += int(k);
                a.used += k * w;
                open.insert(g, std::move(a));
            }
            if (partial > 0) {
                Group b = *g;
                b.copies = 1;
                b.bar.counts[piece] += int(partial);
                b.used += partial * w;
                open.insert(g, std::move(b));
            }
            g->copies -= full + (partial > 0 ? 1 : 0); // the rest stay as they were
            if (g->copies == 0) g = std::prev(open.erase(g));
            rest = 0;
        }
        while (rest > 0) {
            int chosen = -1;
            if (prefer >= 0 && left[prefer] != 0 && pieceFits(piece, prefer)) chosen = prefer;
            for (int s = 0; s < int(m_stock.size()) && prefer < 0; ++s) {
                if (left[s] == 0 || !pieceFits(piece, s)) continue;
                if (chosen < 0 || m_stock[s].cost < m_stock[chosen].cost ||
                    (m_stock[s].cost == m_stock[chosen].cost && m_stock[s].length < m_stock[chosen].length))
                    chosen = s;
            }
            if (chosen < 0 && prefer >= 0) {
                for (int s = 0; s < int(m_stock.size()); ++s) {
                    if (left[s] == 0 || !pieceFits(piece, s)) continue;
                    if (chosen < 0 || m_stock[s].cost < m_stock[chosen].cost ||
                        (m_stock[s].cost == m_stock[chosen].cost &&
                         m_stock[s].length < m_stock[chosen].length))
                        chosen = s;
                }
            }
            if (chosen < 0) {
                complete = false;
                break;
            }
            // A new bar takes its first piece whatever the offcut; the next ones as above.
            const long long perBar = std::min<long long>(rest, 1 + piecesInTurn(m_units.bar[chosen], w, w));
            long long bars = rest / perBar;
            if (left[chosen] >= 0) bars = std::min(bars, left[chosen]);
            Column c{chosen, std::vector<int>(n, 0)};
            if (bars > 0) {
                c.counts[piece] = int(perBar);
                open.push_back({c, perBar * w, bars});
                if (left[chosen] > 0) left[chosen] -= bars;
                rest -= bars * perBar;
            }
            if (rest > 0 && rest < perBar && left[chosen] != 0) {
                c.counts[piece] = int(rest);
                open.push_back({c, rest * w, 1});
                if (left[chosen] > 0) --left[chosen];
                rest = 0;
            }
        }
    }
    for (const Group& g : open) {
        if (!isValidFill(m_units.bar[g.bar.stock], g.used)) {
            complete = false;
            continue;
        }
        takeBar(g.bar, false, g.copies);
    }
    return complete;
}

// Bar after bar, the fullest pattern of what is still needed (of equally full ones, the one with the
// longer pieces); with several stock lengths, the one that cuts the most length for its price. It
// often fills every bar exactly where first fit decreasing leaves a bar too many. False when time ran
// out or nothing more could be cut.
bool Planner::fillGreedily() {
    const int n = int(m_parts.size());
    std::vector<PricingItem> items(n);
    const std::vector<double> anyValue(m_stock.size(), 0.0);
    while (needsMore()) {
        if (timeUp()) return false;
        for (int i = 0; i < n; ++i) {
            const double w = double(m_units.part[i]);
            items[i] = {m_units.part[i], m_need[i] > 0 ? w * (1 + 1e-9 * w) : 0.0,
                        int(std::min<long long>(m_need[i], 1 << 30))};
        }

        const std::vector<std::vector<PricedPattern>> priced =
            goodPatterns(items, m_units.bar, anyValue, 1, nullptr, m_timeUp);
        if (timeUp()) return false;
        int chosen = -1;
        double chosenWorth = 0;
        for (int s = 0; s < int(m_stock.size()); ++s) {
            if (m_stock[s].length <= 0 || m_left[s] == 0 || priced[s].empty()) continue;
            const double worth = priced[s].front().value / std::max(m_stock[s].cost, 1e-12);
            if (chosen < 0 || worth > chosenWorth) {
                chosen = s;
                chosenWorth = worth;
            }
        }
        if (chosen < 0) return false;
        const std::vector<int>& counts = priced[chosen].front().counts;
        long long copies = std::numeric_limits<long long>::max();
        for (int i = 0; i < n; ++i)
            if (counts[i] > 0) copies = std::min(copies, m_need[i] / counts[i]);
        if (copies == std::numeric_limits<long long>::max()) return false;
        if (m_left[chosen] > 0) copies = std::min(copies, m_left[chosen]);
        const long long before = m_cutBars;
        takeBars({chosen, counts}, std::max<long long>(1, copies));
        if (m_cutBars == before) return false;
    }
    return true;
}

// No plan costs less than the demand's length at the lowest price per length: a bound without any
// LP, which a plan that fills every bar reaches.
double Planner::lengthBound() const {
    double perLength = std::numeric_limits<double>::infinity();
    for (int s = 0; s < int(m_stock.size()); ++s)
        if (m_stock[s].length > 0)
            perLength = std::min(perLength, m_stock[s].cost / double(m_units.bar[s].capacity));
    double length = 0;
    for (int i = 0; i < int(m_parts.size()); ++i)
        length += double(std::max<long long>(0, m_need[i])) * double(m_units.part[i]);
    return std::isfinite(perLength) ? perLength * length : 0.0;
}

void Planner::resetRows() {
    for (int i = 0; i < int(m_parts.size()); ++i)
        if (m_rowOfPart[i] >= 0) m_lp.setRowLower(m_rowOfPart[i], double(m_need[i]));
    for (int s = 0; s < int(m_stock.size()); ++s)
        if (m_rowOfStock[s] >= 0)
            m_lp.setRowUpper(m_rowOfStock[s], double(std::max<long long>(0, m_left[s])));
}

// Keeps the bars cut so far as the best plan when they cut everything at a lower cost; a plan at the
// rounded LP bound ends the search.
void Planner::keepIfBetter() {
    if (needsMore()) return;
    const double step = m_grain > 0 ? m_grain / 2 : 1e-9;
    if (m_haveBest && m_cutCost >= m_bestCost - step) return;
    m_best = m_cut;
    m_bestCost = 0;
    for (const CutBar& cut : m_best)
        m_bestCost += m_stock[cut.bar.stock].cost * double(cut.copies);
    m_bestBars = m_cutBars;
    m_haveBest = true;
    if (m_result.lpComplete && reachesBound(m_bestCost, m_result.lpBound, m_grain)) {
        m_result.provenOptimal = true;
        m_stop = true;
    }
}

// A cheap whole plan from an LP solution: its whole bars, then first fit decreasing for the rest
// (and, when `greedy`, the greedy fill as well, which costs a knapsack per bar).
void Planner::completeByRounding(const std::vector<double>& x, bool greedy) {
    const std::size_t mark = m_cut.size();
    for (int p = 0; p < int(x.size()); ++p) {
        const long long whole = (long long)std::floor(x[p] + kFractional);
        if (whole > 0) takeBars(m_columns[p], whole);
    }
    const std::size_t rounded = m_cut.size();
    if (repairRest()) keepIfBetter();
    undoTo(rounded);
    if (greedy && !m_stop && fillGreedily()) keepIfBetter();
    undoTo(mark);
}

// One node of a depth-first dive with limited discrepancy: column generation on what is left, a
// cut-off when even the LP cannot beat the best plan, then whole bars of the LP at once, or one bar
// of the most used pattern, and (while departures are left) of the next ones, each branch
// forbidding the patterns its elder siblings took.
void Planner::search(int discrepancies) {
    if (m_stop) return;
    if (++m_nodes > m_nodeLimit || timeUp()) {
        m_stop = true;
        return;
    }
    const Lp lp = columnGeneration(m_round, true);
    if (lp == Lp::TimedOut) {
        m_stop = true;
        return;
    }
    if (lp == Lp::Infeasible || lp == Lp::CutOff || !canImprove(m_cutCost + m_lowerBound)) return;
    const std::vector<double> x = poolSolution();
    const int count = int(x.size());
    // The greedy fill costs a pricing per bar, so a dive tries it only once the rest is small; there
    // it often fills every bar exactly where first fit decreasing leaves one too many.
    completeByRounding(x, m_bestBars <= m_cutBars + (long long)kGreedyRestBars);
    if (m_stop || !canImprove(m_cutCost + m_lowerBound)) return;

    // Bars the LP uses whole cost nothing against its bound: take them all without branching.
    const std::size_t mark = m_cut.size();
    for (int p = 0; p < count; ++p) {
        const long long whole = (long long)std::floor(x[p] + kFractional);
        if (whole > 0) takeBars(m_columns[p], whole);
    }
    if (m_cut.size() > mark) {
        if (needsMore()) {
            resetRows();
            search(discrepancies);
        } else {
            keepIfBetter();
        }
        undoTo(mark);
        // Departures: the same node without the most used of those patterns, one more each time,
        // for when the whole bars themselves lead nowhere.
        std::vector<int> whole;
        for (int p = 0; p < count; ++p)
            if (x[p] >= 1 - kFractional && m_forbidden[p] == 0) whole.push_back(p);
        std::stable_sort(whole.begin(), whole.end(), [&](int a, int b) { return x[a] > x[b]; });
        int forbidden = 0;
        for (int i = 1; i <= discrepancies && i <= int(whole.size()) && !m_stop; ++i) {
            forbid(whole[i - 1]);
            ++forbidden;
            resetRows();
            search(discrepancies - i);
        }
        for (int i = 0; i < forbidden; ++i)
            allow(whole[i]);
        return;
    }

    std::vector<int> candidates;
    for (int p = 0; p < count; ++p)
        if (x[p] > kFractional && m_forbidden[p] == 0) candidates.push_back(p);
    std::stable_sort(candidates.begin(), candidates.end(), [&](int a, int b) {
        if (x[a] != x[b]) return x[a] > x[b];
        return fill(m_columns[a]) > fill(m_columns[b]);
    });
    const int branches = std::min(int(candidates.size()), discrepancies + 1);
    int forbidden = 0;
    for (int i = 0; i < branches && !m_stop; ++i) {
        if (i > 0) {
            const int p = candidates[i - 1];
            forbid(p);
            ++forbidden;
        }
        if (!takeBar(m_columns[candidates[i]])) continue;
        if (needsMore()) {
            resetRows();
            search(discrepancies - i);
        } else {
            keepIfBetter();
        }
        undoTo(mark);
    }
    for (int i = 0; i < forbidden; ++i) {
        const int p = candidates[i];
        allow(p);
    }
}

bool Planner::setUp() {
    const int n = int(m_parts.size());
    m_rowOfPart.assign(n, -1);
    m_need.assign(n, 0);
    m_rowOfStock.assign(m_stock.size(), -1);
    m_left.assign(m_stock.size(), -1);
    bool anyStock = false;
    for (const StockLength& s : m_stock)
        anyStock = anyStock || s.length > 0;
    if (!anyStock) {
        setFault(m_result, MessageKind::NoStock, "no stock length to cut from");
        return false;
    }

    m_lp.setLogLevel(0);
    // Parts that fit a stock length; each needs a pattern the bars allow to start from. One that no
    // bar takes alone without a forbidden offcut gets a pattern beside other parts; one that has
    // neither cannot be planned.
    for (int i = 0; i < n; ++i) {
        if (m_parts[i].quantity <= 0) continue;
        bool fits = false;
        for (int s = 0; s < int(m_stock.size()) && !fits; ++s)
            fits = pieceFits(i, s);
        if (fits)
            m_need[i] = m_parts[i].quantity;
        else
            m_result.impossibleParts.push_back(i);
    }
    std::vector<Column> start;
    std::vector<int> partnered;
    for (int i = 0; i < n; ++i) {
        if (m_need[i] <= 0) continue;
        bool alone = false;
        for (int s = 0; s < int(m_stock.size()); ++s) {
            if (!pieceFits(i, s)) continue;
            const std::int64_t k = mostPieces(m_units.bar[s], m_units.part[i], m_need[i]);
            if (k < 1) continue;
            Column c{s, std::vector<int>(n, 0)};
            c.counts[i] = int(k);
            start.push_back(std::move(c));
            alone = true;
        }
        if (!alone) partnered.push_back(i);
    }
    // The fullest fill that holds as many of the parts without a pattern as it can, again for those
    // it left out, until a fill holds none of them.
    std::int64_t longest = 0;
    for (const PricingBar& bar : m_units.bar)
        longest = std::max(longest, bar.capacity);
    // Not cut short by the time limit: each pass places a part at least, within the pricing budget.
    while (!partnered.empty()) {
        std::vector<PricingItem> items(n);
        for (int i = 0; i < n; ++i)
            if (m_need[i] > 0)
                items[i] = {
                    m_units.part[i], double(m_units.part[i]),
                    int(std::min<long long>(m_need[i], m_units.part[i] > 0 ? longest / m_units.part[i] : 0))};
        for (int i : partnered)
            items[i].value += 4.0 * double(longest);
        const std::vector<double> anyValue(m_stock.size(), 0.0);
        const std::vector<std::vector<PricedPattern>> priced = goodPatterns(items, m_units.bar, anyValue, 1);
        std::vector<bool> placed(n, false);
        for (int s = 0; s < int(m_stock.size()); ++s) {
            if (m_stock[s].length <= 0 || priced[s].empty()) continue;
            const std::vector<int>& counts = priced[s].front().counts;
            bool holds = false;
            for (int i : partnered)
                if (counts[i] > 0) holds = placed[i] = true;
            if (holds) start.push_back({s, counts});
        }
        const std::size_t before = partnered.size();
        partnered.erase(std::remove_if(partnered.begin(), partnered.end(), [&](int i) { return placed[i]; }),
                        partnered.end());
        if (partnered.size() == before) break;
    }
    for (int i : partnered) {
        m_need[i] = 0;
        m_result.impossibleParts.push_back(i);
    }
    std::sort(m_result.impossibleParts.begin(), m_result.impossibleParts.end());

    int rows = 0;
    std::vector<double> lower, upper;
    for (int i = 0; i < n; ++i) {
        if (m_need[i] <= 0) continue;
        m_rowOfPart[i] = rows++;
        lower.push_back(double(m_need[i]));
        upper.push_back(COIN_DBL_MAX);
    }
    for (int s = 0; s < int(m_stock.size()); ++s) {
        m_left[s] = m_stock[s].length > 0 ? m_stock[s].available : 0;
        if (m_left[s] < 0) continue;
        m_rowOfStock[s] = rows++;
        lower.push_back(-COIN_DBL_MAX);
        upper.push_back(double(m_left[s]));
    }
    if (!needsMore()) {
        m_result.ok = m_result.impossibleParts.empty();
        if (!m_result.ok) setFault(m_result, MessageKind::NothingFits, "no part fits any stock length");
        return false;
    }
    m_lp.resize(rows, 0);
    for (int r = 0; r < rows; ++r) {
        m_lp.setRowLower(r, lower[r]);
        m_lp.setRowUpper(r, upper[r]);
    }

    m_grain = costGrain(m_stock);

    // The starting patterns keep the LP feasible for any demand the stock allows.
    for (const Column& c : start) {
        const int id = addColumn(c);
        if (id >= 0) m_kept[id] = true;
    }
    return true;
}

Result Planner::run() {
    if (!setUp()) {
        m_result.seconds = elapsed();
        return m_result;
    }
    // First fit decreasing, opening the cheapest bars or bars of one stock length each, and the
    // greedy fill give first plans; the best of them stands, as no later plan replaces it unless it
    // costs less. The bars of the cheapest-bar fit and the greedy fill are good patterns to start
    // the LP from (those of the other fits lead the search astray on small lists).
    for (int prefer = -1; prefer < int(m_stock.size()); ++prefer) {
        if (prefer >= 0 && (m_stock[prefer].length <= 0 || m_stock.size() == 1)) continue;
        if (repairRest(prefer)) keepIfBetter();
        if (prefer < 0)
            for (const CutBar& cut : m_cut)
                addColumn(cut.bar);
        undoTo(0);
    }
    if (fillGreedily()) keepIfBetter();
    for (const CutBar& cut : m_cut)
        addColumn(cut.bar);
    undoTo(0);
    bool equal = true;
    for (const StockLength& st : m_stock)
        equal = equal && (st.length <= 0 || st.cost == m_stock.front().cost);
    const double byLength = lengthBound();
    if (m_haveBest && reachesBound(m_bestCost, byLength, m_grain)) {
        // A plan that reaches the length bound is optimal; that bound stands for the LP's, which lies
        // between the two and would take the longest to find.
        m_result.lpBound = byLength;
        m_result.lpComplete = true;
        m_result.provenOptimal = true;
        if (equal && m_stock.front().cost > 0)
            m_result.barBound = (long long)std::ceil(byLength / m_stock.front().cost - 1e-5);
        return makeResult();
    }

    // Out of time already: the first plans and the length bound are all there is.
    if (timeUp()) {
        m_result.lpBound = byLength;
        m_result.stopped = stopAsked();
        return makeResult();
    }
    const Lp root = columnGeneration(1, false);
    if (root == Lp::Infeasible) {
        if (m_haveBest) { // a plan exists, so this is the LP solver's failure; keep the plan
            m_result.lpBound = byLength;
            return makeResult();
        }
        setFault(m_result, MessageKind::NotEnoughBars, "not enough stock bars at hand for every part");
        m_result.seconds = elapsed();
        return m_result;
    }
    // Cut short by the time limit, the LP's value is no bound; the Lagrangian bound of the best duals
    // priced so far is, and so is the length bound.
    m_result.lpComplete = root == Lp::Optimal;
    m_result.lpBound = m_result.lpComplete ? m_lowerBound : std::max(byLength, m_lowerBound);
    if (equal && m_result.lpComplete && m_stock.front().cost > 0)
        m_result.barBound = (long long)std::ceil(m_result.lpBound / m_stock.front().cost - 1e-5);
    {
        const std::vector<double> x = poolSolution();
        if (m_haveBest && m_result.lpComplete && reachesBound(m_bestCost, m_result.lpBound, m_grain))
            m_result.provenOptimal = true;
        completeByRounding(x, true);
    }

    // The search for whole bars: dives that allow more departures from the LP's choice each pass.
    if (m_result.lpComplete && !m_result.provenOptimal) {
        m_nodeLimit = 100 + 3 * m_bestBars;
        for (int d = 0; d <= kMaxDiscrepancies && !m_stop; ++d) {
            m_round = 2 + d;
            undoTo(0);
            resetRows();
            search(d);
        }
    }
    return makeResult();
}

// The plan, most used patterns first, pieces longest first.
Result Planner::makeResult() {
    const int n = int(m_parts.size());
    if (!m_haveBest) {
        if (m_result.error.empty())
            setFault(m_result, MessageKind::NotEnoughBars, "not enough stock bars at hand for every part");
        m_result.columns = int(m_columns.size());
        m_result.columnsDropped = m_dropped;
        m_result.columnsRestored = m_restored;
        m_result.seconds = elapsed();
        return m_result;
    }
    std::map<std::pair<int, std::vector<int>>, long long> plan;
    for (const CutBar& cut : m_best)
        plan[{cut.bar.stock, cut.bar.counts}] += cut.copies;
    for (const auto& [key, count] : plan) {
        CutPattern p;
        p.stock = key.first;
        p.stockLength = m_stock[key.first].length;
        p.count = count;
        double used = 0;
        int pieces = 0;
        for (int i = 0; i < n; ++i)
            for (int k = 0; k < key.second[i]; ++k) {
                p.pieces.push_back(i);
                used += m_parts[i].length;
                ++pieces;
            }
        std::stable_sort(p.pieces.begin(), p.pieces.end(),
                         [&](int a, int b) { return m_parts[a].length > m_parts[b].length; });
        p.offcut = std::max(0.0, p.stockLength - used - pieces * m_settings.kerf);
        if (p.offcut < m_settings.unit / 2) p.offcut = 0;
        m_result.patterns.push_back(std::move(p));
        m_result.bars += count;
        m_result.cost += count * m_stock[key.first].cost;
    }
    std::stable_sort(m_result.patterns.begin(), m_result.patterns.end(),
                     [](const CutPattern& a, const CutPattern& b) { return a.count > b.count; });
    m_result.columns = int(m_columns.size());
    m_result.columnsDropped = m_dropped;
    m_result.columnsRestored = m_restored;
    m_result.stopped = stopAsked();
    m_result.ok = m_result.error.empty();
    if (m_result.ok && !m_result.impossibleParts.empty()) {
        const auto n = (long long)m_result.impossibleParts.size();
        setFault(m_result, MessageKind::PartsFitNone, std::to_string(n) + " part(s) fit no stock length", n);
        m_result.ok = false;
    }
    m_result.seconds = elapsed();
    return m_result;
}

} // namespace

namespace {

// Plans the pieces of the `k` most wasteful bars again on their own; true when that made the plan
// cheaper. Rounding can leave two half-empty bars whose pieces fit one; a small problem finds it.
bool replanWorstBars(const std::vector<Part>& parts, const std::vector<StockLength>& stock,
                     const Settings& settings, double timeLeft, Result& r, int k) {
    std::vector<std::pair<double, int>> bars; // waste per unit of cost, pattern
    for (int p = 0; p < int(r.patterns.size()); ++p) {
        const CutPattern& cp = r.patterns[p];
        const double waste = cp.offcut / cp.stockLength * stock[cp.stock].cost;
        for (long long c = 0; c < cp.count && c < k; ++c)
            bars.push_back({waste, p});
    }
    if (int(bars.size()) < k) return false;
    std::stable_sort(bars.begin(), bars.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
    bars.resize(k);
    std::vector<long long> demand(parts.size(), 0);
    double oldCost = 0;
    for (const auto& bar : bars) {
        for (int piece : r.patterns[bar.second].pieces)
            ++demand[piece];
        oldCost += stock[r.patterns[bar.second].stock].cost;
    }
    std::vector<Part> sub;
    std::vector<int> original;
    for (int i = 0; i < int(parts.size()); ++i)
        if (demand[i] > 0) {
            sub.push_back({parts[i].mark, parts[i].length, demand[i]});
            original.push_back(i);
        }
    // Bars at hand: what the rest of the plan leaves, with the bars given back.
    std::vector<StockLength> subStock = stock;
    for (const CutPattern& cp : r.patterns)
        if (subStock[cp.stock].available >= 0) subStock[cp.stock].available -= cp.count;
    for (const auto& bar : bars)
        if (subStock[r.patterns[bar.second].stock].available >= 0)
            ++subStock[r.patterns[bar.second].stock].available;
    Settings quiet = settings;
    quiet.progress = nullptr;
    quiet.timeLimit = timeLeft;
    Planner planner(sub, subStock, quiet);
    const Result better = planner.run();
    if (!better.ok || better.cost >= oldCost - 1e-9) return false;

    std::map<std::pair<int, std::vector<int>>, std::pair<long long, double>> plan;
    for (const CutPattern& cp : r.patterns)
        plan[{cp.stock, cp.pieces}] = {cp.count, cp.offcut};
    for (const auto& bar : bars)
        --plan[{r.patterns[bar.second].stock, r.patterns[bar.second].pieces}].first;
    for (const CutPattern& cp : better.patterns) {
        std::vector<int> pieces;
        for (int piece : cp.pieces)
            pieces.push_back(original[piece]);
        auto& slot = plan[{cp.stock, pieces}];
        slot.first += cp.count;
        slot.second = cp.offcut;
    }
    r.patterns.clear();
    r.bars = 0;
    r.cost = 0;
    for (const auto& [key, value] : plan) {
        if (value.first <= 0) continue;
        CutPattern cp;
        cp.stock = key.first;
        cp.stockLength = stock[key.first].length;
        cp.pieces = key.second;
        cp.count = value.first;
        cp.offcut = value.second;
        r.bars += cp.count;
        r.cost += double(cp.count) * stock[cp.stock].cost;
        r.patterns.push_back(std::move(cp));
    }
    std::stable_sort(r.patterns.begin(), r.patterns.end(),
                     [](const CutPattern& a, const CutPattern& b) { return a.count > b.count; });
    r.columns += better.columns;
    r.columnsDropped += better.columnsDropped;
    r.columnsRestored += better.columnsRestored;
    r.provenOptimal = r.lpComplete && reachesBound(r.cost, r.lpBound, costGrain(stock));
    return true;
}

} // namespace

void ageColumnsForTesting(int solves, int batch) {
    g_idleSolves = solves < 0 ? kIdleSolves : solves;
    g_dropBatch = batch < 0 ? kDropBatch : batch;
}

namespace {

std::string millimetres(double mm) {
    char text[64];
    std::snprintf(text, sizeof text, "%.10g", mm);
    return text;
}

// Why a length cannot be worked in units: kind None when it can. The value and limit are in mm.
Message lengthFault(double mm, double unit, bool positive) {
    const double most = double(kMaxLengthUnits) * unit;
    Message m;
    m.value = millimetres(mm);
    if (!std::isfinite(mm)) {
        m.kind = MessageKind::LengthNotNumber;
        m.text = "is not a number";
    } else if (mm < 0) {
        m.kind = MessageKind::LengthBelowZero;
        m.text = m.value + " mm is below zero";
    } else if (mm / unit > double(kMaxLengthUnits) + 0.5) {
        m.kind = MessageKind::LengthTooLong;
        m.limit = millimetres(most);
        m.text = m.value + " mm is longer than the " + m.limit + " mm the optimiser works with";
    } else if (positive && std::llround(mm / unit) < 1) {
        m.kind = MessageKind::LengthBelowGrain;
        m.limit = millimetres(unit);
        m.text = m.value + " mm is shorter than the grain of " + m.limit + " mm";
    }
    return m;
}

// A length fault of a row or setting: the subject's name before the fault's text.
Message about(Message m, LengthOf subject, const std::string& name, int row = 0,
              const std::string& mark = {}) {
    m.subject = subject;
    m.line = row;
    m.mark = mark;
    m.text = name + " " + m.text;
    return m;
}

Message faultOf(MessageKind kind, std::string text) {
    return Message{0, std::move(text), kind};
}

} // namespace

Message inputFaultMessage(const std::vector<Part>& parts, const std::vector<StockLength>& stock,
                          const Settings& settings) {
    const double unit = settings.unit;
    if (!std::isfinite(unit) || unit < 1e-3 || unit > 1000) {
        Message m = faultOf(MessageKind::GrainOutOfRange,
                            "the grain of " + millimetres(unit) + " mm is not between 0.001 mm and 1000 mm");
        m.value = millimetres(unit);
        return m;
    }
    if (!std::isfinite(settings.timeLimit) || settings.timeLimit < 0)
        return faultOf(MessageKind::TimeLimitBad, "the time limit is not a number of seconds");
    Message f = lengthFault(settings.kerf, unit, false);
    if (f.kind != MessageKind::None) return about(f, LengthOf::Kerf, "the kerf");
    f = lengthFault(settings.minOffcut, unit, false);
    if (f.kind != MessageKind::None) return about(f, LengthOf::MinOffcut, "the minimum offcut");
    if (stock.size() > std::size_t(kMaxStockLengths)) {
        Message m = faultOf(MessageKind::TooManyStockLengths,
                            std::to_string(stock.size()) + " stock lengths are more than the " +
                                std::to_string(kMaxStockLengths) + " one run can take");
        m.count = (long long)stock.size();
        m.limit = std::to_string(kMaxStockLengths);
        return m;
    }
    for (std::size_t s = 0; s < stock.size(); ++s) {
        const int row = int(s) + 1;
        const std::string name = "stock length " + std::to_string(row);
        f = lengthFault(stock[s].length, unit, true);
        if (f.kind != MessageKind::None) return about(f, LengthOf::Stock, name + ": the length", row);
        if (!std::isfinite(stock[s].cost) || stock[s].cost < 0 || stock[s].cost > 1e12) {
            Message m =
                faultOf(MessageKind::StockCostBad, name + ": the cost is not a number from 0 to 10^12");
            m.line = row;
            return m;
        }
    }
    long long pieces = 0;
    int lengths = 0;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (parts[i].quantity <= 0) continue;
        const int row = int(i) + 1;
        const std::string& mark = parts[i].mark;
        const std::string name = "part " + std::to_string(row) + (mark.empty() ? "" : " \"" + mark + "\"");
        f = lengthFault(parts[i].length, unit, true);
        if (f.kind != MessageKind::None) return about(f, LengthOf::Part, name + ": the length", row, mark);
        if (parts[i].quantity > kMaxPieces - pieces) {
            Message m = faultOf(MessageKind::TooManyPieces,
                                name + ": the quantity " + std::to_string(parts[i].quantity) +
                                    " brings the pieces above the " + std::to_string(kMaxPieces) +
                                    " one run can cut");
            m.line = row;
            m.mark = mark;
            m.count = parts[i].quantity;
            m.limit = std::to_string(kMaxPieces);
            return m;
        }
        pieces += parts[i].quantity;
        if (++lengths > kMaxPartLengths) {
            Message m =
                faultOf(MessageKind::TooManyParts,
                        name + ": more than " + std::to_string(kMaxPartLengths) + " parts in one run");
            m.line = row;
            m.mark = mark;
            m.limit = std::to_string(kMaxPartLengths);
            return m;
        }
    }
    // The pricing table: one bit per fill length up to the longest bar and per group of pieces of
    // one length (1, 2, 4, ... of them).
    const Units u = makeUnits(parts, stock, settings);
    std::int64_t longest = 0;
    for (const PricingBar& bar : u.bar)
        longest = std::max(longest, bar.capacity);
    double groups = 0;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (parts[i].quantity <= 0 || u.part[i] <= 0 || u.part[i] > longest) continue;
        const long long most = std::min<long long>(parts[i].quantity, longest / u.part[i]);
        groups += std::floor(std::log2(double(std::max(1LL, most)))) + 1;
    }
    const double bytes = groups * double(longest + 1) / 8;
    if (bytes > kMaxPricingBytes) {
        const std::string need = std::to_string(std::llround(bytes / (1 << 20)));
        const std::string most = std::to_string(std::llround(kMaxPricingBytes / (1 << 20)));
        Message m =
            faultOf(MessageKind::PricingTooBig,
                    "the parts need " + need + " MB to price cutting patterns, more than the " + most +
                        " MB one run may take: plan fewer part lengths or shorter stock lengths at once");
        m.value = need;
        m.limit = most;
        return m;
    }
    return {};
}

std::string inputFault(const std::vector<Part>& parts, const std::vector<StockLength>& stock,
                       const Settings& settings) {
    return inputFaultMessage(parts, stock, settings).text;
}

Result optimise(const std::vector<Part>& parts, const std::vector<StockLength>& stock,
                const Settings& settings) {
    const auto start = Clock::now();
    Result r;
    r.fault = inputFaultMessage(parts, stock, settings);
    r.error = r.fault.text;
    if (!r.error.empty()) return r;
    Planner planner(parts, stock, settings);
    r = planner.run();
    if (!r.patterns.empty()) {
        for (int pass = 0; pass < 8 && !r.provenOptimal && !r.stopped; ++pass) {
            const double left =
                settings.timeLimit - std::chrono::duration<double>(Clock::now() - start).count();
            if (left <= 0) break;
            if (!replanWorstBars(parts, stock, settings, left, r, 2) &&
                !replanWorstBars(parts, stock, settings, left, r, 3))
                break;
        }
    }
    r.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    return r;
}

std::string checkPlan(const std::vector<Part>& parts, const std::vector<StockLength>& stock,
                      const Settings& settings, const Result& result) {
    std::vector<long long> cut(parts.size(), 0);
    std::vector<long long> bars(stock.size(), 0);
    const Units u = makeUnits(parts, stock, settings);
    for (const CutPattern& p : result.patterns) {
        if (p.stock < 0 || p.stock >= int(stock.size())) return "a pattern names no stock length";
        if (p.count <= 0) return "a pattern is used no time";
        std::int64_t w = 0;
        for (int piece : p.pieces) {
            if (piece < 0 || piece >= int(parts.size())) return "a pattern names no part";
            w += u.part[piece];
            cut[piece] += p.count;
        }
        if (w > u.bar[p.stock].capacity)
            return "a bar of " + std::to_string(stock[p.stock].length) + " is overfull";
        if (!isValidFill(u.bar[p.stock], w)) return "a bar leaves an offcut below the minimum";
        bars[p.stock] += p.count;
    }
    for (std::size_t s = 0; s < stock.size(); ++s)
        if (stock[s].available >= 0 && bars[s] > stock[s].available) return "more bars than at hand";
    std::vector<bool> impossible(parts.size(), false);
    for (int i : result.impossibleParts)
        impossible[i] = true;
    for (std::size_t i = 0; i < parts.size(); ++i)
        if (!impossible[i] && cut[i] < parts[i].quantity)
            return "part " + parts[i].mark + " is cut too few times";
    return {};
}

} // namespace cut
