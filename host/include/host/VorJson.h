#pragma once
// JSON forms of the host vocabulary, so that vorhost can hand data from a file to the launchers.
// Reading throws nlohmann::json exceptions with a message that says what is wrong.

#include <host/Vor_Array.h>
#include <host/Vor_PropertiesList.h>
#include <host/Vor_String.h>
#include <host/Vor_StringArray.h>

#include <nlohmann/json.hpp>

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
    for (const auto& item : j)
        result.append(item.template get<T>());
    a = std::move(result);
}

/// An array of {"name": ..., "type": "int" | "double" | "text", "value": ...} in list order.
void to_json(nlohmann::json& j, const Vor_PropertiesList& list);
void from_json(const nlohmann::json& j, Vor_PropertiesList& list);
