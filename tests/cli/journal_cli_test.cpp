#include "results/ReportReader.h"
#include "support/TorvexProcess.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>

namespace torvex {

namespace {

const QString kExamples = QStringLiteral(TORVEX_TEST_DATA_DIR "/../examples/");

} // namespace

// A run killed outright after two completed steps: both judgments are in the
// journal, in its history and in the report written from it.
TEST(CliJournal, KilledRunKeepsItsJudgments) {
    QTemporaryDir logs;
    QProcess p;
    // 10 s steps at a time scale of 5: two seconds each, time enough to kill
    // the run between the second and the third step's end.
    p.start(kTorvexProgram, {"run", kExamples + "three_steps.tvx", "--simulate", "--time-scale", "5", "--yes",
                             "--log-folder", logs.path()});
    ASSERT_TRUE(p.waitForStarted());
    QString out;
    for (int i = 0; i < 600 && out.count(QStringLiteral("end\t")) < 2; ++i) {
        p.waitForReadyRead(50);
        out += QString::fromUtf8(p.readAllStandardOutput());
    }
    ASSERT_EQ(out.count(QStringLiteral("\t合格\n")), 2) << out.toStdString();
    ::kill(pid_t(p.processId()), SIGKILL);
    ASSERT_TRUE(p.waitForFinished(10000));
    ASSERT_FALSE(out.contains("summary:"));

    const TORVEX_RUN list = RunTorvex({"history", "--format", "json"});
    ASSERT_EQ(list.exitCode, 0) << list.err.toStdString();
    const QJsonArray runs = QJsonDocument::fromJson(list.out.toUtf8()).array();
    ASSERT_EQ(runs.size(), 1) << list.out.toStdString();
    const QJsonObject run = runs[0].toObject();
    EXPECT_TRUE(run["ended"].isNull());
    EXPECT_EQ(run["outcome"].toString(), "unfinished");
    EXPECT_EQ(run["tab"].toString(), "MANUAL");
    EXPECT_EQ(run["passed"].toInt(), 2);
    EXPECT_TRUE(run["file"].toString().endsWith("three_steps.tvx"));
    const QString id = QString::number(run["id"].toInteger());

    const TORVEX_RUN show = RunTorvex({"history", "show", id});
    ASSERT_EQ(show.exitCode, 0) << show.err.toStdString();
    const QStringList lines = show.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 4) << show.out.toStdString(); // a header and three steps
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("-\t1\t合格\t")));
    EXPECT_TRUE(lines[2].startsWith(QStringLiteral("-\t2\t合格\t")));
    EXPECT_TRUE(lines[3].startsWith(QStringLiteral("-\t3\t------\t"))); // running when killed

    const TORVEX_RUN json = RunTorvex({"history", "show", id, "--format", "json"});
    const QJsonArray steps = QJsonDocument::fromJson(json.out.toUtf8()).object()["steps"].toArray();
    ASSERT_EQ(steps.size(), 3);
    EXPECT_EQ(steps[1].toObject()["judgment"].toString(), "pass");
    EXPECT_FALSE(steps[1].toObject()["ended"].isNull());
    EXPECT_TRUE(steps[2].toObject()["ended"].isNull());

    const QString report = logs.path() + "/killed.xlsx";
    const TORVEX_RUN written = RunTorvex({"report", "--run", id, "--out", report});
    ASSERT_EQ(written.exitCode, 0) << written.err.toStdString();
    const REPORT_BOOK book = ReadReportBook(report);
    ASSERT_TRUE(book.m_bRead) << book.m_strError.toStdString();
    EXPECT_EQ(book.Text(1, "B11"), QStringLiteral("合格"));
    EXPECT_EQ(book.Text(1, "B12"), QStringLiteral("合格"));
    EXPECT_EQ(book.Text(1, "B13"), QStringLiteral("------"));
    EXPECT_EQ(book.Text(1, "B6"), QStringLiteral("------"));
}

// Exit codes of the journal's commands.
TEST(CliJournal, ExitCodes) {
    const struct {
        QStringList args;
        int code;
    } cases[] = {
        {{"history"}, 0},                                 // no journal yet: no runs
        {{"history", "show", "7"}, 1},                    // unknown run
        {{"report", "--run", "7", "--out", "x.xlsx"}, 1}, // unknown run
        {{"history", "--format", "xml"}, 2},
        {{"history", "show"}, 2},
        {{"history", "show", "abc"}, 2},
        {{"report", "--run", "1"}, 2}, // no --out
    };
    for (const auto& c : cases) {
        const TORVEX_RUN r = RunTorvex(c.args);
        EXPECT_EQ(r.exitCode, c.code) << c.args.join(' ').toStdString() << "\n" << r.err.toStdString();
    }
}

} // namespace torvex
