#pragma once
// JSON forms of the host vocabulary, so that vorhost can hand data from a file to the launchers.
// Reading throws nlohmann::json exceptions with a message that says what is wrong.

#include <host/Vor_Array.h>
#include <host/Vor_PropertiesList.h>
#include <host/Vor_String.h>
#include <host/Vor_StringArray.h>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <limits>
#include <string>
#include <type_traits>

/// A whole number from JSON in [lo, hi]. Throws a json error naming `what` when the value is no
/// number (a text, a boolean, null), has a fraction, or lies outside the range (1e20 for a 16-bit
/// style, an infinity): data from outside is never converted to an integer
/// type it does not fit.
long long jsonInteger(const nlohmann::json& value, const std::string& what, long long lo, long long hi);
/// A finite number from JSON in [lo, hi]; throws as jsonInteger does.
double jsonNumber(const nlohmann::json& value, const std::string& what, double lo, double hi);

/// The largest value of T that a long long holds.
template <class T> constexpr long long jsonIntegerMax() {
    return static_cast<long long>(
        std::min<unsigned long long>(std::numeric_limits<T>::max(), std::numeric_limits<long long>::max()));
}

/// A JSON string.
void to_json(nlohmann::json& j, const Vor_String& s);
void from_json(const nlohmann::json& j, Vor_String& s);

/// A JSON array of strings.
void to_json(nlohmann::json& j, const Vor_StringArray& a);
void from_json(const nlohmann::json& j, Vor_StringArray& a);

/// A JSON array of the items' JSON forms.
template <class T> void to_json(nlohmann::json& j, const Vor_Array<T>& a) {
    j = nlohmann::json::array();
    for (const T& item : a)
        j.push_back(item);
}
template <class T> void from_json(const nlohmann::json& j, Vor_Array<T>& a) {
    if (!j.is_array()) throw nlohmann::json::type_error::create(302, "expected an array", &j);
    Vor_Array<T> result;
    for (const auto& item : j) {
        if constexpr (std::is_integral_v<T> && !std::is_same_v<T, bool>)
            result.append(static_cast<T>(jsonInteger(item, "an array item",
                                                     static_cast<long long>(std::numeric_limits<T>::min()),
                                                     jsonIntegerMax<T>())));
        else
            result.append(item.template get<T>());
    }
    a = std::move(result);
}

/// An array of {"name": ..., "type": "int" | "double" | "text", "value": ...} in list order.
void to_json(nlohmann::json& j, const Vor_PropertiesList& list);
void from_json(const nlohmann::json& j, Vor_PropertiesList& list);

/// Member `key` of a JSON object as jsonInteger reads it, as a T; `fallback` when there is no such
/// member. The range is narrowed to what T holds.
template <class T>
T jsonMember(const nlohmann::json& object, const std::string& key, T fallback,
             long long lo = static_cast<long long>(std::numeric_limits<T>::min()),
             long long hi = jsonIntegerMax<T>()) {
    static_assert(std::is_integral_v<T> && !std::is_same_v<T, bool>);
    if (!object.is_object()) return fallback;
    const auto found = object.find(key);
    if (found == object.end()) return fallback;
    lo = std::max(lo, static_cast<long long>(std::numeric_limits<T>::min()));
    hi = std::min(hi, jsonIntegerMax<T>());
    return static_cast<T>(jsonInteger(*found, key, lo, hi));
}
