// Dialog, control, menu and command ids are typed twice: in the resource script and in the id enums
// of the dialog classes. This test holds the two together, by name and by number, both ways.

#include <ui/Resources.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

const fs::path kModule = fs::path(VOR_SOURCE_DIR) / "module";

std::string readAll(const fs::path& p) {
    std::ifstream in(p);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

ui::ResourceSet script() {
    ui::ResourceSet set;
    std::string error;
    EXPECT_TRUE(ui::parseResourceScript(readAll(kModule / "resources/vordlg.rc"), "vordlg.rc", set, error))
        << error;
    return set;
}

/// The id constants of one source file: IDD, IDC_*, IDR_*, ID_* with their numbers.
struct IdEnum {
    std::string file;
    std::map<std::string, int> ids;
};

std::vector<IdEnum> idEnums() {
    static const std::regex constant(R"(\b(IDD|IDC_\w+|IDR_\w+|ID_\w+)\s*=\s*(\d+))");
    std::vector<IdEnum> out;
    for (const auto& e : fs::recursive_directory_iterator(kModule)) {
        const std::string ext = e.path().extension().string();
        if (!e.is_regular_file() || (ext != ".h" && ext != ".cpp")) continue;
        const std::string text = readAll(e.path());
        IdEnum en{fs::relative(e.path(), kModule).generic_string(), {}};
        for (auto it = std::sregex_iterator(text.begin(), text.end(), constant); it != std::sregex_iterator();
             ++it)
            en.ids[(*it)[1]] = std::stoi((*it)[2]);
        if (!en.ids.empty()) out.push_back(en);
    }
    return out;
}

void collectCommands(const std::vector<ui::MenuItemTemplate>& items, std::set<int>& out) {
    for (const auto& i : items) {
        if (i.id) out.insert(i.id);
        collectCommands(i.children, out);
    }
}

TEST(ResourceIds, everyIdConstantNamesWhatTheScriptHolds) {
    const ui::ResourceSet rc = script();
    std::set<int> commands;
    for (const auto& [id, m] : rc.menus)
        collectCommands(m.items, commands);
    for (const auto& [id, t] : rc.toolbars)
        for (const auto& b : t.buttons)
            if (b.id) commands.insert(b.id);
    std::set<int> classDialogs;
    for (const IdEnum& en : idEnums()) {
        const auto idd = en.ids.find("IDD");
        const ui::DialogTemplate* dlg = nullptr;
        if (idd != en.ids.end()) {
            auto it = rc.dialogs.find(idd->second);
            ASSERT_NE(it, rc.dialogs.end())
                << en.file << ": IDD " << idd->second << " is no dialog of the script";
            dlg = &it->second;
            EXPECT_TRUE(classDialogs.insert(idd->second).second)
                << en.file << ": IDD " << idd->second << " twice";
        }
        std::set<int> named;
        for (const auto& [name, number] : en.ids) {
            if (name.rfind("IDC_", 0) == 0) {
                ASSERT_NE(dlg, nullptr) << en.file << ": " << name << " without an IDD";
                EXPECT_NE(dlg->control(number), nullptr)
                    << en.file << ": " << name << " = " << number << " is no control of dialog " << dlg->id;
                EXPECT_TRUE(named.insert(number).second) << en.file << ": " << number << " has two names";
            } else if (name.rfind("IDR_", 0) == 0) {
                EXPECT_TRUE(rc.menus.count(number) || rc.toolbars.count(number))
                    << en.file << ": " << name << " = " << number << " is no menu or toolbar";
            } else if (name.rfind("ID_", 0) == 0) {
                EXPECT_TRUE(commands.count(number))
                    << en.file << ": " << name << " = " << number << " is no menu item or toolbar button";
            }
        }
        if (!dlg) continue;
        // And the other way: every control of the template has its name in the class.
        for (const ui::ControlTemplate& c : dlg->controls) {
            if (c.id == -1 || c.id == 1 || c.id == 2) continue; // anonymous statics, IDOK, IDCANCEL
            EXPECT_TRUE(named.count(c.id))
                << "control " << c.id << " (" << c.kind << " \"" << c.text << "\") of dialog " << dlg->id
                << " has no IDC_ name in " << en.file;
        }
    }
    for (const auto& [id, d] : rc.dialogs)
        EXPECT_TRUE(classDialogs.count(id))
            << "dialog " << id << " (" << d.caption << ") has no class with IDD " << id;
}

TEST(ResourceIds, scriptsExpectOnlyDialogsThatExist) {
    const ui::ResourceSet rc = script();
    // the host's own dialogs (profile selection) come from the host's resource script
    ui::ResourceSet host;
    std::string error;
    EXPECT_TRUE(ui::parseResourceScript(readAll(fs::path(VOR_SOURCE_DIR) / "host/resources/vorcore.rc"),
                                        "vorcore.rc", host, error))
        << error;
    static const std::regex expect(R"(expect-dialog\s+(\d+))");
    std::vector<fs::path> files;
    for (const char* dir : {"tests/module", "scripts"})
        for (const auto& e : fs::recursive_directory_iterator(fs::path(VOR_SOURCE_DIR) / dir))
            if (e.is_regular_file() && (e.path().extension() == ".cpp" || e.path().extension() == ".vsc"))
                files.push_back(e.path());
    int seen = 0;
    for (const fs::path& f : files) {
        const std::string text = readAll(f);
        for (auto it = std::sregex_iterator(text.begin(), text.end(), expect); it != std::sregex_iterator();
             ++it) {
            ++seen;
            const int id = std::stoi((*it)[1]);
            EXPECT_TRUE(rc.dialogs.count(id) || host.dialogs.count(id)) << f.filename() << ": " << (*it)[0];
        }
    }
    EXPECT_GT(seen, 0);
}

} // namespace
