#include <host/Vor_MacroPropsFilter.h>

#include <host/FileUtils.h>
#include <host/MacroData.h>
#include <host/Settings.h>
#include <host/Texts.h>
#include <host/VorUtils.h>

#include <cad/DrawingFile.h>

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

bool macroDrawingFeatures(const std::string& path, std::vector<MacroFeature>& features,
                          Vor_StringArray& types, std::string* error) {
    cad::Drawing drawing;
    if (!cad::loadDrawing(path, drawing, error)) return false;
    std::string why;
    if (!macroDrawingFeatures(drawing, features, types, &why)) {
        if (error) *error = path + ": " + why;
        return false;
    }
    return true;
}

bool macroDrawingFeatures(const cad::Drawing& drawing, std::vector<MacroFeature>& features,
                          Vor_StringArray& types, std::string* error) {
    std::vector<MacroFeature> found;
    Vor_StringArray foundTypes;
    for (AcDbObjectId id : drawing.ids(cad::EntityKind::MacroGroup)) {
        Vor_Array<MacroTabData> tabs;
        std::string why;
        if (!readMacroTabs(drawing, id, tabs, &why)) {
            if (error) *error = why;
            return false;
        }
        const cad::Entity* group = drawing.get(id);
        if (const auto it = group->properties.find("macro"); it != group->properties.end())
            if (!foundTypes.contains(Vor_String(it->second), false))
                foundTypes.append(Vor_String(it->second));
        for (const MacroTabData& tab : tabs) {
            if (tab.moduleName.isEmpty()) continue;
            found.push_back({tab.moduleName, {}, {}});
            for (const MacroCell& cell : tab.cells)
                if (!cell.value.isEmpty() && !isNumber(cell.value))
                    found.push_back({tab.moduleName, cell.value, cell.name});
            for (const MacroProfData& prof : tab.profiles)
                if (!prof.section.isEmpty()) found.push_back({tab.moduleName, prof.section, prof.groupName});
        }
    }
    features = std::move(found);
    types = foundTypes;
    return true;
}

bool Vor_MacroPropsFilter::initialize(const Vor_StringArray& texts, const Vor_Array<bool>& flags, int first,
                                      int second) {
    m_width = std::clamp(first, kMinThumbnailSide, kMaxThumbnailSide);
    m_height = std::clamp(second, kMinThumbnailSide, kMaxThumbnailSide);
    m_drawings.clear();
    m_modules.clear();
    m_problems.removeAll();
    const bool withValues = flags.length() < 1 || flags[0];
    const Vor_String type = texts.length() > 1 ? texts[1] : Vor_String();
    Vor_String sub = texts.length() > 0 && !texts[0].isEmpty() ? texts[0] : Vor_String("Macros/Drawings/");
    const Vor_String folder = folderWithSlash(toSlashes(sub).startsWith("/") ? sub : gSettings.libDir + sub);

    // The drawings of the folder, sorted, within the budget; only regular files count.
    std::vector<std::string> paths;
    std::error_code ec;
    fs::directory_iterator it(folder.str(), ec), end;
    if (ec) {
        m_problems.append(Vor_String(folder.str() + ": " + ec.message()));
        return false;
    }
    for (; it != end; it.increment(ec)) {
        if (ec) break;
        const fs::path& p = it->path();
        if (!getExtension(Vor_String(p.string())).equal("dwg", false) || !fileExists(Vor_String(p.string())))
            continue;
        if (static_cast<int>(paths.size()) >= kMaxMacroDrawings) {
            m_problems.append(Vor_String(folder.str() + ": more than " + std::to_string(kMaxMacroDrawings) +
                                         " drawings; the rest are left out"));
            break;
        }
        paths.push_back(p.string());
    }
    std::sort(paths.begin(), paths.end());

    for (const std::string& path : paths) {
        Drawing d;
        d.path = path;
        std::vector<MacroFeature> features;
        Vor_StringArray types;
        std::string why;
        if (!macroDrawingFeatures(path, features, types, &why)) {
            m_problems.append(Vor_String(why));
            m_drawings.push_back(std::move(d));
            continue;
        }
        d.readCleanly = true;
        if (!type.isEmpty() && !types.contains(type, false)) continue; // another type: not offered at all
        for (const MacroFeature& f : features) {
            const std::string key = f.module.caseFolded();
            auto found = m_modules.find(key);
            if (found == m_modules.end()) {
                if (static_cast<int>(m_modules.size()) >= kMaxFilterModules) continue;
                found = m_modules.emplace(key, Module{f.module, {}, true}).first;
            }
            d.modules.insert(key);
            if (f.value.isEmpty() || !withValues) continue;
            Module& m = found->second;
            const std::string value = f.value.caseFolded();
            if (!m.values.count(value)) {
                if (static_cast<int>(m.values.size()) >= kMaxFilterValuesPerModule) continue;
                m.values.emplace(value, Entry{f.value, f.origin, true});
            }
            d.values.emplace(key, value);
        }
        m_drawings.push_back(std::move(d));
    }
    return true;
}

Vor_StringArray Vor_MacroPropsFilter::getAllDwgFiles() const {
    Vor_StringArray out;
    for (const Drawing& d : m_drawings)
        out.append(Vor_String(d.path));
    return out;
}

bool Vor_MacroPropsFilter::getMergedProperties(Vor_Array<Vor_StringArray>& rows,
                                               Vor_Array<Vor_StringArray>& second,
                                               Vor_Array<Vor_Array<bool>>& flags) const {
    if (m_modules.empty()) return false;
    rows.removeAll();
    second.removeAll();
    flags.removeAll();
    for (const auto& [key, m] : m_modules) {
        Vor_StringArray row{m.name}, origins{Vor_String()};
        Vor_Array<bool> on{m.on};
        for (const auto& [value, e] : m.values) {
            row.append(e.text);
            origins.append(e.origin);
            on.append(e.on);
        }
        rows.append(row);
        second.append(origins);
        flags.append(on);
    }
    return true;
}

bool Vor_MacroPropsFilter::setModuleStatus(const Vor_String& module, bool on) {
    const auto it = m_modules.find(module.caseFolded());
    if (it == m_modules.end()) return false;
    it->second.on = on;
    return true;
}

bool Vor_MacroPropsFilter::setModulePropStatus(const Vor_String& module, const Vor_String& prop, bool on) {
    const auto it = m_modules.find(module.caseFolded());
    if (it == m_modules.end()) return false;
    const auto value = it->second.values.find(prop.caseFolded());
    if (value == it->second.values.end()) return false;
    value->second.on = on;
    return true;
}

Vor_StringArray Vor_MacroPropsFilter::getFilteredMacros() const {
    Vor_StringArray out;
    for (const Drawing& d : m_drawings) {
        if (!d.readCleanly) continue;
        const bool modulesOn = std::all_of(d.modules.begin(), d.modules.end(), [&](const std::string& m) {
            const auto it = m_modules.find(m);
            return it == m_modules.end() || it->second.on;
        });
        const bool valuesOn = std::all_of(d.values.begin(), d.values.end(), [&](const auto& mv) {
            const auto it = m_modules.find(mv.first);
            if (it == m_modules.end()) return true;
            const auto v = it->second.values.find(mv.second);
            return v == it->second.values.end() || v->second.on;
        });
        if (modulesOn && valuesOn) out.append(Vor_String(d.path));
    }
    return out;
}
