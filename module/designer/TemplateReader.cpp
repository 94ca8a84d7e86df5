#include "designer/TemplateReader.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace {
double saneFactor(double v) {
    if (!std::isfinite(v)) return 0.0;
    return std::clamp(v, -1.0, 2.0);
}

Vor_String saneText(const Vor_String& s) {
    if (s.length() <= kMaxTemplateTextBytes) return s;
    const std::string& full = s.str();
    // never end inside a character: back up while the first byte left out continues one
    std::size_t end = kMaxTemplateTextBytes;
    while (end > 0 && (static_cast<unsigned char>(full[end]) & 0xC0) == 0x80)
        --end;
    return Vor_String(full.substr(0, end));
}
} // namespace

bool readTemplateControls(const Vor_PropertiesList& props, std::vector<Vor_DesignerControl>& controls) {
    int n = 0;
    props.getProperty("nrOfControls", n);
    if (n > kMaxTemplateControls) return false;
    std::vector<Vor_DesignerControl> read;
    read.reserve(static_cast<std::size_t>(std::max(n, 0)));
    for (int i = 0; i < n; ++i) {
        Vor_DesignerControl c;
        c.getFromPropList(props, i);
        for (double* f : {&c.topLeftX, &c.topLeftY, &c.bottomRightX, &c.bottomRightY})
            *f = saneFactor(*f);
        for (Vor_String* s : {&c.contents, &c.comboList, &c.flexGroup, &c.flexField2, &c.flexField3,
                              &c.cellName, &c.cellField2, &c.cellField3, &c.cellField4})
            *s = saneText(*s);
        read.push_back(std::move(c));
    }
    controls = std::move(read);
    return true;
}
