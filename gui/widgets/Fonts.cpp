#include "gui/widgets/Fonts.h"

#include <QStringList>

namespace torvex {

namespace {
const char kUiFamily[] = "MS UI Gothic";
} // namespace

void InstallFontSubstitutions() {
    QStringList substitutes;
    substitutes << QStringLiteral("Noto Sans CJK JP") << QStringLiteral("Noto Sans JP")
                << QStringLiteral("IPAGothic") << QStringLiteral("VL Gothic");
    QFont::insertSubstitutions(QString::fromLatin1(kUiFamily), substitutes);
}

QFont UiFont(int nPixelHeight, bool bBold) {
    QFont font(QString::fromLatin1(kUiFamily));
    font.setPixelSize(nPixelHeight);
    font.setBold(bBold);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

} // namespace torvex
