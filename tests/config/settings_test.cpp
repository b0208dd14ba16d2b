#include "SettingsFixture.h"

#include "config/CalibrationSetting.h"
#include "config/ContactDefaults.h"
#include "config/DocumentFolders.h"
#include "config/IniKeys.h"
#include "config/LogSetting.h"
#include "config/Profile.h"
#include "config/SettingsLogic.h"
#include "config/TestProperty.h"

#include <QFileInfo>
#include <QStandardPaths>

namespace torvex {

namespace {

using SettingsTest = SettingsFixture;

// The names in the file are the ones other copies of the program and existing
// settings files use; they are spelt out here by hand on purpose.
TEST_F(SettingsTest, WritersUseTheExactSectionAndKeyNames) {
    CCalibrationSetting calib;
    calib.SetNotice1(true);
    calib.SetNotice2(false);
    calib.SaveDays1(1);
    calib.SaveDays2(2);
    calib.SaveLastDate(2024, 1, 2);
    calib.SaveNextDate(2025, 1, 2);
    CLogSetting log;
    log.LoadLogSetting();
    log.SetLogOn(true);
    WriteContactDefaults();
    LoadHourLimit();
    LoadFlagDefaultOn(INI_SECTION_INITIAL_STATE, INI_KEY_USE_TIPS);
    LoadFlagDefaultOn(INI_SECTION_INITIAL_STATE, INI_KEY_STOP_EVERY_TIME);

    const QSet<QString> expected = {
        "INI_SECTION_PROPERTY/INI_KEY_INFORM_CALIBLRAION1",
        "INI_SECTION_PROPERTY/INI_KEY_INFORM_CALIBLRAION2",
        "INI_SECTION_PROPERTY/INI_KEY_HOW_MANY_DAYS_UNTIL1",
        "INI_SECTION_PROPERTY/INI_KEY_HOW_MANY_DAYS_UNTIL2",
        "INI_SECTION_PROPERTY/INI_KEY_LAST_CALIBRATION_YEAR",
        "INI_SECTION_PROPERTY/INI_KEY_LAST_CALIBRATION_MONTH",
        "INI_SECTION_PROPERTY/INI_KEY_LAST_CALIBRATION_DAY",
        "INI_SECTION_PROPERTY/INI_KEY_NEXT_CALIBRATION_YEAR",
        "INI_SECTION_PROPERTY/INI_KEY_NEXT_CALIBRATION_MONTH",
        "INI_SECTION_PROPERTY/INI_KEY_NEXT_CALIBRATION_DAY",
        "INI_SECTION_PROPERTY/INI_KEY_LOG",
        "INI_SECTION_PROPERTY/INI_KEY_FOLDER",
        "INI_SECTION_CONTACT_INFO/INI_KEY_CONTACT_COMPANY",
        "INI_SECTION_CONTACT_INFO/INI_KEY_CONTACT_DEPT",
        "INI_SECTION_CONTACT_INFO/INI_KEY_PHONE",
        "INI_SECTION_CONTACT_INFO/INI_KEY_FAX",
        "INI_SECTION_CONTACT_INFO/INI_KEY_EMAIL",
        "INI_SECTION_INITIAL_STATE/INI_KEY_NOT_DISP_HOUR",
        "INI_SECTION_INITIAL_STATE/INI_KEY_USE_TIPS",
        "INI_SECTION_INITIAL_STATE/INI_KEY_STOP_EVERY_TIME",
    };
    EXPECT_EQ(RawKeys(), expected);
}

TEST_F(SettingsTest, TestPropertyLoadsTheTestInformationKeys) {
    WriteRawFile(
        "[INI_SECTION_TEST_INFO]\n"
        "INI_KEY_COMPANY_NAME=Acme, Inc.\nINI_KEY_TEST_PLACE=Lab 2\nINI_KEY_MODEL=EUT-9\n"
        "INI_KEY_SERIAL=S1\nINI_KEY_OPERATOR=山田\nINI_KEY_STANDARD=IEC 61000-4-4\n"
        "INI_KEY_TEMPERATURE=23\nINI_KEY_HUMIDITY=45\nINI_KEY_ATM=1013\n"
        "INI_KEY_SIMULATOR_SERIAL=T1\nINI_KEY_SIMULATOR_LAST_CAL=2024/01/02\nINI_KEY_SIMULATOR_CAL_INT=1y\n"
        "INI_KEY_OPTION1=CDN\nINI_KEY_OPTION1_MODEL=M1\nINI_KEY_OPTION1_SERIAL=O1\n"
        "INI_KEY_OPTION1_LAST_CAL=L1\nINI_KEY_OPTION1_CAL_INT=I1\n"
        "INI_KEY_OPTION2_CAL_INT=I2\nINI_KEY_OPTION3=Clamp\nINI_KEY_OPTION3_SERIAL=O3\n"
        "[INI_SECTION_MACHINE_TYPE]\nINI_KEY_MACHINE_TYPE=17\n");
    CTestProperty prop;
    prop.m_timeStartManual = 1700000000;
    prop.LoadFromProfile();
    EXPECT_EQ(prop.m_strCompanyName, "Acme, Inc.");
    EXPECT_EQ(prop.m_strTestPlace, "Lab 2");
    EXPECT_EQ(prop.m_strModel, "EUT-9");
    EXPECT_EQ(prop.m_strSerial, "S1");
    EXPECT_EQ(prop.m_strOperator, QString::fromUtf8("山田"));
    EXPECT_EQ(prop.m_strStandard, "IEC 61000-4-4");
    EXPECT_EQ(prop.m_strMachineType, "17");
    EXPECT_EQ(prop.m_strTemperature, "23");
    EXPECT_EQ(prop.m_strHumidity, "45");
    EXPECT_EQ(prop.m_strAtm, "1013");
    EXPECT_EQ(prop.m_timeStartManual, 0);
    EXPECT_TRUE(prop.m_strSimulatorSerial.isEmpty()); // the equipment is the settings page's business
    EXPECT_TRUE(prop.m_aeqOption[0].m_strName.isEmpty());

    prop.LoadEquipmentFromProfile();
    EXPECT_EQ(prop.m_strSimulatorSerial, "T1");
    EXPECT_EQ(prop.m_strSimulatorLastCal, "2024/01/02");
    EXPECT_EQ(prop.m_strSimulatorCalInt, "1y");
    const TEST_EQUIPMENT_STRUCT& opt1 = prop.m_aeqOption[0];
    EXPECT_EQ(opt1.m_strName + opt1.m_strModel + opt1.m_strSerial + opt1.m_strLastCal + opt1.m_strCalInt,
              "CDNM1O1L1I1");
    EXPECT_EQ(prop.m_aeqOption[1].m_strCalInt, "I2");
    EXPECT_EQ(prop.m_aeqOption[2].m_strName + prop.m_aeqOption[2].m_strSerial, "ClampO3");

    prop.m_timeStartSequence = 5;
    prop.Clear();
    EXPECT_TRUE(prop.m_strCompanyName.isEmpty() && prop.m_aeqOption[2].m_strName.isEmpty());
    EXPECT_EQ(prop.m_timeStartSequence, 0);
}

TEST_F(SettingsTest, LogSettingDefaultsToAFolderInDocumentsAndStoresChanges) {
    const QString docs = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    ASSERT_TRUE(docs.startsWith(HomeDir()));
    CLogSetting log;
    log.LoadLogSetting();
    EXPECT_TRUE(log.m_bLogOn);
    EXPECT_EQ(log.m_strLogFolder, docs + "/Kelvora/TORVEX_Pilot/LOG/");
    EXPECT_TRUE(QFileInfo(log.m_strLogFolder).isDir());
    EXPECT_EQ(ReadProfileValue(INI_SECTION_PROPERTY, INI_KEY_FOLDER, ""), log.m_strLogFolder);

    log.SetLogOn(false);
    log.SetLogFolder("/mnt/lab logs/EFT");
    CLogSetting reloaded;
    reloaded.LoadLogSetting();
    EXPECT_FALSE(reloaded.m_bLogOn);
    EXPECT_EQ(reloaded.m_strLogFolder, "/mnt/lab logs/EFT/");

    // A folder typed into the file without its separator still holds the logs.
    WriteProfileValue(INI_SECTION_PROPERTY, INI_KEY_FOLDER, "/srv/logs");
    reloaded.LoadLogSetting();
    EXPECT_EQ(reloaded.m_strLogFolder, "/srv/logs/");
}

TEST_F(SettingsTest, ContactDefaultsFillOnlyEmptyEntries) {
    WriteRawFile("[INI_SECTION_CONTACT_INFO]\nINI_KEY_CONTACT_COMPANY=Our own, Ltd.\nINI_KEY_PHONE=\n");
    WriteContactDefaults();
    EXPECT_EQ(ReadProfileValue(INI_SECTION_CONTACT_INFO, INI_KEY_CONTACT_COMPANY, ""), "Our own, Ltd.");
    for (const char* key : {INI_KEY_CONTACT_DEPT, INI_KEY_PHONE, INI_KEY_FAX, INI_KEY_EMAIL})
        EXPECT_FALSE(ReadProfileValue(INI_SECTION_CONTACT_INFO, key, "").isEmpty()) << key;
}

TEST_F(SettingsTest, HourLimit) {
    const struct {
        const char* stored; // nullptr: key missing
        int nLimit;
        const char* storedAfter;
    } cases[] = {
        {nullptr, 24, "24"}, {"", 24, "24"},
        {"12", 12, "12"},    {"100", 100, "100"},
        {"500", 100, "500"}, {"abc", 0, "abc"},
        {"-5", 0, "-5"},     {"36h", 36, "36h"},
        {"0", 0, "0"},       {"99999999999", 100, "99999999999"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored ? c.stored : "(missing)");
        QFile::remove(IniPath());
        if (c.stored) WriteProfileValue(INI_SECTION_INITIAL_STATE, INI_KEY_NOT_DISP_HOUR, c.stored);
        EXPECT_EQ(LoadHourLimit(), c.nLimit);
        EXPECT_EQ(ReadProfileValue(INI_SECTION_INITIAL_STATE, INI_KEY_NOT_DISP_HOUR, "(missing)"),
                  c.storedAfter);
    }
}

TEST_F(SettingsTest, FlagDefaultOn) {
    const struct {
        const char* stored;
        bool bOn;
        const char* storedAfter;
    } cases[] = {
        {nullptr, true, "ON"}, {"", true, "ON"},   {"OFF", false, "OFF"},
        {"off", true, "off"},  {"ON", true, "ON"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored ? c.stored : "(missing)");
        QFile::remove(IniPath());
        if (c.stored) WriteProfileValue(INI_SECTION_INITIAL_STATE, INI_KEY_USE_TIPS, c.stored);
        EXPECT_EQ(LoadFlagDefaultOn(INI_SECTION_INITIAL_STATE, INI_KEY_USE_TIPS), c.bOn);
        EXPECT_EQ(ReadProfileValue(INI_SECTION_INITIAL_STATE, INI_KEY_USE_TIPS, "(missing)"), c.storedAfter);
    }
}

TEST(SettingsHelpers, CalibrationDates) {
    EXPECT_EQ(FormatCalDate(2024, 4, 3), QString::fromUtf8("2024年4月3日"));
    for (auto [y, m, d] : {std::tuple{0, 4, 3}, {2024, 0, 3}, {2024, 4, 0}})
        EXPECT_EQ(FormatCalDate(y, m, d), QString::fromUtf8("----年--月--日"));

    const struct {
        int y, m, d, ny, nm, nd;
    } next[] = {{2020, 2, 29, 2021, 2, 28}, {2019, 2, 28, 2020, 2, 28}, {2023, 12, 31, 2024, 12, 31}};
    for (const auto& c : next) {
        int ny = 0, nm = 0, nd = 0;
        NextCalibrationDate(c.y, c.m, c.d, &ny, &nm, &nd);
        EXPECT_EQ(QDate(ny, nm, nd), QDate(c.ny, c.nm, c.nd)) << c.y << "-" << c.m << "-" << c.d;
    }
}

TEST(SettingsHelpers, PeriodDaysAsTyped) {
    const struct {
        const char* text;
        int nDays;
    } cases[] = {{"12.7", 12},
                 {"", 0},
                 {".5", 0},
                 {"007", 7},
                 {"999", 999},
                 {"1000", 999},
                 {"99999999999999999999", 999},
                 {"-3", 0},
                 {"30days", 30}};
    for (const auto& c : cases)
        EXPECT_EQ(ParsePeriodDays(c.text), c.nDays) << c.text;
}

} // namespace

// File dialogs open where the operator last chose a file, else in the
// program's documents folder, never in whatever the working folder is.
TEST_F(SettingsTest, FileDialogsOpenInTheLastFolderElseTheProgramsDocuments) {
    const QString docs = HomeDir() + "/Documents";
    QDir().mkpath(docs);
    ASSERT_EQ(DocumentsFolder(), docs);
    EXPECT_EQ(ProgramDocumentsFolder(), docs + "/Kelvora/TORVEX_Pilot");

    // Before the program has made its folder: the documents folder.
    EXPECT_EQ(FileDialogFolder(QString()), docs);
    QDir().mkpath(ProgramDocumentsFolder());
    EXPECT_EQ(FileDialogFolder(QString()), ProgramDocumentsFolder());
    const QString last = HomeDir() + "/tests";
    EXPECT_EQ(FileDialogFolder(last), ProgramDocumentsFolder()) << "a folder since removed";
    QDir().mkpath(last);
    EXPECT_EQ(FileDialogFolder(last), last);
}

} // namespace torvex
