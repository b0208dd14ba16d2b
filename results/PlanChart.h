#pragma once

#include "model/ExecData.h"

#include <cstdint>
#include <vector>

namespace torvex {

// One run of pixel columns of the plan chart that look alike.
struct PLAN_BAR {
    int nLeft = 0;          // first column
    int nRight = 0;         // one past the last column
    double dVolt = 0;       // bar height, 0..1 (the highest |voltage| of its steps)
    double dFreqLow = 0;    // frequency line, 0..1 on a logarithmic scale
    double dFreqHigh = 0;   // (low and high differ where several steps share a column)
    int32_t nJudge = JUDGE_NONE; // the worst judgment of its steps: fail, then unjudged, then pass
    int nFirstStep = 0;
    int nLastStep = 0;
};

// The test plan as a picture: the steps side by side, each as wide as its test
// time, the voltage as a bar and the frequency as a line. Steps too short for a
// column of their own share one, so a failed step is never lost from sight
// however short it was.
class CPlanChart {
public:
    // Takes the steps' times and values. Judgments change while the plan stays,
    // so Bars reads them from the list it is given.
    void SetSteps(const std::vector<CExecData>& steps);

    int Count() const { return int(m_ends.size()); }
    // The whole test's time in seconds (a step without time counts one second,
    // so that it has a place).
    int64_t TotalSeconds() const { return m_ends.empty() ? 0 : m_ends.back(); }

    // The bars on nWidth columns, left to right, covering [0, nWidth) with no
    // gap; nothing for an empty plan or no width. steps must be the list given
    // to SetSteps (its judgments may have changed since).
    std::vector<PLAN_BAR> Bars(const std::vector<CExecData>& steps, int nWidth) const;

    // The columns [left, right) a step takes on nWidth columns (at least one).
    std::pair<int, int> Columns(int nStep, int nWidth) const;
    // The step at column x; -1 outside the plan.
    int StepAt(int x, int nWidth) const;

    int32_t HighestVolt() const { return m_nMaxVolt; }
    int32_t LowestFreq() const { return m_nMinFreq; }
    int32_t HighestFreq() const { return m_nMaxFreq; }

private:
    double VoltLevel(size_t i) const;
    double FreqLevel(size_t i) const;
    int FirstColumn(size_t i, int nWidth) const;
    int LastColumn(size_t i, int nWidth) const;

    std::vector<int64_t> m_ends; // each step's end, seconds from the start
    std::vector<int32_t> m_volts;
    std::vector<int32_t> m_freqs;
    int32_t m_nMaxVolt = 0;
    int32_t m_nMinFreq = 0;
    int32_t m_nMaxFreq = 0;
};

} // namespace torvex
