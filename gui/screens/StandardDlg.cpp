#include "gui/screens/StandardDlg.h"

#include "files/TorvexDoc.h"
#include "gui/screens/ConditionGroup.h"
#include "gui/screens/InputGate.h"
#include "gui/screens/SpinButtons.h"
#include "gui/widgets/Fonts.h"
#include "gui/widgets/NumericLineEdit.h"
#include "model/Rules.h"
#include "model/StepExpansion.h"
#include "run/RunEngine.h"
#include "session/Session.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace torvex {

namespace {

constexpr int kTitleWidth = 118;
constexpr int kTimeParam[3] = {VF_TIME_HOUR, VF_TIME_MIN, VF_TIME_SEC};

} // namespace

CStandardDlg::CStandardDlg(CSession& session, CStepListView& list, QWidget* pParent, bool bSetUp)
    : QWidget(pParent), m_session(session), m_list(list) {
    setFont(UiFont(16));
    m_pGate =
        new CInputGate([this] { return InputEnabled(); },
                       [this] { return ConfirmChange(m_session.Engine(), 0, m_session.Dialog()); }, this);
    auto* pLayout = new QVBoxLayout(this);
    pLayout->setContentsMargins(4, 4, 4, 4);
    pLayout->setSpacing(4);
    const QFont big = UiFont(18);

    // One group of radio-like buttons.
    auto buttons = [&](const QString& strTitle, GROUP_PICTURE ePicture, const QStringList& captions,
                       QPushButton** ppButtons) {
        auto* pGroup = new CConditionGroup(strTitle, ePicture, kTitleWidth, this);
        auto* pExclusive = new QButtonGroup(pGroup);
        for (int i = 0; i < captions.size(); ++i) {
            ppButtons[i] = new QPushButton(captions[i], pGroup);
            ppButtons[i]->setCheckable(true);
            ppButtons[i]->setAutoDefault(false);
            ppButtons[i]->setMinimumWidth(84);
            pExclusive->addButton(ppButtons[i]);
            pGroup->Body()->addWidget(ppButtons[i]);
            m_pGate->Watch(ppButtons[i], CInputGate::GATE_BUTTON);
        }
        pGroup->Body()->addStretch();
        pLayout->addWidget(pGroup);
        return pGroup;
    };
    // One group showing a value as text.
    auto text = [&](const QString& strTitle, GROUP_PICTURE ePicture, const QString& strUnit) {
        auto* pGroup = new CConditionGroup(strTitle, ePicture, kTitleWidth, this);
        auto* pValue = new QLabel(pGroup);
        pValue->setFont(big);
        pValue->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        pValue->setMinimumWidth(70);
        pGroup->Body()->addWidget(pValue);
        if (!strUnit.isEmpty()) {
            auto* pUnit = new QLabel(strUnit, pGroup);
            pUnit->setFont(big);
            pGroup->Body()->addWidget(pUnit);
        }
        pGroup->Body()->addStretch();
        pLayout->addWidget(pGroup);
        return pValue;
    };

    buttons(tr("テストレベル"), GROUP_PICTURE_SPECIAL,
            {tr("レベル１"), tr("レベル２"), tr("レベル３"), tr("レベル４")}, m_apLevel.data());
    buttons(tr("極性"), GROUP_PICTURE_VOLTAGE, {tr("＋"), tr("－")}, m_apPola.data());
    m_pVoltage = text(tr("電圧"), GROUP_PICTURE_VOLTAGE, QStringLiteral("V"));
    buttons(tr("周波数"), GROUP_PICTURE_FREQUENCY, {QStringLiteral("5 kHz"), QStringLiteral("100 kHz")},
            m_apFreq.data());

    auto* pTime = new CConditionGroup(tr("試験時間"), GROUP_PICTURE_TIME, kTitleWidth, this);
    const QString units[3] = {QStringLiteral("h"), QStringLiteral("m"), QStringLiteral("s")};
    for (int i = 0; i < 3; ++i) {
        m_aTime[i] = AddNumberField(pTime, pTime->Body(), units[i], i == 0 ? 28 : 36, UiFont(16));
        m_pGate->Watch(m_aTime[i].m_pBox, CInputGate::GATE_BOX);
        m_pGate->Watch(m_aTime[i].m_pSpin, CInputGate::GATE_BOX);
        connect(m_aTime[i].m_pBox, &CLeaveLineEdit::left, this, &CStandardDlg::OnTimeLeft);
        connect(m_aTime[i].m_pSpin, &CSpinButtons::stepped, this,
                [this, i](bool bUp, bool bCtrl, bool) { OnTimeSpin(TIME_PART(i), bUp, bCtrl); });
    }
    pTime->Body()->addStretch();
    pLayout->addWidget(pTime);

    m_pPeriod = text(tr("バースト周期"), GROUP_PICTURE_TIME, QStringLiteral("ms"));
    m_pPulses = text(tr("パルス数"), GROUP_PICTURE_TIME, QString());
    m_pDuration = text(tr("バースト期間"), GROUP_PICTURE_TIME, QStringLiteral("ms"));
    buttons(tr("出力先"), GROUP_PICTURE_COUPLING, {tr("CDN OUT"), tr("PULSE OUT")}, m_apOutput.data());
    m_pPhaseGroup =
        buttons(tr("CDN 印加相"), GROUP_PICTURE_COUPLING, {tr("単相"), tr("三相")}, m_apPhase.data());
    m_pPhaseGroup->Title()->setFont(UiFont(14));
    for (int i = 0; i < 5; ++i) {
        m_apLine[i] = new QCheckBox(m_pPhaseGroup);
        m_pPhaseGroup->Body()->insertWidget(m_pPhaseGroup->Body()->count() - 1, m_apLine[i]);
        m_pGate->Watch(m_apLine[i], CInputGate::GATE_BUTTON);
        connect(m_apLine[i], &QCheckBox::clicked, this, &CStandardDlg::OnLine);
    }
    pLayout->addStretch();

    for (int i = 0; i < 4; ++i)
        connect(m_apLevel[i], &QPushButton::clicked, this, [this, i] { OnLevel(i); });
    connect(m_apPola[0], &QPushButton::clicked, this, [this] { OnPolarity(1); });
    connect(m_apPola[1], &QPushButton::clicked, this, [this] { OnPolarity(2); });
    connect(m_apFreq[0], &QPushButton::clicked, this, [this] { OnFreq(STANDARD_FREQ_LOW); });
    connect(m_apFreq[1], &QPushButton::clicked, this, [this] { OnFreq(STANDARD_FREQ_HIGH); });
    connect(m_apOutput[0], &QPushButton::clicked, this, [this] { OnOutput(PORT_CDN); });
    connect(m_apOutput[1], &QPushButton::clicked, this, [this] { OnOutput(PORT_PULSE_OUT); });
    connect(m_apPhase[0], &QPushButton::clicked, this, [this] { OnPhase(DETAIL_SINGLE); });
    connect(m_apPhase[1], &QPushButton::clicked, this, [this] { OnPhase(DETAIL_THREE); });
    connect(&m_session.Doc(), &CTorvexDoc::standardConditionReplaced, this, &CStandardDlg::Refresh);

    if (!HasThreePhase(uint32_t(m_session.MachineType()))) m_apPhase[DETAIL_THREE]->hide();
    // The steps follow the preset values from the start.
    if (bSetUp) m_session.SetUpStandardCondition();
    Refresh();
}

CStandardDlg::~CStandardDlg() {
    // A time box that loses the focus as the window closes stores nothing: the
    // screen's own part is gone by then.
    for (const NUMBER_FIELD& f : m_aTime)
        f.m_pBox->disconnect(this);
}

CSettingData& CStandardDlg::Cond() const {
    return m_session.Doc().m_settingStandard;
}

QWidget* CStandardDlg::PhaseGroup() const {
    return m_pPhaseGroup;
}

bool CStandardDlg::InputEnabled() const {
    return m_session.Engine().ScreensEnabled();
}

void CStandardDlg::Refresh() {
    CSettingData& c = Cond();
    DeriveStandardValues(c);
    m_apLevel[std::clamp(c.m_nTestLevel, 0, STANDARD_LEVELS - 1)]->setChecked(true);
    m_apPola[c.m_ulPola == 1 ? 0 : 1]->setChecked(true);
    m_apFreq[c.m_valFreq.m_lValue == STANDARD_FREQ_LOW ? 0 : 1]->setChecked(true);
    RefreshTime();
    m_pVoltage->setText(QString::number(c.m_valVolt.m_lValue));
    m_pPeriod->setText(BurstText(c, VF_BURST_PERIOD));
    m_pPulses->setText(BurstText(c, VF_PULSE_COUNT));
    m_pDuration->setText(BurstText(c, VF_BURST_DURA));
    const bool bCdn = c.m_outOutput.m_nOutputPort != PORT_PULSE_OUT;
    m_apOutput[bCdn ? 0 : 1]->setChecked(true);
    m_pPhaseGroup->setVisible(bCdn);
    m_apPhase[c.CurrentPort().m_nOutputDetail == DETAIL_THREE ? 1 : 0]->setChecked(true);
    RefreshLines();
}

void CStandardDlg::RefreshTime() {
    int32_t alPart[3] = {0, 0, 0};
    SplitTestTime(Cond().m_lTestTime, alPart[0], alPart[1], alPart[2]);
    for (int i = 0; i < 3; ++i)
        m_aTime[i].m_pBox->setText(FormatValue(alPart[i], Cond().m_aValueFormat[kTimeParam[i]]));
}

void CStandardDlg::RefreshLines() {
    const OUTPUT_PORT_STRUCT& port = Cond().CurrentPort();
    const QStringList captions = LineCaptions(port.m_nOutputDetail);
    const uint32_t ulMask = EditedLineMask(port);
    for (int i = 0; i < 5; ++i) {
        m_apLine[i]->setVisible(i < captions.size());
        if (i < captions.size()) m_apLine[i]->setText(captions[i]);
        m_apLine[i]->setChecked((ulMask >> i) & 1u);
    }
}

int64_t CStandardDlg::ConditionChanged() {
    QPointer<QWidget> pFocus = QApplication::focusWidget();
    const int64_t nSteps =
        StandardConditionChanged(m_session.Doc(), m_session.Engine(), m_session.Property(), m_list);
    if (pFocus && pFocus != QApplication::focusWidget()) pFocus->setFocus(Qt::OtherFocusReason);
    return nSteps;
}

void CStandardDlg::OnLevel(int32_t nLevel) {
    if (Cond().m_nTestLevel == nLevel) return;
    Cond().m_nTestLevel = nLevel;
    Refresh();
    ConditionChanged();
}

void CStandardDlg::OnPolarity(uint32_t ulPola) {
    if (Cond().m_ulPola == ulPola) return;
    Cond().m_ulPola = ulPola;
    ConditionChanged();
}

void CStandardDlg::OnFreq(int32_t lFreq) {
    if (Cond().m_valFreq.m_lValue == lFreq && Cond().m_valFreq.m_nValueType == VALUE_FIXED) return;
    Cond().m_valFreq.m_nValueType = VALUE_FIXED;
    Cond().m_valFreq.m_lValue = lFreq;
    Refresh();
    ConditionChanged();
}

void CStandardDlg::OnOutput(int32_t nPort) {
    if (Cond().m_outOutput.m_nOutputPort == nPort) return;
    Cond().m_outOutput.m_nOutputPort = nPort;
    Refresh();
    ConditionChanged();
}

void CStandardDlg::OnPhase(int32_t nDetail) {
    int32_t& nOld = Cond().CurrentPort().m_nOutputDetail;
    if (nOld == nDetail) return;
    nOld = nDetail;
    RefreshLines();
    ConditionChanged();
}

void CStandardDlg::OnLine() {
    OUTPUT_PORT_STRUCT& port = Cond().CurrentPort();
    uint32_t ulBoxes = 0;
    for (int i = 0; i < 5; ++i)
        if (m_apLine[i]->isChecked()) ulBoxes |= 1u << i;
    uint32_t& ulMask = EditedLineMask(port);
    const uint32_t ulNew = LineMaskFromBoxes(ulMask, ulBoxes, LineCount(port.m_nOutputDetail));
    const bool bChanged = ulNew != ulMask;
    ulMask = ulNew;
    RefreshLines();
    if (bChanged) ConditionChanged();
}

void CStandardDlg::StoreTime(const int32_t (&alPart)[3]) {
    const bool bChanged = StoreStandardTestTime(Cond(), alPart[0], alPart[1], alPart[2]);
    RefreshTime();
    // The STANDARD condition is never saved: the document stays as it was.
    if (bChanged) ConditionChanged();
}

void CStandardDlg::OnTimeLeft() {
    int32_t alPart[3];
    for (int i = 0; i < 3; ++i)
        alPart[i] = ParseValue(m_aTime[i].m_pBox->text(), Cond().m_aValueFormat[kTimeParam[i]]);
    StoreTime(alPart);
}

void CStandardDlg::OnTimeSpin(TIME_PART ePart, bool bUp, bool bCtrl) {
    int32_t alPart[3];
    for (int i = 0; i < 3; ++i)
        alPart[i] = ParseValue(m_aTime[i].m_pBox->text(), Cond().m_aValueFormat[kTimeParam[i]]);
    alPart[ePart] = SpunValue(kTimeParam[ePart], alPart[ePart], bUp, bCtrl, false);
    StoreTime(alPart);
}

} // namespace torvex
