#pragma once

#include "model/ExecData.h"

#include <cstdint>
#include <vector>

namespace torvex {

class CTorvexDoc;

// Test modes of the run panel, numbered like the tabs.
enum RunMode : int32_t { MODE_STANDARD = 0, MODE_MANUAL = 1, MODE_SEQUENCE = 2 };

// Where a run stands: the mode, the sequence entry, the step, and a working
// copy of the step to send.
struct CStepCursor {
    int32_t m_nMode = MODE_MANUAL;
    int32_t m_nEntry = 0; // −1 in modes 0 and 1
    int32_t m_nStep = 0;
    std::vector<CExecData>* m_pSteps = nullptr;
    CTorvexDoc* m_pDoc = nullptr;
    CExecData m_step;

    // Points the cursor at step i of the current list; false when there is no
    // such step.
    bool LoadStep(int32_t i);
    // Moves to the next step, across sequence entries in mode 2; false at the
    // end. bEntryChanged tells that the run went on to the next entry. The
    // document's current step index follows.
    bool NextStep(bool& bEntryChanged);
    // The step being run in its list (not the working copy); null when none.
    CExecData* CurrentStep();
};

} // namespace torvex
