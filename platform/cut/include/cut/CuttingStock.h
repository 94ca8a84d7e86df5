#pragma once
// One-dimensional cutting stock: which bars to buy, and how to cut each, so that every part is cut
// at the least cost. Column generation over cutting patterns gives the LP lower bound; a search of
// dives through the LP (each fixing bars and generating patterns again for the rest, with limited
// departures from the LP's choice) gives whole bars, until a plan reaches the bound or time is up. Lengths
// are in millimetres; they are worked in whole units of `Settings::unit` (0.1 mm by default), so a length is
// never rounded by more than half a unit.
#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace cut {

/// What one run may ask for. Lengths are worked in whole units (`Settings::unit`) and the pricing
/// of patterns keeps a table of one bit per fill length and piece group, so the longest bar and the
/// number of lengths decide the memory; the pieces decide the time of every plan.
inline constexpr long long kMaxLengthUnits = 1000000;         ///< 100 m at the default unit of 0.1 mm
inline constexpr long long kMaxPieces = 1000000;              ///< all quantities together
inline constexpr int kMaxPartLengths = 10000;                 ///< parts to cut (rows with a quantity)
inline constexpr int kMaxStockLengths = 100;                  ///< stock lengths
inline constexpr double kMaxPricingBytes = 64.0 * (1 << 20);  ///< the pricing table
inline constexpr double kMaxPatternCounts = 64.0 * (1 << 20); ///< patterns x parts held at once

/// A part to cut: its mark, its length and how many are needed.
struct Part {
    std::string mark;
    double length = 0;
    long long quantity = 0;
};

/// A stock length that can be bought: its price per bar and how many are at hand (-1: any number).
struct StockLength {
    double length = 0;
    double cost = 1;
    long long available = -1;
};

/// Where the optimiser stands, for a progress line on long runs.
struct Progress {
    int round = 0;      ///< 1 for the whole demand, 2 and up for the passes of the search for whole bars
    int iteration = 0;  ///< LP solves in this round
    int columns = 0;    ///< patterns in the master problem
    double lpValue = 0; ///< objective of the last LP solve
    double seconds = 0; ///< since the start
};

/// How the bars are cut.
struct Settings {
    double kerf = 0;       ///< width lost at every cut
    double minOffcut = 0;  ///< an offcut shorter than this (but not zero) cannot be left on a bar
    double unit = 0.1;     ///< the grain of all lengths in millimetres
    double timeLimit = 60; ///< seconds for the whole run; the best plan found by then is kept
    std::function<void(const Progress&)> progress; ///< called after each LP solve when set
    /// When set and true, the run ends as at the time limit, keeping the best plan found so far
    /// (read from the thread that runs the optimiser; another thread may set it).
    const std::atomic<bool>* stop = nullptr;
};

/// One way of cutting a bar, used `count` times.
struct CutPattern {
    int stock = 0; ///< index into the stock lengths
    double stockLength = 0;
    std::vector<int> pieces; ///< part indexes, longest first
    double offcut = 0;       ///< what is left of the bar after the last cut
    long long count = 0;     ///< bars cut this way
};

/// What a message of the optimiser or of its exchange file readers says, so that a program can word
/// it in its own language from the parameters of `Message`; `Message::text` is the English wording.
/// After each kind: the parameters it sets.
enum class MessageKind {
    None, ///< only `text` (a fault of the file system, worded by it)
    // A row of a parts ("shp") or stock ("stk") file; `line` is the file's line.
    PartNoLength,           ///< mark
    PartLengthNotNumber,    ///< value (the length as written), mark
    PartLengthNotPositive,  ///< value, mark
    PartQuantityNotWhole,   ///< value (the quantity as written), mark
    MarkRepeated,           ///< mark, count (the line the mark is on first)
    StockLengthNotPositive, ///< value (the length as written)
    StockCostNegative,      ///< value (the cost as written), stock (the length as written)
    StockAtHandNotWhole,    ///< value (the bars as written), stock
    MoreNotListed,          ///< count (lines not listed)
    // A folder to plan.
    NoPartsFile, ///< value (the folder)
    NoPartToCut, ///< value (the parts file)
    // Input the optimiser refuses (`inputFault`); `line` is the row of the part or stock length.
    GrainOutOfRange,     ///< value (mm)
    TimeLimitBad,        ///< -
    LengthNotNumber,     ///< subject, line, mark
    LengthBelowZero,     ///< subject, line, mark, value (mm)
    LengthTooLong,       ///< subject, line, mark, value (mm), limit (mm)
    LengthBelowGrain,    ///< subject, line, mark, value (mm), limit (the grain, mm)
    StockCostBad,        ///< line
    TooManyStockLengths, ///< count, limit
    TooManyPieces,       ///< line, mark, count (the quantity), limit
    TooManyParts,        ///< line, mark, limit
    PricingTooBig,       ///< value (MB), limit (MB)
    // The optimiser.
    NoStock,       ///< -
    NothingFits,   ///< -
    PartsFitNone,  ///< count
    NotEnoughBars, ///< -
};

/// Whose length a LengthNotNumber .. LengthBelowGrain message is about.
enum class LengthOf { None, Kerf, MinOffcut, Stock, Part };

/// A message with its parameters (see `MessageKind` for which a kind sets).
struct Message {
    int line = 0;     ///< 1-based line of a file, or row of the parts or stock lengths; 0 when none
    std::string text; ///< the English wording
    MessageKind kind = MessageKind::None;
    LengthOf subject = LengthOf::None;
    long long count = 0;
    std::string mark;
    std::string value; ///< the text or number at fault
    std::string stock; ///< the stock length a cost or count belongs to
    std::string limit; ///< the bound passed
    std::string file;  ///< the file a row message is about, when not the parts file
};

/// What the optimiser found.
struct Result {
    bool ok = false;                  ///< false when nothing could be planned (see `error`)
    std::string error;                ///< why not; empty when ok
    Message fault;                    ///< `error` with its kind and parameters
    bool stopped = false;             ///< `Settings::stop` ended the run early
    std::vector<int> impossibleParts; ///< parts that fit no stock length, left out of the plan
    std::vector<CutPattern> patterns; ///< the plan, most used first
    long long bars = 0;               ///< bars in the plan
    double cost = 0;                  ///< their total cost
    double lpBound = 0;         ///< no plan costs less: the LP optimum, or the length bound a plan reached
    long long barBound = 0;     ///< with equal costs and one stock length: fewest bars possible
    bool lpComplete = false;    ///< false when the time limit cut the column generation short
    bool provenOptimal = false; ///< the plan reaches the LP bound (rounded up to the price step)
    int columns = 0;            ///< patterns generated
    int columnsDropped = 0;     ///< patterns taken out of the LP after staying unprofitable for long
    int columnsRestored = 0;    ///< of those, patterns priced again and put back
    double seconds = 0;
};

/// Why the optimiser cannot take these parts, stock lengths and settings, or "" when it can: every
/// length (parts with a quantity, stock, kerf, minimum offcut) must be a finite number that rounds to
/// at most `kMaxLengthUnits` units, parts and stock to at least one; and the counts and the pricing
/// table must stay within the budgets above. The message names the row (1-based) at fault.
std::string inputFault(const std::vector<Part>& parts, const std::vector<StockLength>& stock,
                       const Settings& settings);
/// `inputFault` with its kind and parameters; kind None when the input can be planned.
Message inputFaultMessage(const std::vector<Part>& parts, const std::vector<StockLength>& stock,
                          const Settings& settings);

/// The plan for `parts` out of `stock`. Input that `inputFault` refuses is not planned (`error` says
/// why). Parts with zero quantity are ignored; a part that is longer than every stock length, or that
/// no bar can take without leaving a forbidden offcut even beside other parts, is listed in
/// `impossibleParts` and the rest is still planned.
Result optimise(const std::vector<Part>& parts, const std::vector<StockLength>& stock,
                const Settings& settings = {});

/// Test hook: a pattern leaves the LP after `solves` LP solves in a row priced out, in batches of at
/// least `batch` (the LP's eighth at the least). -1 restores the defaults.
void ageColumnsForTesting(int solves, int batch);

/// Checks a plan against the demand: every part cut as often as needed, no bar overfull, no
/// forbidden offcut, no more bars than available. Empty when sound, otherwise the first fault found.
std::string checkPlan(const std::vector<Part>& parts, const std::vector<StockLength>& stock,
                      const Settings& settings, const Result& result);

} // namespace cut
