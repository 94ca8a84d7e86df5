#include <sheet/Evaluator.h>

#include <sheet/Functions.h>

#include <cmath>

namespace sheet {

namespace {

bool validCell(int c, int r) {
    return c >= 1 && r >= 1 && c <= kMaxColLimit && r <= kMaxRowLimit;
}

Value numberResult(double v) {
    if (!std::isfinite(v)) return Value::err(ErrorCode::Num);
    return Value::num(v);
}

// The number an operand stands for, when it is a plain number or a cell holding one.
inline bool numberOf(const Operand& o, EvalContext& ctx, double& out) {
    if (o.kind == Operand::Kind::Value) {
        if (o.value.kind != ValueKind::Number) return false;
        out = o.value.number;
        return true;
    }
    if (o.kind == Operand::Kind::Ref) return ctx.cellNumber(o.range.col1, o.range.row1, out);
    return false;
}

} // namespace

Value derefScalar(const Operand& o, EvalContext& ctx, CellPos host) {
    switch (o.kind) {
    case Operand::Kind::Value:
        return o.value;
    case Operand::Kind::Missing:
        return {};
    case Operand::Kind::Ref:
        return ctx.cellValue(o.range.col1, o.range.row1);
    case Operand::Kind::Range: {
        const CellRange& r = o.range;
        if (r.col1 == r.col2 && r.row1 == r.row2) return ctx.cellValue(r.col1, r.row1);
        // A range where one value is wanted gives the cell in the formula's own row or column.
        if (r.col1 == r.col2 && host.row >= r.row1 && host.row <= r.row2)
            return ctx.cellValue(r.col1, host.row);
        if (r.row1 == r.row2 && host.col >= r.col1 && host.col <= r.col2)
            return ctx.cellValue(host.col, r.row1);
        return Value::err(ErrorCode::Value);
    }
    }
    return {};
}

Value CallArgs::scalar(std::size_t i) {
    if (i >= ops.size()) return {};
    return derefScalar(ops[i], ctx, host);
}

double CallArgs::number(std::size_t i, ErrorCode& err) {
    Value v = scalar(i);
    ErrorCode e = ErrorCode::None;
    double d = toNumber(v, e);
    if (e != ErrorCode::None && err == ErrorCode::None) err = e;
    return d;
}

std::string CallArgs::text(std::size_t i, ErrorCode& err) {
    Value v = scalar(i);
    if (v.isError()) {
        if (err == ErrorCode::None) err = v.error;
        return {};
    }
    return toText(v);
}

bool CallArgs::boolean(std::size_t i, ErrorCode& err) {
    Value v = scalar(i);
    ErrorCode e = ErrorCode::None;
    bool b = toBool(v, e);
    if (e != ErrorCode::None && err == ErrorCode::None) err = e;
    return b;
}

Value binaryOp(Op op, const Value& a, const Value& b) {
    if (a.isError()) return a;
    if (b.isError()) return b;
    if (op == Op::Concat) return Value::str(toText(a) + toText(b));
    if (op >= Op::Eq && op <= Op::Ge) {
        int c = compareValues(a, b);
        bool r = false;
        switch (op) {
        case Op::Eq:
            r = c == 0;
            break;
        case Op::Ne:
            r = c != 0;
            break;
        case Op::Lt:
            r = c < 0;
            break;
        case Op::Le:
            r = c <= 0;
            break;
        case Op::Gt:
            r = c > 0;
            break;
        default:
            r = c >= 0;
            break;
        }
        return Value::boolean(r);
    }
    ErrorCode e = ErrorCode::None;
    double x = toNumber(a, e);
    double y = toNumber(b, e);
    if (e != ErrorCode::None) return Value::err(e);
    switch (op) {
    case Op::Add:
        return numberResult(x + y);
    case Op::Sub:
        return numberResult(x - y);
    case Op::Mul:
        return numberResult(x * y);
    case Op::Div:
        if (y == 0) return Value::err(ErrorCode::Div0);
        return numberResult(x / y);
    case Op::Pow:
        if (x == 0 && y == 0) return Value::err(ErrorCode::Num);
        if (x == 0 && y < 0) return Value::err(ErrorCode::Div0);
        if (x < 0 && y != std::trunc(y)) {
            // An odd root of a negative number is real: (-8)^(1/3) = -2, as LibreOffice computes it.
            double inv = 1.0 / y, odd = std::round(inv);
            if (std::fabs(inv - odd) < 1e-10 && std::fmod(std::fabs(odd), 2.0) == 1.0)
                return numberResult(-std::pow(-x, y));
            return Value::err(ErrorCode::Num);
        }
        return numberResult(std::pow(x, y));
    default:
        return Value::err(ErrorCode::Value);
    }
}

Value evaluate(const Program& p, EvalContext& ctx, CellPos host, std::vector<Operand>& stack) {
    const std::size_t base = stack.size();
    const std::size_t n = p.code.size();
    auto popScalar = [&]() {
        Value v = derefScalar(stack.back(), ctx, host);
        stack.pop_back();
        return v;
    };
    for (std::size_t pc = 0; pc < n; ++pc) {
        const Instr& in = p.code[pc];
        switch (in.op) {
        case Op::PushNumber: {
            Operand& o = stack.emplace_back();
            o.value.kind = ValueKind::Number;
            o.value.number = in.num;
            break;
        }
        case Op::PushString:
            stack.push_back(Operand::of(Value::str(p.strings[in.arg])));
            break;
        case Op::PushBool:
        case Op::ImplicitFalse:
            stack.push_back(Operand::of(Value::boolean(in.op == Op::PushBool && in.arg)));
            break;
        case Op::PushError:
            stack.push_back(Operand::of(Value::err(ErrorCode(in.arg))));
            break;
        case Op::PushRef: {
            int c = in.axis(0).resolve(host.col), r = in.axis(1).resolve(host.row);
            if (!validCell(c, r)) {
                stack.push_back(Operand::of(Value::err(ErrorCode::Ref)));
            } else {
                Operand& o = stack.emplace_back();
                o.kind = Operand::Kind::Ref;
                o.range = {c, r, c, r};
            }
            break;
        }
        case Op::PushRange: {
            int c1 = in.axis(0).resolve(host.col), r1 = in.axis(1).resolve(host.row);
            int c2 = in.axis(2).resolve(host.col), r2 = in.axis(3).resolve(host.row);
            if (!validCell(c1, r1) || !validCell(c2, r2)) {
                stack.push_back(Operand::of(Value::err(ErrorCode::Ref)));
                break;
            }
            Operand o;
            o.kind = Operand::Kind::Range;
            o.range = {std::min(c1, c2), std::min(r1, r2), std::max(c1, c2), std::max(r1, r2)};
            stack.push_back(std::move(o));
            break;
        }
        case Op::PushMissing: {
            Operand o;
            o.kind = Operand::Kind::Missing;
            stack.push_back(std::move(o));
            break;
        }
        case Op::Neg:
        case Op::UPlus:
        case Op::Percent: {
            Value v = popScalar();
            if (in.op == Op::UPlus) {
                stack.push_back(Operand::of(std::move(v)));
                break;
            }
            ErrorCode e = ErrorCode::None;
            double d = toNumber(v, e);
            if (e != ErrorCode::None)
                stack.push_back(Operand::of(Value::err(e)));
            else
                stack.push_back(Operand::of(Value::num(in.op == Op::Neg ? -d : d / 100.0)));
            break;
        }
        case Op::Paren:
        case Op::BranchEnd:
            break;
        case Op::Call: {
            std::size_t argc = in.argc;
            CallArgs args{std::span<Operand>(stack.data() + stack.size() - argc, argc), ctx, host};
            Value r = builtin(int(in.arg)).impl(args);
            stack.resize(stack.size() - argc);
            if (r.isNumber() && !std::isfinite(r.number)) r = Value::err(ErrorCode::Num);
            stack.push_back(Operand::of(std::move(r)));
            break;
        }
        case Op::CallName: {
            // Copied: the function may evaluate other formulas that use this same scratch stack.
            std::vector<Operand> args(stack.end() - in.argc, stack.end());
            stack.resize(stack.size() - in.argc);
            Value r;
            if (!ctx.callCustom(p.names[in.arg], args, host, r)) r = Value::err(ErrorCode::Name);
            stack.push_back(Operand::of(std::move(r)));
            break;
        }
        case Op::JumpIfFalse: {
            Value c = popScalar();
            ErrorCode e = ErrorCode::None;
            bool b = toBool(c, e);
            if (e != ErrorCode::None) {
                stack.push_back(Operand::of(Value::err(e)));
                pc = std::size_t(in.v[0]) - 1;
            } else if (!b) {
                pc = std::size_t(in.arg) - 1;
            }
            break;
        }
        case Op::Jump:
            pc = std::size_t(in.arg) - 1;
            break;
        case Op::ChooseJump: {
            Value c = popScalar();
            ErrorCode e = ErrorCode::None;
            double d = toNumber(c, e);
            int idx = int(std::trunc(d));
            if (e != ErrorCode::None || idx < 1 || idx > in.argc) {
                stack.push_back(Operand::of(Value::err(e != ErrorCode::None ? e : ErrorCode::Value)));
                pc = std::size_t(in.v[0]) - 1;
            } else {
                pc = std::size_t(p.tables[in.arg + std::uint32_t(idx) - 1]) - 1;
            }
            break;
        }
        case Op::JumpIfNotError: {
            Value v = derefScalar(stack.back(), ctx, host);
            if (!v.isError()) {
                stack.back() = Operand::of(std::move(v));
                pc = std::size_t(in.arg) - 1;
            } else {
                stack.pop_back();
            }
            break;
        }
        default: {
            // Numbers in, number out: no Value is built (most formulas of big sheets are like this).
            if (in.op <= Op::Div) {
                Operand& oa = stack[stack.size() - 2];
                const Operand& ob = stack.back();
                double x, y;
                if (numberOf(oa, ctx, x) && numberOf(ob, ctx, y) && !(in.op == Op::Div && y == 0)) {
                    double r = in.op == Op::Add   ? x + y
                               : in.op == Op::Sub ? x - y
                               : in.op == Op::Mul ? x * y
                                                  : x / y;
                    if (std::isfinite(r)) {
                        stack.pop_back();
                        oa.kind = Operand::Kind::Value;
                        oa.value.kind = ValueKind::Number;
                        oa.value.number = r;
                        oa.value.text.clear();
                        break;
                    }
                }
            }
            Value b = popScalar();
            Value a = popScalar();
            stack.push_back(Operand::of(binaryOp(in.op, a, b)));
            break;
        }
        }
    }
    Value result;
    bool fromCell = false;
    if (stack.size() == base + 1 && stack.back().kind == Operand::Kind::Value &&
        stack.back().value.isNumber()) {
        double v = stack.back().value.number;
        stack.pop_back();
        return Value::num(v);
    }
    if (stack.size() > base) {
        fromCell = stack.back().kind != Operand::Kind::Value;
        result = derefScalar(stack.back(), ctx, host);
    }
    stack.resize(base);
    // An empty cell read by a formula shows 0; a custom function with no result shows nothing.
    if (result.isEmpty() && fromCell) return Value::num(0);
    return result;
}

} // namespace sheet
