#include "model/Tooltips.h"

#include <QCoreApplication>

namespace torvex {

namespace {

const char* const kCtrlLine =
    QT_TRANSLATE_NOOP("Tooltips", "\nCTRLキーを押すことで上の位の値を増減できます。");
const char* const kShiftLine =
    QT_TRANSLATE_NOOP("Tooltips", "\nSHIFTキーを押すことで2つ上の位の値を増減できます。");
const char* const kStartStop = QT_TRANSLATE_NOOP("Tooltips", "START ≦ STOPに制限されます。\n");
const char* const kNotWithContinuous = QT_TRANSLATE_NOOP("Tooltips", "パルス連続出力時は設定できません。");

const char* const kVolt = QT_TRANSLATE_NOOP("Tooltips", "最小値：200V\n最大値：5000V\nステップ：10V");
const char* const kVoltContinuous = QT_TRANSLATE_NOOP(
    "Tooltips",
    "パルス連続出力ONにより周波数によって最大値が異なります。\n最小値：200v\n最大値：1000V(周波数10kHz以下時)"
    "\n"
    "            2000V(周波数4kHz以下時)\n            5000V(周波数1kHz以下時)\nステップ：10v");
const char* const kVoltSweepContinuous = QT_TRANSLATE_NOOP(
    "Tooltips",
    "パルス連続出力ONにより周波数によって最大値が異なります。\n最小値：200V\n最大値：1000V(周波数10kHz以下時)"
    "\n"
    "            2000V(周波数4kHz以下時)\n            5000V(周波数1kHz以下時)\nステップ：10V");
const char* const kFreq = QT_TRANSLATE_NOOP(
    "Tooltips", "最小値：0.1kHz\n最大値：2000kHz\nステップ：0.01kHz(0.1kHz～1.0kHz時)\n"
                "               0.1kHz(1.0kHz～10kHz時)\n               1kHz(10kHz～100kHz時)\n"
                "               10kHz(100kHz～1000kHz時)\n               100kHz(1000kHz～2000kHz時)");
const char* const kFreqCorrects =
    QT_TRANSLATE_NOOP("Tooltips", "\n変更によりパルス数やバースト期間が自動修正される場合があります。");
const char* const kFreqContinuous = QT_TRANSLATE_NOOP(
    "Tooltips",
    "パルス連続出力ONにより電圧によって最大値が異なります。\n最小値：0.1kHz\n最大値：10kHz(電圧200V～1000V時)"
    "\n"
    "            4kHz(電圧1010V～2000V時)\n            1kHz(電圧2010V～5000V時)\n"
    "ステップ：0.01kHz(0.1kHz～1.0kHz時)\n               0.1kHz(1.0kHz～10kHz時)");
const char* const kAngle = QT_TRANSLATE_NOOP("Tooltips", "最小値：0°\n最大値：360°\nステップ：1°");
const char* const kVoltStep = QT_TRANSLATE_NOOP("Tooltips", "最小値：10V\n最大値：5000V\nステップ：10V");
const char* const kFreqStep = QT_TRANSLATE_NOOP(
    "Tooltips", "周波数範囲0.1kHz～1.00kHz時：\n最小値：0.01kHz 最大値：0.9kHz ステップ：0.01kHz\n"
                "周波数範囲1.0kHz～10.0kHz時：\n最小値：0.1kHz 最大値：9kHz ステップ：0.1kHz\n"
                "周波数範囲10kHz～100kHz時：\n最小値：1kHz 最大値：90kHz ステップ：1kHz\n"
                "周波数範囲100kHz～1000kHz時：\n最小値：10kHz 最大値：900kHz ステップ：10kHz\n"
                "周波数範囲1000kHz～2000kHz時：\n最小値：100kHz 最大値：1000kHz ステップ：100kHz");
const char* const kAngleStep = QT_TRANSLATE_NOOP("Tooltips", "最小値：1°\n最大値：360°\nステップ：1°");

QString U(const char* psz) {
    return QCoreApplication::translate("Tooltips", psz);
}

QString DurationText(const CSettingData& cond, int32_t lMicroseconds) {
    return FormatValue(lMicroseconds, cond.m_aValueFormat[VF_BURST_DURA]);
}

} // namespace

QString SpinTooltip(const QString& strBoxTip) {
    return strBoxTip + U(kCtrlLine);
}

QString ValueBoxTooltip(VALUE_KIND eKind, int32_t nField, bool bContinuous) {
    if (nField < FIELD_FIXED || nField >= FIELD_COUNT) return QString();
    const bool bBound = nField == FIELD_START || nField == FIELD_END;
    switch (eKind) {
    case KIND_VOLT:
        if (nField == FIELD_STEP) return U(kVoltStep);
        if (bBound) return U(kStartStop) + U(bContinuous ? kVoltSweepContinuous : kVolt);
        return U(bContinuous ? kVoltContinuous : kVolt);
    case KIND_FREQ:
        if (nField == FIELD_STEP) return U(kFreqStep);
        if (bContinuous) return U(kFreqContinuous);
        return bBound ? U(kFreq) : U(kFreq) + U(kFreqCorrects);
    case KIND_ANGLE:
        if (nField == FIELD_STEP) return U(kAngleStep);
        return bBound ? U(kStartStop) + U(kAngle) : U(kAngle);
    }
    return QString();
}

QString ManualBoxTooltip(const CSettingData& cond, MANUAL_TIP_BOX eBox) {
    const bool bAlt = cond.m_bAlternative != 0;
    const bool bCont = cond.m_bContinuous != 0;
    const int32_t lLowest = LowestFrequency(cond);
    const int32_t lFirst = FirstFrequency(cond);
    switch (eBox) {
    case TIP_TEST_TIME:
        if (bAlt) return QCoreApplication::translate("Tooltips", "最短：1秒\n最長：10分(極性反転ONにより)");
        if (bCont)
            return QCoreApplication::translate("Tooltips", "最短：1秒\n最長：10分(パルス連続出力ONにより)");
        return QCoreApplication::translate("Tooltips", "最短：1秒\n最長：9時間59分59秒");
    case TIP_BURST_PERIOD:
        // The step is 10 ms with alternation as without.
        if (bAlt)
            return QCoreApplication::translate(
                "Tooltips", "最小値：500ms(極性反転ONにより)\n最大値：1000ms\nステップ：10ms\n"
                            "変更によりパルス数やバースト期間が自動修正される場合があります。");
        if (bCont) return U(kNotWithContinuous);
        return QCoreApplication::translate(
            "Tooltips", "最小値：10ms\n最大値：1000ms\nステップ：10ms\n"
                        "変更によりパルス数やバースト期間が自動修正される場合があります。");
    case TIP_PULSE_COUNT: {
        const QString strMax = QString::number(MaxPulseCount(lLowest, cond.m_lBurstPeriod, bAlt));
        if (bAlt)
            return QCoreApplication::translate("Tooltips", "極性反転ONにより\n最大値は周波数・バースト周期・"
                                                           "バースト休止期間により制限されます。\n"
                                                           "最小値：1\n最大値：") +
                   strMax +
                   QCoreApplication::translate("Tooltips",
                                               "\nステップ：1\n変更によりバースト期間が自動修正されます。");
        if (bCont) return U(kNotWithContinuous);
        return QCoreApplication::translate(
                   "Tooltips", "最大値は周波数・バースト周期により制限されます。\n最小値：1\n最大値：") +
               strMax +
               QCoreApplication::translate("Tooltips",
                                           "\nステップ：1\n変更によりバースト期間が自動修正されます。");
    }
    case TIP_BURST_DURA: {
        const QString strMin = DurationText(cond, MinBurstDuration(lFirst));
        const QString strMax =
            DurationText(cond, MaxBurstDuration(lLowest, lFirst, cond.m_lBurstPeriod, bAlt));
        const QString strTail = QCoreApplication::translate(
            "Tooltips", "\nステップ：0.01\n変更によりパルス数が自動変更される場合があります。");
        if (bAlt)
            return QCoreApplication::translate(
                       "Tooltips",
                       "最小値は周波数により制限されます。\n極性反転ONにより\n"
                       "最大値は周波数・バースト周期・バースト休止期間により制限されます。\n最小値：") +
                   strMin + QCoreApplication::translate("Tooltips", "\n最大値：") + strMax + strTail;
        if (bCont) return U(kNotWithContinuous);
        return QCoreApplication::translate("Tooltips", "最小値は周波数により制限されます。\n最大値は周波数・"
                                                       "バースト周期により制限されます。\n最小"
                                                       "値：") +
               strMin + QCoreApplication::translate("Tooltips", "\n最大値：") + strMax + strTail;
    }
    }
    return QString();
}

QString ManualSpinTooltip(const CSettingData& cond, MANUAL_TIP_BOX eBox) {
    const QString strBox = ManualBoxTooltip(cond, eBox);
    const bool bBurst = eBox != TIP_TEST_TIME;
    if (bBurst && cond.m_bContinuous && !cond.m_bAlternative) return strBox;
    if (eBox == TIP_BURST_DURA) return strBox + U(kCtrlLine) + U(kShiftLine);
    return SpinTooltip(strBox);
}

QString FunctionTooltip(SPECIAL_FUNCTION eFunc) {
    switch (eFunc) {
    case FUNC_ALTERNATION:
        return QCoreApplication::translate(
            "Tooltips",
            "下記の条件を満たす場合に設定できます。\nバースト周期：500ms以上\nバースト休止期間：100ms以上\n"
            "試験時間：10分以下\nパルス連続出力：OFF");
    case FUNC_CONTINUOUS:
        return QCoreApplication::translate(
            "Tooltips", "下記の条件を満たす場合に設定できます。\n電圧200V～1000V時、周波数10kHz以下\n"
                        "電圧1010V～2000V時、周波数4kHz以下\n電圧2010V～5000V時、周波数1kHz以下\n"
                        "試験時間：10分以下\n極性反転：OFF\n外部トリガ：OFF");
    case FUNC_MODULATION:
        return QCoreApplication::translate("Tooltips", "設定条件に制限はありません。");
    case FUNC_TRIGGER:
        return QCoreApplication::translate("Tooltips",
                                           "下記の条件を満たす場合に設定できます。\nパルス連続出力：OFF");
    }
    return QString();
}

} // namespace torvex
