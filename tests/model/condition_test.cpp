#include "model/CodeTable.h"
#include "model/SettingData.h"
#include "model/StepExpansion.h"

#include <climits>
#include <cstdio>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace torvex {

namespace {

VALUE_STRUCT Sweep(int32_t start, int32_t end, int32_t step) {
    VALUE_STRUCT vs;
    vs.m_nValueType = VALUE_SWEEP;
    vs.m_lStart = start;
    vs.m_lEnd = end;
    vs.m_lStep = step;
    return vs;
}

VALUE_STRUCT Variable(std::initializer_list<std::pair<int32_t, int32_t>> rows) {
    VALUE_STRUCT vs;
    vs.m_nValueType = VALUE_VARIABLE;
    int i = 0;
    for (auto [use, value] : rows) {
        vs.m_abUse[i] = use;
        vs.m_alValue[i] = value;
        ++i;
    }
    return vs;
}

std::vector<int32_t> AllValues(const VALUE_STRUCT& vs, bool freq) {
    std::vector<int32_t> out;
    int64_t n = freq ? FreqValueCount(vs) : ValueCount(vs);
    for (int64_t i = 0; i < n; ++i)
        out.push_back(freq ? FreqValueAt(vs, i) : ValueAt(vs, i));
    return out;
}

} // namespace

TEST(SettingData, DefaultsAndReset) {
    CSettingData c;
    EXPECT_EQ(c.m_strTestName, QStringLiteral("無題"));
    EXPECT_EQ(c.m_nTestLevel, 4);
    EXPECT_EQ(c.m_outOutput.m_aopOutputPort[0].m_aulInjBitFix[0], 7u);
    EXPECT_EQ(c.m_outOutput.m_aopOutputPort[0].m_aulInjBitSweep[1], 31u);
    EXPECT_EQ(c.m_outOutput.m_aopOutputPort[1].m_aulInjBitFix[0], 1u);
    EXPECT_EQ(c.m_aValueFormat[VF_FREQ].m_strUnit, "kHz");

    c.m_ulMachineType = MODEL_K1;
    c.m_nHWVersion = 3;
    c.m_listExec.resize(2);
    c.m_ulPola = 3;
    c.m_valVolt.m_lValue = 4000;
    c.Reset(false);
    EXPECT_EQ(c.m_nTestLevel, 0);
    EXPECT_EQ(c.m_ulPola, 1u);
    EXPECT_EQ(c.m_valVolt.m_lValue, 500);
    EXPECT_EQ(c.m_ulMachineType, uint32_t(MODEL_K1)); // model, version and steps survive a reset
    EXPECT_EQ(c.m_nHWVersion, 3);
    EXPECT_EQ(c.m_listExec.size(), 2u);
}

TEST(SettingData, ValueCountsAndValues) {
    EXPECT_EQ(ValueCount(Sweep(500, 4000, 10)), 351);
    EXPECT_EQ(AllValues(Sweep(500, 4000, 10), false).back(), 4000);
    EXPECT_EQ(AllValues(Sweep(200, 1000, 300), false), (std::vector<int32_t>{200, 500, 800}));
    EXPECT_EQ(AllValues(Sweep(700, 700, 0), false), (std::vector<int32_t>{700}));
    EXPECT_EQ(ValueCount(Sweep(1000, 200, 10)), -79); // reversed: no steps
    auto down = AllValues(Sweep(100000, 5000, 5000), true);
    ASSERT_EQ(down.size(), 20u);
    EXPECT_EQ(down.front(), 100000);
    EXPECT_EQ(down.back(), 5000);

    VALUE_STRUCT var = Variable({{0, 1}, {1, 20}, {0, 3}, {1, 40}, {0, 5}});
    EXPECT_EQ(ValueCount(var), 2);
    bool found = false;
    EXPECT_EQ(ValueAt(var, 0, &found), 20);
    EXPECT_TRUE(found);
    EXPECT_EQ(ValueAt(var, 1, &found), 40);
    EXPECT_EQ(ValueAt(var, 2, &found), 0);
    EXPECT_FALSE(found);
}

TEST(ExecData, DefaultStepTexts) {
    CExecData s;
    const std::vector<std::pair<int, QString>> expected = {
        {1, "1"},       {2, "-"},       {3, "500"},        {4, "5.0"},  {5, "75"},
        {6, "15.00"},   {7, "300"},     {8, "0"},          {9, "01"},   {10, "00"},
        {11, "CDN"},    {12, "単相"},   {13, "L, N , PE"}, {14, ""},    {15, "非同期"},
        {16, "------"}, {17, "------"}, {18, ""},          {19, "OFF"}, {20, "OFF"},
        {21, "OFF"},    {22, "OFF"},    {23, ""},          {0, ""},     {24, ""}};
    for (const auto& [col, text] : expected)
        EXPECT_EQ(s.GetText(col), text) << "column " << col;
    EXPECT_EQ(CExecData::Caption(5), QStringLiteral("ﾊﾟﾙｽ数[個]"));
    EXPECT_EQ(CExecData::Caption(23), QStringLiteral("試験名"));
    EXPECT_EQ(CExecData::Caption(24), QString());
}

TEST(ExecData, TextsOfVariedSteps) {
    struct Case {
        const char* what;
        void (*setup)(CExecData&);
        int col;
        QString text;
    };
    const Case cases[] = {
        {"three-phase mask 9",
         [](CExecData& s) {
             s.m_nOutputDetail = 1;
             s.m_ulInjLine = 9;
         },
         13, "L1, N "},
        {"three-phase mask 31", [](CExecData& s) { s.m_nOutputDetail = 1; }, 13, "L1, L2, L3, N , PE"},
        {"pulse out lines",
         [](CExecData& s) {
             s.m_nOutputPort = 1;
             s.m_ulInjLine = 1;
         },
         13, "HOT - COM"},
        {"pulse out sync",
         [](CExecData& s) {
             s.m_nOutputPort = 1;
             s.m_nSync = 1;
         },
         15, ""},
        {"pulse out angle",
         [](CExecData& s) {
             s.m_nOutputPort = 1;
             s.m_nSync = 1;
         },
         16, "------"},
        {"sync angle",
         [](CExecData& s) {
             s.m_nSync = 1;
             s.m_lAngle = 90;
         },
         16, "90"},
        {"continuous pulses", [](CExecData& s) { s.m_bContinuous = 1; }, 5, "------"},
        {"continuous duration", [](CExecData& s) { s.m_bContinuous = 1; }, 6, "------"},
        {"continuous period", [](CExecData& s) { s.m_bContinuous = 1; }, 7, "------"},
        {"3725 s hours", [](CExecData& s) { s.m_lTestTime = 3725; }, 8, "1"},
        {"3725 s minutes", [](CExecData& s) { s.m_lTestTime = 3725; }, 9, "02"},
        {"3725 s seconds", [](CExecData& s) { s.m_lTestTime = 3725; }, 10, "05"},
        {"freq 999", [](CExecData& s) { s.m_lFreq = 999; }, 4, "1.00"},
        {"freq 1000", [](CExecData& s) { s.m_lFreq = 1000; }, 4, "1.0"},
        {"freq 9999", [](CExecData& s) { s.m_lFreq = 9999; }, 4, "10.0"},
        {"freq 10000", [](CExecData& s) { s.m_lFreq = 10000; }, 4, "10"},
        {"freq 12345", [](CExecData& s) { s.m_lFreq = 12345; }, 4, "12"},
        {"freq 999999", [](CExecData& s) { s.m_lFreq = 999999; }, 4, "999"},
        {"freq 500", [](CExecData& s) { s.m_lFreq = 500; }, 4, "0.50"},
        {"level none", [](CExecData& s) { s.m_nTestLevel = 4; }, 1, ""},
        {"negative judge", [](CExecData& s) { s.m_nJudge = -1; }, 17, ""},
        {"port 2 detail", [](CExecData& s) { s.m_nOutputPort = 2; }, 12, ""},
    };
    for (const Case& c : cases) {
        CExecData s;
        c.setup(s);
        EXPECT_EQ(s.GetText(c.col), c.text) << c.what;
    }
}

TEST(ExecData, AskingATextRepairsOutOfRangeCodes) {
    CExecData s;
    s.m_nJudge = 5;
    s.m_nPola = 7;
    s.m_nSync = 4;
    s.m_nOutputDetail = 3;
    EXPECT_EQ(s.GetText(17), "------");
    EXPECT_EQ(s.m_nJudge, 0);
    EXPECT_EQ(s.GetText(2), "-");
    EXPECT_EQ(s.m_nPola, 1);
    EXPECT_EQ(s.GetText(15), QStringLiteral("非同期"));
    EXPECT_EQ(s.m_nSync, 0);
    EXPECT_EQ(s.GetText(12), QStringLiteral("単相"));
    EXPECT_EQ(s.m_nOutputDetail, 0);
    s.m_nOutputPort = 9;
    EXPECT_EQ(s.GetText(11), "CDN");
    EXPECT_EQ(s.m_nOutputPort, 0);
}

TEST(SettingData, ConditionTexts) {
    CSettingData c;
    EXPECT_EQ(c.GetText(2), "+");
    EXPECT_EQ(c.GetText(3), "500");
    EXPECT_EQ(c.GetText(13), "L, N , PE");
    EXPECT_EQ(c.GetText(14), "OFF");
    EXPECT_EQ(c.GetText(16), "------");
    EXPECT_EQ(c.GetText(17), "------");
    EXPECT_EQ(c.GetText(1), "");

    c.m_ulPola = 3;
    c.m_valVolt = Sweep(500, 4000, 10);
    c.m_valFreq = Sweep(5000, 100000, 100);
    EXPECT_EQ(c.GetText(2), "+/-");
    EXPECT_EQ(c.GetText(3), QStringLiteral("開始：500, 終了：4000, 刻み：10"));
    EXPECT_EQ(c.GetText(4), QStringLiteral("開始：5.0, 終了：100, 刻み：0.10"));
    c.m_valVolt = Variable({{1, 500}, {0, 700}, {1, 2000}});
    EXPECT_EQ(c.GetText(3), "500, 2000");
    c.m_valVolt.m_nValueType = 7;
    EXPECT_EQ(c.GetText(3), "");
    c.m_ulPola = 0;
    EXPECT_EQ(c.GetText(2), "");

    OUTPUT_PORT_STRUCT& cdn = c.m_outOutput.m_aopOutputPort[0];
    cdn.m_uCouplingType = 1;
    cdn.m_uSweepType = 1;
    cdn.m_nSync = 1;
    EXPECT_EQ(c.GetText(14), QStringLiteral("全組合せ"));
    EXPECT_EQ(c.GetText(16), QStringLiteral("開始：0, 終了：270, 刻み：90"));
    c.m_outOutput.m_nOutputPort = PORT_PULSE_OUT;
    EXPECT_EQ(c.GetText(14), "------");
    EXPECT_EQ(c.GetText(13), "");
    EXPECT_EQ(c.GetText(11), "PULSE OUT");

    CSettingData level;
    level.Reset(false);
    EXPECT_EQ(level.GetText(1), "1");
}

// Step texts are made without printf; they must read exactly as printf writes them.
TEST(ExecData, NumbersReadAsPrintfWritesThem) {
    const struct {
        long value;
        int digits;
    } numbers[] = {{0, 1},        {0, 2},       {7, 2},    {42, 2},          {123, 2},
                   {-5, 2},       {-1, 1},      {-125, 2}, {2147483647L, 1}, {-2147483647L - 1, 1},
                   {LONG_MIN, 2}, {LONG_MAX, 1}};
    for (const auto& n : numbers) {
        char expected[64];
        std::snprintf(expected, sizeof expected, "%.*ld", n.digits, n.value);
        std::string text;
        AppendNumber(text, n.value, n.digits);
        EXPECT_EQ(text, expected) << n.value << " " << n.digits;
    }
    // Burst durations on a rounding tie round as printf rounds them.
    for (int32_t us : {125, 375, 15005, 15015, 0, -125, 999995}) {
        CExecData s;
        s.m_lBurstDura = us;
        char expected[64];
        std::snprintf(expected, sizeof expected, "%.2f", us / 1000.0);
        EXPECT_EQ(s.GetText(COL_BURST_DURA), QString::fromLatin1(expected)) << us;
    }
    // A negative test time (a damaged file) reads as the printf formats gave it.
    CExecData s;
    s.m_lTestTime = -3725;
    EXPECT_EQ(s.GetText(COL_TIME_HOUR), "-1");
    EXPECT_EQ(s.GetText(COL_TIME_MIN), "-02");
    EXPECT_EQ(s.GetText(COL_TIME_SEC), "-05");
    // Every column's UTF-8 text is its text; a comment keeps even a lone surrogate.
    s.m_strComment = QStringLiteral("ok ") + QChar(0xD800);
    EXPECT_EQ(s.GetText(COL_COMMENT), s.m_strComment);
    for (int col = 1; col <= COL_COUNT; ++col) {
        if (col == COL_COMMENT) continue;
        std::string text;
        s.AppendText(col, text);
        EXPECT_EQ(QString::fromStdString(text), s.GetText(col)) << col;
    }
}

} // namespace torvex
