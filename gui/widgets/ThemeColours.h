#pragma once

#include <QColor>

class QPalette;

namespace torvex {

// Colours that read in whatever theme the desktop has: the program's own
// light colours on a light theme, darker equivalents on a dark one.

// A dark theme: text is light on a dark background.
bool IsDarkPalette(const QPalette& pal);
// The selected row of the lists: RGB(200, 200, 255) under the normal text on a
// light theme; a deep blue-violet under the theme's light text on a dark one.
QColor ListSelectionColour(const QPalette& pal);
// Warnings written in red (demo mode, an overdue calibration).
QColor WarningTextColour(const QPalette& pal);
// The contrast of two colours as WCAG defines it (1 to 21; 4.5 reads well).
double ContrastRatio(const QColor& a, const QColor& b);

} // namespace torvex
