#pragma once

#include <QString>
#include <QStringView>
#include <cstdint>
#include <string>

namespace torvex {

// Column numbers of the step list, the sequence screen and the report.
enum : int {
    COL_TEST_LEVEL = 1,
    COL_POLA = 2,
    COL_VOLT = 3,
    COL_FREQ = 4,
    COL_PULSE_COUNT = 5,
    COL_BURST_DURA = 6,
    COL_BURST_PERIOD = 7,
    COL_TIME_HOUR = 8,
    COL_TIME_MIN = 9,
    COL_TIME_SEC = 10,
    COL_OUTPUT_PORT = 11,
    COL_OUTPUT_DETAIL = 12,
    COL_INJ_LINE = 13,
    COL_INJ_SWEEP = 14,
    COL_SYNC = 15,
    COL_ANGLE = 16,
    COL_JUDGE = 17,
    COL_COMMENT = 18,
    COL_ALTERNATIVE = 19,
    COL_CONTINUOUS = 20,
    COL_MODULATED = 21,
    COL_TRIGGER = 22,
    COL_TEST_NAME = 23,
    COL_COUNT = 23
};

// Judgment codes of a step.
enum : int32_t { JUDGE_NONE = 0, JUDGE_FAIL = 1, JUDGE_PASS = 2 };

// Model types of the instrument.
enum : uint32_t { MODEL_UNKNOWN = 0, MODEL_K2 = 1, MODEL_K1 = 17 };

// One executable step: one value for every parameter, plus its judgment and comment.
class CExecData {
public:
    CExecData() = default;
    virtual ~CExecData() = default;
    CExecData(const CExecData&) = default;
    CExecData& operator=(const CExecData&) = default;

    // Caption of a column number (1..23); empty for any other number.
    static QString Caption(int nCol);

    // Text of a column number for this step. Out-of-range codes of polarity,
    // output port, output detail, synchronisation and judgment are repaired in
    // the step itself when their text is asked for.
    QString GetText(int nCol);
    // The same text in UTF-8, appended to out (listings and reports write
    // thousands of these; no text object is made on the way).
    void AppendText(int nCol, std::string& out);

    bool operator==(const CExecData&) const = default;

    uint32_t m_ulMachineType = 0;
    int32_t m_nTestLevel = 0;
    int32_t m_nPola = 1;
    int32_t m_lVolt = 500;
    int32_t m_lFreq = 5000;
    int32_t m_lPulseCount = 75;
    int32_t m_lBurstPeriod = 300;
    int32_t m_lBurstDura = 15000;
    int32_t m_nOutputPort = 0;
    int32_t m_nOutputDetail = 0;
    uint32_t m_ulInjLine = 31;
    int32_t m_nSync = 0;
    int32_t m_lAngle = 0;
    int32_t m_lTestTime = 60;
    int32_t m_bAlternative = 0;
    int32_t m_bContinuous = 0;
    int32_t m_bModulated = 0;
    int32_t m_bTrigger = 0;
    int32_t m_nJudge = JUDGE_NONE;
    QString m_strComment;
};

// Frequency text used by step and condition texts: "100", "5.0", "0.50".
QString FrequencyText(int64_t lHz);
void AppendFrequencyText(std::string& out, int64_t lHz);

// Text helpers of the UTF-8 texts: a text as it is; a whole number as printf's
// "%.<nMinDigits>ld" writes it; a number with a fixed number of decimals as
// "%.<nDecimals>f" writes it.
void AppendUtf8(std::string& out, QStringView str);
void AppendNumber(std::string& out, long lValue, int nMinDigits = 1);
void AppendFixed(std::string& out, double dValue, int nDecimals);

// Overall judgment of a list of steps: "------" when any step is unjudged,
// else "不合格" when any failed, else "合格" (also for an empty list).
template <class Range> int32_t OverallJudgment(const Range& steps) {
    int32_t nResult = JUDGE_PASS;
    for (const auto& step : steps) {
        int32_t nCode = (step.m_nJudge < 0 || step.m_nJudge > 2) ? JUDGE_NONE : step.m_nJudge;
        if (nResult == JUDGE_PASS)
            nResult = nCode;
        else if (nResult == JUDGE_FAIL && nCode == JUDGE_NONE)
            nResult = JUDGE_NONE;
    }
    return nResult;
}

} // namespace torvex
