#pragma once

#include "journal/Journal.h"

#include "config/TestProperty.h"
#include "model/SettingData.h"
#include "results/ReportWriter.h"

#include <optional>
#include <vector>

namespace torvex {

class CTorvexDoc;

// What a run is made of, taken from the document at its start and put back
// together from the journal for history, reports and recovery.

// Test information as JSON with the fields' own names (the start times are
// not part of it: a run keeps its own).
QByteArray PropertyToJson(const CTestProperty& property);
void PropertyFromJson(const QByteArray& json, CTestProperty& property);

// The test of a tab as its file would hold it: STANDARD and MANUAL a data
// file of the condition, SEQUENCE a sequence file of the list.
QByteArray SourceOf(const CTorvexDoc& doc, int nTab);
// The conditions of a tab: one for STANDARD and MANUAL, every entry for SEQUENCE.
std::vector<const CSettingData*> TestsOf(const CTorvexDoc& doc, int nTab);
// The start record of a run of the tab's test; the report's start time is the
// property's start time of that tab.
JOURNAL_RUN_START DescribeRun(const CTorvexDoc& doc, int nTab, const CTestProperty& property,
                              uint32_t ulModel, const QString& strInstrument);
// The steps of a tab's test that carry a judgment or a comment.
std::vector<JOURNAL_STEP> MarkedSteps(const CTorvexDoc& doc, int nTab);

// The conditions of a run, each with its steps, judgments and comments.
// False when the stored bytes cannot be read back.
bool RebuildTests(const JOURNAL_RUN& run, const std::vector<JOURNAL_STEP>& steps,
                  std::vector<CSettingData>& tests);
// The report the program would have written at the end of the run (and after
// the judgments given since).
std::optional<CReportData> ReportOfRun(const JOURNAL_RUN& run, const std::vector<JOURNAL_STEP>& steps);
// Puts a run's test, with its judgments and comments, onto its tab of the
// document (MANUAL replaces the MANUAL condition, STANDARD the STANDARD one,
// SEQUENCE the sequence list) and dates its report by the run. The document
// counts as modified unless the run's file still holds that test.
bool RestoreRun(const JOURNAL_RUN& run, const std::vector<JOURNAL_STEP>& steps, CTorvexDoc& doc,
                CTestProperty& property);

// "STANDARD", "MANUAL", "SEQUENCE".
QString RunTabName(int32_t nTab);
// "pass", "fail", "none".
QString JudgeWord(int32_t nJudge);
// The instrument as a run records it: model name, hardware version and port,
// or that no instrument answered.
QString InstrumentIdentity(uint32_t ulModel, int32_t nHWVersion, const QString& strPort, bool bConnected);

} // namespace torvex
