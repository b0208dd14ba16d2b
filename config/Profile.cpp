#include "config/Profile.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace {
const int kMaxValueLength = 519;
}

bool CreateFolders(const QString& strPath) {
    if (strPath.isEmpty())
        return false;
    QFileInfo info(strPath);
    if (info.exists())
        return info.isDir();
    return QDir().mkpath(strPath) && QFileInfo(strPath).isDir();
}

QString ProfilePath() {
    QString base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    QString folder = base + "/Kelvora/TORVEX_Pilot";
    CreateFolders(folder);
    return folder + "/TORVEX_Pilot.ini";
}

QString ReadProfileValue(const QString& strSection, const QString& strKey, const QString& strDefault) {
    const QString path = ProfilePath();
    QFileInfo info(path);
    if (!info.exists() || !info.isFile() || !info.isReadable())
        return strDefault;
    QSettings settings(path, QSettings::IniFormat);
    const QString key = strSection + "/" + strKey;
    if (settings.status() != QSettings::NoError || !settings.contains(key))
        return strDefault;
    QString value = settings.value(key).toString();
    return value.left(kMaxValueLength);
}

void WriteProfileValue(const QString& strSection, const QString& strKey, const QString& strValue) {
    const QString path = ProfilePath();
    if (QFileInfo(path).isDir())
        return;
    QSettings settings(path, QSettings::IniFormat);
    settings.setValue(strSection + "/" + strKey, strValue);
    settings.sync();
}
