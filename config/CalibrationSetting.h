#pragma once

#include <QCoreApplication>
#include <QDateTime>
#include <QString>

namespace torvex {

// What the calibration notice shows, built without any window.
struct CALIBRATION_NOTICE_TEXTS {
    QString m_strTitle = QCoreApplication::translate("CalibrationSetting", "校正時期お知らせ");
    QString m_strFirstLine;   // "校正予定日は…です。"
    QString m_strOverdueLine; // empty unless the due date has passed
    QString m_strInstrument;  // "[試験器情報]…"
    QString m_strContact;     // "[連絡先]…"
    QString m_strCheckBox =
        QCoreApplication::translate("CalibrationSetting", "今後このメッセージを表示しない。");
};

// Calibration dates and the two reminders before the due date.
class CCalibrationSetting {
public:
    // Every stored field from the settings file: a missing date reads as 0,
    // a missing switch as on, missing periods as 30 and 60 days.
    void Load();

    // Switch a reminder in the record and in the file.
    void SetNotice1(bool bOn);
    void SetNotice2(bool bOn);

    // These change the file only; the record, and so the check, follow at the
    // next start.
    void SaveDays1(int nDays) const;
    void SaveDays2(int nDays) const;
    void SaveLastDate(int nYear, int nMonth, int nDay) const;
    void SaveNextDate(int nYear, int nMonth, int nDay) const;

    // Whether the notice is due at now; sets m_nRemainingDays, which is 1 on
    // the due date and on the day before, 0 the day after. A next date that is
    // unset or not a calendar date (year 1..9999) gives no notice and 0 days.
    bool IsNoticeDue(const QDateTime& now);
    bool IsNoticeDue() { return IsNoticeDue(QDateTime::currentDateTime()); }

    // The notice's "do not show again" box was ticked: switch off each reminder
    // whose period reaches the remaining days of the last check.
    void ApplyDoNotShowAgain();

    // The notice's texts at now (the model, serial number and contact come
    // from the settings file).
    CALIBRATION_NOTICE_TEXTS NoticeTexts(const QDateTime& now) const;

    // 00:00 local time on the next calibration date; invalid when that is not
    // a calendar date.
    QDateTime DueMoment() const;

    int m_nLastYear = 2018;
    int m_nLastMonth = 1;
    int m_nLastDay = 1;
    int m_nNextYear = 2019;
    int m_nNextMonth = 1;
    int m_nNextDay = 1;
    bool m_bNotice1 = true;
    bool m_bNotice2 = true;
    int m_nDays1 = 30;
    int m_nDays2 = 60;
    int m_nRemainingDays = 0;
};

} // namespace torvex
