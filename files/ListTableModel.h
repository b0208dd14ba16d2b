#pragma once

#include <QAbstractTableModel>

namespace torvex {

// A table whose rows follow a list that changes in place: rows are added or
// removed at the end and every text is rewritten, so a selection stays where
// it was.
class CListTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    CListTableModel(int nColumns, QObject* pParent) : QAbstractTableModel(pParent), m_nColumns(nColumns) {}

    int rowCount(const QModelIndex& parent = QModelIndex()) const override {
        return parent.isValid() ? 0 : m_nRows;
    }
    int columnCount(const QModelIndex& parent = QModelIndex()) const override {
        return parent.isValid() ? 0 : m_nColumns;
    }

protected:
    // The list now has n entries.
    void SyncRows(int n);

private:
    const int m_nColumns;
    int m_nRows = 0;
};

} // namespace torvex
