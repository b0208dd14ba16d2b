#include "model/SettingData.h"

#include <QCoreApplication>
#include <cstdlib>

namespace torvex {

namespace {

VALUE_STRUCT MakeValue(int32_t nType, int32_t lFixed, int32_t lStart, int32_t lEnd, int32_t lStep,
                       std::initializer_list<int32_t> use, std::initializer_list<int32_t> values) {
    VALUE_STRUCT vs;
    vs.m_nValueType = nType;
    vs.m_lValue = lFixed;
    vs.m_lStart = lStart;
    vs.m_lEnd = lEnd;
    vs.m_lStep = lStep;
    int i = 0;
    for (int32_t u : use)
        vs.m_abUse[i++] = u;
    i = 0;
    for (int32_t v : values)
        vs.m_alValue[i++] = v;
    return vs;
}

VALUE_FORMAT MakeFormat(const QString& unit, int32_t scale, int32_t decimals, int32_t lMin, int32_t lMax,
                        int32_t lStep) {
    return VALUE_FORMAT{unit, scale, decimals, lMin, lMax, lStep};
}

} // namespace

CSettingData::CSettingData() {
    Reset(true);
}

void CSettingData::Reset(bool bNoTestLevel) {
    m_strTestName = QStringLiteral("無題");
    m_nTestLevel = bNoTestLevel ? 4 : 0;
    m_ulPola = 1;
    m_valVolt = MakeValue(VALUE_FIXED, 500, 500, 4000, 10, {1, 0, 0, 0, 0}, {500, 1000, 2000, 4000, 5000});
    m_valFreq = MakeValue(VALUE_FIXED, 5000, 5000, 5000, 100, {1, 1, 0, 0, 0},
                          {5000, 100000, 100000, 100000, 100000});
    m_lPalseCount = 75;
    m_lBurstPeriod = 300;
    m_lBurstDura = 15000;

    m_outOutput = OUTPUT_STRUCT{};
    for (OUTPUT_PORT_STRUCT& port : m_outOutput.m_aopOutputPort) {
        port = OUTPUT_PORT_STRUCT{};
        port.m_valAngle = MakeValue(VALUE_SWEEP, 0, 0, 270, 90, {1, 0, 0, 0, 0}, {0, 90, 180, 270, 270});
    }
    OUTPUT_PORT_STRUCT& cdn = m_outOutput.m_aopOutputPort[PORT_CDN];
    const uint32_t cdnMasks[3] = {7, 31, 1};
    for (int i = 0; i < 3; ++i) {
        cdn.m_aulInjBitFix[i] = cdnMasks[i];
        cdn.m_aulInjBitSweep[i] = cdnMasks[i];
    }

    m_lTestTime = 60;
    m_aValueFormat[VF_VOLT] = MakeFormat("V", 0, 0, 200, 5000, 10);
    m_aValueFormat[VF_FREQ] = MakeFormat("kHz", 3, 2, 100, 2000000, 10);
    m_aValueFormat[VF_PULSE_COUNT] = MakeFormat("", 0, 0, 1, 1000, 1);
    m_aValueFormat[VF_BURST_DURA] = MakeFormat("ms", 3, 2, 10, 999000, 10);
    m_aValueFormat[VF_BURST_PERIOD] = MakeFormat("ms", 0, 0, 10, 1000, 10);
    m_aValueFormat[VF_ANGLE] = MakeFormat(QStringLiteral("°"), 0, 0, 0, 360, 1);
    m_aValueFormat[VF_TIME_HOUR] = MakeFormat("h", 0, 0, 0, 9, 1);
    m_aValueFormat[VF_TIME_MIN] = MakeFormat("m", 0, 0, 0, 59, 1);
    m_aValueFormat[VF_TIME_SEC] = MakeFormat("s", 0, 0, 0, 59, 1);

    m_bAlternative = 0;
    m_bContinuous = 0;
    m_bModulated = 0;
    m_bTrigger = 0;
}

const OUTPUT_PORT_STRUCT& CSettingData::CurrentPort() const {
    int32_t p = m_outOutput.m_nOutputPort;
    return m_outOutput.m_aopOutputPort[(p >= 0 && p < 3) ? p : 0];
}

OUTPUT_PORT_STRUCT& CSettingData::CurrentPort() {
    int32_t p = m_outOutput.m_nOutputPort;
    return m_outOutput.m_aopOutputPort[(p >= 0 && p < 3) ? p : 0];
}

bool CSettingData::SameBlockFields(const CSettingData& o) const {
    return m_ulMachineType == o.m_ulMachineType && m_nHWVersion == o.m_nHWVersion && m_ulPola == o.m_ulPola &&
           m_valVolt == o.m_valVolt && m_valFreq == o.m_valFreq && m_lPalseCount == o.m_lPalseCount &&
           m_lBurstPeriod == o.m_lBurstPeriod && m_lBurstDura == o.m_lBurstDura &&
           m_outOutput == o.m_outOutput && m_lTestTime == o.m_lTestTime &&
           m_bAlternative == o.m_bAlternative && m_bContinuous == o.m_bContinuous &&
           m_bModulated == o.m_bModulated && m_bTrigger == o.m_bTrigger;
}

namespace {

int64_t UsedCount(const VALUE_STRUCT& vs) {
    int64_t n = 0;
    for (int32_t u : vs.m_abUse)
        n += u ? 1 : 0;
    return n;
}

int32_t UsedValue(const VALUE_STRUCT& vs, int64_t n, bool* pFound) {
    int64_t seen = 0;
    for (int i = 0; i < 5; ++i) {
        if (!vs.m_abUse[i]) continue;
        if (seen == n) {
            if (pFound) *pFound = true;
            return vs.m_alValue[i];
        }
        ++seen;
    }
    if (pFound) *pFound = false;
    return 0;
}

} // namespace

int64_t ValueCount(const VALUE_STRUCT& vs) {
    switch (vs.m_nValueType) {
    case VALUE_FIXED:
        return 1;
    case VALUE_SWEEP:
        if (vs.m_lStep == 0) return 1;
        return (int64_t(vs.m_lEnd) - vs.m_lStart) / vs.m_lStep + 1;
    case VALUE_VARIABLE:
        return UsedCount(vs);
    default:
        return 0; // an invalid type stands for no value at all
    }
}

int64_t FreqValueCount(const VALUE_STRUCT& vs) {
    switch (vs.m_nValueType) {
    case VALUE_FIXED:
        return 1;
    case VALUE_SWEEP:
        if (vs.m_lStep == 0) return 1;
        return std::llabs(int64_t(vs.m_lEnd) - vs.m_lStart) / vs.m_lStep + 1;
    case VALUE_VARIABLE:
        return UsedCount(vs);
    default:
        return 0;
    }
}

namespace {
int32_t Clamp32(int64_t v) {
    if (v > INT32_MAX) return INT32_MAX;
    if (v < INT32_MIN) return INT32_MIN;
    return int32_t(v);
}
} // namespace

int32_t ValueAt(const VALUE_STRUCT& vs, int64_t n, bool* pFound) {
    if (pFound) *pFound = false;
    switch (vs.m_nValueType) {
    case VALUE_FIXED:
        return vs.m_lValue;
    case VALUE_SWEEP: {
        int64_t v = int64_t(vs.m_lStart) + n * int64_t(vs.m_lStep);
        return Clamp32(v < vs.m_lEnd ? v : int64_t(vs.m_lEnd));
    }
    case VALUE_VARIABLE:
        return UsedValue(vs, n, pFound);
    default:
        return 0;
    }
}

int32_t FreqValueAt(const VALUE_STRUCT& vs, int64_t n, bool* pFound) {
    if (pFound) *pFound = false;
    switch (vs.m_nValueType) {
    case VALUE_FIXED:
        return vs.m_lValue;
    case VALUE_SWEEP:
        if (vs.m_lStart <= vs.m_lEnd) return Clamp32(int64_t(vs.m_lStart) + n * int64_t(vs.m_lStep));
        return Clamp32(int64_t(vs.m_lStart) - n * int64_t(vs.m_lStep));
    case VALUE_VARIABLE:
        return UsedValue(vs, n, pFound);
    default:
        return 0;
    }
}

QString ShownTestName(const QString& strTestName) {
    if (strTestName == QStringLiteral("無題")) return QCoreApplication::translate("TorvexDoc", "無題");
    return strTestName;
}

} // namespace torvex
