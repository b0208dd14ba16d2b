#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>

namespace torvex {

// The interface language: "ja" (the source texts) or "en" (the embedded
// translation). Chosen at start and kept for the life of the process.

// Values of the settings choice (INI_KEY_LANGUAGE in INI_SECTION_INITIAL_STATE).
inline constexpr char kLanguageAuto[] = "auto";
inline constexpr char kLanguageJapanese[] = "ja";
inline constexpr char kLanguageEnglish[] = "en";

// "ja" or "en" for a value of --lang or TORVEX_LANG ("ja", "en", also "ja_JP",
// "en_US.UTF-8" and such); an empty text for anything else.
QString NormaliseLanguage(const QString& strValue);

// The language, first found of: the command line's --lang, the environment's
// TORVEX_LANG, the settings choice (unless "auto"), the system locale (Japanese
// gives "ja", any other "en").
QString ResolveLanguage(const QString& strOption, const QString& strEnvironment, const QString& strChoice,
                        const QLocale& locale);

// Takes "--lang X" or "--lang=X" out of args. False, with a message, when the
// value is missing or no language; strLanguage is then left empty.
bool TakeLanguageOption(QStringList& args, QString& strLanguage, QString& strError);

// The settings choice: "auto", "ja" or "en" ("auto" when unset or unknown).
QString LanguageChoice();
// Stores the choice; it counts from the next start.
void SetLanguageChoice(const QString& strChoice);

// Resolves the language from the option, the environment, the settings and the
// locale, and installs the program's and Qt's own translations for it. Needs
// the QCoreApplication. Returns the language.
QString InstallLanguage(const QString& strOption);

// The language installed by InstallLanguage ("ja" before it).
QString CurrentLanguage();
// The locale of day and month names in the interface: Japan's, or the United
// States' in English (both start the week on Sunday).
QLocale InterfaceLocale();

} // namespace torvex
