#pragma once

// Small helpers shared by the rules files; not part of the rules' interface.

#include "model/SettingData.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

namespace torvex {

namespace rules_detail {

inline int32_t Sat32(int64_t v) {
    return int32_t(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

// Limits v to [lo, hi]; a reversed range gives lo, so a broken limit never
// becomes undefined behaviour.
inline int32_t Limit(int64_t v, int64_t lo, int64_t hi) {
    if (hi < lo) return Sat32(lo);
    return Sat32(std::clamp(v, lo, hi));
}

// Value truncated toward zero to a multiple of step (> 0); saturated first, so
// the result stays a multiple.
inline int32_t TruncTo(int64_t v, int64_t step) {
    return int32_t(Sat32(v) / step * step);
}

inline bool IsValidType(int32_t nType) {
    return nType >= VALUE_FIXED && nType <= VALUE_VARIABLE;
}

inline bool AnyUsed(const VALUE_STRUCT& vs) {
    return std::any_of(std::begin(vs.m_abUse), std::end(vs.m_abUse), [](int32_t u) { return u != 0; });
}

// Smallest, largest and first used variable value; 0 when no row is used.
inline int32_t MinUsed(const VALUE_STRUCT& vs) {
    bool bAny = false;
    int32_t lMin = 0;
    for (int i = 0; i < 5; ++i)
        if (vs.m_abUse[i] && (!bAny || vs.m_alValue[i] < lMin)) {
            lMin = vs.m_alValue[i];
            bAny = true;
        }
    return lMin;
}

inline int32_t MaxUsed(const VALUE_STRUCT& vs) {
    bool bAny = false;
    int32_t lMax = 0;
    for (int i = 0; i < 5; ++i)
        if (vs.m_abUse[i] && (!bAny || vs.m_alValue[i] > lMax)) {
            lMax = vs.m_alValue[i];
            bAny = true;
        }
    return lMax;
}

inline int32_t FirstUsed(const VALUE_STRUCT& vs) {
    for (int i = 0; i < 5; ++i)
        if (vs.m_abUse[i]) return vs.m_alValue[i];
    return 0;
}

enum Bound { LOWEST, FIRST, HIGHEST };

// The lowest, first or highest value a value block stands for when read as a
// block of type nType; 0 for an unknown type. A reversed sweep in a damaged
// record must not hide its larger bound from the limits.
inline int32_t BoundOf(const VALUE_STRUCT& vs, int32_t nType, Bound which) {
    switch (nType) {
    case VALUE_FIXED:
        return vs.m_lValue;
    case VALUE_SWEEP:
        return which == FIRST    ? vs.m_lStart
               : which == LOWEST ? std::min(vs.m_lStart, vs.m_lEnd)
                                 : std::max(vs.m_lStart, vs.m_lEnd);
    case VALUE_VARIABLE:
        return which == FIRST ? FirstUsed(vs) : which == LOWEST ? MinUsed(vs) : MaxUsed(vs);
    default:
        return 0;
    }
}

} // namespace rules_detail

} // namespace torvex
