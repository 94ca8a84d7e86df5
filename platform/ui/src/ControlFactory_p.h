#pragma once
// Makes the widget of a template's control line and connects its notifications.

#include <ui/Control.h>
#include <ui/ControlKind.h>
#include <ui/Resources.h>

class QWidget;

namespace ui {

/// The kind of control a template line makes (its keyword, class and styles).
ControlKind kindOf(const ControlTemplate& t);
/// The widget for a template line, as a child of `parent`.
QWidget* createWidget(const ControlTemplate& t, ControlKind kind, QWidget* parent);
/// Connects the widget's signals to the control's notifications.
void connectNotifications(Control* c, QWidget* w);

} // namespace ui
