// The bolt library: assemblies and their diameters for the bolt rows of the macro dialogs.

#include <host/MacroLibrary.h>

#include <host/Settings.h>

#include <base/FileRead.h>

#include <filesystem>
#include <mutex>
#include <sstream>

namespace {

std::vector<std::string> fields(const std::string& line) {
    std::vector<std::string> out;
    std::string f;
    std::istringstream s(line);
    while (std::getline(s, f, ';'))
        out.push_back(Vor_String(f).trim().str());
    if (!line.empty() && line.back() == ';') out.push_back("");
    return out;
}

} // namespace

bool parseBoltLibrary(std::string_view text, const std::string& source, std::vector<BoltAssembly>& out,
                      std::string* error) {
    std::vector<BoltAssembly> lib;
    int lineNo = 0;
    auto fail = [&](const std::string& why) {
        if (error) *error = source + ":" + std::to_string(lineNo) + ": " + why;
        return false;
    };
    if (text.size() > kMaxBoltLibraryBytes)
        return fail("the file is larger than " + std::to_string(kMaxBoltLibraryBytes >> 10) + " KiB");
    std::istringstream in{std::string(text)};
    std::string line;
    bool signature = false;
    while (std::getline(in, line)) {
        ++lineNo;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.size() > 1024) return fail("the line is longer than 1024 bytes");
        if (!signature) {
            if (line != "VORLANE BOLTS 1") return fail("the first line must be \"VORLANE BOLTS 1\"");
            signature = true;
            continue;
        }
        if (line.empty() || line[0] == '#') continue;
        const std::vector<std::string> f = fields(line);
        if (f[0] == "assembly") {
            if (f.size() != 4 || f[1].empty())
                return fail("an assembly line is \"assembly;name;standard;description\"");
            if (static_cast<int>(lib.size()) >= kMaxBoltAssemblies)
                return fail("more than " + std::to_string(kMaxBoltAssemblies) + " assemblies");
            for (const BoltAssembly& a : lib)
                if (a.name.str() == f[1]) return fail("the assembly \"" + f[1] + "\" is given twice");
            lib.push_back({Vor_String(f[1]), Vor_String(f[2]), Vor_String(f[3]), {}});
        } else if (f[0] == "size") {
            if (lib.empty()) return fail("a size line before the first assembly");
            if (f.size() != 10) return fail("a size line has 9 values after \"size\"");
            BoltAssembly::Size s;
            double* const values[] = {&s.diameter,  &s.pitch,          &s.headWidth,       &s.headHeight,
                                      &s.nutHeight, &s.washerDiameter, &s.washerThickness, &s.holeTolerance};
            // f[1] is the thread name ("M20"); its number must be the diameter
            if (f[1].size() < 2 || f[1][0] != 'M')
                return fail("\"" + f[1] + "\" is no thread name such as M20");
            for (int i = 0; i < 8; ++i) {
                bool ok = false;
                *values[i] = Vor_String(f[static_cast<std::size_t>(i) + 2]).toDouble(&ok);
                if (!ok || *values[i] < 0 || *values[i] > 1000)
                    return fail("value " + std::to_string(i + 2) + " (\"" +
                                f[static_cast<std::size_t>(i) + 2] + "\") is no number from 0 to 1000");
            }
            bool ok = false;
            if (Vor_String(f[1].substr(1)).toDouble(&ok) != s.diameter || !ok || s.diameter <= 0)
                return fail("the diameter " + f[2] + " does not match " + f[1]);
            if (static_cast<int>(lib.back().sizes.size()) >= kMaxBoltSizes)
                return fail("more than " + std::to_string(kMaxBoltSizes) + " sizes in one assembly");
            lib.back().sizes.push_back(s);
        } else
            return fail("a line begins with \"assembly\" or \"size\", not \"" + f[0] + "\"");
    }
    if (!signature) return fail("the file is empty");
    out = std::move(lib);
    return true;
}

std::vector<BoltAssembly> boltLibrary(std::string* error) {
    static std::mutex mutex;
    static std::string loadedPath;
    static std::filesystem::file_time_type loadedTime;
    static std::vector<BoltAssembly> loaded;
    const std::string path = gSettings.libDir.str() + "Bolts/assemblies.txt";
    std::error_code ec;
    const auto time = std::filesystem::last_write_time(path, ec);
    std::lock_guard lock(mutex);
    if (!ec && path == loadedPath && time == loadedTime) return loaded;
    std::string text;
    std::vector<BoltAssembly> lib;
    if (!base::readRegularFile(path, text, kMaxBoltLibraryBytes, error) ||
        !parseBoltLibrary(text, path, lib, error))
        return {};
    loadedPath = path;
    loadedTime = time;
    loaded = lib;
    return lib;
}

void GetAssemblies(Vor_StringArray& assemblies) {
    assemblies.removeAll();
    for (const BoltAssembly& a : boltLibrary())
        assemblies.append(a.name);
}

void GetDiameters(const Vor_String& assembly, Vor_StringArray& diameters) {
    diameters.removeAll();
    for (const BoltAssembly& a : boltLibrary())
        if (a.name == assembly)
            for (const BoltAssembly::Size& s : a.sizes)
                diameters.append(Vor_String(s.diameter, 0));
}
