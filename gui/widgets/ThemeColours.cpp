#include "gui/widgets/ThemeColours.h"

#include <QPalette>
#include <cmath>

namespace torvex {

bool IsDarkPalette(const QPalette& pal) {
    return pal.color(QPalette::Base).lightness() < 128;
}

QColor ListSelectionColour(const QPalette& pal) {
    return IsDarkPalette(pal) ? QColor(62, 62, 128) : QColor(200, 200, 255);
}

QColor WarningTextColour(const QPalette& pal) {
    return IsDarkPalette(pal) ? QColor(255, 120, 120) : QColor(192, 0, 0);
}

namespace {

double Luminance(const QColor& c) {
    auto channel = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

} // namespace

double ContrastRatio(const QColor& a, const QColor& b) {
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

} // namespace torvex
