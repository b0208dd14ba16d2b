#include "config/TestProperty.h"
#include "files/TabCode.h"
#include "files/TorvexDoc.h"
#include "instrument/RsBasicProtocol.h"
#include "instrument/TorvexCntl.h"
#include "model/StepExpansion.h"
#include "run/RunEngine.h"
#include "session/Session.h"
#include "sim/TorvexSimulator.h"
#include "support/RecordingRunView.h"
#include "support/ScriptedDialog.h"
#include "support/Wait.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <functional>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;

namespace {

const QString kStart = QStringLiteral("試験を開始します。");
const QString kFinished = QStringLiteral("試験が終了しました。");
const QString kStopped = QStringLiteral("試験を停止しました。");

// The commands of a stream without the polling queries.
QStringList WithoutPolls(const QStringList& log) {
    QStringList out;
    for (const QString& c : log)
        if (c != "QB" && c != "QM" && c != "QF") out << c;
    return out;
}

// A condition of n steps of 1 s each, differing by voltage.
void MakeManual(CSettingData& c, int nVoltages) {
    c.m_lTestTime = 1;
    c.m_valVolt.m_nValueType = VALUE_VARIABLE;
    for (int i = 0; i < 5; ++i) {
        c.m_valVolt.m_abUse[i] = i < nVoltages;
        c.m_valVolt.m_alValue[i] = 500 + 100 * i;
    }
    ExpandSteps(c);
}

QStringList StepCommands(CExecData s) {
    QStringList out = {"CB", "QA"};
    out << QString("PC%1").arg(s.m_nPola) << QString("PD%1").arg(s.m_lVolt)
        << QString("PE%1").arg(s.m_lFreq / 10)
        << QString("PF%1/%2/%3")
               .arg(s.m_lTestTime / 3600)
               .arg(s.m_lTestTime % 3600 / 60)
               .arg(s.m_lTestTime % 60)
        << QString("PG%1").arg(s.m_lBurstPeriod) << QString("PH%1").arg(s.m_lPulseCount)
        << QString("PI0%1%2").arg(QChar(0x20 | (s.m_ulInjLine & 0xFF))).arg(s.m_nOutputDetail)
        << QString("PJ%1").arg(s.m_nSync) << "PO0"
        << "CA";
    return out;
}

class EngineTest : public ::testing::Test {
protected:
    void SetUp() override { Open(SimOptions{}); }

    void Open(SimOptions opt) {
        if (opt.dTimeScale == 1.0) opt.dTimeScale = 5.0; // a 1 s step passes in 0.2 s
        m_sim = std::make_unique<CTorvexSimulator>(opt);
        ASSERT_TRUE(m_sim->Start());
        qputenv("TORVEX_PORTS_ONLY", "1");
        CRsBasicProtocol::SetExtraPorts({m_sim->DevicePath()});
        m_session = std::make_unique<torvex::CSession>(m_dialog);
        m_session->AttachRunView(&m_view);
        ASSERT_TRUE(m_session->Connect());
        m_session->SetNotConnected(false);
        m_session->SetMachineType(MODEL_K2);
        Doc().OnNewDocument();
        Doc().SetTab(TAB_MANUAL);
        m_view.strTitle = QStringLiteral("無題 - TORVEX_Pilot");
        m_engine = &m_session->Engine();
        ASSERT_TRUE(m_logDir.isValid());
        m_engine->SetLogFolderOverride(m_logDir.path() + "/");
        m_engine->Start();
        m_engine->SetMode(MODE_MANUAL);
        m_sim->ClearLog();
    }

    void TearDown() override {
        m_engine = nullptr;
        m_session.reset();
        m_sim.reset();
    }

    // START as the operator presses it, and wait until the run is over.
    QString RunToEnd(int ms = 20000) {
        QString why;
        auto c = QObject::connect(m_engine, &CRunEngine::runEnded,
                                  [&](torvex::RunEnd w) { why = torvex::RunEndName(w); });
        m_engine->OnStart();
        WaitFor([&] { return !why.isEmpty(); }, ms);
        QObject::disconnect(c);
        return why;
    }

    std::vector<CExecData>& ManualSteps() { return Doc().m_settingManual.m_listExec; }

    CTorvexDoc& Doc() { return m_session->Doc(); }
    // The engine has done the work asked of it (its exchanges are answered).
    bool Settled() {
        return WaitFor([&] { return !m_engine->IsBusy(); }, 5000);
    }

    // Runs an exchange of the test's own on the instrument thread and waits for it.
    template <class R> R OnInstrument(std::function<R(CTorvexCntl&)> job) {
        return m_session->Instrument().Run<R>(std::move(job));
    }

    std::unique_ptr<CTorvexSimulator> m_sim;
    CScriptedDialog m_dialog;
    CRecordingRunView m_view;
    QTemporaryDir m_logDir;
    std::unique_ptr<torvex::CSession> m_session;
    CRunEngine* m_engine = nullptr;
};

} // namespace

TEST_F(EngineTest, ThreeStepManualRunSendsTheExactStream) {
    MakeManual(Doc().m_settingManual, 3);
    ASSERT_EQ(ManualSteps().size(), 3u);
    // Behind the end-of-test message START shows its play face again and the
    // bars stand full.
    bool bPlayFaceAtEnd = false;
    CRunProgress progressAtEnd;
    m_dialog.m_fnOnMessage = [&](const QString& strText) {
        if (strText != kFinished) return;
        bPlayFaceAtEnd = m_view.bPlayFace;
        progressAtEnd = m_engine->Progress();
    };
    EXPECT_EQ(RunToEnd(), "finished");
    EXPECT_TRUE(bPlayFaceAtEnd);
    EXPECT_EQ(progressAtEnd.nStepsDone, 3);
    EXPECT_EQ(progressAtEnd.lTimeDone, progressAtEnd.lTimeTotal);

    QStringList expected;
    for (const CExecData& s : ManualSteps())
        expected << StepCommands(s);
    EXPECT_EQ(WithoutPolls(m_sim->CommandLog()), expected);
    for (CExecData& s : ManualSteps())
        EXPECT_EQ(s.GetText(COL_JUDGE), QStringLiteral("合格"));
    EXPECT_EQ(m_dialog.Texts(), (QStringList{kStart, kFinished}));
    EXPECT_EQ(Doc().m_nCurStep, 0);
    EXPECT_TRUE(m_view.bUnlocked);
    EXPECT_NE(m_session->Property().m_timeStartManual, 0);
    EXPECT_FALSE(m_engine->ManualUnchanged());
    // The log of this version was written once, into the log folder.
    EXPECT_EQ(QDir(m_logDir.path()).entryList({"*.tvx"}).size(), 1);
}

TEST_F(EngineTest, CancelledStartLeavesTheStepLoadedButNotStarted) {
    MakeManual(Doc().m_settingManual, 1);
    m_dialog.QueueAnswer(COperatorDialog::Cancel);
    m_engine->OnStart();
    Idle(300);
    QStringList cmds = WithoutPolls(m_sim->CommandLog());
    ASSERT_FALSE(cmds.isEmpty());
    EXPECT_EQ(cmds.first(), "CB");
    EXPECT_FALSE(cmds.contains("CA"));
    EXPECT_EQ(m_engine->State(), torvex::RunState::Idle);
    EXPECT_TRUE(m_engine->ManualUnchanged()); // nothing started: no confirmation owed
}

TEST_F(EngineTest, PauseResumeAndStopWhilePaused) {
    m_sim->UpdateOptions([](SimOptions& o) { o.dTimeScale = 1.0; });
    MakeManual(Doc().m_settingManual, 1);
    ManualSteps()[0].m_lTestTime = 30;
    Doc().m_settingManual.m_lTestTime = 30;

    QString why;
    QObject::connect(m_engine, &CRunEngine::runEnded, [&](torvex::RunEnd w) { why = torvex::RunEndName(w); });
    m_engine->OnStart();
    ASSERT_TRUE(
        WaitFor([&] { return m_engine->State() == torvex::RunState::Running && m_view.bStopEnabled; }));
    EXPECT_FALSE(m_view.bPlayFace);
    EXPECT_FALSE(m_view.bUnlocked);

    m_engine->OnStart(); // pause
    ASSERT_TRUE(WaitFor([&] { return m_engine->State() == torvex::RunState::Paused; }));
    EXPECT_TRUE(m_view.bPlayFace);
    EXPECT_TRUE(m_view.bLampLit); // steady while paused
    Idle(600);
    EXPECT_TRUE(m_view.bLampLit);

    m_engine->OnStart(); // resume
    ASSERT_TRUE(WaitFor([&] { return m_engine->State() == torvex::RunState::Running; }));
    m_engine->OnStart(); // pause again, then STOP
    ASSERT_TRUE(WaitFor([&] { return m_engine->State() == torvex::RunState::Paused; }));
    m_engine->OnStop();
    ASSERT_TRUE(WaitFor([&] { return !why.isEmpty(); }));
    EXPECT_EQ(why, "stopped");
    EXPECT_EQ(m_dialog.Texts().last(), kStopped);
    EXPECT_EQ(ManualSteps()[0].GetText(COL_JUDGE), "------");
    EXPECT_EQ(WithoutPolls(m_sim->CommandLog()).mid(12),
              (QStringList{"CA", "CA", "CA", "CB"})); // pause, resume, pause, stop
    EXPECT_FALSE(m_view.bLampLit);
    EXPECT_TRUE(m_view.bUnlocked);
}

TEST_F(EngineTest, StopEveryStepAcrossTwoSequenceEntries) {
    for (int e = 0; e < 2; ++e) {
        auto cond = std::make_unique<CSettingData>();
        MakeManual(*cond, e == 0 ? 3 : 2);
        cond->m_strTestName = QString("entry%1").arg(e + 1);
        Doc().m_sequence.AddEntry(std::move(cond));
    }
    Doc().SetTab(TAB_SEQUENCE);
    m_engine->SetMode(MODE_SEQUENCE);
    m_engine->SetStopEveryStep(1);
    Doc().m_sequence.Select(0);
    Doc().m_nCurStep = 2; // last step of entry 1

    EXPECT_EQ(RunToEnd(), "between");
    EXPECT_EQ(
        m_dialog.Texts().last(),
        QStringLiteral(
            "No.1のステップ3が終了しました。\n次のステップを実行する場合は試験開始ボタンをクリックしてくだ"
            "さい。また、リストをクリックすることで実行するステップを変更できます。"));
    EXPECT_EQ(Doc().m_sequence.m_nCurEntry, 1); // the cursor stands on the next entry
    EXPECT_EQ(Doc().m_nCurStep, 0);
    EXPECT_EQ(m_view.nShownEntry, 1);

    EXPECT_EQ(RunToEnd(), "between");
    EXPECT_EQ(
        m_dialog.Texts().last(),
        QStringLiteral(
            "No.2のステップ1が終了しました。\n次のステップを実行する場合は試験開始ボタンをクリックしてくだ"
            "さい。また、リストをクリックすることで実行するステップを変更できます。"));
    EXPECT_EQ(RunToEnd(), "finished");
    EXPECT_EQ(Doc().m_sequence.m_nCurEntry, 0);
    EXPECT_EQ(Doc().m_nCurStep, 0);
    EXPECT_EQ(m_view.nShownEntry, 0);
    // One sequence log, written at the first start of this list.
    EXPECT_EQ(QDir(m_logDir.path()).entryList({"*.tvxs"}).size(), 1);
}

TEST_F(EngineTest, DischargingHoldsTheNextStep) {
    m_sim->UpdateOptions([](SimOptions& o) { o.nDischargeMs = 700; });
    MakeManual(Doc().m_settingManual, 2);
    EXPECT_EQ(RunToEnd(), "finished");
    // Step 1's row is refreshed (judged) at every tick while the instrument
    // discharges, and step 2 starts only afterwards.
    const QStringList log = m_sim->CommandLog();
    const int firstCa = log.indexOf("CA");
    const int secondCa = log.indexOf("CA", firstCa + 1);
    ASSERT_GT(secondCa, firstCa);
    EXPECT_GE(log.mid(firstCa, secondCa - firstCa).count("QB"), 4);
    EXPECT_GE(m_view.log.count("row 0"), 3);
    EXPECT_EQ(ManualSteps()[1].GetText(COL_JUDGE), QStringLiteral("合格"));
}

TEST_F(EngineTest, ErrorWhileRunningIsShownAndAcknowledged) {
    m_sim->UpdateOptions([](SimOptions& o) {
        o.nErrorCode = 5;
        o.nErrorAtMs = 50;
        o.eErrorMode = SimOptions::ERROR_RUNNING;
        o.dTimeScale = 2.0;
    });
    MakeManual(Doc().m_settingManual, 1);
    EXPECT_EQ(RunToEnd(), "finished");
    EXPECT_TRUE(m_dialog.Texts().contains(CTorvexCntl::ErrorMessage(5)));
    EXPECT_TRUE(m_sim->CommandLog().contains("PN"));
    EXPECT_EQ(ManualSteps()[0].GetText(COL_JUDGE), QStringLiteral("合格"));
}

TEST_F(EngineTest, ErrorThatEndsTheTestIsAcknowledged) {
    m_sim->UpdateOptions([](SimOptions& o) {
        o.nErrorCode = 7;
        o.nErrorAtMs = 50;
        o.eErrorMode = SimOptions::ERROR_RUNNING_ENDED;
        o.dTimeScale = 1.0;
    });
    MakeManual(Doc().m_settingManual, 2);
    EXPECT_EQ(RunToEnd(), "error");
    EXPECT_EQ(m_dialog.Texts().last(), CTorvexCntl::ErrorMessage(7));
    EXPECT_TRUE(m_sim->CommandLog().contains("PN"));
    EXPECT_EQ(ManualSteps()[0].GetText(COL_JUDGE), "------");
    EXPECT_EQ(Doc().m_nCurStep, 0);
    EXPECT_TRUE(m_view.bUnlocked);
}

TEST_F(EngineTest, IdleErrorIsShownOncePerCode) {
    m_sim->UpdateOptions([](SimOptions& o) {
        o.nErrorCode = 8;
        o.nErrorAtMs = 1;
        o.eErrorMode = SimOptions::ERROR_IDLE;
    });
    ASSERT_TRUE(WaitFor([&] { return !m_dialog.Messages().isEmpty(); }));
    Idle(1200); // several more idle polls see the same code
    EXPECT_EQ(m_dialog.Messages(), QStringList{CTorvexCntl::ErrorMessage(8)});
    EXPECT_FALSE(m_sim->CommandLog().contains("PN"));
}

TEST_F(EngineTest, HangUpDuringARun) {
    m_sim->UpdateOptions([](SimOptions& o) {
        o.dTimeScale = 1.0;
        o.nHangupAtMs = 800;
    });
    MakeManual(Doc().m_settingManual, 2);
    Doc().m_settingManual.m_lTestTime = 10;
    for (CExecData& s : ManualSteps())
        s.m_lTestTime = 10;
    EXPECT_EQ(RunToEnd(), "lost");
    EXPECT_EQ(m_dialog.Texts().last(),
              QStringLiteral("TORVEXと通信できません。\n試験器本体の画面でエラー内容を確認してください。"));
    EXPECT_TRUE(m_view.bUnlocked);
    ASSERT_TRUE(WaitFor([&] { return g_bNotConnected == 1; }));
    EXPECT_EQ(m_view.strTitle, QStringLiteral("無題 - TORVEX_Pilot 未接続"));
    EXPECT_EQ(m_view.nNotConnectedShown, 1);
    EXPECT_FALSE(m_view.bStartEnabled);
    EXPECT_TRUE(m_view.bLineDimmed);
}

TEST_F(EngineTest, ATestThePanelDidNotStartIsStopped) {
    CExecData step;
    step.m_lTestTime = 30;
    m_sim->UpdateOptions([](SimOptions& o) { o.dTimeScale = 1.0; });
    ASSERT_TRUE(OnInstrument<bool>([&](CTorvexCntl& c) { return c.SendStep(step) && c.StartOutput(); }));
    m_sim->ClearLog();
    ASSERT_TRUE(WaitFor([&] { return !m_dialog.Messages().isEmpty(); }));
    EXPECT_EQ(m_dialog.Messages().first(), QStringLiteral("エラーが発生したため試験を停止しました。"));
    EXPECT_TRUE(m_sim->CommandLog().contains("CB"));
    uint8_t s = 0xFF;
    ASSERT_TRUE(OnInstrument<bool>([&](CTorvexCntl& c) { return c.GetStatus(s); }));
    EXPECT_EQ(s & STATUS_RUNNING, 0);
}

TEST_F(EngineTest, DemoModeExchangesNothing) {
    m_session->SetNotConnected(true);
    Idle(300);
    m_sim->ClearLog();
    MakeManual(Doc().m_settingManual, 1);
    m_engine->OnStart();
    m_engine->OnLineClick();
    Idle(700);
    EXPECT_TRUE(m_sim->CommandLog().isEmpty());
    EXPECT_FALSE(m_view.bStartEnabled);
    EXPECT_FALSE(m_view.bStopEnabled);
    EXPECT_EQ(m_view.strTitle, QStringLiteral("無題 - TORVEX_Pilot 未接続")); // marked once
    EXPECT_TRUE(m_dialog.Texts().isEmpty());
}

TEST_F(EngineTest, TestLogOncePerVersionAndARefusedStartTriesAgain) {
    MakeManual(Doc().m_settingManual, 1);
    const QString good = m_engine->LogFolderOverride();
    m_engine->SetLogFolderOverride(m_logDir.path() + "/missing/folder/");
    EXPECT_TRUE(RunToEnd(2000).isEmpty()); // refused: no run at all
    EXPECT_EQ(m_dialog.Texts().last(), QStringLiteral("SETTINGSタブの試験ログ保存設定を確認してください。"));
    EXPECT_FALSE(WithoutPolls(m_sim->CommandLog()).contains("CA"));

    m_engine->SetLogFolderOverride(good);
    EXPECT_EQ(RunToEnd(), "finished"); // the same condition: the log is still owed
    EXPECT_EQ(QDir(m_logDir.path()).entryList({"*.tvx"}).size(), 1);
    EXPECT_EQ(RunToEnd(), "finished");
    EXPECT_EQ(QDir(m_logDir.path()).entryList({"*.tvx"}).size(), 1); // unchanged: no new log
    EXPECT_EQ(Doc().Title(), QStringLiteral("無題"));
    EXPECT_EQ(Doc().m_settingManual.m_strTestName, QStringLiteral("無題"));
}

TEST_F(EngineTest, ReadoutsFollowTheSteps) {
    MakeManual(Doc().m_settingManual, 3);
    for (CExecData& s : ManualSteps())
        s.m_lTestTime = 60;
    m_engine->ShowConditionTimes(ManualSteps());
    EXPECT_EQ(m_engine->ShownTotal(), 180);
    EXPECT_EQ(m_engine->ShownRemaining(), 190);
    Doc().m_nCurStep = 2;
    m_engine->ShowConditionTimes(ManualSteps());
    EXPECT_EQ(m_engine->ShownTotal(), 60);
    EXPECT_EQ(m_engine->ShownRemaining(), 60);
    EXPECT_EQ(m_view.readouts[READOUT_TOTAL], (CReadout{false, "0", " 1", " 0"}));

    m_engine->SetHourLimit(24);
    std::vector<CExecData> day(1);
    day[0].m_lTestTime = 86400;
    Doc().m_nCurStep = 0;
    m_engine->ShowConditionTimes(day);
    EXPECT_TRUE(m_view.readouts[READOUT_TOTAL].bOverLimit);
    EXPECT_FALSE(m_view.readouts[READOUT_TEST_TIME].bOverLimit);

    m_engine->ClearTimes(true, true);
    EXPECT_EQ(m_view.readouts[READOUT_REMAINING], (CReadout{false, "0", " 0", " 0"}));
}

TEST_F(EngineTest, LineSwitchAsksBeforeSwitchingOn) {
    m_engine->OnLineClick();
    ASSERT_TRUE(Settled());
    EXPECT_EQ(m_dialog.Texts(), QStringList{QStringLiteral("EUT LINE を ON にします。\nよろしいですか？")});
    EXPECT_TRUE(m_view.bLineOn);
    EXPECT_THAT(WithoutPolls(m_sim->CommandLog()), ElementsAre("CB", "CC"));
    m_sim->ClearLog();
    m_engine->OnLineClick(); // off: no question
    ASSERT_TRUE(Settled());
    EXPECT_EQ(m_dialog.Texts().size(), 1);
    EXPECT_FALSE(m_view.bLineOn);
    EXPECT_THAT(WithoutPolls(m_sim->CommandLog()), ElementsAre("CB", "CD"));
}
