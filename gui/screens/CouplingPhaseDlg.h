#pragma once

#include <QWidget>
#include <array>
#include <cstdint>

class QStackedWidget;
class QTabBar;

namespace torvex {

class CConditionHost;
class CCouplingPhaseSweepDlg;
class CInputGate;

struct OUTPUT_STRUCT;

// The coupling line editor of CDN OUT (output port 0): lines injected
// together ("単独") or swept ("スイープ"), each tab with its own mask.
// Without a host, or in display mode, it only shows.
class CCouplingPhaseDlg : public QWidget {
    Q_OBJECT
public:
    explicit CCouplingPhaseDlg(QWidget* pParent = nullptr);
    ~CCouplingPhaseDlg() override;

    void Bind(OUTPUT_STRUCT* pOutput, CConditionHost* pHost);
    // Selects the tab of a coupling type as a display change and shows it.
    void SelectType(uint32_t uCouplingType);
    // SelectType of the stored type, captions from the stored output detail.
    void Refresh();
    // Line captions for single- or three-phase, box states from the mask.
    void SetPhaseCaptions(bool bSingle);
    // Display mode takes no input and greys the line boxes and buttons.
    void SetEditMode();
    void SetDisplayMode();
    bool IsDisplayMode() const { return m_bDisplay; }
    // No output record: the "単独" tab, single-phase captions, nothing checked.
    void ShowEmpty();

    int ShownType() const;
    CCouplingPhaseSweepDlg* Page(int n) const { return m_apPage[n]; }
    QTabBar* TabBar() const { return m_pTabs; }

    // Operator input of the pages.
    void LineClicked();
    void SweepTypeClicked(uint32_t uSweepType);

private:
    void OnTabChanged(int nIndex);
    void ShowPage(int n);
    bool InputEnabled() const;

    OUTPUT_STRUCT* m_pOutput = nullptr;
    CConditionHost* m_pHost = nullptr;
    bool m_bDisplay = false;
    bool m_bSelecting = false;
    bool m_bSingle = true;
    QTabBar* m_pTabs;
    QStackedWidget* m_pStack;
    std::array<CCouplingPhaseSweepDlg*, 2> m_apPage{};
    CInputGate* m_pGate;
};

} // namespace torvex
