#include "FilesTestUtil.h"

#include "files/DataFile.h"
#include "model/StepExpansion.h"

#include <gtest/gtest.h>

namespace torvex {

namespace {

QByteArray DataFileBytes(const CSettingData& c) {
    CArchiveWriter w;
    WriteDataFile(c, w);
    return w.Buffer();
}

std::unique_ptr<CSettingData> Entry(const QString& name, uint32_t model, int32_t volt, int nSteps) {
    auto c = std::make_unique<CSettingData>();
    c->m_strTestName = name;
    c->m_ulMachineType = model;
    c->m_valVolt.m_lValue = volt;
    for (int i = 0; i < nSteps; ++i) {
        CExecData s;
        s.m_ulMachineType = model;
        s.m_lVolt = volt + i;
        c->m_listExec.push_back(s);
    }
    return c;
}

QByteArray SequenceBytes(const SequenceEntries& entries) {
    CArchiveWriter w;
    WriteSequenceFile(entries, w);
    return w.Buffer();
}

} // namespace

TEST(DataFile, DefaultFileLayoutAndRoundTrip) {
    CSettingData c;
    c.m_ulMachineType = MODEL_K2;
    ASSERT_EQ(ExpandSteps(c), 1);
    const QByteArray bytes = DataFileBytes(c);
    CArchiveWriter steps;
    WriteStepListBlock(c.m_listExec, steps);
    EXPECT_EQ(
        bytes, WideItem("Kelvora TORVEX Data File") + WideItem("File Ver.1.0.1.0") + [&] {
            CArchiveWriter b;
            WriteConditionBlock(c, b);
            return b.Buffer();
        }() + steps.Buffer());
    EXPECT_EQ(bytes.size() - steps.Buffer().size(),
              5610 + WideItem("Kelvora TORVEX Data File").size() + WideItem("File Ver.1.0.1.0").size());

    CArchiveReader ar(bytes);
    CSettingData read;
    std::vector<CExecData> readSteps;
    ASSERT_EQ(ReadDataFile(ar, MODEL_K2, read, readSteps), READ_OK);
    EXPECT_TRUE(read.SameBlockFields(c));
    ASSERT_EQ(readSteps.size(), 1u);
    EXPECT_EQ(readSteps[0], c.m_listExec[0]);
}

TEST(DataFile, HeadResults) {
    CSettingData c;
    c.m_ulMachineType = MODEL_K2;
    const QByteArray body = DataFileBytes(c).mid(WideItem("Kelvora TORVEX Data File").size() +
                                                 WideItem("File Ver.1.0.1.0").size());
    struct Case {
        QByteArray head;
        uint32_t model;
        int32_t result;
    } cases[] = {
        {WideItem("Kelvora TORVEX Data File") + WideItem("File Ver.1.0.0.0"), MODEL_K2, READ_OK},
        {WideItem("Kelvora TORVEX Data File") + WideItem("xFile Ver.7"), MODEL_K2, READ_OK},
        {NarrowItem("Kelvora TORVEX Data File") + NarrowItem("File Ver.1.0.1.0"), MODEL_K2, READ_OK},
        {WideItem("Kelvora TORVEX Data File") + WideItem("Version 1.0.1.0"), MODEL_K2, READ_NEWER_VERSION},
        {WideItem("Kelvra TORVEX Sequence Data File") + WideItem("File Ver.1.0.1.0"), MODEL_K2,
         READ_NOT_OURS},
        {WideItem("kelvora torvex data file") + WideItem("File Ver.1.0.1.0"), MODEL_K2, READ_NOT_OURS},
        {WideItem("Kelvora TORVEX Data File") + WideItem("File Ver.1.0.1.0"), MODEL_K1, READ_OTHER_MODEL},
    };
    for (const Case& k : cases) {
        CArchiveReader ar(k.head + body);
        CSettingData read;
        std::vector<CExecData> steps;
        EXPECT_EQ(ReadDataFile(ar, k.model, read, steps), k.result);
        if (k.result != READ_OK) {
            EXPECT_TRUE(steps.empty());
        }
    }
}

TEST(DataFile, EveryTruncationIsMalformed) {
    CSettingData c;
    c.m_ulMachineType = MODEL_K2;
    ExpandSteps(c);
    const QByteArray data = DataFileBytes(c);
    SequenceEntries entries;
    entries.push_back(Entry("a", MODEL_K2, 500, 1));
    const QByteArray seq = SequenceBytes(entries);
    for (qsizetype n = 0; n < data.size(); ++n) {
        CArchiveReader ar(data.constData(), n);
        CSettingData read;
        std::vector<CExecData> steps;
        ASSERT_EQ(ReadDataFile(ar, MODEL_K2, read, steps), READ_MALFORMED) << n;
    }
    for (qsizetype n = 0; n < seq.size(); ++n) {
        CArchiveReader ar(seq.constData(), n);
        SequenceEntries read;
        ASSERT_EQ(ReadSequenceFile(ar, MODEL_K2, read), READ_MALFORMED) << n;
        ASSERT_TRUE(read.empty());
    }
}

TEST(SequenceFile, RoundTripAndResults) {
    SequenceEntries entries;
    entries.push_back(Entry(QString::fromUtf8("試験A"), MODEL_K2, 500, 3));
    entries.push_back(Entry("b", MODEL_K2, 1000, 0));
    entries.push_back(Entry("c", MODEL_K2, 2000, 2));
    const QByteArray bytes = SequenceBytes(entries);

    CArchiveReader ar(bytes);
    SequenceEntries read;
    ASSERT_EQ(ReadSequenceFile(ar, MODEL_K2, read), READ_OK);
    ASSERT_EQ(read.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(read[i]->m_strTestName, entries[i]->m_strTestName);
        EXPECT_TRUE(read[i]->SameBlockFields(*entries[i]));
        EXPECT_EQ(read[i]->m_listExec, entries[i]->m_listExec);
    }

    // The third entry made for another model: no entry at all is handed out.
    entries[2]->m_ulMachineType = MODEL_K1;
    CArchiveReader other(SequenceBytes(entries));
    EXPECT_EQ(ReadSequenceFile(other, MODEL_K2, read), READ_OTHER_MODEL);
    EXPECT_TRUE(read.empty());

    CArchiveReader empty(WideItem("Kelvra TORVEX Sequence Data File") + WideItem("File Ver.1.0.1.0") +
                         ValueItem(0));
    EXPECT_EQ(ReadSequenceFile(empty, MODEL_K2, read), READ_OK);
    EXPECT_TRUE(read.empty());

    QByteArray hostile = bytes;
    hostile.replace(WideItem("Kelvra TORVEX Sequence Data File").size() + WideItem("File Ver.1.0.1.0").size(),
                    4, ValueItem(INT32_MAX));
    CArchiveReader huge(hostile);
    EXPECT_EQ(ReadSequenceFile(huge, MODEL_K2, read), READ_MALFORMED);

    QByteArray newer = bytes;
    const QByteArray stepVersion = WideItem("Exec Data Ver.1.0.0.0");
    newer.replace(newer.lastIndexOf(stepVersion), stepVersion.size(), WideItem("Exec Data Ver.2.0.0.0"));
    CArchiveReader refused(newer);
    EXPECT_EQ(ReadSequenceFile(refused, MODEL_K2, read), READ_NEWER_VERSION);
    EXPECT_TRUE(read.empty());
}

TEST(DataFile, ConditionNames) {
    const std::pair<QString, QString> cases[] = {{"/tmp/x/abc.def.tvx", "abc"},
                                                 {"abc.tvx", "abc"},
                                                 {"/tmp/noext", "noext"},
                                                 {"/tmp/a b/試験.tvx", "試験"}};
    for (const auto& [path, name] : cases)
        EXPECT_EQ(ConditionNameOf(path), name);
}

} // namespace torvex
