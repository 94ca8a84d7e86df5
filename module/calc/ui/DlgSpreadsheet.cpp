#include "calc/ui/DlgSpreadsheet.h"

#include "calc/TableDocument.h"
#include "frame/LauncherTable.h"
#include "frame/ModuleResourceScope.h"
#include "frame/WindowPlacement.h"

namespace {
constexpr const char* kPlacementKey = "DLG_SPREADSHEET";
constexpr ui::Size kMinSize{400, 300};
} // namespace

DlgSpreadsheet::DlgSpreadsheet(ui::Window* parent) : ui::Dialog(IDD, parent) {}

bool DlgSpreadsheet::onInitDialog() {
    setMinTrackSize(kMinSize);
    restoreWindowPlacement(this, kPlacementKey, false, kMinSize.cx, kMinSize.cy);
    if (m_grid.attach(this, IDC_GRID)) {
        bool isNew = fileName.isEmpty() || !sheet::SSLoadFromFile(m_grid.handle(), fileName.str());
        initTableDocument(m_grid, isNew, fileName);
        m_grid.setChanged(false);
    }
    return true;
}

void DlgSpreadsheet::onDestroy() { saveWindowPlacement(this, kPlacementKey); }

void DlgSpreadsheet::onSize(int width, int height) {
    if (ui::Control* grid = item(IDC_GRID)) {
        ui::Rect r = grid->windowRect();
        ui::Point tl = screenToClient({r.left, r.top});
        grid->moveWindow(tl.x, tl.y, std::max(0, width - tl.x - 4), std::max(0, height - tl.y - 4));
    }
}

void SSEditor() {
    ModuleResourceScope scope;
    DlgSpreadsheet dlg;
    dlg.fileName = "";
    dlg.doModal();
}

namespace {
const bool registered = registerJsonLauncher(
    "SSEditor", [](const nlohmann::json&, nlohmann::json& out) {
        SSEditor();
        out["result"] = nullptr;
    });
} // namespace
