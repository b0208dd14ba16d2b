// torvex run against a simulated instrument on a line that loses bytes: the
// line is paced at 9600 baud, the faults are the simulator's own.
#include "support/TorvexProcess.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>

namespace torvex {

namespace {

const QString kSim = QStringLiteral(TORVEX_BINARY_DIR "/torvex-sim");
const QString kExamples = QStringLiteral(TORVEX_TEST_DATA_DIR "/../examples/");

// A simulator program on its own pty, writing every command it receives.
class SimProcess {
public:
    // Steps of 10 s pass in 0.2 s unless told otherwise.
    SimProcess(const QStringList& faults, const QString& strLog, const QString& strTimeScale = "50")
        : m_strLog(strLog) {
        m_sim.start(kSim, QStringList{"--time-scale", strTimeScale, "--log", strLog} + faults);
        if (m_sim.waitForStarted() && m_sim.waitForReadyRead(5000))
            m_strDevice = QString::fromUtf8(m_sim.readLine()).trimmed();
    }
    ~SimProcess() {
        m_sim.terminate();
        m_sim.waitForFinished(5000);
    }
    const QString& Device() const { return m_strDevice; }
    // The commands received so far (the simulator ends to write them all).
    QStringList Commands() {
        m_sim.terminate();
        m_sim.waitForFinished(5000);
        QFile f(m_strLog);
        if (!f.open(QIODevice::ReadOnly)) return {};
        return QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts);
    }

private:
    QProcess m_sim;
    QString m_strLog;
    QString m_strDevice;
};

TORVEX_RUN RunOn(const QString& strDevice, const QString& strLogs) {
    return RunTorvex(
        {"run", kExamples + "three_steps.tvx", "--port", strDevice, "--yes", "--log-folder", strLogs}, 90000);
}

QStringList WithoutPolls(const QStringList& log) {
    QStringList out;
    for (const QString& c : log)
        if (c != "QB" && c != "QM" && c != "QF" && c != "QA" && c != "QT") out << c;
    return out;
}

} // namespace

// Faults at the step load, the start and the run poll: the run never hangs,
// a lost acknowledgement of "CA" never pauses the test unseen, and a step
// whose load failed is never started.
TEST(CliRunFaults, LostBytesNeverPauseUnseenNorStartAHalfLoadedStep) {
    const struct {
        const char* name;
        QStringList faults;
        int nExit;
        QString summary;
        int nCa; // "CA" commands the instrument received
    } cases[] = {
        // "CA" is taken but its acknowledgement lost: the status shows it ran,
        // so it is not sent again (a second one would pause the step).
        {"lost ack of CA", {"--drop-ack-of", "CA:1"}, 0, "3 steps run, 3 passed; finished", 3},
        // Acknowledgements lost for good after the first voltage: the rest of
        // the step never reaches the instrument, and it is not started.
        {"load fails after PD500", {"--drop-acks-after", "PD500:6"}, 1, "0 steps run, 0 passed; lost", 0},
        // Acknowledgements that come late, but within the time-out, change nothing.
        {"late acks", {"--late-ack-ms", "300"}, 0, "3 steps run, 3 passed; finished", 3},
        // The line drops in the middle: the run ends as lost, not hung.
        {"hang-up", {"--hangup-after", "40"}, 1, "lost", -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        SimProcess sim(c.faults, dir.path() + "/cmd.log");
        ASSERT_FALSE(sim.Device().isEmpty());
        const TORVEX_RUN r = RunOn(sim.Device(), dir.path());
        EXPECT_EQ(r.exitCode, c.nExit) << r.out.toStdString();
        EXPECT_TRUE(r.out.contains(c.summary)) << r.out.toStdString();
        const QStringList commands = sim.Commands();
        if (c.nCa >= 0) {
            EXPECT_EQ(commands.count("CA"), c.nCa) << WithoutPolls(commands).join(' ').toStdString();
        }
        if (c.nCa == 0) {
            // Where the line still answers, the output is stopped after the failed load.
            EXPECT_EQ(WithoutPolls(commands).last(), "CB");
            EXPECT_FALSE(r.out.contains(QStringLiteral("合格")));
        }
    }
}

// SIGINT, SIGTERM and SIGHUP all stop the output on the instrument ("CB")
// before the program ends, and the run ends as a stop.
TEST(CliRunFaults, EverySignalStopsTheOutputFirst) {
    for (int nSignal : {SIGINT, SIGTERM, SIGHUP}) {
        SCOPED_TRACE(nSignal);
        QTemporaryDir dir;
        SimProcess sim({}, dir.path() + "/cmd.log", "1");
        ASSERT_FALSE(sim.Device().isEmpty());
        QProcess p;
        p.start(kTorvexProgram, {"run", kExamples + "three_steps.tvx", "--port", sim.Device(), "--yes",
                                 "--log-folder", dir.path()});
        QString out;
        for (int i = 0; i < 400 && !out.contains("start\t"); ++i) {
            p.waitForReadyRead(50);
            out += QString::fromUtf8(p.readAllStandardOutput());
        }
        ASSERT_TRUE(out.contains("start\t-\t1\t")) << out.toStdString();
        ::kill(pid_t(p.processId()), nSignal);
        ASSERT_TRUE(p.waitForFinished(15000));
        out += QString::fromUtf8(p.readAllStandardOutput());
        EXPECT_EQ(p.exitCode(), 1);
        EXPECT_TRUE(out.contains("end\t-\t1\t------")) << out.toStdString();
        EXPECT_TRUE(out.contains("; stopped")) << out.toStdString();
        const QStringList commands = WithoutPolls(sim.Commands());
        ASSERT_FALSE(commands.isEmpty());
        EXPECT_EQ(commands.last(), "CB");
        EXPECT_EQ(commands.count("CA"), 1);
    }
}

} // namespace torvex
