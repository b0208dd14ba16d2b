#pragma once

// The rule book of the numeric parameters of a test condition: limits, typed
// text and spin clicks, and every automatic correction between parameters.
// Screens only call these functions, store what they return and show it.
//
// Every function accepts any record, including one read from a damaged file:
// nothing divides by zero, overflows, reads outside the five rows or loops
// without end. Intermediate products are formed in 64 bits and results are
// saturated into 32 bits.

#include "model/SettingData.h"

#include <QString>
#include <cstdint>

namespace torvex {

// What a value editor edits: kind 0 voltage, 1 frequency, 2 phase angle.
enum VALUE_KIND : int32_t { KIND_VOLT = 0, KIND_FREQ = 1, KIND_ANGLE = 2 };

// The boxes of a value editor: the fixed value, the sweep bounds and step, and
// the five variable rows (FIELD_ROW0 + row).
enum VALUE_FIELD : int32_t { FIELD_FIXED = 0, FIELD_START, FIELD_END, FIELD_STEP, FIELD_ROW0 };
constexpr int32_t FIELD_COUNT = FIELD_ROW0 + 5;

// What an entry operation changed in the condition (bit mask).
enum : uint32_t {
    CHANGED_VALUE = 1u,        // the value structure edited (or the parameter entered)
    CHANGED_PULSE_COUNT = 2u,  // m_lPalseCount
    CHANGED_BURST_DURA = 4u,   // m_lBurstDura
    CHANGED_BURST_PERIOD = 8u, // m_lBurstPeriod
    CHANGED_TEST_TIME = 16u,   // m_lTestTime
};

// ---- Fixed limits (storage units) -------------------------------------------
constexpr int32_t VOLT_MIN = 200, VOLT_MAX = 5000, VOLT_STEP_MIN = 10, VOLT_STEP_MAX = 5000;
constexpr int32_t FREQ_MIN = 100, FREQ_MAX = 2000000;
constexpr int32_t ANGLE_MIN = 0, ANGLE_MAX = 360, ANGLE_STEP_MIN = 1;
constexpr int32_t PULSE_MIN = 1, PULSE_MAX = 1000;
constexpr int32_t DURA_MIN = 10, DURA_MAX = 999000;
constexpr int32_t PERIOD_MIN = 10, PERIOD_MAX = 1000, PERIOD_ALT_MIN = 500;
constexpr int32_t TEST_TIME_LIMITED = 600; // longest test time with alternation or continuous output

// ---- Derived quantities ------------------------------------------------------
// Frequencies in Hz, voltage in V. A variable structure without a used row, or
// a value type outside 0..2, gives 0.
int32_t LowestFrequency(const CSettingData& cond);
int32_t FirstFrequency(const CSettingData& cond);
int32_t HighestFrequency(const CSettingData& cond);
// A sweep gives the larger bound (the end, in any sound record).
int32_t HighestVoltage(const CSettingData& cond);

// Time a burst may occupy within a burst period (ms), in µs.
int64_t BurstWindow(int32_t lBurstPeriod, bool bAlternation);

// Duration in µs of N pulses at f Hz: N periods of 0.1 µs, rounded up to 10 µs.
// 0 when f or N is 0 or less; saturates at INT32_MAX.
int32_t BurstDurationOf(int32_t lPulseCount, int32_t lFreq);

// Largest pulse count a burst period allows at the lowest frequency: at least
// 1, at most 1000. A frequency of 0 or less gives 1.
int32_t MaxPulseCount(int32_t lLowestFreq, int32_t lBurstPeriod, bool bAlternation);

// Limits lPulseCount to [1, MaxPulseCount] and returns its burst duration.
int32_t CorrectPulseCount(int32_t lLowestFreq, int32_t lFirstFreq, int32_t lBurstPeriod, bool bAlternation,
                          int32_t& lPulseCount);

// An entered burst duration (already limited to [10, 999000] µs) moves the
// pulse count at least one in its direction; lDura snaps to the duration of the
// returned pulse count.
int32_t PulsesFromDuration(int32_t lLowestFreq, int32_t lFirstFreq, int32_t lBurstPeriod, bool bAlternation,
                           int32_t lStoredPulseCount, int32_t lStoredDura, int32_t& lDura);

// Burst duration limits shown to the operator, in µs.
int32_t MinBurstDuration(int32_t lFirstFreq);
int32_t MaxBurstDuration(int32_t lLowestFreq, int32_t lFirstFreq, int32_t lBurstPeriod, bool bAlternation);

// Whether a special function may be switched on.
bool IsAlternationAllowed(const CSettingData& cond);
bool IsContinuousAllowed(const CSettingData& cond);
bool IsTriggerAllowed(const CSettingData& cond);

// Limits while continuous pulse output is on. Above 10 kHz the voltage limit is
// the strictest one (1000 V); above 5000 V the frequency limit is 1 kHz.
int32_t ContinuousVoltageLimit(int32_t lHighestFreq);
int32_t ContinuousFrequencyLimit(int32_t lHighestVolt);

// Test time in seconds from its entered parts.
int32_t NormalizeTestTime(int32_t lHours, int32_t lMinutes, int32_t lSeconds, bool bAlternation,
                          bool bContinuous);
// Parts of a stored test time for the boxes (a negative time shows as 0).
void SplitTestTime(int32_t lTestTime, int32_t& lHours, int32_t& lMinutes, int32_t& lSeconds);

// ---- Text of the number boxes ------------------------------------------------
struct FILTERED_TEXT {
    QString m_strText;
    int32_t m_nSelStart = 0;
    int32_t m_nSelEnd = 0; // the caret
    bool m_bChanged = false;
};
// Keeps the digits and one decimal point: the point just left of the caret
// when there is one (a newly typed point replaces the old one), else the first.
// The selection keeps its place among the characters that remain.
FILTERED_TEXT FilterNumericText(const QString& strText, int32_t nSelStart, int32_t nSelEnd);

// The leading decimal number of the text scaled by 10^scale, truncated toward
// zero; the scaling is exact in decimal, so "2.01" ms is 2010 µs. No number
// reads 0; out of range saturates.
int32_t ParseValue(const QString& strText, const VALUE_FORMAT& fmt);
// The stored value shown with the descriptor's decimals.
QString FormatValue(int32_t lValue, const VALUE_FORMAT& fmt);
// Frequency decimals follow the value (2 below 1 kHz, 1 below 10 kHz, else 0).
int32_t FreqDecimals(int32_t lFreq);
QString FormatValue(VALUE_KIND eKind, int32_t lValue, const VALUE_FORMAT& fmt);
// What the box shows, read back: the value the record must hold.
int32_t ShownValue(VALUE_KIND eKind, int32_t lValue, const VALUE_FORMAT& fmt);

// ---- Rounding and spin steps -------------------------------------------------
// Step of the band a typed frequency falls in (10 Hz up to 999 Hz ... 100 kHz).
int32_t FreqBandStep(int32_t lFreq);
// Band of a sweep range (1..5) from its two bounds, and that band's step and
// sweep-step limits.
int32_t FreqRangeBand(int32_t lStart, int32_t lEnd);
int32_t FreqBandStepOf(int32_t nBand);
int32_t FreqSweepStepMin(int32_t nBand);
int32_t FreqSweepStepMax(int32_t nBand);

// Rounding of a typed value of one value-editor box (voltage to the nearest
// 10 V, frequency truncated to its band step, a frequency STEP to the range
// band's step, angle as typed).
int32_t RoundTypedValue(const CSettingData& cond, VALUE_KIND eKind, int32_t nField, int32_t lValue);

// Spin step of a parameter box (nParam is a VF_ index), by box value and
// direction; CTRL ×10, and for the burst duration SHIFT ×100, both ×1000.
int32_t SpinStep(int nParam, int32_t lBoxValue, bool bUp, bool bCtrl, bool bShift);
// The box value moved by one spin step, saturated.
int32_t SpunValue(int nParam, int32_t lBoxValue, bool bUp, bool bCtrl, bool bShift);
// Spin step of a frequency sweep STEP box: the range band's step, CTRL ×10.
int32_t FreqSweepStepSpin(int32_t lStart, int32_t lEnd, bool bCtrl);

// ---- Value editors (voltage, frequency, angle of CDN port 0) -------------------
// The structure a kind edits; nullptr for an unknown kind.
VALUE_STRUCT* ValueOfKind(CSettingData& cond, VALUE_KIND eKind);
const VALUE_STRUCT* ValueOfKind(const CSettingData& cond, VALUE_KIND eKind);
// The VF_ index of a kind's descriptor.
int FormatIndexOf(VALUE_KIND eKind);

// Stored value of a box and its text (empty for an unknown kind or field).
int32_t FieldValue(const CSettingData& cond, VALUE_KIND eKind, int32_t nField);
QString FieldText(const CSettingData& cond, VALUE_KIND eKind, int32_t nField);

// Limits a value for a box, stores it as the box will show it, applies the
// dependent corrections (other sweep bound and STEP, pulse count and burst
// duration) and reports what changed. An unchanged value does nothing unless
// bForce is set.
uint32_t StoreValue(CSettingData& cond, VALUE_KIND eKind, int32_t nField, int32_t lValue, bool bForce);
// Typed text: parsed, rounded per kind, then stored.
uint32_t EnterText(CSettingData& cond, VALUE_KIND eKind, int32_t nField, const QString& strText,
                   bool bForce = false);
// A spin click on the box holding strBoxText: the box number moved one step,
// then stored without rounding.
uint32_t SpinText(CSettingData& cond, VALUE_KIND eKind, int32_t nField, const QString& strBoxText, bool bUp,
                  bool bCtrl);
// A use check box of a variable row. The last used row stays in use; the row's
// value is then stored forced.
uint32_t SetValueUse(CSettingData& cond, VALUE_KIND eKind, int32_t nRow, bool bUse);
// A value-type tab: stores the type and re-enters every value of its page,
// forced. A variable page without a used row gets row 0 in use.
uint32_t ChangeValueType(CSettingData& cond, VALUE_KIND eKind, int32_t nType);

// ---- Burst parameters (nParam: VF_BURST_PERIOD, VF_PULSE_COUNT, VF_BURST_DURA) --
uint32_t StoreBurstValue(CSettingData& cond, int nParam, int32_t lValue, bool bTyped);
uint32_t EnterBurstText(CSettingData& cond, int nParam, const QString& strText);
uint32_t SpinBurstText(CSettingData& cond, int nParam, const QString& strBoxText, bool bUp, bool bCtrl,
                       bool bShift);
QString BurstText(const CSettingData& cond, int nParam);

// ---- Test time --------------------------------------------------------------
// Normalizes the parts with the condition's own special functions and stores
// them.
uint32_t StoreTestTime(CSettingData& cond, int32_t lHours, int32_t lMinutes, int32_t lSeconds);

} // namespace torvex
