#include "files/SequenceList.h"

#include <QCoreApplication>
#include <algorithm>
#include <utility>

namespace torvex {

CSettingData* CSequenceList::Entry(int i) const {
    if (i < 0 || i >= Count()) return nullptr;
    return m_listEntry[size_t(i)].get();
}

void CSequenceList::Select(int i) {
    const int last = Count() - 1;
    m_nCurEntry = last < 0 ? 0 : std::clamp(i, 0, last);
}

void CSequenceList::Changed(bool bModified) {
    m_rbModified = bModified ? 1 : 0;
    m_bLogWritten = 0;
}

CSettingData* CSequenceList::AddEntry(std::unique_ptr<CSettingData> cond) {
    if (!cond) return nullptr;
    CSettingData* pPlaced = cond.get();
    if (m_listEntry.empty()) {
        m_listEntry.push_back(std::move(cond));
        m_nCurEntry = 0;
    } else if (m_nAddMethod == ADD_OVERWRITE || m_nAddMethod == ADD_INSERT) {
        if (!Entry(m_nCurEntry)) return nullptr;
        if (m_nAddMethod == ADD_OVERWRITE)
            m_listEntry[size_t(m_nCurEntry)] = std::move(cond);
        else
            m_listEntry.insert(m_listEntry.begin() + m_nCurEntry, std::move(cond));
    } else {
        m_listEntry.push_back(std::move(cond));
        m_nCurEntry = Count() - 1;
    }
    Changed(true);
    return pPlaced;
}

bool CSequenceList::MoveUp() {
    // A current entry beyond the end (never set so by the list itself) is taken
    // as the last one rather than swapped out of range.
    Select(m_nCurEntry);
    if (m_nCurEntry <= 0) return false;
    std::swap(m_listEntry[size_t(m_nCurEntry)], m_listEntry[size_t(m_nCurEntry - 1)]);
    --m_nCurEntry;
    Changed(true);
    return true;
}

bool CSequenceList::MoveDown() {
    Select(m_nCurEntry);
    if (m_nCurEntry >= Count() - 1) return false;
    std::swap(m_listEntry[size_t(m_nCurEntry)], m_listEntry[size_t(m_nCurEntry + 1)]);
    ++m_nCurEntry;
    Changed(true);
    return true;
}

QString CSequenceList::RemoveQuestion() const {
    return QCoreApplication::translate("SequenceList",
                                       "No.%1の試験をリストから削除します。\nよろしいですか？")
        .arg(qlonglong(m_nCurEntry) + 1);
}

QString CSequenceList::RemoveAllQuestion() {
    return QCoreApplication::translate("SequenceList",
                                       "全ての試験をリストから削除します。\nよろしいですか？");
}

bool CSequenceList::Remove() {
    if (!Entry(m_nCurEntry)) return false;
    m_listEntry.erase(m_listEntry.begin() + m_nCurEntry);
    if (m_nCurEntry > 0) --m_nCurEntry;
    Changed(!m_listEntry.empty());
    return true;
}

bool CSequenceList::RemoveAll() {
    if (m_listEntry.empty()) return false;
    m_listEntry.clear();
    m_nCurEntry = 0;
    Changed(false);
    return true;
}

void CSequenceList::Replace(std::vector<std::unique_ptr<CSettingData>> entries) {
    m_listEntry = std::move(entries);
    m_nCurEntry = 0;
    Changed(false);
}

} // namespace torvex
