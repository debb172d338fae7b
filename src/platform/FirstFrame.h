#pragma once
// The start shows the panel first and builds the rest after it: this runs the
// event loop until the window is on the screen and painted, taking no user
// input meanwhile, and gives up after maxMs (no window manager, or a window
// that is never mapped). Timers and the exchange's answers still run, so what
// they reach must allow for windows not built yet.
class QWidget;

void WaitUntilPainted(QWidget *window, int maxMs);
