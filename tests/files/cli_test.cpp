#include "FilesTestUtil.h"
#include "support/TorvexProcess.h"

#include "files/DataFile.h"
#include "model/StepExpansion.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace torvex {

namespace {

QString WriteData(const QTemporaryDir& dir, const QString& name, const CSettingData& c) {
    CArchiveWriter w;
    WriteDataFile(c, w);
    WriteBytes(dir.filePath(name), w.Buffer());
    return dir.filePath(name);
}

} // namespace

TEST(Cli, StepsOfDataAndSequenceFiles) {
    QTemporaryDir dir;
    CSettingData c;
    c.m_ulMachineType = MODEL_K2;
    c.m_ulPola = 3; // two steps: "+" and "-"
    const QString tvx = WriteData(dir, "two.tvx", c);

    TORVEX_RUN r = RunTorvex({"steps", tvx});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    QStringList lines = r.out.split('\n');
    ASSERT_EQ(lines.size(), 4); // header, two steps, the empty rest after the last '\n'
    EXPECT_TRUE(lines[0].startsWith(QString::fromUtf8("No.\tテストレベル\t極性\t")));
    EXPECT_EQ(lines[0].split('\t').size(), 23);
    EXPECT_EQ(lines[0].split('\t').last(), QString::fromUtf8("外部トリガ入力"));
    EXPECT_EQ(lines[1].split('\t').value(0), "1");
    EXPECT_EQ(lines[1].split('\t').value(2), "+");
    EXPECT_EQ(lines[2].split('\t').value(2), "-");
    EXPECT_FALSE(r.out.contains('\r'));

    SequenceEntries entries;
    for (int n : {1, 3}) {
        entries.push_back(std::make_unique<CSettingData>());
        entries.back()->m_ulMachineType = MODEL_K1;
        entries.back()->m_listExec.resize(size_t(n));
    }
    CArchiveWriter w;
    WriteSequenceFile(entries, w);
    WriteBytes(dir.filePath("s.tvxs"), w.Buffer());
    r = RunTorvex({"steps", dir.filePath("s.tvxs"), "--model", "K1"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    lines = r.out.split('\n');
    ASSERT_EQ(lines.size(), 6);
    EXPECT_TRUE(lines[0].startsWith("Entry\tNo.\t"));
    EXPECT_TRUE(lines[1].startsWith("1\t1\t"));
    EXPECT_TRUE(lines[4].startsWith("2\t3\t"));
}

TEST(Cli, ExitCodesAndMessages) {
    QTemporaryDir dir;
    CSettingData big;
    big.m_ulMachineType = MODEL_K2;
    big.m_valVolt = {VALUE_SWEEP, 200, 200, 5000, 10, {1, 0, 0, 0, 0}, {0, 0, 0, 0, 0}};
    big.m_ulPola = 3;
    big.m_valFreq = {VALUE_VARIABLE, 5000, 0, 0, 0, {1, 1, 1, 0, 0}, {5000, 10000, 20000, 0, 0}};
    const QString bigFile = WriteData(dir, "big.tvx", big);
    WriteBytes(dir.filePath("junk.tvx"), QByteArray("\x03"
                                                    "abc",
                                                    4));
    WriteBytes(dir.filePath("cut.tvx"), ReadBytes(bigFile).left(200));
    struct Case {
        QStringList args;
        int code;
        QString err; // start of stderr
    } cases[] = {
        {{"steps", bigFile},
         3,
         "現在のステップ数は2886ステップです。\nステップ数が1000以下となるように設定を変更してください。\n"},
        {{"steps", bigFile, "--model", "K1"},
         1,
         "アプリケーション起動時の試験器モデルとデータのモデルが一致しません\n"},
        {{"steps", dir.filePath("junk.tvx")},
         1,
         "TORVEX用リモートコントロールソフトのデータではありません\n"},
        {{"steps", dir.filePath("cut.tvx")}, 1, "予期しないファイル形式です。\n"},
        {{"steps", dir.filePath("none.tvx")}, 1, "torvex steps: no such file"},
        {{"steps", dir.path()}, 1, "torvex steps: no such file"},
        {{"resave", dir.filePath("none.tvx"), dir.filePath("out.tvx")}, 1, "torvex resave: no such file"},
        {{"steps", bigFile, "--model", "K3"}, 2, "torvex steps: unknown model"},
        {{"steps"}, 2, "torvex steps: expects one FILE"},
        {{"resave", bigFile}, 2, "torvex resave: expects IN and OUT"},
        {{"resave", dir.filePath("junk.tvx"), dir.filePath("out.tvx")}, 1, "TORVEX用"},
        {{"resave", bigFile, dir.path() + "/no/such/folder/out.tvx"}, 1, ""},
        {{"steps", "--help"}, 0, ""},
        {{"resave", "--version"}, 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        TORVEX_RUN r = RunTorvex(c.args);
        EXPECT_EQ(r.exitCode, c.code);
        EXPECT_TRUE(c.err.isEmpty() || r.err.startsWith(c.err)) << r.err.toStdString();
        if (c.code == 2) {
            EXPECT_EQ(r.err.count('\n'), 1);
        }
    }
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("out.tvx")));
}

TEST(Cli, ResaveWritesWhatTheProgramSaves) {
    QTemporaryDir dir;
    CSettingData c;
    c.m_ulMachineType = MODEL_K2;
    c.m_ulPola = 3;
    c.m_listExec.resize(1); // stored steps that are not the expansion
    const QString in = WriteData(dir, "in.tvx", c);
    ASSERT_EQ(RunTorvex({"resave", in, dir.filePath("out.tvx")}).exitCode, 0);
    CArchiveReader ar(ReadBytes(dir.filePath("out.tvx")));
    CSettingData read;
    std::vector<CExecData> steps;
    ASSERT_EQ(ReadDataFile(ar, MODEL_K2, read, steps), READ_OK);
    EXPECT_TRUE(read.SameBlockFields(c));
    EXPECT_EQ(steps.size(), 2u); // its own expansion

    SequenceEntries entries;
    entries.push_back(std::make_unique<CSettingData>());
    entries.back()->m_ulMachineType = MODEL_K2;
    entries.back()->m_strTestName = QString::fromUtf8("試験");
    entries.back()->m_listExec.resize(4);
    CArchiveWriter w;
    WriteSequenceFile(entries, w);
    WriteBytes(dir.filePath("in.tvxs"), w.Buffer());
    ASSERT_EQ(RunTorvex({"resave", dir.filePath("in.tvxs"), dir.filePath("out.tvxs")}).exitCode, 0);
    // Steps read get the current model type, which the file does not carry.
    EXPECT_EQ(ReadBytes(dir.filePath("out.tvxs")), w.Buffer());
}

// The English forms carry the same steps as numbers in the record's units, one
// record per step; a name with separators or quotes stays one field.
TEST(Cli, StepsInEveryFormat) {
    QTemporaryDir dir;
    SequenceEntries entries;
    for (const char* name : {"plain", "a,b \"c\"\td"}) {
        entries.push_back(std::make_unique<CSettingData>());
        CSettingData& c = *entries.back();
        c.m_ulMachineType = MODEL_K2;
        c.m_strTestName = QString::fromUtf8(name);
        c.m_listExec.resize(2);
        c.m_listExec[1].m_lFreq = 12345;
        c.m_listExec[1].m_lBurstDura = 125;
        c.m_listExec[1].m_nSync = 1;
        c.m_listExec[1].m_lAngle = 90;
    }
    entries.back()->m_listExec[0].m_bContinuous = 1;
    CArchiveWriter w;
    WriteSequenceFile(entries, w);
    WriteBytes(dir.filePath("s.tvxs"), w.Buffer());
    const QString file = dir.filePath("s.tvxs");

    const QStringList keys = {"entry",
                              "test_name",
                              "step",
                              "polarity",
                              "voltage_v",
                              "frequency_hz",
                              "pulse_count",
                              "burst_duration_us",
                              "burst_period_ms",
                              "test_time_s",
                              "output",
                              "output_detail",
                              "lines",
                              "line_sync",
                              "phase_angle_deg",
                              "alternating_polarity",
                              "continuous",
                              "modulated",
                              "external_trigger"};

    TORVEX_RUN r = RunTorvex({"steps", file, "--format", "json"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    QStringList lines = r.out.split('\n');
    ASSERT_EQ(lines.size(), 5); // four steps, then the empty rest
    QList<QJsonObject> records;
    for (int i = 0; i < 4; ++i) {
        QJsonParseError error;
        const QJsonDocument d = QJsonDocument::fromJson(lines[i].toUtf8(), &error);
        ASSERT_EQ(error.error, QJsonParseError::NoError) << lines[i].toStdString();
        records << d.object();
        EXPECT_EQ(records.back().keys().size(), keys.size());
    }
    EXPECT_EQ(records[1].value("entry").toInt(), 1);
    EXPECT_EQ(records[1].value("step").toInt(), 2);
    EXPECT_EQ(records[1].value("test_name").toString(), "plain");
    EXPECT_EQ(records[1].value("frequency_hz").toInt(), 12345);
    EXPECT_EQ(records[1].value("burst_duration_us").toInt(), 125);
    EXPECT_EQ(records[1].value("phase_angle_deg").toInt(), 90);
    EXPECT_EQ(records[1].value("line_sync").toString(), QString::fromUtf8("同期"));
    EXPECT_EQ(records[1].value("lines").toString(), "L, N , PE");
    EXPECT_EQ(records[1].value("continuous").toBool(true), false);
    EXPECT_TRUE(records[0].value("phase_angle_deg").isNull()); // not line-synchronised
    EXPECT_EQ(records[2].value("entry").toInt(), 2);
    EXPECT_EQ(records[2].value("test_name").toString(), QString::fromUtf8("a,b \"c\"\td"));
    EXPECT_TRUE(records[2].value("continuous").toBool());
    EXPECT_TRUE(records[2].value("pulse_count").isNull());
    EXPECT_TRUE(records[2].value("burst_duration_us").isNull());
    EXPECT_TRUE(records[2].value("burst_period_ms").isNull());

    r = RunTorvex({"steps", file, "--format", "csv"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    lines = r.out.split('\n');
    ASSERT_EQ(lines.size(), 6);
    EXPECT_EQ(lines[0], keys.join(','));
    EXPECT_EQ(
        lines[2],
        QString::fromUtf8(
            "1,plain,2,-,500,12345,75,125,300,60,CDN,単相,\"L, N , PE\",同期,90,false,false,false,false"));
    EXPECT_TRUE(lines[3].startsWith("2,\"a,b \"\"c\"\"\td\",1,-,500,5000,,,,60,")) << lines[3].toStdString();

    r = RunTorvex({"steps", file, "--format=tsv"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    lines = r.out.split('\n');
    ASSERT_EQ(lines.size(), 6);
    EXPECT_EQ(lines[0], keys.join('\t'));
    for (int i = 1; i < 5; ++i)
        EXPECT_EQ(lines[i].split('\t').size(), keys.size()) << lines[i].toStdString();
    EXPECT_TRUE(lines[3].startsWith("2\ta,b \"c\"\\td\t1\t")) << lines[3].toStdString();

    r = RunTorvex({"steps", file, "--format", "xml"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.startsWith("torvex steps: unknown format")) << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty());
}

// A sequence file is checked whole before its first step is printed: a file cut
// short prints nothing on standard output, only the message on standard error.
TEST(Cli, StepsOfABrokenSequenceFilePrintNothing) {
    QTemporaryDir dir;
    SequenceEntries entries;
    for (int i = 0; i < 3; ++i) {
        entries.push_back(std::make_unique<CSettingData>());
        entries.back()->m_ulMachineType = MODEL_K2;
        entries.back()->m_listExec.resize(200);
    }
    CArchiveWriter w;
    WriteSequenceFile(entries, w);
    WriteBytes(dir.filePath("cut.tvxs"), w.Buffer().left(w.Buffer().size() - 30));
    for (const char* format : {"", "json", "csv"}) {
        QStringList args = {"steps", dir.filePath("cut.tvxs")};
        if (*format) args << "--format" << format;
        const TORVEX_RUN r = RunTorvex(args);
        EXPECT_EQ(r.exitCode, 1) << format;
        EXPECT_TRUE(r.out.isEmpty()) << format;
        EXPECT_EQ(r.err, QString::fromUtf8("予期しないファイル形式です。\n"));
    }
}

} // namespace torvex
