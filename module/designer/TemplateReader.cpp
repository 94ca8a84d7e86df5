#include "designer/TemplateReader.h"

#include <base/NumberText.h>

#include <array>
#include <cmath>
#include <string_view>

namespace {

enum Key { kType, kTopLeftX, kTopLeftY, kBottomRightX, kBottomRightY, kContents, kComboList, kKeyCount };
constexpr std::array<std::string_view, kKeyCount> kStems = {
    "type", "topLeftX", "topLeftY", "bottomRightX", "bottomRightY", "contents", "comboList"};

/// The key and control index of a template key ("topLeftX12"); false for any other name, also for
/// an index written with a leading zero or a sign, which the writer never produces.
bool splitKey(std::string_view name, int& key, long long& index) {
    for (int k = 0; k < kKeyCount; ++k) {
        const std::string_view stem = kStems[static_cast<std::size_t>(k)];
        if (name.size() <= stem.size() || name.substr(0, stem.size()) != stem) continue;
        const std::string_view digits = name.substr(stem.size());
        if (digits.size() > 1 && digits.front() == '0') return false;
        if (digits.size() > 12) return false;
        index = 0;
        for (const char c : digits) {
            if (c < '0' || c > '9') return false;
            index = index * 10 + (c - '0');
        }
        key = k;
        return true;
    }
    return false;
}

std::string factorText(double v) {
    std::string text;
    return std::isfinite(v) && base::formatShortest(v, text) ? text : std::string("not a finite number");
}

bool factorFits(double v) {
    return std::isfinite(v) && v >= kMinTemplateFactor && v <= kMaxTemplateFactor;
}

std::string tooLong(const std::string& what, std::size_t bytes) {
    return what + " holds " + std::to_string(bytes) + " bytes; a template text holds at most " +
           std::to_string(kMaxTemplateTextBytes);
}

std::string outside(const std::string& what, double v) {
    return what + " (" + factorText(v) + ") lies outside the picture by more than its size: edges run from " +
           "-1 to 2 picture widths or heights";
}

} // namespace

bool readTemplateControls(const Vor_PropertiesList& props, std::vector<Vor_DesignerControl>& controls,
                          std::string* error) {
    const auto fail = [error](const std::string& what) {
        if (error) *error = what;
        return false;
    };
    Vor_PropertiesList::Type kind;
    if (props.getType("nrOfControls", kind) != Acad::eOk)
        return fail("there is no nrOfControls: this is no dialog template");
    int n = 0;
    if (props.getProperty("nrOfControls", n) != Acad::eOk) return fail("nrOfControls is not a whole number");
    if (n < 0) return fail("nrOfControls is negative (" + std::to_string(n) + ")");
    if (n > kMaxTemplateControls)
        return fail("nrOfControls is " + std::to_string(n) + "; a template holds at most " +
                    std::to_string(kMaxTemplateControls) + " controls");

    // Every key must belong to a counted control and hold its kind of value: what is not taken in
    // would be lost on the next save.
    std::vector<char> hasKey(static_cast<std::size_t>(n), 0);
    for (const Vor_PropertiesList::Entry& e : props.entries()) {
        const std::string& name = e.name.str();
        if (name == "nrOfControls") continue;
        int key = 0;
        long long index = 0;
        if (!splitKey(name, key, index)) return fail("'" + name + "' is not a key of a dialog template");
        if (index >= n)
            return fail("'" + name + "' belongs to control " + std::to_string(index) +
                        ", but nrOfControls is " + std::to_string(n));
        const bool text = std::holds_alternative<Vor_String>(e.value);
        const bool whole = std::holds_alternative<int>(e.value);
        if (key == kType && !whole) return fail("'" + name + "' is not a whole number");
        if ((key == kContents || key == kComboList) && !text) return fail("'" + name + "' is not a text");
        if (key != kType && key != kContents && key != kComboList && text)
            return fail("'" + name + "' is not a number");
        if (text && std::get<Vor_String>(e.value).length() > kMaxTemplateTextBytes)
            return fail(
                tooLong("'" + name + "'", static_cast<std::size_t>(std::get<Vor_String>(e.value).length())));
        if (const double* d = std::get_if<double>(&e.value); d && !factorFits(*d))
            return fail(outside("'" + name + "'", *d));
        if (whole && key != kType && !factorFits(std::get<int>(e.value)))
            return fail(outside("'" + name + "'", std::get<int>(e.value)));
        hasKey[static_cast<std::size_t>(index)] = 1;
    }
    for (int i = 0; i < n; ++i)
        if (!hasKey[static_cast<std::size_t>(i)])
            return fail("control " + std::to_string(i) + " of " + std::to_string(n) +
                        " has no keys: the file ends early or nrOfControls is wrong");

    std::vector<Vor_DesignerControl> read(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        read[static_cast<std::size_t>(i)].getFromPropList(props, i);
    controls = std::move(read);
    return true;
}

std::string templateWriteFault(const std::vector<Vor_DesignerControl>& controls) {
    if (controls.size() > static_cast<std::size_t>(kMaxTemplateControls))
        return "there are " + std::to_string(controls.size()) + " controls; a template holds at most " +
               std::to_string(kMaxTemplateControls);
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const Vor_DesignerControl& c = controls[i];
        std::string which = "control " + std::to_string(i + 1);
        if (!c.contents.isEmpty() && c.contents.length() <= 40) which += " (" + c.contents.str() + ")";
        if (c.contents.length() > kMaxTemplateTextBytes)
            return tooLong("the text of " + which, static_cast<std::size_t>(c.contents.length()));
        if (const Vor_String list = c.getMergedExtComboList(); list.length() > kMaxTemplateTextBytes)
            return tooLong("the list of " + which, static_cast<std::size_t>(list.length()));
        for (double f : {c.topLeftX, c.topLeftY, c.bottomRightX, c.bottomRightY})
            if (!factorFits(f)) return outside(which, f);
    }
    return {};
}

Vor_PropertiesList templateProperties(const std::vector<Vor_DesignerControl>& controls) {
    Vor_PropertiesList props;
    props.setProperty("nrOfControls", static_cast<int>(controls.size()));
    for (std::size_t i = 0; i < controls.size(); ++i)
        controls[i].setToPropList(props, static_cast<int>(i));
    return props;
}
