#include <cut/CuttingStock.h>

#include "PatternPricing_p.h"

#include <ClpSimplex.hpp>
#include <CoinHelperFunctions.hpp>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <limits>
#include <map>
#include <numeric>

namespace cut {
namespace {

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

std::int64_t toUnits(double mm, double unit) {
    return std::llround(mm / unit);
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
    double elapsed() const { return std::chrono::duration<double>(Clock::now() - m_start).count(); }
    bool pieceFitsAlone(int part, int stock) const {
        const PricingBar& bar = m_units.bar[stock];
        return m_stock[stock].length > 0 && isValidFill(bar, m_units.part[part]);
    }
    std::int64_t fill(const Column& c) const {
        std::int64_t w = 0;
        for (int i = 0; i < int(c.counts.size()); ++i)
            w += std::int64_t(c.counts[i]) * m_units.part[i];
        return w;
    }
    void addColumn(const Column& c);
    bool solveMaster(int round);
    void takeBars(const Column& c, long long copies);
    void repairRest();
    void resetRows();
    bool roundPlan(bool oneAtATime);

    const std::vector<Part>& m_parts;
    const std::vector<StockLength>& m_stock;
    const Settings& m_settings;
    Units m_units;
    Clock::time_point m_start;

    std::vector<int> m_rowOfPart;  // -1 for parts not planned
    std::vector<int> m_rowOfStock; // -1 for stock without a limit
    std::vector<long long> m_need; // per part, still to cut
    std::vector<long long> m_left; // per stock, bars still at hand (-1: any number)
    std::vector<Column> m_columns;
    std::map<std::pair<int, std::vector<int>>, long long> m_plan;
    ClpSimplex m_lp;
    double m_lpValue = 0;
    bool m_converged = false;
    bool m_timedOut = false;
    bool m_boundKnown = false;
    Result m_result;
};

void Planner::addColumn(const Column& c) {
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
    m_columns.push_back(c);
}

// Column generation on the demand still to cut: solve the master LP, price a new pattern for each
// stock length with the duals, add those that lower the cost, until none does.
bool Planner::solveMaster(int round) {
    std::vector<PricingBar> bars = m_units.bar;
    m_converged = false;
    for (int iteration = 1;; ++iteration) {
        m_lp.primal();
        if (m_lp.status() != 0) return false;
        m_lpValue = m_lp.objectiveValue();
        if (m_settings.progress)
            m_settings.progress({round, iteration, int(m_columns.size()), m_lpValue, elapsed()});
        if (elapsed() > m_settings.timeLimit) {
            m_timedOut = true;
            return true;
        }
        const double* dual = m_lp.dualRowSolution();
        std::vector<PricingItem> items(m_parts.size());
        for (int i = 0; i < int(m_parts.size()); ++i) {
            if (m_rowOfPart[i] < 0 || m_need[i] <= 0) continue;
            items[i] = {m_units.part[i], dual[m_rowOfPart[i]], int(std::min<long long>(m_need[i], 1 << 30))};
        }
        std::vector<PricedPattern> priced = bestPatterns(items, bars);
        bool added = false;
        for (int s = 0; s < int(m_stock.size()); ++s) {
            if (!priced[s].found || m_stock[s].length <= 0 || m_left[s] == 0) continue;
            const double stockDual = m_rowOfStock[s] >= 0 ? dual[m_rowOfStock[s]] : 0.0;
            const double reduced = m_stock[s].cost - priced[s].value - stockDual;
            if (reduced < -1e-9 * std::max(1.0, m_stock[s].cost)) {
                addColumn({s, priced[s].counts});
                added = true;
            }
        }
        if (!added) {
            m_converged = true;
            return true;
        }
    }
}

// Cuts `copies` bars of a pattern, each trimmed to what is still needed; a piece no longer needed
// stays in the pattern when taking it out would leave a forbidden offcut.
void Planner::takeBars(const Column& c, long long copies) {
    for (long long k = 0; k < copies; ++k) {
        if (m_left[c.stock] == 0) return;
        Column t = c;
        bool useful = false;
        for (int i = 0; i < int(t.counts.size()); ++i) {
            t.counts[i] = int(std::min<long long>(t.counts[i], m_need[i]));
            useful = useful || t.counts[i] > 0;
        }
        if (!useful) return;
        if (!isValidFill(m_units.bar[c.stock], fill(t))) t = c;
        // What is left of a trimmed pattern may go on a cheaper bar.
        const std::int64_t w = fill(t);
        for (int s = 0; s < int(m_stock.size()); ++s) {
            if (m_stock[s].length <= 0 || m_left[s] == 0 || !isValidFill(m_units.bar[s], w)) continue;
            const StockLength& now = m_stock[t.stock];
            if (m_stock[s].cost < now.cost || (m_stock[s].cost == now.cost && m_stock[s].length < now.length))
                t.stock = s;
        }
        for (int i = 0; i < int(t.counts.size()); ++i)
            m_need[i] = std::max<long long>(0, m_need[i] - t.counts[i]);
        if (m_left[t.stock] > 0) --m_left[t.stock];
        ++m_plan[{t.stock, t.counts}];
    }
}

// First fit decreasing for what rounding left: a piece goes into the first open bar it fits
// without leaving a forbidden offcut, else onto a new bar of the cheapest (then shortest) stock
// length it fits.
void Planner::repairRest() {
    std::vector<int> pieces;
    for (int i = 0; i < int(m_parts.size()); ++i)
        for (long long k = 0; k < m_need[i]; ++k)
            pieces.push_back(i);
    std::stable_sort(pieces.begin(), pieces.end(),
                     [&](int a, int b) { return m_units.part[a] > m_units.part[b]; });
    std::vector<Column> open;
    std::vector<std::int64_t> used;
    for (int piece : pieces) {
        bool placed = false;
        for (std::size_t b = 0; b < open.size() && !placed; ++b) {
            if (!isValidFill(m_units.bar[open[b].stock], used[b] + m_units.part[piece])) continue;
            ++open[b].counts[piece];
            used[b] += m_units.part[piece];
            placed = true;
        }
        if (placed) continue;
        int chosen = -1;
        for (int s = 0; s < int(m_stock.size()); ++s) {
            if (m_left[s] == 0 || !pieceFitsAlone(piece, s)) continue;
            if (chosen < 0 || m_stock[s].cost < m_stock[chosen].cost ||
                (m_stock[s].cost == m_stock[chosen].cost && m_stock[s].length < m_stock[chosen].length))
                chosen = s;
        }
        if (chosen < 0) {
            m_result.error = "not enough stock bars at hand for every part";
            continue;
        }
        if (m_left[chosen] > 0) --m_left[chosen];
        Column c{chosen, std::vector<int>(m_parts.size(), 0)};
        c.counts[piece] = 1;
        open.push_back(c);
        used.push_back(m_units.part[piece]);
    }
    for (const Column& c : open)
        ++m_plan[{c.stock, c.counts}];
    std::fill(m_need.begin(), m_need.end(), 0);
}

void Planner::resetRows() {
    for (int i = 0; i < int(m_parts.size()); ++i)
        if (m_rowOfPart[i] >= 0) m_lp.setRowLower(m_rowOfPart[i], double(m_need[i]));
    for (int s = 0; s < int(m_stock.size()); ++s)
        if (m_rowOfStock[s] >= 0)
            m_lp.setRowUpper(m_rowOfStock[s], double(std::max<long long>(0, m_left[s])));
}

// Rounds the LP to whole bars: solve, take whole bars (all of them, or of the most used pattern
// only), solve again for the rest, until nothing is left or rounding stalls. The first solve of
// the first call gives the LP bound. False when even the first LP has no solution.
bool Planner::roundPlan(bool oneAtATime) {
    auto needed = [&] { return std::accumulate(m_need.begin(), m_need.end(), 0LL); };
    for (int round = 1;; ++round) {
        const bool first = !m_boundKnown;
        if (!solveMaster(first ? 1 : round + 1)) {
            if (first) {
                m_result.error = "not enough stock bars at hand for every part";
                return false;
            }
            return true;
        }
        if (first) {
            m_boundKnown = true;
            m_result.lpBound = m_lpValue;
            m_result.lpComplete = m_converged;
        }
        if (m_timedOut) return true;
        const double* x = m_lp.primalColumnSolution();
        const int count = int(m_columns.size());
        const long long before = needed();
        int most = -1;
        for (int p = 0; p < count; ++p)
            if (x[p] > 1e-7 && (most < 0 || x[p] > x[most])) most = p;
        if (most < 0) return true;
        if (oneAtATime) {
            takeBars(m_columns[most], std::max<long long>(1, (long long)std::floor(x[most] + 1e-7)));
        } else {
            for (int p = 0; p < count; ++p) {
                const long long whole = (long long)std::floor(x[p] + 1e-7);
                if (whole > 0) takeBars(m_columns[p], whole);
            }
            // Nothing whole: cut one bar of the pattern the LP uses most.
            if (needed() == before) takeBars(m_columns[most], 1);
        }
        if (needed() == before || needed() == 0) return true;
        resetRows();
    }
}

Result Planner::run() {
    const int n = int(m_parts.size());
    m_rowOfPart.assign(n, -1);
    m_need.assign(n, 0);
    m_rowOfStock.assign(m_stock.size(), -1);
    m_left.assign(m_stock.size(), -1);
    bool anyStock = false;
    for (const StockLength& s : m_stock)
        anyStock = anyStock || s.length > 0;
    if (!anyStock) {
        m_result.error = "no stock length to cut from";
        return m_result;
    }

    m_lp.setLogLevel(0);
    int rows = 0;
    std::vector<double> lower, upper;
    for (int i = 0; i < n; ++i) {
        if (m_parts[i].quantity <= 0) continue;
        bool fits = m_parts[i].length > 0;
        if (fits) {
            fits = false;
            for (int s = 0; s < int(m_stock.size()) && !fits; ++s)
                fits = pieceFitsAlone(i, s);
        }
        if (!fits) {
            m_result.impossibleParts.push_back(i);
            continue;
        }
        m_rowOfPart[i] = rows++;
        m_need[i] = m_parts[i].quantity;
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
    if (std::all_of(m_need.begin(), m_need.end(), [](long long q) { return q == 0; })) {
        m_result.ok = m_result.impossibleParts.empty();
        if (!m_result.ok) m_result.error = "no part fits any stock length";
        return m_result;
    }
    m_lp.resize(rows, 0);
    for (int r = 0; r < rows; ++r) {
        m_lp.setRowLower(r, lower[r]);
        m_lp.setRowUpper(r, upper[r]);
    }

    // Start from one pattern per part and stock length: as many of that part as fit.
    for (int i = 0; i < n; ++i) {
        if (m_rowOfPart[i] < 0) continue;
        for (int s = 0; s < int(m_stock.size()); ++s) {
            if (!pieceFitsAlone(i, s)) continue;
            Column c{s, std::vector<int>(n, 0)};
            long long k = std::min<long long>(m_need[i], m_units.bar[s].capacity / m_units.part[i]);
            while (k > 1 && !isValidFill(m_units.bar[s], k * m_units.part[i]))
                --k;
            c.counts[i] = int(std::max<long long>(1, k));
            addColumn(c);
        }
    }

    // Two ways of rounding, on the same pool of patterns: all whole bars of the LP at once, then
    // (when a bar is still above the bound and time is left) one pattern at a time, the most used
    // first, solving again after each. The cheaper plan is kept.
    const std::vector<long long> demand = m_need, atHand = m_left;
    std::map<std::pair<int, std::vector<int>>, long long> best;
    double bestCost = 0;
    for (int strategy = 0; strategy < 2; ++strategy) {
        if (strategy > 0) {
            if (m_timedOut || !m_result.lpComplete) break;
            if (m_result.barBound > 0) {
                long long bars = 0;
                for (const auto& [key, count] : best)
                    bars += count;
                if (bars <= m_result.barBound) break;
            } else if (bestCost <= m_result.lpBound + 1e-6) {
                break;
            }
            m_need = demand;
            m_left = atHand;
            m_plan.clear();
            resetRows();
        }
        if (!roundPlan(strategy == 1)) return m_result;
        repairRest();
        double cost = 0;
        for (const auto& [key, count] : m_plan)
            cost += count * m_stock[key.first].cost;
        if (strategy == 0 || cost < bestCost - 1e-9) {
            best = m_plan;
            bestCost = cost;
        }
        if (strategy == 0) {
            bool equal = true;
            for (const StockLength& st : m_stock)
                equal = equal && (st.length <= 0 || st.cost == m_stock.front().cost);
            if (equal && m_result.lpComplete && m_stock.front().cost > 0)
                m_result.barBound = (long long)std::ceil(m_result.lpBound / m_stock.front().cost - 1e-6);
        }
    }
    m_plan = best;

    // The plan, most used patterns first, pieces longest first.
    for (const auto& [key, count] : m_plan) {
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
    m_result.ok = m_result.error.empty();
    if (m_result.ok && !m_result.impossibleParts.empty()) {
        m_result.error = std::to_string(m_result.impossibleParts.size()) + " part(s) fit no stock length";
        m_result.ok = false;
    }
    m_result.seconds = elapsed();
    return m_result;
}

} // namespace

namespace {

bool provenOptimal(const Result& r) {
    if (!r.lpComplete) return false;
    return r.barBound > 0 ? r.bars <= r.barBound : r.cost <= r.lpBound + 1e-6;
}

// Plans the pieces of the `k` most wasteful bars again on their own; true when that made the plan
// cheaper. Rounding can leave two half-empty bars whose pieces fit one; a small problem finds it.
bool replanWorstBars(const std::vector<Part>& parts, const std::vector<StockLength>& stock,
                     const Settings& settings, Result& r, int k) {
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
    return true;
}

} // namespace

Result optimise(const std::vector<Part>& parts, const std::vector<StockLength>& stock,
                const Settings& settings) {
    const auto start = Clock::now();
    Planner planner(parts, stock, settings);
    Result r = planner.run();
    if (!r.patterns.empty()) {
        for (int pass = 0; pass < 8 && !provenOptimal(r); ++pass) {
            if (std::chrono::duration<double>(Clock::now() - start).count() > settings.timeLimit) break;
            if (!replanWorstBars(parts, stock, settings, r, 2) &&
                !replanWorstBars(parts, stock, settings, r, 3))
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
