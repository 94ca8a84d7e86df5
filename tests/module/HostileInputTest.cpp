// Launcher payloads come from files and scripts of unknown origin: every registered launcher refuses
// wrong types, numbers out of range, absurd sizes and deep nesting with a clear error, before any
// dialog opens, and never crashes, hangs or allocates without bound (the sanitizers watch).

#include "frame/LauncherTable.h"

#include <ui/Script.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

namespace {

struct Call {
    int rc = 0;
    std::string out;
};

class HostileLaunchers : public testing::Test {
protected:
    void TearDown() override { ui::setAgent(nullptr); }

    /// Calls a launcher under a fresh script that expects no dialog at all: one that opens fails it.
    Call call(const std::string& name, const std::string& json) {
        ui::setAgent(nullptr);
        agent = std::make_unique<ui::ScriptedAgent>();
        ui::setAgent(agent.get());
        agent->setScript("", "hostile.vsc");
        char* out = nullptr;
        Call c;
        c.rc = vorCallLauncher(name.c_str(), json.c_str(), &out);
        if (out) c.out = out;
        std::free(out);
        return c;
    }
    std::unique_ptr<ui::ScriptedAgent> agent;
};

TEST_F(HostileLaunchers, everyLauncherRefusesPayloadsBeyondItsBudgets) {
    const std::string deep = std::string(100000, '[') + std::string(100000, ']');
    const std::string deepInObject = "{\"rows\": " + std::string(17, '[') + std::string(17, ']') + "}";
    const std::string huge = "{\"text\": \"" + std::string((std::size_t(1) << 20) + 1, 'x') + "\"}";
    const struct {
        std::string payload;
        const char* says;
        const char* why;
    } cases[] = {
        {deep, "nested deeper than 16", "100,000 levels would exhaust the stack of a recursive reader"},
        {deepInObject, "nested deeper than 16", "the depth counts inside an object too"},
        {huge, "more than the 1048576", "a payload over 1 MiB is refused before it is parsed"},
        {"[1, 2, 3]", "must be a JSON object", "arguments are named"},
        {"\"text\"", "must be a JSON object", "a bare value has no names"},
        {"{\"style\": NaN}", "malformed JSON", "JSON has no NaN"},
        {"{\"style\": 1", "malformed JSON", "an unfinished object"},
    };
    const std::vector<std::string> names = jsonLauncherNames();
    ASSERT_GE(names.size(), 7u) << "the frame's and the calculation tables' launchers are registered";
    for (const std::string& name : names)
        for (const auto& c : cases) {
            const Call r = call(name, c.payload);
            EXPECT_EQ(r.rc, -1) << name << ": " << c.why;
            EXPECT_NE(r.out.find(c.says), std::string::npos) << name << ": " << c.why << "; said: " << r.out;
            EXPECT_FALSE(agent->failed()) << name << ": no dialog opens; " << agent->failure();
        }
}

TEST_F(HostileLaunchers, numbersAndTypesAreCheckedBeforeADialogOpens) {
    const struct {
        const char* launcher;
        const char* payload;
        const char* says;
        const char* why;
    } cases[] = {
        {"DlgSpreadCellType", R"({"style": 1e20})", "style", "a double beyond 32 bits is no style"},
        {"DlgSpreadCellType", R"({"style": -1})", "style", "styles are unsigned"},
        {"DlgSpreadCellType", R"({"style": 4294967296})", "style", "one past the 32 bits"},
        {"DlgSpreadCellType", R"({"style": 1.5})", "style", "a fraction is no bit set"},
        {"DlgSpreadCellType", R"({"style": 1e400})", "number overflow", "beyond the double range"},
        {"DlgSpreadCellType", R"({"style": "1"})", "style", "a text is no number"},
        {"DlgSpreadCellType", R"({"style": true})", "style", "a boolean is no number"},
        {"DlgSpreadCellType", R"({"kind": 3})", "kind", "three kinds: number, text, picture"},
        {"DlgSpreadCellType", R"({"kind": -2147483649})", "kind", "below int"},
        {"DlgSpreadCellType", R"({"decimals": 16})", "decimals", "at most 15 decimals"},
        {"DlgSpreadCellType", R"({"decimals": -1e308})", "decimals", "far below zero"},
        {"DlgSpreadCellType", R"({"maxLength": 65536})", "maxLength", "a 16-bit length"},
        {"DlgSpreadCellType", R"({"pictureFile": 5})", "string", "a file name is a text"},
        {"DlgSpreadBorder", R"({"sides": 1e20})", "sides", "sides are 4 bits"},
        {"DlgSpreadBorder", R"({"sides": 16})", "sides", "a fifth side does not exist"},
        {"DlgSpreadBorder", R"({"style": 65536})", "style", "a 16-bit style"},
        {"DlgSpreadBorder", R"({"style": -1e-300})", "style", "a fraction, however small"},
        {"DlgSpreadBorder", R"({"color": [256, 0, 0]})", "red", "a channel is a byte"},
        {"DlgSpreadBorder", R"({"color": [0, 1e300, 0]})", "green", "a channel is a byte"},
        {"DlgSpreadBorder", R"({"color": [0, 0, null]})", "blue", "a channel is a number"},
        {"DlgSpreadBorder", R"({"color": 1e20})", "color", "a colour is 32 bits"},
        {"DlgSpreadBorder", R"({"color": -1})", "color", "a colour is unsigned"},
        {"DlgSpreadFont", R"({"height": 1e9})", "height", "a font of a billion points"},
        {"DlgSpreadFont", R"({"height": 0})", "height", "a font has a size"},
        {"DlgSpreadFont", R"({"textColor": [0, 0, "blue"]})", "blue", "a channel is a number"},
        {"DlgSpreadFont", R"({"backColor": [-1, 0, 0]})", "red", "a channel is a byte"},
        {"DlgSpreadFont", R"({"bold": 1})", "boolean", "a switch is true or false"},
        {"DlgSpreadFont", R"({"face": ["Arial"]})", "string", "a face name is a text"},
        {"startGridDialog", R"({"columnNames": "Profiel"})", "array", "columns are a list"},
        {"startGridDialog", R"({"columnNames": ["a"], "rows": [[1]]})", "string", "cells are texts"},
        {"startGridDialog", R"({"columnNames": ["a"], "rows": 5})", "array", "rows are a list"},
        {"startGridDialog", R"({"columnNames": ["a"], "canAddRemove": "yes"})", "boolean", "a switch"},
        {"DlgTextInput", R"({"caption": 5})", "string", "a caption is a text"},
        {"DlgTextInput", R"({"editable": null})", "boolean", "a switch is true or false"},
    };
    for (const auto& c : cases) {
        const Call r = call(c.launcher, c.payload);
        EXPECT_EQ(r.rc, -1) << c.launcher << " " << c.payload << ": " << c.why;
        EXPECT_FALSE(r.out.empty()) << c.why;
        EXPECT_NE(r.out.find(c.says), std::string::npos) << c.why << "; said: " << r.out;
        EXPECT_FALSE(agent->failed())
            << c.launcher << " " << c.payload << ": no dialog opens; " << agent->failure();
    }
}

TEST_F(HostileLaunchers, valuesAtTheEdgesOfTheirRangesStillReachTheDialog) {
    // The checks refuse only what is out of range: these payloads pass and open their dialogs,
    // which the script (expecting none) then closes.
    const struct {
        const char* launcher;
        const char* payload;
        const char* why;
    } cases[] = {
        {"DlgSpreadCellType", R"({"style": 4294967295, "decimals": 15, "maxLength": 65535, "kind": 2})",
         "the largest of each"},
        {"DlgSpreadCellType", R"({"style": 1048576.0})", "a whole number written as a float"},
        {"DlgSpreadBorder", R"({"sides": 15, "style": 65535, "color": [255, 255, 255]})", "all sides"},
        {"DlgSpreadBorder", R"({"color": 4294967295})", "a colour as one number"},
        {"DlgSpreadFont", R"({"height": 1638, "textColor": null})", "the largest point size"},
        {"DlgSpreadFont", R"({"height": 1})", "the smallest"},
    };
    for (const auto& c : cases) {
        const Call r = call(c.launcher, c.payload);
        EXPECT_EQ(r.rc, 1) << c.launcher << " " << c.payload << ": " << c.why << "; said: " << r.out;
        EXPECT_TRUE(agent->failed()) << c.launcher << ": the dialog opened";
    }
}

} // namespace
