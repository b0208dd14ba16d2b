#include "model/CodeTable.h"
#include "model/SettingData.h"
#include "model/StepExpansion.h"

#include <QCoreApplication>
#include <QStringList>

namespace torvex {

namespace {

// The three forms of a value structure: the fixed value, "開始：…, 終了：…,
// 刻み：…", or the used values joined by ", ". An invalid type gives nothing.
template <class Fmt> QString StructureText(const VALUE_STRUCT& vs, Fmt fmt) {
    switch (vs.m_nValueType) {
    case VALUE_FIXED:
        return fmt(vs.m_lValue);
    case VALUE_SWEEP:
        return LookupCode(SweepLabelTable(), 0) + fmt(vs.m_lStart) + ", " + LookupCode(SweepLabelTable(), 1) +
               fmt(vs.m_lEnd) + ", " + LookupCode(SweepLabelTable(), 2) + fmt(vs.m_lStep);
    case VALUE_VARIABLE: {
        QStringList parts;
        for (int i = 0; i < 5; ++i)
            if (vs.m_abUse[i]) parts << fmt(vs.m_alValue[i]);
        return parts.join(", ");
    }
    default:
        return {};
    }
}

QString Decimal(int32_t v) {
    return QString::asprintf("%ld", long(v));
}
QString Freq(int32_t v) {
    return FrequencyText(v);
}

} // namespace

QString CSettingData::GetText(int nCol) const {
    const OUTPUT_PORT_STRUCT& port = CurrentPort();
    switch (nCol) {
    case COL_POLA:
        if ((m_ulPola & 3) == 3) return QStringLiteral("+/-");
        if (m_ulPola & 1) return QStringLiteral("+");
        if (m_ulPola & 2) return QStringLiteral("-");
        return {};
    case COL_VOLT:
        return StructureText(m_valVolt, Decimal);
    case COL_FREQ:
        return StructureText(m_valFreq, Freq);
    case COL_INJ_LINE: {
        if (m_outOutput.m_nOutputPort != PORT_CDN) return {};
        const int32_t d = port.m_nOutputDetail;
        const int di = (d >= 0 && d < 3) ? d : 0;
        const uint32_t mask = port.m_uCouplingType == 0 ? port.m_aulInjBitFix[di] : port.m_aulInjBitSweep[di];
        return LineNames(d == DETAIL_THREE ? LineCdnThreeTable() : LineCdnSingleTable(), mask);
    }
    case COL_INJ_SWEEP:
        if (m_outOutput.m_nOutputPort == PORT_PULSE_OUT) return QStringLiteral("------");
        if (m_outOutput.m_nOutputPort != PORT_CDN) return {};
        if (port.m_uCouplingType == 0) return QStringLiteral("OFF");
        return port.m_uSweepType == 0 ? QCoreApplication::translate("SettingDataText", "1相毎")
                                      : QCoreApplication::translate("SettingDataText", "全組合せ");
    case COL_ANGLE:
        if (port.m_nSync == 1) return StructureText(port.m_valAngle, Decimal);
        return QStringLiteral("------");
    default: {
        CExecData step = TemplateStep(*this);
        step.m_nTestLevel = m_nTestLevel;
        return step.GetText(nCol);
    }
    }
}

} // namespace torvex
