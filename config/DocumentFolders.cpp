#include "config/DocumentFolders.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace torvex {

QString DocumentsFolder() {
    QString docs = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (docs.isEmpty()) docs = QDir::homePath();
    return docs;
}

QString ProgramDocumentsFolder() {
    return DocumentsFolder() + QStringLiteral("/Kelvora/TORVEX_Pilot");
}

QString FileDialogFolder(const QString& strLastFolder) {
    for (const QString& folder : {strLastFolder, ProgramDocumentsFolder()})
        if (!folder.isEmpty() && QFileInfo(folder).isDir()) return folder;
    return DocumentsFolder();
}

} // namespace torvex
