#include "config/CalibrationSetting.h"
#include "config/IniKeys.h"
#include "config/Language.h"
#include "config/Profile.h"
#include "config/Reconnect.h"
#include "config/SettingsFixture.h"
#include "config/TestProperty.h"
#include "gui/config/SettingsDlg.h"
#include "gui/widgets/LeaveLineEdit.h"
#include "gui/widgets/NumericLineEdit.h"
#include "instrument/TorvexCntl.h"
#include "session/Session.h"
#include "support/ScriptedDialog.h"
#include "support/SimulatedPort.h"

#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <memory>

namespace torvex {

namespace {

QString Stored(const char* section, const char* key) {
    return ReadProfileValue(section, key, QStringLiteral("<missing>"));
}

} // namespace

class SettingsPageTest : public SettingsFixture {
protected:
    CSettingsDlg& OpenPage() {
        m_session.Calibration().Load();
        m_session.SetMachineType(1);
        m_page = std::make_unique<CSettingsDlg>(m_session);
        m_page->show();
        m_page->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(m_page.get()));
        return *m_page;
    }
    // On the box itself: a check box reacts to its square and its text only.
    static void ClickBox(QCheckBox* pBox) {
        QTest::mouseClick(pBox, Qt::LeftButton, {}, QPoint(6, pBox->height() / 2));
    }

    SettingsPageTest() { m_session.SetNotConnected(true); }
    ~SettingsPageTest() override { m_session.SetNotConnected(false); }

    CScriptedDialog m_dialog;
    CSession m_session{m_dialog};
    CCalibrationSetting& m_calib = m_session.Calibration();
    CTestProperty& m_property = m_session.Property();
    std::unique_ptr<CSettingsDlg> m_page;
};

TEST_F(SettingsPageTest, FirstStartWritesBothSwitchesOnAndShowsUnsetDates) {
    CSettingsDlg& page = OpenPage();
    EXPECT_EQ(Stored(INI_SECTION_INITIAL_STATE, INI_KEY_USE_TIPS), "ON");
    EXPECT_EQ(Stored(INI_SECTION_INITIAL_STATE, INI_KEY_STOP_EVERY_TIME), "ON");
    EXPECT_TRUE(page.m_pUseTips->isChecked());
    EXPECT_TRUE(page.m_pStopEveryStep->isChecked());
    EXPECT_TRUE(m_session.Engine().StopEveryStep());
    EXPECT_EQ(page.m_pConnection->text(), "未接続");
    EXPECT_FALSE(page.m_pDemoMode->isHidden());
    EXPECT_EQ(page.m_pModelName->text(), "TORVEX-K2");
    EXPECT_EQ(page.m_pLastDate->text(), "----年--月--日");
    EXPECT_TRUE(page.m_pLogFolder->text().endsWith("/Kelvora/TORVEX_Pilot/LOG/"));

    // Switched off: stored, and the engine's switch follows.
    ClickBox(page.m_pStopEveryStep);
    EXPECT_EQ(Stored(INI_SECTION_INITIAL_STATE, INI_KEY_STOP_EVERY_TIME), "OFF");
    EXPECT_FALSE(m_session.Engine().StopEveryStep());
}

TEST_F(SettingsPageTest, ReminderPeriodIsFilteredWhileTypedAndStoredWhenLeft) {
    CSettingsDlg& page = OpenPage();
    const struct {
        const char* typed;
        const char* shown;
        const char* stored;
    } cases[] = {{"12.7", "12", "12"}, {"1234", "999", "999"}, {"", "0", "0"}, {"4a5.6.7", "456", "456"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        page.m_pDays1->setFocus();
        page.m_pDays1->selectAll();
        QTest::keyClicks(page.m_pDays1, c.typed);
        if (QString(c.typed) == "") QTest::keyClick(page.m_pDays1, Qt::Key_Delete);
        if (QString(c.typed) == "4a5.6.7") {
            // A newly typed point replaces the earlier one.
            EXPECT_EQ(page.m_pDays1->text(), "456.7");
        }
        // Enter moves on to the next control, which is leaving the field.
        QTest::keyClick(page.m_pDays1, Qt::Key_Return);
        EXPECT_FALSE(page.m_pDays1->hasFocus());
        EXPECT_EQ(page.m_pDays1->text(), c.shown);
        EXPECT_EQ(Stored(INI_SECTION_PROPERTY, INI_KEY_HOW_MANY_DAYS_UNTIL1), c.stored);
    }
}

TEST_F(SettingsPageTest, LastDateButtonSetsTheNextDateAYearLaterWhenConfirmed) {
    CSettingsDlg& page = OpenPage();
    page.m_pCalendar->setSelectedDate(QDate(2020, 2, 29));

    m_dialog.QueueAnswer(COperatorDialog::No);
    QTest::mouseClick(page.m_pChangeLast, Qt::LeftButton);
    EXPECT_EQ(Stored(INI_SECTION_PROPERTY, INI_KEY_LAST_CALIBRATION_YEAR), "<missing>");

    m_dialog.QueueAnswer(COperatorDialog::Yes);
    QTest::mouseClick(page.m_pChangeLast, Qt::LeftButton);
    ASSERT_EQ(m_dialog.m_log.size(), 2u);
    EXPECT_EQ(m_dialog.m_log[1].kind, "yesno");
    EXPECT_EQ(m_dialog.m_log[1].text, "前回校正日を変更してもよろしいですか。\n"
                                      "変更すると校正予定日が前回校正日の1年後に自動で変更されます。");
    EXPECT_EQ(page.m_pLastDate->text(), "2020年2月29日");
    EXPECT_EQ(page.m_pNextDate->text(), "2021年2月28日");
    EXPECT_EQ(Stored(INI_SECTION_PROPERTY, INI_KEY_NEXT_CALIBRATION_YEAR), "2021");
    EXPECT_EQ(Stored(INI_SECTION_PROPERTY, INI_KEY_NEXT_CALIBRATION_MONTH), "2");
    EXPECT_EQ(Stored(INI_SECTION_PROPERTY, INI_KEY_NEXT_CALIBRATION_DAY), "28");
    // The record is the start-up check's: it changes at the next start only.
    EXPECT_EQ(m_calib.m_nNextYear, 0);

    // The next date alone, without a question.
    page.m_pCalendar->setSelectedDate(QDate(2025, 7, 4));
    QTest::mouseClick(page.m_pChangeNext, Qt::LeftButton);
    EXPECT_EQ(m_dialog.m_log.size(), 2u);
    EXPECT_EQ(page.m_pNextDate->text(), "2025年7月4日");
    EXPECT_EQ(Stored(INI_SECTION_PROPERTY, INI_KEY_NEXT_CALIBRATION_DAY), "4");
}

TEST_F(SettingsPageTest, TheHighlightedDayOnAFreshPageIsTheDayTheButtonStores) {
    CSettingsDlg& page = OpenPage();
    const auto* pGrid = page.m_pCalendar->findChild<QTableView*>();
    ASSERT_NE(pGrid, nullptr);
    const QModelIndexList chosen = pGrid->selectionModel()->selectedIndexes();
    ASSERT_EQ(chosen.size(), 1);
    const QString shown = pGrid->model()->data(chosen.first()).toString();

    QTest::mouseClick(page.m_pChangeNext, Qt::LeftButton);
    EXPECT_EQ(shown, Stored(INI_SECTION_PROPERTY, INI_KEY_NEXT_CALIBRATION_DAY));
    EXPECT_EQ(shown, QString::number(QDate::currentDate().day()));
}

TEST_F(SettingsPageTest, TestInformationIsStoredWhenLeftAndEquipmentAtEveryChange) {
    WriteProfileValue(INI_SECTION_TEST_INFO, INI_KEY_OPTION2_MODEL, "PA-100");
    CSettingsDlg& page = OpenPage();
    // Filling the page fills the record's equipment.
    EXPECT_EQ(m_property.m_aeqOption[1].m_strModel, "PA-100");

    QLineEdit* pCompany = page.m_apTestInfo[0];
    pCompany->setFocus();
    QTest::keyClicks(pCompany, "ACME");
    EXPECT_EQ(Stored(INI_SECTION_TEST_INFO, INI_KEY_COMPANY_NAME), "<missing>");
    page.m_pReconnect->setFocus();
    EXPECT_EQ(Stored(INI_SECTION_TEST_INFO, INI_KEY_COMPANY_NAME), "ACME");
    EXPECT_EQ(m_property.m_strCompanyName, "ACME");

    QLineEdit* pTesterSerial = page.m_apTestInfo[9];
    pTesterSerial->setFocus();
    QTest::keyClicks(pTesterSerial, "S-1");
    EXPECT_EQ(Stored(INI_SECTION_TEST_INFO, INI_KEY_SIMULATOR_SERIAL), "S-1");
    EXPECT_EQ(m_property.m_strSimulatorSerial, "S-1");

    // A field still being typed in when the page goes is not lost.
    pCompany->setFocus();
    QTest::keyClicks(pCompany, " Ltd");
    page.hide();
    EXPECT_EQ(Stored(INI_SECTION_TEST_INFO, INI_KEY_COMPANY_NAME), "ACME Ltd");
}

TEST_F(SettingsPageTest, ReconnectWithoutInstrumentShowsNotConnectedAndNoMessage) {
    CSettingsDlg& page = OpenPage();
    page.window()->setWindowTitle("MANUAL - TORVEX_Pilot 未接続");
    QTest::mouseClick(page.m_pReconnect, Qt::LeftButton);
    EXPECT_EQ(page.m_pConnection->text(), "未接続");
    EXPECT_TRUE(m_dialog.m_log.empty());
    EXPECT_TRUE(m_session.NotConnected());
    EXPECT_EQ(page.window()->windowTitle(), "MANUAL - TORVEX_Pilot 未接続");
}

TEST_F(SettingsPageTest, LanguageIsStoredOnlyWhenTheOperatorChoosesOne) {
    CSettingsDlg& page = OpenPage();
    EXPECT_EQ(page.m_pLanguage->currentData().toString(), "auto");
    EXPECT_EQ(Stored(INI_SECTION_INITIAL_STATE, INI_KEY_LANGUAGE), "<missing>");
    EXPECT_FALSE(RawFile().contains("LANGUAGE"));

    // Chosen from the keyboard: 自動 → 日本語 → English.
    page.m_pLanguage->setFocus();
    QTest::keyClick(page.m_pLanguage, Qt::Key_Down);
    EXPECT_EQ(Stored(INI_SECTION_INITIAL_STATE, INI_KEY_LANGUAGE), "ja");
    QTest::keyClick(page.m_pLanguage, Qt::Key_Down);
    EXPECT_EQ(Stored(INI_SECTION_INITIAL_STATE, INI_KEY_LANGUAGE), "en");

    // The next page shows the stored choice.
    m_page.reset();
    EXPECT_EQ(OpenPage().m_pLanguage->currentData().toString(), "en");
}

// Started in demo mode as a TORVEX-K2; then an instrument is attached.
TEST_F(SettingsPageTest, ReconnectAcceptsOnlyTheModelTheProgramStartedWith) {
    const struct {
        const char* name;
        SimOptions::Model eModel;
        bool bConnected;
    } cases[] = {{"other model", SimOptions::MODEL_K1, false}, {"same model", SimOptions::MODEL_K2, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SimOptions opt;
        opt.eModel = c.eModel;
        CSimulatedPorts ports({opt});
        ASSERT_TRUE(ports.Started());
        m_session.SetNotConnected(true);
        m_dialog.Clear();
        CSettingsDlg& page = OpenPage();
        page.window()->setWindowTitle("MANUAL - TORVEX_Pilot 未接続");

        QTest::mouseClick(page.m_pReconnect, Qt::LeftButton);
        EXPECT_EQ(m_session.IsOpen(), c.bConnected);
        EXPECT_EQ(m_session.NotConnected(), !c.bConnected);
        EXPECT_EQ(page.m_pDemoMode->isHidden(), c.bConnected);
        if (c.bConnected) {
            EXPECT_EQ(page.m_pConnection->text(), "接続");
            EXPECT_TRUE(m_dialog.m_log.empty());
            EXPECT_EQ(page.window()->windowTitle(), "MANUAL - TORVEX_Pilot");
            EXPECT_EQ(Stored(INI_SECTION_MACHINE_TYPE, INI_KEY_MACHINE_TYPE), "1");
            EXPECT_EQ(m_session.HWVersion(), m_session.Link().HWVersion());
        } else {
            EXPECT_EQ(page.m_pConnection->text(), "未接続");
            EXPECT_EQ(m_dialog.Messages(),
                      QStringList{"アプリケーション起動時と機器モデルが異なります。\n"
                                  "接続する場合はアプリケーションを再起動してください。"});
            EXPECT_EQ(page.window()->windowTitle(), "MANUAL - TORVEX_Pilot 未接続");
            EXPECT_EQ(Stored(INI_SECTION_MACHINE_TYPE, INI_KEY_MACHINE_TYPE), "<missing>");
        }
        m_page.reset();
    }
}

TEST(ReconnectTitleTest, OnlyTheNotConnectedMarkIsTakenOff) {
    const struct {
        const char* before;
        const char* after;
    } cases[] = {
        {"MANUAL - TORVEX_Pilot 未接続", "MANUAL - TORVEX_Pilot"},
        {"MANUAL - TORVEX_Pilot", "MANUAL - TORVEX_Pilot"},
        {"my test.tvx - TORVEX_Pilot 未接続", "my test.tvx - TORVEX_Pilot"},
        {"my test", "my test"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TitleAfterReconnect(c.before), c.after) << c.before;
}

} // namespace torvex
