#include "results/StepListing.h"

#include <algorithm>

namespace torvex {

namespace {

// Output is handed on in chunks of about this size.
constexpr size_t kChunk = 64 * 1024;

// The text of a JSON string, without its quotes. Most texts need no escape:
// they go in whole.
void AppendJsonEscaped(std::string& out, const std::string& text) {
    if (std::none_of(text.begin(), text.end(),
                     [](char c) { return uint8_t(c) < 0x20 || c == '"' || c == '\\'; })) {
        out += text;
        return;
    }
    for (const char c : text) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (uint8_t(c) < 0x20) {
                static const char hex[] = "0123456789abcdef";
                out += "\\u00";
                out += hex[(uint8_t(c) >> 4) & 0xF];
                out += hex[uint8_t(c) & 0xF];
            } else {
                out += c;
            }
        }
    }
}

// A tab-separated field: the separators and the backslash as C escapes.
void AppendTsvEscaped(std::string& out, const std::string& text) {
    if (text.find_first_of("\t\n\r\\") == std::string::npos) {
        out += text;
        return;
    }
    for (const char c : text) {
        switch (c) {
        case '\t':
            out += "\\t";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\\':
            out += "\\\\";
            break;
        default:
            out += c;
        }
    }
}

} // namespace

bool StepFormatFromName(const QString& strName, int& nFormat) {
    if (strName == QLatin1String("tsv"))
        nFormat = STEP_FORMAT_TSV;
    else if (strName == QLatin1String("csv"))
        nFormat = STEP_FORMAT_CSV;
    else if (strName == QLatin1String("json"))
        nFormat = STEP_FORMAT_JSON;
    else
        return false;
    return true;
}

const std::vector<const char*>& StepListingKeys() {
    static const std::vector<const char*> keys = {"entry",
                                                  "test_name",
                                                  "step",
                                                  "polarity",
                                                  "voltage_v",
                                                  "frequency_hz",
                                                  "pulse_count",
                                                  "burst_duration_us",
                                                  "burst_period_ms",
                                                  "test_time_s",
                                                  "output",
                                                  "output_detail",
                                                  "lines",
                                                  "line_sync",
                                                  "phase_angle_deg",
                                                  "alternating_polarity",
                                                  "continuous",
                                                  "modulated",
                                                  "external_trigger"};
    return keys;
}

CStepListing::CStepListing(int nFormat, bool bSequence, WriteFn fnWrite, bool bJudged)
    : m_nFormat(nFormat), m_bSequence(bSequence), m_fnWrite(std::move(fnWrite)),
      m_bJudged(bJudged && nFormat != STEP_FORMAT_TABLE) {
    m_strBuffer.reserve(kChunk + 4096);
}

CStepListing::~CStepListing() = default;

void CStepListing::WriteHeader() {
    if (m_nFormat == STEP_FORMAT_JSON) return;
    if (m_nFormat == STEP_FORMAT_TABLE) {
        if (m_bSequence) m_strBuffer += "Entry\t";
        m_strBuffer += "No.";
        for (int col = 1; col <= COL_TRIGGER; ++col) {
            m_strBuffer += '\t';
            AppendUtf8(m_strBuffer, CExecData::Caption(col));
        }
        m_strBuffer += '\n';
        return;
    }
    const char cSeparator = m_nFormat == STEP_FORMAT_CSV ? ',' : '\t';
    bool bFirst = true;
    for (const char* key : StepListingKeys()) {
        if (!bFirst) m_strBuffer += cSeparator;
        m_strBuffer += key;
        bFirst = false;
    }
    if (m_bJudged) {
        m_strBuffer += cSeparator;
        m_strBuffer += kJudgmentKey;
    }
    m_strBuffer += '\n';
    if (m_bUnbuffered) Finish();
}

void CStepListing::NextField() {
    switch (m_nFormat) {
    case STEP_FORMAT_JSON: {
        // Each field's opening ({"key": or ,"key":), made once: a step has
        // some twenty of them.
        static const std::vector<std::string> opening = [] {
            std::vector<std::string> list;
            const std::vector<const char*>& keys = StepListingKeys();
            for (size_t i = 0; i <= keys.size(); ++i)
                list.push_back(std::string(i == 0 ? "{\"" : ",\"") +
                               (i < keys.size() ? keys[i] : kJudgmentKey) + "\":");
            return list;
        }();
        m_strBuffer += opening[std::min(size_t(m_nField), opening.size() - 1)];
        break;
    }
    case STEP_FORMAT_CSV:
        if (m_nField > 0) m_strBuffer += ',';
        break;
    default:
        if (m_nField > 0) m_strBuffer += '\t';
        break;
    }
    ++m_nField;
}

void CStepListing::Number(long lValue) {
    NextField();
    AppendNumber(m_strBuffer, lValue);
}

void CStepListing::Null() {
    NextField();
    if (m_nFormat == STEP_FORMAT_JSON) m_strBuffer += "null";
}

void CStepListing::Flag(bool b) {
    NextField();
    m_strBuffer += b ? "true" : "false";
}

void CStepListing::Text() {
    if (m_strText.empty()) return Null();
    NextField();
    switch (m_nFormat) {
    case STEP_FORMAT_JSON:
        m_strBuffer += '"';
        AppendJsonEscaped(m_strBuffer, m_strText);
        m_strBuffer += '"';
        break;
    case STEP_FORMAT_CSV:
        if (m_strText.find_first_of(",\"\r\n") == std::string::npos) {
            m_strBuffer += m_strText;
            break;
        }
        m_strBuffer += '"';
        for (const char c : m_strText) {
            if (c == '"') m_strBuffer += '"';
            m_strBuffer += c;
        }
        m_strBuffer += '"';
        break;
    default:
        AppendTsvEscaped(m_strBuffer, m_strText);
        break;
    }
}

void CStepListing::EndRecord() {
    if (m_nFormat == STEP_FORMAT_JSON) m_strBuffer += '}';
    m_strBuffer += '\n';
    m_nField = 0;
    if (m_bUnbuffered || m_strBuffer.size() >= kChunk) {
        if (!m_bFailed && !m_fnWrite(m_strBuffer.data(), m_strBuffer.size())) m_bFailed = true;
        m_strBuffer.clear();
    }
}

void CStepListing::WriteStep(int nEntry, const QString& strTestName, int nStep, const CExecData& original) {
    CExecData step = original; // asking for a text may repair a code: not in the caller's copy
    if (m_nFormat == STEP_FORMAT_TABLE) {
        if (m_bSequence) {
            AppendNumber(m_strBuffer, nEntry);
            m_strBuffer += '\t';
        }
        AppendNumber(m_strBuffer, nStep);
        for (int col = 1; col <= COL_TRIGGER; ++col) {
            m_strBuffer += '\t';
            step.AppendText(col, m_strBuffer);
        }
        EndRecord();
        return;
    }
    const auto text = [&](int nCol) {
        m_strText.clear();
        step.AppendText(nCol, m_strText);
        Text();
    };
    Number(nEntry);
    m_strText.clear();
    AppendUtf8(m_strText, strTestName);
    Text();
    Number(nStep);
    text(COL_POLA);
    Number(step.m_lVolt);
    Number(step.m_lFreq);
    // A continuous output has no pulse count, burst duration or period.
    for (const int32_t lValue : {step.m_lPulseCount, step.m_lBurstDura, step.m_lBurstPeriod}) {
        if (step.m_bContinuous)
            Null();
        else
            Number(lValue);
    }
    Number(step.m_lTestTime);
    text(COL_OUTPUT_PORT); // repairs the port code the next fields depend on
    text(COL_OUTPUT_DETAIL);
    text(COL_INJ_LINE);
    text(COL_SYNC);
    // The angle counts only for a line-synchronised CDN output (the step list shows "------" otherwise).
    if (step.m_nOutputPort == 0 && step.m_nSync == 1)
        Number(step.m_lAngle);
    else
        Null();
    Flag(step.m_bAlternative != 0);
    Flag(step.m_bContinuous != 0);
    Flag(step.m_bModulated != 0);
    Flag(step.m_bTrigger != 0);
    if (m_bJudged) {
        m_strText = step.m_nJudge == JUDGE_PASS ? "pass" : step.m_nJudge == JUDGE_FAIL ? "fail" : "";
        Text();
    }
    EndRecord();
}

bool CStepListing::Finish() {
    if (!m_strBuffer.empty()) {
        if (!m_bFailed && !m_fnWrite(m_strBuffer.data(), m_strBuffer.size())) m_bFailed = true;
        m_strBuffer.clear();
    }
    return !m_bFailed;
}

} // namespace torvex
