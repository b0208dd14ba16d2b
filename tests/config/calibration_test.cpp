#include "SettingsFixture.h"

#include "config/CalibrationSetting.h"
#include "config/ContactDefaults.h"
#include "config/Profile.h"

namespace torvex {

namespace {

using CalibrationTest = SettingsFixture;

const QDate kToday(2024, 5, 15);

QDateTime At(const QTime& time) {
    return QDateTime(kToday, time, Qt::LocalTime);
}

// Stores a due date and reminders through the setting's own writers and loads
// them back the way start-up does.
CCalibrationSetting Stored(int nYear, int nMonth, int nDay, bool bOn1 = true, bool bOn2 = true,
                           int nDays1 = 30, int nDays2 = 60) {
    CCalibrationSetting writer;
    writer.SaveNextDate(nYear, nMonth, nDay);
    writer.SaveDays1(nDays1);
    writer.SaveDays2(nDays2);
    writer.SetNotice1(bOn1);
    writer.SetNotice2(bOn2);
    CCalibrationSetting calib;
    calib.Load();
    return calib;
}

CCalibrationSetting StoredInDays(int nDaysFromToday, bool bOn1 = true, bool bOn2 = true) {
    const QDate due = kToday.addDays(nDaysFromToday);
    return Stored(due.year(), due.month(), due.day(), bOn1, bOn2);
}

TEST_F(CalibrationTest, LoadWithoutFileGivesUnsetDatesAndDefaultReminders) {
    CCalibrationSetting calib;
    calib.Load();
    EXPECT_EQ(calib.m_nNextYear, 0);
    EXPECT_EQ(calib.m_nLastDay, 0);
    EXPECT_TRUE(calib.m_bNotice1 && calib.m_bNotice2);
    EXPECT_EQ(calib.m_nDays1, 30);
    EXPECT_EQ(calib.m_nDays2, 60);
    EXPECT_FALSE(calib.IsNoticeDue(At(QTime(9, 0))));
}

TEST_F(CalibrationTest, DueCheckCountsDaysFromLocalMidnightOfTheDueDate) {
    const int kAny = -9999;
    const struct {
        const char* name;
        int nDaysFromToday;
        bool bOn1, bOn2;
        bool bDue;
        int nRemaining;
    } cases[] = {
        {"60 days ahead", 60, true, true, true, 60},
        {"61 days ahead", 61, true, true, false, 61},
        {"tomorrow", 1, true, true, true, 1},
        {"today", 0, true, true, true, 1},
        {"yesterday", -1, true, true, true, 0},
        {"a year ago", -366, true, true, true, -365},
        {"only the 30-day reminder on", 45, true, false, false, 45},
        {"only the 60-day reminder on", 45, false, true, true, 45},
        {"both reminders off", -1, false, false, false, kAny},
    };
    for (const QTime& time : {QTime(0, 0, 1), QTime(10, 30), QTime(23, 59, 59)}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.name) + " at " + time.toString().toStdString());
            CCalibrationSetting calib = StoredInDays(c.nDaysFromToday, c.bOn1, c.bOn2);
            EXPECT_EQ(calib.IsNoticeDue(At(time)), c.bDue);
            if (c.nRemaining != kAny) {
                EXPECT_EQ(calib.m_nRemainingDays, c.nRemaining);
            }
        }
    }
}

TEST_F(CalibrationTest, UnsetOrImpossibleDueDateGivesNoNotice) {
    const struct {
        int y, m, d;
    } cases[] = {{0, 0, 0},     {2024, 0, 1}, {2024, 2, 30}, {2023, 2, 29},       {2024, 13, 1},
                 {2024, 5, 32}, {-5, 1, 1},   {10000, 1, 1}, {2147483647, 12, 31}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.y << "-" << c.m << "-" << c.d);
        CCalibrationSetting calib = Stored(c.y, c.m, c.d);
        EXPECT_FALSE(calib.IsNoticeDue(At(QTime(12, 0))));
        const CALIBRATION_NOTICE_TEXTS texts = calib.NoticeTexts(At(QTime(12, 0)));
        EXPECT_TRUE(texts.m_strOverdueLine.isEmpty());
    }
}

TEST_F(CalibrationTest, NoticeShowsDateOverdueLineAndInstrument) {
    const QString overdue =
        QString::fromUtf8("\n校正予定日を過ぎました。\n"
                          "校正が終わりましたら校正時期お知らせ機能の設定を更新してください。");
    CCalibrationSetting yesterday = StoredInDays(-1);
    CALIBRATION_NOTICE_TEXTS texts = yesterday.NoticeTexts(At(QTime(0, 0, 1)));
    EXPECT_EQ(texts.m_strFirstLine, QString::fromUtf8("校正予定日は2024年5月14日です。"));
    EXPECT_EQ(texts.m_strOverdueLine, overdue);
    EXPECT_EQ(texts.m_strTitle, QString::fromUtf8("校正時期お知らせ"));

    CCalibrationSetting today = StoredInDays(0);
    EXPECT_TRUE(today.NoticeTexts(At(QTime(23, 59, 59))).m_strOverdueLine.isEmpty());

    const struct {
        const char* model; // nullptr: not stored
        const char* serial;
        const char* expected;
    } cases[] = {
        {"1", "TX-0042", "[試験器情報]\n型式: TORVEX-K2\nシリアル番号: TX-0042"},
        {"2", "", "[試験器情報]\n型式: TORVEX-K1\nシリアル番号: 未設定"},
        {"0", "  ", "[試験器情報]\n型式: 未設定\nシリアル番号: 未設定"},
        {"17", "A,B", "[試験器情報]\n型式: 未設定\nシリアル番号: A,B"},
        {nullptr, nullptr, "[試験器情報]\n型式: 未設定\nシリアル番号: 未設定"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected);
        QFile::remove(IniPath());
        if (c.model) {
            WriteProfileValue("INI_SECTION_MACHINE_TYPE", "INI_KEY_MACHINE_TYPE_CALIBRATION", c.model);
            WriteProfileValue("INI_SECTION_MACHINE_TYPE", "INI_KEY_MACHINE_SERIAL",
                              QString::fromUtf8(c.serial));
        }
        EXPECT_EQ(today.NoticeTexts(At(QTime(8, 0))).m_strInstrument, QString::fromUtf8(c.expected));
    }
}

TEST_F(CalibrationTest, NoticeContactBlockShowsTheStoredContact) {
    WriteRawFile("[INI_SECTION_CONTACT_INFO]\n"
                 "INI_KEY_CONTACT_COMPANY=Acme Lab, Inc.\n"
                 "INI_KEY_PHONE=+81 3 0000 0000\n");
    WriteContactDefaults(); // fills the empty ones only
    const QString dept = ReadProfileValue("INI_SECTION_CONTACT_INFO", "INI_KEY_CONTACT_DEPT", "");
    const QString fax = ReadProfileValue("INI_SECTION_CONTACT_INFO", "INI_KEY_FAX", "");
    const QString mail = ReadProfileValue("INI_SECTION_CONTACT_INFO", "INI_KEY_EMAIL", "");
    ASSERT_FALSE(dept.isEmpty() || fax.isEmpty() || mail.isEmpty());

    const CALIBRATION_NOTICE_TEXTS texts = StoredInDays(10).NoticeTexts(At(QTime(8, 0)));
    EXPECT_EQ(texts.m_strContact, QString::fromUtf8("[連絡先]\nAcme Lab, Inc.\n") + dept +
                                      "\nTEL:+81 3 0000 0000\nFAX:" + fax + "\nE-mail:" + mail);
}

// Ticking "do not show again" switches off each reminder whose period reaches
// the remaining days, in the record and in the file.
TEST_F(CalibrationTest, DoNotShowAgainSwitchesOffTheRemindersThatFired) {
    const struct {
        const char* name;
        int nDaysFromToday;
        bool bOn1After, bOn2After;
    } cases[] = {
        {"45 days left", 45, true, false},
        {"30 days left", 30, false, false},
        {"overdue", -3, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CCalibrationSetting calib = StoredInDays(c.nDaysFromToday);
        ASSERT_TRUE(calib.IsNoticeDue(At(QTime(10, 0))));
        calib.ApplyDoNotShowAgain();
        EXPECT_EQ(calib.m_bNotice1, c.bOn1After);
        EXPECT_EQ(calib.m_bNotice2, c.bOn2After);
        CCalibrationSetting reloaded;
        reloaded.Load();
        EXPECT_EQ(reloaded.m_bNotice1, c.bOn1After);
        EXPECT_EQ(reloaded.m_bNotice2, c.bOn2After);
    }
}

TEST_F(CalibrationTest, SavedDatesAndPeriodsChangeTheFileNotTheRecord) {
    CCalibrationSetting calib;
    calib.Load();
    calib.SaveLastDate(2024, 2, 29);
    calib.SaveNextDate(2025, 2, 28);
    calib.SaveDays1(7);
    EXPECT_EQ(calib.m_nNextYear, 0);
    EXPECT_EQ(calib.m_nDays1, 30);
    calib.Load();
    EXPECT_EQ(calib.m_nLastYear * 10000 + calib.m_nLastMonth * 100 + calib.m_nLastDay, 20240229);
    EXPECT_EQ(calib.m_nNextYear * 10000 + calib.m_nNextMonth * 100 + calib.m_nNextDay, 20250228);
    EXPECT_EQ(calib.m_nDays1, 7);
}

} // namespace

} // namespace torvex
