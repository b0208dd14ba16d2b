#pragma once

// The sequence file the file and command-line benchmarks measure: 100 tests of
// 1000 steps each, written by the program's own writer.

#include "files/CollectingDialog.h"
#include "files/TorvexDoc.h"
#include "model/StepExpansion.h"

#include <QString>
#include <cstdio>

namespace torvex {

constexpr int kLabTests = 100;
constexpr int kLabStepsPerTest = 1000;

// The condition of every test: 5 voltages × 2 polarities × 100 frequencies.
inline CSettingData LabCondition() {
    CSettingData cond;
    cond.m_ulMachineType = MODEL_K2;
    cond.m_ulPola = 3;
    cond.m_valVolt = {VALUE_VARIABLE, 500, 0, 0, 0, {1, 1, 1, 1, 1}, {500, 1000, 2000, 3000, 4000}};
    cond.m_valFreq = {VALUE_SWEEP, 5000, 1000, 100000, 1000, {1, 0, 0, 0, 0}, {5000, 0, 0, 0, 0}};
    ExpandSteps(cond);
    return cond;
}

// Fills doc's sequence list with the lab sequence; false when the condition
// does not make its 1000 steps.
inline bool MakeLabSequence(CTorvexDoc& doc) {
    const CSettingData cond = LabCondition();
    if (cond.m_listExec.size() != size_t(kLabStepsPerTest)) {
        std::fprintf(stderr, "the bench condition does not make %d steps\n", kLabStepsPerTest);
        return false;
    }
    doc.m_sequence.m_listEntry.clear();
    for (int i = 0; i < kLabTests; ++i) {
        doc.m_sequence.m_listEntry.push_back(std::make_unique<CSettingData>(cond));
        doc.m_sequence.m_listEntry.back()->m_strTestName = QString("entry %1").arg(i);
    }
    return true;
}

// Writes the lab sequence to strPath.
inline bool WriteLabSequence(const QString& strPath) {
    CCollectingDialog dialog;
    CTorvexDoc doc;
    doc.SetDialog(&dialog);
    doc.SetRecentFilesKept(false);
    if (!MakeLabSequence(doc)) return false;
    if (doc.WriteSequenceFile(strPath)) return true;
    std::fprintf(stderr, "cannot write %s: %s\n", qPrintable(strPath),
                 qPrintable(dialog.m_listMessages.join(' ')));
    return false;
}

} // namespace torvex
