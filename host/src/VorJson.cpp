#include <host/VorJson.h>

#include <cmath>
#include <cstdint>
#include <limits>

using nlohmann::json;

void to_json(json& j, const Vor_String& s) {
    j = s.str();
}

void from_json(const json& j, Vor_String& s) {
    if (!j.is_string())
        throw json::type_error::create(302, "expected a string, not " + std::string(j.type_name()), &j);
    s = Vor_String(j.get<std::string>());
}

void to_json(json& j, const Vor_StringArray& a) {
    j = json::array();
    for (const Vor_String& s : a)
        j.push_back(s.str());
}

void from_json(const json& j, Vor_StringArray& a) {
    if (!j.is_array()) throw json::type_error::create(302, "expected an array of strings", &j);
    Vor_StringArray result;
    for (const json& item : j)
        result.append(item.get<Vor_String>());
    a = std::move(result);
}

void to_json(json& j, const Vor_PropertiesList& list) {
    j = json::array();
    for (const auto& e : list.entries()) {
        json item = {{"name", e.name.str()}};
        if (const auto* text = std::get_if<Vor_String>(&e.value)) {
            item["type"] = "text";
            item["value"] = text->str();
        } else if (const int* n = std::get_if<int>(&e.value)) {
            item["type"] = "int";
            item["value"] = *n;
        } else {
            item["type"] = "double";
            item["value"] = std::get<double>(e.value);
        }
        j.push_back(std::move(item));
    }
}

void from_json(const json& j, Vor_PropertiesList& list) {
    if (!j.is_array()) throw json::type_error::create(302, "a property list must be an array", &j);
    Vor_PropertiesList result;
    for (const json& item : j) {
        if (!item.is_object()) throw json::type_error::create(302, "a property must be an object", &item);
        const Vor_String name = item.at("name").get<Vor_String>();
        const std::string type = item.at("type").get<std::string>();
        const json& value = item.at("value");
        if (name.isEmpty()) throw json::other_error::create(501, "a property needs a name", &item);
        if (result.hasProperty(name))
            throw json::other_error::create(501, "property '" + name.str() + "' is given twice", &item);
        if (type == "text") {
            result.setProperty(name, value.get<Vor_String>());
        } else if (type == "int") {
            constexpr auto lo = std::numeric_limits<int>::min(), hi = std::numeric_limits<int>::max();
            const bool fits = value.is_number_unsigned() ? value.get<std::uint64_t>() <= std::uint64_t(hi)
                              : value.is_number_integer()
                                  ? value.get<std::int64_t>() >= lo && value.get<std::int64_t>() <= hi
                                  : false;
            if (!fits)
                throw json::type_error::create(302, "property '" + name.str() + "' needs an int value",
                                               &value);
            result.setProperty(name, value.get<int>());
        } else if (type == "double") {
            if (!value.is_number())
                throw json::type_error::create(302, "property '" + name.str() + "' needs a number", &value);
            // A number beyond the double range parses as an infinity, which no file can hold.
            if (result.setProperty(name, value.get<double>()) != Acad::eOk)
                throw json::type_error::create(302, "property '" + name.str() + "' needs a finite number",
                                               &value);
        } else {
            throw json::other_error::create(
                501, "property '" + name.str() + "' has unknown type '" + type + "'", &item);
        }
    }
    list = std::move(result);
}

namespace {
[[noreturn]] void outOfRange(const std::string& what, const json& value, const std::string& range) {
    throw json::out_of_range::create(406, what + ": " + value.dump() + " is not " + range, &value);
}
} // namespace

long long jsonInteger(const json& value, const std::string& what, long long lo, long long hi) {
    const std::string range = "a whole number from " + std::to_string(lo) + " to " + std::to_string(hi);
    if (value.is_number_unsigned()) {
        const std::uint64_t n = value.get<std::uint64_t>();
        if (hi < 0 || n > static_cast<std::uint64_t>(hi)) outOfRange(what, value, range);
        if (static_cast<long long>(n) < lo) outOfRange(what, value, range);
        return static_cast<long long>(n);
    }
    if (value.is_number_integer()) {
        const std::int64_t n = value.get<std::int64_t>();
        if (n < lo || n > hi) outOfRange(what, value, range);
        return n;
    }
    if (!value.is_number_float()) outOfRange(what, value, range);
    // Compared as doubles only inside the range of long long, where the conversion is defined.
    const double d = value.get<double>();
    if (!std::isfinite(d) || d != std::trunc(d) || d < -0x1p63 || d >= 0x1p63) outOfRange(what, value, range);
    const long long n = static_cast<long long>(d);
    if (n < lo || n > hi) outOfRange(what, value, range);
    return n;
}

double jsonNumber(const json& value, const std::string& what, double lo, double hi) {
    const double d = value.is_number() ? value.get<double>() : std::nan("");
    if (!(std::isfinite(d) && d >= lo && d <= hi))
        outOfRange(what, value, "a number from " + json(lo).dump() + " to " + json(hi).dump());
    return d;
}
