#include "session/Session.h"

#include <QCoreApplication>
#include <QEventLoop>

#include "config/TorvexCntlLink.h"
#include "instrument/TorvexCntl.h"
#include "journal/JournalRun.h"
#include "model/ScreenRules.h"
#include "model/StepExpansion.h"

namespace torvex {

CSession::CSession(COperatorDialog& dialog, QObject* pParent)
    : QObject(pParent), m_dialog(dialog), m_pInstrument(std::make_unique<CInstrumentThread>()) {
    m_doc.SetDialog(&m_dialog);
    m_pEngine = std::make_unique<CRunEngine>(*m_pInstrument, m_doc, m_property, m_dialog);
    m_pSequence = std::make_unique<CSequenceListLogic>(m_doc, *m_pEngine, m_property, m_dialog);
    m_pLink = std::make_unique<CTorvexCntlLink>(*m_pInstrument);
    connect(m_pEngine.get(), &CRunEngine::instrumentLost, this, [this] { SetNotConnected(true); });
    // The run moves the sequence list through its logic, never through a screen.
    CSequenceListLogic* pSequence = m_pSequence.get();
    connect(m_pEngine.get(), &CRunEngine::entrySelected, pSequence, &CSequenceListLogic::SelectEntry);
    connect(m_pEngine.get(), &CRunEngine::entryShown, pSequence, &CSequenceListLogic::ShowEntry);
    connect(m_pEngine.get(), &CRunEngine::entryJudgmentChanged, pSequence,
            &CSequenceListLogic::UpdateEntryJudgment);
}

CSession::~CSession() {
    // The engine stops its work and asks for a last stop of the output; the
    // instrument thread sends it before the port closes. A run still open
    // ends in the journal as ended by the program.
    m_pEngine->Close();
    m_pRecorder.reset();
    m_pSequence.reset();
    m_pEngine.reset();
    m_pLink.reset();
    m_pInstrument.reset();
}

bool CSession::OpenJournal(const QString& strFolder) {
    if (!m_pRecorder)
        m_pRecorder = std::make_unique<CRunRecorder>(m_journal, *m_pEngine, m_doc, m_property, &m_judgments, m_dialog);
    const LinkHealth health = m_pInstrument->Health();
    m_pRecorder->SetInstrument(uint32_t(m_nMachineType),
                               InstrumentIdentity(uint32_t(m_nMachineType), m_nHWVersion, health.strPort,
                                                  !NotConnected() && health.bOpen));
    return m_journal.IsOpen() || m_journal.Open(strFolder);
}

void CSession::SetUpStandardCondition() {
    CSettingData& cond = m_doc.m_settingStandard;
    m_pEngine->ConfirmConditionChange(MODE_STANDARD);
    ApplyModelRule(cond, uint32_t(m_nMachineType));
    if (InitStandardCondition(cond)) ExpandSteps(cond);
}

void CSession::AttachRunView(CRunView* pView) {
    m_pEngine->SetView(pView);
}

void CSession::AttachSequenceViews(CStepListView* pSteps, CSequenceListView* pList) {
    m_pSequence->SetViews(pSteps, pList);
}

struct CSession::DISCOVERY {
    bool bDone = false;
    bool bFound = false;
    int32_t nHWVersion = 0;
    int32_t nModelType = 0;
    QList<CTorvexCntl::PortProblem> problems;
};

bool CSession::Connect() {
    StartDiscovery(false);
    int32_t nModelType = 0;
    return EndConnect(nModelType);
}

void CSession::BeginConnect() {
    StartDiscovery(true);
}

void CSession::StartDiscovery(bool bAskModel) {
    auto pDiscovery = std::make_shared<DISCOVERY>();
    m_pDiscovery = pDiscovery;
    // Written on the instrument thread, read here only once the answer is back.
    m_pInstrument->Post<int>(
        this,
        [pDiscovery, bAskModel](CTorvexCntl& c) {
            pDiscovery->bFound = c.Connect();
            pDiscovery->problems = c.m_portProblems;
            pDiscovery->nHWVersion = c.m_nHWVersion;
            if (pDiscovery->bFound && bAskModel) c.GetModelType(pDiscovery->nModelType);
            return 0;
        },
        [pDiscovery](int) { pDiscovery->bDone = true; });
}

bool CSession::EndConnect(int32_t& nModelType) {
    const std::shared_ptr<DISCOVERY> pDiscovery = std::move(m_pDiscovery);
    nModelType = 0;
    if (!pDiscovery) return false;
    while (!pDiscovery->bDone)
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents | QEventLoop::WaitForMoreEvents);
    m_nHWVersion = pDiscovery->nHWVersion;
    m_portProblems = pDiscovery->problems;
    nModelType = pDiscovery->nModelType;
    return pDiscovery->bFound;
}

int32_t CSession::QueryModelType() {
    int32_t nType = 0;
    m_pLink->GetModelType(nType);
    return nType;
}

bool CSession::IsOpen() {
    return m_pInstrument->Run<bool>([](CTorvexCntl& c) { return c.IsOpen(); });
}

RECONNECT_OUTCOME CSession::Reconnect() {
    const RECONNECT_OUTCOME outcome = torvex::Reconnect(*m_pLink, m_nMachineType, m_dialog);
    if (outcome == RECONNECT_CONNECTED) {
        m_nHWVersion = m_pLink->HWVersion();
        SetNotConnected(false);
    }
    return outcome;
}

void CSession::SetMachineType(int32_t nType) {
    m_nMachineType = nType;
    m_doc.SetMachine(uint32_t(nType), m_nHWVersion);
}

bool CSession::NotConnected() const {
    return g_bNotConnected != 0;
}

void CSession::SetNotConnected(bool bNotConnected) {
    if (NotConnected() == bNotConnected) return;
    g_bNotConnected = bNotConnected ? 1 : 0;
    emit connectionChanged(!bNotConnected);
}

} // namespace torvex
