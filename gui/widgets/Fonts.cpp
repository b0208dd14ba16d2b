#include "gui/widgets/Fonts.h"

#include "config/Language.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QStringList>

namespace torvex {

namespace {
const char kUiFamily[] = "MS UI Gothic";
} // namespace

void InstallFontSubstitutions() {
    QStringList substitutes;
    // In English the screens' texts take the system's own sans-serif face;
    // Japanese characters (a file or test name) still come from the Japanese
    // faces behind it, character by character.
    if (CurrentLanguage() == QLatin1String(kLanguageEnglish))
        substitutes << QFontInfo(QFontDatabase::systemFont(QFontDatabase::GeneralFont)).family();
    substitutes << QStringLiteral("Noto Sans CJK JP") << QStringLiteral("Noto Sans JP")
                << QStringLiteral("IPAGothic") << QStringLiteral("VL Gothic");
    QFont::removeSubstitutions(QString::fromLatin1(kUiFamily));
    QFont::insertSubstitutions(QString::fromLatin1(kUiFamily), substitutes);
}

QFont UiFont(int nPixelHeight, bool bBold) {
    QFont font(QString::fromLatin1(kUiFamily));
    font.setPixelSize(nPixelHeight);
    font.setBold(bBold);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

void LoadUiFonts() {
    // A font's file is opened the first time its metrics are asked for; the
    // list headers measure their captions in bold.
    for (bool bBold : {false, true})
        QFontMetrics(UiFont(14, bBold)).height();
}

} // namespace torvex
