#pragma once

#include "model/Rules.h"

#include <QWidget>
#include <vector>

class QCheckBox;
class QLabel;

namespace torvex {

class CNumericLineEdit;
class CSpinButtons;

class CValueDlg;

// One page of a value editor: rows of a box with its spin and unit, with a
// label per row that stands in for them in display mode. The three pages
// differ only in their rows.
class CValuePage : public QWidget {
    Q_OBJECT
public:
    struct ROW {
        int32_t m_nField = -1; // the field the row edits; -1: shown disabled, never edits
        QLabel* m_pCaption = nullptr;
        QCheckBox* m_pUse = nullptr;
        CNumericLineEdit* m_pBox = nullptr;
        CSpinButtons* m_pSpin = nullptr;
        QLabel* m_pUnit = nullptr;
        QLabel* m_pShown = nullptr; // display mode
    };

    // From the box: the value editor that stores; the page's value type.
    CValuePage(CValueDlg& owner, int32_t nType, QWidget* pParent = nullptr);

    int32_t ValueType() const { return m_nType; }
    const std::vector<ROW>& Rows() const { return m_rows; }

    // Shows the stored values (boxes in edit mode, labels in display mode).
    void Refresh();
    void SetDisplayMode(bool bDisplay);
    void SetUnit(const QString& strUnit);
    void UpdateTooltips(VALUE_KIND eKind, bool bContinuous);
    // The display labels only: "-----" everywhere.
    void ShowDashes();

protected:
    // Adds a row; nField -1 makes it a permanently disabled row.
    void AddRow(const QString& strCaption, int32_t nField, bool bUseBox);
    // A decoration line between rows ("|", "/").
    void AddDecoration(const QString& strText, bool bEnabled);
    // Whether a box selects its whole text when it receives the focus.
    void SetSelectAllOnFocus(bool b) { m_bSelectAll = b; }
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

private:
    CValueDlg& m_owner;
    int32_t m_nType;
    bool m_bSelectAll = false;
    bool m_bDisplay = false;
    std::vector<ROW> m_rows;
};

} // namespace torvex
