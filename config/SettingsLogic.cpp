#include "config/SettingsLogic.h"

#include "config/IniKeys.h"
#include "config/Profile.h"

#include <QCoreApplication>
#include <climits>

namespace torvex {

namespace {
const int kDefaultHourLimit = 24;
const int kMaxHourLimit = 100;
const int kMaxPeriodDays = 999;
} // namespace

int ParseLeadingInt(const QString& strText) {
    qsizetype i = 0;
    const qsizetype n = strText.size();
    while (i < n && strText.at(i).isSpace())
        ++i;
    bool bNegative = false;
    if (i < n && (strText.at(i) == QLatin1Char('+') || strText.at(i) == QLatin1Char('-'))) {
        bNegative = strText.at(i) == QLatin1Char('-');
        ++i;
    }
    qint64 value = 0;
    for (; i < n && strText.at(i) >= QLatin1Char('0') && strText.at(i) <= QLatin1Char('9'); ++i) {
        value = value * 10 + (strText.at(i).unicode() - '0');
        if (value > qint64(INT_MAX) + 1) value = qint64(INT_MAX) + 1; // held; more digits change nothing
    }
    if (bNegative) value = -value;
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return int(value);
}

int LoadHourLimit() {
    const QString stored = ReadProfileValue(INI_SECTION_INITIAL_STATE, INI_KEY_NOT_DISP_HOUR, QString());
    if (stored.isEmpty()) {
        WriteProfileValue(INI_SECTION_INITIAL_STATE, INI_KEY_NOT_DISP_HOUR,
                          QString::number(kDefaultHourLimit));
        return kDefaultHourLimit;
    }
    // A negative limit would make every time "too long" with a meaningless
    // figure; it is treated like any other unusable text.
    return qBound(0, ParseLeadingInt(stored), kMaxHourLimit);
}

bool LoadFlagDefaultOn(const QString& strSection, const QString& strKey) {
    const QString stored = ReadProfileValue(strSection, strKey, QString());
    if (stored.isEmpty()) {
        WriteProfileValue(strSection, strKey, OnOffText(true));
        return true;
    }
    return stored != QLatin1String("OFF");
}

QString OnOffText(bool bOn) {
    return bOn ? QStringLiteral("ON") : QStringLiteral("OFF");
}

QString FormatCalDate(int nYear, int nMonth, int nDay) {
    if (nYear == 0 || nMonth == 0 || nDay == 0)
        return QCoreApplication::translate("SettingsLogic", "----年--月--日");
    return QCoreApplication::translate("SettingsLogic", "%1年%2月%3日").arg(nYear).arg(nMonth).arg(nDay);
}

void NextCalibrationDate(int nYear, int nMonth, int nDay, int* pnNextYear, int* pnNextMonth, int* pnNextDay) {
    *pnNextYear = nYear + 1;
    *pnNextMonth = nMonth;
    // The year after a leap year has no 29 February.
    *pnNextDay = (nMonth == 2 && nDay == 29) ? 28 : nDay;
}

int ParsePeriodDays(const QString& strText) {
    // Digits before the decimal point are the whole days; the fraction is cut.
    return qBound(0, ParseLeadingInt(strText), kMaxPeriodDays);
}

} // namespace torvex
