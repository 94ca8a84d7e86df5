// What a person reads in the profile, segmented profile and array dialogs comes from the catalogue
// of the chosen language: captions, labels, buttons, tips and the items of the choice lists. Texts
// the dialogs compose (an angle with its degree sign, "..." after a button text, the array's name in
// the caption) are built from catalogue texts the same way here.
#include "frame/ModuleResourceScope.h"
#include "macro/ui/DlgArray.h"
#include "macro/ui/DlgMacroProfAdvanced.h"
#include "macro/ui/DlgMacroProfSegmented.h"

#include <host/Settings.h>
#include <host/Texts.h>
#include <ui/Script.h>
#include <ui/Window.h>

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

namespace {

/// Every text of the dialog catalogue of the language loaded, and the texts composed from them.
std::set<std::string> readableTexts(const std::string& lang) {
    std::map<int, std::string> texts;
    std::string error;
    EXPECT_TRUE(parseTextCatalogue(defaultInstallDir().str() + "texts/dial." + lang + ".txt", texts, &error))
        << error;
    std::set<std::string> out;
    for (const auto& [n, t] : texts)
        out.insert(t);
    for (int angle : {0, 90, 180, 270}) {
        Vor_String t = dialString(10450);
        t.replace("%1", Vor_String(std::to_string(angle)));
        out.insert(t.str());
    }
    out.insert((dialString(1368) + "...").str());
    out.insert((dialString(1230) + "...").str());
    out.insert((dialString(1032) + " nr.").str());
    out.insert((dialString(1056) + " (Stiffeners)").str());
    return out;
}

/// Checks the caption, the texts and tips of labels, boxes and buttons, and the items of `lists`.
void expectReadable(const ui::Dialog& d, const std::set<int>& lists, const std::string& lang,
                    const std::string& what) {
    const std::set<std::string> texts = readableTexts(lang);
    EXPECT_TRUE(texts.count(d.windowText())) << what << ": caption \"" << d.windowText() << '"';
    for (const ui::Control* c : d.controls()) {
        if (!c->toolTip().empty())
            EXPECT_TRUE(texts.count(c->toolTip()))
                << what << ": tip of " << c->id() << " \"" << c->toolTip() << '"';
        if (lists.count(c->id()))
            for (int i = 0; i < c->count(); ++i)
                EXPECT_TRUE(texts.count(c->itemText(i)))
                    << what << ": item " << i << " of " << c->id() << " \"" << c->itemText(i) << '"';
        switch (c->kind()) {
        case ui::ControlKind::Static:
        case ui::ControlKind::GroupBox:
        case ui::ControlKind::PushButton:
        case ui::ControlKind::CheckBox:
        case ui::ControlKind::RadioButton:
            if (!c->text().empty())
                EXPECT_TRUE(texts.count(c->text())) << what << ": control " << c->id() << " shows \""
                                                    << c->text() << "\", which is not in the catalogue";
            break;
        default:
            break;
        }
    }
}

bool morphedProfile(KrMACallBackType type, const KrMACallBackData&, MacroProfData& props) {
    if (type == kMACallBackGet) {
        props.morphed = true;
        props.section = "IPE 300";
        props.section2 = "IPE 200";
    }
    return true;
}

class ProfDialogTexts : public testing::TestWithParam<std::string> {
protected:
    void SetUp() override {
        ui::setAgent(&agent);
        std::string error;
        ASSERT_TRUE(loadTextCatalogues(defaultInstallDir().str(), GetParam(), &error)) << error;
    }
    void TearDown() override {
        ASSERT_TRUE(loadTextCatalogues(defaultInstallDir().str(), "en"));
        ui::setAgent(nullptr);
    }
    ModuleResourceScope scope;
    ui::ScriptedAgent agent;
};

TEST_P(ProfDialogTexts, profileAdvanced) {
    DlgMacroProfAdvanced dlg;
    dlg.callBack = &morphedProfile;
    dlg.flag = true; // the "do not show again" box too
    ASSERT_TRUE(dlg.create());
    using D = DlgMacroProfAdvanced;
    expectReadable(dlg, {D::IDC_OFFSET_TYPE, D::IDC_BASE_PLANE, D::IDC_PICK_KIND, D::IDC_TRANSITION_TYPE},
                   GetParam(), "profile advanced");
    dlg.destroyWindow();
}

TEST_P(ProfDialogTexts, segmentedProfile) {
    DlgMacroProfSegmented dlg;
    ASSERT_TRUE(dlg.create());
    expectReadable(dlg, {}, GetParam(), "segmented profile");
    Vor_String heading;
    dlg.grid().getText(1, 0, kTextData, heading);
    EXPECT_EQ(heading, dialString(1032) + " nr.");
    dlg.destroyWindow();
}

TEST_P(ProfDialogTexts, array) {
    DlgArray dlg;
    dlg.name = "Stiffeners";
    ASSERT_TRUE(dlg.create());
    expectReadable(dlg, {DlgArray::IDC_KIND}, GetParam(), "array");
    const std::set<std::string> texts = readableTexts(GetParam());
    for (int c = 1; c <= DlgArray::kCols; ++c) {
        Vor_String heading;
        dlg.grid().getText(c, 0, kTextData, heading);
        EXPECT_TRUE(texts.count(heading.str())) << "heading of column " << c << " \"" << heading.str() << '"';
    }
    dlg.destroyWindow();
}

INSTANTIATE_TEST_SUITE_P(Languages, ProfDialogTexts, testing::Values("en", "nl"));

} // namespace
