#include "run/TestLog.h"

#include "config/LogSetting.h"
#include "files/TorvexDoc.h"
#include "model/OperatorDialog.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace torvex {

namespace {
QString RefusalText() {
    return QCoreApplication::translate("TestLog", "SETTINGSタブの試験ログ保存設定を確認してください。");
}
} // namespace

QString CTestLog::FileName(const QString& strFolder, const QDateTime& when, bool bSequence) {
    const QString stem = strFolder + when.toString("yyyyMMdd_HHmmss");
    const QString ext = bSequence ? QStringLiteral(".tvxs") : QStringLiteral(".tvx");
    // Two starts within one second keep both logs.
    QString path = stem + ext;
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = stem + QString("_%1").arg(n) + ext;
    return path;
}

namespace {
// The log has one message of its own for every failure: the document's save
// errors are kept quiet meanwhile.
class CQuietDocument {
public:
    explicit CQuietDocument(CTorvexDoc& doc) : m_doc(doc), m_pDialog(doc.Dialog()) { doc.SetDialog(nullptr); }
    ~CQuietDocument() { m_doc.SetDialog(m_pDialog); }

private:
    CTorvexDoc& m_doc;
    COperatorDialog* m_pDialog;
};
} // namespace

CTestLog::Result CTestLog::Write(int nMode, bool bManualOwed, const QDateTime& now) {
    CLogSetting setting;
    setting.LoadLogSetting();
    if (!setting.m_bLogOn) return Nothing;
    const QString folder = m_strFolderOverride.isEmpty() ? setting.m_strLogFolder : m_strFolderOverride;

    if (nMode == 1 && bManualOwed) {
        const QString path = FileName(folder, now, false);
        const QString oldPath = m_doc.PathName();
        const bool bModified = m_doc.IsModified();
        bool bSaved;
        {
            CQuietDocument quiet(m_doc);
            bSaved = m_doc.SaveDataFile(path, false);
        }
        if (!bSaved) {
            m_dialog.Message(RefusalText());
            return Refused;
        }
        // The log is a copy: the document goes back to its own file and name.
        if (oldPath.isEmpty())
            m_doc.ClearPathName(); // title and condition name "無題" again
        else
            m_doc.SetPathName(oldPath, false); // names the condition after the file again
        m_doc.SetModifiedFlag(bModified);
        return Written;
    }

    if (nMode == 2 && !m_doc.m_sequence.m_bLogWritten) {
        const QString path = FileName(folder, now, true);
        const bool bSeqModified = m_doc.m_bSequenceModified;
        bool ok;
        {
            CQuietDocument quiet(m_doc);
            ok = m_doc.WriteSequenceFile(path);
        }
        m_doc.m_bSequenceModified = bSeqModified;
        if (!ok) {
            m_dialog.Message(RefusalText());
            return Refused;
        }
        m_doc.m_sequence.m_bLogWritten = 1;
        return Written;
    }
    return Nothing;
}

} // namespace torvex
