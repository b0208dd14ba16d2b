#include "model/ExecData.h"

#include "model/CodeTable.h"

#include <QCoreApplication>
#include <algorithm>
#include <cstdio>
#include <map>
#include <utility>

namespace torvex {

void AppendUtf8(std::string& out, QStringView str) {
    // Most texts are ASCII: copied as they are.
    const qsizetype n = str.size();
    const char16_t* p = str.utf16();
    qsizetype i = 0;
    while (i < n && p[i] < 0x80)
        ++i;
    const size_t nAt = out.size();
    out.resize(nAt + size_t(i));
    for (qsizetype j = 0; j < i; ++j)
        out[nAt + size_t(j)] = char(p[j]);
    if (i < n) {
        const QByteArray rest = str.mid(i).toUtf8();
        out.append(rest.constData(), size_t(rest.size()));
    }
}

void AppendNumber(std::string& out, long lValue, int nMinDigits) {
    // As printf's "%.<nMinDigits>ld" writes it.
    char digits[24];
    unsigned long u =
        lValue < 0 ? 0UL - static_cast<unsigned long>(lValue) : static_cast<unsigned long>(lValue);
    int n = 0;
    do {
        digits[n++] = char('0' + u % 10);
        u /= 10;
    } while (u);
    if (lValue < 0) out += '-';
    for (int i = n; i < nMinDigits; ++i)
        out += '0';
    while (n)
        out += digits[--n];
}

void AppendFixed(std::string& out, double dValue, int nDecimals) {
    char text[64];
    const int n = std::snprintf(text, sizeof text, "%.*f", nDecimals, dValue);
    if (n > 0) out.append(text, size_t(std::min<int>(n, int(sizeof text) - 1)));
}

void AppendFrequencyText(std::string& out, int64_t lHz) {
    if (lHz >= 10000) return AppendNumber(out, int(lHz / 1000));
    if (lHz >= 1000) return AppendFixed(out, double(lHz) / 1000.0, 1);
    AppendFixed(out, double(lHz) / 1000.0, 2);
}

QString FrequencyText(int64_t lHz) {
    std::string text;
    AppendFrequencyText(text, lHz);
    return QString::fromLatin1(text.data(), qsizetype(text.size()));
}

QString CExecData::Caption(int nCol) {
    static const char* const captions[COL_COUNT] = {
        QT_TRANSLATE_NOOP("ExecData", "テストレベル"),  QT_TRANSLATE_NOOP("ExecData", "極性"),
        QT_TRANSLATE_NOOP("ExecData", "電圧[V]"),       QT_TRANSLATE_NOOP("ExecData", "周波数[kHz]"),
        QT_TRANSLATE_NOOP("ExecData", "ﾊﾟﾙｽ数[個]"),    QT_TRANSLATE_NOOP("ExecData", "ﾊﾞｰｽﾄ期間[ms]"),
        QT_TRANSLATE_NOOP("ExecData", "ﾊﾞｰｽﾄ周期[ms]"), QT_TRANSLATE_NOOP("ExecData", "試験時間"),
        QT_TRANSLATE_NOOP("ExecData", "試験時間"),      QT_TRANSLATE_NOOP("ExecData", "試験時間"),
        QT_TRANSLATE_NOOP("ExecData", "出力"),          QT_TRANSLATE_NOOP("ExecData", "出力詳細"),
        QT_TRANSLATE_NOOP("ExecData", "印加相"),        QT_TRANSLATE_NOOP("ExecData", "印加相スイープ"),
        QT_TRANSLATE_NOOP("ExecData", "ライン同期"),    QT_TRANSLATE_NOOP("ExecData", "位相角[°]"),
        QT_TRANSLATE_NOOP("ExecData", "判定"),          QT_TRANSLATE_NOOP("ExecData", "コメント"),
        QT_TRANSLATE_NOOP("ExecData", "極性反転"),      QT_TRANSLATE_NOOP("ExecData", "パルス連続出力"),
        QT_TRANSLATE_NOOP("ExecData", "周波数変調"),    QT_TRANSLATE_NOOP("ExecData", "外部トリガ入力"),
        QT_TRANSLATE_NOOP("ExecData", "試験名")};
    if (nCol < 1 || nCol > COL_COUNT) return {};
    return QCoreApplication::translate("ExecData", captions[nCol - 1]);
}

namespace {
// The UTF-8 text of a code, or of the line names of a mask, made once per table
// and value: step texts are written by the hundred thousand. Only the values a
// step can really hold are kept (a damaged file may hold any number).
void AppendCode(std::string& out, const CodeTable& table, int nCode) {
    if (nCode < 0 || nCode >= 64) return AppendUtf8(out, LookupCode(table, nCode));
    thread_local std::map<std::pair<const CodeTable*, int>, std::string> cache;
    const auto [it, bAdded] = cache.try_emplace({&table, nCode});
    if (bAdded) AppendUtf8(it->second, LookupCode(table, nCode));
    out += it->second;
}
void AppendLineNames(std::string& out, const CodeTable& table, uint32_t ulMask) {
    if (ulMask >= 256) return AppendUtf8(out, LineNames(table, ulMask));
    thread_local std::map<std::pair<const CodeTable*, uint32_t>, std::string> cache;
    const auto [it, bAdded] = cache.try_emplace({&table, ulMask});
    if (bAdded) AppendUtf8(it->second, LineNames(table, ulMask));
    out += it->second;
}
void AppendOnOff(std::string& out, int32_t b) {
    out += b ? "ON" : "OFF";
}
void AppendDashes(std::string& out) {
    out += "------";
}
} // namespace

void CExecData::AppendText(int nCol, std::string& out) {
    switch (nCol) {
    case COL_TEST_LEVEL:
        if (m_nTestLevel <= 3) AppendNumber(out, m_nTestLevel + 1);
        return;
    case COL_POLA:
        if (m_nPola >= 3) m_nPola = 1;
        return AppendCode(out, PolarityTable(), m_nPola);
    case COL_VOLT:
        return AppendNumber(out, m_lVolt);
    case COL_FREQ:
        return AppendFrequencyText(out, m_lFreq);
    case COL_PULSE_COUNT:
        return m_bContinuous ? AppendDashes(out) : AppendNumber(out, m_lPulseCount);
    case COL_BURST_DURA:
        return m_bContinuous ? AppendDashes(out) : AppendFixed(out, m_lBurstDura / 1000.0, 2);
    case COL_BURST_PERIOD:
        return m_bContinuous ? AppendDashes(out) : AppendNumber(out, m_lBurstPeriod);
    case COL_TIME_HOUR:
        return AppendNumber(out, long(m_lTestTime / 3600));
    case COL_TIME_MIN:
        return AppendNumber(out, long((m_lTestTime % 3600) / 60), 2);
    case COL_TIME_SEC:
        return AppendNumber(out, long(m_lTestTime % 60), 2);
    case COL_OUTPUT_PORT:
        if (m_nOutputPort >= 2) m_nOutputPort = 0;
        return AppendCode(out, OutputPortTable(), m_nOutputPort);
    case COL_OUTPUT_DETAIL: {
        const CodeTable* table = m_nOutputPort == 0   ? &OutputDetailCdnTable()
                                 : m_nOutputPort == 1 ? &OutputDetailPulseTable()
                                                      : nullptr;
        if (!table) return;
        if (m_nOutputDetail >= int32_t(table->size())) m_nOutputDetail = 0;
        return AppendCode(out, *table, m_nOutputDetail);
    }
    case COL_INJ_LINE: {
        const CodeTable* table = LineTable(m_nOutputPort, m_nOutputDetail);
        if (table) AppendLineNames(out, *table, m_ulInjLine);
        return;
    }
    case COL_INJ_SWEEP:
        return;
    case COL_SYNC:
        if (m_nOutputPort != 0) return;
        if (m_nSync >= 2) m_nSync = 0;
        return AppendCode(out, SyncTable(), m_nSync);
    case COL_ANGLE:
        return (m_nOutputPort == 0 && m_nSync == 1) ? AppendNumber(out, m_lAngle) : AppendDashes(out);
    case COL_JUDGE:
        if (m_nJudge >= 3) m_nJudge = 0;
        return AppendCode(out, JudgeTable(), m_nJudge);
    case COL_COMMENT:
        return AppendUtf8(out, m_strComment);
    case COL_ALTERNATIVE:
        return AppendOnOff(out, m_bAlternative);
    case COL_CONTINUOUS:
        return AppendOnOff(out, m_bContinuous);
    case COL_MODULATED:
        return AppendOnOff(out, m_bModulated);
    case COL_TRIGGER:
        return AppendOnOff(out, m_bTrigger);
    default:
        return;
    }
}

QString CExecData::GetText(int nCol) {
    if (nCol == COL_COMMENT) return m_strComment; // as typed, not through UTF-8
    std::string text;
    AppendText(nCol, text);
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

} // namespace torvex
