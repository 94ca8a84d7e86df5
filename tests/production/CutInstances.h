#pragma once
// The benchmark instances of tests/production/data/instances: cutting-stock problems whose optimal
// bar count is known by construction (see make_instances.py there).
#include <cut/CuttingStock.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

struct CutInstance {
    std::string name;
    double capacity = 0;
    double kerf = 0;
    long long optimum = 0;
    std::vector<cut::Part> parts;
};

inline std::string cutInstanceFolder(const std::string& sourceRoot) {
    return sourceRoot + "/tests/production/data/instances/";
}

/// Reads one instance file: "capacity", "kerf" and "optimum" lines, then "length quantity" lines.
inline bool readCutInstance(const std::string& path, CutInstance& out) {
    std::ifstream in(path);
    if (!in) return false;
    out = {};
    out.name = std::filesystem::path(path).stem().string();
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream s(line);
        s.imbue(std::locale::classic());
        std::string word;
        s >> word;
        if (word == "capacity")
            s >> out.capacity;
        else if (word == "kerf")
            s >> out.kerf;
        else if (word == "optimum")
            s >> out.optimum;
        else {
            cut::Part p;
            p.length = std::stod(word);
            s >> p.quantity;
            p.mark = "P" + std::to_string(out.parts.size() + 1);
            out.parts.push_back(p);
        }
    }
    return out.capacity > 0 && out.optimum > 0 && !out.parts.empty();
}

/// The instances whose names begin with `prefix`, sorted by name.
inline std::vector<CutInstance> cutInstances(const std::string& sourceRoot, const std::string& prefix) {
    std::vector<std::string> files;
    for (const auto& e : std::filesystem::directory_iterator(cutInstanceFolder(sourceRoot))) {
        const std::string name = e.path().filename().string();
        if (name.rfind(prefix, 0) == 0 && e.path().extension() == ".txt") files.push_back(e.path().string());
    }
    std::sort(files.begin(), files.end());
    std::vector<CutInstance> out;
    for (const std::string& f : files) {
        CutInstance i;
        if (readCutInstance(f, i)) out.push_back(std::move(i));
    }
    return out;
}
