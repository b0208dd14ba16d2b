#pragma once

#include "model/SettingData.h"

#include <cstdint>
#include <vector>

namespace torvex {

// A condition may describe at most this many steps.
constexpr int64_t kMaxSteps = 1000;

// Burst duration in µs of N pulses at f Hz: N periods counted in 0.1 µs,
// rounded up to a multiple of 10 µs. A frequency of 0 or less has no period
// and gives 0; the result is held within 32 bits.
int32_t BurstDuration(int64_t lFreq, int64_t lPulseCount);

// The step every step of the condition is a copy of, before the varying
// parameters are filled in.
CExecData TemplateStep(const CSettingData& cond);

// Line masks of the coupling-line combinations, in run order, for a mask of
// lines on an output detail (the PE line is bit 4 on three-phase CDN, bit 2
// otherwise).
std::vector<uint32_t> CouplingCombinations(uint32_t ulMask, uint32_t uCouplingType, uint32_t uSweepType,
                                           int32_t nOutputDetail);

// Number of steps the condition describes, from the counts alone; 0 when any
// count is 0 or less; saturates instead of overflowing.
int64_t CountSteps(const CSettingData& cond);

// Rebuilds cond.m_listExec and returns the number of steps the condition
// describes. Above kMaxSteps nothing is built or destroyed.
int64_t ExpandSteps(CSettingData& cond);

} // namespace torvex
