#pragma once

#include "model/SettingData.h"

#include <QString>

namespace torvex {

// What the sequence preview shows of one entry besides its value and coupling
// editors, as texts and marks, so the screen only copies it. A default-made
// one is the empty state.
struct SEQUENCE_PREVIEW {
    bool m_bEmpty = true;
    QString m_strName;
    QString m_strPolarity; // "+", "-" or "+ ⇒ -"
    QString m_strHour, m_strMin, m_strSec;
    QString m_strBurstPeriod, m_strPulseCount, m_strBurstDura; // "-----" under continuous output
    int32_t m_nOutputPort = -1;                                // radio marks; −1: none marked
    int32_t m_nSync = -1;                                      // 1 同期, 0 非同期
    int32_t m_nOutputDetail = -1;                              // 0 単相, 1 三相
    bool m_bShowAngle = false; // the phase angle only under line synchronisation
    bool m_bShowCdn = false;   // synchronisation and coupling apply to CDN OUT only
    bool m_abFunction[4] = {false, false, false,
                            false}; // 極性反転, パルス連続出力, 周波数変調, 外部トリガ入力
};

// The preview of an entry; null gives the empty state.
SEQUENCE_PREVIEW MakeSequencePreview(const CSettingData* pEntry);

// Captions of the four special functions, in the order of m_abFunction.
QStringList FunctionCaptions();

} // namespace torvex
