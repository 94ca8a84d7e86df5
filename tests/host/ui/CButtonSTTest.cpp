#include "HostUiFixture.h"

#include <host/ui/CButtonST.h>

using namespace hostui;

namespace {

class CButtonSTTest : public DialogTest {};

} // namespace

TEST_F(CButtonSTTest, takesOverButtonsOnly) {
    struct Case {
        int id;
        bool ok;
        const char* why;
    } const cases[] = {
        {kButton, true, "push button"},
        {kCheckBox, true, "image check box"},
        {kIconButton, true, "icon button"},
        {kEdit, false, "an edit is no button"},
        {kDropList, false, "a combo is no button"},
        {4711, false, "no such control"},
    };
    for (const Case& c : cases) {
        CButtonST b;
        EXPECT_EQ(b.subclassDlgItem(c.id, &dlg), c.ok) << c.why;
        EXPECT_EQ(b.control() != nullptr, c.ok) << c.why;
    }
}

TEST_F(CButtonSTTest, pictureComesFromTheResourcesAndAFailedLoadKeepsIt) {
    CButtonST b;
    ASSERT_TRUE(b.subclassDlgItem(kIconButton, &dlg));
    EXPECT_EQ(item(kIconButton).text(), "999") << "the template's icon is missing, so its number shows";

    ASSERT_TRUE(b.setIcon(kBlueIcon));
    EXPECT_EQ(b.image().pixel(1, 1), ui::rgb(0, 0, 255));
    EXPECT_EQ(item(kIconButton).text(), "") << "a picture-only button shows the picture alone";

    EXPECT_FALSE(b.setIcon(999)) << "no such icon";
    EXPECT_FALSE(b.setBitmaps(999, ui::rgb(192, 192, 192)));
    EXPECT_FALSE(b.setBitmapFromFile("/nonexistent/picture.bmp", ui::rgb(255, 0, 255)));
    EXPECT_FALSE(b.setImage(ui::Image()));
    EXPECT_EQ(b.image().pixel(1, 1), ui::rgb(0, 0, 255)) << "failed loads leave the picture as it was";

    ASSERT_TRUE(b.setBitmaps(kRedBitmap));
    EXPECT_EQ(b.image().pixel(1, 1), ui::rgb(255, 0, 0));
}

TEST_F(CButtonSTTest, transparentColourIsTakenOut) {
    CButtonST b;
    ASSERT_TRUE(b.subclassDlgItem(kButton, &dlg));
    ASSERT_TRUE(b.setBitmaps(kRedBitmap, ui::rgb(255, 0, 0)));
    EXPECT_NE(b.image().pixel(1, 1), ui::rgb(255, 0, 0)) << "red was the transparent colour";
    EXPECT_EQ(item(kButton).text(), "Go") << "a button with a text keeps it beside the picture";

    auto file = std::filesystem::temp_directory_path() / ("hostui-btn-" + std::to_string(getpid()) + ".png");
    ASSERT_TRUE(ui::Image::filled(3, 3, ui::rgb(0, 128, 0)).save(file.string()));
    EXPECT_TRUE(b.setBitmapFromFile(file.string(), ui::rgb(192, 192, 192)));
    EXPECT_EQ(b.image().pixel(0, 0), ui::rgb(0, 128, 0)) << "only the transparent colour goes";
    std::filesystem::remove(file);
}

TEST_F(CButtonSTTest, tooltipAndCheckStateReachTheControl) {
    CButtonST b;
    ASSERT_TRUE(b.subclassDlgItem(kCheckBox, &dlg));
    b.setTooltipText("Clash check");
    EXPECT_EQ(item(kCheckBox).toolTip(), "Clash check");
    EXPECT_EQ(b.getTooltipText(), "Clash check");
    b.setCheck(ui::BST_CHECKED);
    EXPECT_EQ(item(kCheckBox).checkState(), ui::BST_CHECKED);
    EXPECT_EQ(b.getCheck(), ui::BST_CHECKED);
    EXPECT_TRUE(dlg.commands.empty()) << "setting the state is no click";

    dlg.destroyWindow();
    EXPECT_EQ(b.control(), nullptr);
    EXPECT_FALSE(b.setIcon(kBlueIcon)) << "a closed dialog's button takes no picture";
    EXPECT_EQ(b.getCheck(), ui::BST_UNCHECKED);
}
