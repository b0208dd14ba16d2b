#include "config/CalibrationSetting.h"

#include "config/IniKeys.h"
#include "config/Profile.h"
#include "config/SettingsLogic.h"

#include <QCoreApplication>

namespace torvex {

namespace {

const qint64 kSecondsPerDay = 86400;
const int kMaxPeriodDays = 999;

int ReadNumber(const char* key, const char* pszDefault) {
    return ParseLeadingInt(ReadProfileValue(INI_SECTION_PROPERTY, key, QString::fromLatin1(pszDefault)));
}

bool ReadFlag(const char* key) {
    return ReadProfileValue(INI_SECTION_PROPERTY, key, QStringLiteral("ON")) == QLatin1String("ON");
}

void WriteNumber(const char* key, int nValue) {
    WriteProfileValue(INI_SECTION_PROPERTY, key, QString::number(nValue));
}

// Whole days from now to due, cut toward zero (negative once it has passed).
qint64 DaysUntil(const QDateTime& due, const QDateTime& now) {
    return now.secsTo(due) / kSecondsPerDay;
}

QString ModelNameOrUnset(int nPosition) {
    switch (nPosition) {
    case 1:
        return QStringLiteral("TORVEX-K2");
    case 2:
        return QStringLiteral("TORVEX-K1");
    default:
        return QCoreApplication::translate("CalibrationSetting", "未設定");
    }
}

} // namespace

void CCalibrationSetting::Load() {
    m_nLastYear = ReadNumber(INI_KEY_LAST_CALIBRATION_YEAR, "0");
    m_nLastMonth = ReadNumber(INI_KEY_LAST_CALIBRATION_MONTH, "0");
    m_nLastDay = ReadNumber(INI_KEY_LAST_CALIBRATION_DAY, "0");
    m_nNextYear = ReadNumber(INI_KEY_NEXT_CALIBRATION_YEAR, "0");
    m_nNextMonth = ReadNumber(INI_KEY_NEXT_CALIBRATION_MONTH, "0");
    m_nNextDay = ReadNumber(INI_KEY_NEXT_CALIBRATION_DAY, "0");
    m_bNotice1 = ReadFlag(INI_KEY_INFORM_CALIBLRAION1);
    m_bNotice2 = ReadFlag(INI_KEY_INFORM_CALIBLRAION2);
    // Periods are 0..999 days; a hand-edited value outside is held at the
    // nearest end so the threshold stays meaningful.
    m_nDays1 = qBound(0, ReadNumber(INI_KEY_HOW_MANY_DAYS_UNTIL1, "30"), kMaxPeriodDays);
    m_nDays2 = qBound(0, ReadNumber(INI_KEY_HOW_MANY_DAYS_UNTIL2, "60"), kMaxPeriodDays);
}

void CCalibrationSetting::SetNotice1(bool bOn) {
    m_bNotice1 = bOn;
    WriteProfileValue(INI_SECTION_PROPERTY, INI_KEY_INFORM_CALIBLRAION1, OnOffText(bOn));
}

void CCalibrationSetting::SetNotice2(bool bOn) {
    m_bNotice2 = bOn;
    WriteProfileValue(INI_SECTION_PROPERTY, INI_KEY_INFORM_CALIBLRAION2, OnOffText(bOn));
}

void CCalibrationSetting::SaveDays1(int nDays) const {
    WriteNumber(INI_KEY_HOW_MANY_DAYS_UNTIL1, nDays);
}

void CCalibrationSetting::SaveDays2(int nDays) const {
    WriteNumber(INI_KEY_HOW_MANY_DAYS_UNTIL2, nDays);
}

void CCalibrationSetting::SaveLastDate(int nYear, int nMonth, int nDay) const {
    WriteNumber(INI_KEY_LAST_CALIBRATION_YEAR, nYear);
    WriteNumber(INI_KEY_LAST_CALIBRATION_MONTH, nMonth);
    WriteNumber(INI_KEY_LAST_CALIBRATION_DAY, nDay);
}

void CCalibrationSetting::SaveNextDate(int nYear, int nMonth, int nDay) const {
    WriteNumber(INI_KEY_NEXT_CALIBRATION_YEAR, nYear);
    WriteNumber(INI_KEY_NEXT_CALIBRATION_MONTH, nMonth);
    WriteNumber(INI_KEY_NEXT_CALIBRATION_DAY, nDay);
}

QDateTime CCalibrationSetting::DueMoment() const {
    if (m_nNextYear < 1 || m_nNextYear > 9999 || !QDate::isValid(m_nNextYear, m_nNextMonth, m_nNextDay))
        return QDateTime();
    return QDateTime(QDate(m_nNextYear, m_nNextMonth, m_nNextDay), QTime(0, 0), Qt::LocalTime);
}

bool CCalibrationSetting::IsNoticeDue(const QDateTime& now) {
    if (m_nNextYear == 0 || m_nNextMonth == 0 || m_nNextDay == 0) return false;
    int nThreshold = 0;
    if (m_bNotice1 && m_bNotice2)
        nThreshold = qMax(m_nDays1, m_nDays2);
    else if (m_bNotice1)
        nThreshold = m_nDays1;
    else if (m_bNotice2)
        nThreshold = m_nDays2;
    else
        return false;
    const QDateTime due = DueMoment();
    if (!due.isValid()) {
        m_nRemainingDays = 0;
        return false;
    }
    // Years are limited to 1..9999, so the day count fits an int.
    m_nRemainingDays = int(DaysUntil(due, now) + 1);
    return m_nRemainingDays <= nThreshold;
}

void CCalibrationSetting::ApplyDoNotShowAgain() {
    if (m_nDays1 >= m_nRemainingDays) SetNotice1(false);
    if (m_nDays2 >= m_nRemainingDays) SetNotice2(false);
}

CALIBRATION_NOTICE_TEXTS CCalibrationSetting::NoticeTexts(const QDateTime& now) const {
    CALIBRATION_NOTICE_TEXTS texts;
    texts.m_strFirstLine = QCoreApplication::translate("CalibrationSetting", "校正予定日は%1年%2月%3日です。")
                               .arg(m_nNextYear)
                               .arg(m_nNextMonth)
                               .arg(m_nNextDay);

    const QDateTime due = DueMoment();
    if (due.isValid() && DaysUntil(due, now) < 0)
        texts.m_strOverdueLine = QCoreApplication::translate(
            "CalibrationSetting", "\n校正予定日を過ぎました。\n"
                                  "校正が終わりましたら校正時期お知らせ機能の設定を更新してください。");

    const int nModel = ParseLeadingInt(
        ReadProfileValue(INI_SECTION_MACHINE_TYPE, INI_KEY_MACHINE_TYPE_CALIBRATION, QStringLiteral("0")));
    QString serial = ReadProfileValue(INI_SECTION_MACHINE_TYPE, INI_KEY_MACHINE_SERIAL, QString());
    if (serial.trimmed().isEmpty()) serial = QCoreApplication::translate("CalibrationSetting", "未設定");
    texts.m_strInstrument = QCoreApplication::translate("CalibrationSetting", "[試験器情報]\n型式: ") +
                            ModelNameOrUnset(nModel) +
                            QCoreApplication::translate("CalibrationSetting", "\nシリアル番号: ") + serial;

    auto contact = [](const char* key) { return ReadProfileValue(INI_SECTION_CONTACT_INFO, key, QString()); };
    texts.m_strContact = QCoreApplication::translate("CalibrationSetting", "[連絡先]\n") +
                         contact(INI_KEY_CONTACT_COMPANY) + QStringLiteral("\n") +
                         contact(INI_KEY_CONTACT_DEPT) + QStringLiteral("\nTEL:") + contact(INI_KEY_PHONE) +
                         QStringLiteral("\nFAX:") + contact(INI_KEY_FAX) + QStringLiteral("\nE-mail:") +
                         contact(INI_KEY_EMAIL);
    return texts;
}

} // namespace torvex
