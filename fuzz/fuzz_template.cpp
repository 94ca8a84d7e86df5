// Designed-dialog templates from other people's machines: any file text is opened as the controls
// it describes or refused, what is opened is written back by the writer without a refusal and reads
// back the same, and the tab order of what loads is always computed.
//
// Input: the file text itself, or, after a first byte 0x01, a repetition: two bytes give a count,
// and the rest is a head and a body separated by the first NUL byte; the body is written count
// times after the head, each '@' in it replaced by the repetition's number. So small inputs reach
// the budgets (ten thousand controls, texts beyond 4096 bytes, files of a few hundred KB).

#include "designer/TabOrder.h"
#include "designer/TemplateReader.h"

#include <host/Vor_PropertiesList.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>
#include <string_view>

namespace {

constexpr std::size_t kMaxExpanded = std::size_t(1) << 20;

bool expand(std::string_view in, std::string& out) {
    if (in.empty() || in[0] != '\x01') {
        out.assign(in);
        return true;
    }
    if (in.size() < 3) return false;
    const unsigned count = static_cast<unsigned char>(in[1]) << 8 | static_cast<unsigned char>(in[2]);
    in.remove_prefix(3);
    const std::size_t nul = in.find('\0');
    const std::string_view head = in.substr(0, nul);
    const std::string_view body = nul == std::string_view::npos ? std::string_view() : in.substr(nul + 1);
    out.assign(head);
    for (unsigned k = 0; k < count; ++k) {
        for (char c : body) {
            if (c == '@')
                out += std::to_string(k);
            else
                out += c;
        }
        if (out.size() > kMaxExpanded) return false;
    }
    return true;
}

bool same(const Vor_DesignerControl& a, const Vor_DesignerControl& b) {
    return a.type == b.type && a.topLeftX == b.topLeftX && a.topLeftY == b.topLeftY &&
           a.bottomRightX == b.bottomRightX && a.bottomRightY == b.bottomRightY && a.contents == b.contents &&
           a.getMergedExtComboList() == b.getMergedExtComboList();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string text;
    if (!expand(std::string_view(reinterpret_cast<const char*>(data), size), text)) return 0;
    Vor_PropertiesList props;
    if (props.fromText(text, "fuzz") != Acad::eOk) return 0;
    std::vector<Vor_DesignerControl> controls;
    std::string error;
    if (!readTemplateControls(props, controls, &error)) {
        if (error.empty()) std::abort(); // a refusal says why
        return 0;
    }
    if (controls.size() > static_cast<std::size_t>(kMaxTemplateControls)) std::abort();
    // no amplification: every control comes from at least one key of the file
    if (controls.size() > static_cast<std::size_t>(props.length())) std::abort();
    for (const Vor_DesignerControl& c : controls) {
        for (double f : {c.topLeftX, c.topLeftY, c.bottomRightX, c.bottomRightY})
            if (!std::isfinite(f) || f < kMinTemplateFactor || f > kMaxTemplateFactor) std::abort();
        if (c.contents.length() > kMaxTemplateTextBytes) std::abort();
        if (c.getMergedExtComboList().length() > kMaxTemplateTextBytes) std::abort();
    }
    // what was opened can be saved, and the saved file opens as the same controls
    if (!templateWriteFault(controls).empty()) std::abort();
    Vor_PropertiesList written;
    if (written.fromText(templateProperties(controls).toText(), "written") != Acad::eOk) std::abort();
    std::vector<Vor_DesignerControl> back;
    if (!readTemplateControls(written, back)) std::abort();
    if (back.size() != controls.size()) std::abort();
    for (std::size_t i = 0; i < back.size(); ++i)
        if (!same(back[i], controls[i])) std::abort();
    sortTabOrder(controls);
    std::set<int> positions;
    for (const Vor_DesignerControl& c : controls)
        if (c.tabOrder > 0 && !positions.insert(c.tabOrder).second) std::abort();
    return 0;
}
