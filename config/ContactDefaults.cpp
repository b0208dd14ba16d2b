#include "config/ContactDefaults.h"

#include "config/IniKeys.h"
#include "config/Profile.h"

#include <QCoreApplication>

namespace torvex {

namespace {

struct ContactDefault {
    const char* m_pszKey;
    const char* m_pszUtf8Value;
};

const ContactDefault kContactDefaults[] = {
    {INI_KEY_CONTACT_COMPANY, QT_TRANSLATE_NOOP("ContactDefaults", "Kelvora株式会社")},
    {INI_KEY_CONTACT_DEPT, QT_TRANSLATE_NOOP("ContactDefaults", "EMC機器サービス部 校正センター")},
    {INI_KEY_PHONE, "045-000-1280"},
    {INI_KEY_FAX, "045-000-1281"},
    {INI_KEY_EMAIL, "calibration@kelvora.example"},
};

} // namespace

void WriteContactDefaults() {
    for (const ContactDefault& entry : kContactDefaults) {
        if (ReadProfileValue(INI_SECTION_CONTACT_INFO, entry.m_pszKey, QString()).isEmpty())
            WriteProfileValue(INI_SECTION_CONTACT_INFO, entry.m_pszKey,
                              QCoreApplication::translate("ContactDefaults", entry.m_pszUtf8Value));
    }
}

} // namespace torvex
