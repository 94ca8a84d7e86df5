#pragma once
// A resource set with a dialog that holds a grid and a print preview, and a listener that records
// what the grid tells its dialog.

#include <sheet/SpreadControl.h>
#include <sheet/control/GridWidget.h>

#include <ui/Resources.h>
#include <ui/Window.h>

#include <QBuffer>
#include <QImage>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace testgrid {

inline constexpr int kGridId = 1001;
inline constexpr int kPreviewId = 1002;
inline constexpr int kEditId = 1003;
inline constexpr int kOnBitmap = 8134;  ///< checked box: pure green
inline constexpr int kOffBitmap = 8136; ///< unchecked box: pure blue

inline const char* kScript = R"(
8134 BITMAP "on.png"
8136 BITMAP "off.png"
900 DIALOGEX 0, 0, 320, 240
STYLE WS_POPUP | WS_CAPTION | WS_THICKFRAME
CAPTION "Grid"
BEGIN
    CONTROL "", 1001, "VorGrid", WS_TABSTOP, 5, 5, 200, 150
    CONTROL "", 1002, "VorPreview", WS_TABSTOP, 210, 5, 105, 150
    EDITTEXT 1003, 5, 160, 100, 14, ES_AUTOHSCROLL
    DEFPUSHBUTTON "OK", 1, 210, 220, 50, 14
    PUSHBUTTON "Cancel", 2, 265, 220, 50, 14
END
)";

inline std::string png(QColor color) {
    QImage img(13, 13, QImage::Format_RGB32);
    img.fill(color);
    QByteArray bytes;
    QBuffer buf(&bytes);
    buf.open(QIODevice::WriteOnly);
    img.save(&buf, "PNG");
    return bytes.toStdString();
}

/// Registers the test resources once per process.
inline void registerResources() {
    if (ui::Resources::has("testgrid")) return;
    auto set = std::make_shared<ui::ResourceSet>();
    set->name = "testgrid";
    set->files["on.png"] = png(QColor(0, 255, 0));
    set->files["off.png"] = png(QColor(0, 0, 255));
    std::string error;
    ASSERT_TRUE(ui::parseResourceScript(kScript, "testgrid.rc", *set, error)) << error;
    ui::Resources::add(set);
}

/// Records the grid's notifications as short lines ("check B2 on").
struct Log : sheet::SpreadListener {
    std::vector<std::string> lines;
    bool saw(const std::string& l) const { return std::find(lines.begin(), lines.end(), l) != lines.end(); }
    static std::string at(int c, int r) { return sheet::cellName(c, r); }
    void activeCellChanged(sheet::SpreadControl&, sheet::CellPos, sheet::CellPos to) override {
        lines.push_back("active " + at(to.col, to.row));
    }
    void selectionChanged(sheet::SpreadControl&, const sheet::CellRange& b) override {
        lines.push_back("selection " + at(b.col1, b.row1) + ":" + at(b.col2, b.row2));
    }
    void rightClick(sheet::SpreadControl&, int c, int r, int, int) override {
        lines.push_back("rightclick " + std::to_string(c) + "," + std::to_string(r));
    }
    void checkBoxToggled(sheet::SpreadControl&, int c, int r, bool on) override {
        lines.push_back("check " + at(c, r) + (on ? " on" : " off"));
    }
    void buttonClicked(sheet::SpreadControl&, int c, int r) override {
        lines.push_back("button " + at(c, r));
    }
    void dataChanged(sheet::SpreadControl&, int c, int r) override { lines.push_back("data " + at(c, r)); }
    void userResized(sheet::SpreadControl&, bool column, int index) override {
        lines.push_back(std::string(column ? "resized col " : "resized row ") + std::to_string(index));
    }
    bool tabOut(sheet::SpreadControl&, bool forward) override {
        lines.push_back(forward ? "tabout" : "tabout back");
        return false;
    }
};

/// The dialog: a 4 x 6 grid over 1001 and its preview over 1002.
class GridDialog : public ui::Dialog {
public:
    GridDialog()
        : ui::Dialog(900) {}
    sheet::SpreadControl* grid = nullptr;
    sheet::PreviewControl* preview = nullptr;
    Log log;
    std::vector<int> contextIds;
    std::vector<int> keys;

protected:
    bool onInitDialog() override {
        grid = sheet::createSpreadControl(item(kGridId));
        if (!grid) return true;
        grid->setListener(&log);
        sheet::SSSetMaxCols(grid, 4);
        sheet::SSSetMaxRows(grid, 6);
        preview = sheet::createPreviewControl(item(kPreviewId), grid);
        return true;
    }
    void onContextMenu(int id, ui::Point) override { contextIds.push_back(id); }
    bool preTranslateKey(const ui::KeyEvent& k) override {
        keys.push_back(k.vk);
        return false;
    }
};

} // namespace testgrid
