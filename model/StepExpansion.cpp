#include "model/StepExpansion.h"

#include <bit>
#include <cstdlib>
#include <limits>

namespace torvex {

int32_t BurstDuration(int64_t lFreq, int64_t lPulseCount) {
    if (lFreq <= 0) return 0;
    const int64_t period = 10000000 / lFreq; // in 0.1 µs
    // Counts from files may be anything: hold the product inside 64 bits.
    const int64_t limit = std::numeric_limits<int64_t>::max() / 2;
    int64_t units = (period != 0 && std::llabs(lPulseCount) > limit / period)
                        ? (lPulseCount < 0 ? -limit : limit)
                        : period * lPulseCount;
    int64_t d = (units + 99) / 100 * 10;
    if (d > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    if (d < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
    return int32_t(d);
}

CExecData TemplateStep(const CSettingData& cond) {
    const OUTPUT_PORT_STRUCT& port = cond.CurrentPort();
    const int32_t d = port.m_nOutputDetail;
    const int di = (d >= 0 && d < 3) ? d : 0;

    CExecData step;
    step.m_ulMachineType = cond.m_ulMachineType;
    step.m_lVolt = cond.m_valVolt.m_lValue;
    step.m_lFreq = cond.m_valFreq.m_lValue;
    step.m_lPulseCount = cond.m_lPalseCount;
    step.m_lBurstPeriod = cond.m_lBurstPeriod;
    step.m_lBurstDura = cond.m_lBurstDura;
    step.m_lTestTime = cond.m_lTestTime;
    step.m_nOutputPort = cond.m_outOutput.m_nOutputPort;
    step.m_nOutputDetail = d;
    step.m_ulInjLine = port.m_uCouplingType == 0 ? port.m_aulInjBitFix[di] : port.m_aulInjBitSweep[di];
    step.m_nSync = port.m_nSync;
    step.m_lAngle = port.m_valAngle.m_lValue;
    step.m_bAlternative = cond.m_bAlternative;
    step.m_bContinuous = cond.m_bContinuous;
    step.m_bModulated = cond.m_bModulated;
    step.m_bTrigger = cond.m_bTrigger;
    return step;
}

namespace {

// Combinations of up to five lines: more lines than a port has only come from
// damaged files, and this keeps the list and its count finite and equal.
constexpr int kMaxCombinedLines = 5;

// Every combination of the set bits of a mask: singles, then pairs, triples,
// quadruples, each size in lexicographic order of bit positions.
void CombinationsBySize(uint32_t ulMask, std::vector<uint32_t>& out) {
    std::vector<int> bits;
    for (int b = 0; b < 32; ++b)
        if (ulMask & (1u << b)) bits.push_back(b);
    const int n = int(bits.size());
    for (int k = 1; k <= n && k <= kMaxCombinedLines; ++k) {
        // Walk index combinations of size k in lexicographic order.
        std::vector<int> idx(static_cast<size_t>(k));
        for (int i = 0; i < k; ++i)
            idx[size_t(i)] = i;
        while (true) {
            uint32_t m = 0;
            for (int i : idx)
                m |= 1u << bits[size_t(i)];
            out.push_back(m);
            int i = k - 1;
            while (i >= 0 && idx[size_t(i)] == n - k + i)
                --i;
            if (i < 0) break;
            ++idx[size_t(i)];
            for (int j = i + 1; j < k; ++j)
                idx[size_t(j)] = idx[size_t(j - 1)] + 1;
        }
    }
}

int64_t Binomial(int64_t n, int64_t k) {
    if (k > n || k < 0) return 0;
    int64_t r = 1;
    for (int64_t i = 1; i <= k; ++i)
        r = r * (n - k + i) / i;
    return r;
}

int64_t CombinationsUpToFive(int64_t n) {
    int64_t sum = 0;
    for (int64_t k = 1; k <= kMaxCombinedLines; ++k)
        sum += Binomial(n, k);
    return sum;
}

// n + C(n,2) + … + C(n,5), which is 2^n − 1 for the masks of a real port; with
// PE the list is built around it, which gives the same number.
int64_t CombinationCount(const OUTPUT_PORT_STRUCT& port, uint32_t ulMask) {
    if (port.m_uCouplingType == 0) return 1;
    const int64_t n = std::popcount(ulMask);
    if (port.m_uSweepType == 0) return n;
    const uint32_t pe = port.m_nOutputDetail != 0 ? (1u << 4) : (1u << 2);
    if (ulMask & pe) return 2 * CombinationsUpToFive(n - 1) + 1;
    return CombinationsUpToFive(n);
}

// Multiplies non-negative counts, stopping at a bound far above the step limit.
int64_t SaturatingProduct(std::initializer_list<int64_t> counts) {
    const int64_t cap = std::numeric_limits<int64_t>::max();
    int64_t total = 1;
    for (int64_t c : counts) {
        if (c <= 0) return 0;
        if (total > cap / c)
            total = cap;
        else
            total *= c;
    }
    return total;
}

} // namespace

std::vector<uint32_t> CouplingCombinations(uint32_t ulMask, uint32_t uCouplingType, uint32_t uSweepType,
                                           int32_t nOutputDetail) {
    std::vector<uint32_t> out;
    if (uCouplingType == 0) {
        out.push_back(ulMask);
        return out;
    }
    if (uSweepType == 0) {
        for (int b = 0; b < 32; ++b)
            if (ulMask & (1u << b)) out.push_back(1u << b);
        return out;
    }
    const uint32_t pe = nOutputDetail != 0 ? (1u << 4) : (1u << 2);
    if (!(ulMask & pe)) {
        CombinationsBySize(ulMask, out);
        return out;
    }
    std::vector<uint32_t> others;
    CombinationsBySize(ulMask & ~pe, others);
    out = others;
    out.push_back(pe);
    for (uint32_t m : others)
        out.push_back(m | pe);
    return out;
}

namespace {

struct Counts {
    int64_t nV, nP, nF, nC, nA;
    uint32_t ulLines;
};

Counts CountsOf(const CSettingData& cond) {
    const OUTPUT_PORT_STRUCT& port = cond.CurrentPort();
    const CExecData tmpl = TemplateStep(cond);
    Counts c;
    c.ulLines = tmpl.m_ulInjLine;
    c.nV = ValueCount(cond.m_valVolt);
    c.nP = std::popcount(cond.m_ulPola);
    c.nF = FreqValueCount(cond.m_valFreq);
    c.nC = CombinationCount(port, c.ulLines);
    c.nA = port.m_nSync == 1 ? ValueCount(port.m_valAngle) : 1;
    return c;
}

} // namespace

int64_t CountSteps(const CSettingData& cond) {
    const Counts c = CountsOf(cond);
    return SaturatingProduct({c.nF, c.nP, c.nC, c.nV, c.nA});
}

int64_t ExpandSteps(CSettingData& cond) {
    const Counts c = CountsOf(cond);
    const int64_t total = SaturatingProduct({c.nF, c.nP, c.nC, c.nV, c.nA});
    if (total > kMaxSteps) return total;

    const OUTPUT_PORT_STRUCT& port = cond.CurrentPort();
    const CExecData tmpl = TemplateStep(cond);
    std::vector<CExecData> steps;
    steps.reserve(size_t(total));
    if (total > 0) {
        const std::vector<uint32_t> combos =
            CouplingCombinations(c.ulLines, port.m_uCouplingType, port.m_uSweepType, port.m_nOutputDetail);
        std::vector<int32_t> polarities;
        for (int b = 0; b < 32; ++b)
            if (cond.m_ulPola & (1u << b)) polarities.push_back(b);
        for (int64_t v = 0; v < c.nV; ++v) {
            const int32_t volt = ValueAt(cond.m_valVolt, v);
            for (int32_t pol : polarities) {
                for (int64_t f = 0; f < c.nF; ++f) {
                    const int32_t freq = FreqValueAt(cond.m_valFreq, f);
                    const int32_t dura = BurstDuration(freq, cond.m_lPalseCount);
                    for (uint32_t mask : combos) {
                        for (int64_t a = 0; a < c.nA; ++a) {
                            CExecData step = tmpl;
                            step.m_lVolt = volt;
                            step.m_nPola = pol;
                            step.m_lFreq = freq;
                            step.m_lBurstDura = dura;
                            step.m_ulInjLine = mask;
                            step.m_lAngle = ValueAt(port.m_valAngle, a);
                            steps.push_back(std::move(step));
                        }
                    }
                }
            }
        }
    }
    cond.m_listExec = std::move(steps);
    return total;
}

} // namespace torvex
