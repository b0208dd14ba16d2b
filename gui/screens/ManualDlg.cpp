#include "gui/screens/ManualDlg.h"

#include "files/TorvexDoc.h"
#include "gui/screens/ConditionGroup.h"
#include "gui/screens/CouplingPhaseDlg.h"
#include "gui/screens/InputGate.h"
#include "gui/screens/SpinButtons.h"
#include "gui/screens/ValueDlg.h"
#include "gui/widgets/Fonts.h"
#include "gui/widgets/NumericLineEdit.h"
#include "gui/widgets/TooltipSwitch.h"
#include "model/OperatorDialog.h"
#include "model/Rules.h"
#include "model/StepExpansion.h"
#include "run/RunEngine.h"
#include "session/Session.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace torvex {

namespace {

constexpr int kTitleWidth = 62;         // groups of the value editors: picture above the label
constexpr int kLeftRowTitleWidth = 104; // one-row groups: picture beside the label
constexpr int kRightRowTitleWidth = 140;
constexpr int kFunctionTitleWidth = 156; // "FUNCTION SETUP" on one line
constexpr int kPhaseTitleWidth = 110;    // "CDN   印加相" on one line
constexpr int kBurstParam[3] = {VF_BURST_PERIOD, VF_PULSE_COUNT, VF_BURST_DURA};
constexpr MANUAL_TIP_BOX kBurstTip[3] = {TIP_BURST_PERIOD, TIP_PULSE_COUNT, TIP_BURST_DURA};
constexpr int kTimeParam[3] = {VF_TIME_HOUR, VF_TIME_MIN, VF_TIME_SEC};

QRadioButton* Radio(const QString& strText, const QFont& font, QWidget* pParent) {
    auto* p = new QRadioButton(strText, pParent);
    p->setFont(font);
    return p;
}

} // namespace

CManualDlg::CManualDlg(CSession& session, CStepListView& list, QWidget* pParent)
    : QWidget(pParent), m_session(session), m_list(list) {
    setAttribute(Qt::WA_AlwaysShowToolTips); // the limits are documentation, also while inactive
    setFont(UiFont(16));
    m_pGate = new CInputGate([this] { return InputEnabled(); }, [this] { return ConfirmEdit(); }, this);

    auto* pLayout = new QVBoxLayout(this);
    pLayout->setContentsMargins(4, 4, 4, 4);
    pLayout->setSpacing(4);
    BuildHeader(pLayout);
    auto* pColumns = new QHBoxLayout;
    pColumns->setSpacing(4);
    pColumns->addWidget(BuildLeftColumn(), 1);
    pColumns->addWidget(BuildRightColumn(), 1);
    pLayout->addLayout(pColumns);
    pLayout->addStretch();

    for (SPECIAL_FUNCTION e : {FUNC_ALTERNATION, FUNC_CONTINUOUS, FUNC_MODULATION, FUNC_TRIGGER}) {
        m_apFunc[e]->setToolTip(FunctionTooltip(e));
        CTooltipSwitch::MarkSwitchable(m_apFunc[e]);
    }
    Connect();

    // A model without the three-phase network never works three-phase.
    if (!HasThreePhase(uint32_t(m_session.MachineType()))) m_pThree->hide();
    ApplyModelRule(Cond(), uint32_t(m_session.MachineType()));
    m_pVolt->Bind(&Cond(), KIND_VOLT, this);
    m_pFreq->Bind(&Cond(), KIND_FREQ, this);
    m_pAngle->Bind(&Cond(), KIND_ANGLE, this);
    m_pCoupling->Bind(&Cond().m_outOutput, this);
    SetSaveAllowed(m_session.Doc().ManualStepTotal() <= kMaxSteps);
    Refresh();
}

CManualDlg::~CManualDlg() {
    // Boxes losing the focus on the way out store nothing.
    m_pVolt->Bind(nullptr, KIND_VOLT, nullptr);
    m_pFreq->Bind(nullptr, KIND_FREQ, nullptr);
    m_pAngle->Bind(nullptr, KIND_ANGLE, nullptr);
    m_pCoupling->Bind(nullptr, nullptr);
    for (const NUMBER_FIELD& f : m_aTime)
        f.m_pBox->disconnect(this);
    for (const NUMBER_FIELD& f : m_aBurst)
        f.m_pBox->disconnect(this);
}

CSettingData& CManualDlg::Cond() const {
    return m_session.Doc().m_settingManual;
}

QWidget* CManualDlg::SyncGroup() const {
    return m_pSyncGroup;
}
QWidget* CManualDlg::AngleGroup() const {
    return m_pAngleGroup;
}
QWidget* CManualDlg::PhaseGroup() const {
    return m_pPhaseGroup;
}

// ---- Building ------------------------------------------------------------------

void CManualDlg::BuildHeader(QVBoxLayout* pLayout) {
    auto* pRow = new QHBoxLayout;
    m_pName = new QLineEdit(QStringLiteral("TEST DATA NAME"), this);
    m_pName->setReadOnly(true);
    m_pName->setFont(UiFont(16));
    m_pName->setFocusPolicy(Qt::StrongFocus);
    pRow->addWidget(m_pName, 1);
    const QFont small = UiFont(14);
    m_pLoad = new QPushButton(tr("読み込み"), this);
    m_pSave = new QPushButton(tr("上書き保存"), this);
    m_pSaveAs = new QPushButton(tr("名前を付けて保存"), this);
    for (QPushButton* p : {m_pLoad, m_pSave, m_pSaveAs}) {
        p->setFont(small);
        p->setAutoDefault(false);
        pRow->addWidget(p);
    }
    m_pGate->Watch(m_pLoad, CInputGate::GATE_BOX); // the save buttons never ask
    pLayout->addLayout(pRow);

    auto* pFunc = new CConditionGroup(tr("FUNCTION SETUP"), GROUP_PICTURE_SPECIAL, kFunctionTitleWidth, this,
                                      false, true);
    auto* pGrid = new QGridLayout;
    pGrid->setHorizontalSpacing(10);
    const QString captions[FUNC_COUNT] = {tr("極性反転"), tr("パルス連続出力"), tr("周波数変調"),
                                          tr("外部トリガ入力")};
    for (int i = 0; i < FUNC_COUNT; ++i) {
        m_apFunc[i] = new QCheckBox(captions[i], pFunc);
        m_apFunc[i]->setFont(small);
        pGrid->addWidget(m_apFunc[i], 0, i);
        m_pGate->Watch(m_apFunc[i], CInputGate::GATE_BUTTON);
    }
    pFunc->Body()->addLayout(pGrid);
    pLayout->addWidget(pFunc);
}

QWidget* CManualDlg::BuildLeftColumn() {
    auto* pColumn = new QWidget(this);
    auto* pLayout = new QVBoxLayout(pColumn);
    pLayout->setContentsMargins(0, 0, 0, 0);
    pLayout->setSpacing(4);
    const QFont big = UiFont(16);

    auto* pPola =
        new CConditionGroup(tr("極性"), GROUP_PICTURE_VOLTAGE, kLeftRowTitleWidth, pColumn, false, true);
    auto* pGrid = new QGridLayout;
    pGrid->setVerticalSpacing(2);
    auto* pSingleLabel = new QLabel(tr("単独"), pPola);
    auto* pSweepLabel = new QLabel(tr("スイープ"), pPola);
    pSingleLabel->setFont(UiFont(14));
    pSweepLabel->setFont(UiFont(14));
    m_apPola = {Radio(tr("＋"), big, pPola), Radio(tr("－"), big, pPola), Radio(tr("＋ ⇒ －"), big, pPola)};
    pGrid->addWidget(pSingleLabel, 0, 0);
    pGrid->addWidget(m_apPola[0], 0, 1);
    pGrid->addWidget(m_apPola[1], 0, 2);
    pGrid->addWidget(pSweepLabel, 1, 0);
    pGrid->addWidget(m_apPola[2], 1, 1, 1, 2);
    pPola->Body()->addLayout(pGrid);
    pPola->Body()->addStretch();
    auto* pPolaGroup = new QButtonGroup(pPola);
    for (QRadioButton* p : m_apPola) {
        pPolaGroup->addButton(p);
        m_pGate->Watch(p, CInputGate::GATE_BUTTON);
    }
    pLayout->addWidget(pPola);

    auto* pVoltGroup = new CConditionGroup(tr("電圧"), GROUP_PICTURE_VOLTAGE, kTitleWidth, pColumn);
    m_pVolt = new CValueDlg(pVoltGroup);
    pVoltGroup->Body()->addWidget(m_pVolt);
    pLayout->addWidget(pVoltGroup);

    auto* pFreqGroup = new CConditionGroup(tr("周波数"), GROUP_PICTURE_FREQUENCY, kTitleWidth, pColumn);
    m_pFreq = new CValueDlg(pFreqGroup);
    pFreqGroup->Body()->addWidget(m_pFreq);
    pLayout->addWidget(pFreqGroup);

    auto* pTime =
        new CConditionGroup(tr("試験時間"), GROUP_PICTURE_TIME, kLeftRowTitleWidth, pColumn, false, true);
    const QString units[3] = {QStringLiteral("h"), QStringLiteral("m"), QStringLiteral("s")};
    for (int i = 0; i < 3; ++i) {
        m_aTime[i] = AddNumberField(pTime, pTime->Body(), units[i], i == 0 ? 26 : 34, big);
        m_pGate->Watch(m_aTime[i].m_pBox, CInputGate::GATE_BOX);
        m_pGate->Watch(m_aTime[i].m_pSpin, CInputGate::GATE_BOX);
    }
    pTime->Body()->addStretch();
    pLayout->addWidget(pTime);

    auto* pOutput =
        new CConditionGroup(tr("出力先"), GROUP_PICTURE_COUPLING, kLeftRowTitleWidth, pColumn, false, true);
    m_pCdn = Radio(tr("CDN OUT"), big, pOutput);
    m_pPulse = Radio(tr("PULSE OUT"), big, pOutput);
    auto* pOutGroup = new QButtonGroup(pOutput);
    for (QRadioButton* p : {m_pCdn, m_pPulse}) {
        pOutGroup->addButton(p);
        pOutput->Body()->addWidget(p);
        m_pGate->Watch(p, CInputGate::GATE_BUTTON);
    }
    pOutput->Body()->addStretch();
    pLayout->addWidget(pOutput);
    pLayout->addStretch();
    return pColumn;
}

QWidget* CManualDlg::BuildRightColumn() {
    auto* pColumn = new QWidget(this);
    auto* pLayout = new QVBoxLayout(pColumn);
    pLayout->setContentsMargins(0, 0, 0, 0);
    pLayout->setSpacing(4);
    const QFont big = UiFont(16);
    const QFont small = UiFont(14);

    const QString titles[3] = {tr("バースト周期"), tr("パルス数"), tr("バースト期間")};
    const QString units[3] = {QStringLiteral("ms"), QString(), QStringLiteral("ms")};
    for (int i = 0; i < 3; ++i) {
        auto* pGroup =
            new CConditionGroup(titles[i], GROUP_PICTURE_TIME, kRightRowTitleWidth, pColumn, false, true);
        m_aBurst[i] = AddNumberField(pGroup, pGroup->Body(), units[i], 60, big);
        pGroup->Body()->addStretch();
        m_pGate->Watch(m_aBurst[i].m_pBox, CInputGate::GATE_BOX);
        m_pGate->Watch(m_aBurst[i].m_pSpin, CInputGate::GATE_BOX);
        pLayout->addWidget(pGroup);
    }

    m_pSyncGroup = new CConditionGroup(tr("ライン同期"), GROUP_PICTURE_COUPLING, kRightRowTitleWidth, pColumn,
                                       false, true);
    m_pSyncGroup->Title()->setFont(small);
    m_pSync = Radio(tr("同期"), small, m_pSyncGroup);
    m_pAsync = Radio(tr("非同期"), small, m_pSyncGroup);
    auto* pSyncButtons = new QButtonGroup(m_pSyncGroup);
    for (QRadioButton* p : {m_pSync, m_pAsync}) {
        pSyncButtons->addButton(p);
        m_pSyncGroup->Body()->addWidget(p);
        m_pGate->Watch(p, CInputGate::GATE_BUTTON);
    }
    m_pSyncGroup->Body()->addStretch();
    pLayout->addWidget(m_pSyncGroup);

    m_pAngleGroup = new CConditionGroup(tr("位相角"), GROUP_PICTURE_COUPLING, kTitleWidth, pColumn);
    m_pAngle = new CValueDlg(m_pAngleGroup);
    m_pAngleGroup->Body()->addWidget(m_pAngle);
    pLayout->addWidget(m_pAngleGroup);

    m_pPhaseGroup =
        new CConditionGroup(tr("CDN   印加相"), GROUP_PICTURE_COUPLING, kPhaseTitleWidth, pColumn, true);
    auto* pPhaseRow = new QHBoxLayout;
    m_pSingle = Radio(tr("単相"), small, m_pPhaseGroup);
    m_pThree = Radio(tr("三相"), small, m_pPhaseGroup);
    auto* pPhaseButtons = new QButtonGroup(m_pPhaseGroup);
    for (QRadioButton* p : {m_pSingle, m_pThree}) {
        pPhaseButtons->addButton(p);
        pPhaseRow->addWidget(p);
        m_pGate->Watch(p, CInputGate::GATE_BUTTON);
    }
    pPhaseRow->addStretch();
    m_pPhaseGroup->Body()->addLayout(pPhaseRow);
    m_pCoupling = new CCouplingPhaseDlg(m_pPhaseGroup);
    m_pPhaseGroup->Body()->addWidget(m_pCoupling);
    pLayout->addWidget(m_pPhaseGroup);
    pLayout->addStretch();
    return pColumn;
}

void CManualDlg::Connect() {
    for (uint32_t i = 0; i < 3; ++i)
        connect(m_apPola[i], &QRadioButton::clicked, this, [this, i] { OnPolarity(i + 1); });
    for (int i = 0; i < FUNC_COUNT; ++i)
        connect(m_apFunc[i], &QCheckBox::clicked, this,
                [this, i](bool bChecked) { OnFunction(SPECIAL_FUNCTION(i), bChecked); });
    for (int i = 0; i < 3; ++i) {
        connect(m_aTime[i].m_pBox, &CLeaveLineEdit::left, this, &CManualDlg::OnTimeLeft);
        connect(m_aTime[i].m_pSpin, &CSpinButtons::stepped, this,
                [this, i](bool bUp, bool bCtrl, bool) { OnTimeSpin(TIME_PART(i), bUp, bCtrl); });
        connect(m_aBurst[i].m_pBox, &CLeaveLineEdit::left, this, [this, i] { OnBurstLeft(BURST_BOX(i)); });
        connect(
            m_aBurst[i].m_pSpin, &CSpinButtons::stepped, this,
            [this, i](bool bUp, bool bCtrl, bool bShift) { OnBurstSpin(BURST_BOX(i), bUp, bCtrl, bShift); });
    }
    connect(m_pCdn, &QRadioButton::clicked, this, [this] { OnOutput(PORT_CDN); });
    connect(m_pPulse, &QRadioButton::clicked, this, [this] { OnOutput(PORT_PULSE_OUT); });
    connect(m_pSync, &QRadioButton::clicked, this, [this] { OnSync(true); });
    connect(m_pAsync, &QRadioButton::clicked, this, [this] { OnSync(false); });
    connect(m_pSingle, &QRadioButton::clicked, this, [this] { OnPhase(DETAIL_SINGLE); });
    connect(m_pThree, &QRadioButton::clicked, this, [this] { OnPhase(DETAIL_THREE); });
    connect(m_pLoad, &QPushButton::clicked, this, &CManualDlg::OnLoad);
    connect(m_pSave, &QPushButton::clicked, this, [this] { m_session.Doc().Save(); });
    connect(m_pSaveAs, &QPushButton::clicked, this, [this] { m_session.Doc().SaveAs(); });
    connect(&m_session.Doc(), &CTorvexDoc::manualConditionReplaced, this, &CManualDlg::OnConditionReplaced);
    connect(&m_session.Doc(), &CTorvexDoc::manualNameChanged, this, &CManualDlg::RefreshName);
}

// ---- Showing ---------------------------------------------------------------------

void CManualDlg::Refresh() {
    const CSettingData& c = Cond();
    RefreshName();
    m_apPola[c.m_ulPola == 1 ? 0 : c.m_ulPola == 2 ? 1 : 2]->setChecked(true);
    RefreshTime();
    RefreshBurst();
    const OUTPUT_PORT_STRUCT& port0 = c.m_outOutput.m_aopOutputPort[PORT_CDN];
    (port0.m_nSync ? m_pSync : m_pAsync)->setChecked(true);
    (c.m_outOutput.m_nOutputPort == PORT_PULSE_OUT ? m_pPulse : m_pCdn)->setChecked(true);
    (c.CurrentPort().m_nOutputDetail == DETAIL_THREE ? m_pThree : m_pSingle)->setChecked(true);
    RefreshFunctions();
    m_pVolt->Refresh();
    m_pFreq->Refresh();
    m_pAngle->Refresh();
    m_pCoupling->Refresh();
    RefreshVisibility();
    UpdateTooltips();
}

void CManualDlg::RefreshName() {
    m_pName->setText(ShownTestName(Cond().m_strTestName));
}

void CManualDlg::RefreshTime() {
    int32_t alPart[3] = {0, 0, 0};
    SplitTestTime(Cond().m_lTestTime, alPart[0], alPart[1], alPart[2]);
    for (int i = 0; i < 3; ++i)
        m_aTime[i].m_pBox->setText(FormatValue(alPart[i], Cond().m_aValueFormat[kTimeParam[i]]));
}

void CManualDlg::RefreshBurst() {
    // Continuous output has no bursts: the boxes stay blank and the values kept.
    const bool bContinuous = Cond().m_bContinuous != 0;
    for (int i = 0; i < 3; ++i) {
        m_aBurst[i].SetEnabled(!bContinuous);
        m_aBurst[i].m_pBox->setText(bContinuous ? QString() : BurstText(Cond(), kBurstParam[i]));
    }
}

void CManualDlg::RefreshFunctions() {
    for (int i = 0; i < FUNC_COUNT; ++i) {
        const SPECIAL_FUNCTION e = SPECIAL_FUNCTION(i);
        // A function switched on stays on, greyed, while its condition fails.
        m_apFunc[i]->setChecked(FunctionFlag(Cond(), e) != 0);
        m_apFunc[i]->setEnabled(IsFunctionAllowed(Cond(), e));
    }
}

void CManualDlg::RefreshVisibility() {
    const CSettingData& c = Cond();
    const bool bCdn = c.m_outOutput.m_nOutputPort != PORT_PULSE_OUT;
    const bool bSync = c.m_outOutput.m_aopOutputPort[PORT_CDN].m_nSync != 0;
    m_pSyncGroup->setVisible(bCdn);
    m_pAngleGroup->setVisible(bCdn && bSync);
    m_pPhaseGroup->setVisible(bCdn);
}

void CManualDlg::UpdateTooltips() {
    const CSettingData& c = Cond();
    for (int i = 0; i < 3; ++i) {
        m_aTime[i].m_pBox->setToolTip(ManualBoxTooltip(c, TIP_TEST_TIME));
        m_aTime[i].m_pSpin->setToolTip(ManualSpinTooltip(c, TIP_TEST_TIME));
        m_aBurst[i].m_pBox->setToolTip(ManualBoxTooltip(c, kBurstTip[i]));
        m_aBurst[i].m_pSpin->setToolTip(ManualSpinTooltip(c, kBurstTip[i]));
    }
    m_pVolt->UpdateTooltips();
    m_pFreq->UpdateTooltips();
    m_pAngle->UpdateTooltips();
}

void CManualDlg::SetSaveAllowed(bool bAllowed) {
    const bool bChanged = bAllowed != m_bSaveAllowed;
    m_bSaveAllowed = bAllowed;
    m_pSave->setEnabled(bAllowed && !m_bFileLocked);
    m_pSaveAs->setEnabled(bAllowed && !m_bFileLocked);
    if (bChanged) emit saveAllowedChanged(bAllowed);
}

void CManualDlg::LockFileButtons(bool bLocked) {
    m_bFileLocked = bLocked;
    m_pLoad->setEnabled(!bLocked);
    SetSaveAllowed(m_bSaveAllowed);
}

void CManualDlg::CommitTyping() {
    QWidget* pFocus = QApplication::focusWidget();
    if (pFocus && isAncestorOf(pFocus) && pFocus != m_pName) m_pName->setFocus(Qt::OtherFocusReason);
}

// ---- After a change ------------------------------------------------------------------

int64_t CManualDlg::ConditionChanged() {
    // The step list may take the focus to its first row; the operator keeps his.
    QPointer<QWidget> pFocus = QApplication::focusWidget();
    const int64_t nSteps =
        ManualConditionChanged(m_session.Doc(), m_session.Engine(), m_session.Property(), m_list);
    SetSaveAllowed(nSteps <= kMaxSteps);
    RefreshFunctions();
    UpdateTooltips();
    if (pFocus && pFocus != QApplication::focusWidget()) pFocus->setFocus(Qt::OtherFocusReason);
    return nSteps;
}

bool CManualDlg::InputEnabled() const {
    return m_session.Engine().ScreensEnabled();
}

ConfirmResult CManualDlg::ConfirmEdit() {
    return ConfirmChange(m_session.Engine(), 1, m_session.Dialog());
}

void CManualDlg::EditorChanged(uint32_t uChanged) {
    if (uChanged & (CHANGED_PULSE_COUNT | CHANGED_BURST_DURA | CHANGED_BURST_PERIOD)) RefreshBurst();
    ConditionChanged();
}

void CManualDlg::EditorUnchanged() {
    RefreshFunctions();
}

// ---- Operator input -------------------------------------------------------------------

void CManualDlg::OnPolarity(uint32_t ulPola) {
    if (Cond().m_ulPola == ulPola) return;
    Cond().m_ulPola = ulPola;
    ConditionChanged();
}

void CManualDlg::OnFunction(SPECIAL_FUNCTION eFunc, bool bChecked) {
    const bool bChanged = SetSpecialFunction(Cond(), eFunc, bChecked);
    if (eFunc == FUNC_CONTINUOUS) RefreshBurst();
    RefreshFunctions();
    if (bChanged)
        ConditionChanged();
    else
        UpdateTooltips();
}

void CManualDlg::OnTimeLeft() {
    int32_t alPart[3];
    for (int i = 0; i < 3; ++i)
        alPart[i] = ParseValue(m_aTime[i].m_pBox->text(), Cond().m_aValueFormat[kTimeParam[i]]);
    const uint32_t uChanged = StoreTestTime(Cond(), alPart[0], alPart[1], alPart[2]);
    RefreshTime();
    if (uChanged) ConditionChanged();
}

void CManualDlg::OnTimeSpin(TIME_PART ePart, bool bUp, bool bCtrl) {
    int32_t alPart[3];
    for (int i = 0; i < 3; ++i)
        alPart[i] = ParseValue(m_aTime[i].m_pBox->text(), Cond().m_aValueFormat[kTimeParam[i]]);
    alPart[ePart] = SpunValue(kTimeParam[ePart], alPart[ePart], bUp, bCtrl, false);
    const uint32_t uChanged = StoreTestTime(Cond(), alPart[0], alPart[1], alPart[2]);
    RefreshTime();
    if (uChanged) ConditionChanged();
}

void CManualDlg::OnBurstLeft(BURST_BOX eBox) {
    if (Cond().m_bContinuous) return; // blank and disabled: nothing to take
    const uint32_t uChanged = EnterBurstText(Cond(), kBurstParam[eBox], m_aBurst[eBox].m_pBox->text());
    RefreshBurst();
    if (uChanged) ConditionChanged();
}

void CManualDlg::OnBurstSpin(BURST_BOX eBox, bool bUp, bool bCtrl, bool bShift) {
    if (Cond().m_bContinuous) return;
    const uint32_t uChanged =
        SpinBurstText(Cond(), kBurstParam[eBox], m_aBurst[eBox].m_pBox->text(), bUp, bCtrl, bShift);
    RefreshBurst();
    if (uChanged) ConditionChanged();
}

void CManualDlg::OnOutput(int32_t nPort) {
    if (Cond().m_outOutput.m_nOutputPort == nPort) return;
    Cond().m_outOutput.m_nOutputPort = nPort;
    (Cond().CurrentPort().m_nOutputDetail == DETAIL_THREE ? m_pThree : m_pSingle)->setChecked(true);
    RefreshVisibility();
    ConditionChanged();
}

void CManualDlg::OnSync(bool bSync) {
    int32_t& nSync = Cond().m_outOutput.m_aopOutputPort[PORT_CDN].m_nSync;
    if ((nSync != 0) == bSync) return;
    nSync = bSync ? 1 : 0;
    RefreshVisibility();
    ConditionChanged();
}

void CManualDlg::OnPhase(int32_t nDetail) {
    int32_t& nOld = Cond().CurrentPort().m_nOutputDetail;
    if (nOld == nDetail) return;
    nOld = nDetail;
    m_pCoupling->SetPhaseCaptions(nDetail == DETAIL_SINGLE);
    ConditionChanged();
}

void CManualDlg::OnLoad() {
    const QString strPath = m_session.Dialog().OpenFileName(tr("開く"), CTorvexDoc::DataFileFilters());
    if (strPath.isEmpty()) return;
    // A successful open replaces the condition; the document tells us.
    m_session.Doc().OpenDocument(strPath);
}

void CManualDlg::OnConditionReplaced() {
    const bool bModelChanged = ApplyModelRule(Cond(), uint32_t(m_session.MachineType()));
    Refresh();
    const bool bModified = m_session.Doc().IsModified();
    const int64_t nSteps = ConditionChanged();
    // Showing what was read is no change; a condition this model cannot run is.
    m_session.Doc().SetModifiedFlag((bModified || bModelChanged) && nSteps <= kMaxSteps);
}

} // namespace torvex
