#include "calc/HeaderLabel.h"

#include <base/NumberText.h>

#include <algorithm>

namespace {

bool sameWord(const std::string& a, const char* b) {
    return a.size() == std::char_traits<char>::length(b) &&
           Vor_String(a).toLower() == Vor_String(b).toLower();
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

const Vor_String* LabelContext::variable(const std::string& word) const {
    if (!m_index) {
        auto index = std::make_shared<std::unordered_map<std::string, int>>();
        const int n = std::min(varNames.length(), varValues.length());
        for (int i = 0; i < n; ++i)
            index->emplace(varNames[i].toLower().str(), i);
        m_index = std::move(index);
    }
    const auto found = m_index->find(Vor_String(word).toLower().str());
    return found == m_index->end() ? nullptr : &varValues[found->second];
}

std::string expandLabelPlaceholders(const std::string& text, int page, const LabelContext& context) {
    std::string out;
    // What may still be added: one byte past the budget tells that the label was cut.
    const auto room = [&] { return kMaxLabelBytes + 1 - std::min(out.size(), kMaxLabelBytes + 1); };
    std::size_t pos = 0;
    while (pos < text.size() && out.size() <= kMaxLabelBytes) {
        const std::size_t open = text.find('%', pos);
        if (open == std::string::npos) break;
        const std::size_t close = text.find('%', open + 1);
        if (close == std::string::npos) break;
        out.append(text, pos, std::min(open - pos, room()));
        const std::string word = text.substr(open + 1, close - open - 1);
        std::optional<std::string> value;
        if (sameWord(word, "currentPage"))
            value = std::to_string(page);
        else if (sameWord(word, "totalPages"))
            value = std::to_string(context.totalPages);
        else if (!word.empty()) {
            if (const Vor_String* v = context.variable(word)) value = v->str();
        }
        if (value) {
            // A value longer than what is left of the label is taken only as far as the label goes.
            out.append(*value, 0, room());
            pos = close + 1;
        } else {
            // Not a placeholder: the first '%' stays, and the second may open the next one.
            out += '%';
            pos = open + 1;
        }
    }
    if (pos < text.size()) out.append(text, pos, room());
    if (out.size() > kMaxLabelBytes) {
        // The rest of a label beyond its budget is cut, at the end of a character.
        std::size_t end = kMaxLabelBytes;
        while (end > 0 && (static_cast<unsigned char>(out[end]) & 0xC0) == 0x80)
            --end;
        out.resize(end);
    }
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
