// Trigonometric and hyperbolic functions.
#include "FnUtil_p.h"

namespace sheet {

namespace {
using namespace fn;

template <double (*F)(double), bool (*Ok)(double)> Value unary(CallArgs& a) {
    ErrorCode e = ErrorCode::None;
    double x = a.number(0, e);
    if (e != ErrorCode::None) return err(e);
    if (!Ok(x)) return err(ErrorCode::Num);
    return Value::num(F(x));
}
bool any(double) {
    return true;
}
bool unit(double x) {
    return x >= -1 && x <= 1;
}
double radians(double x) {
    return x * 3.14159265358979323846 / 180.0;
}
double degrees(double x) {
    return x * 180.0 / 3.14159265358979323846;
}

// ATAN2 takes x first, as spreadsheets do; ATAN2(0,0) is 0 as in LibreOffice.
Value atan2Fn(CallArgs& a) {
    ErrorCode e = ErrorCode::None;
    double x = a.number(0, e), y = a.number(1, e);
    if (e != ErrorCode::None) return err(e);
    return Value::num(std::atan2(y, x));
}
} // namespace

void addTrigFunctions(std::vector<FunctionDef>& t) {
    t.insert(t.end(), {
                          {"SIN", 1, 1, unary<std::sin, any>},
                          {"COS", 1, 1, unary<std::cos, any>},
                          {"TAN", 1, 1, unary<std::tan, any>},
                          {"ASIN", 1, 1, unary<std::asin, unit>},
                          {"ACOS", 1, 1, unary<std::acos, unit>},
                          {"ATAN", 1, 1, unary<std::atan, any>},
                          {"ATAN2", 2, 2, atan2Fn},
                          {"SINH", 1, 1, unary<std::sinh, any>},
                          {"COSH", 1, 1, unary<std::cosh, any>},
                          {"TANH", 1, 1, unary<std::tanh, any>},
                          {"RADIANS", 1, 1, unary<radians, any>},
                          {"DEGREES", 1, 1, unary<degrees, any>},
                      });
}

} // namespace sheet
