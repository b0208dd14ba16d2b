#pragma once

#include <QDateTime>
#include <QString>

namespace torvex {

class CTorvexDoc;
class COperatorDialog;

// The automatic test log: at a confirmed START of a MANUAL or SEQUENCE test, a
// copy of what is about to run is saved in the log folder, named after the
// start time. A log that cannot be written refuses the start.
class CTestLog {
public:
    enum Result { Nothing, Written, Refused };

    // strFolderOverride: a log folder to use instead of the settings' one
    // (ending with '/'), for the command line.
    CTestLog(CTorvexDoc& doc, COperatorDialog& dialog, const QString& strFolderOverride = QString())
        : m_doc(doc), m_dialog(dialog), m_strFolderOverride(strFolderOverride) {}

    // nMode: 0 STANDARD, 1 MANUAL, 2 SEQUENCE. bManualOwed: the MANUAL
    // condition has not been logged since it last changed.
    Result Write(int nMode, bool bManualOwed, const QDateTime& now = QDateTime::currentDateTime());

    // "<folder>20240403_140509.tvx" ("…_2.tvx" when that file exists already)
    static QString FileName(const QString& strFolder, const QDateTime& when, bool bSequence);

private:
    CTorvexDoc& m_doc;
    COperatorDialog& m_dialog;
    QString m_strFolderOverride;
};

} // namespace torvex
