// Every fixed text of the five small data dialogs comes from the catalogue of the chosen language:
// switched to Dutch nothing stays English, and the other way round; and each opens on its sample.
#include "frame/LauncherTable.h"
#include "frame/ModuleResourceScope.h"
#include "production/ui/DlgGrid.h"
#include "production/ui/DlgLevels.h"
#include "production/ui/DlgLookUp.h"
#include "production/ui/DlgProfCuts.h"
#include "production/ui/DlgProfFeatures.h"

#include <host/Settings.h>
#include <host/Texts.h>
#include <ui/Control.h>
#include <ui/Script.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <set>

namespace {

const std::string kInstall = std::string(VOR_SOURCE_DIR) + "/data/install/";

std::set<std::string> catalogue(const std::string& lang) {
    std::set<std::string> out;
    for (const char* file : {"dial.", "string."}) {
        std::map<int, std::string> texts;
        std::string error;
        EXPECT_TRUE(parseTextCatalogue(kInstall + "texts/" + file + lang + ".txt", texts, &error)) << error;
        for (const auto& [n, t] : texts)
            out.insert(t);
    }
    return out;
}

class SmallDialogTexts : public testing::TestWithParam<std::string> {
protected:
    void SetUp() override {
        ui::setAgent(&agent);
        std::string error;
        ASSERT_TRUE(loadTextCatalogues(kInstall, GetParam(), &error)) << error;
    }
    void TearDown() override {
        ui::setAgent(nullptr);
        loadTextCatalogues(kInstall, "en");
    }
    /// Creates the dialog and checks the caption (unless the caller gives it), every label, box,
    /// button and tip, and the items of the fixed lists.
    void expectFromCatalogue(ui::Dialog& d, const char* what, std::set<int> callersTexts = {},
                             bool captionToo = true) {
        ASSERT_TRUE(d.create()) << what;
        const std::set<std::string> texts = catalogue(GetParam());
        if (captionToo) {
            EXPECT_TRUE(texts.count(d.windowText())) << what << ": caption " << d.windowText();
        }
        for (const ui::Control* c : d.controls()) {
            if (callersTexts.count(c->id())) continue;
            if (!c->toolTip().empty()) {
                EXPECT_TRUE(texts.count(c->toolTip())) << what << ": tip of " << c->id();
            }
            switch (c->kind()) {
            case ui::ControlKind::Static:
            case ui::ControlKind::GroupBox:
            case ui::ControlKind::PushButton:
            case ui::ControlKind::CheckBox:
                if (!c->text().empty()) {
                    EXPECT_TRUE(texts.count(c->text()))
                        << what << ": control " << c->id() << " \"" << c->text() << '"';
                }
                break;
            default:
                break;
            }
        }
        d.destroyWindow();
    }
    ModuleResourceScope scope;
    ui::ScriptedAgent agent;
};

TEST_P(SmallDialogTexts, everyFixedTextIsOfTheChosenLanguage) {
    DlgGrid grid;
    expectFromCatalogue(grid, "grid");
    DlgLevels levels;
    expectFromCatalogue(levels, "levels");
    DlgLookUp lookUp;
    expectFromCatalogue(lookUp, "look-up");
    DlgLookUp lists; // the fixed lists of direction and search method

    ASSERT_TRUE(lists.create());
    const std::set<std::string> texts = catalogue(GetParam());
    for (int id : {int(DlgLookUp::IDC_DIRECTION), int(DlgLookUp::IDC_MODE)}) {
        ASSERT_EQ(lists.item(id)->count(), 3);
        for (int i = 0; i < 3; ++i)
            EXPECT_TRUE(texts.count(lists.item(id)->itemText(i))) << "item " << i << " of " << id;
    }
    lists.destroyWindow();
    DlgProfCuts cuts;
    expectFromCatalogue(cuts, "profile cuts");
    // The caller gives the caption, the rows' labels and the check box's.
    DlgProfFeatures features;
    features.data.row1.label = "caller's";
    expectFromCatalogue(features, "profile features",
                        {DlgProfFeatures::IDC_ROW1_LABEL, DlgProfFeatures::IDC_ROW2_LABEL,
                         DlgProfFeatures::IDC_ROW3_LABEL, DlgProfFeatures::IDC_ROW4_LABEL,
                         DlgProfFeatures::IDC_CHECK},
                        false);
}

INSTANTIATE_TEST_SUITE_P(Languages, SmallDialogTexts, testing::Values("en", "nl"));

} // namespace

namespace {

// The host's launcher menu opens each dialog on its sample: a sample that does not parse or that its
// data class refuses would leave the dialog unreachable there.
TEST(SmallDialogSamples, everySampleOpensItsDialog) {
    const struct {
        const char* launcher;
        int dialog;
    } launchers[] = {{"StartDlgGrid", DlgGrid::IDD},
                     {"StartDlgLevels", DlgLevels::IDD},
                     {"StartDlgLookUp", DlgLookUp::IDD},
                     {"StartDlgProfFeatures", DlgProfFeatures::IDD},
                     {"StartEditProfCutsDlg", DlgProfCuts::IDD}};
    ui::ScriptedAgent agent;
    ui::setAgent(&agent);
    for (const auto& l : launchers) {
        char* sample = vorLauncherSample(l.launcher);
        ASSERT_NE(sample, nullptr) << l.launcher;
        agent.setScript("expect-dialog " + std::to_string(l.dialog) + "\nclose\n", "sample.vsc");
        char* out = nullptr;
        EXPECT_EQ(vorCallLauncher(l.launcher, sample, &out), 1) << l.launcher << ": " << (out ? out : "");
        EXPECT_FALSE(agent.failed()) << l.launcher << ": " << agent.failure();
        std::free(out);
        std::free(sample);
    }
    ui::setAgent(nullptr);
}

} // namespace
