#include "model/Rules.h"
#include "model/ScreenRules.h"
#include "model/Tooltips.h"

#include <gtest/gtest.h>

namespace torvex {

TEST(ScreenRules, StandardVoltagesByLevelAndOutput) {
    const int32_t expected[4][2] = {{500, 250}, {1000, 500}, {2000, 1000}, {4000, 2000}};
    for (int32_t nLevel = 0; nLevel < 4; ++nLevel) {
        for (int32_t nPort : {PORT_CDN, PORT_PULSE_OUT}) {
            CSettingData c;
            c.Reset(false);
            c.m_nTestLevel = nLevel;
            c.m_outOutput.m_nOutputPort = nPort;
            DeriveStandardValues(c);
            EXPECT_EQ(c.m_valVolt.m_lValue, expected[nLevel][nPort]) << nLevel << " " << nPort;
        }
    }
    EXPECT_EQ(StandardVoltage(-3, PORT_CDN), 500); // a damaged level reads as the nearest
    EXPECT_EQ(StandardVoltage(99, PORT_CDN), 4000);
}

TEST(ScreenRules, TheLastLineCannotBeRemoved) {
    struct Case {
        uint32_t ulStored, ulBoxes;
        int32_t nLines;
        uint32_t ulExpected;
    };
    const Case cases[] = {
        {2, 0, 5, 2},    // three-phase, only L2, L2 cleared: stays
        {7, 6, 3, 6},    // L cleared
        {1, 0, 3, 1},    // single-phase, only L
        {31, 16, 5, 16}, // all but PE cleared at once
        {0, 0, 3, 1},    // a damaged empty mask keeps one line
        {24, 1, 3, 25},  // bits beyond the shown lines are kept
    };
    for (const Case& c : cases)
        EXPECT_EQ(LineMaskFromBoxes(c.ulStored, c.ulBoxes, c.nLines), c.ulExpected) << c.ulStored;
}

TEST(ScreenRules, AFunctionThatMayNotBeOnIsRefused) {
    CSettingData c;
    c.m_lBurstPeriod = 490;
    EXPECT_FALSE(SetSpecialFunction(c, FUNC_ALTERNATION, true));
    EXPECT_EQ(c.m_bAlternative, 0);
    c.m_lBurstPeriod = 500;
    EXPECT_TRUE(SetSpecialFunction(c, FUNC_ALTERNATION, true));
    // Switching off always works, allowed or not.
    c.m_lBurstPeriod = 10;
    EXPECT_TRUE(SetSpecialFunction(c, FUNC_ALTERNATION, false));
    EXPECT_TRUE(SetSpecialFunction(c, FUNC_MODULATION, true));
}

TEST(ScreenRules, ModelWithoutThreePhaseWorksSinglePhaseOnEveryPort) {
    CSettingData c;
    c.m_outOutput.m_nOutputPort = PORT_PULSE_OUT;
    c.m_outOutput.m_aopOutputPort[PORT_CDN].m_nOutputDetail = DETAIL_THREE;
    EXPECT_FALSE(ApplyModelRule(c, MODEL_K1));
    EXPECT_TRUE(ApplyModelRule(c, MODEL_K2));
    EXPECT_EQ(c.m_outOutput.m_aopOutputPort[PORT_CDN].m_nOutputDetail, DETAIL_SINGLE);
}

TEST(Tooltips, BurstLimitsComeFromTheCondition) {
    CSettingData c; // 5 kHz, 300 ms, no special function
    EXPECT_EQ(ManualBoxTooltip(c, TIP_PULSE_COUNT),
              QStringLiteral(
                  "最大値は周波数・バースト周期により制限されます。\n最小値：1\n最大値：300\nステップ：1\n"
                  "変更によりバースト期間が自動修正されます。"));
    EXPECT_TRUE(
        ManualBoxTooltip(c, TIP_BURST_DURA).contains(QStringLiteral("最小値：0.20\n最大値：60.00\n")));
    EXPECT_TRUE(ManualSpinTooltip(c, TIP_BURST_DURA)
                    .endsWith(QStringLiteral("\nCTRLキーを押すことで上の位の値を増減できます。\n"
                                             "SHIFTキーを押すことで2つ上の位の値を増減できます。")));
    c.m_bContinuous = 1;
    EXPECT_EQ(ManualSpinTooltip(c, TIP_PULSE_COUNT), QStringLiteral("パルス連続出力時は設定できません。"));
    EXPECT_EQ(ManualBoxTooltip(c, TIP_TEST_TIME),
              QStringLiteral("最短：1秒\n最長：10分(パルス連続出力ONにより)"));
    c.m_bAlternative = 1;
    EXPECT_TRUE(ManualBoxTooltip(c, TIP_PULSE_COUNT).startsWith(QStringLiteral("極性反転ONにより\n")));
    EXPECT_TRUE(ManualBoxTooltip(c, TIP_BURST_PERIOD).contains(QStringLiteral("ステップ：10ms\n")));
}

TEST(Tooltips, ValueBoxesByKindFieldAndContinuousOutput) {
    EXPECT_EQ(ValueBoxTooltip(KIND_VOLT, FIELD_FIXED, false),
              QStringLiteral("最小値：200V\n最大値：5000V\nステップ：10V"));
    EXPECT_TRUE(ValueBoxTooltip(KIND_VOLT, FIELD_END, true)
                    .startsWith(QStringLiteral("START ≦ STOPに制限されます。\nパルス連続出力ON")));
    EXPECT_TRUE(ValueBoxTooltip(KIND_FREQ, FIELD_ROW0 + 3, false)
                    .endsWith(QStringLiteral("自動修正される場合があります。")));
    EXPECT_FALSE(ValueBoxTooltip(KIND_FREQ, FIELD_START, false).contains(QStringLiteral("自動修正")));
    EXPECT_EQ(ValueBoxTooltip(KIND_FREQ, FIELD_START, true), ValueBoxTooltip(KIND_FREQ, FIELD_FIXED, true));
    EXPECT_EQ(ValueBoxTooltip(KIND_ANGLE, FIELD_STEP, false),
              QStringLiteral("最小値：1°\n最大値：360°\nステップ：1°"));
    EXPECT_TRUE(ValueBoxTooltip(KIND_ANGLE, FIELD_COUNT, false).isEmpty());
    EXPECT_EQ(SpinTooltip(QStringLiteral("x")),
              QStringLiteral("x\nCTRLキーを押すことで上の位の値を増減できます。"));
}

} // namespace torvex
