#include "FilesTestUtil.h"

#include "files/DataFile.h"
#include "model/StepExpansion.h"

#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct CliRun {
    int code;
    QString out, err;
};

CliRun Torvex(const QStringList& args) {
    QProcess p;
    p.start(TORVEX_BINARY_DIR "/torvex", args);
    p.waitForFinished(30000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

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

    CliRun r = Torvex({"steps", tvx});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
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
    r = Torvex({"steps", dir.filePath("s.tvxs"), "--model", "K1"});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
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
        CliRun r = Torvex(c.args);
        EXPECT_EQ(r.code, c.code);
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
    ASSERT_EQ(Torvex({"resave", in, dir.filePath("out.tvx")}).code, 0);
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
    ASSERT_EQ(Torvex({"resave", dir.filePath("in.tvxs"), dir.filePath("out.tvxs")}).code, 0);
    // Steps read get the current model type, which the file does not carry.
    EXPECT_EQ(ReadBytes(dir.filePath("out.tvxs")), w.Buffer());
}
