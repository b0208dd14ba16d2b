#include "config/Language.h"

#include "config/IniKeys.h"
#include "config/Profile.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace torvex {

namespace {
QString g_strCurrent = QString::fromLatin1(kLanguageJapanese);
} // namespace

QString NormaliseLanguage(const QString& strValue) {
    const QString lower = strValue.trimmed().toLower();
    for (const char* pszCode : {kLanguageJapanese, kLanguageEnglish}) {
        const QLatin1String code(pszCode);
        if (lower == code || lower.startsWith(code + '_') || lower.startsWith(code + '-') ||
            lower.startsWith(code + '.'))
            return code;
    }
    return QString();
}

QString ResolveLanguage(const QString& strOption, const QString& strEnvironment, const QString& strChoice,
                        const QLocale& locale) {
    for (const QString& strValue : {strOption, strEnvironment, strChoice}) {
        const QString code = NormaliseLanguage(strValue);
        if (!code.isEmpty()) return code;
    }
    return QLatin1String(locale.language() == QLocale::Japanese ? kLanguageJapanese : kLanguageEnglish);
}

bool TakeLanguageOption(QStringList& args, QString& strLanguage, QString& strError) {
    strLanguage.clear();
    for (int i = 0; i < args.size(); ++i) {
        QString value;
        if (args[i] == QLatin1String("--lang")) {
            if (i + 1 >= args.size()) {
                strError = QCoreApplication::translate("Language", "--lang needs ja or en");
                return false;
            }
            value = args[i + 1];
            args.remove(i, 2);
        } else if (args[i].startsWith(QLatin1String("--lang="))) {
            value = args[i].mid(7);
            args.remove(i);
        } else {
            continue;
        }
        strLanguage = NormaliseLanguage(value);
        if (strLanguage.isEmpty()) {
            strError = QCoreApplication::translate("Language", "--lang takes ja or en, not '%1'").arg(value);
            return false;
        }
        return true;
    }
    return true;
}

QString LanguageChoice() {
    const QString value = ReadProfileValue(INI_SECTION_INITIAL_STATE, INI_KEY_LANGUAGE, QString());
    const QString code = NormaliseLanguage(value);
    return code.isEmpty() ? QString::fromLatin1(kLanguageAuto) : code;
}

void SetLanguageChoice(const QString& strChoice) {
    const QString code = NormaliseLanguage(strChoice);
    WriteProfileValue(INI_SECTION_INITIAL_STATE, INI_KEY_LANGUAGE,
                      code.isEmpty() ? QString::fromLatin1(kLanguageAuto) : code);
}

QString InstallLanguage(const QString& strOption) {
    const QString env = qEnvironmentVariable("TORVEX_LANG");
    // The settings file is read only when neither the option nor the environment decides.
    const bool bDecided = !NormaliseLanguage(strOption).isEmpty() || !NormaliseLanguage(env).isEmpty();
    const QString lang = ResolveLanguage(strOption, env, bDecided ? QString() : LanguageChoice(), QLocale());
    g_strCurrent = lang;
    auto* app = QCoreApplication::instance();
    // Qt's own texts (standard buttons, file dialogs) in the same language.
    auto* pQt = new QTranslator(app);
    if (pQt->load(QStringLiteral("qtbase_") + lang, QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(pQt);
    else
        delete pQt;
    if (lang == QLatin1String(kLanguageEnglish)) {
        auto* pOwn = new QTranslator(app);
        if (pOwn->load(QStringLiteral(":/i18n/torvex_en.qm")))
            QCoreApplication::installTranslator(pOwn);
        else
            delete pOwn;
    }
    return lang;
}

QString CurrentLanguage() {
    return g_strCurrent;
}

QLocale InterfaceLocale() {
    return g_strCurrent == QLatin1String(kLanguageEnglish) ? QLocale(QLocale::English, QLocale::UnitedStates)
                                                           : QLocale(QLocale::Japanese, QLocale::Japan);
}

} // namespace torvex
