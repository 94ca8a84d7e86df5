#pragma once
// The grid control and the print preview control, placed over placeholder controls of a dialog.
// Callers speak to them through the entry points of <sheet/SpreadControl.h>; no toolkit types here.

#include <sheet/SpreadControl.h>

class QWidget;

namespace ui {
class Control;
}

namespace sheet {

/// Puts a grid over a placeholder control ("VorGrid") and registers it for scripts; the grid lives
/// as long as the placeholder. Null when the control is missing or not a placeholder.
SpreadControl* createSpreadControl(ui::Control* placeholder);
/// Puts a print preview of `grid` over a placeholder control ("VorPreview"); null on failure.
PreviewControl* createPreviewControl(ui::Control* placeholder, SpreadControl* grid);
/// The grid or preview that a placeholder shows, or null.
SpreadControl* spreadControlOf(const ui::Control* placeholder);
PreviewControl* previewControlOf(const ui::Control* placeholder);

/// A grid widget outside any dialog (tools, benchmarks); the widget owns its control.
QWidget* createGridWidget(QWidget* parent = nullptr);
/// A preview widget outside any dialog.
QWidget* createPreviewWidget(SpreadControl* grid, QWidget* parent = nullptr);
/// The control behind a widget made by this library, or null.
SpreadControl* spreadControlOf(QWidget* widget);
PreviewControl* previewControlOf(QWidget* widget);

} // namespace sheet
