#pragma once

#include "model/Rules.h"

#include <array>

namespace torvex {

// Value structures for rule tests, written as one line each.
inline VALUE_STRUCT Fixed(int32_t v) {
    VALUE_STRUCT vs;
    vs.m_nValueType = VALUE_FIXED;
    vs.m_lValue = v;
    return vs;
}

inline VALUE_STRUCT Sweep(int32_t lStart, int32_t lEnd, int32_t lStep) {
    VALUE_STRUCT vs;
    vs.m_nValueType = VALUE_SWEEP;
    vs.m_lStart = lStart;
    vs.m_lEnd = lEnd;
    vs.m_lStep = lStep;
    return vs;
}

inline VALUE_STRUCT Variable(std::array<int32_t, 5> use, std::array<int32_t, 5> values) {
    VALUE_STRUCT vs;
    vs.m_nValueType = VALUE_VARIABLE;
    for (int i = 0; i < 5; ++i) {
        vs.m_abUse[i] = use[i];
        vs.m_alValue[i] = values[i];
    }
    return vs;
}

inline VALUE_STRUCT OfType(int32_t nType) {
    VALUE_STRUCT vs;
    vs.m_nValueType = nType;
    return vs;
}

// A condition with the given voltage and frequency structures.
inline CSettingData Condition(const VALUE_STRUCT& volt, const VALUE_STRUCT& freq) {
    CSettingData c;
    c.m_valVolt = volt;
    c.m_valFreq = freq;
    return c;
}

} // namespace torvex
