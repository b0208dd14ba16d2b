#pragma once

#include <QFont>

namespace torvex {

// The screens ask for "MS UI Gothic"; where it does not exist, a Japanese font
// of the same kind stands in. Call once after the application object exists.
void InstallFontSubstitutions();

// "MS UI Gothic" at a height in pixels, as the screens give their fonts.
QFont UiFont(int nPixelHeight, bool bBold = false);

} // namespace torvex
