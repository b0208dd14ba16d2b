#include "journal/RunRecorder.h"

#include "config/TestProperty.h"
#include "files/TabCode.h"
#include "files/TorvexDoc.h"
#include "journal/JournalRun.h"
#include "model/OperatorDialog.h"
#include "results/JudgmentStore.h"
#include "run/RunEngine.h"

#include <QTimer>

namespace torvex {

CRunRecorder::CRunRecorder(CJournal& journal, CRunEngine& engine, CTorvexDoc& doc, CTestProperty& property,
                           CJudgmentStore* pStore, COperatorDialog& dialog, QObject* pParent)
    : QObject(pParent), m_journal(journal), m_engine(engine), m_doc(doc), m_property(property),
      m_dialog(dialog) {
    connect(&engine, &CRunEngine::stepStarted, this, &CRunRecorder::OnStepStarted);
    connect(&engine, &CRunEngine::stepEnded, this, &CRunRecorder::OnStepEnded);
    connect(&engine, &CRunEngine::runEnded, this, &CRunRecorder::OnRunEnded);
    connect(&engine, &CRunEngine::pauseChanged, this, &CRunRecorder::OnPauseChanged);
    connect(&engine, &CRunEngine::runError, this, &CRunRecorder::OnRunError);
    if (pStore) connect(pStore, &CJudgmentStore::stepsChanged, this, &CRunRecorder::OnStepsChanged);
    connect(&journal, &CJournal::problem, this, &CRunRecorder::OnProblem);
}

CRunRecorder::~CRunRecorder() {
    ProgramEnding();
}

void CRunRecorder::SetInstrument(uint32_t ulModel, const QString& strIdentity) {
    m_ulModel = ulModel;
    m_strInstrument = strIdentity;
}

bool CRunRecorder::OutcomeOfEngineEnd(RunEnd eWhy, int32_t& nOutcome) {
    switch (eWhy) {
    case RunEnd::Between:
        return false;
    case RunEnd::Finished:
        nOutcome = OUTCOME_COMPLETED;
        return true;
    case RunEnd::Error:
        nOutcome = OUTCOME_ERROR;
        return true;
    case RunEnd::Lost:
        nOutcome = OUTCOME_LOST;
        return true;
    case RunEnd::Stopped:
        break;
    }
    nOutcome = OUTCOME_STOPPED;
    return true;
}

void CRunRecorder::OnProblem(const QString& strMessage) {
    // Told from the event loop, not from inside the engine's poll: the run goes
    // on while the message is up.
    QTimer::singleShot(0, this, [this, strMessage] { m_dialog.Message(strMessage); });
}

void CRunRecorder::BeginRun() {
    const int nTab = m_engine.Mode();
    m_nRunTab = nTab;
    const JOURNAL_RUN_START start = DescribeRun(m_doc, nTab, m_property, m_ulModel, m_strInstrument);
    m_nRun = m_journal.BeginRun(start, MarkedSteps(m_doc, nTab));
    if (nTab >= 0 && nTab < 3) m_aLast[nTab] = {m_nRun, start.m_source};
}

void CRunRecorder::EndRun(int32_t nOutcome) {
    if (m_nRun >= 0) m_journal.EndRun(m_nRun, nOutcome, PropertyToJson(m_property));
    m_nRun = -1;
    m_bRunning = false;
}

void CRunRecorder::OnStepStarted(int nEntry, int nStep) {
    if (!m_bRunning) {
        const int nTab = m_engine.Mode();
        // A run that waited between steps goes on when the same test starts again.
        if (m_nRun >= 0 && nTab == m_nRunTab && SourceOf(m_doc, nTab) == m_aLast[nTab].source) {
            m_journal.Note(m_nRun, QStringLiteral("continue"));
        } else {
            if (m_nRun >= 0) EndRun(OUTCOME_STOPPED);
            BeginRun();
        }
        m_bRunning = true;
    }
    m_journal.StepStarted(m_nRun, nEntry < 0 ? 0 : nEntry, nStep);
}

void CRunRecorder::OnStepEnded(int nEntry, int nStep, int nJudge) {
    m_journal.StepEnded(m_nRun, nEntry < 0 ? 0 : nEntry, nStep, nJudge);
}

void CRunRecorder::OnRunEnded(RunEnd eWhy) {
    if (m_nRun < 0 && !m_bRunning) return;
    int32_t nOutcome = OUTCOME_STOPPED;
    if (!OutcomeOfEngineEnd(eWhy, nOutcome)) {
        m_journal.Note(m_nRun, QStringLiteral("between"));
        m_bRunning = false;
        return;
    }
    EndRun(nOutcome);
}

void CRunRecorder::OnPauseChanged(bool bPaused) {
    m_journal.Note(m_nRun, bPaused ? QStringLiteral("pause") : QStringLiteral("resume"));
}

void CRunRecorder::OnRunError(const QString& strText) {
    m_journal.Note(m_nRun, QStringLiteral("error"), strText);
}

void CRunRecorder::OnStepsChanged(int nTab, int nEntry, int nFirst, int nLast, const QString& strKind) {
    if (nTab < 0 || nTab >= 3) return;
    LAST_RUN& last = m_aLast[nTab];
    if (last.nRun < 0) return;
    // A changed test is a new one: its judgments belong to no run yet.
    if (SourceOf(m_doc, nTab) != last.source) {
        last = LAST_RUN();
        return;
    }
    std::vector<const CSettingData*> tests = TestsOf(m_doc, nTab);
    if (nEntry < 0 || nEntry >= int(tests.size())) return;
    const std::vector<CExecData>& list = tests[size_t(nEntry)]->m_listExec;
    std::vector<JOURNAL_STEP> steps;
    for (int i = std::max(0, nFirst); i <= nLast && i < int(list.size()); ++i) {
        JOURNAL_STEP s;
        s.m_nEntry = nEntry;
        s.m_nStep = i;
        s.m_nJudge = list[size_t(i)].m_nJudge;
        s.m_strComment = list[size_t(i)].m_strComment;
        steps.push_back(std::move(s));
    }
    m_journal.SetSteps(last.nRun, steps, strKind);
}

void CRunRecorder::Adopt(int nTab, qint64 nRun) {
    if (nTab < 0 || nTab >= 3) return;
    m_aLast[nTab] = {nRun, SourceOf(m_doc, nTab)};
}

void CRunRecorder::ProgramEnding() {
    if (m_nRun >= 0) EndRun(OUTCOME_ENDED);
}

} // namespace torvex
