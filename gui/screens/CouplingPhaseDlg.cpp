#include "gui/screens/CouplingPhaseDlg.h"

#include "gui/widgets/Fonts.h"
#include "model/Rules.h"
#include "model/ScreenRules.h"
#include "gui/screens/ConditionHost.h"
#include "gui/screens/CouplingPhaseSweepDlg.h"
#include "gui/screens/InputGate.h"
#include "gui/screens/TypeTabs.h"

#include <QCheckBox>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabBar>

namespace torvex {

CCouplingPhaseDlg::CCouplingPhaseDlg(QWidget* pParent) : QWidget(pParent) {
    setFont(UiFont(14));
    const TYPE_TABS tabs = MakeTypeTabs(this, {tr("単独"), tr("スイープ")});
    m_pTabs = tabs.m_pTabs;
    m_pStack = tabs.m_pStack;
    m_apPage = {new CCouplingPhaseSweepDlg(*this, false, m_pStack),
                new CCouplingPhaseSweepDlg(*this, true, m_pStack)};
    for (CCouplingPhaseSweepDlg* pPage : m_apPage)
        m_pStack->addWidget(pPage);

    m_pGate = new CInputGate([this] { return InputEnabled(); },
                             [this] { return m_pHost ? m_pHost->ConfirmEdit() : CONFIRM_DISCARD; }, this);
    m_pGate->Watch(m_pTabs, CInputGate::GATE_TAB);
    for (CCouplingPhaseSweepDlg* pPage : m_apPage) {
        for (int i = 0; i < 5; ++i)
            m_pGate->Watch(pPage->LineBox(i), CInputGate::GATE_BUTTON);
        m_pGate->Watch(pPage->EachButton(), CInputGate::GATE_BUTTON);
        m_pGate->Watch(pPage->AllButton(), CInputGate::GATE_BUTTON);
    }
    connect(m_pTabs, &QTabBar::currentChanged, this, &CCouplingPhaseDlg::OnTabChanged);
    ShowPage(0);
}

CCouplingPhaseDlg::~CCouplingPhaseDlg() {
    m_pOutput = nullptr;
    m_pHost = nullptr;
}

void CCouplingPhaseDlg::Bind(OUTPUT_STRUCT* pOutput, CConditionHost* pHost) {
    m_pOutput = pOutput;
    m_pHost = pHost;
    Refresh();
}

bool CCouplingPhaseDlg::InputEnabled() const {
    return !m_bDisplay && m_pOutput && m_pHost && m_pHost->InputEnabled();
}

int CCouplingPhaseDlg::ShownType() const {
    return m_pStack->currentIndex();
}

void CCouplingPhaseDlg::ShowPage(int n) {
    m_pStack->setCurrentIndex(n);
    m_apPage[n]->show();
    if (m_pOutput) m_apPage[n]->Refresh(m_pOutput->m_aopOutputPort[PORT_CDN]);
}

void CCouplingPhaseDlg::SelectType(uint32_t uCouplingType) {
    const int n = uCouplingType == 1 ? 1 : 0;
    m_bSelecting = true;
    m_pTabs->setCurrentIndex(n);
    m_bSelecting = false;
    ShowPage(n);
}

void CCouplingPhaseDlg::Refresh() {
    if (!m_pOutput) return;
    const OUTPUT_PORT_STRUCT& port = m_pOutput->m_aopOutputPort[PORT_CDN];
    m_bSingle = port.m_nOutputDetail != DETAIL_THREE;
    for (CCouplingPhaseSweepDlg* pPage : m_apPage)
        pPage->SetCaptions(m_bSingle);
    SelectType(port.m_uCouplingType);
}

void CCouplingPhaseDlg::SetPhaseCaptions(bool bSingle) {
    m_bSingle = bSingle;
    for (CCouplingPhaseSweepDlg* pPage : m_apPage)
        pPage->SetCaptions(bSingle);
    if (m_pOutput) m_apPage[ShownType()]->Refresh(m_pOutput->m_aopOutputPort[PORT_CDN]);
}

void CCouplingPhaseDlg::SetEditMode() {
    m_bDisplay = false;
    for (CCouplingPhaseSweepDlg* pPage : m_apPage)
        pPage->SetDisplayMode(false);
}

void CCouplingPhaseDlg::SetDisplayMode() {
    m_bDisplay = true;
    for (CCouplingPhaseSweepDlg* pPage : m_apPage)
        pPage->SetDisplayMode(true);
}

void CCouplingPhaseDlg::ShowEmpty() {
    SetPhaseCaptions(true);
    m_bSelecting = true;
    m_pTabs->setCurrentIndex(0);
    m_bSelecting = false;
    m_pStack->setCurrentIndex(0);
    for (CCouplingPhaseSweepDlg* pPage : m_apPage)
        pPage->Clear();
}

void CCouplingPhaseDlg::OnTabChanged(int nIndex) {
    if (m_bSelecting || nIndex < 0) return;
    if (!InputEnabled()) {
        Refresh();
        return;
    }
    OUTPUT_PORT_STRUCT& port = m_pOutput->m_aopOutputPort[PORT_CDN];
    port.m_uCouplingType = uint32_t(nIndex);
    ShowPage(nIndex);
    m_pHost->EditorChanged(CHANGED_VALUE);
}

void CCouplingPhaseDlg::LineClicked() {
    if (!InputEnabled()) return;
    OUTPUT_PORT_STRUCT& port = m_pOutput->m_aopOutputPort[PORT_CDN];
    CCouplingPhaseSweepDlg* pPage = m_apPage[ShownType()];
    uint32_t& ulMask = EditedLineMask(port);
    const uint32_t ulNew = LineMaskFromBoxes(ulMask, pPage->BoxMask(), LineCount(port.m_nOutputDetail));
    const bool bChanged = ulNew != ulMask;
    ulMask = ulNew;
    pPage->Refresh(port);
    if (bChanged) m_pHost->EditorChanged(CHANGED_VALUE);
}

void CCouplingPhaseDlg::SweepTypeClicked(uint32_t uSweepType) {
    if (!InputEnabled()) return;
    OUTPUT_PORT_STRUCT& port = m_pOutput->m_aopOutputPort[PORT_CDN];
    const bool bChanged = port.m_uSweepType != uSweepType;
    port.m_uSweepType = uSweepType;
    m_apPage[ShownType()]->Refresh(port);
    if (bChanged) m_pHost->EditorChanged(CHANGED_VALUE);
}

} // namespace torvex
