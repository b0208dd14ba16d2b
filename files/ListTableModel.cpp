#include "files/ListTableModel.h"

namespace torvex {

void CListTableModel::SyncRows(int n) {
    if (n > m_nRows) {
        beginInsertRows(QModelIndex(), m_nRows, n - 1);
        m_nRows = n;
        endInsertRows();
    } else if (n < m_nRows) {
        beginRemoveRows(QModelIndex(), n, m_nRows - 1);
        m_nRows = n;
        endRemoveRows();
    }
    if (m_nRows > 0) emit dataChanged(index(0, 0), index(m_nRows - 1, m_nColumns - 1));
}

} // namespace torvex
