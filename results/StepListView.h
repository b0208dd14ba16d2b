#pragma once

#include "model/ExecData.h"

#include <cstdint>
#include <vector>

namespace torvex {

// The step list as the condition screens see it: the desktop program's step
// list implements it; the tests record it.
class CStepListView {
public:
    virtual ~CStepListView() = default;
    // Shows the given steps (selection and scroll position stay).
    virtual void FillList(const std::vector<CExecData>& steps) = 0;
    // Shows the step-limit message in place of the list above 1000 steps,
    // the list otherwise.
    virtual void ShowStepLimit(int64_t nCount) = 0;
    // Selects, focuses and scrolls to a row (the document's current step
    // index has been set).
    virtual void SelectRow(int nRow) = 0;
};

} // namespace torvex
