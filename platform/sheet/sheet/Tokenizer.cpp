#include "sheet/Tokenizer.h"

#include <charconv>
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
        : s_(s)
        , style_(style)
        , host_(host)
        , err_(err) {}

    bool run(std::vector<Token>& out) {
        while (true) {
            while (i_ < s_.size() && (s_[i_] == ' ' || s_[i_] == '\t' || s_[i_] == '\r' || s_[i_] == '\n'))
                ++i_;
            Token t;
            t.pos = int(i_);
            if (i_ >= s_.size()) {
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
        err_ = ParseError{code, int(pos), std::move(msg)};
        return false;
    }

    // Digits of a row number or column offset; false when none.
    bool readInt(std::size_t& j, long& v) {
        std::size_t start = j;
        v = 0;
        while (j < s_.size() && isDigit(s_[j])) {
            if (v > kMaxRowLimit * 10L) return false;
            v = v * 10 + (s_[j] - '0');
            ++j;
        }
        return j > start;
    }

    // A reference must not run on into a name or a call: "A1B", "LOG10(".
    bool refEndsAt(std::size_t j) const {
        if (j < s_.size() && (isNameChar(s_[j]) || s_[j] == '(' || s_[j] == '#' || s_[j] == '$'))
            return false;
        return true;
    }

    // A1 and default style: [$]letters|# [$]digits|#
    bool tryA1(Token& t) {
        std::size_t j = i_;
        RefAxis col, row;
        bool colAbs = false, rowAbs = false;
        if (j < s_.size() && s_[j] == '$') colAbs = true, ++j;
        if (style_ == RefStyle::Default && j < s_.size() && s_[j] == '#' && !colAbs) {
            col.mode = AxisMode::Current;
            ++j;
        } else {
            int c = 0;
            std::size_t n = parseColumnLetters(s_.substr(j), c);
            if (n == 0) return false;
            j += n;
            col = colAbs ? RefAxis{AxisMode::Absolute, c} : RefAxis{AxisMode::Relative, c - host_.col};
        }
        if (j < s_.size() && s_[j] == '$') rowAbs = true, ++j;
        if (style_ == RefStyle::Default && j < s_.size() && s_[j] == '#' && !rowAbs) {
            if (col.mode == AxisMode::Current) return false; // "##" is not a reference
            row.mode = AxisMode::Current;
            ++j;
        } else {
            long r = 0;
            if (!readInt(j, r)) return false;
            if (r < 1 || r > kMaxRowLimit) return false;
            row = rowAbs ? RefAxis{AxisMode::Absolute, int(r)}
                         : RefAxis{AxisMode::Relative, int(r) - host_.row};
        }
        if (!refEndsAt(j)) return false;
        t.kind = TokenKind::Ref;
        t.col = col;
        t.row = row;
        i_ = j;
        return true;
    }

    // One R1C1 axis after its letter: "", "3", "[-1]".
    bool r1c1Axis(std::size_t& j, RefAxis& a, int limit) {
        if (j < s_.size() && s_[j] == '[') {
            ++j;
            bool neg = false;
            if (j < s_.size() && (s_[j] == '-' || s_[j] == '+')) neg = s_[j] == '-', ++j;
            long v = 0;
            if (!readInt(j, v) || j >= s_.size() || s_[j] != ']' || v > limit) return false;
            ++j;
            a = {AxisMode::Relative, int(neg ? -v : v)};
            return true;
        }
        if (style_ == RefStyle::R1C1Exact && j < s_.size() && s_[j] == '#') {
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
        std::size_t j = i_;
        if (j >= s_.size() || (s_[j] != 'R' && s_[j] != 'r')) return false;
        ++j;
        RefAxis row, col;
        if (!r1c1Axis(j, row, kMaxRowLimit)) return false;
        if (j >= s_.size() || (s_[j] != 'C' && s_[j] != 'c')) return false;
        ++j;
        if (!r1c1Axis(j, col, kMaxColLimit)) return false;
        if (!refEndsAt(j)) return false;
        t.kind = TokenKind::Ref;
        t.col = col;
        t.row = row;
        i_ = j;
        return true;
    }

    bool next(Token& t) {
        char c = s_[i_];
        if (isDigit(c) || (c == '.' && i_ + 1 < s_.size() && isDigit(s_[i_ + 1]))) {
            std::size_t j = i_;
            while (j < s_.size() && (isDigit(s_[j]) || s_[j] == '.'))
                ++j;
            if (j < s_.size() && (s_[j] == 'e' || s_[j] == 'E')) {
                std::size_t k = j + 1;
                if (k < s_.size() && (s_[k] == '+' || s_[k] == '-')) ++k;
                if (k < s_.size() && isDigit(s_[k])) {
                    j = k;
                    while (j < s_.size() && isDigit(s_[j]))
                        ++j;
                }
            }
            double v = 0;
            auto r = std::from_chars(s_.data() + i_, s_.data() + j, v);
            if (r.ec == std::errc::result_out_of_range)
                return fail(ParseErrorCode::UnexpectedToken, i_, "number out of range");
            if (r.ec != std::errc() || r.ptr != s_.data() + j || !std::isfinite(v))
                return fail(ParseErrorCode::UnexpectedCharacter, i_, "malformed number");
            t.kind = TokenKind::Number;
            t.number = v;
            i_ = j;
            return true;
        }
        if (c == '"') {
            std::size_t j = i_ + 1;
            std::string text;
            while (true) {
                if (j >= s_.size())
                    return fail(ParseErrorCode::UnterminatedString, i_, "text without closing quote");
                if (s_[j] == '"') {
                    if (j + 1 < s_.size() && s_[j + 1] == '"') {
                        text += '"';
                        j += 2;
                        continue;
                    }
                    ++j;
                    break;
                }
                text += s_[j++];
            }
            t.kind = TokenKind::String;
            t.text = std::move(text);
            i_ = j;
            return true;
        }
        if (c == '#') {
            ErrorCode e;
            if (std::size_t n = matchErrorLiteral(s_.substr(i_), e)) {
                t.kind = TokenKind::Error;
                t.error = e;
                i_ += n;
                return true;
            }
        }
        if (isR1C1(style_)) {
            if (tryR1C1(t)) return true;
        } else if (c == '$' || c == '#' || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) {
            if (tryA1(t)) return true;
        }
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_') {
            std::size_t j = i_;
            while (j < s_.size() && isNameChar(s_[j]))
                ++j;
            t.kind = TokenKind::Name;
            t.text = std::string(s_.substr(i_, j - i_));
            i_ = j;
            return true;
        }
        auto two = [&](char second) { return i_ + 1 < s_.size() && s_[i_ + 1] == second; };
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
            return fail(ParseErrorCode::UnexpectedCharacter, i_,
                        std::string("unexpected character '") + c + "'");
        }
        t.kind = k;
        i_ += len;
        return true;
    }

    std::string_view s_;
    RefStyle style_;
    CellPos host_;
    ParseError& err_;
    std::size_t i_ = 0;
};

} // namespace

bool tokenize(std::string_view text, RefStyle style, CellPos host, std::vector<Token>& out, ParseError& err) {
    out.clear();
    return Lexer(text, style, host, err).run(out);
}

} // namespace sheet
