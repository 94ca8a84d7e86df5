// The cutting-stock optimiser on instances decoded from bytes: any lengths (none, tiny, huge, not a
// number), kerf, minimum offcut, costs, bars at hand and quantities up to beyond its budgets. It
// refuses what it cannot represent and otherwise plans soundly, within its own time limit, without
// a crash, an overflow or a division by zero; a slow input is bounded by that limit.
#include <cut/CuttingStock.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>

namespace {

struct Reader {
    const unsigned char* data;
    std::size_t size;
    std::size_t at = 0;
    bool more() const { return at < size; }
    unsigned byte() { return at < size ? data[at++] : 0; }
    unsigned word() { return byte() | byte() << 8; }
    // A length: mostly whole or half millimetres up to 32 m, with the edge values the optimiser
    // must refuse or round.
    double length() {
        const unsigned code = word();
        switch (code) {
        case 0xFFFF:
            return 1e19;
        case 0xFFFE:
            return 0.04;
        case 0xFFFD:
            return std::numeric_limits<double>::quiet_NaN();
        case 0xFFFC:
            return -5;
        case 0xFFFB:
            return 100000.04;
        case 0xFFFA:
            return 1e8;
        default:
            return code * 0.5;
        }
    }
    long long quantity() {
        const unsigned q = byte();
        if (q < 250) return q;
        if (q == 250) return 1000000000LL;
        return (long long)(word() | byte() << 16) * (q - 249);
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    Reader in{data, size};
    cut::Settings s;
    s.kerf = in.byte() < 200 ? in.byte() * 0.5 : in.length();
    s.minOffcut = in.byte() < 200 ? in.byte() * 4.0 : in.length();
    s.timeLimit = 0.5;
    std::vector<cut::StockLength> stock(1 + in.byte() % 3);
    for (cut::StockLength& st : stock) {
        st.length = in.byte() < 128 ? 1000 + in.word() % 23000 : in.length();
        st.cost = 0.5 + in.byte() * 0.1;
        const unsigned at = in.byte();
        st.available = at >= 200 ? -1 : at;
    }
    std::vector<cut::Part> parts;
    while (in.more())
        parts.push_back({"P" + std::to_string(parts.size()), in.length(), in.quantity()});

    const std::string fault = cut::inputFault(parts, stock, s);
    const cut::Result r = cut::optimise(parts, stock, s);
    if (!fault.empty()) {
        if (r.ok || !r.patterns.empty() || r.error != fault) std::abort(); // refused, nothing planned
        return 0;
    }
    if (!r.patterns.empty() && !cut::checkPlan(parts, stock, s, r).empty()) std::abort();
    if (r.ok && r.patterns.empty()) {
        for (const cut::Part& p : parts)
            if (p.quantity > 0) std::abort(); // a plan of nothing for parts to cut
    }
    if (!std::isfinite(r.cost) || !std::isfinite(r.lpBound)) std::abort();
    if (r.ok && r.lpBound > r.cost + 1e-6 * std::max(1.0, r.cost)) std::abort(); // a bound above the plan
    return 0;
}
