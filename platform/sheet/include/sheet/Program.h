#pragma once
// Compiled formula: a position-independent instruction list (references are kept relative to the
// formula's cell), so equal formulas in a filled column share one program.

#include <sheet/Tokenizer.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace sheet {

/// Instructions of a compiled formula (reverse Polish order with jumps for IF, CHOOSE and IFERROR).
enum class Op : std::uint8_t {
    PushNumber,  ///< num
    PushString,  ///< strings[arg]
    PushBool,    ///< arg 0/1
    PushError,   ///< arg = ErrorCode
    PushRef,     ///< v[0] column, v[1] row; modes bits 0-1 column, 2-3 row
    PushRange,   ///< v[0..3] = col1,row1,col2,row2; modes 2 bits each
    PushMissing, ///< an empty argument: f(1,,2)
    Add,
    Sub,
    Mul,
    Div,
    Pow,
    Concat,
    Eq,
    Ne,
    Lt,
    Le,
    Gt,
    Ge,
    Neg,            ///< unary minus
    UPlus,          ///< unary plus (kept so the formula prints as written)
    Percent,        ///< postfix %
    Paren,          ///< parentheses in the source; no effect on the value
    Call,           ///< built-in function arg with argc arguments
    CallName,       ///< custom function names[arg] with argc arguments
    JumpIfFalse,    ///< pop condition; false -> jump to arg; error -> push it and jump to v[0]
    Jump,           ///< jump to arg
    ChooseJump,     ///< pop index; jump to table[arg + index - 1]; bad index -> #VALUE! and jump to v[0]
    JumpIfNotError, ///< top is not an error -> jump to arg; otherwise drop it
    ImplicitFalse,  ///< the missing else of IF(c, x): FALSE, not printed
    BranchEnd,      ///< end of IF/CHOOSE/IFERROR: function arg with argc printed arguments
};

/// Instr::spare of a PushRef that a custom function takes as a position, not as an input.
inline constexpr std::uint8_t kPositionRef = 1;

/// One instruction; 24 bytes.
struct Instr {
    Op op = Op::PushNumber;
    std::uint8_t modes = 0;
    std::uint8_t argc = 0;
    std::uint8_t spare = 0;
    std::uint32_t arg = 0;
    union {
        double num;
        std::int32_t v[4];
    };
    Instr()
        : v{0, 0, 0, 0} {}

    AxisMode mode(int i) const { return AxisMode((modes >> (2 * i)) & 3); }
    RefAxis axis(int i) const { return {mode(i), v[i]}; }
    void setAxis(int i, RefAxis a) {
        modes = std::uint8_t((modes & ~(3 << (2 * i))) | (int(a.mode) << (2 * i)));
        v[i] = a.value;
    }
};

/// An immutable compiled formula.
struct Program {
    std::vector<Instr> code;
    std::vector<std::string> strings;
    std::vector<std::string> names;    ///< custom function names, upper case
    std::vector<std::uint32_t> tables; ///< CHOOSE jump tables
    bool hasRefs = false;              ///< refers to cells at all
    bool hasCustom = false;            ///< calls a custom function (which may change the sheet)
    bool usesHost = false;             ///< ROW()/COLUMN() without argument
    bool arithOnly = false;            ///< only numbers, single cells and + - * / % unary minus
};

/// Whether a program is plain arithmetic on numbers and single cells (the recalculation fast path).
inline bool isArithOnly(const Program& p) {
    int depth = 0;
    for (const Instr& in : p.code) {
        switch (in.op) {
        case Op::PushNumber:
        case Op::PushRef:
            if (++depth > 16) return false;
            break;
        case Op::Add:
        case Op::Sub:
        case Op::Mul:
        case Op::Div:
            if (--depth < 1) return false;
            break;
        case Op::Neg:
        case Op::Percent:
        case Op::Paren:
            if (depth < 1) return false;
            break;
        default:
            return false;
        }
    }
    return depth == 1;
}

using ProgramPtr = std::shared_ptr<const Program>;

} // namespace sheet
