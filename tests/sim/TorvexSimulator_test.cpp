#include "instrument/TorvexCntl.h"
#include "sim/SimOptions.h"
#include "support/SimulatedPort.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

namespace torvex {

namespace {

// The simulated instrument as the run engine sees it: through the command set.
class SimulatorTest : public ::testing::Test {
protected:
    void Begin(const SimOptions& opt) {
        m_pPorts.reset();
        m_pPorts = std::make_unique<CSimulatedPorts>(std::vector<SimOptions>{opt});
        ASSERT_TRUE(m_pPorts->Started());
        ASSERT_TRUE(m_cntl.Connect());
    }
    uint8_t Status() {
        uint8_t s = 0xFF;
        EXPECT_TRUE(m_cntl.GetStatus(s));
        return s;
    }
    int32_t Remaining() {
        int32_t n = -1;
        EXPECT_TRUE(m_cntl.GetTestTime(n));
        return n;
    }
    int32_t ErrorCode() {
        int32_t n = -1;
        EXPECT_TRUE(m_cntl.GetErrorCode(n));
        return n;
    }
    // Polls the status until it matches; the last status read.
    uint8_t WaitStatus(uint8_t ucMask, uint8_t ucValue) {
        QDeadlineTimer deadline(5000);
        uint8_t s = Status();
        while ((s & ucMask) != ucValue && !deadline.hasExpired()) {
            QThread::msleep(20);
            s = Status();
        }
        return s;
    }
    bool LoadStep(int32_t lSeconds) {
        CExecData step;
        step.m_lTestTime = lSeconds;
        return m_cntl.SendStep(step);
    }

    std::unique_ptr<CSimulatedPorts> m_pPorts;
    CTorvexCntl m_cntl{false};
};

TEST_F(SimulatorTest, StepRunsCompletesAndDischarges) {
    SimOptions opt;
    opt.dTimeScale = 20; // 20 s pass in 1 s
    opt.nDischargeMs = 1000;
    Begin(opt);
    EXPECT_EQ(Status(), 0x00);
    EXPECT_EQ(Remaining(), 0);
    ASSERT_TRUE(m_cntl.SetLine(true));
    ASSERT_TRUE(LoadStep(20));
    ASSERT_TRUE(m_cntl.StartOutput());
    EXPECT_EQ(Status() & ~STATUS_COMPLETE, STATUS_RUNNING | STATUS_LINE_ON);
    const int32_t nLeft = Remaining();
    EXPECT_GT(nLeft, 0);
    EXPECT_LE(nLeft, 20);

    EXPECT_EQ(WaitStatus(STATUS_RUNNING, 0), STATUS_COMPLETE | STATUS_DISCHARGING | STATUS_LINE_ON);
    EXPECT_EQ(Remaining(), 0);
    ASSERT_TRUE(m_cntl.StartOutput()); // refused while discharging
    EXPECT_EQ(WaitStatus(STATUS_DISCHARGING, 0), STATUS_COMPLETE | STATUS_LINE_ON);
    ASSERT_TRUE(m_cntl.StopOutput());
    ASSERT_TRUE(m_cntl.SetLine(false));
    EXPECT_EQ(Status(), 0x00);
}

TEST_F(SimulatorTest, PauseFreezesTheRemainingTimeAndStopEndsWithoutCompletion) {
    SimOptions opt;
    opt.dTimeScale = 100;
    Begin(opt);
    ASSERT_TRUE(LoadStep(3600));
    ASSERT_TRUE(m_cntl.StartOutput());
    QThread::msleep(100);
    ASSERT_TRUE(m_cntl.StartOutput());
    EXPECT_EQ(Status(), STATUS_RUNNING | STATUS_PAUSED);
    const int32_t nPaused = Remaining();
    EXPECT_LT(nPaused, 3600);
    QThread::msleep(150);
    EXPECT_EQ(Remaining(), nPaused);
    ASSERT_TRUE(m_cntl.StartOutput());
    EXPECT_EQ(Status(), STATUS_RUNNING);
    QThread::msleep(150);
    EXPECT_LT(Remaining(), nPaused);
    ASSERT_TRUE(m_cntl.StopOutput());
    EXPECT_EQ(Status(), 0x00);
}

TEST_F(SimulatorTest, StartDelayHoldsTheCountdownNotTheRunningBit) {
    SimOptions opt;
    opt.nStartDelayMs = 10000;
    opt.dTimeScale = 1000;
    Begin(opt);
    ASSERT_TRUE(LoadStep(60));
    ASSERT_TRUE(m_cntl.StartOutput());
    QThread::msleep(50);
    EXPECT_EQ(Status(), STATUS_RUNNING);
    EXPECT_EQ(Remaining(), 60);
}

TEST_F(SimulatorTest, StartNeedsALoadedStep) {
    Begin(SimOptions());
    ASSERT_TRUE(m_cntl.StartOutput());
    EXPECT_EQ(Status(), 0x00);
}

TEST_F(SimulatorTest, ErrorsSetTheBitUntilCleared) {
    struct Case {
        const char* pszName;
        SimOptions::ErrorMode eMode;
        int nCode;
        bool bEutFail;
        uint8_t ucWithError;  // status once the error is there
        uint8_t ucAfterClear; // status after PN
    } cases[] = {
        {"idle", SimOptions::ERROR_IDLE, 1, false, STATUS_ERROR, 0x00},
        {"running", SimOptions::ERROR_RUNNING, 5, false, STATUS_RUNNING | STATUS_ERROR, STATUS_RUNNING},
        {"running, output ends", SimOptions::ERROR_RUNNING_ENDED, 7, false, STATUS_ERROR, 0x00},
        {"EUT FAIL", SimOptions::ERROR_IDLE, 6, true, STATUS_ERROR, 0x00},
    };
    for (const Case& c : cases) {
        SimOptions opt;
        if (c.bEutFail) {
            opt.nEutFailAtMs = 50;
        } else {
            opt.nErrorCode = c.nCode;
            opt.eErrorMode = c.eMode;
        }
        Begin(opt);
        ASSERT_TRUE(LoadStep(3600)) << c.pszName;
        if (c.eMode != SimOptions::ERROR_IDLE || c.bEutFail) {
            ASSERT_TRUE(m_cntl.StartOutput()) << c.pszName;
        }
        EXPECT_EQ(WaitStatus(STATUS_ERROR, STATUS_ERROR), c.ucWithError) << c.pszName;
        EXPECT_EQ(ErrorCode(), c.nCode) << c.pszName;
        if (c.eMode == SimOptions::ERROR_IDLE) {
            ASSERT_TRUE(m_cntl.StartOutput()); // no start while an error is pending
            EXPECT_EQ(Status(), c.ucWithError) << c.pszName;
        }
        ASSERT_TRUE(m_cntl.ClearError()) << c.pszName;
        EXPECT_EQ(Status(), c.ucAfterClear) << c.pszName;
        EXPECT_EQ(ErrorCode(), 0) << c.pszName;
        m_cntl.m_protocol.ClosePort();
    }
}

// A fault strikes once, at the chosen frame: here the second "CC", or the
// first frame while the instrument discharges. Single attempts, so each
// exchange shows what the line did.
TEST_F(SimulatorTest, AFaultStrikesOnceAtItsFrame) {
    struct Case {
        const char* pszName;
        SimOptions::Fault eFault;
        const char* pszAt;
        bool bStruckOk;    // the exchange the fault strikes succeeds
        int nTaken;        // "CC" frames the instrument took by then
        bool bAfterwardOk; // the next exchange succeeds
    } cases[] = {
        {"acknowledgement lost", SimOptions::FAULT_LOSE_ANSWER, "CC", false, 2, true},
        {"command damaged", SimOptions::FAULT_BAD_BCC, "CC", false, 1, true},
        {"silence", SimOptions::FAULT_SILENCE, "CC", false, 1, false},
        {"hang-up", SimOptions::FAULT_HANGUP, "CC", true, 2, false},
        {"reply damaged while discharging", SimOptions::FAULT_BAD_BCC, "discharging", false, 1, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        SimOptions opt;
        opt.dTimeScale = 1000;
        opt.nDischargeMs = 5000;
        opt.eFault = c.eFault;
        opt.strFaultAt = QString::fromLatin1(c.pszAt);
        opt.nFaultNth = qstrcmp(c.pszAt, "CC") == 0 ? 2 : 1;
        Begin(opt);
        CTorvexSimulator& sim = (*m_pPorts)[0];
        m_cntl.m_protocol.m_nRetry = 0;
        ASSERT_TRUE(m_cntl.SetLine(true));
        bool bStruckOk = false;
        if (opt.nFaultNth == 2) {
            bStruckOk = m_cntl.SetLine(true);
        } else {
            ASSERT_TRUE(LoadStep(1));
            ASSERT_TRUE(m_cntl.StartOutput());
            QThread::msleep(50); // the step is over: the instrument discharges
            uint8_t s = 0;
            bStruckOk = m_cntl.GetStatus(s);
        }
        EXPECT_EQ(bStruckOk, c.bStruckOk);
        if (c.eFault == SimOptions::FAULT_HANGUP) {
            EXPECT_TRUE(WaitHungUp(sim));
        }
        EXPECT_EQ(sim.CommandLog().count("CC"), c.nTaken);
        uint8_t s = 0;
        EXPECT_EQ(m_cntl.GetStatus(s), c.bAfterwardOk);
        if (c.bAfterwardOk) {
            EXPECT_EQ(s & STATUS_LINE_ON, STATUS_LINE_ON);
        }
        EXPECT_EQ(sim.Options().eFault, SimOptions::FAULT_NONE); // once only
        m_cntl.m_protocol.ClosePort();
    }
}

TEST_F(SimulatorTest, HangupAtATimeDropsTheLine) {
    Begin(SimOptions());
    (*m_pPorts)[0].UpdateOptions([](SimOptions& o) { o.nHangupAtMs = 1; });
    EXPECT_TRUE(WaitHungUp((*m_pPorts)[0]));
    uint8_t s = 0;
    EXPECT_FALSE(m_cntl.GetStatus(s));
}

// The log handed out shares no buffer with the serving thread, which goes on
// appending to its own while the caller reads the copy.
TEST_F(SimulatorTest, CommandLogIsACopyOfItsOwn) {
    Begin(SimOptions());
    CTorvexSimulator& sim = (*m_pPorts)[0];
    ASSERT_TRUE(m_cntl.ClearError());
    const QStringList log = sim.CommandLog();
    ASSERT_EQ(log.size(), 2) << log.join(' ').toStdString(); // the connection's QT, then PN
    EXPECT_TRUE(log.isDetached());
    for (const QString& str : log)
        EXPECT_TRUE(str.isDetached()) << str.toStdString();
    EXPECT_EQ(sim.CommandLog(1), QStringList{"PN"});
    EXPECT_TRUE(sim.CommandLog(2).isEmpty());

    ASSERT_TRUE(m_cntl.StopOutput());
    EXPECT_EQ(log.size(), 2);
    EXPECT_EQ(sim.CommandLog().last(), "CB");
}

TEST(SimOptionsTest, ParsesEveryOptionAndListsIt) {
    const QStringList args = {"--model",
                              "K1",
                              "--identity",
                              "X",
                              "--reply",
                              "QB=QB20",
                              "--time-scale",
                              "60",
                              "--discharge-ms",
                              "500",
                              "--start-delay-ms",
                              "200",
                              "--silent",
                              "--drop-acks",
                              "2",
                              "--late-ack-ms",
                              "700",
                              "--bad-bcc",
                              "3",
                              "--stray-bytes",
                              "4",
                              "--slow-bytes-ms",
                              "20",
                              "--hangup-after",
                              "9",
                              "--hangup-at-ms",
                              "1000",
                              "--error-ending",
                              "5@300",
                              "--eut-fail-ms",
                              "250",
                              "--fault",
                              "hangup:discharging:2",
                              "--log",
                              "cmd.log"};
    SimOptions o;
    QString strError;
    ASSERT_TRUE(ParseSimOptions(args, o, strError)) << strError.toStdString();
    EXPECT_EQ(o.eModel, SimOptions::MODEL_K1);
    EXPECT_EQ(o.strIdentity, "X");
    EXPECT_EQ(o.mapReplies.value("QB"), "QB20");
    EXPECT_EQ(o.dTimeScale, 60);
    EXPECT_EQ(o.nDischargeMs, 500);
    EXPECT_EQ(o.nStartDelayMs, 200);
    EXPECT_TRUE(o.bSilent);
    EXPECT_EQ(o.nDropAcks, 2);
    EXPECT_EQ(o.nLateAckMs, 700);
    EXPECT_EQ(o.nBadBccReplies, 3);
    EXPECT_EQ(o.nStrayBytes, 4);
    EXPECT_EQ(o.nSlowByteMs, 20);
    EXPECT_EQ(o.nHangupAfter, 9);
    EXPECT_EQ(o.nHangupAtMs, 1000);
    EXPECT_EQ(o.nErrorCode, 5);
    EXPECT_EQ(o.nErrorAtMs, 300);
    EXPECT_EQ(o.eErrorMode, SimOptions::ERROR_RUNNING_ENDED);
    EXPECT_EQ(o.nEutFailAtMs, 250);
    EXPECT_EQ(o.eFault, SimOptions::FAULT_HANGUP);
    EXPECT_EQ(o.strFaultAt, "discharging");
    EXPECT_EQ(o.nFaultNth, 2);
    EXPECT_EQ(o.strLogFile, "cmd.log");

    const QString strHelp = SimOptionsHelp();
    for (const QString& strArg : args)
        if (strArg.startsWith("--")) {
            EXPECT_TRUE(strHelp.contains(strArg)) << strArg.toStdString();
        }
    for (const char* psz : {"--error ", "--error-running ", "--help"})
        EXPECT_TRUE(strHelp.contains(psz)) << psz;
}

TEST(SimOptionsTest, RejectsBadInput) {
    const QStringList cases[] = {{"--model", "K3"},
                                 {"--time-scale", "0"},
                                 {"--drop-acks", "-1"},
                                 {"--error", "5"},
                                 {"--error", "0@10"},
                                 {"--reply", "QB"},
                                 {"--fault", "silence:QF"},
                                 {"--fault", "burn:QF:1"},
                                 {"--fault", "lose-ack:CA:0"},
                                 {"--log"},
                                 {"--bogus"}};
    for (const QStringList& args : cases) {
        SimOptions o;
        QString strError;
        EXPECT_FALSE(ParseSimOptions(args, o, strError)) << args.join(' ').toStdString();
        EXPECT_FALSE(strError.isEmpty());
    }
}

TEST(SimProgram, ServesOnThePrintedDeviceAndWritesTheLog) {
    QTemporaryDir dir;
    const QString strLog = dir.filePath("commands.log");
    QProcess sim;
    sim.start(TORVEX_BINARY_DIR "/torvex-sim", {"--model", "K1", "--log", strLog});
    ASSERT_TRUE(sim.waitForStarted());
    ASSERT_TRUE(sim.waitForReadyRead(5000));
    const QString strDevice = QString::fromUtf8(sim.readLine()).trimmed();
    ASSERT_TRUE(strDevice.startsWith("/dev/"));
    {
        qputenv("TORVEX_PORTS_ONLY", "1");
        CRsBasicProtocol::SetExtraPorts({strDevice});
        CTorvexCntl cntl;
        int32_t nType = 0;
        EXPECT_TRUE(cntl.m_bConnect);
        EXPECT_TRUE(cntl.GetModelType(nType));
        EXPECT_EQ(nType, MODEL_K1);
        CRsBasicProtocol::SetExtraPorts({});
    }
    sim.terminate();
    ASSERT_TRUE(sim.waitForFinished(5000));
    EXPECT_EQ(sim.exitCode(), 0);
    QFile log(strLog);
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_EQ(log.readAll(), "QA\nQT\n");
}

TEST(SimProgram, HelpAndBadOptions) {
    struct Case {
        QString strProgram;
        QStringList args;
        int nExit;
        const char* pszOut;
    } cases[] = {{TORVEX_BINARY_DIR "/torvex-sim", {"--help"}, 0, "--hangup-after"},
                 {TORVEX_BINARY_DIR "/torvex", {"sim", "--help"}, 0, "--eut-fail-ms"},
                 {TORVEX_BINARY_DIR "/torvex", {"sim", "--model", "K7"}, 2, ""}};
    for (const Case& c : cases) {
        QProcess p;
        p.start(c.strProgram, c.args);
        ASSERT_TRUE(p.waitForFinished(5000));
        EXPECT_EQ(p.exitCode(), c.nExit) << c.args.join(' ').toStdString();
        EXPECT_TRUE(p.readAllStandardOutput().contains(c.pszOut));
        if (c.nExit != 0) {
            EXPECT_FALSE(p.readAllStandardError().isEmpty());
        }
    }
}

} // namespace

} // namespace torvex
