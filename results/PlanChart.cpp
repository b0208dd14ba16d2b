#include "results/PlanChart.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace torvex {

namespace {

// Order of judgments when steps share a column: what the operator must see first.
int Severity(int32_t nJudge) {
    switch (nJudge) {
    case JUDGE_FAIL:
        return 2;
    case JUDGE_PASS:
        return 0;
    default:
        return 1;
    }
}

} // namespace

void CPlanChart::SetSteps(const std::vector<CExecData>& steps) {
    m_ends.clear();
    m_volts.clear();
    m_freqs.clear();
    m_ends.reserve(steps.size());
    m_volts.reserve(steps.size());
    m_freqs.reserve(steps.size());
    m_nMaxVolt = 0;
    m_nMinFreq = 0;
    m_nMaxFreq = 0;
    int64_t nEnd = 0;
    for (const CExecData& s : steps) {
        nEnd += std::max<int64_t>(1, s.m_lTestTime);
        m_ends.push_back(nEnd);
        const int32_t nVolt = s.m_lVolt == INT32_MIN ? INT32_MAX : std::abs(s.m_lVolt);
        const int32_t nFreq = std::max<int32_t>(1, s.m_lFreq);
        m_volts.push_back(nVolt);
        m_freqs.push_back(nFreq);
        m_nMaxVolt = std::max(m_nMaxVolt, nVolt);
        m_nMinFreq = m_freqs.size() == 1 ? nFreq : std::min(m_nMinFreq, nFreq);
        m_nMaxFreq = std::max(m_nMaxFreq, nFreq);
    }
}

double CPlanChart::VoltLevel(size_t i) const {
    return m_nMaxVolt > 0 ? double(m_volts[i]) / m_nMaxVolt : 0.0;
}

double CPlanChart::FreqLevel(size_t i) const {
    if (m_nMaxFreq <= m_nMinFreq) return 0.5;
    return std::log(double(m_freqs[i]) / m_nMinFreq) / std::log(double(m_nMaxFreq) / m_nMinFreq);
}

int CPlanChart::FirstColumn(size_t i, int nWidth) const {
    const int64_t nStart = i == 0 ? 0 : m_ends[i - 1];
    // Exact in 128 bits: the sum of a thousand day-long steps times a screen's width.
    return int(static_cast<__int128>(nStart) * nWidth / TotalSeconds());
}

int CPlanChart::LastColumn(size_t i, int nWidth) const {
    const __int128 nScaled = static_cast<__int128>(m_ends[i]) * nWidth;
    const int64_t nTotal = TotalSeconds();
    // The column the step's end falls in, or the one before when it ends on a column's edge.
    const int nCol = int((nScaled + nTotal - 1) / nTotal) - 1;
    return std::clamp(nCol, FirstColumn(i, nWidth), nWidth - 1);
}

std::pair<int, int> CPlanChart::Columns(int nStep, int nWidth) const {
    if (nStep < 0 || nStep >= Count() || nWidth <= 0) return {0, 0};
    return {FirstColumn(size_t(nStep), nWidth), LastColumn(size_t(nStep), nWidth) + 1};
}

int CPlanChart::StepAt(int x, int nWidth) const {
    if (x < 0 || x >= nWidth || m_ends.empty()) return -1;
    // The first step whose columns reach x.
    size_t nLow = 0, nHigh = m_ends.size() - 1;
    while (nLow < nHigh) {
        const size_t nMid = (nLow + nHigh) / 2;
        if (LastColumn(nMid, nWidth) < x)
            nLow = nMid + 1;
        else
            nHigh = nMid;
    }
    return int(nLow);
}

std::vector<PLAN_BAR> CPlanChart::Bars(const std::vector<CExecData>& steps, int nWidth) const {
    std::vector<PLAN_BAR> bars;
    if (m_ends.empty() || nWidth <= 0) return bars;
    const size_t nCount = std::min(steps.size(), m_ends.size());

    // Every column with what its steps show; a step may cover many columns and
    // many steps may share one.
    std::vector<PLAN_BAR> cols(static_cast<size_t>(nWidth));
    std::vector<bool> used(static_cast<size_t>(nWidth), false);
    for (size_t i = 0; i < nCount; ++i) {
        const int nFirst = FirstColumn(i, nWidth), nLast = LastColumn(i, nWidth);
        const double dVolt = VoltLevel(i), dFreq = FreqLevel(i);
        const int32_t nJudge = steps[i].m_nJudge;
        for (int c = nFirst; c <= nLast; ++c) {
            PLAN_BAR& col = cols[size_t(c)];
            if (!used[size_t(c)]) {
                col = PLAN_BAR{c, c + 1, dVolt, dFreq, dFreq, nJudge, int(i), int(i)};
                used[size_t(c)] = true;
                continue;
            }
            col.dVolt = std::max(col.dVolt, dVolt);
            col.dFreqLow = std::min(col.dFreqLow, dFreq);
            col.dFreqHigh = std::max(col.dFreqHigh, dFreq);
            if (Severity(nJudge) > Severity(col.nJudge)) col.nJudge = nJudge;
            col.nLastStep = int(i);
        }
    }

    // Neighbouring columns of one step become one bar.
    for (size_t c = 0; c < cols.size(); ++c) {
        if (!used[c]) continue; // a list cut short since the plan was taken
        const PLAN_BAR& col = cols[c];
        if (!bars.empty()) {
            PLAN_BAR& last = bars.back();
            const bool bSameStep = last.nFirstStep == last.nLastStep && col.nFirstStep == col.nLastStep &&
                                   last.nLastStep == col.nFirstStep;
            if (bSameStep) {
                last.nRight = col.nRight;
                continue;
            }
        }
        bars.push_back(col);
    }
    return bars;
}

} // namespace torvex
