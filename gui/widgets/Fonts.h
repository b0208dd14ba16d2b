#pragma once

#include <QFont>

namespace torvex {

// The screens ask for "MS UI Gothic"; where it does not exist, a Japanese font
// of the same kind stands in, and in the English interface the system's
// sans-serif font. Call after the application object exists and the language
// is installed (again: the list is replaced).
void InstallFontSubstitutions();

// "MS UI Gothic" at a height in pixels, as the screens give their fonts.
QFont UiFont(int nPixelHeight, bool bBold = false);

// Loads the font files the screens draw with (regular and bold), so that the
// first screen built afterwards finds them ready. Start-up calls it while it
// waits for the instrument's answer.
void LoadUiFonts();

} // namespace torvex
