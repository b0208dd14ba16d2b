#pragma once

class QTableView;

namespace torvex {

// The look the step list and the sequence list share: whole rows, one at a
// time, grid lines, cut-off texts ending in "…", headers that do not sort, and
// the selected row in RGB(200, 200, 255) with the normal text colour (on a
// dark theme a darker equivalent, so the theme's light text stays readable).
void SetUpReportList(QTableView* pTable);

} // namespace torvex
