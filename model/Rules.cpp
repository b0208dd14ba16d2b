#include "model/Rules.h"

#include "model/RulesDetail.h"

namespace torvex {

using namespace rules_detail;

// ---- Derived quantities ------------------------------------------------------

int32_t LowestFrequency(const CSettingData& cond) {
    return BoundOf(cond.m_valFreq, cond.m_valFreq.m_nValueType, LOWEST);
}

int32_t FirstFrequency(const CSettingData& cond) {
    return BoundOf(cond.m_valFreq, cond.m_valFreq.m_nValueType, FIRST);
}

int32_t HighestFrequency(const CSettingData& cond) {
    return BoundOf(cond.m_valFreq, cond.m_valFreq.m_nValueType, HIGHEST);
}

int32_t HighestVoltage(const CSettingData& cond) {
    return BoundOf(cond.m_valVolt, cond.m_valVolt.m_nValueType, HIGHEST);
}

// ---- Pulse count and burst duration -------------------------------------------

int64_t BurstWindow(int32_t lBurstPeriod, bool bAlternation) {
    // 10 µs is the duration step; alternation needs a rest of 100 ms.
    return bAlternation ? (int64_t(lBurstPeriod) - 100) * 1000 : int64_t(lBurstPeriod) * 1000 - 10;
}

int32_t BurstDurationOf(int32_t lPulseCount, int32_t lFreq) {
    if (lFreq <= 0 || lPulseCount <= 0) return 0;
    const int64_t lPeriod = 10000000 / lFreq; // in 0.1 µs
    return Sat32((lPeriod * lPulseCount + 99) / 100 * 10);
}

int32_t MaxPulseCount(int32_t lLowestFreq, int32_t lBurstPeriod, bool bAlternation) {
    if (lLowestFreq <= 0) return PULSE_MIN;
    int64_t n = 0;
    if (lLowestFreq <= 1000)
        n = int64_t(lLowestFreq) * BurstWindow(lBurstPeriod, bAlternation) / 1000000;
    else
        n = lBurstPeriod; // one pulse per millisecond on average
    // Sound periods never give more than 1000; a damaged one must not either.
    return Limit(n, PULSE_MIN, PULSE_MAX);
}

int32_t CorrectPulseCount(int32_t lLowestFreq, int32_t lFirstFreq, int32_t lBurstPeriod, bool bAlternation,
                          int32_t& lPulseCount) {
    lPulseCount = Limit(lPulseCount, PULSE_MIN, MaxPulseCount(lLowestFreq, lBurstPeriod, bAlternation));
    return BurstDurationOf(lPulseCount, lFirstFreq);
}

int32_t PulsesFromDuration(int32_t lLowestFreq, int32_t lFirstFreq, int32_t lBurstPeriod, bool bAlternation,
                           int32_t lStoredPulseCount, int32_t lStoredDura, int32_t& lDura) {
    const int64_t d = Limit(lDura, DURA_MIN, DURA_MAX);
    const int64_t calc = int64_t(lFirstFreq) * d / 1000000;
    const int64_t stored = lStoredPulseCount;
    int64_t n = stored;
    // Any change of the duration moves the pulse count at least one its way,
    // even when it is smaller than one pulse period.
    if (d < lStoredDura)
        n = calc >= stored ? stored - 1 : calc;
    else if (d > lStoredDura)
        n = calc <= stored ? stored + 1 : calc;
    const int32_t lPulses = Limit(n, PULSE_MIN, MaxPulseCount(lLowestFreq, lBurstPeriod, bAlternation));
    lDura = BurstDurationOf(lPulses, lFirstFreq);
    return lPulses;
}

int32_t MinBurstDuration(int32_t lFirstFreq) {
    return BurstDurationOf(1, lFirstFreq);
}

int32_t MaxBurstDuration(int32_t lLowestFreq, int32_t lFirstFreq, int32_t lBurstPeriod, bool bAlternation) {
    const int64_t lMin = MinBurstDuration(lFirstFreq);
    const int64_t lMaxPulses =
        BurstDurationOf(MaxPulseCount(lLowestFreq, lBurstPeriod, bAlternation), lFirstFreq);
    const int64_t lWindow = BurstWindow(lBurstPeriod, bAlternation);
    return Sat32(std::max(lMin, std::min(lMaxPulses, std::max(lWindow, lMin))));
}

// ---- Special functions ---------------------------------------------------------

bool IsAlternationAllowed(const CSettingData& cond) {
    const VALUE_STRUCT& vs = cond.m_valFreq;
    if (!IsValidType(vs.m_nValueType)) return false;
    // A record without a usable frequency allows no special function.
    if ((vs.m_nValueType != VALUE_VARIABLE || AnyUsed(vs)) && LowestFrequency(cond) <= 0) return false;
    int64_t lDura = cond.m_lBurstDura;
    if (vs.m_nValueType == VALUE_SWEEP)
        lDura = BurstDurationOf(cond.m_lPalseCount, std::min(vs.m_lStart, vs.m_lEnd));
    else if (vs.m_nValueType == VALUE_VARIABLE)
        lDura = BurstDurationOf(cond.m_lPalseCount, AnyUsed(vs) ? MinUsed(vs) : FREQ_MAX);
    const int64_t lRest = int64_t(cond.m_lBurstPeriod) * 1000 - lDura;
    return cond.m_lBurstPeriod >= PERIOD_ALT_MIN && lRest >= 100000 &&
           cond.m_lTestTime <= TEST_TIME_LIMITED && !cond.m_bContinuous;
}

namespace {

// Every value a structure stands for as far as the continuous limits care: the
// fixed value, both sweep bounds, every used row. False for an invalid type or
// no used row.
template <typename Fn> bool ForEachLimitValue(const VALUE_STRUCT& vs, Fn fn) {
    switch (vs.m_nValueType) {
    case VALUE_FIXED:
        fn(vs.m_lValue);
        return true;
    case VALUE_SWEEP:
        fn(vs.m_lStart);
        fn(vs.m_lEnd);
        return true;
    case VALUE_VARIABLE:
        for (int i = 0; i < 5; ++i)
            if (vs.m_abUse[i]) fn(vs.m_alValue[i]);
        return AnyUsed(vs);
    default:
        return false;
    }
}

} // namespace

bool IsContinuousAllowed(const CSettingData& cond) {
    if (cond.m_lTestTime > TEST_TIME_LIMITED || cond.m_bAlternative || cond.m_bTrigger) return false;
    int32_t lFreqLimit = INT32_MAX;
    if (!ForEachLimitValue(cond.m_valVolt, [&](int32_t v) {
            lFreqLimit = std::min(lFreqLimit, ContinuousFrequencyLimit(v));
        }))
        return false;
    bool bWithin = true;
    if (!ForEachLimitValue(cond.m_valFreq, [&](int32_t f) { bWithin = bWithin && f <= lFreqLimit; }))
        return false;
    return bWithin;
}

bool IsTriggerAllowed(const CSettingData& cond) {
    return !cond.m_bContinuous;
}

int32_t ContinuousVoltageLimit(int32_t lHighestFreq) {
    if (lHighestFreq <= 1000) return 5000;
    if (lHighestFreq <= 4000) return 2000;
    return 1000; // up to 10 kHz; above that nothing is allowed, so the strictest
}

int32_t ContinuousFrequencyLimit(int32_t lHighestVolt) {
    if (lHighestVolt <= 1000) return 10000;
    if (lHighestVolt <= 2000) return 4000;
    return 1000;
}

// ---- Test time ---------------------------------------------------------------

int32_t NormalizeTestTime(int32_t lHours, int32_t lMinutes, int32_t lSeconds, bool bAlternation,
                          bool bContinuous) {
    const int32_t h = Limit(lHours, 0, 9);
    const int32_t m = Limit(lMinutes, 0, 59);
    int32_t s = Limit(lSeconds, 0, 59);
    if (h == 0 && m == 0 && s == 0) s = 1;
    const int32_t lTime = h * 3600 + m * 60 + s;
    if ((bAlternation || bContinuous) && lTime > TEST_TIME_LIMITED) return TEST_TIME_LIMITED;
    return lTime;
}

void SplitTestTime(int32_t lTestTime, int32_t& lHours, int32_t& lMinutes, int32_t& lSeconds) {
    const int32_t t = std::max(lTestTime, 0);
    lHours = t / 3600;
    lMinutes = t % 3600 / 60;
    lSeconds = t % 60;
}

} // namespace torvex
