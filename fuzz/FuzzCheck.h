#pragma once

#include "model/SettingData.h"
#include "model/StepExpansion.h"

namespace torvex {

// What the program does at once with a condition and steps it read: expand the
// condition and show every text of both.
inline void UseReadCondition(CSettingData& cond, std::vector<CExecData>& steps) {
    for (int col = 1; col <= COL_COUNT; ++col)
        (void)cond.GetText(col);
    for (CExecData& step : steps)
        for (int col = 1; col <= COL_COUNT; ++col)
            (void)step.GetText(col);
    ExpandSteps(cond);
    for (CExecData& step : cond.m_listExec)
        for (int col = 1; col <= COL_COUNT; ++col)
            (void)step.GetText(col);
}

} // namespace torvex
