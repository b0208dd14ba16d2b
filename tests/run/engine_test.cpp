#include "config/TestProperty.h"
#include "files/TabCode.h"
#include "files/TorvexDoc.h"
#include "instrument/RsBasicProtocol.h"
#include "instrument/TorvexCntl.h"
#include "model/StepExpansion.h"
#include "run/RunEngine.h"
#include "session/Session.h"
#include "sim/TorvexSimulator.h"
#include "support/LatencyWatch.h"
#include "support/RecordingRunView.h"
#include "support/ScriptedDialog.h"
#include "support/Wait.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <functional>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace torvex {

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
        m_session = std::make_unique<CSession>(m_dialog);
        m_session->AttachRunView(&m_view);
        m_session->AttachSequenceViews(nullptr, &m_sequenceView);
        // The search is not under test here: a probe that a busy machine let
        // time out (a single attempt of 500 ms) is made once more.
        ASSERT_TRUE(m_session->Connect() || m_session->Connect());
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
        auto c = QObject::connect(m_engine, &CRunEngine::runEnded, [&](RunEnd w) { why = RunEndName(w); });
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
    CRecordingSequenceView m_sequenceView;
    QTemporaryDir m_logDir;
    std::unique_ptr<CSession> m_session;
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
    EXPECT_EQ(m_engine->State(), RunState::Idle);
    EXPECT_TRUE(m_engine->ManualUnchanged()); // nothing started: no confirmation owed
}

TEST_F(EngineTest, PauseResumeAndStopWhilePaused) {
    m_sim->UpdateOptions([](SimOptions& o) { o.dTimeScale = 1.0; });
    MakeManual(Doc().m_settingManual, 1);
    ManualSteps()[0].m_lTestTime = 30;
    Doc().m_settingManual.m_lTestTime = 30;

    QString why;
    QObject::connect(m_engine, &CRunEngine::runEnded, [&](RunEnd w) { why = RunEndName(w); });
    m_engine->OnStart();
    ASSERT_TRUE(WaitFor([&] { return m_engine->State() == RunState::Running && m_view.bStopEnabled; }));
    EXPECT_FALSE(m_view.bPlayFace);
    EXPECT_FALSE(m_view.bUnlocked);

    m_engine->OnStart(); // pause
    ASSERT_TRUE(WaitFor([&] { return m_engine->State() == RunState::Paused; }));
    EXPECT_TRUE(m_view.bPlayFace);
    EXPECT_TRUE(m_view.bLampLit); // steady while paused
    Idle(600);
    EXPECT_TRUE(m_view.bLampLit);

    m_engine->OnStart(); // resume
    ASSERT_TRUE(WaitFor([&] { return m_engine->State() == RunState::Running; }));
    m_engine->OnStart(); // pause again, then STOP
    ASSERT_TRUE(WaitFor([&] { return m_engine->State() == RunState::Paused; }));
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
    EXPECT_EQ(m_sequenceView.pPreview, Doc().m_sequence.Entry(1));

    EXPECT_EQ(RunToEnd(), "between");
    EXPECT_EQ(
        m_dialog.Texts().last(),
        QStringLiteral(
            "No.2のステップ1が終了しました。\n次のステップを実行する場合は試験開始ボタンをクリックしてくだ"
            "さい。また、リストをクリックすることで実行するステップを変更できます。"));
    EXPECT_EQ(RunToEnd(), "finished");
    EXPECT_EQ(Doc().m_sequence.m_nCurEntry, 0);
    EXPECT_EQ(Doc().m_nCurStep, 0);
    EXPECT_EQ(m_sequenceView.pPreview, Doc().m_sequence.Entry(0));
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

// ---------------------------------------------------------------- faults on the line

namespace {

const QString kLost =
    QStringLiteral("TORVEXと通信できません。\n試験器本体の画面でエラー内容を確認してください。");

// What a run has to make of a fault on the line.
enum class Outcome {
    Recovers,  // a repeat of the exchange mends it: the test runs to its end
    LoadFails, // a step's load fails while the line still answers: never started
    LineDies,  // the instrument is gone: the run ends as lost, the panel not connected
};

// A fault at one moment of a run of two steps (500 V, then 600 V). The
// simulator counts every frame from its start, the search's "QA" included.
struct LineFault {
    const char* pszName;
    SimOptions::Fault eFault; // FAULT_NONE: every acknowledgement lost for a while after pszAt
    const char* pszAt;        // frames starting so, or "discharging"
    int nNth;
    Outcome eOutcome;
    bool bIdle = false; // strikes at the idle poll, before START
};

// The moments: idle poll, the step load at START, the run poll, the
// discharge after step 1, the load of step 2 that follows it.
class EngineLineFaultTest : public EngineTest {
protected:
    void SetUp() override {} // every case has an instrument of its own
    void TearDown() override {
        EngineTest::TearDown();
        g_bNotConnected = 0;
    }

    void Check(const LineFault& f) {
        SCOPED_TRACE(f.pszName);
        m_engine = nullptr;
        m_session.reset();
        m_sim.reset();
        m_dialog.Clear();
        m_view = CRecordingRunView();
        SimOptions opt;
        opt.nDischargeMs = 300;
        if (f.eFault == SimOptions::FAULT_NONE) {
            opt.strDropAfter = QString::fromLatin1(f.pszAt);
            opt.nDropAfter = 6; // more than the repeats of one exchange
        } else {
            opt.eFault = f.eFault;
            opt.strFaultAt = QString::fromLatin1(f.pszAt);
            opt.nFaultNth = f.nNth;
        }
        ASSERT_NO_FATAL_FAILURE(Open(opt));
        MakeManual(Doc().m_settingManual, 2);
        // Steps of 0.6 s, long enough for a few run polls.
        for (CExecData& s : ManualSteps())
            s.m_lTestTime = 3;
        auto struck = [&] {
            return m_sim->Options().eFault == SimOptions::FAULT_NONE && m_sim->Options().nDropAfter == 0;
        };

        int nStarted = 0;
        bool bPaused = false;
        QObject context;
        QObject::connect(m_engine, &CRunEngine::stepStarted, &context, [&] { ++nStarted; });
        QObject::connect(m_engine, &CRunEngine::pauseChanged, &context,
                         [&](bool b) { bPaused = bPaused || b; });
        QString why;
        {
            CLatencyWatch watch; // the window's thread never waits on the line
            if (f.bIdle) {
                ASSERT_TRUE(WaitFor(struck, 10000));
            }
            if (f.bIdle && f.eOutcome == Outcome::LineDies) {
                ASSERT_TRUE(WaitFor([] { return g_bNotConnected == 1; }, 15000));
                m_engine->OnStart(); // nothing to talk to
                Idle(300);
            } else {
                why = RunToEnd(40000);
            }
            if (f.eOutcome == Outcome::LineDies) {
                EXPECT_TRUE(WaitFor([] { return g_bNotConnected == 1; }, 15000));
            }
            EXPECT_LT(watch.MaxLateMs(), 2000);
        }
        EXPECT_TRUE(struck());
        const QStringList log = m_sim->CommandLog();
        EXPECT_EQ(log.count("CA"), nStarted) << WithoutPolls(log).join(' ').toStdString();
        // No pause the panel did not see. Where the instrument still answers,
        // the idle poll finds it idle; without it the panel keeps its state.
        EXPECT_FALSE(bPaused);
        EXPECT_NE(m_engine->State(), RunState::Paused);
        if (f.eOutcome != Outcome::LineDies) {
            EXPECT_TRUE(WaitFor([&] { return m_engine->State() == RunState::Idle; }, 5000));
        }
        EXPECT_TRUE(m_view.bUnlocked);

        switch (f.eOutcome) {
        case Outcome::Recovers:
            EXPECT_EQ(why, "finished");
            EXPECT_EQ(nStarted, 2);
            EXPECT_EQ(m_dialog.Texts(), (QStringList{kStart, kFinished}));
            for (CExecData& s : ManualSteps())
                EXPECT_EQ(s.GetText(COL_JUDGE), QStringLiteral("合格"));
            EXPECT_EQ(g_bNotConnected, 0);
            break;
        case Outcome::LoadFails: {
            // Only the steps before the one whose load failed were started, and
            // where the line still answers the output is stopped afterwards.
            EXPECT_EQ(why, "lost");
            EXPECT_EQ(m_dialog.Texts().last(), kLost);
            const QStringList commands = WithoutPolls(log);
            ASSERT_FALSE(commands.isEmpty());
            EXPECT_EQ(commands.last(), "CB");
            EXPECT_EQ(ManualSteps()[size_t(nStarted)].GetText(COL_JUDGE), "------");
            EXPECT_EQ(Doc().m_nCurStep, nStarted); // the next START tries that step again
            break;
        }
        case Outcome::LineDies:
            if (f.bIdle) {
                EXPECT_TRUE(m_dialog.Texts().isEmpty());
                EXPECT_EQ(nStarted, 0);
            } else {
                EXPECT_EQ(why, "lost");
                EXPECT_EQ(m_dialog.Texts().last(), kLost);
            }
            EXPECT_FALSE(m_view.bStartEnabled);
            EXPECT_EQ(m_view.strTitle, QStringLiteral("無題 - TORVEX_Pilot 未接続"));
            break;
        }
    }
};

using F = SimOptions::Fault;
constexpr F kLose = SimOptions::FAULT_LOSE_ANSWER;

} // namespace

// The acknowledgement (or reply) of each exchange of the load at START lost
// once: the repeat mends it, and "CA" is not sent again when its own
// acknowledgement was lost (that would pause the step).
TEST_F(EngineLineFaultTest, LostAcknowledgementOfEachCommandAtStart) {
    const char* commands[] = {"CB", "PC", "PD", "PE", "PF", "PG", "PH", "PI", "PJ", "PO", "CA"};
    for (const char* c : commands)
        Check({c, kLose, c, 1, Outcome::Recovers});
    Check({"QA", kLose, "QA", 2, Outcome::Recovers});
}

TEST_F(EngineLineFaultTest, LostAcknowledgementAtTheOtherMoments) {
    const LineFault cases[] = {
        {"idle QB", kLose, "QB", 2, Outcome::Recovers, true},
        {"idle QM", kLose, "QM", 1, Outcome::Recovers, true},
        {"run poll QB", kLose, "QB", 3, Outcome::Recovers},
        {"run poll QF", kLose, "QF", 2, Outcome::Recovers},
        {"discharge QB", kLose, "discharging", 1, Outcome::Recovers},
        {"next step CB", kLose, "CB", 2, Outcome::Recovers},
        {"next step QA", kLose, "QA", 3, Outcome::Recovers},
        {"next step PD", kLose, "PD", 2, Outcome::Recovers},
        {"next step PO", kLose, "PO", 2, Outcome::Recovers},
        {"next step CA", kLose, "CA", 2, Outcome::Recovers},
    };
    for (const LineFault& f : cases)
        Check(f);
}

// A wrong check byte: a reply the program must ask again for, or a command
// the instrument never took and must get again ("CA" included: the status
// tells that it did not start).
TEST_F(EngineLineFaultTest, BadCheckByte) {
    const F kBad = SimOptions::FAULT_BAD_BCC;
    const LineFault cases[] = {
        {"idle QB", kBad, "QB", 2, Outcome::Recovers, true},
        {"start QA", kBad, "QA", 2, Outcome::Recovers},
        {"start PF", kBad, "PF", 1, Outcome::Recovers},
        {"start CA", kBad, "CA", 1, Outcome::Recovers},
        {"run poll QF", kBad, "QF", 2, Outcome::Recovers},
        {"discharge QB", kBad, "discharging", 1, Outcome::Recovers},
        {"next step CA", kBad, "CA", 2, Outcome::Recovers},
    };
    for (const LineFault& f : cases)
        Check(f);
}

// A load that fails for good while the line still answers: that step never
// starts, the output is stopped, the run ends as lost.
TEST_F(EngineLineFaultTest, FailedLoadIsNeverStarted) {
    Check({"at start, after PD500", SimOptions::FAULT_NONE, "PD500", 1, Outcome::LoadFails});
    Check({"next step, after PD600", SimOptions::FAULT_NONE, "PD600", 1, Outcome::LoadFails});
}

// The instrument falls silent: every moment ends as a lost instrument, never hangs.
TEST_F(EngineLineFaultTest, Silence) {
    const F kSilence = SimOptions::FAULT_SILENCE;
    const LineFault cases[] = {
        {"idle", kSilence, "QM", 2, Outcome::LineDies, true},
        {"start, in the load", kSilence, "PD", 1, Outcome::LineDies},
        {"run poll", kSilence, "QF", 2, Outcome::LineDies},
        {"discharge", kSilence, "discharging", 1, Outcome::LineDies},
        {"next step, in the load", kSilence, "PD", 2, Outcome::LineDies},
    };
    for (const LineFault& f : cases)
        Check(f);
}

TEST_F(EngineLineFaultTest, HangUp) {
    const F kHangUp = SimOptions::FAULT_HANGUP;
    const LineFault cases[] = {
        {"idle", kHangUp, "QM", 2, Outcome::LineDies, true},
        {"start, in the load", kHangUp, "PD", 1, Outcome::LineDies},
        {"start, at CA", kHangUp, "CA", 1, Outcome::LineDies},
        {"run poll", kHangUp, "QF", 2, Outcome::LineDies},
        {"discharge", kHangUp, "discharging", 1, Outcome::LineDies},
        {"next step, in the load", kHangUp, "PD", 2, Outcome::LineDies},
        {"next step, at CA", kHangUp, "CA", 2, Outcome::LineDies},
    };
    for (const LineFault& f : cases)
        Check(f);
}

} // namespace torvex
