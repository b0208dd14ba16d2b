#pragma once

#include "files/CollectingDialog.h"
#include "files/DataFile.h"
#include "files/SequenceList.h"
#include "files/TabCode.h"
#include "model/SettingData.h"

#include <QFile>
#include <QObject>
#include <QString>
#include <QStringList>

namespace torvex {

// The single document of the program: the MANUAL and STANDARD conditions, the
// sequence list, the selected step and the flags, with the data file (.tvx) and
// sequence file (.tvxs) they are read from and written to. Saves are atomic: a
// failed save leaves the previous file as it was. Reads are all or nothing.
class CTorvexDoc : public QObject {
    Q_OBJECT
public:
    explicit CTorvexDoc(QObject* pParent = nullptr);

    // What the document needs of the rest of the program.
    void SetMachine(uint32_t ulMachineType, int32_t nHWVersion);
    uint32_t MachineType() const { return m_ulMachineType; }
    void SetTab(int nTab) { m_nTab = nTab; }
    int Tab() const { return m_nTab; }
    // The operator; null falls back to one that only collects messages.
    void SetDialog(COperatorDialog* pDialog) { m_pDialog = pDialog ? pDialog : &m_quiet; }
    COperatorDialog* Dialog() const { return m_pDialog; }

    // Path, title ("無題" without a path) and modified flag.
    const QString& PathName() const { return m_strPathName; }
    const QString& Title() const { return m_strTitle; }
    bool IsModified() const { return m_bModified; }
    void SetModifiedFlag(bool bModified = true);
    // Stores the path, names the title and the MANUAL condition after the file
    // and, when asked, adds it to the recent-file list.
    void SetPathName(const QString& strPath, bool bAddToRecent = true);
    // No path: title and MANUAL condition name "無題".
    void ClearPathName();

    // The New command: the save-changes prompt, then NewDocument(). False when
    // the operator cancelled.
    bool OnNewDocument();
    // Both conditions to their defaults for the current model, expanded; no
    // path, not modified. The sequence list is not touched.
    void NewDocument();
    // Open (menu, recent list, dropped file, command line): the same file
    // without changes is left alone; otherwise the save-changes prompt, then
    // ReadDocument().
    bool OpenDocument(const QString& strPath);
    // Reads a data file by the tab shown (MANUAL replaces the MANUAL condition,
    // SEQUENCE adds an entry to the sequence list, other tabs change no
    // condition); on success the file becomes the document's path and the
    // MANUAL condition is expanded again. Messages go to the operator.
    bool ReadDocument(const QString& strPath);
    // The sequence list's LOAD button: asks for a data file and adds it to the
    // sequence list; the document's modified flag is kept.
    bool AddEntryFromFile();

    bool Save();
    bool SaveAs();
    // The save-changes prompt; true when the command may go on.
    bool SaveModified();
    // Writes the MANUAL condition and its steps to a path, which then becomes the
    // document's path; false (with the operator told) when the file could not be
    // written, the previous file being left intact.
    bool SaveDataFile(const QString& strPath, bool bAddToRecent = true);

    // The sequence save-changes prompt; true when the command may go on.
    bool SaveSequenceModified();
    // 上書き保存 and 名前を付けて保存 of the sequence list (nothing for an empty list).
    bool SaveSequence();
    bool SaveSequenceAs();
    // 読み込み: asks for a sequence file, the sequence save-changes prompt, then
    // ReadSequenceFile().
    bool LoadSequence(bool* pbApplied = nullptr);
    // Replaces the sequence list by a sequence file's entries when every entry was
    // read; the list's path becomes the file. The document's path, title and
    // modified flag are not touched. A file without entries read over a list
    // that has some changes nothing (the list is not that file's content, and
    // must not pass for saved); *pbApplied tells whether the list took the file.
    bool ReadSequenceFile(const QString& strPath, bool* pbApplied = nullptr);
    // Reads a sequence file for listing, not into the list: checks the whole
    // file first (false, with the operator told as ReadSequenceFile tells it,
    // when it cannot be read), then hands fnEntry every entry in order. Only
    // one entry is held at a time, and the file's pages are let go behind the
    // reader, so memory stays flat whatever the file's size. The document
    // itself is not changed. Without bCheckFirst the file is read once: a
    // failure then comes after the entries before it were handed on (for a
    // caller that can drop what it made of them).
    bool ForEachSequenceEntry(const QString& strPath, const SequenceEntryFn& fnEntry,
                              bool bCheckFirst = true);
    // Writes the sequence list (atomically); clears the sequence modified flag on
    // success. Does not change the list's path.
    bool WriteSequenceFile(const QString& strPath);

    // Most recent first, at most 4.
    QStringList RecentFiles() const;
    // Whether opened and saved files join the recent-file list (not for batch use).
    void SetRecentFilesKept(bool bKept) { m_bKeepRecent = bKept; }
    // The number of steps the MANUAL condition describes (counted, not cached).
    int64_t ManualStepTotal() const;

    static QStringList DataFileFilters();
    static QStringList SequenceFileFilters();

    CSettingData m_settingManual;
    CSettingData m_settingStandard;
    int32_t m_bSequenceModified = 0;
    CSequenceList m_sequence{m_bSequenceModified};
    int32_t m_nCurStep = 0;
    int32_t m_bLoadFailed = 0;
    int32_t m_bSequenceMode = 0;

signals:
    void titleChanged();
    void modifiedChanged(bool bModified);
    // The MANUAL condition (and its steps) were replaced: New, a successful open.
    void manualConditionReplaced();
    // Only the MANUAL condition's name changed (a new document path).
    void manualNameChanged();
    void standardConditionReplaced();
    // Entries were added, replaced or removed through the document.
    void sequenceChanged();
    // The sequence list's file path changed.
    void sequencePathChanged();

private:
    // Opens a file for reading and maps (or reads) its bytes, which live as long
    // as file; false with the operator told when it cannot be read.
    bool LoadBytes(const QString& strPath, QFile& file, QByteArray& bytes, bool* pbMapped = nullptr);
    // The entries of a checked sequence file, read from file one at a time:
    // head holds at least the file's head, ends where each entry ends.
    int32_t ReadEntriesFrom(QFile& file, const QByteArray& head, const std::vector<qint64>& ends,
                            const SequenceEntryFn& fnEntry);
    // Writes through a temporary file renamed over the target at the end.
    template <class Fn> bool WriteAtomically(const QString& strPath, Fn writeItems);
    void ExpandManual();
    void AddRecentFile(const QString& strPath);
    void Tell(const QString& strText) { m_pDialog->Message(strText); }

    uint32_t m_ulMachineType = MODEL_K2;
    int32_t m_nHWVersion = 0;
    int m_nTab = TAB_MANUAL;
    QString m_strPathName;
    QString m_strTitle;
    bool m_bModified = false;
    bool m_bKeepRecent = true;
    CCollectingDialog m_quiet;
    COperatorDialog* m_pDialog = &m_quiet;
};

} // namespace torvex
