#pragma once

#include <QString>
#include <QStringList>

namespace torvex {

// Where the operator's manual (a PDF file per language) is found: beside the
// program, in the build tree's docs/ folder, and in the package's documentation
// folder (../share/doc/torvex-pilot from the program, /usr/share/doc/torvex-pilot).

// The language of the manual to open: the program's language, "ja" unless a
// translation of the interface says otherwise.
QString ManualLanguage();

// File name of the manual in a language ("ja", "en"); empty for any other.
QString ManualFileName(const QString& strLanguage);

// The folders searched, in order, for a program in strProgramFolder.
QStringList ManualFolders(const QString& strProgramFolder);

// The manual to open: the one in strLanguage from the first folder that has it,
// else the one in the other language; empty when there is none.
QString FindManual(const QString& strLanguage, const QStringList& folders);

} // namespace torvex
