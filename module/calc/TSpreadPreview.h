#pragma once
// The thin class over a print preview control, as TSpread is over the grid: each operation hands the
// handle to one entry point of the control.

#include <sheet/SpreadControl.h>

class TSpreadPreview {
public:
    explicit TSpreadPreview(sheet::PreviewControl* control = nullptr)
        : m_hWnd(control) {}
    sheet::PreviewControl* handle() const { return m_hWnd; }
    void setHandle(sheet::PreviewControl* control) { m_hWnd = control; }

    bool SetPageViewType(int type) { return sheet::SpvSetPageViewType(m_hWnd, type); }
    bool SetPageViewPercentage(int percent) { return sheet::SpvSetPageViewPercentage(m_hWnd, percent); }
    int GetPageViewPercentage() const { return sheet::SpvGetPageViewPercentage(m_hWnd); }
    bool SetPageCurrent(int page) { return sheet::SpvSetPageCurrent(m_hWnd, page); }
    int GetPageCurrent() const { return sheet::SpvGetPageCurrent(m_hWnd); }
    int GetPageCount() const { return sheet::SpvGetPageCount(m_hWnd); }
    bool SetAllowUserZoom(bool allow) { return sheet::SpvSetAllowUserZoom(m_hWnd, allow); }

private:
    sheet::PreviewControl* m_hWnd;
};
