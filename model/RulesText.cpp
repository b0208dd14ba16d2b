// Text of the number boxes, rounding of typed values and spin steps.

#include "model/Rules.h"

#include "model/RulesDetail.h"

#include <cmath>
#include <cstdlib>

namespace torvex {

using namespace rules_detail;

FILTERED_TEXT FilterNumericText(const QString& strText, int32_t nSelStart, int32_t nSelEnd) {
    const int32_t n = int32_t(strText.size());
    const int32_t nStart = std::clamp(nSelStart, 0, n);
    const int32_t nCaret = std::clamp(nSelEnd, 0, n);
    // A point just typed (left of the caret) replaces an earlier one.
    const qsizetype nKeepPoint =
        (nCaret > 0 && strText[nCaret - 1] == u'.') ? nCaret - 1 : strText.indexOf(u'.');

    FILTERED_TEXT r;
    r.m_strText.reserve(n);
    for (int32_t i = 0; i < n; ++i) {
        if (i == nStart) r.m_nSelStart = int32_t(r.m_strText.size());
        if (i == nCaret) r.m_nSelEnd = int32_t(r.m_strText.size());
        const QChar c = strText[i];
        if ((c >= u'0' && c <= u'9') || i == nKeepPoint) r.m_strText.append(c);
    }
    if (nStart == n) r.m_nSelStart = int32_t(r.m_strText.size());
    if (nCaret == n) r.m_nSelEnd = int32_t(r.m_strText.size());
    r.m_bChanged = r.m_strText != strText;
    return r;
}

int32_t ParseValue(const QString& strText, const VALUE_FORMAT& fmt) {
    // The leading decimal number (blanks, sign, digits, point, exponent: what
    // C's strtod reads, without its hexadecimal and "inf" forms), scaled in
    // double precision and truncated toward zero: "2.01" in a kHz box reads
    // 2009 Hz (2.01 × 1000 is just below 2010), which the band step then makes
    // 2000 Hz.
    const QByteArray text = strText.toLatin1();
    const qsizetype n = text.size();
    auto digit = [&](qsizetype k) { return k < n && text[k] >= '0' && text[k] <= '9'; };
    qsizetype i = 0;
    while (i < n && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
        ++i;
    const qsizetype begin = i;
    if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
    bool bDigits = false;
    while (digit(i)) {
        ++i;
        bDigits = true;
    }
    if (i < n && text[i] == '.') {
        ++i;
        while (digit(i)) {
            ++i;
            bDigits = true;
        }
    }
    if (!bDigits) return 0;
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        qsizetype j = i + 1;
        if (j < n && (text[j] == '+' || text[j] == '-')) ++j;
        if (digit(j)) {
            while (digit(j))
                ++j;
            i = j;
        }
    }
    const double number = std::strtod(text.mid(begin, i - begin).constData(), nullptr);
    const int nScale = std::clamp(fmt.m_nScale, -9, 9);
    const double scaled = number * std::pow(10.0, nScale);
    if (std::isnan(scaled)) return 0;
    if (scaled >= double(INT32_MAX)) return INT32_MAX;
    if (scaled <= double(INT32_MIN)) return INT32_MIN;
    return int32_t(std::trunc(scaled));
}

QString FormatValue(int32_t lValue, const VALUE_FORMAT& fmt) {
    const int nScale = std::clamp(fmt.m_nScale, -9, 9);
    const int nDecimals = std::clamp(fmt.m_nDecimals, 0, 9);
    double p = 1.0;
    for (int k = 0; k < std::abs(nScale); ++k)
        p *= 10.0;
    // Dividing by the exact power keeps the quotient correctly rounded, so the
    // printing rounds only once.
    const double shown = nScale >= 0 ? double(lValue) / p : double(lValue) * p;
    return QString::asprintf("%.*f", nDecimals, shown);
}

int32_t FreqDecimals(int32_t lFreq) {
    if (lFreq < 1000) return 2;
    if (lFreq < 10000) return 1;
    return 0;
}

QString FormatValue(VALUE_KIND eKind, int32_t lValue, const VALUE_FORMAT& fmt) {
    if (eKind != KIND_FREQ) return FormatValue(lValue, fmt);
    VALUE_FORMAT f = fmt;
    f.m_nDecimals = FreqDecimals(lValue);
    return FormatValue(lValue, f);
}

int32_t ShownValue(VALUE_KIND eKind, int32_t lValue, const VALUE_FORMAT& fmt) {
    return ParseValue(FormatValue(eKind, lValue, fmt), fmt);
}

// ---- Frequency bands -----------------------------------------------------------

int32_t FreqBandStep(int32_t lFreq) {
    if (lFreq <= 999) return 10;
    if (lFreq <= 9999) return 100;
    if (lFreq <= 99999) return 1000;
    if (lFreq <= 999999) return 10000;
    return 100000;
}

int32_t FreqRangeBand(int32_t lStart, int32_t lEnd) {
    const int32_t lHigh = std::max(lStart, lEnd);
    if (lHigh <= 1000) return 1;
    if (lHigh <= 10000) return 2;
    if (lHigh <= 100000) return 3;
    if (lHigh <= 1000000) return 4;
    return 5;
}

int32_t FreqBandStepOf(int32_t nBand) {
    static const int32_t kStep[5] = {10, 100, 1000, 10000, 100000};
    return kStep[std::clamp(nBand, 1, 5) - 1];
}

int32_t FreqSweepStepMin(int32_t nBand) {
    return FreqBandStepOf(nBand);
}

int32_t FreqSweepStepMax(int32_t nBand) {
    static const int32_t kMax[5] = {900, 9000, 90000, 900000, 1000000};
    return kMax[std::clamp(nBand, 1, 5) - 1];
}

int32_t RoundTypedValue(const CSettingData& cond, VALUE_KIND eKind, int32_t nField, int32_t lValue) {
    switch (eKind) {
    case KIND_VOLT:
        return TruncTo(int64_t(lValue) + 5, 10);
    case KIND_FREQ:
        if (nField == FIELD_STEP) {
            const VALUE_STRUCT& vs = cond.m_valFreq;
            return TruncTo(lValue, FreqBandStepOf(FreqRangeBand(vs.m_lStart, vs.m_lEnd)));
        }
        return TruncTo(lValue, FreqBandStep(lValue));
    default:
        return lValue;
    }
}

// ---- Spin steps --------------------------------------------------------------

namespace {

int32_t FreqSpinStep(int32_t lValue, bool bUp) {
    // Boundary values belong to the band below when stepping down, so 1.0 kHz
    // goes down to 0.99 kHz and up to 1.1 kHz.
    if (bUp) return FreqBandStep(lValue);
    if (lValue <= 1000) return 10;
    if (lValue <= 10000) return 100;
    if (lValue <= 100000) return 1000;
    if (lValue <= 1000000) return 10000;
    return 100000;
}

} // namespace

int32_t SpinStep(int nParam, int32_t lBoxValue, bool bUp, bool bCtrl, bool bShift) {
    int32_t lStep = 0;
    switch (nParam) {
    case VF_VOLT:
    case VF_BURST_PERIOD:
        lStep = 10;
        break;
    case VF_FREQ:
        lStep = FreqSpinStep(lBoxValue, bUp);
        break;
    case VF_BURST_DURA:
        // The only box with SHIFT: two digits up; both keys three.
        return 10 * (bCtrl ? 10 : 1) * (bShift ? 100 : 1);
    case VF_PULSE_COUNT:
    case VF_ANGLE:
    case VF_TIME_HOUR:
    case VF_TIME_MIN:
    case VF_TIME_SEC:
        lStep = 1;
        break;
    default:
        return 0;
    }
    return bCtrl ? lStep * 10 : lStep;
}

int32_t SpunValue(int nParam, int32_t lBoxValue, bool bUp, bool bCtrl, bool bShift) {
    const int64_t lStep = SpinStep(nParam, lBoxValue, bUp, bCtrl, bShift);
    return Sat32(bUp ? int64_t(lBoxValue) + lStep : int64_t(lBoxValue) - lStep);
}

int32_t FreqSweepStepSpin(int32_t lStart, int32_t lEnd, bool bCtrl) {
    const int32_t lStep = FreqBandStepOf(FreqRangeBand(lStart, lEnd));
    return bCtrl ? lStep * 10 : lStep;
}

} // namespace torvex
