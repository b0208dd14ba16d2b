#include "run/StepCursor.h"

#include "files/TorvexDoc.h"

namespace torvex {

bool CStepCursor::LoadStep(int32_t i) {
    CTorvexDoc& doc = *m_pDoc;
    switch (m_nMode) {
    case MODE_STANDARD:
        m_pSteps = &doc.m_settingStandard.m_listExec;
        m_nEntry = -1;
        break;
    case MODE_MANUAL:
        m_pSteps = &doc.m_settingManual.m_listExec;
        m_nEntry = -1;
        break;
    default: {
        CSequenceList& seq = doc.m_sequence;
        const int32_t e = seq.m_nCurEntry;
        if (seq.Count() == 0 || e < 0 || e >= seq.Count()) {
            m_pSteps = nullptr;
            return false;
        }
        m_nEntry = e;
        m_pSteps = &seq.Entry(e)->m_listExec;
        break;
    }
    }
    if (i < 0 || int64_t(i) + 1 > int64_t(m_pSteps->size())) return false;
    m_nStep = i;
    m_step = (*m_pSteps)[size_t(i)];
    return true;
}

bool CStepCursor::NextStep(bool& bEntryChanged) {
    bEntryChanged = false;
    if (!m_pSteps) return false;
    if (int64_t(m_nStep) + 1 < int64_t(m_pSteps->size())) {
        ++m_nStep;
    } else {
        if (m_nMode != MODE_SEQUENCE) return false;
        CSequenceList& seq = m_pDoc->m_sequence;
        // Entries without steps are passed over: they have nothing to run.
        int32_t e = m_nEntry + 1;
        while (e < seq.Count() && seq.Entry(e)->m_listExec.empty())
            ++e;
        if (e >= seq.Count()) return false;
        m_nEntry = e;
        seq.m_nCurEntry = e;
        m_pSteps = &seq.Entry(e)->m_listExec;
        m_nStep = 0;
        bEntryChanged = true;
    }
    m_step = (*m_pSteps)[size_t(m_nStep)];
    m_pDoc->m_nCurStep = m_nStep;
    return true;
}

CExecData* CStepCursor::CurrentStep() {
    if (!m_pSteps || m_nStep < 0 || size_t(m_nStep) >= m_pSteps->size()) return nullptr;
    return &(*m_pSteps)[size_t(m_nStep)];
}

} // namespace torvex
