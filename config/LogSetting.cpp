#include "config/LogSetting.h"

#include "config/DocumentFolders.h"
#include "config/IniKeys.h"
#include "config/Profile.h"
#include "config/SettingsLogic.h"

#include <QDir>

namespace torvex {

namespace {

QString WithSeparator(const QString& strFolder) {
    if (strFolder.endsWith(QLatin1Char('/'))) return strFolder;
    return strFolder + QLatin1Char('/');
}

} // namespace

void CLogSetting::LoadLogSetting() {
    m_bLogOn =
        ReadProfileValue(INI_SECTION_PROPERTY, INI_KEY_LOG, QStringLiteral("ON")) == QLatin1String("ON");
    const QString stored = ReadProfileValue(INI_SECTION_PROPERTY, INI_KEY_FOLDER, QString());
    if (!stored.isEmpty()) {
        // A folder typed into the file without its separator still gets the
        // logs inside it, not beside it.
        m_strLogFolder = WithSeparator(stored);
        return;
    }
    const QString docs = DocumentsFolder();
    SetLogFolder(docs + QStringLiteral("/Kelvora/TORVEX_Pilot/LOG/"));
    CreateFolders(docs + QStringLiteral("/Kelvora/TORVEX_Pilot/LOG"));
}

void CLogSetting::SetLogOn(bool bOn) {
    m_bLogOn = bOn;
    WriteProfileValue(INI_SECTION_PROPERTY, INI_KEY_LOG, OnOffText(bOn));
}

void CLogSetting::SetLogFolder(const QString& strFolder) {
    m_strLogFolder = strFolder.isEmpty() ? strFolder : WithSeparator(strFolder);
    WriteProfileValue(INI_SECTION_PROPERTY, INI_KEY_FOLDER, m_strLogFolder);
}

} // namespace torvex
