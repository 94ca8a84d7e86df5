#include <sheet/Compiler.h>

#include <sheet/Functions.h>

#include <base/NumberText.h>

#include <cctype>
#include <map>

namespace sheet {

namespace {

Op binaryOpFor(TokenKind k) {
    switch (k) {
    case TokenKind::Plus:
        return Op::Add;
    case TokenKind::Minus:
        return Op::Sub;
    case TokenKind::Star:
        return Op::Mul;
    case TokenKind::Slash:
        return Op::Div;
    case TokenKind::Caret:
        return Op::Pow;
    case TokenKind::Amp:
        return Op::Concat;
    case TokenKind::Eq:
        return Op::Eq;
    case TokenKind::Ne:
        return Op::Ne;
    case TokenKind::Lt:
        return Op::Lt;
    case TokenKind::Le:
        return Op::Le;
    case TokenKind::Gt:
        return Op::Gt;
    default:
        return Op::Ge;
    }
}

std::map<std::string, PositionArguments, std::less<>>& positionRules() {
    static std::map<std::string, PositionArguments, std::less<>> rules;
    return rules;
}

// Marks the references that custom functions take as positions. The code is walked as its value
// stack goes (jumps aside, as printFormula walks it), remembering which instruction pushed each
// operand: an argument pushed by a PushRef is a plain reference.
void markPositionRefs(Program& p) {
    if (positionRules().empty()) return;
    std::vector<std::ptrdiff_t> st; // the instruction that pushed each operand, -1 for a result
    auto popN = [&](std::size_t n) { st.resize(st.size() >= n ? st.size() - n : 0); };
    for (std::size_t i = 0; i < p.code.size(); ++i) {
        const Instr& in = p.code[i];
        switch (in.op) {
        case Op::PushNumber:
        case Op::PushString:
        case Op::PushBool:
        case Op::PushError:
        case Op::PushRef:
        case Op::PushRange:
        case Op::PushMissing:
            st.push_back(std::ptrdiff_t(i));
            break;
        case Op::ImplicitFalse:
            st.push_back(-1);
            break;
        case Op::Neg:
        case Op::UPlus:
        case Op::Percent:
            popN(1);
            st.push_back(-1);
            break;
        case Op::Paren: // the operand stays what it is
        case Op::JumpIfFalse:
        case Op::Jump:
        case Op::ChooseJump:
        case Op::JumpIfNotError:
            break;
        case Op::CallName: {
            const auto rule = positionRules().find(p.names[in.arg]);
            if (rule != positionRules().end() && st.size() >= in.argc) {
                const std::size_t first = st.size() - in.argc;
                for (int a = 0; a < in.argc; ++a) {
                    const std::ptrdiff_t at = st[first + std::size_t(a)];
                    if (at >= 0 && p.code[std::size_t(at)].op == Op::PushRef && rule->second(in.argc, a))
                        p.code[std::size_t(at)].spare |= kPositionRef;
                }
            }
            popN(in.argc);
            st.push_back(-1);
            break;
        }
        case Op::Call:
        case Op::BranchEnd:
            popN(in.argc);
            st.push_back(-1);
            break;
        default: // binary operators
            popN(2);
            st.push_back(-1);
            break;
        }
    }
}

// Emits code for the tree without recursion, so long operator chains cannot exhaust the stack.
class Emitter {
public:
    explicit Emitter(const Ast& ast)
        : m_ast(ast)
        , m_p(std::make_shared<Program>()) {}

    ProgramPtr run() {
        struct Frame {
            int node;
            std::size_t next = 0;
            std::vector<std::size_t> patches; // jump instructions to point at the end
        };
        std::vector<Frame> st;
        st.push_back({m_ast.root});
        while (!st.empty()) {
            Frame& f = st.back();
            const Node& n = m_ast.nodes[f.node];
            if (f.next > 0) between(n, f.next - 1, f.patches);
            if (f.next < n.children.size()) {
                int child = n.children[f.next++];
                st.push_back({child});
                continue;
            }
            leave(n, f.patches);
            st.pop_back();
        }
        m_p->arithOnly = isArithOnly(*m_p);
        if (m_p->hasCustom) markPositionRefs(*m_p);
        return m_p;
    }

private:
    std::size_t emit(Instr in) {
        m_p->code.push_back(in);
        return m_p->code.size() - 1;
    }
    std::uint32_t here() const { return std::uint32_t(m_p->code.size()); }

    FnKind kindOf(const Node& n) const {
        return n.kind == NodeKind::Call && n.fn >= 0 ? builtin(n.fn).kind : FnKind::Plain;
    }

    // Called after child i of n has been emitted: the jumps of IF, CHOOSE and IFERROR.
    void between(const Node& n, std::size_t i, std::vector<std::size_t>& patches) {
        FnKind k = kindOf(n);
        std::size_t argc = n.children.size();
        if (k == FnKind::If) {
            if (i == 0) {
                Instr j;
                j.op = Op::JumpIfFalse;
                patches.push_back(emit(j)); // patches[0]: else target (arg), end (v[0])
            } else if (i == 1) {
                Instr j;
                j.op = Op::Jump;
                patches.push_back(emit(j));
                m_p->code[patches[0]].arg = here();
                if (argc == 2) {
                    Instr f;
                    f.op = Op::ImplicitFalse;
                    emit(f);
                }
            }
        } else if (k == FnKind::Choose) {
            if (i == 0) {
                Instr j;
                j.op = Op::ChooseJump;
                j.arg = std::uint32_t(m_p->tables.size());
                j.argc = std::uint8_t(argc - 1);
                m_p->tables.resize(m_p->tables.size() + argc - 1, 0);
                patches.push_back(emit(j));
                m_p->tables[j.arg] = here();
            } else {
                Instr j;
                j.op = Op::Jump;
                patches.push_back(emit(j));
                if (i + 1 < argc) m_p->tables[m_p->code[patches[0]].arg + i] = here();
            }
        } else if (k == FnKind::IfError && i == 0) {
            Instr j;
            j.op = Op::JumpIfNotError;
            patches.push_back(emit(j));
        }
    }

    void leave(const Node& n, std::vector<std::size_t>& patches) {
        Instr in;
        switch (n.kind) {
        case NodeKind::Number:
            in.op = Op::PushNumber;
            in.num = n.number;
            break;
        case NodeKind::String:
            in.op = Op::PushString;
            in.arg = std::uint32_t(m_p->strings.size());
            m_p->strings.push_back(n.text);
            break;
        case NodeKind::Bool:
            in.op = Op::PushBool;
            in.arg = n.number != 0;
            break;
        case NodeKind::Error:
            in.op = Op::PushError;
            in.arg = std::uint32_t(n.error);
            break;
        case NodeKind::Ref:
            in.op = Op::PushRef;
            in.setAxis(0, n.a[0]);
            in.setAxis(1, n.a[1]);
            m_p->hasRefs = true;
            break;
        case NodeKind::Range:
            in.op = Op::PushRange;
            for (int i = 0; i < 4; ++i)
                in.setAxis(i, n.a[i]);
            m_p->hasRefs = true;
            break;
        case NodeKind::Missing:
            in.op = Op::PushMissing;
            break;
        case NodeKind::Unary:
            in.op = n.op == TokenKind::Minus ? Op::Neg : Op::UPlus;
            break;
        case NodeKind::Binary:
            in.op = binaryOpFor(n.op);
            break;
        case NodeKind::Percent:
            in.op = Op::Percent;
            break;
        case NodeKind::Paren:
            in.op = Op::Paren;
            break;
        case NodeKind::Call: {
            in.argc = std::uint8_t(n.children.size());
            FnKind k = kindOf(n);
            if (k == FnKind::Plain) {
                if (n.fn >= 0) {
                    in.op = Op::Call;
                    in.arg = std::uint32_t(n.fn);
                    if ((n.text == "ROW" || n.text == "COLUMN") && n.children.empty()) m_p->usesHost = true;
                } else {
                    in.op = Op::CallName;
                    in.arg = std::uint32_t(m_p->names.size());
                    m_p->names.push_back(n.text);
                    m_p->hasCustom = true;
                }
                break;
            }
            in.op = Op::BranchEnd;
            in.arg = std::uint32_t(n.fn);
            std::uint32_t end = here();
            if (k == FnKind::If) {
                if (patches.size() > 1) m_p->code[patches[1]].arg = end;
                m_p->code[patches[0]].v[0] = std::int32_t(end);
            } else if (k == FnKind::Choose) {
                if (!patches.empty()) m_p->code[patches[0]].v[0] = std::int32_t(end);
                for (std::size_t i = 1; i < patches.size(); ++i)
                    m_p->code[patches[i]].arg = end;
            } else if (k == FnKind::IfError) {
                if (!patches.empty()) m_p->code[patches[0]].arg = end;
            }
            break;
        }
        }
        emit(in);
    }

    const Ast& m_ast;
    std::shared_ptr<Program> m_p;
};

std::string axisText(RefStyle style, RefAxis a, int host, bool isCol) {
    if (isR1C1(style)) {
        std::string s(1, isCol ? 'C' : 'R');
        if (a.mode == AxisMode::Absolute)
            s += std::to_string(a.value);
        else if (a.mode == AxisMode::Current && style == RefStyle::R1C1Exact)
            s += '#';
        else if (a.mode == AxisMode::Relative && a.value != 0)
            s += "[" + std::to_string(a.value) + "]";
        return s;
    }
    if (a.mode == AxisMode::Current && style == RefStyle::Default) return "#";
    int v = a.resolve(host);
    std::string s = a.mode == AxisMode::Absolute ? "$" : "";
    if (v < 1) return "#REF!"; // cannot be written in A1; the caller replaces the whole reference
    return s + (isCol ? columnName(v) : std::to_string(v));
}

std::string refText(RefStyle style, RefAxis col, RefAxis row, CellPos host) {
    if (isR1C1(style)) return axisText(style, row, host.row, false) + axisText(style, col, host.col, true);
    // "##" cannot be written: a reference to the formula's own cell shows its column letters.
    RefStyle colStyle =
        (col.mode == AxisMode::Current && row.mode == AxisMode::Current) ? RefStyle::A1 : style;
    std::string c = axisText(colStyle, col, host.col, true), r = axisText(style, row, host.row, false);
    if (c == "#REF!" || r == "#REF!") return "#REF!";
    return c + r;
}

// Number literals print exactly (shortest text that reads back as the same double).
std::string literalText(double v) {
    std::string text;
    if (!base::formatShortest(v, text)) text = "#NUM!"; // literals are finite: the tokenizer refuses others
    return text;
}

std::string quote(const std::string& s) {
    std::string r = "\"";
    for (char c : s) {
        if (c == '"') r += '"';
        r += c;
    }
    return r + "\"";
}

} // namespace

void setPositionArguments(std::string_view name, PositionArguments rule) {
    std::string key(name);
    for (char& ch : key)
        ch = char(std::toupper(static_cast<unsigned char>(ch)));
    if (rule)
        positionRules()[key] = rule;
    else
        positionRules().erase(key);
}

ProgramPtr compile(const Ast& ast) {
    if (ast.root < 0) return nullptr;
    return Emitter(ast).run();
}

ProgramPtr compileFormula(std::string_view text, RefStyle style, CellPos host, ParseError& err,
                          const NameArity* custom) {
    Ast ast;
    if (!parseFormula(text, style, host, ast, err, custom)) return nullptr;
    return compile(ast);
}

std::string printFormula(const Program& p, RefStyle style, CellPos host) {
    std::vector<std::string> st;
    auto pop = [&] {
        std::string s = std::move(st.back());
        st.pop_back();
        return s;
    };
    auto callText = [&](std::string_view name, int argc) {
        std::string args;
        std::size_t first = st.size() - std::size_t(argc);
        for (std::size_t i = first; i < st.size(); ++i) {
            if (i > first) args += ',';
            args += st[i];
        }
        st.resize(first);
        st.push_back(std::string(name) + "(" + args + ")");
    };
    for (const Instr& in : p.code) {
        switch (in.op) {
        case Op::PushNumber:
            st.push_back(literalText(in.num));
            break;
        case Op::PushString:
            st.push_back(quote(p.strings[in.arg]));
            break;
        case Op::PushBool:
            st.push_back(in.arg ? "TRUE" : "FALSE");
            break;
        case Op::PushError:
            st.push_back(std::string(errorText(ErrorCode(in.arg))));
            break;
        case Op::PushRef:
            st.push_back(refText(style, in.axis(0), in.axis(1), host));
            break;
        case Op::PushRange: {
            std::string a = refText(style, in.axis(0), in.axis(1), host);
            std::string b = refText(style, in.axis(2), in.axis(3), host);
            st.push_back(a == "#REF!" || b == "#REF!" ? "#REF!" : a + ":" + b);
            break;
        }
        case Op::PushMissing:
            st.emplace_back();
            break;
        case Op::Neg:
            st.back() = "-" + st.back();
            break;
        case Op::UPlus:
            st.back() = "+" + st.back();
            break;
        case Op::Percent:
            st.back() += "%";
            break;
        case Op::Paren:
            st.back() = "(" + st.back() + ")";
            break;
        case Op::Call:
            callText(builtin(int(in.arg)).name, in.argc);
            break;
        case Op::BranchEnd:
            callText(builtin(int(in.arg)).name, in.argc);
            break;
        case Op::CallName:
            callText(p.names[in.arg], in.argc);
            break;
        case Op::JumpIfFalse:
        case Op::Jump:
        case Op::ChooseJump:
        case Op::JumpIfNotError:
        case Op::ImplicitFalse:
            break;
        default: {
            static const char* const kOps[] = {"+", "-", "*", "/", "^", "&", "=", "<>", "<", "<=", ">", ">="};
            std::string b = pop(), a = pop();
            st.push_back(a + kOps[int(in.op) - int(Op::Add)] + b);
            break;
        }
        }
    }
    return st.empty() ? std::string() : st.back();
}

} // namespace sheet
