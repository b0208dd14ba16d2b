#include "files/TorvexDoc.h"

#include "config/Profile.h"
#include "model/StepExpansion.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStorageInfo>
#include <algorithm>
#include <sys/mman.h>
#include <unistd.h>

namespace torvex {

namespace {

// The name of an unnamed condition as files store it; the title shows it translated.
const QString kUntitled = QStringLiteral("無題");
QString UntitledTitle() {
    return QCoreApplication::translate("TorvexDoc", "無題");
}
const QString kRecentSection = QStringLiteral("Recent File List");
const int kRecentCount = 4;

QString Native(const QString& strPath) {
    return QDir::toNativeSeparators(strPath);
}

// The message for a save that failed, chosen from what the file system says.
QString SaveFailureText(const QString& strPath) {
    QFileInfo info(strPath);
    QFileInfo folder(info.absolutePath());
    if ((info.exists() && (!info.isWritable() || info.isDir())) || (folder.exists() && !folder.isWritable()))
        return QCoreApplication::translate("TorvexDoc",
                                           "%1 は使用中または読み取り専用のため、書き込めません。")
            .arg(Native(strPath));
    QStorageInfo storage(info.absolutePath());
    if (storage.isValid() && storage.bytesAvailable() < 64 * 1024)
        return QCoreApplication::translate("TorvexDoc",
                                           "出力先のディスク ドライブの空き容量が不足しています。");
    return QCoreApplication::translate("TorvexDoc", "ドキュメントの保存に失敗しました。");
}

// A mapped file read from front to back: the pages ahead are mapped in one
// call and those behind are handed back to the system (they come again from
// the page cache should they be needed), so that a large file never stays
// resident and is not read through one page fault after another.
class CReadWindow {
public:
    // nSize 0: not a mapping, nothing to do.
    CReadWindow(const char* pBase, qint64 nSize) : m_pBase(const_cast<char*>(pBase)), m_nSize(nSize) {
        Restart();
    }
    void Restart() {
        if (m_nSize == 0) return;
        if (m_nReleased < m_nSize) Release(m_nSize);
        m_nReleased = m_nPopulated = 0;
        Populate(0);
    }
    // Everything before nPos has been read.
    void Advance(qint64 nPos) {
        if (m_nSize == 0) return;
        if (nPos - m_nReleased >= kWindow || nPos >= m_nSize) Release(nPos);
        Populate(nPos);
    }

private:
    void Release(qint64 nPos) {
        // The mapping starts on a page boundary.
        const qint64 nEnd = nPos >= m_nSize ? m_nSize : nPos / Page() * Page();
        if (nEnd > m_nReleased) madvise(m_pBase + m_nReleased, size_t(nEnd - m_nReleased), MADV_DONTNEED);
        m_nReleased = std::max(m_nReleased, nEnd);
    }
    void Populate(qint64 nPos) {
#ifdef MADV_POPULATE_READ
        if (nPos + kWindow <= m_nPopulated || m_nPopulated >= m_nSize) return;
        const qint64 nFrom = std::max(m_nPopulated, nPos / Page() * Page());
        const qint64 nTo = std::min(m_nSize, nFrom + 2 * kWindow);
        // Older kernels refuse it: the pages then come one fault at a time.
        madvise(m_pBase + nFrom, size_t(nTo - nFrom), MADV_POPULATE_READ);
        m_nPopulated = nTo;
#else
        (void)nPos;
#endif
    }
    static qint64 Page() {
        static const qint64 nPage = sysconf(_SC_PAGESIZE);
        return nPage;
    }

    static constexpr qint64 kWindow = 1024 * 1024;
    char* m_pBase;
    qint64 m_nSize;
    qint64 m_nReleased = 0;
    qint64 m_nPopulated = 0;
};

bool SameFile(const QString& a, const QString& b) {
    const QString ca = QFileInfo(a).canonicalFilePath();
    return !ca.isEmpty() && ca == QFileInfo(b).canonicalFilePath();
}

} // namespace

CTorvexDoc::CTorvexDoc(QObject* pParent) : QObject(pParent), m_strTitle(UntitledTitle()) {
    m_settingStandard.Reset(false);
    m_settingManual.Reset(true);
}

QStringList CTorvexDoc::DataFileFilters() {
    return {QStringLiteral("TORVEX Files (*.tvx)"),
            QCoreApplication::translate("TorvexDoc", "すべてのファイル (*)")};
}

QStringList CTorvexDoc::SequenceFileFilters() {
    return {QStringLiteral("TORVEX Sequence Files (*.tvxs)"),
            QCoreApplication::translate("TorvexDoc", "すべてのファイル (*)")};
}

void CTorvexDoc::SetMachine(uint32_t ulMachineType, int32_t nHWVersion) {
    m_ulMachineType = ulMachineType;
    m_nHWVersion = nHWVersion;
}

void CTorvexDoc::SetModifiedFlag(bool bModified) {
    if (m_bModified == bModified) return;
    m_bModified = bModified;
    emit modifiedChanged(bModified);
}

void CTorvexDoc::SetPathName(const QString& strPath, bool bAddToRecent) {
    QFileInfo info(strPath);
    m_strPathName = info.absoluteFilePath();
    m_strTitle = info.fileName();
    m_settingManual.m_strTestName = ConditionNameOf(strPath);
    if (bAddToRecent && m_bKeepRecent) AddRecentFile(m_strPathName);
    emit titleChanged();
    emit manualNameChanged();
}

void CTorvexDoc::ClearPathName() {
    m_strPathName.clear();
    m_strTitle = UntitledTitle();
    m_settingManual.m_strTestName = kUntitled;
    emit titleChanged();
    emit manualNameChanged();
}

int64_t CTorvexDoc::ManualStepTotal() const {
    return CountSteps(m_settingManual);
}

void CTorvexDoc::ExpandManual() {
    ExpandSteps(m_settingManual);
    m_nCurStep = 0;
}

bool CTorvexDoc::OnNewDocument() {
    if (!SaveModified()) return false;
    NewDocument();
    return true;
}

void CTorvexDoc::NewDocument() {
    m_strPathName.clear();
    m_strTitle = UntitledTitle();
    SetModifiedFlag(false);
    for (CSettingData* pCond : {&m_settingManual, &m_settingStandard}) {
        pCond->m_ulMachineType = m_ulMachineType;
        pCond->m_nHWVersion = m_nHWVersion;
        pCond->Reset(pCond == &m_settingManual);
    }
    ExpandManual();
    ExpandSteps(m_settingStandard);
    emit titleChanged();
    emit manualConditionReplaced();
    emit standardConditionReplaced();
}

bool CTorvexDoc::OpenDocument(const QString& strPath) {
    // Only on MANUAL does the file replace the document (see ReadDocument).
    if (m_nTab == TAB_MANUAL) {
        if (!m_strPathName.isEmpty() && SameFile(strPath, m_strPathName) && !m_bModified) return true;
        if (!SaveModified()) return false;
    }
    return ReadDocument(strPath);
}

bool CTorvexDoc::LoadBytes(const QString& strPath, QFile& file, QByteArray& bytes, bool* pbMapped) {
    if (pbMapped) *pbMapped = false;
    QFileInfo info(strPath);
    if (!info.exists()) {
        Tell(QCoreApplication::translate(
                 "TorvexDoc",
                 "%1\nこのファイルが見つかりません。\nパスとファイル名が正しいかどうか確認してださい。")
                 .arg(Native(strPath)));
        return false;
    }
    file.setFileName(strPath);
    if (info.isDir() || !file.open(QIODevice::ReadOnly)) {
        Tell(QCoreApplication::translate("TorvexDoc", "ドキュメントを開くことに失敗しました。"));
        return false;
    }
    const qint64 nSize = file.size();
    if (nSize == 0) return true;
    if (uchar* p = file.map(0, nSize)) {
        bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(p), qsizetype(nSize));
        if (pbMapped) *pbMapped = true;
        return true;
    }
    bytes = file.readAll();
    if (bytes.size() != nSize) {
        Tell(QCoreApplication::translate("TorvexDoc", "ドキュメントを開くことに失敗しました。"));
        return false;
    }
    return true;
}

bool CTorvexDoc::ReadDocument(const QString& strPath) {
    QFile file;
    QByteArray bytes;
    if (!LoadBytes(strPath, file, bytes)) return false;

    // An empty file is not read at all: the open counts as done.
    if (!bytes.isEmpty()) {
        CArchiveReader ar(bytes);
        auto pCond = std::make_unique<CSettingData>();
        std::vector<CExecData> steps;
        const int32_t r = ReadDataFile(ar, m_ulMachineType, *pCond, steps);
        if (r == READ_MALFORMED) {
            Tell(ReadResultMessage(r));
            m_bLoadFailed = 1;
            // On the SEQUENCE tab the file was only ever meant for the sequence
            // list: the MANUAL work stays.
            if (m_nTab != TAB_SEQUENCE) NewDocument();
            return false;
        }
        if (r != READ_OK) {
            m_bLoadFailed = 1;
            Tell(ReadResultMessage(r));
            return false;
        }
        m_bLoadFailed = 0;
        pCond->m_strTestName = ConditionNameOf(strPath);
        pCond->m_listExec = std::move(steps);
        if (m_nTab == TAB_MANUAL) {
            m_settingManual = *pCond;
        } else if (m_nTab == TAB_SEQUENCE) {
            if (m_sequence.AddEntry(std::move(pCond))) emit sequenceChanged();
        }
    } else {
        m_bLoadFailed = 0;
    }

    // Only a file opened as the MANUAL test becomes the document's file. On the
    // other tabs the document stays bound to its own file: taking the read
    // file's path would make the next Save write the MANUAL condition over the
    // test just added to the sequence.
    if (m_nTab != TAB_MANUAL) return true;
    SetPathName(strPath);
    SetModifiedFlag(false);
    ExpandManual();
    emit manualConditionReplaced();
    return true;
}

bool CTorvexDoc::AddEntryFromFile() {
    const QString path =
        m_pDialog->OpenFileName(QCoreApplication::translate("TorvexDoc", "開く"), DataFileFilters());
    if (path.isEmpty()) return false;
    const bool bModified = m_bModified;
    const bool bRead = ReadDocument(path);
    SetModifiedFlag(bModified);
    return bRead;
}

template <class Fn> bool CTorvexDoc::WriteAtomically(const QString& strPath, Fn writeItems) {
    QFileInfo info(strPath);
    // Replacing a file through a rename would get past its write protection.
    if (info.exists() && (!info.isWritable() || !info.isFile())) {
        Tell(SaveFailureText(strPath));
        return false;
    }
    QSaveFile file(strPath);
    // Unbuffered, so a short write shows in the count written: buffered, a
    // write cut short by the file system could still commit a truncated file.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        Tell(SaveFailureText(strPath));
        return false;
    }
    CArchiveWriter ar(&file);
    writeItems(ar);
    if (!ar.Flush() || !file.commit()) {
        const QString text = SaveFailureText(strPath); // before the temporary file goes
        file.cancelWriting();
        Tell(text);
        return false;
    }
    return true;
}

bool CTorvexDoc::SaveDataFile(const QString& strPath, bool bAddToRecent) {
    if (!WriteAtomically(strPath, [this](CArchiveWriter& ar) { WriteDataFile(m_settingManual, ar); }))
        return false;
    SetPathName(strPath, bAddToRecent);
    SetModifiedFlag(false);
    return true;
}

bool CTorvexDoc::Save() {
    if (!m_strPathName.isEmpty()) {
        QFileInfo info(m_strPathName);
        if (info.isFile() && info.isWritable()) return SaveDataFile(m_strPathName);
    }
    return SaveAs();
}

bool CTorvexDoc::SaveAs() {
    const QString proposed = m_strPathName.isEmpty() ? m_strTitle + QStringLiteral(".tvx") : m_strPathName;
    const QString path = m_pDialog->SaveFileName(QCoreApplication::translate("TorvexDoc", "名前を付けて保存"),
                                                 proposed, DataFileFilters(), QStringLiteral("tvx"));
    if (path.isEmpty()) return false;
    return SaveDataFile(path);
}

bool CTorvexDoc::SaveModified() {
    if (!m_bModified) return true;
    const QString name =
        m_strPathName.isEmpty() ? m_strTitle + QStringLiteral(".tvx") : QFileInfo(m_strPathName).fileName();
    switch (m_pDialog->AskYesNoCancel(
        QCoreApplication::translate("TorvexDoc", "%1 への変更を保存しますか?").arg(name))) {
    case COperatorDialog::Yes:
        return Save();
    case COperatorDialog::No:
        return true;
    default:
        return false;
    }
}

bool CTorvexDoc::SaveSequenceModified() {
    // An empty list has nothing to save (and could not be saved).
    if (!m_bSequenceModified || m_sequence.Count() == 0) return true;
    const QString name = m_sequence.m_strSeqPath.isEmpty()
                             ? QCoreApplication::translate("TorvexDoc", "無題.tvxs")
                             : QFileInfo(m_sequence.m_strSeqPath).fileName();
    switch (m_pDialog->AskYesNoCancel(
        QCoreApplication::translate("TorvexDoc", "%1 への変更を保存しますか?").arg(name))) {
    case COperatorDialog::Yes:
        return SaveSequence();
    case COperatorDialog::No:
        return true;
    default:
        return false;
    }
}

bool CTorvexDoc::SaveSequence() {
    if (m_sequence.Count() == 0) return false;
    if (m_sequence.m_strSeqPath.isEmpty()) return SaveSequenceAs();
    return WriteSequenceFile(m_sequence.m_strSeqPath);
}

bool CTorvexDoc::SaveSequenceAs() {
    if (m_sequence.Count() == 0) return false;
    const QString path =
        m_pDialog->SaveFileName(QCoreApplication::translate("TorvexDoc", "名前を付けて保存"), UntitledTitle(),
                                SequenceFileFilters(), QStringLiteral("tvxs"));
    if (path.isEmpty() || !WriteSequenceFile(path)) return false;
    m_sequence.m_strSeqPath = QFileInfo(path).absoluteFilePath();
    emit sequencePathChanged();
    return true;
}

bool CTorvexDoc::LoadSequence(bool* pbApplied) {
    if (pbApplied) *pbApplied = false;
    const QString path =
        m_pDialog->OpenFileName(QCoreApplication::translate("TorvexDoc", "開く"), SequenceFileFilters());
    if (path.isEmpty() || !SaveSequenceModified()) return false;
    return ReadSequenceFile(path, pbApplied);
}

bool CTorvexDoc::ReadSequenceFile(const QString& strPath, bool* pbApplied) {
    if (pbApplied) *pbApplied = false;
    m_bSequenceMode = 1;
    QFile file;
    QByteArray bytes;
    const bool bLoaded = LoadBytes(strPath, file, bytes);
    SequenceEntries entries;
    int32_t r = READ_OK;
    if (bLoaded && !bytes.isEmpty()) {
        CArchiveReader ar(bytes);
        r = torvex::ReadSequenceFile(ar, m_ulMachineType, entries);
    }
    m_bSequenceMode = 0;
    if (!bLoaded) return false;
    if (r != READ_OK) {
        // A sequence file that cannot be read changes nothing, not even the
        // MANUAL condition.
        m_bLoadFailed = 1;
        Tell(ReadResultMessage(r));
        return false;
    }
    m_bLoadFailed = 0;
    if (entries.empty() && m_sequence.Count() > 0) return true;
    if (!entries.empty()) m_sequence.Replace(std::move(entries));
    if (pbApplied) *pbApplied = true;
    m_sequence.Select(0);
    m_bSequenceModified = 0;
    m_sequence.m_bLogWritten = 0;
    m_sequence.m_strSeqPath = QFileInfo(strPath).absoluteFilePath();
    m_nCurStep = 0;
    emit sequenceChanged();
    emit sequencePathChanged();
    return true;
}

bool CTorvexDoc::ForEachSequenceEntry(const QString& strPath, const SequenceEntryFn& fnEntry,
                                      bool bCheckFirst) {
    QFile file;
    QByteArray bytes;
    bool bMapped = false;
    if (!LoadBytes(strPath, file, bytes, &bMapped)) return false;
    if (bytes.isEmpty()) return true;
    CReadWindow window(bytes.constData(), bMapped ? bytes.size() : 0);
    const auto failed = [this](int32_t r) {
        m_bLoadFailed = r != READ_OK;
        if (r != READ_OK) Tell(ReadResultMessage(r));
        return r != READ_OK;
    };
    if (bCheckFirst) {
        CArchiveReader check(bytes.constData(), bytes.size());
        std::vector<qint64> ends; // where each entry ends
        const int32_t r =
            torvex::CheckSequenceEntries(check, m_ulMachineType, [&](int32_t, int32_t, CSettingData&) {
                ends.push_back(check.Position());
                window.Advance(check.Position());
            });
        if (failed(r)) return false;
        if (bMapped) {
            // The check has found where each entry lies: they are read again
            // one at a time into one buffer, which is much quicker than
            // walking the mapped pages a second time (their second mapping
            // costs more than copying them), and holds no more memory.
            window.Advance(bytes.size());
            return !failed(ReadEntriesFrom(file, bytes, ends, fnEntry));
        }
    }
    CArchiveReader ar(bytes.constData(), bytes.size());
    const int32_t r = torvex::ReadSequenceEntries(ar, m_ulMachineType,
                                                  [&](int32_t nEntry, int32_t nCount, CSettingData& cond) {
                                                      fnEntry(nEntry, nCount, cond);
                                                      window.Advance(ar.Position());
                                                  });
    window.Advance(bytes.size());
    return !failed(r);
}

int32_t CTorvexDoc::ReadEntriesFrom(QFile& file, const QByteArray& head, const std::vector<qint64>& ends,
                                    const SequenceEntryFn& fnEntry) {
    CArchiveReader ar(head.constData(), head.size());
    int32_t nCount = 0;
    int32_t r = ReadSequenceHead(ar, nCount);
    if (r != READ_OK) return r;
    QByteArray buffer;
    qint64 nBegin = ar.Position();
    for (int32_t i = 0; i < int32_t(ends.size()); ++i) {
        const qint64 nBytes = ends[size_t(i)] - nBegin;
        buffer.resize(qsizetype(nBytes));
        // A file changed since the check reads as malformed, as it would through the mapping.
        if (!file.seek(nBegin) || file.read(buffer.data(), nBytes) != nBytes) return READ_MALFORMED;
        CArchiveReader entry(buffer.constData(), nBytes);
        CSettingData cond;
        r = ReadSequenceEntry(entry, m_ulMachineType, cond);
        if (r != READ_OK) return r;
        if (entry.Remaining() != 0) return READ_MALFORMED;
        fnEntry(i, nCount, cond);
        nBegin = ends[size_t(i)];
    }
    return READ_OK;
}

bool CTorvexDoc::WriteSequenceFile(const QString& strPath) {
    m_bSequenceMode = 1;
    const bool bWritten = WriteAtomically(
        strPath, [this](CArchiveWriter& ar) { torvex::WriteSequenceFile(m_sequence.m_listEntry, ar); });
    m_bSequenceMode = 0;
    if (bWritten) m_bSequenceModified = 0;
    return bWritten;
}

QStringList CTorvexDoc::RecentFiles() const {
    QStringList list;
    for (int i = 1; i <= kRecentCount; ++i) {
        const QString path = ReadProfileValue(kRecentSection, QStringLiteral("File%1").arg(i), QString());
        if (!path.isEmpty()) list.append(path);
    }
    return list;
}

void CTorvexDoc::AddRecentFile(const QString& strPath) {
    QStringList list = RecentFiles();
    list.removeAll(strPath);
    list.prepend(strPath);
    for (int i = 1; i <= kRecentCount; ++i)
        WriteProfileValue(kRecentSection, QStringLiteral("File%1").arg(i),
                          i <= list.size() ? list[i - 1] : QString());
}

} // namespace torvex
