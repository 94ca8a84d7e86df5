// The JSON that hands data to the launchers (host vocabulary: texts, text lists, property lists) and
// the property list's own file form. Malformed input must be refused with an exception or an error
// status, never a crash; what is accepted must survive its own round trip.
#include <host/VorJson.h>
#include <host/Vor_PropertiesList.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

using nlohmann::json;

namespace {
template <class T> void roundTrip(const json& j) {
    T value;
    try {
        value = j.get<T>();
    } catch (const json::exception&) {
        return; // refused with a message: fine
    }
    json out = value;
    T again = out.get<T>(); // what we write we must read; an exception here escapes and fails
    if (json(again) != out) std::abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1 || size > 1 << 20) return 0;
    std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    if (data[0] & 1) {
        // The property list's file form.
        Vor_PropertiesList list;
        std::string error;
        if (list.fromText(text, "fuzz", &error) == Acad::eOk) {
            Vor_PropertiesList again;
            if (again.fromText(list.toText(), "fuzz-written", &error) != Acad::eOk || !(again == list))
                std::abort();
        }
        return 0;
    }
    json j = json::parse(text.begin(), text.end(), nullptr, false);
    if (j.is_discarded()) return 0;
    roundTrip<Vor_String>(j);
    roundTrip<Vor_StringArray>(j);
    roundTrip<Vor_PropertiesList>(j);
    roundTrip<Vor_Array<Vor_StringArray>>(j);
    return 0;
}
