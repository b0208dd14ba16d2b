#include "results/ReportReader.h"
#include "support/TorvexProcess.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace torvex {

// The command-line program in English: every text meant for people, the
// step list's captions and the report workbook.
namespace {

const QString kExample = QStringLiteral(TORVEX_SOURCE_DIR "/examples/three_steps.tvx");
const QString kSequence = QStringLiteral(TORVEX_SOURCE_DIR "/examples/two_tests.tvxs");

bool HasJapanese(const QString& text) {
    static const QRegularExpression re(
        QStringLiteral("[\\x{3040}-\\x{30ff}\\x{3400}-\\x{9fff}\\x{ff66}-\\x{ff9f}]"));
    return text.contains(re);
}

TEST(CliEnglish, HelpOfTheProgramAndOfEveryCommand) {
    const TORVEX_RUN help = RunTorvex({"--lang", "en", "--help"});
    ASSERT_EQ(help.exitCode, 0);
    EXPECT_FALSE(HasJapanese(help.out)) << help.out.toStdString();
    EXPECT_TRUE(help.out.contains("--lang")) << help.out.toStdString();
    for (const char* command : {"steps", "resave", "run", "report", "history", "ports", "sim"}) {
        const TORVEX_RUN r = RunTorvex({command, "--help", "--lang", "en"});
        EXPECT_EQ(r.exitCode, 0) << command;
        EXPECT_FALSE(r.out.isEmpty()) << command;
        EXPECT_FALSE(HasJapanese(r.out + r.err)) << command << ": " << (r.out + r.err).toStdString();
    }
}

TEST(CliEnglish, StepsUnderEnglishCaptionsAndJapaneseOnesUnchanged) {
    const TORVEX_RUN en = RunTorvex({"steps", kExample, "--lang", "en"});
    ASSERT_EQ(en.exitCode, 0) << en.err.toStdString();
    EXPECT_FALSE(HasJapanese(en.out)) << en.out.toStdString();
    const QStringList header = en.out.section('\n', 0, 0).split('\t');
    ASSERT_EQ(header.size(), 23);
    EXPECT_EQ(header.mid(0, 4), QStringList({"No.", "Test level", "Polarity", "Voltage[V]"}));

    const TORVEX_RUN ja = RunTorvex({"steps", kExample, "--lang", "ja"});
    ASSERT_EQ(ja.exitCode, 0) << ja.err.toStdString();
    EXPECT_TRUE(
        ja.out.startsWith(QString::fromUtf8("No.\tテストレベル\t極性\t電圧[V]\t周波数[kHz]\tﾊﾟﾙｽ数[個]\t")));
    // Only the captions and texts differ: the numbers are the same.
    const QStringList enLines = en.out.split('\n'), jaLines = ja.out.split('\n');
    ASSERT_EQ(enLines.size(), jaLines.size());
    for (int i = 1; i < enLines.size(); ++i)
        EXPECT_EQ(enLines[i].split('\t').mid(0, 8), jaLines[i].split('\t').mid(0, 8)) << i;

    // A sequence file, whose steps show the sequence's own texts.
    const TORVEX_RUN seq = RunTorvex({"steps", kSequence, "--lang", "en"});
    ASSERT_EQ(seq.exitCode, 0) << seq.err.toStdString();
    EXPECT_FALSE(HasJapanese(seq.out)) << seq.out.toStdString();
}

TEST(CliEnglish, ARunOnTheSimulatorSpeaksEnglish) {
    const TORVEX_RUN r = RunTorvex(
        {"run", kSequence, "--simulate", "--time-scale", "100", "--baud", "0", "--yes", "--lang", "en"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_FALSE(HasJapanese(r.out + r.err)) << (r.out + r.err).toStdString();
    EXPECT_TRUE(r.out.contains("\tPASS\n")) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains("The test has finished.")) << r.out.toStdString();
}

TEST(CliEnglish, MessagesOfAFileThatDoesNotLoad) {
    QTemporaryDir dir;
    const QString bad = dir.filePath("bad.tvx");
    QFile file(bad);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a data file at all");
    file.close();
    for (const QStringList& args :
         {QStringList{"steps", bad}, QStringList{"report", bad, "--out", dir.filePath("r.xlsx")},
          QStringList{"steps", dir.filePath("missing.tvx")}}) {
        const TORVEX_RUN en = RunTorvex(args + QStringList{"--lang", "en"});
        EXPECT_EQ(en.exitCode, 1) << args.join(' ').toStdString();
        EXPECT_FALSE(en.err.isEmpty()) << args.join(' ').toStdString();
        EXPECT_FALSE(HasJapanese(en.err)) << en.err.toStdString();
        // The Japanese message is another text, so the English one is no copy of it.
        const TORVEX_RUN ja = RunTorvex(args + QStringList{"--lang", "ja"});
        EXPECT_EQ(ja.exitCode, 1);
        if (args[0] == "steps" && args[1] == bad) {
            EXPECT_TRUE(HasJapanese(ja.err)) << ja.err.toStdString();
        }
    }
}

TEST(CliEnglish, ReportWorkbookInEnglish) {
    QTemporaryDir dir;
    const QString out = dir.filePath("report.xlsx");
    const TORVEX_RUN r = RunTorvex({"report", kExample, "--out", out, "--lang", "en"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const REPORT_BOOK book = ReadReportBook(out);
    ASSERT_TRUE(book.m_bRead) << book.m_strError.toStdString();
    ASSERT_GE(book.m_listSheets.size(), 2);
    EXPECT_EQ(book.m_listSheets[0], "Test conditions");
    EXPECT_EQ(book.m_listSheets[1], "Test steps");
    EXPECT_EQ(book.Text(0, "B2"), "Company");
    EXPECT_EQ(book.Text(0, "B3"), "Test site");
    EXPECT_EQ(book.Text(0, "F5"), "Test date");
    EXPECT_EQ(book.Text(1, "B5"), "Overall judgment");
    for (int s = 0; s < book.m_listCells.size(); ++s)
        for (auto it = book.m_listCells[s].begin(); it != book.m_listCells[s].end(); ++it) {
            const QString text = it.value().toObject().value("v").toString();
            EXPECT_FALSE(HasJapanese(text)) << book.m_listSheets[s].toStdString() << " "
                                            << it.key().toStdString() << ": " << text.toStdString();
        }
    ExpectEveryCellTopAligned(book);

    // In Japanese the same cells hold today's captions.
    const QString outJa = dir.filePath("report_ja.xlsx");
    ASSERT_EQ(RunTorvex({"report", kExample, "--out", outJa, "--lang", "ja"}).exitCode, 0);
    const REPORT_BOOK ja = ReadReportBook(outJa);
    ASSERT_TRUE(ja.m_bRead) << ja.m_strError.toStdString();
    EXPECT_EQ(ja.m_listSheets.value(0), QString::fromUtf8("試験条件"));
    EXPECT_EQ(ja.Text(0, "B2"), QString::fromUtf8("企業名"));
}

} // namespace

} // namespace torvex
