#include "FilesTestUtil.h"
#include "support/ScriptedDialog.h"

#include "files/SequenceTableModel.h"
#include "files/TorvexDoc.h"
#include "model/StepExpansion.h"

#include <QDir>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace torvex {

namespace {

const QString kUnexpected = QStringLiteral("予期しないファイル形式です。");

class DocTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        m_doc.SetDialog(&m_dlg);
        m_doc.SetMachine(MODEL_K2, 3);
        m_doc.SetTab(TAB_MANUAL);
        m_doc.NewDocument();
    }
    QString Path(const QString& name) const { return m_dir.filePath(name); }

    // A data file of a condition whose voltage is volt, holding the given steps
    // (stored as they are, not its expansion).
    QString MakeDataFile(const QString& name, int32_t volt, int nSteps = 1, uint32_t model = MODEL_K2) {
        CSettingData c;
        c.m_ulMachineType = model;
        c.m_valVolt.m_lValue = volt;
        for (int i = 0; i < nSteps; ++i) {
            CExecData s;
            s.m_lVolt = volt + 7 * i;
            c.m_listExec.push_back(s);
        }
        CArchiveWriter w;
        WriteDataFile(c, w);
        EXPECT_TRUE(WriteBytes(Path(name), w.Buffer()));
        return Path(name);
    }
    QStringList EntryNames() const {
        QStringList names;
        for (const auto& e : m_doc.m_sequence.m_listEntry)
            names << e->m_strTestName;
        return names;
    }

    QTemporaryDir m_dir;
    CScriptedDialog m_dlg;
    CTorvexDoc m_doc;
};

} // namespace

TEST_F(DocTest, SaveAndReopenOnManual) {
    m_doc.m_settingManual.m_ulPola = 3;
    m_doc.m_settingManual.m_valVolt = {VALUE_VARIABLE, 500, 0, 0, 0, {1, 1, 0, 0, 0}, {500, 1000, 0, 0, 0}};
    ASSERT_EQ(ExpandSteps(m_doc.m_settingManual), 4);
    m_doc.m_settingManual.m_listExec[2].m_nJudge = JUDGE_FAIL;
    m_doc.m_settingManual.m_listExec[2].m_strComment = "note";
    const CSettingData saved = m_doc.m_settingManual;
    m_doc.SetModifiedFlag();
    ASSERT_TRUE(m_doc.SaveDataFile(Path("abc.def.tvx")));
    EXPECT_FALSE(m_doc.IsModified());
    EXPECT_EQ(m_doc.Title(), "abc.def.tvx");

    m_doc.NewDocument();
    EXPECT_EQ(m_doc.Title(), QString::fromUtf8("無題"));
    ASSERT_TRUE(m_doc.OpenDocument(Path("abc.def.tvx")));
    EXPECT_TRUE(m_doc.m_settingManual.SameBlockFields(saved));
    EXPECT_EQ(m_doc.m_settingManual.m_strTestName, "abc");
    ASSERT_EQ(m_doc.m_settingManual.m_listExec.size(), 4u);
    EXPECT_EQ(m_doc.m_settingManual.m_listExec[2].m_nJudge, JUDGE_NONE);
    EXPECT_TRUE(m_doc.m_settingManual.m_listExec[2].m_strComment.isEmpty());
    EXPECT_EQ(m_doc.PathName(), QFileInfo(Path("abc.def.tvx")).absoluteFilePath());
    EXPECT_TRUE(m_dlg.m_log.empty());
}

TEST_F(DocTest, OpenResultsAndMessages) {
    CArchiveWriter seq;
    WriteSequenceFile({}, seq);
    struct Case {
        QByteArray bytes;
        QString message;
    } cases[] = {
        {seq.Buffer(), "TORVEX用リモートコントロールソフトのデータではありません"},
        {WideItem("Kelvora TORVEX Data File") + WideItem("Ver.2"),
         "このソフトよりも新しいバージョンのソフトで作成されたファイルの為、ロードできません"},
        {ReadBytes(MakeDataFile("k1.tvx", 900, 1, MODEL_K1)),
         "アプリケーション起動時の試験器モデルとデータのモデルが一致しません"},
    };
    m_doc.m_settingManual.m_valVolt.m_lValue = 4000;
    ExpandSteps(m_doc.m_settingManual);
    m_doc.SetModifiedFlag();
    ASSERT_TRUE(m_doc.SaveDataFile(Path("mine.tvx")));
    m_doc.SetModifiedFlag();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message.toStdString());
        m_dlg.Clear();
        ASSERT_TRUE(WriteBytes(Path("bad.tvx"), c.bytes));
        m_dlg.QueueAnswer(COperatorDialog::No); // the save-changes prompt
        EXPECT_FALSE(m_doc.OpenDocument(Path("bad.tvx")));
        EXPECT_EQ(m_dlg.Messages(), QStringList{c.message});
        EXPECT_EQ(m_doc.m_bLoadFailed, 1);
        // Path, title, modified flag and condition are kept.
        EXPECT_EQ(m_doc.Title(), "mine.tvx");
        EXPECT_TRUE(m_doc.IsModified());
        EXPECT_EQ(m_doc.m_settingManual.m_valVolt.m_lValue, 4000);
        EXPECT_EQ(m_doc.m_settingManual.m_listExec.at(0).m_lVolt, 4000);
    }
}

TEST_F(DocTest, MalformedFileMakesTheDocumentNew) {
    const QByteArray good = ReadBytes(MakeDataFile("good.tvx", 1200, 3));
    // A few cut points: in the head, in the condition, in the steps, at the end marker.
    for (qsizetype cut : {qsizetype(3), qsizetype(100), good.size() - 700, good.size() - 1}) {
        SCOPED_TRACE(cut);
        m_dlg.Clear();
        ASSERT_TRUE(m_doc.OpenDocument(Path("good.tvx")));
        m_doc.m_settingStandard.m_lTestTime = 99;
        ASSERT_TRUE(WriteBytes(Path("cut.tvx"), good.left(cut)));
        EXPECT_FALSE(m_doc.OpenDocument(Path("cut.tvx")));
        EXPECT_EQ(m_dlg.Messages(), QStringList{kUnexpected});
        EXPECT_TRUE(m_doc.PathName().isEmpty());
        EXPECT_EQ(m_doc.Title(), QString::fromUtf8("無題"));
        EXPECT_EQ(m_doc.m_settingManual.m_valVolt.m_lValue, CSettingData().m_valVolt.m_lValue);
        EXPECT_EQ(m_doc.m_settingStandard.m_lTestTime, 60);
        EXPECT_EQ(m_doc.m_settingManual.m_ulMachineType, uint32_t(MODEL_K2));
    }
}

TEST_F(DocTest, EmptyFileOpensWithoutChangingConditions) {
    m_doc.m_settingManual.m_lTestTime = 77;
    ASSERT_TRUE(WriteBytes(Path("empty.tvx"), {}));
    EXPECT_TRUE(m_doc.OpenDocument(Path("empty.tvx")));
    EXPECT_EQ(m_doc.m_settingManual.m_lTestTime, 77);
    EXPECT_EQ(m_doc.m_settingManual.m_strTestName, "empty");
    EXPECT_EQ(m_doc.Title(), "empty.tvx");
    EXPECT_TRUE(m_dlg.Messages().isEmpty());
}

TEST_F(DocTest, FileSystemFailuresOnOpen) {
    struct Case {
        QString path;
        QString message;
    } cases[] = {
        {Path("missing.tvx"),
         QDir::toNativeSeparators(Path("missing.tvx")) +
             "\nこのファイルが見つかりません。\nパスとファイル名が正しいかどうか確認してださい。"},
        {m_dir.path(), "ドキュメントを開くことに失敗しました。"},
    };
    for (const Case& c : cases) {
        m_dlg.Clear();
        EXPECT_FALSE(m_doc.OpenDocument(c.path));
        EXPECT_EQ(m_dlg.Messages(), QStringList{c.message});
    }
}

TEST_F(DocTest, DataFileByTab) {
    m_doc.m_settingManual.m_lTestTime = 77;
    const QString file = MakeDataFile("entry.one.tvx", 2500, 3);

    // Away from MANUAL a file changes no condition, and the document keeps its
    // own file: a later Save must not write the MANUAL test over this one.
    m_doc.SetTab(TAB_STANDARD);
    ASSERT_TRUE(m_doc.OpenDocument(file));
    EXPECT_EQ(m_doc.m_settingManual.m_lTestTime, 77);
    EXPECT_EQ(m_doc.m_settingManual.m_strTestName, QStringLiteral("無題"));
    EXPECT_TRUE(m_doc.PathName().isEmpty());
    EXPECT_EQ(m_doc.m_sequence.Count(), 0);

    m_doc.SetTab(TAB_SEQUENCE);
    m_doc.SetModifiedFlag();
    m_dlg.QueueFile(file);
    ASSERT_TRUE(m_doc.AddEntryFromFile());
    ASSERT_EQ(m_doc.m_sequence.Count(), 1);
    const CSettingData& entry = *m_doc.m_sequence.Entry(0);
    EXPECT_EQ(entry.m_strTestName, "entry");
    EXPECT_EQ(entry.m_valVolt.m_lValue, 2500);
    // The stored steps, not the expansion.
    ASSERT_EQ(entry.m_listExec.size(), 3u);
    EXPECT_EQ(entry.m_listExec[2].m_lVolt, 2514);
    EXPECT_EQ(entry.m_listExec[2].m_ulMachineType, uint32_t(MODEL_K2));
    EXPECT_EQ(m_doc.m_settingManual.m_lTestTime, 77);
    EXPECT_TRUE(m_doc.IsModified()); // kept by LOAD
    EXPECT_EQ(m_doc.m_bSequenceModified, 1);

    // Complete or nothing: a file whose last step is refused or cut adds nothing
    // and leaves the MANUAL condition alone.
    QByteArray refused = ReadBytes(file);
    const QByteArray v = WideItem("Exec Data Ver.1.0.0.0");
    refused.replace(refused.lastIndexOf(v), v.size(), WideItem("Exec Data Ver.9.0.0.0"));
    const QByteArray bad[] = {refused, ReadBytes(file).chopped(30)};
    for (const QByteArray& bytes : bad) {
        m_dlg.Clear();
        ASSERT_TRUE(WriteBytes(Path("bad.tvx"), bytes));
        m_dlg.QueueFile(Path("bad.tvx"));
        EXPECT_FALSE(m_doc.AddEntryFromFile());
        EXPECT_EQ(m_dlg.Messages().size(), 1);
        EXPECT_EQ(m_doc.m_sequence.Count(), 1);
        EXPECT_EQ(m_doc.m_settingManual.m_lTestTime, 77);
        EXPECT_EQ(m_doc.Title(), QStringLiteral("無題"));
    }
}

TEST_F(DocTest, ATestAddedToTheSequenceIsNeverOverwrittenByTheManualSave) {
    const QString mine = Path("mine.tvx");
    m_doc.SetTab(TAB_MANUAL);
    ASSERT_TRUE(m_doc.SaveDataFile(mine));
    const QString other = MakeDataFile("other.tvx", 2500, 3);
    const QByteArray otherBytes = ReadBytes(other);

    m_doc.SetTab(TAB_SEQUENCE);
    m_doc.m_settingManual.m_lTestTime = 99;
    m_doc.SetModifiedFlag(true);
    ASSERT_TRUE(m_doc.OpenDocument(other)); // a file dropped on the SEQUENCE tab
    EXPECT_EQ(m_doc.m_sequence.Count(), 1);
    EXPECT_TRUE(m_doc.IsModified()); // the MANUAL work is still unsaved
    EXPECT_EQ(m_doc.PathName(), QFileInfo(mine).absoluteFilePath());

    m_doc.SetTab(TAB_MANUAL);
    ASSERT_TRUE(m_doc.Save());
    EXPECT_EQ(ReadBytes(other), otherBytes);
    CTorvexDoc back;
    back.SetMachine(MODEL_K2, 0);
    back.SetTab(TAB_MANUAL);
    ASSERT_TRUE(back.OpenDocument(mine));
    EXPECT_EQ(back.m_settingManual.m_lTestTime, 99);
}

TEST_F(DocTest, RefusedStepsLeaveManualUnchanged) {
    QByteArray bytes = ReadBytes(MakeDataFile("x.tvx", 3000, 2));
    const QByteArray v = WideItem("Exec Data Ver.1.0.0.0");
    bytes.replace(bytes.lastIndexOf(v), v.size(), WideItem("Exec Data Ver.9.0.0.0"));
    ASSERT_TRUE(WriteBytes(Path("x.tvx"), bytes));
    EXPECT_FALSE(m_doc.OpenDocument(Path("x.tvx")));
    EXPECT_EQ(m_doc.m_settingManual.m_valVolt.m_lValue, 500);
    EXPECT_EQ(m_doc.m_settingManual.m_listExec.size(), 1u);
}

TEST_F(DocTest, HostileConditionsOpenWithoutHarm) {
    CSettingData c;
    c.m_ulMachineType = MODEL_K2;
    c.m_valFreq = {VALUE_SWEEP, 0, 0, 0, 0, {0, 0, 0, 0, 0}, {0, 0, 0, 0, 0}};
    c.m_valVolt = {7, 0, INT32_MIN, INT32_MAX, -1, {1, 1, 1, 1, 1}, {0, 0, 0, 0, 0}};
    c.m_ulPola = 0xFFFFFFFFu;
    c.m_outOutput.m_nOutputPort = -4;
    c.m_outOutput.m_aopOutputPort[0] = {99, 5, 5, {0, 0, 0}, {0xFFFFFFFFu, 0, 0}, 1, {}};
    CArchiveWriter w;
    WriteDataFile(c, w);
    ASSERT_TRUE(WriteBytes(Path("hostile.tvx"), w.Buffer()));
    EXPECT_TRUE(m_doc.OpenDocument(Path("hostile.tvx")));
    EXPECT_LE(m_doc.m_settingManual.m_listExec.size(), size_t(kMaxSteps));
}

TEST_F(DocTest, SaveChangesPrompt) {
    m_doc.SetModifiedFlag();
    m_dlg.QueueAnswer(COperatorDialog::Cancel);
    EXPECT_FALSE(m_doc.OnNewDocument());
    EXPECT_EQ(m_dlg.Texts(), QStringList{"無題.tvx への変更を保存しますか?"});
    EXPECT_TRUE(m_doc.IsModified());

    // Yes without a path asks for a name; cancelling that cancels the command.
    m_dlg.Clear();
    m_dlg.QueueAnswer(COperatorDialog::Yes);
    EXPECT_FALSE(m_doc.OnNewDocument());
    EXPECT_EQ(m_dlg.Texts(), QStringList({"無題.tvx への変更を保存しますか?", "名前を付けて保存"}));

    m_dlg.Clear();
    m_dlg.QueueAnswer(COperatorDialog::Yes);
    m_dlg.QueueFile(Path("named.tvx"));
    m_doc.m_settingManual.m_lTestTime = 5;
    EXPECT_TRUE(m_doc.OnNewDocument());
    EXPECT_EQ(m_doc.m_settingManual.m_lTestTime, 60);
    EXPECT_TRUE(QFileInfo::exists(Path("named.tvx")));
    EXPECT_EQ(m_doc.RecentFiles().value(0), QFileInfo(Path("named.tvx")).absoluteFilePath());

    // Reopening the document's own file: left alone while saved, read again
    // (after the prompt) when changed.
    ASSERT_TRUE(m_doc.OpenDocument(Path("named.tvx")));
    m_doc.m_settingManual.m_lTestTime = 9;
    ASSERT_TRUE(m_doc.Save()); // to its own path, no dialog
    m_doc.m_settingManual.m_lTestTime = 11;
    m_dlg.Clear();
    EXPECT_TRUE(m_doc.OpenDocument(Path("named.tvx")));
    EXPECT_EQ(m_doc.m_settingManual.m_lTestTime, 11);
    m_doc.SetModifiedFlag();
    m_dlg.QueueAnswer(COperatorDialog::No);
    EXPECT_TRUE(m_doc.OpenDocument(Path("named.tvx")));
    EXPECT_EQ(m_dlg.Texts(), QStringList{"named.tvx への変更を保存しますか?"});
    EXPECT_EQ(m_doc.m_settingManual.m_lTestTime, 9);
}

TEST_F(DocTest, FailedSaveKeepsThePreviousFile) {
    ASSERT_TRUE(m_doc.SaveDataFile(Path("keep.tvx")));
    const QByteArray before = ReadBytes(Path("keep.tvx"));
    m_doc.m_settingManual.m_lTestTime = 3;
    m_doc.SetModifiedFlag();

    // Writes beyond 4 KiB fail (as on a full disk), whoever runs the test.
    struct rlimit old;
    getrlimit(RLIMIT_FSIZE, &old);
    struct rlimit small = old;
    small.rlim_cur = 4096;
    auto oldHandler = signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);
    const bool bSaved = m_doc.Save();
    setrlimit(RLIMIT_FSIZE, &old);
    signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(bSaved);
    EXPECT_EQ(ReadBytes(Path("keep.tvx")), before);
    EXPECT_EQ(m_dlg.Messages().size(), 1);
    EXPECT_TRUE(m_doc.IsModified());
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files), QStringList{"keep.tvx"}); // no temporary left

    // A folder that is a file: nothing written, the operator told.
    m_dlg.Clear();
    EXPECT_FALSE(m_doc.SaveDataFile(Path("keep.tvx/inner.tvx")));
    EXPECT_EQ(m_dlg.Messages().size(), 1);
    EXPECT_EQ(m_doc.Title(), "keep.tvx");
}

TEST_F(DocTest, RecentFilesKeepFourNewestFirst) {
    for (const char* name : {"a.tvx", "b.tvx", "c.tvx", "d.tvx", "e.tvx"})
        ASSERT_TRUE(m_doc.SaveDataFile(Path(name)));
    ASSERT_TRUE(m_doc.OpenDocument(Path("c.tvx")));
    QStringList names;
    for (const QString& p : m_doc.RecentFiles())
        names << QFileInfo(p).fileName();
    EXPECT_EQ(names, QStringList({"c.tvx", "e.tvx", "d.tvx", "b.tvx"}));
}

TEST_F(DocTest, SequenceFiles) {
    m_doc.SetTab(TAB_SEQUENCE);
    for (const char* name : {"one.tvx", "two.tvx", "three.tvx"})
        ASSERT_TRUE(m_doc.ReadDocument(MakeDataFile(name, 1000, 2)));
    ASSERT_EQ(m_doc.m_sequence.Count(), 3);
    m_doc.m_sequence.m_bLogWritten = 1;

    // Nothing to ask while saved; the untitled name while not.
    m_dlg.Clear();
    m_dlg.QueueAnswer(COperatorDialog::Cancel);
    EXPECT_FALSE(m_doc.SaveSequenceModified());
    EXPECT_EQ(m_dlg.Texts(), QStringList{"無題.tvxs への変更を保存しますか?"});

    ASSERT_TRUE(m_doc.WriteSequenceFile(Path("s.tvxs")));
    EXPECT_EQ(m_doc.m_bSequenceModified, 0);
    EXPECT_TRUE(m_doc.m_sequence.m_strSeqPath.isEmpty());
    m_dlg.Clear();
    EXPECT_TRUE(m_doc.SaveSequenceModified());
    EXPECT_TRUE(m_dlg.m_log.empty());

    // A second list whose third entry was made for another model.
    SequenceEntries other;
    for (uint32_t model : {MODEL_K2, MODEL_K2, MODEL_K1}) {
        other.push_back(std::make_unique<CSettingData>());
        other.back()->m_ulMachineType = model;
    }
    CArchiveWriter w;
    WriteSequenceFile(other, w);
    ASSERT_TRUE(WriteBytes(Path("other.tvxs"), w.Buffer()));
    EXPECT_FALSE(m_doc.ReadSequenceFile(Path("other.tvxs")));
    EXPECT_EQ(m_dlg.Messages(),
              QStringList{"アプリケーション起動時の試験器モデルとデータのモデルが一致しません"});
    EXPECT_EQ(EntryNames(), QStringList({"one", "two", "three"}));

    // An empty sequence file loads and keeps the list.
    CArchiveWriter e;
    WriteSequenceFile({}, e);
    ASSERT_TRUE(WriteBytes(Path("empty.tvxs"), e.Buffer()));
    EXPECT_TRUE(m_doc.ReadSequenceFile(Path("empty.tvxs")));
    EXPECT_EQ(m_doc.m_sequence.Count(), 3);

    // A malformed one changes nothing at all.
    m_doc.m_settingManual.m_lTestTime = 42;
    ASSERT_TRUE(WriteBytes(Path("cut.tvxs"), ReadBytes(Path("s.tvxs")).chopped(10)));
    EXPECT_FALSE(m_doc.ReadSequenceFile(Path("cut.tvxs")));
    EXPECT_EQ(m_doc.m_settingManual.m_lTestTime, 42);
    EXPECT_EQ(m_doc.m_sequence.Count(), 3);

    m_doc.m_sequence.Select(2);
    m_doc.m_sequence.MoveUp();
    m_doc.m_sequence.m_bLogWritten = 1;
    m_dlg.Clear();
    m_dlg.QueueFile(Path("s.tvxs"));
    m_dlg.QueueAnswer(COperatorDialog::No);
    ASSERT_TRUE(m_doc.LoadSequence());
    EXPECT_EQ(EntryNames(), QStringList({"one", "two", "three"}));
    EXPECT_EQ(m_doc.m_sequence.Entry(1)->m_listExec.size(), 2u);
    EXPECT_EQ(m_doc.m_sequence.m_nCurEntry, 0);
    EXPECT_EQ(m_doc.m_sequence.m_bLogWritten, 0);
    EXPECT_EQ(m_doc.m_bSequenceModified, 0);
    EXPECT_EQ(m_doc.m_sequence.m_strSeqPath, QFileInfo(Path("s.tvxs")).absoluteFilePath());

    // Save as names the file; save then writes there without asking.
    m_doc.m_sequence.RemoveAll();
    m_doc.SetTab(TAB_SEQUENCE);
    ASSERT_TRUE(m_doc.ReadDocument(Path("one.tvx")));
    m_dlg.Clear();
    m_dlg.QueueAnswer(COperatorDialog::Yes);
    EXPECT_TRUE(m_doc.SaveSequenceModified()); // has a path: no dialog
    EXPECT_EQ(m_dlg.Texts(), QStringList{"s.tvxs への変更を保存しますか?"});
    CArchiveReader ar(ReadBytes(Path("s.tvxs")));
    SequenceEntries back;
    ASSERT_EQ(ReadSequenceFile(ar, MODEL_K2, back), READ_OK);
    EXPECT_EQ(back.size(), 1u);
}

// The walk the command line and the report take through a sequence file: every
// entry whole, in order, with the file's count, however large or small.
TEST_F(DocTest, EachSequenceEntryIsHandedOnWholeAndInOrder) {
    SequenceEntries entries;
    const std::vector<std::pair<QString, int>> made = {
        {QString::fromUtf8("電源ポート"), 3}, {QStringLiteral("empty"), 0}, {QStringLiteral("long"), 1200}};
    for (const auto& [name, nSteps] : made) {
        entries.push_back(std::make_unique<CSettingData>());
        entries.back()->m_ulMachineType = MODEL_K2;
        entries.back()->m_strTestName = name;
        for (int i = 0; i < nSteps; ++i) {
            CExecData step;
            step.m_lVolt = 1000 * int32_t(entries.size()) + i;
            entries.back()->m_listExec.push_back(step);
        }
    }
    CArchiveWriter w;
    WriteSequenceFile(entries, w);
    ASSERT_TRUE(WriteBytes(Path("walk.tvxs"), w.Buffer()));

    QStringList seen;
    ASSERT_TRUE(
        m_doc.ForEachSequenceEntry(Path("walk.tvxs"), [&](int32_t nEntry, int32_t nCount, CSettingData& c) {
            const int32_t last = c.m_listExec.empty() ? -1 : c.m_listExec.back().m_lVolt;
            seen << QStringLiteral("%1/%2 %3 %4 %5")
                        .arg(nEntry)
                        .arg(nCount)
                        .arg(c.m_strTestName)
                        .arg(c.m_listExec.size())
                        .arg(last);
        }));
    EXPECT_EQ(seen, QStringList({QString::fromUtf8("0/3 電源ポート 3 1002"), "1/3 empty 0 -1",
                                 "2/3 long 1200 4199"}));
    EXPECT_TRUE(m_dlg.m_log.empty());
}

// An entry name stored in the narrow form by an old program: a byte that is no
// character shows as the replacement character in the sequence list.
TEST_F(DocTest, NarrowEntryNameShowsBadBytesAsReplacement) {
    CArchiveWriter w;
    w.WriteString(kSequenceFileMagic);
    w.WriteString(kFileVersion);
    w.WriteValue(int32_t(1));
    CArchiveWriter entry;
    CSettingData c;
    c.m_ulMachineType = MODEL_K2;
    WriteConditionBlock(c, entry);
    WriteStepListBlock({CExecData()}, entry);
    const QByteArray name("\x96\xBC\x80\x91\x4F"); // 名, a stray byte, 前
    ASSERT_TRUE(WriteBytes(Path("old.tvxs"), w.Buffer() + NarrowItem(name) + entry.Buffer()));

    m_doc.SetTab(TAB_SEQUENCE);
    ASSERT_TRUE(m_doc.ReadSequenceFile(Path("old.tvxs")));
    const QString expected = QString::fromUtf8("名\uFFFD前");
    EXPECT_EQ(EntryNames(), QStringList{expected});
    CSequenceTableModel rows(m_doc.m_sequence);
    rows.Refill();
    EXPECT_EQ(rows.data(rows.index(0, 1), Qt::DisplayRole).toString(), expected);
}

// The sequence list rules, one table row per operation.
TEST(SequenceList, Operations) {
    enum Op { Add, Up, Down, Remove, RemoveAll };
    struct Case {
        const char* what;
        int entries, cur, method;
        Op op;
        QString expected; // names after the operation, the new entry being "N"
        int curAfter;
        int32_t modifiedAfter;
        bool logCleared;
    } cases[] = {
        {"overwrite on empty appends", 0, 0, ADD_OVERWRITE, Add, "N", 0, 1, true},
        {"overwrite entry 2", 3, 1, ADD_OVERWRITE, Add, "a N c", 1, 1, true},
        {"overwrite without current", 3, 5, ADD_OVERWRITE, Add, "a b c", 5, 0, false},
        {"insert before entry 1", 2, 0, ADD_INSERT, Add, "N a b", 0, 1, true},
        {"insert without current", 2, -1, ADD_INSERT, Add, "a b", -1, 0, false},
        {"append", 2, 0, ADD_APPEND, Add, "a b N", 2, 1, true},
        {"up on the first", 3, 0, 0, Up, "a b c", 0, 0, false},
        {"up", 3, 2, 0, Up, "a c b", 1, 1, true},
        {"down on the last", 3, 2, 0, Down, "a b c", 2, 0, false},
        {"down on empty", 0, 0, 0, Down, "", 0, 0, false},
        {"down", 3, 0, 0, Down, "b a c", 1, 1, true},
        {"remove the first", 3, 0, 0, Remove, "b c", 0, 1, true},
        {"remove the last", 3, 2, 0, Remove, "a b", 1, 1, true},
        {"remove the only", 1, 0, 0, Remove, "", 0, 0, true},
        {"remove out of range", 2, 4, 0, Remove, "a b", 4, 0, false},
        {"remove all", 3, 2, 0, RemoveAll, "", 0, 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        int32_t bModified = 0;
        CSequenceList list(bModified);
        for (int i = 0; i < c.entries; ++i) {
            list.m_listEntry.push_back(std::make_unique<CSettingData>());
            list.m_listEntry.back()->m_strTestName = QString(QChar('a' + i));
        }
        list.m_nCurEntry = c.cur;
        list.m_nAddMethod = c.method;
        list.m_bLogWritten = 1;
        switch (c.op) {
        case Add: {
            auto n = std::make_unique<CSettingData>();
            n->m_strTestName = "N";
            CSettingData* p = n.get();
            CSettingData* placed = list.AddEntry(std::move(n));
            EXPECT_EQ(placed, c.modifiedAfter ? p : nullptr);
            break;
        }
        case Up:
            list.MoveUp();
            break;
        case Down:
            list.MoveDown();
            break;
        case Remove:
            list.Remove();
            break;
        case RemoveAll:
            list.RemoveAll();
            break;
        }
        QStringList names;
        for (int i = 0; i < list.Count(); ++i)
            names << list.Entry(i)->m_strTestName;
        EXPECT_EQ(names.join(' '), c.expected);
        EXPECT_EQ(list.m_nCurEntry, c.curAfter);
        EXPECT_EQ(bModified, c.modifiedAfter);
        EXPECT_EQ(list.m_bLogWritten, c.logCleared ? 0 : 1);
    }
    int32_t b = 0;
    CSequenceList list(b);
    list.m_nCurEntry = 1;
    EXPECT_EQ(list.RemoveQuestion(),
              QString::fromUtf8("No.2の試験をリストから削除します。\nよろしいですか？"));
    EXPECT_EQ(CSequenceList::RemoveAllQuestion(),
              QString::fromUtf8("全ての試験をリストから削除します。\nよろしいですか？"));
}

} // namespace torvex
