// A designed page run in a host dialog, on the sample template EndPlate: its controls are laid in
// the frame with the page's ids, values go in and come out, and a person's change is reported with
// the control it was made in.

#include "designer/DesignedPage.h"
#include "designer/Vor_ControlType.h"
#include "frame/ModuleResourceScope.h"

#include <host/Settings.h>
#include <host/Texts.h>
#include <ui/Agent.h>
#include <ui/Control.h>
#include <ui/Dialog.h>
#include <ui/Script.h>

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace {

constexpr int kFirst = 35000;

/// A dialog that hosts one designed page and hands its commands on, as a macro dialog will.
class Host : public ui::Dialog {
public:
    Host()
        : ui::Dialog(8960) {} // the run-mode preview's template: OK and Cancel only
    DesignedPage page;

protected:
    bool onCommand(int id, int code) override { return page.onCommand(id, code); }
    void onDestroy() override { page.close(); }
};

class DesignedPageTest : public testing::Test {
protected:
    void SetUp() override {
        ui::setAgent(&agent);
        oldLib = gSettings.libDir;
        gSettings.libDir = VOR_SOURCE_DIR "/data/lib/";
        loadTextCatalogues(VOR_SOURCE_DIR "/data/install/", "en");
        ModuleResourceScope scope;
        ASSERT_TRUE(host.create());
    }
    void TearDown() override {
        host.destroyWindow();
        gSettings.libDir = oldLib;
        ui::setAgent(nullptr);
    }
    Vor_String endPlate() const {
        return Vor_String(VOR_SOURCE_DIR "/data/lib/Dialog Templates/Dialog Design/EndPlate.txt");
    }
    /// A control window's rectangle in the host's client pixels.
    ui::Rect placed(int id) {
        const ui::Rect r = host.item(id)->windowRect();
        const ui::Point tl = host.screenToClient({r.left, r.top});
        return ui::Rect::fromSize(tl.x, tl.y, r.width(), r.height());
    }
    ui::ScriptedAgent agent;
    Vor_String oldLib;
    Host host;
};

TEST_F(DesignedPageTest, theTemplatesControlsAreLaidInTheFrameWithThePagesIds) {
    const ui::Rect frame = ui::Rect::fromSize(20, 30, 300, 190);
    std::string error;
    ASSERT_TRUE(host.page.open(host, frame, endPlate(), kFirst, &error)) << error;
    EXPECT_EQ(host.page.templateName().str(), "EndPlate");
    ASSERT_EQ(host.page.count(), 21) << "every control of the template";
    std::set<int> ids;
    for (int i = 0; i < host.page.count(); ++i) {
        const Vor_DesignerControl& c = host.page.control(i);
        EXPECT_EQ(c.resId, kFirst + i) << "ids in the template's order from the first one";
        ASSERT_NE(host.item(c.resId), nullptr) << "control " << i << " has its window";
        EXPECT_EQ(host.page.indexOfId(c.resId), i);
        ids.insert(c.resId);
    }
    EXPECT_EQ(ids.size(), 21u);
    // Table: control, its type and name in the template (what a macro page binds by).
    struct Row {
        int index;
        int type;
        const char* contents;
    };
    for (const Row& r : {Row{0, ctGroupBox, "End plate"}, Row{2, ctVarEdit, "tp"}, Row{4, ctVarEdit, "hp"},
                         Row{11, ctCheckBox, "Weld to column flange"}, Row{18, ctChoiceCombo, "1"},
                         Row{20, ctListCombo, "Detail"}}) {
        EXPECT_EQ(host.page.control(r.index).type, r.type) << r.contents;
        EXPECT_EQ(host.page.control(r.index).contents.str(), r.contents);
    }
    // The picture's top-left corner is the frame's: the group box at 0.55 of the picture's width
    // and 0.026 of its height lies that far right of and below the frame's corner.
    int width = 0, height = 0;
    host.page.engine().getImageSize(width, height);
    ASSERT_GT(width, 0);
    const ui::Rect box = placed(kFirst);
    EXPECT_NEAR(box.left, frame.left + 0.55 * width, 1.0);
    EXPECT_NEAR(box.top, frame.top + 0.02631578947368421 * height, 1.0);
}

TEST_F(DesignedPageTest, valuesGoInAndComeOutAndAPersonsChangeNamesItsControl) {
    ASSERT_TRUE(host.page.open(host, ui::Rect::fromSize(0, 0, 300, 190), endPlate(), kFirst));
    std::vector<int> changed;
    host.page.setChangedHandler([&](int index) { changed.push_back(index); });

    const int tp = host.page.indexOfName("TP");
    ASSERT_EQ(tp, 2) << "names are found in any case";
    EXPECT_EQ(host.page.indexOfName("Thickness"), -1) << "a caption is no value control";
    const int tpId = host.page.control(tp).resId;
    ASSERT_TRUE(host.page.setText(tpId, "15"));
    Vor_String v;
    ASSERT_TRUE(host.page.text(tpId, v));
    EXPECT_EQ(v.str(), "15");
    EXPECT_EQ(host.page.setValues({{"hp", "320"}, {"pitch", "70"}, {"nosuch", "1"}}), 2);
    const auto values = host.page.values();
    EXPECT_EQ(values.at("tp"), "15");
    EXPECT_EQ(values.at("hp"), "320");
    EXPECT_EQ(values.at("pitch"), "70");
    EXPECT_TRUE(changed.empty()) << "values put in by the dialog are no change of a person's";

    // a person types into the height edit: the host hears it, the page names the control
    const int hp = host.page.indexOfName("hp");
    host.item(host.page.control(hp).resId)->setText("340");
    ASSERT_EQ(changed, std::vector<int>{hp});
    EXPECT_EQ(host.page.values().at("hp"), "340");
    EXPECT_FALSE(host.page.text(kFirst + 100, v)) << "an id that is not the page's";
    EXPECT_FALSE(host.page.onCommand(ui::IDOK, ui::BN_CLICKED)) << "the host's own buttons stay the host's";
}

TEST_F(DesignedPageTest, aTemplateThatCannotBeReadLaysNothing) {
    std::string error;
    EXPECT_FALSE(host.page.open(host, ui::Rect::fromSize(0, 0, 300, 190), "/tmp/elsewhere/EndPlate.txt",
                                kFirst, &error));
    EXPECT_FALSE(error.empty()) << "the reason is given";
    EXPECT_FALSE(host.page.isOpen());
    EXPECT_EQ(host.page.count(), 0);
    EXPECT_EQ(host.item(kFirst), nullptr) << "no window of the page";
}

} // namespace
