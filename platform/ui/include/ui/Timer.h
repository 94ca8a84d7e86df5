#pragma once
// Timers that belong to no window: a view's repaint delay, a host's polling. They run on the
// toolkit's clock, or on the scripted agent's manual clock, which the script's `tick` advances.

#include <functional>

namespace ui {

/// Calls `callback` every `ms` milliseconds (at least 1) until killed; returns the timer's id
/// (positive, never given twice). The callback may kill its own timer or set others.
int setTimer(int ms, std::function<void()> callback);
/// Stops a timer; an unknown or killed id is ignored. False when there was no such timer.
bool killTimer(int id);

} // namespace ui
