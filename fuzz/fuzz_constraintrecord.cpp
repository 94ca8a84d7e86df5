// The constraint record a macro group keeps: any text is read into the record or refused with a
// reason, never a crash; what is read is written and read back to the same record.
#include <host/MacroConstraints.h>

#include <nlohmann/json.hpp>

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 1 << 20) return 0;
    const nlohmann::json j =
        nlohmann::json::parse(std::string_view(reinterpret_cast<const char*>(data), size), nullptr, false);
    if (j.is_discarded()) return 0;
    EditConstrData record;
    try {
        from_json(j, record);
    } catch (const std::exception& e) {
        if (std::string_view(e.what()).empty()) std::abort(); // a refusal says why
        return 0;
    }
    nlohmann::json again = record;
    EditConstrData back;
    from_json(again, back);
    if (!(back == record)) std::abort();
    return 0;
}
