// Step expansion: building a condition of exactly 1000 steps, against refusing
// a condition that describes 10^9 steps (which must cost only the counting).
#include "model/SettingData.h"
#include "model/StepExpansion.h"

#include <benchmark/benchmark.h>

using namespace torvex;

namespace {

// 5 voltages × 2 polarities × 100 frequencies = 1000 steps.
CSettingData ThousandSteps() {
    CSettingData c;
    c.m_ulPola = 3;
    c.m_valVolt.m_nValueType = VALUE_VARIABLE;
    for (int i = 0; i < 5; ++i)
        c.m_valVolt.m_abUse[i] = 1;
    c.m_valFreq.m_nValueType = VALUE_SWEEP;
    c.m_valFreq.m_lStart = 1000;
    c.m_valFreq.m_lEnd = 100000;
    c.m_valFreq.m_lStep = 1000;
    return c;
}

// 1000 × 1000 × 1000 from three sweeps (voltage, frequency, angle).
CSettingData BillionSteps() {
    CSettingData c;
    c.m_valVolt = VALUE_STRUCT{VALUE_SWEEP, 0, 0, 999, 1, {}, {}};
    c.m_valFreq = VALUE_STRUCT{VALUE_SWEEP, 0, 1000, 1000 + 999 * 10, 10, {}, {}};
    OUTPUT_PORT_STRUCT& p = c.m_outOutput.m_aopOutputPort[0];
    p.m_nSync = 1;
    p.m_valAngle = VALUE_STRUCT{VALUE_SWEEP, 0, 0, 999, 1, {}, {}};
    return c;
}

void BM_Expand1000(benchmark::State& state) {
    CSettingData c = ThousandSteps();
    for (auto _ : state) {
        int64_t n = ExpandSteps(c);
        benchmark::DoNotOptimize(n);
        benchmark::DoNotOptimize(c.m_listExec.data());
    }
    state.counters["steps"] = double(c.m_listExec.size());
}
BENCHMARK(BM_Expand1000)->Unit(benchmark::kMicrosecond);

void BM_Refuse1e9(benchmark::State& state) {
    CSettingData c = BillionSteps();
    c.m_listExec.resize(3); // must survive untouched
    for (auto _ : state) {
        int64_t n = ExpandSteps(c);
        benchmark::DoNotOptimize(n);
    }
    state.counters["total"] = double(ExpandSteps(c));
    state.counters["kept"] = double(c.m_listExec.size());
}
BENCHMARK(BM_Refuse1e9)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
