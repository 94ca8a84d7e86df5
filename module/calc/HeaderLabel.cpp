#include "calc/HeaderLabel.h"

#include <base/NumberText.h>

#include <algorithm>

namespace {

bool sameWord(const std::string& a, const char* b) {
    return Vor_String(a).toLower() == Vor_String(b).toLower();
}

// Takes the first occurrence of `code` out of `text`; true when there was one.
bool takeCode(std::string& text, const char* code) {
    const std::size_t at = text.find(code);
    if (at == std::string::npos) return false;
    text.erase(at, std::char_traits<char>::length(code));
    return true;
}

// Takes the first `code` followed by a quoted argument out of `text`: /F"Arial". A code without
// its closing quote stays in the text, as it is no code.
std::optional<std::string> takeQuotedCode(std::string& text, const char* code) {
    const std::string open = std::string(code) + '"';
    const std::size_t at = text.find(open);
    if (at == std::string::npos) return std::nullopt;
    const std::size_t from = at + open.size();
    const std::size_t close = text.find('"', from);
    if (close == std::string::npos) return std::nullopt;
    std::string arg = text.substr(from, close - from);
    text.erase(at, close + 1 - at);
    return arg;
}

} // namespace

std::string expandLabelPlaceholders(const std::string& text, int page, const LabelContext& context) {
    std::string out;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t open = text.find('%', pos);
        if (open == std::string::npos) break;
        const std::size_t close = text.find('%', open + 1);
        if (close == std::string::npos) break;
        out.append(text, pos, open - pos);
        const std::string word = text.substr(open + 1, close - open - 1);
        std::optional<std::string> value;
        if (sameWord(word, "currentPage"))
            value = std::to_string(page);
        else if (sameWord(word, "totalPages"))
            value = std::to_string(context.totalPages);
        else if (!word.empty()) {
            const Vor_String key = Vor_String(word).toLower();
            const int n = std::min(context.varNames.length(), context.varValues.length());
            for (int i = 0; i < n && !value; ++i)
                if (context.varNames[i].toLower() == key) value = context.varValues[i].str();
        }
        if (value) {
            out += *value;
            pos = close + 1;
        } else {
            // Not a placeholder: the first '%' stays, and the second may open the next one.
            out += '%';
            pos = open + 1;
        }
    }
    out.append(text, pos, std::string::npos);
    return out;
}

RenderedLabel renderHeaderLabel(const std::string& text, int page, const LabelContext& context) {
    RenderedLabel r;
    std::string t = expandLabelPlaceholders(text, page, context);
    const bool left = takeCode(t, "/L");
    const bool center = takeCode(t, "/C");
    const bool right = takeCode(t, "/R");
    r.align = right ? LabelAlign::Right : center ? LabelAlign::Center : LabelAlign::Left;
    (void)left; // left is also what no code gives
    r.face = takeQuotedCode(t, "/F");
    if (auto h = takeQuotedCode(t, "/TH")) {
        double v = 0;
        if (base::readTypedNumber(*h, v) == base::TypedNumber::Number && v > 0) r.height = v;
    }
    if (takeCode(t, "/B")) r.bold = true;
    if (takeCode(t, "/I")) r.italic = true;
    if (takeCode(t, "/UL")) r.underline = true;
    if (takeCode(t, "/NB")) r.bold = false;
    if (takeCode(t, "/NI")) r.italic = false;
    if (takeCode(t, "/NUL")) r.underline = false;
    r.text = std::move(t);
    return r;
}
