#pragma once
// Last stage of the formula pipeline: runs a compiled program over the cells of a sheet.

#include <sheet/CellRef.h>
#include <sheet/Program.h>
#include <sheet/Value.h>

#include <functional>
#include <span>
#include <string_view>
#include <vector>

namespace sheet {

/// What sits on the evaluation stack: a value, a cell reference or a range.
struct Operand {
    enum class Kind : std::uint8_t { Value, Ref, Range, Missing };
    Kind kind = Kind::Value;
    Value value;
    CellRange range; ///< Ref: (col1,row1); Range: all four

    static Operand of(Value v) { return Operand{Kind::Value, std::move(v), {}}; }
    static Operand ref(int c, int r) { return Operand{Kind::Ref, {}, {c, r, c, r}}; }
};

/// The cells a formula reads, and the custom functions it may call.
class EvalContext {
public:
    virtual ~EvalContext() = default;
    /// Value of one cell (empty for cells that hold nothing).
    virtual Value cellValue(int col, int row) = 0;
    /// Fast path for arithmetic: the number in a cell (0 for an empty one); false for other kinds.
    virtual bool cellNumber(int col, int row, double& out) {
        Value v = cellValue(col, row);
        if (v.isEmpty()) return out = 0, true;
        if (!v.isNumber()) return false;
        out = v.number;
        return true;
    }
    /// Calls `fn` for each non-empty cell of the range, row by row.
    virtual void forEachCell(const CellRange& r, const std::function<void(int, int, const Value&)>& fn) = 0;
    /// Runs a custom function; false when no function of that name is registered.
    virtual bool callCustom(std::string_view upperName, std::span<Operand> args, CellPos host,
                            Value& out) = 0;
};

/// Arguments of a built-in function.
struct CallArgs {
    std::span<Operand> ops;
    EvalContext& ctx;
    CellPos host;

    std::size_t size() const { return ops.size(); }
    bool missing(std::size_t i) const { return i >= ops.size() || ops[i].kind == Operand::Kind::Missing; }
    /// Argument i as one value (a range in a single-value place gives the cell in the formula's row/column).
    Value scalar(std::size_t i);
    /// Argument i as a number; an error stays in `err`.
    double number(std::size_t i, ErrorCode& err);
    /// Argument i as text.
    std::string text(std::size_t i, ErrorCode& err);
    /// Argument i as a boolean.
    bool boolean(std::size_t i, ErrorCode& err);
};

/// Value of an operand in a single-value place.
Value derefScalar(const Operand& o, EvalContext& ctx, CellPos host);

/// Runs `p` for the formula in cell `host`; `stack` is scratch space kept by the caller between runs.
Value evaluate(const Program& p, EvalContext& ctx, CellPos host, std::vector<Operand>& stack);

/// Applies a binary operator to two values with Excel's coercions and error order.
Value binaryOp(Op op, const Value& a, const Value& b);

} // namespace sheet
