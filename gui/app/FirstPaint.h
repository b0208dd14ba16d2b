#pragma once

class QWidget;

namespace torvex {

// Start-up measurement from outside: with TORVEX_FIRST_PAINT in the
// environment, the line "first-paint" goes to standard error once the window
// has been painted for the first time, and with TORVEX_FIRST_PAINT=exit the
// program then ends. Without the variable nothing is watched.
void WatchFirstPaint(QWidget* pWindow);

} // namespace torvex
