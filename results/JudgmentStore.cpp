#include "results/JudgmentStore.h"

#include "files/TabCode.h"
#include "files/TorvexDoc.h"

namespace torvex {

std::vector<CExecData>* CJudgmentStore::Steps(int nTab, int* pnEntry) const {
    if (pnEntry) *pnEntry = 0;
    switch (nTab) {
    case TAB_STANDARD:
        return &m_doc.m_settingStandard.m_listExec;
    case TAB_SEQUENCE: {
        CSettingData* entry = m_doc.m_sequence.CurrentEntry();
        if (pnEntry) *pnEntry = m_doc.m_sequence.m_nCurEntry;
        return entry ? &entry->m_listExec : nullptr;
    }
    default:
        return &m_doc.m_settingManual.m_listExec;
    }
}

bool CJudgmentStore::SetStep(int nTab, int nStep, int32_t nJudge, const QString& strComment) {
    int nEntry = 0;
    std::vector<CExecData>* steps = Steps(nTab, &nEntry);
    if (!steps || nStep < 0 || nStep >= int(steps->size())) return false;
    CExecData& step = (*steps)[size_t(nStep)];
    bool bChanged = false;
    if (nJudge != step.m_nJudge) {
        step.m_nJudge = nJudge;
        bChanged = true;
    }
    if (strComment != step.m_strComment) {
        step.m_strComment = strComment;
        bChanged = true;
    }
    if (bChanged) emit stepsChanged(nTab, nEntry, nStep, nStep, QStringLiteral("judgment"));
    return bChanged;
}

bool CJudgmentStore::SetAllJudgments(int nTab, int32_t nJudge) {
    int nEntry = 0;
    std::vector<CExecData>* steps = Steps(nTab, &nEntry);
    if (!steps) return false;
    for (CExecData& s : *steps)
        s.m_nJudge = nJudge;
    if (!steps->empty()) emit stepsChanged(nTab, nEntry, 0, int(steps->size()) - 1, QStringLiteral("batch"));
    return true;
}

bool CJudgmentStore::DeleteAllComments(int nTab) {
    int nEntry = 0;
    std::vector<CExecData>* steps = Steps(nTab, &nEntry);
    if (!steps) return false;
    for (CExecData& s : *steps)
        s.m_strComment.clear();
    if (!steps->empty())
        emit stepsChanged(nTab, nEntry, 0, int(steps->size()) - 1, QStringLiteral("comments"));
    return true;
}

} // namespace torvex
