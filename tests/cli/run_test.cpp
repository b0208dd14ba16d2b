#include "sim/TorvexSimulator.h"
#include "support/TorvexProcess.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QThread>
#include <csignal>
#include <gtest/gtest.h>

namespace torvex {

namespace {

const QString kExamples = QStringLiteral(TORVEX_TEST_DATA_DIR "/../examples/");

} // namespace

TEST(CliRun, RunsADataFileOnTheSimulator) {
    QTemporaryDir logs;
    const TORVEX_RUN r = RunTorvex({"run", kExamples + "three_steps.tvx", "--simulate", "--time-scale", "50",
                                    "--yes", "--log-folder", logs.path()});
    EXPECT_EQ(r.exitCode, 0) << r.out.toStdString() << r.err.toStdString();
    EXPECT_EQ(r.out.count(QStringLiteral("\t合格\n")), 3);
    EXPECT_TRUE(r.out.contains(QStringLiteral("message: 試験が終了しました。")));
    EXPECT_TRUE(r.out.endsWith("summary: 3 steps run, 3 passed; finished\n"));
    EXPECT_EQ(QDir(logs.path()).entryList({"*.tvx"}).size(), 1);
}

TEST(CliRun, SequenceWithStopEveryStepGoesOnByItself) {
    QTemporaryDir logs;
    const TORVEX_RUN r = RunTorvex({"run", kExamples + "two_tests.tvxs", "--simulate", "--time-scale", "50",
                                    "--yes", "--stop-every-step", "--log-folder", logs.path()});
    EXPECT_EQ(r.exitCode, 0) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("message: No.1のステップ3が終了しました。")));
    EXPECT_TRUE(r.out.contains("start\t2\t2\t"));
    EXPECT_EQ(QDir(logs.path()).entryList({"*.tvxs"}).size(), 1);
}

TEST(CliRun, InterruptStopsTheRun) {
    QTemporaryDir logs;
    QProcess p;
    p.start(kTorvexProgram,
            {"run", kExamples + "three_steps.tvx", "--simulate", "--yes", "--log-folder", logs.path()});
    ASSERT_TRUE(p.waitForStarted());
    // Wait until the first step runs (10 s each at the simulator's own pace).
    QString out;
    for (int i = 0; i < 200 && !out.contains("start\t"); ++i) {
        p.waitForReadyRead(50);
        out += QString::fromUtf8(p.readAllStandardOutput());
    }
    ASSERT_TRUE(out.contains("start\t-\t1\t"));
    ::kill(pid_t(p.processId()), SIGINT);
    ASSERT_TRUE(p.waitForFinished(15000));
    out += QString::fromUtf8(p.readAllStandardOutput());
    EXPECT_EQ(p.exitCode(), 1);
    EXPECT_TRUE(out.contains(QStringLiteral("message: 試験を停止しました。"))) << out.toStdString();
    EXPECT_TRUE(out.contains("end\t-\t1\t------"));
}

TEST(CliRun, NoInstrumentAndWrongUsage) {
    QTemporaryDir dir;
    const TORVEX_RUN none =
        RunTorvex({"run", kExamples + "three_steps.tvx", "--port", dir.path() + "/no-such-device"});
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_TRUE(none.out.contains("no instrument"));
    // A file that is not there is a file not loaded, as the help says.
    const TORVEX_RUN missing = RunTorvex({"run", dir.path() + "/missing.tvx", "--simulate"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.out.contains("file not loaded"));

    const QStringList bad[] = {
        {"run"},
        {"run", kExamples + "three_steps.tvx"},
        {"run", kExamples + "three_steps.tvx", "--port", "/dev/null", "--simulate"},
        {"run", kExamples + "three_steps.tvx", "--simulate", "--model", "K9"},
        {"run", kExamples + "three_steps.tvx", "--bogus"},
        {"run", kExamples + "three_steps.tvx", "--simulate", "--format", "xml"},
        {"run", kExamples + "three_steps.tvx", "--simulate", "--format"},
    };
    for (const QStringList& args : bad) {
        const TORVEX_RUN r = RunTorvex(args);
        EXPECT_EQ(r.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_EQ(r.err.count('\n'), 1) << r.err.toStdString();
    }
}

// Records for scripts: one per step as it ends, the fields of `torvex steps`
// plus the judgment, on standard output alone; every other line on standard error.
TEST(CliRun, FormatsWriteOneRecordPerStepOnStandardOutput) {
    QTemporaryDir logs;
    const QString file = kExamples + "two_tests.tvxs";
    const TORVEX_RUN steps = RunTorvex({"steps", file, "--format", "json"});
    ASSERT_EQ(steps.exitCode, 0);
    const QStringList planned = steps.out.split('\n', Qt::SkipEmptyParts);

    const TORVEX_RUN json = RunTorvex(
        {"run", file, "--simulate", "--time-scale", "50", "--yes", "--format", "json", "--log-folder", logs.path()});
    ASSERT_EQ(json.exitCode, 0) << json.err.toStdString();
    const QStringList records = json.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(records.size(), planned.size()) << json.out.toStdString();
    for (int i = 0; i < records.size(); ++i) {
        QJsonObject record = QJsonDocument::fromJson(records[i].toUtf8()).object();
        EXPECT_EQ(record.take("judgment").toString(), "pass") << i;
        EXPECT_EQ(record, QJsonDocument::fromJson(planned[i].toUtf8()).object()) << i;
    }
    EXPECT_TRUE(json.err.contains("summary: " + QString::number(planned.size()) + " steps run")) << json.err.toStdString();
    EXPECT_TRUE(json.err.contains(QStringLiteral("message: 試験が終了しました。")));

    const TORVEX_RUN csv = RunTorvex({"run", kExamples + "three_steps.tvx", "--simulate", "--time-scale", "50",
                                      "--yes", "--format=csv", "--log-folder", logs.path()});
    ASSERT_EQ(csv.exitCode, 0) << csv.err.toStdString();
    const QStringList lines = csv.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 4) << csv.out.toStdString();
    EXPECT_TRUE(lines[0].startsWith("entry,test_name,step,") && lines[0].endsWith(",judgment"));
    for (int i = 1; i < 4; ++i)
        EXPECT_TRUE(lines[i].startsWith("1,") && lines[i].endsWith(",pass")) << lines[i].toStdString();
}

// A reader that goes away (`| head -n 1`) stops the test with "CB" instead of
// leaving it running unwatched or killing the program before the stop.
TEST(CliRun, AClosedOutputStopsTheTest) {
    QTemporaryDir dir;
    const QString log = dir.filePath("cmd.log");
    QProcess shell;
    shell.start("bash", {"-c", "\"$0\" run \"$1\" --yes --format json --log-folder \"$2\" --simulate "
                               "--time-scale 5 --log \"$3\" | head -n 1; echo \"exit=${PIPESTATUS[0]}\" >&2",
                         kTorvexProgram, kExamples + "three_steps.tvx", dir.path(), log});
    ASSERT_TRUE(shell.waitForFinished(60000));
    const QString out = QString::fromUtf8(shell.readAllStandardOutput());
    const QString err = QString::fromUtf8(shell.readAllStandardError());
    EXPECT_EQ(out.count('\n'), 1);
    EXPECT_TRUE(out.contains("\"judgment\":\"pass\"")) << out.toStdString();
    EXPECT_TRUE(err.contains("exit=1")) << err.toStdString();
    EXPECT_TRUE(err.contains("cannot write the output")) << err.toStdString();
    EXPECT_TRUE(err.contains("; stopped")) << err.toStdString();
    QFile f(log);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    QStringList commands;
    for (const QString& c : QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts))
        if (!c.startsWith('Q')) commands << c;
    ASSERT_FALSE(commands.isEmpty());
    EXPECT_EQ(commands.last(), "CB");
    // Step 2 at most was started; the third never.
    EXPECT_LE(commands.count("CA"), 2);
}

// A port another program holds is not "not found": torvex run names it and
// says that it is in use (here by this test, through its serial port's lock).
TEST(CliRun, APortInUseIsNamed) {
    CTorvexSimulator sim;
    ASSERT_TRUE(sim.Start());
    QSerialPort holder(sim.DevicePath());
    ASSERT_TRUE(holder.open(QIODevice::ReadWrite));
    const TORVEX_RUN r =
        RunTorvex({"run", kExamples + "three_steps.tvx", "--port", sim.DevicePath(), "--yes"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.out.contains("no instrument")) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(QString("message: cannot open %1: ").arg(sim.DevicePath())))
        << r.out.toStdString();
    EXPECT_TRUE(r.out.contains("in use")) << r.out.toStdString();
    EXPECT_TRUE(sim.CommandLog().isEmpty());
}

} // namespace torvex
