#include <sheet/Parser.h>

#include <sheet/Functions.h>

namespace sheet {

namespace {

constexpr int kMaxDepth = 200;
constexpr std::size_t kMaxLength = 16384;

class Parser {
public:
    Parser(std::vector<Token>& toks, Ast& ast, ParseError& err, const NameArity* custom)
        : m_t(toks)
        , m_ast(ast)
        , m_err(err)
        , m_custom(custom) {}

    bool run() {
        int root = expr();
        if (root < 0) return false;
        if (peek().kind != TokenKind::End) {
            if (peek().kind == TokenKind::RParen)
                return fail(ParseErrorCode::UnexpectedToken, peek().pos, "')' without '('");
            return fail(ParseErrorCode::UnexpectedToken, peek().pos, "operator expected");
        }
        m_ast.root = root;
        return true;
    }

private:
    const Token& peek() const { return m_t[m_i]; }
    const Token& take() { return m_t[m_i++]; }
    bool fail(ParseErrorCode c, int pos, std::string msg) {
        if (!m_err) m_err = ParseError{c, pos, std::move(msg)};
        return false;
    }
    int failN(ParseErrorCode c, int pos, std::string msg) {
        fail(c, pos, std::move(msg));
        return -1;
    }
    int add(Node n) {
        m_ast.nodes.push_back(std::move(n));
        return int(m_ast.nodes.size() - 1);
    }
    int binary(TokenKind op, int pos, int l, int r) {
        Node n;
        n.kind = NodeKind::Binary;
        n.op = op;
        n.pos = pos;
        n.children = {l, r};
        return add(std::move(n));
    }

    struct DepthGuard {
        int& d;
        explicit DepthGuard(int& x)
            : d(x) {
            ++d;
        }
        ~DepthGuard() { --d; }
    };

    int expr() {
        DepthGuard g(m_depth);
        if (m_depth > kMaxDepth)
            return failN(ParseErrorCode::TooComplex, peek().pos, "formula nested too deeply");
        return comparison();
    }

    int comparison() {
        int l = concat();
        while (l >= 0) {
            TokenKind k = peek().kind;
            if (k != TokenKind::Eq && k != TokenKind::Ne && k != TokenKind::Lt && k != TokenKind::Le &&
                k != TokenKind::Gt && k != TokenKind::Ge)
                break;
            int pos = take().pos;
            int r = concat();
            if (r < 0) return -1;
            l = binary(k, pos, l, r);
        }
        return l;
    }
    int concat() {
        int l = additive();
        while (l >= 0 && peek().kind == TokenKind::Amp) {
            int pos = take().pos;
            int r = additive();
            if (r < 0) return -1;
            l = binary(TokenKind::Amp, pos, l, r);
        }
        return l;
    }
    int additive() {
        int l = multiplicative();
        while (l >= 0 && (peek().kind == TokenKind::Plus || peek().kind == TokenKind::Minus)) {
            TokenKind k = peek().kind;
            int pos = take().pos;
            int r = multiplicative();
            if (r < 0) return -1;
            l = binary(k, pos, l, r);
        }
        return l;
    }
    int multiplicative() {
        int l = power();
        while (l >= 0 && (peek().kind == TokenKind::Star || peek().kind == TokenKind::Slash)) {
            TokenKind k = peek().kind;
            int pos = take().pos;
            int r = power();
            if (r < 0) return -1;
            l = binary(k, pos, l, r);
        }
        return l;
    }
    // Excel evaluates 2^3^2 left to right, and -2^2 as (-2)^2.
    int power() {
        int l = percent();
        while (l >= 0 && peek().kind == TokenKind::Caret) {
            int pos = take().pos;
            int r = percent();
            if (r < 0) return -1;
            l = binary(TokenKind::Caret, pos, l, r);
        }
        return l;
    }
    int percent() {
        int x = unary();
        while (x >= 0 && peek().kind == TokenKind::Percent) {
            Node n;
            n.kind = NodeKind::Percent;
            n.pos = take().pos;
            n.children = {x};
            x = add(std::move(n));
        }
        return x;
    }
    int unary() {
        DepthGuard g(m_depth);
        if (m_depth > kMaxDepth)
            return failN(ParseErrorCode::TooComplex, peek().pos, "formula nested too deeply");
        if (peek().kind == TokenKind::Minus || peek().kind == TokenKind::Plus) {
            Node n;
            n.kind = NodeKind::Unary;
            n.op = peek().kind;
            n.pos = take().pos;
            int x = unary();
            if (x < 0) return -1;
            n.children = {x};
            return add(std::move(n));
        }
        return primary();
    }

    int primary() {
        int x = operand();
        if (x >= 0 && peek().kind == TokenKind::Colon)
            return failN(ParseErrorCode::RangeOperand, peek().pos, "':' only joins two cell references");
        return x;
    }

    int operand() {
        const Token& tk = peek();
        Node n;
        n.pos = tk.pos;
        switch (tk.kind) {
        case TokenKind::Number:
            n.kind = NodeKind::Number;
            n.number = take().number;
            return add(std::move(n));
        case TokenKind::String:
            n.kind = NodeKind::String;
            n.text = take().text;
            return add(std::move(n));
        case TokenKind::Error:
            n.kind = NodeKind::Error;
            n.error = take().error;
            return add(std::move(n));
        case TokenKind::Ref: {
            const Token& a = take();
            n.kind = NodeKind::Ref;
            n.a[0] = a.col;
            n.a[1] = a.row;
            if (peek().kind == TokenKind::Colon) {
                int cpos = take().pos;
                if (peek().kind != TokenKind::Ref)
                    return failN(ParseErrorCode::RangeOperand, peek().pos,
                                 "cell reference expected after ':'");
                const Token& b = take();
                n.kind = NodeKind::Range;
                n.a[2] = b.col;
                n.a[3] = b.row;
                (void)cpos;
            }
            return add(std::move(n));
        }
        case TokenKind::LParen: {
            take();
            int x = expr();
            if (x < 0) return -1;
            if (peek().kind != TokenKind::RParen)
                return failN(ParseErrorCode::MissingParenthesis, peek().pos, "')' expected");
            take();
            n.kind = NodeKind::Paren;
            n.children = {x};
            return add(std::move(n));
        }
        case TokenKind::Name:
            return nameOrCall();
        case TokenKind::End:
            return failN(ParseErrorCode::UnexpectedToken, tk.pos, "value expected at end of formula");
        case TokenKind::Colon:
            return failN(ParseErrorCode::RangeOperand, tk.pos, "':' only joins two cell references");
        default:
            return failN(ParseErrorCode::UnexpectedToken, tk.pos, "value expected");
        }
    }

    int nameOrCall() {
        const Token& tk = take();
        std::string name = upper(tk.text);
        int pos = tk.pos;
        if (peek().kind != TokenKind::LParen) {
            if (name == "TRUE" || name == "FALSE") {
                Node n;
                n.kind = NodeKind::Bool;
                n.pos = pos;
                n.number = name == "TRUE" ? 1 : 0;
                return add(std::move(n));
            }
            if (peek().kind == TokenKind::Colon)
                return failN(ParseErrorCode::RangeOperand, peek().pos, "':' only joins two cell references");
            return failN(ParseErrorCode::UnexpectedToken, pos, "unknown name '" + tk.text + "'");
        }
        take(); // (
        Node call;
        call.kind = NodeKind::Call;
        call.pos = pos;
        call.text = name;
        call.fn = findBuiltin(name);
        if (peek().kind != TokenKind::RParen) {
            while (true) {
                if (peek().kind == TokenKind::Comma || peek().kind == TokenKind::RParen) {
                    Node m;
                    m.kind = NodeKind::Missing;
                    m.pos = peek().pos;
                    call.children.push_back(add(std::move(m)));
                } else {
                    int a = expr();
                    if (a < 0) return -1;
                    call.children.push_back(a);
                }
                if (call.children.size() > 250)
                    return failN(ParseErrorCode::TooComplex, peek().pos, "too many arguments");
                if (peek().kind == TokenKind::Comma) {
                    take();
                    continue;
                }
                if (peek().kind == TokenKind::RParen) break;
                return failN(ParseErrorCode::MissingParenthesis, peek().pos, "',' or ')' expected");
            }
        }
        int closePos = take().pos; // )
        int argc = int(call.children.size());
        int lo = -1, hi = -1;
        if (call.fn >= 0) {
            const FunctionDef& d = builtin(call.fn);
            lo = d.minArgs;
            hi = d.maxArgs == kManyArgs ? 1 << 20 : d.maxArgs;
        } else if (m_custom && m_custom->customArity(name, lo, hi)) {
        }
        if (lo >= 0 && (argc < lo || argc > hi)) {
            std::string msg = "wrong number of arguments for " + name;
            return failN(ParseErrorCode::ArgumentCount, argc < lo ? closePos : pos, msg);
        }
        return add(std::move(call));
    }

    std::vector<Token>& m_t;
    Ast& m_ast;
    ParseError& m_err;
    const NameArity* m_custom;
    std::size_t m_i = 0;
    int m_depth = 0;
};

} // namespace

bool parseFormula(std::string_view text, RefStyle style, CellPos host, Ast& out, ParseError& err,
                  const NameArity* custom) {
    err = {};
    out = {};
    std::size_t offset = 0;
    while (offset < text.size() && text[offset] == ' ')
        ++offset;
    if (offset < text.size() && text[offset] == '=') ++offset;
    if (text.size() > kMaxLength) {
        err = {ParseErrorCode::TooComplex, int(kMaxLength), "formula longer than 16384 characters"};
        return false;
    }
    std::vector<Token> toks;
    if (!tokenize(text.substr(offset), style, host, toks, err)) {
        err.position += int(offset);
        return false;
    }
    if (toks.size() == 1) {
        err = {ParseErrorCode::Empty, int(offset), "empty formula"};
        return false;
    }
    bool ok = Parser(toks, out, err, custom).run();
    if (!ok) err.position += int(offset);
    return ok;
}

} // namespace sheet
