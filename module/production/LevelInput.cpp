#include "production/LevelInput.h"

#include <host/KrLevelsDlgData.h>

#include <base/NumberText.h>

double readLevelValue(const Vor_String& text) {
    double value = 0;
    if (base::readTypedNumber(text.view(), value) == base::TypedNumber::Number) return value;
    return base::parseLeadingNumber(text.view());
}

Vor_String formatLevelValue(double value) {
    std::string out;
    return base::formatFixed(value, 3, out) ? Vor_String(out) : Vor_String();
}

bool levelNameTaken(const Vor_StringArray& names, const Vor_String& name) {
    return name.equal(KrLevelsDlgData::kWorldName, false) || names.contains(name, false);
}

bool askNewLevelName(const Vor_StringArray& names, Vor_String& name,
                     const std::function<bool(Vor_String&)>& ask, const std::function<void()>& refuse) {
    for (int asked = 0; asked < kMaxLevelNameAsks; ++asked) {
        if (!ask(name)) return false;
        if (!levelNameTaken(names, name)) return true;
        refuse();
    }
    return false;
}
