#pragma once

namespace torvex {

class CReportData;
class COperatorDialog;

// The desktop program's report output: the workbook is saved first into the
// report folder, so nothing is lost, then opened with the default program; the
// operator is told where it went when it cannot be written or opened.
void SaveAndOpenReport(const CReportData& data, COperatorDialog& dialog);

} // namespace torvex
