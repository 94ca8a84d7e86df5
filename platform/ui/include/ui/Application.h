#pragma once
// The toolkit's application object, the main window and screen metrics; the profile store is in
// Profile.h.

#include <ui/Profile.h>
#include <ui/Types.h>

#include <optional>
#include <string>

class QWidget;

namespace ui {

/// Creates the toolkit application if there is none (offscreen when asked or when no display).
void ensureApplication(bool offscreen = false);
bool isOffscreen();
/// Lets pending window events run (used between scripted actions).
void processEvents();

/// The host's main window, parent of dialogs created without one.
void setMainWindow(QWidget* window);
QWidget* mainWindow();

/// Saves a picture of a top-level widget (or the whole main window when null) to a PNG file.
bool grabToFile(QWidget* widget, const std::string& path, std::string& error);

/// Screen sizes: the full-screen client area and the work area of the desktop.
struct ScreenMetrics {
    Size fullScreenClient; ///< width and height a maximised window's client area can have
    Rect workArea;         ///< desktop less task bars
};
ScreenMetrics screenMetrics();
/// Fixes the screen for tests; nullopt returns to the real screen.
void setVirtualScreen(std::optional<ScreenMetrics> metrics);

} // namespace ui
