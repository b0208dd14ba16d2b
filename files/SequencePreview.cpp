#include "files/SequencePreview.h"

#include "model/Rules.h"

#include <QCoreApplication>
#include <QStringList>

namespace torvex {

namespace {

const QString kNone = QStringLiteral("-----");

} // namespace

SEQUENCE_PREVIEW MakeSequencePreview(const CSettingData* pEntry) {
    SEQUENCE_PREVIEW p;
    if (!pEntry) return p;
    const CSettingData& c = *pEntry;
    p.m_bEmpty = false;
    p.m_strName = ShownTestName(c.m_strTestName);
    p.m_strPolarity = c.m_ulPola == 1   ? QStringLiteral("+")
                      : c.m_ulPola == 2 ? QStringLiteral("-")
                                        : QStringLiteral("+ ⇒ -");

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

    p.m_abFunction[0] = c.m_bAlternative != 0;
    p.m_abFunction[1] = c.m_bContinuous != 0;
    p.m_abFunction[2] = c.m_bModulated != 0;
    p.m_abFunction[3] = c.m_bTrigger != 0;
    return p;
}

QStringList FunctionCaptions() {
    return {QCoreApplication::translate("SequencePreview", "極性反転"),
            QCoreApplication::translate("SequencePreview", "パルス連続出力"),
            QCoreApplication::translate("SequencePreview", "周波数変調"),
            QCoreApplication::translate("SequencePreview", "外部トリガ入力")};
}

} // namespace torvex
