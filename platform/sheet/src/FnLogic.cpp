// Logical and information functions. IF and IFERROR are compiled into jumps, so that only the
// branch taken is evaluated; their rows here give name and argument count.
#include "FnUtil_p.h"

namespace sheet {

namespace {
using namespace fn;

template <bool IsAnd> Value andOr(CallArgs& a) {
    bool any = false, acc = IsAnd;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const Operand& o = a.ops[i];
        if (o.kind == Operand::Kind::Missing) continue;
        if (o.kind == Operand::Kind::Value) {
            ErrorCode e = ErrorCode::None;
            bool b = toBool(o.value, e);
            if (e != ErrorCode::None) return err(e);
            acc = IsAnd ? (acc && b) : (acc || b);
            any = true;
            continue;
        }
        ErrorCode found = ErrorCode::None;
        a.ctx.forEachCell(o.range, [&](int, int, const Value& v) {
            if (v.isError() && found == ErrorCode::None) found = v.error;
            if (v.isNumber() || v.isBool()) {
                bool b = v.number != 0;
                acc = IsAnd ? (acc && b) : (acc || b);
                any = true;
            }
        });
        if (found != ErrorCode::None) return err(found);
    }
    if (!any) return err(ErrorCode::Value);
    return Value::boolean(acc);
}

Value notFn(CallArgs& a) {
    ErrorCode e = ErrorCode::None;
    bool b = a.boolean(0, e);
    return e != ErrorCode::None ? err(e) : Value::boolean(!b);
}
Value trueFn(CallArgs&) {
    return Value::boolean(true);
}
Value falseFn(CallArgs&) {
    return Value::boolean(false);
}
Value naFn(CallArgs&) {
    return err(ErrorCode::NA);
}
Value isError(CallArgs& a) {
    return Value::boolean(a.scalar(0).isError());
}
Value isNumber(CallArgs& a) {
    return Value::boolean(a.scalar(0).isNumber());
}
Value isText(CallArgs& a) {
    return Value::boolean(a.scalar(0).isText());
}
Value isBlank(CallArgs& a) {
    const Operand& o = a.ops[0];
    if (o.kind == Operand::Kind::Value || o.kind == Operand::Kind::Missing) return Value::boolean(false);
    return Value::boolean(a.scalar(0).isEmpty());
}
} // namespace

void addLogicFunctions(std::vector<FunctionDef>& t) {
    t.insert(t.end(), {
                          {"IF", 2, 3, nullptr, FnKind::If},
                          {"AND", 1, kManyArgs, andOr<true>},
                          {"OR", 1, kManyArgs, andOr<false>},
                          {"NOT", 1, 1, notFn},
                          {"TRUE", 0, 0, trueFn},
                          {"FALSE", 0, 0, falseFn},
                          {"IFERROR", 2, 2, nullptr, FnKind::IfError},
                          {"ISERROR", 1, 1, isError},
                          {"ISNUMBER", 1, 1, isNumber},
                          {"ISTEXT", 1, 1, isText},
                          {"ISBLANK", 1, 1, isBlank},
                          {"NA", 0, 0, naFn},
                      });
}

} // namespace sheet
