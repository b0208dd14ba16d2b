#include "ReportReader.h"
#include "support/TorvexProcess.h"

#include "config/IniKeys.h"
#include "config/Profile.h"
#include "results/ReportWriter.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace torvex {

namespace {

const QString kExamples = QStringLiteral(TORVEX_TEST_DATA_DIR "/../examples/");

} // namespace

TEST(CliReport, WritesTheReportOfDataAndSequenceFiles) {
    WriteProfileValue(INI_SECTION_TEST_INFO, INI_KEY_COMPANY_NAME, QStringLiteral("株式会社テスト"));
    WriteProfileValue(INI_SECTION_TEST_INFO, INI_KEY_OPTION1, QStringLiteral("CDN-3"));
    QTemporaryDir dir;
    const struct {
        QStringList args;
        QStringList sheets;
        std::initializer_list<EXPECTED_CELL> cells;
    } cases[] = {
        {{kExamples + "three_steps.tvx"},
         {"試験条件", "試験内容", " "},
         {{0, "C2", "株式会社テスト"},
          {0, "L5", "CDN-3"},
          {0, "C11", "MANUAL"},
          {0, "C14", "three_steps"},
          {0, "G5", "----"},
          {0, "K6", "TORVEX-K2"},
          {1, "A13", "Step   3"},
          {1, "B13", "------"},
          {1, "C13", "2000"},
          {1, "B6", "------"}}},
        {{kExamples + "three_steps.tvx", "--tab", "standard"},
         {"試験条件", "試験内容", " "},
         {{0, "C11", "STANDARD"}, {0, "C14", "1"}, {1, "B3", "STANDARD"}}},
        {{kExamples + "two_tests.tvxs"},
         {"試験条件", "No.1", "No.2", " "},
         {{0, "C12", "two_tests.tvxs"},
          {0, "G14", "pulse_out"},
          {2, "B3", "pulse_out"},
          {2, "A12", "Step   2"}}},
        {{kExamples + "three_steps.tvx", "--tab", "sequence"},
         {"試験条件", "No.1", " "},
         {{0, "C12", "無題"}, {0, "C14", "three_steps"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const QString out = dir.filePath("out.xlsx");
        const TORVEX_RUN r = RunTorvex(QStringList{"report", "--out", out} + c.args);
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        const REPORT_BOOK book = ReadReportBook(out);
        EXPECT_EQ(book.m_listSheets, c.sheets);
        ExpectCells(book, c.cells);
        ExpectEveryCellTopAligned(book);
    }
}

TEST(CliReport, FailuresAndWrongUsage) {
    QTemporaryDir dir;
    const QString tvx = kExamples + "three_steps.tvx";
    QFile junk(dir.filePath("junk.tvx"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("not a data file");
    junk.close();
    const struct {
        QStringList args;
        int code;
    } cases[] = {
        {{"report", tvx, "--out", dir.filePath("no-folder/out.xlsx")}, 1},
        {{"report", junk.fileName(), "--out", dir.filePath("out.xlsx")}, 1},
        {{"report", tvx, "--out", dir.filePath("out.xlsx"), "--model", "K1"}, 1}, // a K2 file
        {{"report"}, 2},
        {{"report", tvx}, 2},
        {{"report", tvx, "--out"}, 2},
        {{"report", dir.filePath("missing.tvx"), "--out", dir.filePath("out.xlsx")}, 1},
        {{"report", tvx, "--out", dir.filePath("out.xlsx"), "--tab", "settings"}, 2},
        {{"report", kExamples + "two_tests.tvxs", "--out", dir.filePath("out.xlsx"), "--tab", "manual"}, 2},
        {{"report", tvx, "--out", dir.filePath("out.xlsx"), "--model", "K9"}, 2},
    };
    for (const auto& c : cases) {
        const TORVEX_RUN r = RunTorvex(c.args);
        EXPECT_EQ(r.exitCode, c.code) << c.args.join(' ').toStdString();
        EXPECT_FALSE(r.err.isEmpty()) << c.args.join(' ').toStdString();
    }
    EXPECT_FALSE(QFile::exists(dir.filePath("out.xlsx")));
}

TEST(CliReport, RunWritesTheReportOfTheRunJustMade) {
    QTemporaryDir dir;
    const QString out = dir.filePath("run.xlsx");
    const QStringList run = {
        "run",     kExamples + "three_steps.tvx", "--simulate", "--time-scale", "50", "--yes", "--log-folder",
        dir.path()};
    const TORVEX_RUN r = RunTorvex(run + QStringList{"--report", out});
    ASSERT_EQ(r.exitCode, 0) << r.out.toStdString() << r.err.toStdString();
    const REPORT_BOOK book = ReadReportBook(out);
    ExpectCells(book, {{1, "B6", "合格"}, {1, "B11", "合格"}, {1, "B12", "合格"}, {1, "B13", "合格"}});
    // Started a moment ago, today (or just past midnight).
    const QString date = book.Text(0, "G5");
    EXPECT_TRUE(date == QDate::currentDate().toString("yyyy/MM/dd") ||
                date == QDate::currentDate().addDays(-1).toString("yyyy/MM/dd"))
        << date.toStdString();
    EXPECT_TRUE(QRegularExpression("^\\d\\d:\\d\\d:\\d\\d$").match(book.Text(0, "G6")).hasMatch());

    // A report that cannot go where it was asked is kept in the report folder
    // (other tests write there too: look for the file the run named).
    const TORVEX_RUN lost = RunTorvex(run + QStringList{"--report", dir.filePath("no-folder/run.xlsx")});
    EXPECT_EQ(lost.exitCode, 1);
    EXPECT_TRUE(lost.out.contains("summary: 3 steps run, 3 passed; finished"));
    const QRegularExpressionMatch saved =
        QRegularExpression("saved as (" + QRegularExpression::escape(ReportFolder()) + "/\\S+\\.xlsx)")
            .match(lost.err);
    ASSERT_TRUE(saved.hasMatch()) << lost.err.toStdString();
    EXPECT_TRUE(QFileInfo::exists(saved.captured(1)));
}

} // namespace torvex
