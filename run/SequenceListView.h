#pragma once

#include <QString>

namespace torvex {

class CSettingData;

// What the sequence list logic changes on the screen: the list's rows, its
// selection and focus, the preview and the main window's title. The sequence
// list panel implements it.
class CSequenceListView {
public:
    virtual ~CSequenceListView() = default;
    // Rows from the list: added or removed at the end, every text rewritten.
    virtual void RefillRows() = 0;
    virtual void RefreshJudgment(int nRow) = 0;
    // Selects a row and scrolls it into view; a row the list lacks clears the
    // selection.
    virtual void SelectRow(int nRow) = 0;
    virtual void FocusList() = 0;
    // The preview shows an entry; null: its empty state.
    virtual void ShowPreview(const CSettingData* pEntry) = 0;
    virtual void SetWindowTitle(const QString& strTitle) = 0;
};

} // namespace torvex
