#include "FilesTestUtil.h"

#include "files/TaggedArchive.h"
#include "model/StepExpansion.h"

#include <gtest/gtest.h>

namespace torvex {

namespace {

CSettingData VariedCondition(int n) {
    CSettingData c;
    c.m_ulMachineType = MODEL_K2;
    switch (n) {
    case 0:
        break; // defaults
    case 1:
        c.m_ulMachineType = MODEL_K1;
        c.m_nHWVersion = 0x0102;
        c.m_ulPola = 3;
        c.m_valVolt = {VALUE_SWEEP, 1000, 200, 5000, 10, {1, 0, 1, 0, 1}, {200, 300, 400, 500, 600}};
        c.m_valFreq = {
            VALUE_VARIABLE, 100000, 100, 2000000, 100, {0, 1, 1, 0, 0}, {5000, 2500, 1000000, 7, 9}};
        c.m_bContinuous = 1;
        c.m_bTrigger = 1;
        break;
    case 2:
        c.m_lBurstPeriod = -5;
        c.m_lPalseCount = INT32_MAX;
        c.m_lBurstDura = INT32_MIN;
        c.m_lTestTime = 35999;
        c.m_outOutput.m_nOutputPort = PORT_PULSE_OUT;
        for (int k = 0; k < 3; ++k) {
            OUTPUT_PORT_STRUCT& p = c.m_outOutput.m_aopOutputPort[k];
            p.m_nOutputDetail = k;
            p.m_uCouplingType = uint32_t(k & 1);
            p.m_uSweepType = 0xFFFFFFFFu;
            p.m_nSync = k;
            for (int j = 0; j < 3; ++j) {
                p.m_aulInjBitFix[j] = uint32_t(k * 10 + j);
                p.m_aulInjBitSweep[j] = 0x80000000u | uint32_t(j);
            }
            p.m_valAngle = {VALUE_VARIABLE, 45 * k, 0, 360, 15, {1, 1, 1, 1, 1}, {0, 90, 180, 270, 359}};
        }
        c.m_bAlternative = c.m_bModulated = 1;
        break;
    }
    return c;
}

} // namespace

TEST(TaggedArchive, WideStringHeadsByLength) {
    struct Case {
        qsizetype len;
        QByteArray head;
    } cases[] = {
        {0, QByteArray("\xFF\xFE\xFF\x00", 4)},
        {26, QByteArray("\xFF\xFE\xFF\x1A", 4)},
        {254, QByteArray("\xFF\xFE\xFF\xFE", 4)},
        {255, QByteArray("\xFF\xFE\xFF\xFF\xFF\x00", 6)},
        {0xFFFD, QByteArray("\xFF\xFE\xFF\xFF\xFD\xFF", 6)},
        {0xFFFE, QByteArray("\xFF\xFE\xFF\xFF\xFF\xFF\xFE\xFF\x00\x00", 10)},
        {70000, QByteArray("\xFF\xFE\xFF\xFF\xFF\xFF\x70\x11\x01\x00", 10)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.len);
        QString s(c.len, QChar(u'試'));
        QByteArray bytes = WideItem(s);
        EXPECT_EQ(bytes.left(c.head.size()), c.head);
        EXPECT_EQ(bytes.size(), c.head.size() + 2 * c.len);
        CArchiveReader ar(bytes);
        EXPECT_EQ(ar.ReadString(), s);
        EXPECT_FALSE(ar.Failed());
        EXPECT_EQ(ar.Remaining(), 0);
    }
    EXPECT_EQ(WideItem("### START SETTING DATA ###").mid(4, 4), QByteArray("#\0#\0", 4));
}

TEST(TaggedArchive, ReadsNarrowStrings) {
    const QByteArray sjis("\x8E\x8E\x8C\xB1", 4); // 試験 in the Japanese code page
    struct Case {
        QByteArray bytes;
        QString text;
    } cases[] = {
        {NarrowItem("abc"), "abc"},
        {NarrowItem(""), ""},
        {QByteArray("\xFF\x03\x00", 3) + "xyz", "xyz"},
        {QByteArray("\xFF\xFF\xFF\x02\x00\x00\x00", 7) + "ok", "ok"},
        {NarrowItem(sjis), QString::fromUtf8("試験")},
    };
    for (const Case& c : cases) {
        CArchiveReader ar(c.bytes + ValueItem(42));
        EXPECT_EQ(ar.ReadString(), c.text);
        EXPECT_EQ(ar.ReadValue(), 42);
        EXPECT_FALSE(ar.Failed());
    }
}

// Bytes of a narrow string that are no Shift_JIS character read as the
// replacement character, one per byte, and never hide the text around them.
TEST(TaggedArchive, NarrowStringsMarkBytesThatAreNoCharacter) {
    const QString bad(QChar::ReplacementCharacter);
    const QString shi = QString::fromUtf8("試"), ken = QString::fromUtf8("験");
    struct Case {
        const char* name;
        QByteArray bytes;
        QString text;
    } cases[] = {
        {"single bytes that are no character", QByteArray("a\x80z\xA0\xFD\xFE\xFF"),
         "a" + bad + "z" + bad + bad + bad + bad},
        {"between two double-byte characters", QByteArray("\x8E\x8E\x80\x8C\xB1"), shi + bad + ken},
        {"a lead byte without its trail byte", QByteArray("\x81 x"), bad + " x"},
        {"a lead byte at the end", QByteArray("ab\x8E"), "ab" + bad},
        {"an unassigned double-byte character", QByteArray("\x85\x40!"), bad + "!"},
        {"control bytes are themselves", QByteArray("\x1A\x1C\x7F\x01", 4),
         QString::fromUtf16(u"\x1A\x1C\x7F\x01")},
        {"half-width katakana", QByteArray("\xB1\xDF"), QString::fromUtf16(u"\uFF71\uFF9F")},
        {"ASCII around Japanese", QByteArray("A\\~\x8E\x8E"), "A\\~" + shi},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(DecodeShiftJis(c.bytes), c.text);
        CArchiveReader ar(NarrowItem(c.bytes) + ValueItem(7));
        EXPECT_EQ(ar.ReadString(), c.text);
        EXPECT_EQ(ar.ReadValue(), 7);
        EXPECT_FALSE(ar.Failed());
    }
}

TEST(TaggedArchive, MalformedItemsFailWithoutAllocating) {
    const QByteArray cases[] = {
        QByteArray("\xFF\xFE\xFF\x05"
                   "ab",
                   6),                                                          // shorter than its length
        QByteArray("\xFF\xFE\xFF\xFF\xFF\xFF\xF0\xFF\xFF\x7F", 10),             // 2^31 characters announced
        QByteArray("\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\x7F", 13), // 64-bit length
        QByteArray("\xFF\xFE\xFF\xFF\xFE\xFF\x00", 7),                          // two wide marks
        QByteArray("\xFF\x01", 2),                                              // cut inside the length
        QByteArray(),
    };
    for (const QByteArray& bytes : cases) {
        CArchiveReader ar(bytes);
        EXPECT_TRUE(ar.ReadString().isEmpty());
        EXPECT_TRUE(ar.Failed());
        EXPECT_EQ(ar.ReadValue(), 0); // stays failed
    }
    CArchiveReader ar(QByteArray("\x01\x02\x03", 3));
    ar.ReadValue();
    EXPECT_TRUE(ar.Failed());
}

TEST(TaggedArchive, BlockSizesAndLayout) {
    CArchiveWriter w;
    WriteConditionBlock(CSettingData(), w);
    EXPECT_EQ(w.Buffer().size(), 5610);
    const QStringList strings = BlockStrings(w.Buffer());
    ASSERT_EQ(strings.size(), 137);
    EXPECT_EQ(strings.first(), "### START SETTING DATA ###");
    EXPECT_EQ(strings[1], "Setting Data Ver.1.0.0.0");
    EXPECT_EQ(strings.last(), "### END SETTING DATA ###");
    EXPECT_LT(strings.indexOf("[m_lBurstPeriod]"), strings.indexOf("[m_lPalseCount]"));
    EXPECT_EQ(strings[strings.indexOf("@ END VOLT VALUE STRUCTURE @") - 2], "[m_abUse[4]]");
    EXPECT_EQ(strings[strings.indexOf("@ END VOLT VALUE STRUCTURE @") - 1], "[m_alValue[4]]");
    const int port2 = int(strings.indexOf("@@ OUTPUT_PORT STRUCTURE ARRAY[2 / 2] @@"));
    ASSERT_GT(port2, 0);
    EXPECT_EQ(strings[port2 + 1], "[m_outOutput.m_aopOutputPort[2]]");
    EXPECT_EQ(strings[port2 + 7], "[m_aulInjBitSweep[2]]");
    EXPECT_EQ(strings[port2 + 13], "[m_lValue3]");

    CArchiveWriter s;
    WriteStepBlock(CExecData(), s);
    EXPECT_EQ(s.Buffer().size(), 586);

    std::vector<CExecData> steps(1000);
    CArchiveWriter l;
    WriteStepListBlock(steps, l);
    qsizetype markers = 0;
    for (int i = 0; i < 1000; ++i)
        markers += WideItem(QString::asprintf("@ EXEC DATA STRUCTURE ARRAY[%d / 999] @", i)).size();
    const qsizetype headTail = WideItem("### START EXEC DATA ###").size() + WideItem("ExecDataCount").size() +
                               4 + WideItem("### END EXEC DATA ###").size();
    EXPECT_EQ(l.Buffer().size(), headTail + markers + 1000 * 586);

    CArchiveWriter one;
    WriteStepListBlock(std::vector<CExecData>(1), one);
    EXPECT_TRUE(BlockStrings(one.Buffer()).contains("@ EXEC DATA STRUCTURE ARRAY[0 / 0] @"));
    CArchiveWriter none;
    WriteStepListBlock({}, none);
    EXPECT_EQ(BlockStrings(none.Buffer()),
              QStringList({"### START EXEC DATA ###", "ExecDataCount", "### END EXEC DATA ###"}));
}

TEST(TaggedArchive, ConditionRoundTrips) {
    for (int n = 0; n < 3; ++n) {
        SCOPED_TRACE(n);
        const CSettingData written = VariedCondition(n);
        CArchiveWriter w;
        WriteConditionBlock(written, w);
        CSettingData read;
        read.m_valVolt.m_alValue[3] = 12345; // overwritten by the read
        CArchiveReader ar(w.Buffer());
        EXPECT_EQ(ReadConditionBlock(read, ar, written.m_ulMachineType), READ_OK);
        EXPECT_TRUE(read.SameBlockFields(written));
        EXPECT_EQ(ar.Remaining(), 0);
    }
}

TEST(TaggedArchive, ConditionVersionsAndModel) {
    CArchiveWriter w;
    WriteConditionBlock(VariedCondition(1), w); // made on a K1
    const QByteArray block = w.Buffer();
    const qsizetype versionEnd =
        WideItem("### START SETTING DATA ###").size() + WideItem("Setting Data Ver.1.0.0.0").size();
    struct Case {
        QString version;
        int32_t result;
    } cases[] = {
        {"Setting Data Ver.1.0.0.0", READ_OTHER_MODEL},   {"Setting Data Ver.1.0.3.0", READ_OTHER_MODEL},
        {"Setting Data Ver.1.0.5.0", READ_OTHER_MODEL},   {"Setting Data Ver.1.0.6.0", READ_NEWER_VERSION},
        {"setting data ver.1.0.0.0", READ_NEWER_VERSION}, {"", READ_NEWER_VERSION},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.version.toStdString());
        QByteArray bytes =
            WideItem("### START SETTING DATA ###") + WideItem(c.version) + block.mid(versionEnd);
        CArchiveReader ar(bytes);
        CSettingData read;
        EXPECT_EQ(ReadConditionBlock(read, ar, MODEL_K2), c.result);
        if (c.result == READ_NEWER_VERSION) {
            // Nothing past the two strings is read.
            EXPECT_EQ(ar.Position(),
                      WideItem("### START SETTING DATA ###").size() + WideItem(c.version).size());
        } else {
            EXPECT_TRUE(read.SameBlockFields(VariedCondition(1))); // filled although another model
        }
    }
    CArchiveReader ar(block);
    CSettingData read;
    EXPECT_EQ(ReadConditionBlock(read, ar, MODEL_K1), READ_OK);
}

TEST(TaggedArchive, StepBlockRoundTripAndVersions) {
    CExecData step;
    step.m_nPola = 1;
    step.m_lVolt = 4000;
    step.m_lFreq = 100000;
    step.m_ulInjLine = 0xFFFFFFFFu;
    step.m_lAngle = -90;
    step.m_bModulated = 1;
    CArchiveWriter w;
    WriteStepBlock(step, w);
    const QByteArray rest = w.Buffer().mid(WideItem("Exec Data Ver.1.0.0.0").size());
    struct Case {
        QString version;
        int32_t result;
    } cases[] = {{"Exec Data Ver.1.0.0.0", READ_OK},
                 {"Exec Data Ver.1.0.1.0", READ_OK},
                 {"Exec Data Ver.1.0.2.0", READ_NEWER_VERSION}};
    for (const Case& c : cases) {
        CArchiveReader ar(WideItem(c.version) + rest);
        CExecData read;
        read.m_strComment = "kept";
        EXPECT_EQ(ReadStepBlock(read, ar), c.result);
        if (c.result == READ_OK) {
            EXPECT_EQ(read, [&] {
                CExecData e = step;
                e.m_strComment = "kept";
                return e;
            }());
        }
    }
}

TEST(TaggedArchive, StepListCountsAreBoundedByTheBytes) {
    // A count far beyond what follows ends as a malformed read at the first
    // missing step, whatever the count.
    for (int32_t count : {3, 1000000, INT32_MAX}) {
        CArchiveWriter w;
        WriteStepListBlock(std::vector<CExecData>(2), w);
        QByteArray bytes = w.Buffer();
        const qsizetype countAt =
            WideItem("### START EXEC DATA ###").size() + WideItem("ExecDataCount").size();
        bytes.replace(countAt, 4, ValueItem(count));
        std::vector<CExecData> steps;
        CArchiveReader ar(bytes);
        EXPECT_EQ(ReadStepListBlock(steps, ar, MODEL_K2), READ_MALFORMED);
        EXPECT_LE(qint64(steps.capacity()), bytes.size() / kMinStepItemBytes);
    }
    // A negative count reads as no step.
    CArchiveWriter w;
    WriteStepListBlock({}, w);
    QByteArray bytes = w.Buffer();
    bytes.replace(WideItem("### START EXEC DATA ###").size() + WideItem("ExecDataCount").size(), 4,
                  ValueItem(-7));
    std::vector<CExecData> steps;
    CArchiveReader ar(bytes);
    EXPECT_EQ(ReadStepListBlock(steps, ar, MODEL_K2), READ_OK);
    EXPECT_TRUE(steps.empty());
}

} // namespace torvex
