#pragma once

#include "model/Rules.h"

#include <QWidget>
#include <array>

class QStackedWidget;
class QTabBar;

namespace torvex {

class CConditionHost;
class CInputGate;
class CSettingData;
class CValuePage;

// A value editor: the voltage, frequency or phase angle of a condition as one
// value ("単独"), a sweep ("スイープ") or up to five values ("複数"). Every
// entry goes through the rules; the boxes always show what is stored.
//
// In edit mode the host confirms changes after a run and hears of every
// stored change. In display mode (and without a host) it only shows.
class CValueDlg : public QWidget {
    Q_OBJECT
public:
    explicit CValueDlg(QWidget* pParent = nullptr);
    ~CValueDlg() override;

    // Points the editor at a condition's value of a kind and shows its type.
    // A null host leaves the editor display-only.
    void Bind(CSettingData* pCond, VALUE_KIND eKind, CConditionHost* pHost);
    CSettingData* Condition() const { return m_pCond; }
    VALUE_KIND Kind() const { return m_eKind; }

    // Selects a type's tab as a display change (no rule runs) and shows the
    // stored values.
    void SelectType(int32_t nType);
    // SelectType of the structure's own type.
    void Refresh();
    void SetEditMode();
    void SetDisplayMode();
    bool IsDisplayMode() const { return m_bDisplay; }
    // No condition: the "単独" page with "-----".
    void ShowEmpty();
    // Tooltips follow the continuous output flag of the condition.
    void UpdateTooltips();

    // The shown page and the tabs (the type of the page).
    int32_t ShownType() const;
    CValuePage* Page(int32_t nType) const { return m_apPage[nType]; }
    QTabBar* TabBar() const { return m_pTabs; }

    // Entries of the pages.
    void EnterField(int32_t nField, const QString& strText);
    void SpinField(int32_t nField, const QString& strBoxText, bool bUp, bool bCtrl);
    void UseClicked(int32_t nRow, bool bUse);

private:
    void OnTabChanged(int nIndex);
    void ShowPage(int32_t nType);
    void Stored(uint32_t uChanged);
    bool InputEnabled() const;

    CSettingData* m_pCond = nullptr;
    VALUE_KIND m_eKind = KIND_VOLT;
    CConditionHost* m_pHost = nullptr;
    bool m_bDisplay = false;
    bool m_bSelecting = false;
    QTabBar* m_pTabs;
    QStackedWidget* m_pStack;
    std::array<CValuePage*, 3> m_apPage{};
    CInputGate* m_pGate;
};

} // namespace torvex
