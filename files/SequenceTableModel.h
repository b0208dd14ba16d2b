#pragma once

#include "files/ListTableModel.h"

namespace torvex {

class CSequenceList;

// The rows of the sequence list: "No.%3d", the entry's name and the overall
// judgment of its steps.
class CSequenceTableModel : public CListTableModel {
    Q_OBJECT
public:
    explicit CSequenceTableModel(const CSequenceList& list, QObject* pParent = nullptr)
        : CListTableModel(kColumns, pParent), m_list(list) {}

    // Rows follow the list: added or removed at the end, every text rewritten,
    // so a selection stays where it was.
    void Refill();
    // The judgment cell of one row.
    void RefreshJudgment(int nRow);

    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    static const int kColumns = 3;
    // Share of the list's width (less a scroll bar) of a column, in percent.
    static int ColumnShare(int nColumn);

private:
    const CSequenceList& m_list;
};

} // namespace torvex
