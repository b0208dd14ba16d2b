#pragma once

#include <QString>

namespace torvex {

// The settings file: an INI file of sections and key=value lines, every value
// text. It lives at Kelvora/TORVEX_Pilot/TORVEX_Pilot.ini under the user's
// configuration folder. A write is on disk when the call returns. Reads parse
// the file once and again only when it changed (by this program or any other).
//
// A file that cannot serve as settings (not UTF-8 text, unreadable, absurdly
// large) reads as empty: every read gives its default. The next write moves it
// aside to TORVEX_Pilot.ini.bad, untouched, and starts a fresh file.

// Full path of the settings file; its folders are created when missing.
// Empty when the user has no configuration folder at all.
QString ProfilePath();

// One value exactly as it was written; strDefault when the file, the key or the
// folder is missing or unusable. At most 519 characters are returned. A value
// typed into the file by hand reads as the text after '=' (commas and all).
QString ReadProfileValue(const QString& strSection, const QString& strKey, const QString& strDefault);

// Writes one value at once (flushed to disk). Failures are not reported.
void WriteProfileValue(const QString& strSection, const QString& strKey, const QString& strValue);

// Makes sure every folder of a path exists; false when a part of it exists but
// is not a folder or cannot be created.
bool CreateFolders(const QString& strPath);

} // namespace torvex
