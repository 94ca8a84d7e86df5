// Drawing files: any text is read or refused without a crash, and a drawing that was read saves to a
// text that reads back to the same drawing, and saves again to the same text.
#include <cad/DrawingFile.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 1 << 20) return 0;
    std::string_view text(reinterpret_cast<const char*>(data), size);
    cad::Drawing d;
    std::string error;
    if (!cad::readDrawingText(text, d, "fuzz.dwg", &error)) {
        if (error.rfind("fuzz.dwg:", 0) != 0) std::abort(); // every refusal names the file and line
        return 0;
    }
    std::string saved = cad::drawingText(d);
    cad::Drawing back;
    if (!cad::readDrawingText(saved, back, "saved.dwg", &error)) std::abort();
    if (!back.sameContent(d)) std::abort();
    if (cad::drawingText(back) != saved) std::abort();
    // The index holds every lasting entity but the groups.
    std::size_t indexed = 0;
    for (AcDbObjectId id : d.ids())
        if (d.get(id)->kind() != cad::EntityKind::MacroGroup && !d.get(id)->extents().isEmpty()) ++indexed;
    if (d.overlapping(cad::Extents{{-2e9, -2e9, -2e9}, {2e9, 2e9, 2e9}}).size() != indexed) std::abort();
    return 0;
}
