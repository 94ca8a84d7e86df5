#include "calc/ui/DlgPrintPreview.h"

#include "calc/PrintTable.h"
#include "calc/Vor_Spread.h"
#include "frame/WindowPlacement.h"

#include <host/Texts.h>
#include <ui/Control.h>
#include <ui/Image.h>

namespace {
constexpr const char* kPlacementKey = "DLG_SS_PRINTPREVIEW";
struct Button {
    int id, picture, text;
};
// texts: dialString 9310-9317
constexpr Button kButtons[] = {{DlgPrintPreview::IDC_PREV, 201, 9311},
                               {DlgPrintPreview::IDC_NEXT, 199, 9312},
                               {DlgPrintPreview::IDC_ZOOMOUT, 194, 9313},
                               {DlgPrintPreview::IDC_ZOOMIN, 193, 9314},
                               {DlgPrintPreview::IDC_PRINT, 197, 9315},
                               {DlgPrintPreview::IDC_SETTINGS, 195, 9316},
                               {ui::IDOK, 206, 9317}};
} // namespace

DlgPrintPreview::DlgPrintPreview(Vor_Spread& grid, ui::Window* parent)
    : ui::Dialog(IDD, parent)
    , m_grid(grid) {}

DlgPrintPreview::ButtonStates DlgPrintPreview::buttonStates(int page, int total, int zoom) {
    return {page >= 2, page < total, zoom<kZoomMax, zoom> kZoomMin};
}

std::string DlgPrintPreview::caption(int page, int total) {
    Vor_String text = dialString(9310);
    text.replace("%1", std::to_string(page));
    text.replace("%2", std::to_string(total));
    return text.str();
}

bool DlgPrintPreview::onInitDialog() {
    for (const Button& b : kButtons)
        if (ui::Control* c = item(b.id)) {
            c->setText(dialString(b.text).str());
            c->setImage(ui::Image::fromResource(b.picture));
        }
    m_preview.attach(m_grid.attachPreview(this, IDC_PREVIEW));
    m_zoom = m_preview.attached() ? m_preview.GetPageViewPercentage() : 100;
    m_preview.SetAllowUserZoom(false); // zoom only by the buttons, so that their states stay true
    m_resizer.init(this);
    m_resizer.add(IDC_PREVIEW, 6, 6);
    m_resizer.add(IDC_ZOOMIN, 3, 3);
    m_resizer.add(IDC_ZOOMOUT, 3, 3);
    restoreWindowPlacement(this, kPlacementKey, false, 0, 0);
    refresh();
    return true;
}

void DlgPrintPreview::onSize(int width, int height) {
    m_resizer.resize(width, height);
}

void DlgPrintPreview::onDestroy() {
    saveWindowPlacement(this, kPlacementKey);
}

void DlgPrintPreview::onCancel() {
    // Escape and the close box close; they must not mean "print", whose end code is IDCANCEL's.
    endDialog(ui::IDOK);
}

void DlgPrintPreview::setZoom(int zoom) {
    if (zoom < kZoomMin || zoom > kZoomMax) return;
    m_zoom = zoom;
    m_preview.SetPageViewType(2);
    m_preview.SetPageViewPercentage(zoom);
}

bool DlgPrintPreview::onCommand(int id, int code) {
    if (code != ui::BN_CLICKED) return false;
    switch (id) {
    case IDC_PREV:
        m_preview.SetPageCurrent(m_preview.GetPageCurrent() - 1);
        break;
    case IDC_NEXT:
        m_preview.SetPageCurrent(m_preview.GetPageCurrent() + 1);
        break;
    case IDC_ZOOMIN:
        setZoom(m_zoom + kZoomStep);
        break;
    case IDC_ZOOMOUT:
        setZoom(m_zoom - kZoomStep);
        break;
    case IDC_PRINT:
        endDialog(kEndPrint);
        return true;
    case IDC_SETTINGS:
        endDialog(kEndSettings);
        return true;
    case ui::IDOK:
        endDialog(ui::IDOK);
        return true;
    default:
        return false;
    }
    refresh();
    return true;
}

void DlgPrintPreview::refresh() {
    const int page = m_preview.attached() ? m_preview.GetPageCurrent() : 0;
    setWindowText(caption(page, gTotalPages));
    const ButtonStates s = buttonStates(page, gTotalPages, m_zoom);
    const std::pair<int, bool> states[] = {
        {IDC_PREV, s.prev}, {IDC_NEXT, s.next}, {IDC_ZOOMIN, s.zoomIn}, {IDC_ZOOMOUT, s.zoomOut}};
    for (auto [id, on] : states)
        if (ui::Control* c = item(id)) c->enableWindow(on);
}
