#include "model/ExecData.h"

#include "model/CodeTable.h"

QString FrequencyText(int64_t lHz) {
    if (lHz >= 10000) return QString::asprintf("%d", int(lHz / 1000));
    if (lHz >= 1000) return QString::asprintf("%.1f", double(lHz) / 1000.0);
    return QString::asprintf("%.2f", double(lHz) / 1000.0);
}

QString CExecData::Caption(int nCol) {
    static const char16_t* const captions[COL_COUNT] = {
        u"テストレベル",  u"極性",           u"電圧[V]",  u"周波数[kHz]",    u"ﾊﾟﾙｽ数[個]",
        u"ﾊﾞｰｽﾄ期間[ms]", u"ﾊﾞｰｽﾄ周期[ms]",  u"試験時間", u"試験時間",       u"試験時間",
        u"出力",          u"出力詳細",       u"印加相",   u"印加相スイープ", u"ライン同期",
        u"位相角[°]",     u"判定",           u"コメント", u"極性反転",       u"パルス連続出力",
        u"周波数変調",    u"外部トリガ入力", u"試験名"};
    if (nCol < 1 || nCol > COL_COUNT) return {};
    return QString::fromUtf16(captions[nCol - 1]);
}

namespace {
QString OnOff(int32_t b) {
    return b ? QStringLiteral("ON") : QStringLiteral("OFF");
}
const QString kDashes = QStringLiteral("------");
} // namespace

QString CExecData::GetText(int nCol) {
    switch (nCol) {
    case COL_TEST_LEVEL:
        return m_nTestLevel <= 3 ? QString::asprintf("%d", m_nTestLevel + 1) : QString();
    case COL_POLA:
        if (m_nPola >= 3) m_nPola = 1;
        return LookupCode(PolarityTable(), m_nPola);
    case COL_VOLT:
        return QString::asprintf("%d", m_lVolt);
    case COL_FREQ:
        return FrequencyText(m_lFreq);
    case COL_PULSE_COUNT:
        return m_bContinuous ? kDashes : QString::asprintf("%d", m_lPulseCount);
    case COL_BURST_DURA:
        return m_bContinuous ? kDashes : QString::asprintf("%.2f", m_lBurstDura / 1000.0);
    case COL_BURST_PERIOD:
        return m_bContinuous ? kDashes : QString::asprintf("%d", m_lBurstPeriod);
    case COL_TIME_HOUR:
        return QString::asprintf("%.1ld", long(m_lTestTime / 3600));
    case COL_TIME_MIN:
        return QString::asprintf("%.2ld", long((m_lTestTime % 3600) / 60));
    case COL_TIME_SEC:
        return QString::asprintf("%.2ld", long(m_lTestTime % 60));
    case COL_OUTPUT_PORT:
        if (m_nOutputPort >= 2) m_nOutputPort = 0;
        return LookupCode(OutputPortTable(), m_nOutputPort);
    case COL_OUTPUT_DETAIL: {
        const CodeTable* table = m_nOutputPort == 0   ? &OutputDetailCdnTable()
                                 : m_nOutputPort == 1 ? &OutputDetailPulseTable()
                                                      : nullptr;
        if (!table) return {};
        if (m_nOutputDetail >= int32_t(table->size())) m_nOutputDetail = 0;
        return LookupCode(*table, m_nOutputDetail);
    }
    case COL_INJ_LINE: {
        const CodeTable* table = LineTable(m_nOutputPort, m_nOutputDetail);
        return table ? LineNames(*table, m_ulInjLine) : QString();
    }
    case COL_INJ_SWEEP:
        return {};
    case COL_SYNC:
        if (m_nOutputPort != 0) return {};
        if (m_nSync >= 2) m_nSync = 0;
        return LookupCode(SyncTable(), m_nSync);
    case COL_ANGLE:
        return (m_nOutputPort == 0 && m_nSync == 1) ? QString::asprintf("%d", m_lAngle) : kDashes;
    case COL_JUDGE:
        if (m_nJudge >= 3) m_nJudge = 0;
        return LookupCode(JudgeTable(), m_nJudge);
    case COL_COMMENT:
        return m_strComment;
    case COL_ALTERNATIVE:
        return OnOff(m_bAlternative);
    case COL_CONTINUOUS:
        return OnOff(m_bContinuous);
    case COL_MODULATED:
        return OnOff(m_bModulated);
    case COL_TRIGGER:
        return OnOff(m_bTrigger);
    default:
        return {};
    }
}
