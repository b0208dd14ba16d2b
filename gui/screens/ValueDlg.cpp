#include "gui/screens/ValueDlg.h"

#include "gui/screens/ConditionHost.h"
#include "gui/screens/InputGate.h"
#include "gui/screens/SpinButtons.h"
#include "gui/screens/TypeTabs.h"
#include "gui/screens/ValueFixDlg.h"
#include "gui/screens/ValueSweepDlg.h"
#include "gui/screens/ValueVariableDlg.h"
#include "gui/widgets/Fonts.h"
#include "gui/widgets/NumericLineEdit.h"
#include "model/SettingData.h"
#include "model/Tooltips.h"

#include <QCheckBox>
#include <QStackedWidget>
#include <QTabBar>

namespace torvex {

CValueDlg::CValueDlg(QWidget* pParent) : QWidget(pParent) {
    setFont(UiFont(14));
    const TYPE_TABS tabs = MakeTypeTabs(this, {tr("単独"), tr("スイープ"), tr("複数")});
    m_pTabs = tabs.m_pTabs;
    m_pStack = tabs.m_pStack;
    m_apPage = {new CValueFixDlg(*this, m_pStack), new CValueSweepDlg(*this, m_pStack),
                new CValueVariableDlg(*this, m_pStack)};
    for (CValuePage* pPage : m_apPage)
        m_pStack->addWidget(pPage);

    // Installed after the pages' own filters, so it is asked first.
    m_pGate = new CInputGate([this] { return InputEnabled(); },
                             [this] { return m_pHost ? m_pHost->ConfirmEdit() : CONFIRM_DISCARD; }, this);
    m_pGate->Watch(m_pTabs, CInputGate::GATE_TAB);
    for (CValuePage* pPage : m_apPage) {
        for (const CValuePage::ROW& row : pPage->Rows()) {
            m_pGate->Watch(row.m_pBox, CInputGate::GATE_BOX);
            m_pGate->Watch(row.m_pSpin, CInputGate::GATE_BOX);
            if (row.m_pUse) m_pGate->Watch(row.m_pUse, CInputGate::GATE_BUTTON);
        }
    }
    connect(m_pTabs, &QTabBar::currentChanged, this, &CValueDlg::OnTabChanged);
    ShowPage(VALUE_FIXED);
}

CValueDlg::~CValueDlg() {
    // Boxes that lose the focus while the editor goes must not store anything.
    m_pCond = nullptr;
    m_pHost = nullptr;
    // The pages go now, while the editor is whole. Left to QWidget's
    // destructor, a box with the focus would lose it as the window closes and
    // hand its text to an editor whose own part is already destroyed.
    delete m_pGate;
    delete m_pStack;
    delete m_pTabs;
}

void CValueDlg::Bind(CSettingData* pCond, VALUE_KIND eKind, CConditionHost* pHost) {
    m_pCond = pCond;
    m_eKind = eKind;
    m_pHost = pHost;
    if (m_pCond) {
        const QString strUnit = m_pCond->m_aValueFormat[FormatIndexOf(eKind)].m_strUnit;
        for (CValuePage* pPage : m_apPage)
            pPage->SetUnit(strUnit);
    }
    UpdateTooltips();
    Refresh();
}

bool CValueDlg::InputEnabled() const {
    return !m_bDisplay && m_pCond && m_pHost && m_pHost->InputEnabled();
}

int32_t CValueDlg::ShownType() const {
    return m_pStack->currentIndex();
}

void CValueDlg::ShowPage(int32_t nType) {
    m_pStack->setCurrentIndex(nType);
    m_apPage[nType]->show();
}

void CValueDlg::SelectType(int32_t nType) {
    if (nType < VALUE_FIXED || nType > VALUE_VARIABLE) nType = VALUE_FIXED;
    m_bSelecting = true;
    m_pTabs->setCurrentIndex(nType);
    m_bSelecting = false;
    ShowPage(nType);
    m_apPage[nType]->Refresh();
}

void CValueDlg::Refresh() {
    const VALUE_STRUCT* pvs = m_pCond ? ValueOfKind(*m_pCond, m_eKind) : nullptr;
    if (!pvs) {
        ShowEmpty();
        return;
    }
    SelectType(pvs->m_nValueType);
}

void CValueDlg::SetEditMode() {
    m_bDisplay = false;
    for (CValuePage* pPage : m_apPage)
        pPage->SetDisplayMode(false);
    Refresh();
}

void CValueDlg::SetDisplayMode() {
    m_bDisplay = true;
    for (CValuePage* pPage : m_apPage)
        pPage->SetDisplayMode(true);
    Refresh();
}

void CValueDlg::ShowEmpty() {
    m_bSelecting = true;
    m_pTabs->setCurrentIndex(VALUE_FIXED);
    m_bSelecting = false;
    ShowPage(VALUE_FIXED);
    m_apPage[VALUE_FIXED]->ShowDashes();
}

void CValueDlg::UpdateTooltips() {
    const bool bContinuous = m_pCond && m_pCond->m_bContinuous;
    for (CValuePage* pPage : m_apPage)
        pPage->UpdateTooltips(m_eKind, bContinuous);
}

void CValueDlg::OnTabChanged(int nIndex) {
    if (m_bSelecting || nIndex < 0) return;
    if (!InputEnabled()) {
        // Display only: the tab follows the stored type.
        Refresh();
        return;
    }
    const uint32_t uChanged = ChangeValueType(*m_pCond, m_eKind, nIndex);
    ShowPage(nIndex);
    m_apPage[nIndex]->Refresh();
    // A new type is a new set of steps, whatever the values did.
    Stored(uChanged | CHANGED_VALUE);
}

void CValueDlg::EnterField(int32_t nField, const QString& strText) {
    if (!InputEnabled()) return;
    const uint32_t uChanged = EnterText(*m_pCond, m_eKind, nField, strText);
    m_apPage[ShownType()]->Refresh();
    Stored(uChanged);
}

void CValueDlg::SpinField(int32_t nField, const QString& strBoxText, bool bUp, bool bCtrl) {
    if (!InputEnabled()) return;
    const uint32_t uChanged = SpinText(*m_pCond, m_eKind, nField, strBoxText, bUp, bCtrl);
    m_apPage[ShownType()]->Refresh();
    Stored(uChanged);
}

void CValueDlg::UseClicked(int32_t nRow, bool bUse) {
    if (!InputEnabled()) return;
    const uint32_t uChanged = SetValueUse(*m_pCond, m_eKind, nRow, bUse);
    m_apPage[ShownType()]->Refresh();
    Stored(uChanged);
}

void CValueDlg::Stored(uint32_t uChanged) {
    if (!m_pHost) return;
    if (uChanged)
        m_pHost->EditorChanged(uChanged);
    else
        m_pHost->EditorUnchanged();
}

} // namespace torvex
