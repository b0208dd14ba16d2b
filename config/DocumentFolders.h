#pragma once

#include <QString>

namespace torvex {

// The user's documents folder (the home folder where the desktop has none).
QString DocumentsFolder();
// The program's folder inside it, where its logs and reports go by default.
QString ProgramDocumentsFolder();
// Where a file dialog opens: the folder last used in it when that still
// exists, else the program's documents folder, else the documents folder.
QString FileDialogFolder(const QString& strLastFolder);

} // namespace torvex
