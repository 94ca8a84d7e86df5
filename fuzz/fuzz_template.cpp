// Designed-dialog templates from other people's machines: any file text loads into a sane list of
// controls or is refused, and the tab order of what loads is always computed.

#include "designer/TabOrder.h"
#include "designer/TemplateReader.h"

#include <host/Vor_PropertiesList.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Vor_PropertiesList props;
    props.fromText(std::string_view(reinterpret_cast<const char*>(data), size), "fuzz");
    std::vector<Vor_DesignerControl> controls;
    if (!readTemplateControls(props, controls)) return 0;
    if (controls.size() > static_cast<std::size_t>(kMaxTemplateControls)) std::abort();
    for (const Vor_DesignerControl& c : controls) {
        for (double f : {c.topLeftX, c.topLeftY, c.bottomRightX, c.bottomRightY})
            if (!std::isfinite(f) || std::fabs(f) > 2.0) std::abort();
        if (c.contents.length() > kMaxTemplateTextBytes) std::abort();
        // what is merged splits back into the same fields
        Vor_DesignerControl back;
        back.type = c.type;
        back.setSplitExtComboList(c.getMergedExtComboList());
        if (back.getMergedExtComboList() != c.getMergedExtComboList()) std::abort();
    }
    sortTabOrder(controls);
    std::set<int> positions;
    for (const Vor_DesignerControl& c : controls)
        if (c.tabOrder > 0 && !positions.insert(c.tabOrder).second) std::abort();
    return 0;
}
