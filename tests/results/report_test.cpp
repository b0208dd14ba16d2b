#include "ReportReader.h"

#include "files/DataFile.h"
#include "files/TorvexDoc.h"
#include "model/StepExpansion.h"
#include "results/ReportWriter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <iterator>
#include <sys/stat.h>

namespace torvex {

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

// A text a workbook cannot hold (XML 1.0 forbids C0 controls but tab, CR and
// LF, and non-characters; a stray surrogate has no encoding at all) is replaced
// in its cell, wherever it comes from: the workbook stays readable.
TEST_F(ReportFixture, CharactersAWorkbookCannotHoldAreReplaced) {
    const QChar bad[] = {QChar(0x01),   QChar(0x1F),   QChar(0xFFFE),
                         QChar(0xFFFF), QChar(0xFDD0), QChar(0xD800)};
    const QString kept = QStringLiteral("a\tb\nc");
    QString text = QStringLiteral("x");
    for (QChar c : bad)
        text += c;
    const QString noncharPlane1 = QString::fromUcs4(U"\U0001FFFE");
    const QString emoji = QString::fromUcs4(U"\U0001F600"); // a pair that is a character
    const QString expected = QStringLiteral("x") + QString(int(std::size(bad)), QChar(0xFFFD));

    property.m_strCompanyName = text;
    property.m_aeqOption[1].m_strSerial = noncharPlane1 + emoji;
    property.m_strOperator = kept;
    MakeSequence({{2, JUDGE_PASS}}, QStringLiteral("/d/seq") + QChar(0xFFFF) + QStringLiteral(".tvxs"));
    doc.m_sequence.m_listEntry[0]->m_strTestName = text;
    doc.m_sequence.m_listEntry[0]->m_listExec[1].m_strComment = QStringLiteral("ok") + QChar(0x0B);

    const REPORT_BOOK book = Report(TAB_SEQUENCE);
    ASSERT_TRUE(book.m_bRead) << book.m_strError.toStdString();
    ExpectCells(book, {
                          {0, "C2", expected},
                          {0, "M7", QString(QChar(0xFFFD)) + emoji},
                          {0, "C7", kept},
                          {0, "C12", QStringLiteral("seq\uFFFD.tvxs")},
                          {0, "C14", expected},
                          {1, "B3", expected},
                          {1, "J12", QStringLiteral("ok\uFFFD")},
                      });
}

// The target of a report is treated as data saves treat theirs: a
// write-protected file is refused and left as it was, a symbolic link is
// written through (the link stays), a replaced file keeps its permissions, and
// a new one gets the usual ones.
TEST_F(ReportFixture, ReportTargetsAreTreatedAsDataSaves) {
    const CReportData data = *CollectReport(doc, TAB_MANUAL, property, MODEL_K2);
    const auto writeFile = [](const QString& path, const QByteArray& bytes, QFile::Permissions perms) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        f.close();
        QFile::setPermissions(path, perms);
    };
    const QFile::Permissions readOnly =
        QFile::ReadOwner | QFile::ReadUser | QFile::ReadGroup | QFile::ReadOther;
    const QFile::Permissions ownerOnly =
        QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser;
    QDir(dir.path()).mkdir("elsewhere");

    // Write-protected: refused, untouched (even for a user whom the system would let write).
    const QString locked = dir.filePath("locked.xlsx");
    writeFile(locked, "keep me", readOnly);
    QString error;
    EXPECT_FALSE(WriteReport(data, locked, &error));
    EXPECT_TRUE(error.contains("write-protected")) << error.toStdString();
    QFile::setPermissions(locked, ownerOnly);
    QFile lockedFile(locked);
    ASSERT_TRUE(lockedFile.open(QIODevice::ReadOnly));
    EXPECT_EQ(lockedFile.readAll(), QByteArray("keep me"));

    // A link to a file, and a link to a file not there yet: both written through.
    const QString target = dir.filePath("elsewhere/target.xlsx");
    writeFile(target, "old", ownerOnly);
    const QString link = dir.filePath("link.xlsx");
    const QString dangling = dir.filePath("dangling.xlsx");
    ASSERT_TRUE(QFile::link(target, link));
    ASSERT_TRUE(QFile::link(dir.filePath("elsewhere/new.xlsx"), dangling));
    for (const QString& path : {link, dangling}) {
        EXPECT_TRUE(WriteReport(data, path, &error)) << error.toStdString();
        EXPECT_TRUE(QFileInfo(path).isSymLink()) << path.toStdString();
        EXPECT_EQ(ReadReportBook(path).m_listSheets.size(), 3) << path.toStdString();
    }
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(target).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u); // kept
    EXPECT_TRUE(QFileInfo(dir.filePath("elsewhere/new.xlsx")).isFile());

    // A new file gets the permissions of any file the user makes, not a temporary file's.
    const QString fresh = dir.filePath("fresh.xlsx");
    EXPECT_TRUE(WriteReport(data, fresh, &error)) << error.toStdString();
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ASSERT_EQ(::stat(QFile::encodeName(fresh).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0666u & ~mask);
    // Nothing of the work is left beside the targets.
    EXPECT_TRUE(QDir(dir.path()).entryList({".report-*"}, QDir::Files | QDir::Hidden).isEmpty());
    EXPECT_TRUE(
        QDir(dir.filePath("elsewhere")).entryList({".report-*"}, QDir::Files | QDir::Hidden).isEmpty());
}

// A sequence file reported straight from the file, entry by entry, gives the
// workbook its loaded list gives; a file that fails half-way leaves nothing.
TEST_F(ReportFixture, SequenceFileReportedEntryByEntry) {
    MakeSequence({{3, JUDGE_NONE}, {2, JUDGE_NONE}, {1, JUDGE_NONE}}, QString());
    const QString seq = dir.filePath("three.tvxs");
    ASSERT_TRUE(doc.WriteSequenceFile(seq));
    property.m_strCompanyName = QStringLiteral("ケルヴォラ試験所");

    CCollectingDialog dialog;
    CTorvexDoc reader;
    reader.SetDialog(&dialog);
    reader.SetMachine(MODEL_K2, 0);
    const QString streamed = dir.filePath("streamed.xlsx");
    QString error;
    ASSERT_EQ(WriteSequenceFileReport(reader, seq, property, MODEL_K2, streamed, &error), FILE_REPORT_WRITTEN)
        << error.toStdString();
    EXPECT_EQ(reader.m_sequence.Count(), 0); // read for the report, not into the list

    ASSERT_TRUE(doc.ReadSequenceFile(seq));
    const REPORT_BOOK loaded = Report(TAB_SEQUENCE);
    const REPORT_BOOK book = ReadReportBook(streamed);
    EXPECT_EQ(book.m_listSheets, loaded.m_listSheets);
    EXPECT_EQ(book.m_listCells, loaded.m_listCells);
    ExpectCells(book, {{0, "C12", "three.tvxs"}, {0, "J14", "No.3"}, {3, "A11", "Step   1"}});

    // Cut short: the reader's message, no workbook, nothing left beside it.
    QFile whole(seq);
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    const QByteArray bytes = whole.readAll();
    QFile cut(dir.filePath("cut.tvxs"));
    ASSERT_TRUE(cut.open(QIODevice::WriteOnly));
    cut.write(bytes.left(bytes.size() - 20));
    cut.close();
    const QString lost = dir.filePath("lost.xlsx");
    EXPECT_EQ(WriteSequenceFileReport(reader, cut.fileName(), property, MODEL_K2, lost),
              FILE_REPORT_NOT_READ);
    EXPECT_EQ(dialog.m_listMessages, QStringList{QStringLiteral("予期しないファイル形式です。")});
    EXPECT_FALSE(QFileInfo::exists(lost));
    EXPECT_TRUE(QDir(dir.path()).entryList({".report-*"}, QDir::Files | QDir::Hidden).isEmpty());

    // A file without entries has nothing to report.
    QFile empty(dir.filePath("empty.tvxs"));
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    CArchiveWriter w;
    WriteSequenceFile({}, w);
    empty.write(w.Buffer());
    empty.close();
    EXPECT_EQ(WriteSequenceFileReport(reader, empty.fileName(), property, MODEL_K2, lost), FILE_REPORT_EMPTY);
    EXPECT_FALSE(QFileInfo::exists(lost));
}

} // namespace torvex
