#include "config/ManualLocation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace torvex {

namespace {

const char* const kLanguages[] = {"ja", "en"};

} // namespace

QString ManualLanguage() {
    // Translated into its own code by the interface's translation ("en").
    return QCoreApplication::translate("ManualLocation", "ja",
                                       "language code of the operator's manual to open");
}

QString ManualFileName(const QString& strLanguage) {
    if (strLanguage == QLatin1String("ja")) return QStringLiteral("TORVEX_Pilot取扱説明書.pdf");
    if (strLanguage == QLatin1String("en")) return QStringLiteral("TORVEX_Pilot_Manual_en.pdf");
    return QString();
}

QStringList ManualFolders(const QString& strProgramFolder) {
    const QDir program(strProgramFolder);
    QStringList folders = {
        program.absolutePath(), program.absoluteFilePath(QStringLiteral("docs")),
        QDir::cleanPath(program.absoluteFilePath(QStringLiteral("../share/doc/torvex-pilot"))),
        QStringLiteral("/usr/share/doc/torvex-pilot")};
    folders.removeDuplicates();
    return folders;
}

QString FindManual(const QString& strLanguage, const QStringList& folders) {
    QStringList languages = {strLanguage};
    for (const char* pszOther : kLanguages)
        if (!languages.contains(QLatin1String(pszOther))) languages << QLatin1String(pszOther);
    for (const QString& strLang : languages) {
        const QString strName = ManualFileName(strLang);
        if (strName.isEmpty()) continue;
        for (const QString& strFolder : folders) {
            const QFileInfo file(QDir(strFolder).filePath(strName));
            if (file.isFile() && file.isReadable()) return file.absoluteFilePath();
        }
    }
    return QString();
}

} // namespace torvex
