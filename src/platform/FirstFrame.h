#pragma once
// The start shows the panel first and builds the rest after it: this runs the
// event loop until the window is on the screen and painted, taking no user
// input and no socket data meanwhile, and gives up after maxMs (no window
// manager, or a window that is never mapped).
class QWidget;

void WaitUntilPainted(QWidget *window, int maxMs);
