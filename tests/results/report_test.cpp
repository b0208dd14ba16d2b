#include "ReportReader.h"

#include "files/DataFile.h"
#include "files/TorvexDoc.h"
#include "model/StepExpansion.h"
#include "results/ReportWriter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const qint64 kStart = QDateTime(QDate(2024, 1, 31), QTime(9, 30, 5)).toSecsSinceEpoch(); // local time

struct ReportFixture : ::testing::Test {
    ReportFixture() {
        doc.SetMachine(MODEL_K2, 0);
        doc.NewDocument();
    }
    // Collects the report of a tab, writes it and reads it back.
    REPORT_BOOK Report(int nTab, uint32_t ulModel = MODEL_K2) {
        const std::optional<CReportData> data = CollectReport(doc, nTab, property, ulModel);
        if (!data) return {};
        const QString path = dir.filePath(QStringLiteral("report%1.xlsx").arg(++nWritten));
        QString error;
        EXPECT_TRUE(WriteReport(*data, path, &error)) << error.toStdString();
        REPORT_BOOK book = ReadReportBook(path);
        EXPECT_TRUE(book.m_bRead) << book.m_strError.toStdString();
        ExpectEveryCellTopAligned(book);
        return book;
    }
    // A sequence of entries named T1.., entry i with counts[i] steps judged judges[i].
    void MakeSequence(const std::vector<std::pair<int, int32_t>>& entries, const QString& path) {
        std::vector<std::unique_ptr<CSettingData>> list;
        for (size_t i = 0; i < entries.size(); ++i) {
            auto cond = std::make_unique<CSettingData>();
            cond->m_ulMachineType = MODEL_K2;
            cond->m_strTestName = QStringLiteral("T%1").arg(i + 1);
            cond->m_listExec.resize(size_t(entries[i].first));
            for (CExecData& step : cond->m_listExec)
                step.m_nJudge = entries[i].second;
            list.push_back(std::move(cond));
        }
        doc.m_sequence.Replace(std::move(list));
        doc.m_sequence.m_strSeqPath = path;
    }

    QTemporaryDir dir;
    CTorvexDoc doc;
    CTestProperty property;
    int nWritten = 0;
};

} // namespace

TEST_F(ReportFixture, StandardTestWithTestInformation) {
    property.m_strCompanyName = QStringLiteral("ケルヴォラ試験所");
    property.m_strTestPlace = QStringLiteral("Lab 2");
    property.m_strModel = QStringLiteral("EUT-9");
    property.m_strTemperature = QStringLiteral("23"); // stays text, as typed after "'"
    property.m_strSimulatorSerial = QStringLiteral("TV123");
    property.m_aeqOption[0].m_strName = QStringLiteral("CDN-3");
    property.m_aeqOption[2].m_strCalInt = QStringLiteral("6ヶ月");
    property.m_timeStartStandard = kStart;
    property.m_timeStartManual = kStart + 86400; // another mode's start is not reported
    auto& steps = doc.m_settingStandard.m_listExec;
    ASSERT_FALSE(steps.empty());
    steps.push_back(steps.front());
    for (CExecData& step : steps)
        step.m_nJudge = JUDGE_PASS;
    steps.back().m_nJudge = JUDGE_FAIL;
    steps.front().m_strComment = QStringLiteral("=1+1"); // a comment is never a formula

    const REPORT_BOOK book = Report(TAB_STANDARD, MODEL_K1);
    EXPECT_EQ(book.m_listSheets, (QStringList{"試験条件", "試験内容", " "}));
    ExpectCells(book, {
                          {0, "B2", "企業名"},
                          {0, "C2", "ケルヴォラ試験所"},
                          {0, "C3", "Lab 2"},
                          {0, "C5", "EUT-9"},
                          {0, "C6", "", 'n'}, // unset text: a blank cell, still aligned
                          {0, "G5", "2024/01/31"},
                          {0, "G6", "09:30:05"},
                          {0, "G7", "23"},
                          {0, "K4", "試験器"},
                          {0, "K5", "EFT/B simulator"},
                          {0, "K6", "TORVEX-K1"},
                          {0, "K7", "TV123"},
                          {0, "L4", "オプション1"},
                          {0, "L5", "CDN-3"},
                          {0, "N4", "オプション3"},
                          {0, "N9", "6ヶ月"},
                          {0, "B11", "試験タイプ"},
                          {0, "C11", "STANDARD"},
                          {0, "B14", "テストレベル"},
                          {0, "C14", "1"},
                          {0, "B27", "印加相"},
                          {0, "B35", "試験時間"},
                          {1, "B2", "試験タイプ"},
                          {1, "B3", "STANDARD"},
                          {1, "C2", "テストレベル"},
                          {1, "C3", "1"},
                          {1, "D2", "ﾊﾞｰｽﾄ周期[ms]"},
                          {1, "O2", "外部トリガ入力"},
                          {1, "B5", "総合判定"},
                          {1, "B6", "不合格"},
                          {1, "G10", "印加相"},
                          {1, "J10", "コメント"},
                          {1, "A11", "Step   1"},
                          {1, "B11", "合格"},
                          {1, "J11", "=1+1"},
                          {1, "B12", "不合格"},
                      });
    EXPECT_FALSE(book.Has(0, "B12")); // the file name row is the sequence's alone
    EXPECT_FALSE(book.Has(1, "F2"));
    EXPECT_FALSE(book.Has(1, "I11"));
    EXPECT_TRUE(book.m_listCells.value(2).isEmpty());
    // The test time of the block and of the step sheet: "<h> h <mm> m <ss> s".
    EXPECT_EQ(book.Text(0, "C35"), book.Text(1, "D6"));
    EXPECT_TRUE(QRegularExpression("^\\d+ h \\d\\d m \\d\\d s$").match(book.Text(1, "D6")).hasMatch());
}

TEST_F(ReportFixture, ManualNeverSavedAndNotStarted) {
    // A comment longer than a cell holds is cut, not a reason to lose the report.
    doc.m_settingManual.m_listExec.front().m_strComment = QString(40000, QChar(0x3042));
    const REPORT_BOOK book = Report(TAB_MANUAL);
    EXPECT_EQ(book.Text(1, "J11"), QString(32767, QChar(0x3042)));
    EXPECT_EQ(book.m_listSheets, (QStringList{"試験条件", "試験内容", " "}));
    ExpectCells(book, {
                          {0, "C11", "MANUAL"},
                          {0, "B14", "試験名"},
                          {0, "C14", "無題"},
                          {0, "G5", "----"},
                          {0, "G6", "----"},
                          {0, "K6", "TORVEX-K2"},
                          {1, "B2", "試験名"},
                          {1, "B3", "無題"},
                          {1, "B6", "------"},
                          {1, "A11", "Step   1"},
                          {1, "B11", "------"},
                      });
    EXPECT_FALSE(book.Has(1, "C2")); // the test level is STANDARD's alone
}

TEST_F(ReportFixture, SevenEntrySequence) {
    MakeSequence({{2, JUDGE_PASS},
                  {0, JUDGE_NONE},
                  {1, JUDGE_FAIL},
                  {1, JUDGE_PASS},
                  {1, JUDGE_PASS},
                  {1, JUDGE_PASS},
                  {3, JUDGE_NONE}},
                 QStringLiteral("/data/seven.tvxs"));
    property.m_timeStartSequence = kStart;
    const REPORT_BOOK book = Report(TAB_SEQUENCE);
    EXPECT_EQ(book.m_listSheets,
              (QStringList{"試験条件", "No.1", "No.2", "No.3", "No.4", "No.5", "No.6", "No.7", " "}));
    ExpectCells(book, {
                          {0, "C11", "SEQUENCE"},  {0, "B12", "ファイル名"}, {0, "C12", "seven.tvxs"},
                          {0, "G5", "2024/01/31"}, {0, "B14", "No.1"},       {0, "C14", "T1"},
                          {0, "F14", "No.2"},      {0, "G14", "T2"},         {0, "J14", "No.3"},
                          {0, "Z14", "No.7"},      {0, "AA14", "T7"},        {0, "Z35", "試験時間"},
                          {1, "B2", "No.1"},       {1, "B3", "T1"},          {1, "B6", "合格"},
                          {1, "A12", "Step   2"},  {2, "B6", "合格"}, // an empty step list
                          {3, "B6", "不合格"},     {7, "B2", "No.7"},        {7, "B6", "------"},
                          {7, "B13", "------"},
                      });
    EXPECT_FALSE(book.Has(2, "A11"));
    EXPECT_FALSE(book.Has(0, "AB14"));
}

TEST_F(ReportFixture, SequenceFileNameIsReadAsTyped) {
    const struct {
        QString path, text;
        char type;
    } cases[] = {
        {"", "無題", 's'},
        {"/d/12345", "12345", 'n'},
        {"/d/1.5e3", "1500", 'n'},
        {"/d/2024.tvxs", "2024.tvxs", 's'},
        {"/d/=SUM(A1).tvxs", "=SUM(A1).tvxs", 's'},
    };
    for (const auto& c : cases) {
        MakeSequence({{1, JUDGE_NONE}}, c.path);
        ExpectCells(Report(TAB_SEQUENCE), {{0, "C12", c.text, c.type}});
    }
}

TEST_F(ReportFixture, NothingToReport) {
    EXPECT_FALSE(CollectReport(doc, TAB_SETTINGS, property, MODEL_K2));
    EXPECT_FALSE(CollectReport(doc, TAB_SEQUENCE, property, MODEL_K2)); // empty list

    // A MANUAL condition above the step limit has no step list of its own.
    CSettingData big = doc.m_settingManual;
    big.m_valVolt = {VALUE_SWEEP, 500, 200, 4000, 1, {}, {}};
    CArchiveWriter w;
    WriteDataFile(big, w);
    QFile f(dir.filePath("big.tvx"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(w.Buffer());
    f.close();
    ASSERT_TRUE(doc.ReadDocument(f.fileName()));
    ASSERT_GT(doc.ManualStepTotal(), 1000);
    EXPECT_FALSE(CollectReport(doc, TAB_MANUAL, property, MODEL_K2));
    // Brought back under the limit on the screen, it is reported again.
    doc.m_settingManual.m_valVolt.m_lStep = 10;
    ExpandSteps(doc.m_settingManual);
    EXPECT_TRUE(CollectReport(doc, TAB_MANUAL, property, MODEL_K2));
}

TEST_F(ReportFixture, SavedIntoTheReportFolderWithoutReplacing) {
    const CReportData data = *CollectReport(doc, TAB_MANUAL, property, MODEL_K2);
    const QDateTime time(QDate(2024, 1, 31), QTime(9, 30, 5));
    const QString folder = dir.filePath("docs/Kelvora/TORVEX_Pilot/REPORT");
    const REPORT_RESULT first = SaveReport(data, time, folder);
    const REPORT_RESULT second = SaveReport(data, time, folder);
    ASSERT_TRUE(first.m_bWritten) << first.m_strError.toStdString();
    ASSERT_TRUE(second.m_bWritten) << second.m_strError.toStdString();
    EXPECT_EQ(first.m_strPath, folder + "/20240131_093005_MANUAL.xlsx");
    EXPECT_EQ(second.m_strPath, folder + "/20240131_093005_MANUAL_2.xlsx");
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), // no temporary file left
              (QStringList{"20240131_093005_MANUAL.xlsx", "20240131_093005_MANUAL_2.xlsx"}));
    EXPECT_EQ(ReadReportBook(second.m_strPath).m_listSheets.size(), 3);
    EXPECT_TRUE(ReportOutcomeMessage(first, true).isEmpty());

    // The default folder lies in the user's documents folder.
    EXPECT_TRUE(ReportFolder().endsWith("/Kelvora/TORVEX_Pilot/REPORT"));
    const REPORT_RESULT byDefault = SaveReport(data, time);
    EXPECT_TRUE(byDefault.m_bWritten);
    EXPECT_TRUE(byDefault.m_strPath.startsWith(ReportFolder() + "/"));
}

TEST_F(ReportFixture, FailuresAreToldWithTheirReasonAndPath) {
    const CReportData data = *CollectReport(doc, TAB_MANUAL, property, MODEL_K2);
    // A file where the folder should be.
    QFile blocker(dir.filePath("REPORT"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const REPORT_RESULT failed = SaveReport(data, QDateTime::currentDateTime(), blocker.fileName());
    EXPECT_FALSE(failed.m_bWritten);
    const QString message = ReportOutcomeMessage(failed, false);
    EXPECT_TRUE(message.startsWith("試験データを保存できません。\n")) << message.toStdString();
    EXPECT_TRUE(message.contains(failed.m_strError));
    EXPECT_TRUE(message.contains(failed.m_strPath));

    // Written, but nothing opens it: say where it is.
    REPORT_RESULT written{true, dir.filePath("r.xlsx"), QString()};
    EXPECT_EQ(ReportOutcomeMessage(written, false),
              "試験データを開くプログラムが見つかりません。\n試験データは次の場所に保存されました。\n" +
                  written.m_strPath);

    // An explicit path: a missing folder fails, an existing file is replaced whole.
    QString error;
    EXPECT_FALSE(WriteReport(data, dir.filePath("missing/r.xlsx"), &error));
    EXPECT_FALSE(error.isEmpty());
    QFile old(dir.filePath("old.xlsx"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("not a workbook");
    old.close();
    EXPECT_TRUE(WriteReport(data, old.fileName(), &error)) << error.toStdString();
    EXPECT_EQ(ReadReportBook(old.fileName()).m_listSheets.size(), 3);
}
