#include "files/SequenceTableModel.h"

#include "files/SequenceList.h"
#include "model/CodeTable.h"
#include "model/ExecData.h"

#include <QCoreApplication>

namespace torvex {

void CSequenceTableModel::Refill() {
    SyncRows(m_list.Count());
}

void CSequenceTableModel::RefreshJudgment(int nRow) {
    if (nRow >= 0 && nRow < rowCount()) emit dataChanged(index(nRow, 2), index(nRow, 2));
}

QVariant CSequenceTableModel::data(const QModelIndex& idx, int role) const {
    // The list may have changed under the rows until Refill is called.
    const CSettingData* entry = idx.isValid() ? m_list.Entry(idx.row()) : nullptr;
    if (!entry) return {};
    if (role == Qt::TextAlignmentRole) return int(Qt::AlignLeft | Qt::AlignVCenter);
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return {};
    switch (idx.column()) {
    case 0:
        return QString::asprintf("No.%3d", idx.row() + 1);
    case 1:
        return ShownTestName(entry->m_strTestName);
    default:
        return LookupCode(JudgeTable(), OverallJudgment(entry->m_listExec));
    }
}

QVariant CSequenceTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= kColumns) return {};
    if (role == Qt::TextAlignmentRole) return int(Qt::AlignLeft | Qt::AlignVCenter);
    if (role != Qt::DisplayRole) return {};
    static const char* const captions[kColumns] = {"No.", QT_TRANSLATE_NOOP("SequenceTableModel", "試験名"),
                                                   QT_TRANSLATE_NOOP("SequenceTableModel", "判定")};
    return QCoreApplication::translate("SequenceTableModel", captions[section]);
}

int CSequenceTableModel::ColumnShare(int nColumn) {
    static const int shares[kColumns] = {20, 50, 30};
    return nColumn >= 0 && nColumn < kColumns ? shares[nColumn] : 0;
}

} // namespace torvex
