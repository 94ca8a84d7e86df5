// The cutting stock exchange files: any bytes split into rows, read as parts and stock lengths,
// without a crash or a hang; rows written back read back the same.
#include <cut/CutFiles.h>

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::vector<cut::Row> rows = cut::splitRows(bytes);
    std::vector<cut::FileMessage> messages;
    const std::vector<cut::Part> parts = cut::readParts(rows, messages);
    for (const cut::Part& p : parts)
        if (!(p.length > 0) || p.quantity < 1) std::abort(); // only usable parts come through
    messages.clear();
    const std::vector<cut::StockLength> stock = cut::readStock(rows, messages);
    for (const cut::StockLength& s : stock)
        if (!(s.length > 0) || s.cost < 0) std::abort();

    // A carriage return ends a line when it stands last, and a leading byte order mark is dropped:
    // rows holding those cannot come back unchanged, all others must.
    bool plain = true;
    for (const cut::Row& r : rows)
        for (const std::string& f : r)
            plain = plain && f.find('\r') == std::string::npos;
    if (!rows.empty() && rows[0][0].rfind("\xEF\xBB\xBF", 0) == 0) plain = false;
    if (plain && cut::splitRows(cut::joinRows(rows)) != rows) std::abort();

    // The parts read back from their own rows are the same parts.
    std::vector<cut::FileMessage> again;
    const std::vector<cut::Part> back =
        cut::readParts(cut::splitRows(cut::joinRows(cut::partRows(parts))), again);
    if (back.size() != parts.size() || !again.empty()) std::abort();
    return 0;
}
