#pragma once

#include "model/ExecData.h"

#include <QString>
#include <functional>
#include <string>
#include <vector>

namespace torvex {

// The forms a list of steps is written in, one record per step.
//  - STEP_FORMAT_TABLE: the step list's own texts under its Japanese captions,
//    tab-separated ("Entry" first for a sequence, then "No.").
//  - STEP_FORMAT_TSV, STEP_FORMAT_CSV, STEP_FORMAT_JSON: the fields of
//    StepListingKeys() under those English names; numbers as numbers in the
//    record's own units, texts as the step list shows them, null (an empty
//    field in TSV and CSV) where a step has no such value, flags as true or
//    false. JSON is JSON Lines: one object per step, no header. CSV quotes a
//    field holding a comma, a quote or a line break (RFC 4180, "\n" line ends);
//    TSV writes a tab, a line break or a backslash inside a field as \t, \n, \r
//    or \\.
enum : int { STEP_FORMAT_TABLE = 0, STEP_FORMAT_TSV = 1, STEP_FORMAT_CSV = 2, STEP_FORMAT_JSON = 3 };

// "tsv", "csv" or "json"; false for any other name.
bool StepFormatFromName(const QString& strName, int& nFormat);

// The English field names, in record order.
const std::vector<const char*>& StepListingKeys();
// The field a record of a run adds after them: "pass", "fail", or null for a
// step that ended unjudged.
constexpr const char* kJudgmentKey = "judgment";

// Writes step records in UTF-8 through fnWrite, in chunks: nothing of the whole
// list is held, whatever its length.
class CStepListing {
public:
    // Takes a chunk of output; false when it could not be written.
    using WriteFn = std::function<bool(const char* pData, size_t nSize)>;

    // bSequence: the table form gets its "Entry" column. bJudged: every record
    // ends with the step's judgment (the English forms only).
    CStepListing(int nFormat, bool bSequence, WriteFn fnWrite, bool bJudged = false);
    ~CStepListing();
    CStepListing(const CStepListing&) = delete;
    CStepListing& operator=(const CStepListing&) = delete;

    // The header line (none for JSON Lines).
    void WriteHeader();
    // One step: its test (entry from 1, and the test's name) and its number in the test (from 1).
    void WriteStep(int nEntry, const QString& strTestName, int nStep, const CExecData& step);
    // Hands on what is still buffered; false when any write failed.
    bool Finish();
    // Every record so far is handed on at once instead of in chunks, for
    // output that is read as it comes (a run's steps).
    void SetUnbuffered(bool b) { m_bUnbuffered = b; }

private:
    // The separator, or the key in JSON, of the record's next field.
    void NextField();
    void Number(long lValue);
    void Null();
    void Flag(bool b);
    // m_strText, quoted as the format wants it; null when empty.
    void Text();
    void EndRecord();

    int m_nFormat;
    bool m_bSequence;
    WriteFn m_fnWrite;
    std::string m_strBuffer;
    std::string m_strText; // one field's text, reused
    int m_nField = 0;
    bool m_bFailed = false;
    bool m_bJudged = false;
    bool m_bUnbuffered = false;
};

} // namespace torvex
