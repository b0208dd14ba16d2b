#include "model/ScreenRules.h"

#include "model/Rules.h"

#include <algorithm>

namespace torvex {

namespace {
int32_t ClampLevel(int32_t nLevel) {
    return std::clamp(nLevel, 0, STANDARD_LEVELS - 1);
}
} // namespace

int32_t StandardVoltage(int32_t nLevel, int32_t nOutputPort) {
    static const int32_t s_alCdn[STANDARD_LEVELS] = {500, 1000, 2000, 4000};
    // PULSE OUT gets half: the CDN's coupling halves what reaches the line.
    const int32_t lCdn = s_alCdn[ClampLevel(nLevel)];
    return nOutputPort == PORT_PULSE_OUT ? lCdn / 2 : lCdn;
}

int32_t StandardBurstDuration(int32_t lFreq) {
    return lFreq == STANDARD_FREQ_LOW ? 15000 : 750;
}

bool InitStandardCondition(CSettingData& cond) {
    const bool bChanged = cond.m_nTestLevel != 0 || cond.m_lPalseCount != STANDARD_PULSE_COUNT ||
                          cond.m_lBurstPeriod != STANDARD_BURST_PERIOD;
    cond.m_nTestLevel = 0;
    cond.m_lPalseCount = STANDARD_PULSE_COUNT;
    cond.m_lBurstPeriod = STANDARD_BURST_PERIOD;
    return DeriveStandardValues(cond) || bChanged;
}

bool DeriveStandardValues(CSettingData& cond) {
    const VALUE_STRUCT old = cond.m_valVolt;
    const int32_t lOldDura = cond.m_lBurstDura;
    cond.m_valVolt.m_nValueType = VALUE_FIXED;
    cond.m_valVolt.m_lValue = StandardVoltage(cond.m_nTestLevel, cond.m_outOutput.m_nOutputPort);
    cond.m_lBurstDura = StandardBurstDuration(cond.m_valFreq.m_lValue);
    return !(old == cond.m_valVolt) || lOldDura != cond.m_lBurstDura;
}

bool StoreStandardTestTime(CSettingData& cond, int32_t lHours, int32_t lMinutes, int32_t lSeconds) {
    const int32_t lTime = NormalizeTestTime(lHours, lMinutes, lSeconds, false, false);
    if (lTime == cond.m_lTestTime) return false;
    cond.m_lTestTime = lTime;
    return true;
}

int32_t LineCount(int32_t nOutputDetail) {
    return nOutputDetail == DETAIL_THREE ? 5 : 3;
}

QStringList LineCaptions(int32_t nOutputDetail) {
    if (nOutputDetail == DETAIL_THREE)
        return {QStringLiteral("L1"), QStringLiteral("L2"), QStringLiteral("L3"), QStringLiteral("N"),
                QStringLiteral("PE")};
    return {QStringLiteral("L"), QStringLiteral("N"), QStringLiteral("PE")};
}

uint32_t& EditedLineMask(OUTPUT_PORT_STRUCT& port) {
    const int32_t n = port.m_nOutputDetail >= 0 && port.m_nOutputDetail < 3 ? port.m_nOutputDetail : 0;
    return port.m_uCouplingType == 0 ? port.m_aulInjBitFix[n] : port.m_aulInjBitSweep[n];
}

uint32_t EditedLineMask(const OUTPUT_PORT_STRUCT& port) {
    return EditedLineMask(const_cast<OUTPUT_PORT_STRUCT&>(port));
}

uint32_t LineMaskFromBoxes(uint32_t ulStored, uint32_t ulBoxes, int32_t nLines) {
    uint32_t m = ulStored;
    for (int32_t b = 0; b < nLines && b < 32; ++b) {
        const uint32_t bit = 1u << b;
        bool bChecked = (ulBoxes & bit) != 0;
        // The last line left stays selected.
        if ((m & ~bit) == 0) bChecked = true;
        m = bChecked ? (m | bit) : (m & ~bit);
    }
    return m;
}

int32_t FunctionFlag(const CSettingData& cond, SPECIAL_FUNCTION eFunc) {
    switch (eFunc) {
    case FUNC_ALTERNATION:
        return cond.m_bAlternative;
    case FUNC_CONTINUOUS:
        return cond.m_bContinuous;
    case FUNC_MODULATION:
        return cond.m_bModulated;
    case FUNC_TRIGGER:
        return cond.m_bTrigger;
    }
    return 0;
}

bool IsFunctionAllowed(const CSettingData& cond, SPECIAL_FUNCTION eFunc) {
    switch (eFunc) {
    case FUNC_ALTERNATION:
        return IsAlternationAllowed(cond);
    case FUNC_CONTINUOUS:
        return IsContinuousAllowed(cond);
    case FUNC_TRIGGER:
        return IsTriggerAllowed(cond);
    case FUNC_MODULATION:
        break;
    }
    return true;
}

bool SetSpecialFunction(CSettingData& cond, SPECIAL_FUNCTION eFunc, bool bOn) {
    int32_t* pFlag = nullptr;
    switch (eFunc) {
    case FUNC_ALTERNATION:
        pFlag = &cond.m_bAlternative;
        break;
    case FUNC_CONTINUOUS:
        pFlag = &cond.m_bContinuous;
        break;
    case FUNC_MODULATION:
        pFlag = &cond.m_bModulated;
        break;
    case FUNC_TRIGGER:
        pFlag = &cond.m_bTrigger;
        break;
    }
    if (!pFlag) return false;
    const int32_t bOld = *pFlag;
    *pFlag = bOn ? 1 : 0;
    if (*pFlag && !IsFunctionAllowed(cond, eFunc)) *pFlag = 0;
    return *pFlag != bOld;
}

bool HasThreePhase(uint32_t ulMachineType) {
    return ulMachineType == MODEL_K1;
}

bool ApplyModelRule(CSettingData& cond, uint32_t ulMachineType) {
    if (HasThreePhase(ulMachineType)) return false;
    // Every port, not just the current one: switching the output later must not
    // bring back lines this model does not have.
    bool bChanged = false;
    for (OUTPUT_PORT_STRUCT& port : cond.m_outOutput.m_aopOutputPort) {
        if (port.m_nOutputDetail == DETAIL_SINGLE) continue;
        port.m_nOutputDetail = DETAIL_SINGLE;
        bChanged = true;
    }
    return bChanged;
}

} // namespace torvex
