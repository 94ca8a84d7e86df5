#pragma once
// A small resource set with one dialog of every control kind the helpers work on, and a dialog
// that records the commands it receives.

#include <ui/Image.h>
#include <ui/Resources.h>
#include <ui/Window.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

namespace hostui {

constexpr const char* kSetName = "hostui-test";
constexpr int kDialog = 100;
constexpr int kPage = 101;
constexpr int kRedBitmap = 300;
constexpr int kBlueIcon = 301;

enum Ids {
    kDropList = 1001,
    kDropDown = 1002,
    kSortedList = 1003,
    kCheckCombo = 1004,
    kListBox = 1005,
    kSortedListBox = 1006,
    kEdit = 1007,
    kButton = 1008,
    kCheckBox = 1009,
    kIconButton = 1010,
};

inline const char* const kScript = R"(
100 DIALOGEX 0, 0, 200, 120
CAPTION "Helpers"
STYLE WS_POPUP | WS_CAPTION | WS_THICKFRAME
BEGIN
  COMBOBOX 1001, 5, 5, 100, 60, CBS_DROPDOWNLIST
  COMBOBOX 1002, 5, 20, 100, 60, CBS_DROPDOWN
  COMBOBOX 1003, 5, 35, 100, 60, CBS_DROPDOWNLIST | CBS_SORT
  CONTROL "", 1004, "VorCheckCombo", WS_TABSTOP, 5, 50, 100, 60
  LISTBOX 1005, 110, 5, 80, 40
  LISTBOX 1006, 110, 50, 80, 30, LBS_SORT
  EDITTEXT 1007, 5, 65, 100, 14
  PUSHBUTTON "Go", 1008, 5, 85, 30, 14
  AUTOCHECKBOX "Clash", 1009, 40, 85, 50, 14
  PUSHBUTTON "999", 1010, 95, 85, 20, 14, BS_ICON
  LTEXT "Label", -1, 120, 85, 30, 8
  PUSHBUTTON "OK", 1, 140, 100, 50, 14
END

101 DIALOGEX 0, 0, 100, 40
STYLE WS_CHILD
BEGIN
  EDITTEXT 1007, 5, 5, 80, 14
END

300 BITMAP "red.png"
301 ICON "blue.png"
)";

/// The bytes of a small solid picture in PNG form.
inline std::string pictureBytes(ui::ColorRef color) {
    auto path = std::filesystem::temp_directory_path() / ("hostui-" + std::to_string(getpid()) + ".png");
    ui::Image::filled(4, 4, color).save(path.string());
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    std::filesystem::remove(path);
    return bytes.str();
}

/// Registers the test set (again, replacing itself) and makes it current.
inline void registerResources() {
    auto set = std::make_shared<ui::ResourceSet>();
    set->name = kSetName;
    set->files["red.png"] = pictureBytes(ui::rgb(255, 0, 0));
    set->files["blue.png"] = pictureBytes(ui::rgb(0, 0, 255));
    std::string error;
    ASSERT_TRUE(ui::parseResourceScript(kScript, "test.rc", *set, error)) << error;
    ui::Resources::add(set);
    ui::Resources::setCurrent(kSetName);
}

/// A dialog that records every command it receives.
class ProbeDialog : public ui::Dialog {
public:
    explicit ProbeDialog(int templateId = kDialog, ui::Window* parent = nullptr)
        : Dialog(templateId, parent) {}
    std::vector<std::pair<int, int>> commands;
    std::function<void()> sized;

protected:
    bool onCommand(int id, int code) override {
        commands.emplace_back(id, code);
        return false;
    }
    void onSize(int, int) override {
        if (sized) sized();
    }
};

/// Opens the test dialog modeless for each test and closes it afterwards.
class DialogTest : public testing::Test {
protected:
    void SetUp() override {
        registerResources();
        ASSERT_TRUE(dlg.create());
    }
    void TearDown() override { dlg.destroyWindow(); }
    ui::Control& item(int id) { return *dlg.item(id); }
    ProbeDialog dlg;
};

} // namespace hostui
