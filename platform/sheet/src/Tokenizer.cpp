#include <sheet/Tokenizer.h>

#include <base/NumberText.h>

#include <algorithm>
#include <cmath>

namespace sheet {

namespace {

bool isNameChar(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '.';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

class Lexer {
public:
    Lexer(std::string_view s, RefStyle style, CellPos host, ParseError& err)
        : m_s(s)
        , m_style(style)
        , m_host(host)
        , m_err(err) {}

    bool run(std::vector<Token>& out) {
        while (true) {
            while (m_i < m_s.size() &&
                   (m_s[m_i] == ' ' || m_s[m_i] == '\t' || m_s[m_i] == '\r' || m_s[m_i] == '\n'))
                ++m_i;
            Token t;
            t.pos = int(m_i);
            if (m_i >= m_s.size()) {
                t.kind = TokenKind::End;
                out.push_back(std::move(t));
                return true;
            }
            if (!next(t)) return false;
            out.push_back(std::move(t));
        }
    }

private:
    bool fail(ParseErrorCode code, std::size_t pos, std::string msg) {
        m_err = ParseError{code, int(pos), std::move(msg)};
        return false;
    }

    // Digits of a row number or column offset; false when none.
    bool readInt(std::size_t& j, long& v) {
        std::size_t start = j;
        v = 0;
        while (j < m_s.size() && isDigit(m_s[j])) {
            if (v > kMaxRowLimit * 10L) return false;
            v = v * 10 + (m_s[j] - '0');
            ++j;
        }
        return j > start;
    }

    // A reference must not run on into a name or a call: "A1B", "LOG10(".
    bool refEndsAt(std::size_t j) const {
        if (j < m_s.size() && (isNameChar(m_s[j]) || m_s[j] == '(' || m_s[j] == '#' || m_s[j] == '$'))
            return false;
        return true;
    }

    // A1 and default style: [$]letters|# [$]digits|#
    bool tryA1(Token& t) {
        std::size_t j = m_i;
        RefAxis col, row;
        bool colAbs = false, rowAbs = false;
        if (j < m_s.size() && m_s[j] == '$') colAbs = true, ++j;
        if (m_style == RefStyle::Default && j < m_s.size() && m_s[j] == '#' && !colAbs) {
            col.mode = AxisMode::Current;
            ++j;
        } else {
            int c = 0;
            std::size_t n = parseColumnLetters(m_s.substr(j), c);
            if (n == 0) return false;
            j += n;
            col = colAbs ? RefAxis{AxisMode::Absolute, c} : RefAxis{AxisMode::Relative, c - m_host.col};
        }
        if (j < m_s.size() && m_s[j] == '$') rowAbs = true, ++j;
        if (m_style == RefStyle::Default && j < m_s.size() && m_s[j] == '#' && !rowAbs) {
            if (col.mode == AxisMode::Current) return false; // "##" is not a reference
            row.mode = AxisMode::Current;
            ++j;
        } else {
            long r = 0;
            if (!readInt(j, r)) return false;
            if (r < 1 || r > kMaxRowLimit) return false;
            row = rowAbs ? RefAxis{AxisMode::Absolute, int(r)}
                         : RefAxis{AxisMode::Relative, int(r) - m_host.row};
        }
        if (!refEndsAt(j)) return false;
        t.kind = TokenKind::Ref;
        t.col = col;
        t.row = row;
        m_i = j;
        return true;
    }

    // One R1C1 axis after its letter: "", "3", "[-1]".
    bool r1c1Axis(std::size_t& j, RefAxis& a, int limit) {
        if (j < m_s.size() && m_s[j] == '[') {
            ++j;
            bool neg = false;
            if (j < m_s.size() && (m_s[j] == '-' || m_s[j] == '+')) neg = m_s[j] == '-', ++j;
            long v = 0;
            if (!readInt(j, v) || j >= m_s.size() || m_s[j] != ']' || v > limit) return false;
            ++j;
            a = {AxisMode::Relative, int(neg ? -v : v)};
            return true;
        }
        if (m_style == RefStyle::R1C1Exact && j < m_s.size() && m_s[j] == '#') {
            ++j;
            a = {AxisMode::Current, 0};
            return true;
        }
        long v = 0;
        std::size_t save = j;
        if (readInt(j, v)) {
            if (v < 1 || v > limit) return false;
            a = {AxisMode::Absolute, int(v)};
        } else {
            // Bare "R" or "C": this row or column, relative as in every R1C1 dialect. The current-row
            // form '#' is written "R#" (R1C1Exact), so both kinds read back as they were printed.
            j = save;
            a = {AxisMode::Relative, 0};
        }
        return true;
    }

    bool tryR1C1(Token& t) {
        std::size_t j = m_i;
        if (j >= m_s.size() || (m_s[j] != 'R' && m_s[j] != 'r')) return false;
        ++j;
        RefAxis row, col;
        if (!r1c1Axis(j, row, kMaxRowLimit)) return false;
        if (j >= m_s.size() || (m_s[j] != 'C' && m_s[j] != 'c')) return false;
        ++j;
        if (!r1c1Axis(j, col, kMaxColLimit)) return false;
        if (!refEndsAt(j)) return false;
        t.kind = TokenKind::Ref;
        t.col = col;
        t.row = row;
        m_i = j;
        return true;
    }

    bool next(Token& t) {
        char c = m_s[m_i];
        if (isDigit(c) || (c == '.' && m_i + 1 < m_s.size() && isDigit(m_s[m_i + 1]))) {
            std::size_t j = m_i;
            while (j < m_s.size() && (isDigit(m_s[j]) || m_s[j] == '.'))
                ++j;
            if (j < m_s.size() && (m_s[j] == 'e' || m_s[j] == 'E')) {
                std::size_t k = j + 1;
                if (k < m_s.size() && (m_s[k] == '+' || m_s[k] == '-')) ++k;
                if (k < m_s.size() && isDigit(m_s[k])) {
                    j = k;
                    while (j < m_s.size() && isDigit(m_s[j]))
                        ++j;
                }
            }
            double v = 0;
            const std::string_view text = std::string_view(m_s).substr(m_i, j - m_i);
            if (!base::parseNumber(text, v)) {
                // Digits with at most one point read as a number unless it lies beyond the doubles.
                if (std::count(text.begin(), text.end(), '.') <= 1)
                    return fail(ParseErrorCode::UnexpectedToken, m_i, "number out of range");
                return fail(ParseErrorCode::UnexpectedCharacter, m_i, "malformed number");
            }
            t.kind = TokenKind::Number;
            t.number = v;
            m_i = j;
            return true;
        }
        if (c == '"') {
            std::size_t j = m_i + 1;
            std::string text;
            while (true) {
                if (j >= m_s.size())
                    return fail(ParseErrorCode::UnterminatedString, m_i, "text without closing quote");
                if (m_s[j] == '"') {
                    if (j + 1 < m_s.size() && m_s[j + 1] == '"') {
                        text += '"';
                        j += 2;
                        continue;
                    }
                    ++j;
                    break;
                }
                text += m_s[j++];
            }
            t.kind = TokenKind::String;
            t.text = std::move(text);
            m_i = j;
            return true;
        }
        if (c == '#') {
            ErrorCode e;
            if (std::size_t n = matchErrorLiteral(m_s.substr(m_i), e)) {
                t.kind = TokenKind::Error;
                t.error = e;
                m_i += n;
                return true;
            }
        }
        if (isR1C1(m_style)) {
            if (tryR1C1(t)) return true;
        } else if (c == '$' || c == '#' || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) {
            if (tryA1(t)) return true;
        }
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_') {
            std::size_t j = m_i;
            while (j < m_s.size() && isNameChar(m_s[j]))
                ++j;
            t.kind = TokenKind::Name;
            t.text = std::string(m_s.substr(m_i, j - m_i));
            m_i = j;
            return true;
        }
        auto two = [&](char second) { return m_i + 1 < m_s.size() && m_s[m_i + 1] == second; };
        TokenKind k;
        std::size_t len = 1;
        switch (c) {
        case '+':
            k = TokenKind::Plus;
            break;
        case '-':
            k = TokenKind::Minus;
            break;
        case '*':
            k = TokenKind::Star;
            break;
        case '/':
            k = TokenKind::Slash;
            break;
        case '^':
            k = TokenKind::Caret;
            break;
        case '&':
            k = TokenKind::Amp;
            break;
        case '%':
            k = TokenKind::Percent;
            break;
        case '=':
            k = TokenKind::Eq;
            break;
        case '<':
            if (two('>'))
                k = TokenKind::Ne, len = 2;
            else if (two('='))
                k = TokenKind::Le, len = 2;
            else
                k = TokenKind::Lt;
            break;
        case '>':
            if (two('='))
                k = TokenKind::Ge, len = 2;
            else
                k = TokenKind::Gt;
            break;
        case '(':
            k = TokenKind::LParen;
            break;
        case ')':
            k = TokenKind::RParen;
            break;
        case ',':
        case ';':
            k = TokenKind::Comma;
            break;
        case ':':
            k = TokenKind::Colon;
            break;
        default:
            return fail(ParseErrorCode::UnexpectedCharacter, m_i,
                        std::string("unexpected character '") + c + "'");
        }
        t.kind = k;
        m_i += len;
        return true;
    }

    std::string_view m_s;
    RefStyle m_style;
    CellPos m_host;
    ParseError& m_err;
    std::size_t m_i = 0;
};

} // namespace

bool tokenize(std::string_view text, RefStyle style, CellPos host, std::vector<Token>& out, ParseError& err) {
    out.clear();
    return Lexer(text, style, host, err).run(out);
}

} // namespace sheet
