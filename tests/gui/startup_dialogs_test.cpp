#include "config/CalibrationSetting.h"
#include "config/IniKeys.h"
#include "config/Profile.h"
#include "config/SettingsFixture.h"
#include "gui/app/SplashDlg.h"
#include "gui/app/TypeSelectDlg.h"
#include "gui/app/WarmUp.h"
#include "gui/config/NoticeCalibrationDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

namespace torvex {

namespace {

QString Stored(const char* section, const char* key) {
    return ReadProfileValue(section, key, QStringLiteral("<missing>"));
}

} // namespace

// ---- calibration notice ----------------------------------------------------

class NoticeTest : public SettingsFixture {
protected:
    // Periods 30 and 60, both on, due on 15 May, seen on 1 April: 44 days remain.
    void SetUp() override {
        SettingsFixture::SetUp();
        m_now = QDateTime(QDate(2024, 4, 1), QTime(10, 0));
        m_calib.m_nNextYear = 2024;
        m_calib.m_nNextMonth = 5;
        m_calib.m_nNextDay = 15;
        ASSERT_TRUE(m_calib.IsNoticeDue(m_now));
        ASSERT_EQ(m_calib.m_nRemainingDays, 44);
    }
    QDateTime m_now;
    CCalibrationSetting m_calib;
};

TEST_F(NoticeTest, TickedBoxSwitchesOffTheFiredReminderHoweverTheNoticeCloses) {
    struct Case {
        const char* name;
        bool bTick;
        std::function<void(CNoticeCalibrationDlg&)> close;
        bool bExpectSecondOff;
    };
    const Case cases[] = {
        {"ok", true, [](CNoticeCalibrationDlg& d) { d.accept(); }, true},
        {"escape", true, [](CNoticeCalibrationDlg& d) { QTest::keyClick(&d, Qt::Key_Escape); }, true},
        {"close box", true, [](CNoticeCalibrationDlg& d) { d.close(); }, true},
        {"not ticked", false, [](CNoticeCalibrationDlg& d) { d.accept(); }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_calib.SetNotice1(true);
        m_calib.SetNotice2(true);
        CNoticeCalibrationDlg dialog(m_calib, m_now);
        dialog.show();
        if (c.bTick) QTest::mouseClick(dialog.m_pDoNotShowAgain, Qt::LeftButton);
        c.close(dialog);
        EXPECT_FALSE(dialog.isVisible());
        // 30 days does not reach the 44 remaining: the first reminder still fires later.
        EXPECT_TRUE(m_calib.m_bNotice1);
        EXPECT_EQ(m_calib.m_bNotice2, !c.bExpectSecondOff);
        EXPECT_EQ(Stored(INI_SECTION_PROPERTY, INI_KEY_INFORM_CALIBLRAION2),
                  c.bExpectSecondOff ? "OFF" : "ON");
    }
}

TEST_F(NoticeTest, ShowsTheTextsAndTheOverdueLineOnlyAfterTheDueDate) {
    WriteProfileValue(INI_SECTION_MACHINE_TYPE, INI_KEY_MACHINE_TYPE_CALIBRATION, "2");
    {
        CNoticeCalibrationDlg dialog(m_calib, m_now);
        EXPECT_EQ(dialog.windowTitle(), "校正時期お知らせ");
        EXPECT_EQ(dialog.m_pFirstLine->text(), "校正予定日は2024年5月15日です。");
        EXPECT_EQ(dialog.m_pInstrument->text(), "[試験器情報]\n型式: TORVEX-K1\nシリアル番号: 未設定");
        EXPECT_TRUE(dialog.m_pOverdueLine->isHidden());
        EXPECT_EQ(dialog.m_pFirstLine->font().pixelSize(), 16);
        EXPECT_EQ(dialog.m_pContact->font().pixelSize(), 14);
        EXPECT_FALSE(dialog.m_pDoNotShowAgain->isChecked());
    }
    CNoticeCalibrationDlg overdue(m_calib, QDateTime(QDate(2024, 5, 16), QTime(9, 0)));
    EXPECT_FALSE(overdue.m_pOverdueLine->isHidden());
    EXPECT_TRUE(overdue.m_pOverdueLine->text().startsWith("校正予定日を過ぎました。"));
}

// ---- model selection ---------------------------------------------------------

class TypeSelectTest : public SettingsFixture {};

TEST_F(TypeSelectTest, PreselectsTheStoredModelOrTheFirstEntry) {
    const struct {
        const char* stored; // nullptr: no settings file
        int nIndex;
    } cases[] = {{nullptr, 0}, {"1", 0}, {"17", 1}, {"5", 0}, {"abc", 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored ? c.stored : "missing");
        if (c.stored) WriteProfileValue(INI_SECTION_MACHINE_TYPE, INI_KEY_MACHINE_TYPE, c.stored);
        int32_t bNotConnected = 0;
        CTypeSelectDlg dialog(bNotConnected);
        EXPECT_EQ(dialog.m_pModelList->currentIndex(), c.nIndex);
        EXPECT_EQ(dialog.m_pModelList->itemText(0), "TORVEX-K2     ");
        EXPECT_EQ(dialog.m_pModelList->itemText(1), "TORVEX-K1     ");
    }
}

TEST_F(TypeSelectTest, KeepsItsTextsAndPointsToThePortListAndTheManual) {
    int32_t bNotConnected = 0;
    CTypeSelectDlg dialog(bNotConnected);
    QStringList texts;
    for (const QLabel* pLabel : dialog.findChildren<QLabel*>())
        texts << pLabel->text();
    ASSERT_EQ(texts.size(), 6);
    EXPECT_EQ(texts.mid(0, 5),
              QStringList({"TORVEXとの接続に失敗しました。", "電源と通信ケーブルを確認してください。",
                           " １．アプリケーションを起動する場合はモデルを選択して、[デモモード起動]"
                           "ボタンを押してください。",
                           "２．再度TORVEXとの接続を行う場合は[リトライ]ボタンを押してください。",
                           "３．終了する場合は[終了]ﾎﾞﾀﾝを押してください。"}));
    EXPECT_TRUE(texts[5].contains("torvex ports"));
    // The chapter the help names exists in the manual.
    QFile manual(TORVEX_TEST_DATA_DIR "/../docs/manual.ja.md");
    ASSERT_TRUE(manual.open(QIODevice::ReadOnly));
    const QString strManual = QString::fromUtf8(manual.readAll());
    const QString strChapter = texts[5].section("「", 2, 2).section("」", 0, 0);
    ASSERT_FALSE(strChapter.isEmpty());
    EXPECT_TRUE(strManual.contains("\n# " + strChapter + "\n")) << strChapter.toStdString();
    EXPECT_TRUE(strManual.contains("torvex ports"));
}

TEST_F(TypeSelectTest, DemoStoresTheModelAndSetsTheFlag) {
    int32_t bNotConnected = 0;
    CTypeSelectDlg dialog(bNotConnected);
    dialog.show();
    dialog.m_pModelList->setCurrentIndex(1);
    QTest::mouseClick(dialog.findChild<QPushButton*>("demo"), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), CTypeSelectDlg::RESULT_DEMO);
    EXPECT_EQ(dialog.SelectedModelType(), 17);
    EXPECT_EQ(Stored(INI_SECTION_MACHINE_TYPE, INI_KEY_MACHINE_TYPE), "17");
    EXPECT_EQ(bNotConnected, 1);
}

TEST_F(TypeSelectTest, RetryAndExitLeaveSettingsAndFlagAlone) {
    const struct {
        const char* how;
        int nResult;
    } cases[] = {{"retry", CTypeSelectDlg::RESULT_RETRY},
                 {"exit", CTypeSelectDlg::RESULT_EXIT},
                 {"escape", CTypeSelectDlg::RESULT_EXIT},
                 {"close box", CTypeSelectDlg::RESULT_EXIT}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.how);
        int32_t bNotConnected = 0;
        CTypeSelectDlg dialog(bNotConnected);
        dialog.show();
        const QString how = c.how;
        if (how == "escape")
            QTest::keyClick(&dialog, Qt::Key_Escape);
        else if (how == "close box")
            dialog.close();
        else
            QTest::mouseClick(dialog.findChild<QPushButton*>(how), Qt::LeftButton);
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(dialog.result(), c.nResult);
        EXPECT_EQ(bNotConnected, 0);
        EXPECT_EQ(Stored(INI_SECTION_MACHINE_TYPE, INI_KEY_MACHINE_TYPE), "<missing>");
    }
}

// ---- splash ------------------------------------------------------------------

TEST(SplashTest, FirstKeyOrButtonClosesItAndReachesNoOtherWindow) {
    QLineEdit other;
    other.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&other));
    const struct {
        const char* name;
        std::function<void()> press;
    } cases[] = {
        {"key", [&] { QTest::keyClick(&other, Qt::Key_A); }},
        {"shortcut key", [&] { QTest::keyClick(&other, Qt::Key_A, Qt::ControlModifier); }},
        {"right button", [&] { QTest::mouseClick(&other, Qt::RightButton); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto* pSplash = new CSplashDlg;
        QPointer<CSplashDlg> guard(pSplash);
        QSignalSpy closed(pSplash, &CSplashDlg::closed);
        pSplash->ShowSplash();
        ASSERT_EQ(CSplashDlg::Current(), pSplash);
        c.press();
        EXPECT_EQ(closed.count(), 1);
        EXPECT_EQ(CSplashDlg::Current(), nullptr);
        EXPECT_TRUE(other.text().isEmpty());
        QTest::qWait(1); // deferred delete
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(guard.isNull());
        // Once it has gone, input works again.
        QTest::keyClick(&other, Qt::Key_B);
        EXPECT_EQ(other.text(), "b");
        other.clear();
    }
}

TEST(SplashTest, ClosesByItselfAfterItsTime) {
    auto* pSplash = new CSplashDlg;
    QSignalSpy closed(pSplash, &CSplashDlg::closed);
    pSplash->ShowSplash();
    EXPECT_FALSE(closed.wait(CSplashDlg::kShowMilliseconds - 500));
    EXPECT_TRUE(closed.wait(2000));
    EXPECT_EQ(CSplashDlg::Current(), nullptr);
}

// ---- loading ahead -------------------------------------------------------------

// What is loaded ahead is what the application object will load: the X11
// plugin where X11 is the platform, nothing where another one is.
TEST(WarmUpTest, LoadsAheadOnlyWhatTheApplicationWillLoad) {
    const QString dir = QStringLiteral("/plugins");
    const QString xcb = dir + "/platforms/libqxcb.so";
    const QString compose = dir + "/platforminputcontexts/libcomposeplatforminputcontextplugin.so";
    const struct {
        const char* platform;
        const char* session;
        const char* im;
        QStringList files;
    } cases[] = {
        {"", "", "", {xcb, compose}},
        {"", "x11", "compose", {xcb, compose}},
        {"xcb", "wayland", "", {xcb, compose}},
        {"", "x11", "ibus", {xcb}},
        {"", "wayland", "", {}},
        {"wayland", "x11", "", {}},
        {"offscreen", "", "", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.platform) + "/" + c.session + "/" + c.im);
        EXPECT_EQ(PlatformPluginFiles(dir, c.platform, c.session, c.im), c.files);
    }
    // The files named are the ones this Qt installs: a renamed plugin would
    // silently stop being loaded ahead.
    for (const QString& file : PlatformPluginFiles(QLibraryInfo::path(QLibraryInfo::PluginsPath), "xcb", "", ""))
        EXPECT_TRUE(QFileInfo::exists(file)) << file.toStdString();
}

} // namespace torvex
