#pragma once
// Which top-level windows a test left behind: the check that runs after every widget test.

#include <QApplication>
#include <QPointer>
#include <QWidget>

#include <string>
#include <vector>

namespace testsupport {

/// "QWidget "dialog 140" titled "Spreadsheet Editor" (hidden)": enough to find the window's owner.
inline std::string describeWindow(const QWidget* w) {
    std::string s = w->metaObject()->className();
    if (!w->objectName().isEmpty()) s += " \"" + w->objectName().toStdString() + "\"";
    if (!w->windowTitle().isEmpty()) s += " titled \"" + w->windowTitle().toStdString() + "\"";
    s += w->isVisible() ? " (visible)" : " (hidden)";
    return s;
}

/// Windows the toolkit makes for itself and keeps hidden for reuse (tool tips, a combo box's list):
/// no test owns them.
inline bool isToolkitTransient(const QWidget* w) {
    Qt::WindowType type = w->windowType();
    return !w->isVisible() && (type == Qt::ToolTip || type == Qt::Popup);
}

/// The top-level windows open now.
inline std::vector<QPointer<QWidget>> topLevelWindows() {
    std::vector<QPointer<QWidget>> out;
    for (QWidget* w : QApplication::topLevelWidgets())
        out.emplace_back(w);
    return out;
}

/// Every top-level window that is open now but was not in `before`, hidden ones too: a dialog that
/// was only hidden (ended, but never torn down) still holds its widgets, timers and event filters.
/// `keep` (the main window) is never counted.
inline std::vector<std::string> leakedWindows(const std::vector<QPointer<QWidget>>& before,
                                              const QWidget* keep) {
    std::vector<std::string> left;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        bool old = false;
        for (const QPointer<QWidget>& p : before)
            old = old || p == w;
        if (w == keep || old || isToolkitTransient(w)) continue;
        left.push_back(describeWindow(w));
    }
    return left;
}

} // namespace testsupport
