// vorcut's reading of an entry folder: the bytes become the folder's parts file and, after a byte
// 0x00 0x00 if there is one, its stock file; the newest of each is read within the budgets, parsed
// into parts and stock lengths, and those the optimiser takes are planned with a short time limit.
// No crash, no hang, and only usable parts and stock come through.
#include <cut/CutFiles.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {
std::string folder() {
    static const std::string dir = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "fuzz-cutfolder-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) std::abort();
        return pattern + "/";
    }();
    return dir;
}
void write(const std::string& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string dir = folder();
    const std::size_t split = bytes.find(std::string_view("\0\0", 2));
    write(dir + "Stock1.shp", bytes.substr(0, split));
    std::error_code ec;
    std::filesystem::remove(dir + "Stock1.stk", ec);
    if (split != std::string_view::npos) write(dir + "Stock1.stk", bytes.substr(split + 2));

    cut::FolderInput in;
    const bool read = cut::readFolder(dir, {{6000, 1, -1}, {12000, 2, -1}}, in);
    if (!read && in.error.empty()) std::abort(); // a refusal says why
    for (const cut::Part& p : in.parts)
        if (!(p.length > 0) || p.quantity < 1) std::abort();
    for (const cut::StockLength& s : in.stock)
        if (!(s.length > 0) || !(s.cost >= 0)) std::abort();
    if (in.messages.size() > 2002) std::abort(); // 1000 each, and one line that counts the rest
    if (!read) return 0;
    cut::Settings s;
    s.timeLimit = 0.2;
    const cut::Result r = cut::optimise(in.parts, in.stock, s);
    if (!r.patterns.empty() && !cut::checkPlan(in.parts, in.stock, s, r).empty()) std::abort();
    return 0;
}
