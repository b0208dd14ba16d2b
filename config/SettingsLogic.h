#pragma once

#include <QString>

namespace torvex {

// Small helpers for settings that several screens read or show.

// The decimal integer at the start of a text, as the settings file's numbers
// are read: leading blanks and a sign allowed, 0 when there is no digit; a
// number beyond the int range is held at its limit.
int ParseLeadingInt(const QString& strText);

// Hours after which the run panel shows "%d時間以上" instead of a time: missing
// or empty writes "24" and gives 24; above 100 gives 100 (the file keeps its
// value); text that is not a number, or a negative number, gives 0.
int LoadHourLimit();

// A switch that is on unless the file says exactly "OFF"; an empty or missing
// value is written as "ON".
bool LoadFlagDefaultOn(const QString& strSection, const QString& strKey);

// "ON" / "OFF" as the file stores switches.
QString OnOffText(bool bOn);

// "2024年4月3日", or "----年--月--日" while any part is 0.
QString FormatCalDate(int nYear, int nMonth, int nDay);

// The same month and day one year later; 29 February becomes 28 February.
void NextCalibrationDate(int nYear, int nMonth, int nDay, int* pnNextYear, int* pnNextMonth, int* pnNextDay);

// A reminder period as typed: the decimal number truncated to whole days,
// limited to 0..999; no number gives 0.
int ParsePeriodDays(const QString& strText);

} // namespace torvex
