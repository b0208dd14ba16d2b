#pragma once

#include "model/ExecData.h"

#include <QString>
#include <cstdint>
#include <vector>

namespace torvex {

// Display format and limits of one parameter: shown = stored × 10^(−scale).
struct VALUE_FORMAT {
    QString m_strUnit;
    int32_t m_nScale = 0;
    int32_t m_nDecimals = 0;
    int32_t m_lMin = 0;
    int32_t m_lMax = 0;
    int32_t m_lStep = 1;
    bool operator==(const VALUE_FORMAT&) const = default;
};

// Entries of CSettingData::m_aValueFormat.
enum : int {
    VF_VOLT = 0,
    VF_FREQ,
    VF_PULSE_COUNT,
    VF_BURST_DURA,
    VF_BURST_PERIOD,
    VF_ANGLE,
    VF_TIME_HOUR,
    VF_TIME_MIN,
    VF_TIME_SEC,
    VF_COUNT
};

// Value types of a VALUE_STRUCT.
enum : int32_t { VALUE_FIXED = 0, VALUE_SWEEP = 1, VALUE_VARIABLE = 2 };

// A parameter that may take several values in one test. The fixed value is
// written to files as m_lValue1 (voltage), m_lValue2 (frequency) or m_lValue3
// (phase angle); one type serves all three.
struct VALUE_STRUCT {
    int32_t m_nValueType = VALUE_FIXED;
    int32_t m_lValue = 0;
    int32_t m_lStart = 0;
    int32_t m_lEnd = 0;
    int32_t m_lStep = 0;
    int32_t m_abUse[5] = {0, 0, 0, 0, 0};
    int32_t m_alValue[5] = {0, 0, 0, 0, 0};
    bool operator==(const VALUE_STRUCT&) const = default;
};

// Output ports and details.
enum : int32_t { PORT_CDN = 0, PORT_PULSE_OUT = 1 };
enum : int32_t { DETAIL_SINGLE = 0, DETAIL_THREE = 1 };

struct OUTPUT_PORT_STRUCT {
    int32_t m_nOutputDetail = DETAIL_SINGLE;
    uint32_t m_uCouplingType = 0; // 0 fixed lines, 1 line sweep
    uint32_t m_uSweepType = 0;    // 0 one line at a time, 1 all combinations
    uint32_t m_aulInjBitFix[3] = {1, 1, 1};
    uint32_t m_aulInjBitSweep[3] = {1, 1, 1};
    int32_t m_nSync = 0;
    VALUE_STRUCT m_valAngle;
    bool operator==(const OUTPUT_PORT_STRUCT&) const = default;
};

struct OUTPUT_STRUCT {
    int32_t m_nOutputPort = PORT_CDN;
    OUTPUT_PORT_STRUCT m_aopOutputPort[3];
    bool operator==(const OUTPUT_STRUCT&) const = default;
};

// One test condition, as the operator enters it, with the steps it expands into.
class CSettingData {
public:
    CSettingData();
    virtual ~CSettingData() = default;
    CSettingData(const CSettingData&) = default;
    CSettingData& operator=(const CSettingData&) = default;
    CSettingData(CSettingData&&) = default;
    CSettingData& operator=(CSettingData&&) = default;

    // Every field back to its default except the model type, the hardware
    // version and the steps. bNoTestLevel: test level 4 (MANUAL, sequence),
    // otherwise 0 (STANDARD, level 1).
    void Reset(bool bNoTestLevel);

    // The port the condition outputs on (entry 0 for a port outside 0..2).
    const OUTPUT_PORT_STRUCT& CurrentPort() const;
    OUTPUT_PORT_STRUCT& CurrentPort();

    // Text of a column number for the condition as a whole.
    QString GetText(int nCol) const;

    // The fields the condition block of a file carries (not the name, level,
    // descriptors or steps).
    bool SameBlockFields(const CSettingData& other) const;

    std::vector<CExecData> m_listExec;
    QString m_strTestName;
    uint32_t m_ulMachineType = 0;
    int32_t m_nHWVersion = 0;
    int32_t m_nTestLevel = 4;
    uint32_t m_ulPola = 1;
    VALUE_STRUCT m_valVolt;
    VALUE_STRUCT m_valFreq;
    int32_t m_lPalseCount = 75;
    int32_t m_lBurstPeriod = 300;
    int32_t m_lBurstDura = 15000;
    OUTPUT_STRUCT m_outOutput;
    int32_t m_lTestTime = 60;
    VALUE_FORMAT m_aValueFormat[VF_COUNT];
    int32_t m_bAlternative = 0;
    int32_t m_bContinuous = 0;
    int32_t m_bModulated = 0;
    int32_t m_bTrigger = 0;
};

// Number of values a voltage or phase-angle structure stands for. Sweeps
// count (end − start) / step + 1 (0 or less for a reversed sweep, 1 for step 0);
// an invalid value type counts 0. Computed in 64 bits, never overflowing.
int64_t ValueCount(const VALUE_STRUCT& vs);
// The same for frequency, whose sweep may run downwards.
int64_t FreqValueCount(const VALUE_STRUCT& vs);
// Value at index n (from 0), voltage and phase-angle form: a sweep never goes
// above its end. pFound reports whether a variable value was found.
int32_t ValueAt(const VALUE_STRUCT& vs, int64_t n, bool* pFound = nullptr);
// Frequency form: a sweep runs from start towards end, unclamped.
int32_t FreqValueAt(const VALUE_STRUCT& vs, int64_t n, bool* pFound = nullptr);

// A test name as the screens, lists and reports show it: the name files store
// for a test never named ("無題") in the interface's language, any other as it is.
QString ShownTestName(const QString& strTestName);

} // namespace torvex
