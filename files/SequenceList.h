#pragma once

#include "model/SettingData.h"

#include <QString>
#include <memory>
#include <vector>

namespace torvex {

// How a loaded test joins the sequence list.
enum : int32_t { ADD_OVERWRITE = 0, ADD_INSERT = 1, ADD_APPEND = 2 };

// The sequence list: the tests of a sequence in run order, the current entry
// and the flags that say whether the list changed. The sequence screen only
// shows it; every rule of adding, moving and deleting lives here.
class CSequenceList {
public:
    // rbModified is the document's sequence modified flag, which the list sets
    // and clears as it changes.
    explicit CSequenceList(int32_t& rbModified) : m_rbModified(rbModified) {}
    CSequenceList(const CSequenceList&) = delete;
    CSequenceList& operator=(const CSequenceList&) = delete;

    int Count() const { return int(m_listEntry.size()); }
    // Entry i, or null when i names none.
    CSettingData* Entry(int i) const;
    CSettingData* CurrentEntry() const { return Entry(m_nCurEntry); }

    // Selects entry i, kept within 0 .. last (0 for an empty list).
    void Select(int i);

    // Places a condition by m_nAddMethod and makes its place current; the placed
    // entry, or null when overwrite or insert had no current entry to act on
    // (the condition is then discarded and nothing changes).
    CSettingData* AddEntry(std::unique_ptr<CSettingData> cond);

    // The current entry changes places with the one before / after it; false
    // when nothing moved (first / last entry, empty list).
    bool MoveUp();
    bool MoveDown();

    // Deletes the current entry, after the caller asked RemoveQuestion(); false
    // when no entry is current.
    bool Remove();
    QString RemoveQuestion() const;

    // Deletes every entry, after the caller asked RemoveAllQuestion(); false for
    // an empty list.
    bool RemoveAll();
    static QString RemoveAllQuestion();

    // Puts the entries of a sequence file in place of the list: entry 0 current,
    // the list unmodified and not yet logged.
    void Replace(std::vector<std::unique_ptr<CSettingData>> entries);

    std::vector<std::unique_ptr<CSettingData>> m_listEntry;
    int32_t m_nCurEntry = 0;
    int32_t m_nAddMethod = ADD_APPEND;
    QString m_strSeqPath;
    int32_t m_bLogWritten = 0;

private:
    void Changed(bool bModified);
    int32_t& m_rbModified;
};

} // namespace torvex
