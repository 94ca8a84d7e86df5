// Header and footer labels as they print: a label text and the table's variables, both from files
// that arrive with a table from another company. Input: the label, then variable names and values,
// separated by NUL bytes. Whatever the input, a label costs at most its budget: a label that repeats
// a long variable many times must not grow beyond it, and the rest of its work stays linear.
#include "calc/HeaderLabel.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 1 << 20) return 0; // the header file's own budget
    const std::string_view in(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> parts;
    std::size_t from = 0;
    while (true) {
        const std::size_t nul = in.find('\0', from);
        parts.emplace_back(
            in.substr(from, nul == std::string_view::npos ? std::string_view::npos : nul - from));
        if (nul == std::string_view::npos) break;
        from = nul + 1;
    }
    LabelContext context;
    context.totalPages = int(size % 1000);
    for (std::size_t i = 1; i + 1 < parts.size(); i += 2) {
        context.varNames.append(Vor_String(parts[i]));
        context.varValues.append(Vor_String(parts[i + 1]));
    }
    const std::string& label = parts[0];
    const std::string expanded = expandLabelPlaceholders(label, int(size % 7) + 1, context);
    if (expanded.size() > kMaxLabelBytes) std::abort();
    // A label without placeholders is itself, as far as its budget goes.
    if (label.find('%') == std::string::npos && label.size() <= kMaxLabelBytes && expanded != label)
        std::abort();
    const RenderedLabel r = renderHeaderLabel(label, 2, context);
    if (r.text.size() > kMaxLabelBytes) std::abort();
    if (r.height && !(*r.height > 0)) std::abort();
    return 0;
}
