#pragma once

#include <QString>

// The settings file: an INI file of sections and key=value lines, every value
// text. It lives at Kelvora/TORVEX_Pilot/TORVEX_Pilot.ini under the user's
// configuration folder. It is opened for each read and each write; a write is
// on disk when the call returns.

// Full path of the settings file; its folders are created when missing.
QString ProfilePath();

// One value; strDefault when the file, the key or the folder is missing or
// unreadable. At most 519 characters are returned.
QString ReadProfileValue(const QString& strSection, const QString& strKey, const QString& strDefault);

// Writes one value at once. Failures are not reported.
void WriteProfileValue(const QString& strSection, const QString& strKey, const QString& strValue);

// Makes sure every folder of a path exists; false when a part of it exists but
// is not a folder or cannot be created.
bool CreateFolders(const QString& strPath);
