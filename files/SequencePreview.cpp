#include "files/SequencePreview.h"

#include "model/Rules.h"

#include <QStringList>

namespace {

const QString kNone = QStringLiteral("-----");

PREVIEW_VALUE ValueTexts(const CSettingData& c, VALUE_KIND eKind) {
    PREVIEW_VALUE v;
    const VALUE_STRUCT* vs = ValueOfKind(c, eKind);
    if (!vs) return v;
    v.m_strUnit = c.m_aValueFormat[FormatIndexOf(eKind)].m_strUnit;
    v.m_nValueType = vs->m_nValueType;
    v.m_astrText.fill(QString());
    switch (vs->m_nValueType) {
    case VALUE_SWEEP:
        for (int f = FIELD_START; f <= FIELD_STEP; ++f)
            v.m_astrText[size_t(f - FIELD_START)] = FieldText(c, eKind, f);
        break;
    case VALUE_VARIABLE:
        for (int r = 0; r < 5; ++r) {
            v.m_astrText[size_t(r)] = FieldText(c, eKind, FIELD_ROW0 + r);
            v.m_abUse[size_t(r)] = vs->m_abUse[r] != 0;
        }
        break;
    default:
        // A type the file should not hold shows as a fixed value.
        v.m_nValueType = VALUE_FIXED;
        v.m_astrText[0] = FieldText(c, eKind, FIELD_FIXED);
        v.m_astrText[1] = kNone;
        v.m_astrText[2] = kNone;
        break;
    }
    return v;
}

} // namespace

SEQUENCE_PREVIEW MakeSequencePreview(const CSettingData* pEntry) {
    SEQUENCE_PREVIEW p;
    if (!pEntry) {
        // Display mode with no condition: the fixed page with "-----" first.
        for (PREVIEW_VALUE* v : {&p.m_volt, &p.m_freq, &p.m_angle})
            v->m_astrText[0] = kNone;
        return p;
    }
    const CSettingData& c = *pEntry;
    p.m_bEmpty = false;
    p.m_strName = c.m_strTestName;
    p.m_strPolarity = c.m_ulPola == 1   ? QStringLiteral("+")
                      : c.m_ulPola == 2 ? QStringLiteral("-")
                                        : QStringLiteral("+ ⇒ -");
    p.m_volt = ValueTexts(c, KIND_VOLT);
    p.m_freq = ValueTexts(c, KIND_FREQ);
    p.m_angle = ValueTexts(c, KIND_ANGLE);

    int32_t h = 0, m = 0, s = 0;
    SplitTestTime(c.m_lTestTime, h, m, s);
    p.m_strHour = FormatValue(h, c.m_aValueFormat[VF_TIME_HOUR]);
    p.m_strMin = FormatValue(m, c.m_aValueFormat[VF_TIME_MIN]);
    p.m_strSec = FormatValue(s, c.m_aValueFormat[VF_TIME_SEC]);
    if (c.m_bContinuous) {
        p.m_strBurstPeriod = p.m_strPulseCount = p.m_strBurstDura = kNone;
    } else {
        p.m_strBurstPeriod = BurstText(c, VF_BURST_PERIOD);
        p.m_strPulseCount = BurstText(c, VF_PULSE_COUNT);
        p.m_strBurstDura = BurstText(c, VF_BURST_DURA);
    }

    const OUTPUT_STRUCT& out = c.m_outOutput;
    p.m_nOutputPort = out.m_nOutputPort == PORT_PULSE_OUT ? PORT_PULSE_OUT : PORT_CDN;
    p.m_bShowCdn = p.m_nOutputPort == PORT_CDN;
    const OUTPUT_PORT_STRUCT& first = out.m_aopOutputPort[0];
    p.m_nSync = first.m_nSync ? 1 : 0;
    p.m_bShowAngle = p.m_bShowCdn && p.m_nSync == 1;
    const OUTPUT_PORT_STRUCT& port = c.CurrentPort();
    p.m_nOutputDetail = port.m_nOutputDetail == DETAIL_THREE ? DETAIL_THREE : DETAIL_SINGLE;
    // The coupling editor edits CDN OUT, port 0, in the detail of the selected port.
    p.m_uCouplingType = first.m_uCouplingType ? 1 : 0;
    p.m_uSweepType = first.m_uSweepType ? 1 : 0;
    const size_t d = first.m_nOutputDetail == DETAIL_THREE ? 1 : 0;
    p.m_ulLines = p.m_uCouplingType ? first.m_aulInjBitSweep[d] : first.m_aulInjBitFix[d];

    p.m_abFunction[0] = c.m_bAlternative != 0;
    p.m_abFunction[1] = c.m_bContinuous != 0;
    p.m_abFunction[2] = c.m_bModulated != 0;
    p.m_abFunction[3] = c.m_bTrigger != 0;
    return p;
}

QStringList CouplingLineCaptions(int32_t nOutputDetail) {
    if (nOutputDetail == DETAIL_THREE)
        return {QStringLiteral("L1"), QStringLiteral("L2"), QStringLiteral("L3"), QStringLiteral("N"),
                QStringLiteral("PE")};
    return {QStringLiteral("L"), QStringLiteral("N"), QStringLiteral("PE")};
}

QStringList FunctionCaptions() {
    return {QStringLiteral("極性反転"), QStringLiteral("パルス連続出力"), QStringLiteral("周波数変調"),
            QStringLiteral("外部トリガ入力")};
}
