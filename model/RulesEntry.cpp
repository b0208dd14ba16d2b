// Entry operations of the value editors, the burst boxes and the test time:
// limit, store as shown, correct what depends on the value, report changes.

#include "model/Rules.h"

#include "model/RulesDetail.h"

#include <utility>

namespace torvex {

using namespace rules_detail;

VALUE_STRUCT* ValueOfKind(CSettingData& cond, VALUE_KIND eKind) {
    return const_cast<VALUE_STRUCT*>(ValueOfKind(std::as_const(cond), eKind));
}

const VALUE_STRUCT* ValueOfKind(const CSettingData& cond, VALUE_KIND eKind) {
    switch (eKind) {
    case KIND_VOLT:
        return &cond.m_valVolt;
    case KIND_FREQ:
        return &cond.m_valFreq;
    case KIND_ANGLE:
        // The editors edit the angle of the CDN port, the only one synchronised.
        return &cond.m_outOutput.m_aopOutputPort[PORT_CDN].m_valAngle;
    default:
        return nullptr;
    }
}

int FormatIndexOf(VALUE_KIND eKind) {
    switch (eKind) {
    case KIND_VOLT:
        return VF_VOLT;
    case KIND_FREQ:
        return VF_FREQ;
    case KIND_ANGLE:
        return VF_ANGLE;
    default:
        return -1;
    }
}

namespace {

int32_t* FieldOf(VALUE_STRUCT& vs, int32_t nField) {
    switch (nField) {
    case FIELD_FIXED:
        return &vs.m_lValue;
    case FIELD_START:
        return &vs.m_lStart;
    case FIELD_END:
        return &vs.m_lEnd;
    case FIELD_STEP:
        return &vs.m_lStep;
    default:
        if (nField >= FIELD_ROW0 && nField < FIELD_COUNT) return &vs.m_alValue[nField - FIELD_ROW0];
        return nullptr;
    }
}

bool IsRow(int32_t nField) {
    return nField >= FIELD_ROW0 && nField < FIELD_COUNT;
}

// Upper edge of a frequency band and the band a value falls in, boundaries
// belonging to the lower band.
int32_t BandTop(int32_t nBand) {
    static const int32_t kTop[5] = {1000, 10000, 100000, 1000000, 2000000};
    return kTop[std::clamp(nBand, 1, 5) - 1];
}

int32_t BandOf(int32_t lFreq) {
    return FreqRangeBand(lFreq, lFreq);
}

// Entering one bound of a frequency sweep keeps the range inside one band: when
// the value leaves the present band, the other bound and STEP follow it.
void EnterFreqBound(VALUE_STRUCT& nv, int32_t nField, int32_t c, int32_t lHigh) {
    int32_t& lBound = nField == FIELD_START ? nv.m_lStart : nv.m_lEnd;
    int32_t& lOther = nField == FIELD_START ? nv.m_lEnd : nv.m_lStart;
    const int32_t nBand = FreqRangeBand(nv.m_lStart, nv.m_lEnd);
    const int32_t nCol = BandOf(c);
    if (nCol > nBand) {
        // Moving up one band keeps the other bound on the shared boundary.
        if (!(nCol == nBand + 1 && lOther == BandTop(nBand))) lOther = BandTop(nCol);
        nv.m_lStep = FreqBandStepOf(nCol);
    } else if (nCol < nBand && !(nCol == nBand - 1 && c == BandTop(nCol))) {
        lOther = BandTop(nCol);
        nv.m_lStep = FreqBandStepOf(nCol);
    }
    lOther = Limit(lOther, FREQ_MIN, lHigh);
    lBound = c;
}

// Pulse count and burst duration after a frequency change, stored where they
// differ.
uint32_t CorrectBurst(CSettingData& cond, int32_t lLowest, int32_t lFirst) {
    int32_t lPulses = cond.m_lPalseCount;
    const int32_t lDura =
        CorrectPulseCount(lLowest, lFirst, cond.m_lBurstPeriod, cond.m_bAlternative != 0, lPulses);
    uint32_t uChanged = 0;
    if (lPulses != cond.m_lPalseCount) {
        cond.m_lPalseCount = lPulses;
        uChanged |= CHANGED_PULSE_COUNT;
    }
    if (lDura != cond.m_lBurstDura) {
        cond.m_lBurstDura = lDura;
        uChanged |= CHANGED_BURST_DURA;
    }
    return uChanged;
}

// The frequencies the correction uses after a change on a page: the page's
// own values, whatever type the structure holds.
void PageFrequencies(const VALUE_STRUCT& vs, int32_t nField, int32_t& lLowest, int32_t& lFirst) {
    const int32_t nType = nField == FIELD_FIXED ? VALUE_FIXED : IsRow(nField) ? VALUE_VARIABLE : VALUE_SWEEP;
    lLowest = BoundOf(vs, nType, LOWEST);
    lFirst = BoundOf(vs, nType, FIRST);
}

uint32_t Store(CSettingData& cond, VALUE_KIND eKind, int32_t nField, int32_t lValue, bool bForce,
               bool bCorrect) {
    VALUE_STRUCT* pvs = ValueOfKind(cond, eKind);
    if (!pvs || !FieldOf(*pvs, nField)) return 0;
    const VALUE_FORMAT& fmt = cond.m_aValueFormat[FormatIndexOf(eKind)];
    VALUE_STRUCT nv = *pvs;
    int32_t& lField = *FieldOf(nv, nField);
    const bool bCont = cond.m_bContinuous != 0;
    int32_t v = lValue;

    if (eKind == KIND_FREQ) {
        const int32_t lHigh = bCont ? ContinuousFrequencyLimit(HighestVoltage(cond)) : FREQ_MAX;
        if (nField == FIELD_STEP) {
            const int32_t nBand = FreqRangeBand(nv.m_lStart, nv.m_lEnd);
            lField = Limit(v, FreqSweepStepMin(nBand), FreqSweepStepMax(nBand));
        } else if (nField == FIELD_START || nField == FIELD_END) {
            EnterFreqBound(nv, nField, Limit(v, FREQ_MIN, lHigh), lHigh);
            nv.m_lStart = ShownValue(eKind, nv.m_lStart, fmt);
            nv.m_lEnd = ShownValue(eKind, nv.m_lEnd, fmt);
        } else {
            lField = Limit(v, FREQ_MIN, lHigh);
        }
    } else {
        const bool bVolt = eKind == KIND_VOLT;
        const int32_t lMin = bVolt ? VOLT_MIN : ANGLE_MIN;
        const int32_t lMax = bVolt ? VOLT_MAX : ANGLE_MAX;
        const int32_t lHigh = (bVolt && bCont) ? ContinuousVoltageLimit(HighestFrequency(cond)) : lMax;
        switch (nField) {
        case FIELD_START: // never above STOP; a STOP out of range must not drag START along
            lField = Limit(std::min(v, nv.m_lEnd), lMin, lMax);
            break;
        case FIELD_END: // never below START
            lField = std::max(Limit(v, lMin, lHigh), nv.m_lStart);
            break;
        case FIELD_STEP:
            lField = bVolt ? Limit(v, VOLT_STEP_MIN, VOLT_STEP_MAX) : Limit(v, ANGLE_STEP_MIN, ANGLE_MAX);
            break;
        default:
            lField = Limit(v, lMin, lHigh);
            break;
        }
    }
    // The record holds exactly what the box will show.
    lField = ShownValue(eKind, lField, fmt);

    const bool bChanged = !(nv == *pvs);
    if (!bChanged && !bForce) return 0;
    *pvs = nv;
    uint32_t uChanged = bChanged ? uint32_t(CHANGED_VALUE) : 0u;
    if (eKind == KIND_FREQ && nField != FIELD_STEP && bCorrect) {
        int32_t lLowest = 0, lFirst = 0;
        PageFrequencies(*pvs, nField, lLowest, lFirst);
        uChanged |= CorrectBurst(cond, lLowest, lFirst);
    }
    return uChanged;
}

} // namespace

int32_t FieldValue(const CSettingData& cond, VALUE_KIND eKind, int32_t nField) {
    const VALUE_STRUCT* pvs = ValueOfKind(cond, eKind);
    if (!pvs) return 0;
    VALUE_STRUCT vs = *pvs;
    const int32_t* p = FieldOf(vs, nField);
    return p ? *p : 0;
}

QString FieldText(const CSettingData& cond, VALUE_KIND eKind, int32_t nField) {
    const VALUE_STRUCT* pvs = ValueOfKind(cond, eKind);
    VALUE_STRUCT vs;
    if (!pvs || !FieldOf(vs, nField)) return QString();
    return FormatValue(eKind, FieldValue(cond, eKind, nField), cond.m_aValueFormat[FormatIndexOf(eKind)]);
}

uint32_t StoreValue(CSettingData& cond, VALUE_KIND eKind, int32_t nField, int32_t lValue, bool bForce) {
    return Store(cond, eKind, nField, lValue, bForce, true);
}

uint32_t EnterText(CSettingData& cond, VALUE_KIND eKind, int32_t nField, const QString& strText,
                   bool bForce) {
    if (FormatIndexOf(eKind) < 0) return 0;
    const int32_t lParsed = ParseValue(strText, cond.m_aValueFormat[FormatIndexOf(eKind)]);
    return StoreValue(cond, eKind, nField, RoundTypedValue(cond, eKind, nField, lParsed), bForce);
}

uint32_t SpinText(CSettingData& cond, VALUE_KIND eKind, int32_t nField, const QString& strBoxText, bool bUp,
                  bool bCtrl) {
    const VALUE_STRUCT* pvs = ValueOfKind(cond, eKind);
    if (!pvs) return 0;
    const int32_t lBox = ParseValue(strBoxText, cond.m_aValueFormat[FormatIndexOf(eKind)]);
    int32_t lValue = 0;
    if (eKind == KIND_FREQ && nField == FIELD_STEP) {
        const int64_t lStep = FreqSweepStepSpin(pvs->m_lStart, pvs->m_lEnd, bCtrl);
        lValue = Sat32(bUp ? lBox + lStep : lBox - lStep);
    } else {
        lValue = SpunValue(FormatIndexOf(eKind), lBox, bUp, bCtrl, false);
    }
    return StoreValue(cond, eKind, nField, lValue, false);
}

uint32_t SetValueUse(CSettingData& cond, VALUE_KIND eKind, int32_t nRow, bool bUse) {
    VALUE_STRUCT* pvs = ValueOfKind(cond, eKind);
    if (!pvs || nRow < 0 || nRow >= 5) return 0;
    const VALUE_STRUCT old = *pvs;
    pvs->m_abUse[nRow] = bUse ? 1 : 0;
    if (!AnyUsed(*pvs)) pvs->m_abUse[nRow] = 1; // one value always stays in use
    const uint32_t uChanged = old == *pvs ? 0u : uint32_t(CHANGED_VALUE);
    return uChanged | StoreValue(cond, eKind, FIELD_ROW0 + nRow, pvs->m_alValue[nRow], true);
}

uint32_t ChangeValueType(CSettingData& cond, VALUE_KIND eKind, int32_t nType) {
    VALUE_STRUCT* pvs = ValueOfKind(cond, eKind);
    if (!pvs || !IsValidType(nType)) return 0;
    const VALUE_STRUCT old = *pvs;
    pvs->m_nValueType = nType;
    if (nType == VALUE_VARIABLE && !AnyUsed(*pvs)) pvs->m_abUse[0] = 1;

    // Every value of the page again, as if typed into its box. The pulse count
    // is corrected once at the end: correcting after each value would judge it
    // against values not yet repaired.
    int32_t aFields[5] = {FIELD_FIXED};
    int nFields = 1;
    if (nType == VALUE_SWEEP) {
        aFields[0] = FIELD_START;
        aFields[1] = FIELD_END;
        aFields[2] = FIELD_STEP;
        nFields = 3;
    } else if (nType == VALUE_VARIABLE) {
        for (int i = 0; i < 5; ++i)
            aFields[i] = FIELD_ROW0 + i;
        nFields = 5;
    }
    const VALUE_FORMAT& fmt = cond.m_aValueFormat[FormatIndexOf(eKind)];
    uint32_t uChanged = 0;
    for (int i = 0; i < nFields; ++i) {
        const int32_t lParsed = ParseValue(FieldText(cond, eKind, aFields[i]), fmt);
        uChanged |=
            Store(cond, eKind, aFields[i], RoundTypedValue(cond, eKind, aFields[i], lParsed), true, false);
    }
    uChanged = old == *pvs ? (uChanged & ~CHANGED_VALUE) : (uChanged | CHANGED_VALUE);
    if (eKind == KIND_FREQ) {
        int32_t lLowest = 0, lFirst = 0;
        PageFrequencies(*pvs, aFields[0], lLowest, lFirst);
        uChanged |= CorrectBurst(cond, lLowest, lFirst);
    }
    return uChanged;
}

// ---- Burst parameters ----------------------------------------------------------

namespace {

bool IsBurstParam(int nParam) {
    return nParam == VF_BURST_PERIOD || nParam == VF_PULSE_COUNT || nParam == VF_BURST_DURA;
}

int32_t BurstField(const CSettingData& cond, int nParam) {
    switch (nParam) {
    case VF_BURST_PERIOD:
        return cond.m_lBurstPeriod;
    case VF_PULSE_COUNT:
        return cond.m_lPalseCount;
    default:
        return cond.m_lBurstDura;
    }
}

} // namespace

uint32_t StoreBurstValue(CSettingData& cond, int nParam, int32_t lValue, bool bTyped) {
    if (!IsBurstParam(nParam)) return 0;
    const bool bAlt = cond.m_bAlternative != 0;
    const int32_t lLowest = LowestFrequency(cond);
    const int32_t lFirst = FirstFrequency(cond);
    int32_t lPeriod = cond.m_lBurstPeriod;
    int32_t lPulses = cond.m_lPalseCount;
    int32_t lDura = cond.m_lBurstDura;
    switch (nParam) {
    case VF_BURST_PERIOD:
        lPeriod = Limit(bTyped ? TruncTo(lValue, 10) : lValue, PERIOD_MIN, PERIOD_MAX);
        if (bAlt && lPeriod < PERIOD_ALT_MIN) lPeriod = PERIOD_ALT_MIN; // alternation needs its rest
        lDura = CorrectPulseCount(lLowest, lFirst, lPeriod, bAlt, lPulses);
        break;
    case VF_PULSE_COUNT:
        lPulses = Limit(lValue, PULSE_MIN, PULSE_MAX);
        lDura = CorrectPulseCount(lLowest, lFirst, lPeriod, bAlt, lPulses);
        break;
    default:
        lDura = Limit(lValue, DURA_MIN, DURA_MAX);
        lPulses =
            PulsesFromDuration(lLowest, lFirst, lPeriod, bAlt, cond.m_lPalseCount, cond.m_lBurstDura, lDura);
        break;
    }
    // The edited box is shown from the record, and the record holds what it shows.
    const VALUE_FORMAT& fmt = cond.m_aValueFormat[nParam];
    int32_t& lEdited = nParam == VF_BURST_PERIOD ? lPeriod : nParam == VF_PULSE_COUNT ? lPulses : lDura;
    lEdited = ParseValue(FormatValue(lEdited, fmt), fmt);

    uint32_t uChanged = 0;
    if (lPeriod != cond.m_lBurstPeriod) uChanged |= CHANGED_BURST_PERIOD;
    if (lPulses != cond.m_lPalseCount) uChanged |= CHANGED_PULSE_COUNT;
    if (lDura != cond.m_lBurstDura) uChanged |= CHANGED_BURST_DURA;
    cond.m_lBurstPeriod = lPeriod;
    cond.m_lPalseCount = lPulses;
    cond.m_lBurstDura = lDura;
    return uChanged;
}

uint32_t EnterBurstText(CSettingData& cond, int nParam, const QString& strText) {
    if (!IsBurstParam(nParam)) return 0;
    return StoreBurstValue(cond, nParam, ParseValue(strText, cond.m_aValueFormat[nParam]), true);
}

uint32_t SpinBurstText(CSettingData& cond, int nParam, const QString& strBoxText, bool bUp, bool bCtrl,
                       bool bShift) {
    if (!IsBurstParam(nParam)) return 0;
    const int32_t lBox = ParseValue(strBoxText, cond.m_aValueFormat[nParam]);
    return StoreBurstValue(cond, nParam, SpunValue(nParam, lBox, bUp, bCtrl, bShift), false);
}

QString BurstText(const CSettingData& cond, int nParam) {
    if (!IsBurstParam(nParam)) return QString();
    return FormatValue(BurstField(cond, nParam), cond.m_aValueFormat[nParam]);
}

// ---- Test time ---------------------------------------------------------------

uint32_t StoreTestTime(CSettingData& cond, int32_t lHours, int32_t lMinutes, int32_t lSeconds) {
    const int32_t lTime =
        NormalizeTestTime(lHours, lMinutes, lSeconds, cond.m_bAlternative != 0, cond.m_bContinuous != 0);
    if (lTime == cond.m_lTestTime) return 0;
    cond.m_lTestTime = lTime;
    return CHANGED_TEST_TIME;
}

} // namespace torvex
