#pragma once

#include <QString>

namespace torvex {

// Whether a test start leaves a log file, and where.
class CLogSetting {
public:
    // Reads the switch (on unless the file says otherwise) and the folder. With
    // no folder stored, <documents>/Kelvora/TORVEX_Pilot/LOG/ is stored and
    // created. The folder always ends with '/', since log names are appended
    // to it directly.
    void LoadLogSetting();
    // Store in the record and in the settings file at once; a folder gets its
    // trailing '/' when it lacks one.
    void SetLogOn(bool bOn);
    void SetLogFolder(const QString& strFolder);

    bool m_bLogOn = true;
    QString m_strLogFolder;
};

} // namespace torvex
