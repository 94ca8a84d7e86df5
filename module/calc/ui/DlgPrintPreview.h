#pragma once
// The print preview window of a calculation table: the pages as they print, page by page, with zoom,
// and the ways on to printing (end code 2) and to the print settings (end code 3).

#include "calc/TSpread.h"
#include "calc/ui/ControlResizer.h"

#include <ui/Window.h>

#include <string>

class Vor_Spread;

class DlgPrintPreview : public ui::Dialog {
public:
    enum {
        IDD = 180,
        IDC_PREVIEW = 1038,
        IDC_PREV = 1076,
        IDC_NEXT = 1075,
        IDC_ZOOMOUT = 1078,
        IDC_ZOOMIN = 1077,
        IDC_PRINT = 1080,
        IDC_SETTINGS = 1079,
    };
    /// End codes besides IDOK (close).
    enum { kEndPrint = 2, kEndSettings = 3 };
    static constexpr int kZoomStep = 50, kZoomMin = 50, kZoomMax = 200;

    explicit DlgPrintPreview(Vor_Spread& grid, ui::Window* parent = nullptr);

    /// Which buttons may be used at a page and zoom.
    struct ButtonStates {
        bool prev, next, zoomIn, zoomOut;
        bool operator==(const ButtonStates&) const = default;
    };
    static ButtonStates buttonStates(int page, int totalPages, int zoom);
    static std::string caption(int page, int totalPages);

    int currentPage() const { return m_preview.GetPageCurrent(); }
    int zoom() const { return m_zoom; }

protected:
    bool onInitDialog() override;
    bool onCommand(int id, int code) override;
    void onSize(int width, int height) override;
    void onCancel() override;
    void onDestroy() override;

private:
    /// Caption and button states after every action.
    void refresh();
    void setZoom(int zoom);

    Vor_Spread& m_grid;
    TSpreadPreview m_preview;
    ControlResizer m_resizer;
    int m_zoom = 100;
};
