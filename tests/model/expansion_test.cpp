#include "model/SettingData.h"
#include "model/StepExpansion.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace torvex {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

namespace {

std::vector<uint32_t> Masks(const CSettingData& c) {
    std::vector<uint32_t> out;
    for (const CExecData& s : c.m_listExec)
        out.push_back(s.m_ulInjLine);
    return out;
}

CSettingData LineSweep(int32_t detail, uint32_t mask, uint32_t sweepType) {
    CSettingData c;
    OUTPUT_PORT_STRUCT& p = c.m_outOutput.m_aopOutputPort[0];
    p.m_nOutputDetail = detail;
    p.m_uCouplingType = 1;
    p.m_uSweepType = sweepType;
    p.m_aulInjBitSweep[detail] = mask;
    return c;
}

} // namespace

TEST(Expansion, DefaultConditionGivesOneStep) {
    CSettingData c;
    c.m_ulMachineType = MODEL_K1;
    ASSERT_EQ(ExpandSteps(c), 1);
    const CExecData& s = c.m_listExec.at(0);
    EXPECT_EQ(s.m_lVolt, 500);
    EXPECT_EQ(s.m_nPola, 0);
    EXPECT_EQ(s.m_lFreq, 5000);
    EXPECT_EQ(s.m_lPulseCount, 75);
    EXPECT_EQ(s.m_lBurstDura, 15000);
    EXPECT_EQ(s.m_ulInjLine, 7u);
    EXPECT_EQ(s.m_nSync, 0);
    EXPECT_EQ(s.m_lTestTime, 60);
    EXPECT_EQ(s.m_lAngle, 0);
    EXPECT_EQ(s.m_ulMachineType, uint32_t(MODEL_K1));
    EXPECT_EQ(s.m_nTestLevel, 0);
}

TEST(Expansion, VoltageOutermostThenPolarity) {
    CSettingData c;
    c.m_ulPola = 3;
    c.m_valVolt.m_nValueType = VALUE_VARIABLE;
    c.m_valVolt.m_abUse[0] = c.m_valVolt.m_abUse[1] = 1;
    c.m_valVolt.m_alValue[0] = 500;
    c.m_valVolt.m_alValue[1] = 1000;
    ASSERT_EQ(ExpandSteps(c), 4);
    std::vector<std::pair<int32_t, int32_t>> got;
    for (const CExecData& s : c.m_listExec)
        got.push_back({s.m_lVolt, s.m_nPola});
    EXPECT_THAT(got,
                ElementsAre(std::pair{500, 0}, std::pair{500, 1}, std::pair{1000, 0}, std::pair{1000, 1}));
}

TEST(Expansion, CouplingCombinationOrders) {
    {
        CSettingData c = LineSweep(1, 31, 0);
        ASSERT_EQ(ExpandSteps(c), 5);
        EXPECT_THAT(Masks(c), ElementsAre(1, 2, 4, 8, 16));
    }
    {
        CSettingData c = LineSweep(0, 7, 1); // single-phase with PE
        ASSERT_EQ(ExpandSteps(c), 7);
        EXPECT_THAT(Masks(c), ElementsAre(1, 2, 3, 4, 5, 6, 7));
    }
    {
        CSettingData c = LineSweep(1, 15, 1); // three-phase without PE
        ASSERT_EQ(ExpandSteps(c), 15);
        EXPECT_THAT(Masks(c), ElementsAre(1, 2, 4, 8, 3, 5, 9, 6, 10, 12, 7, 11, 13, 14, 15));
    }
    {
        CSettingData c = LineSweep(1, 31, 1); // three-phase with PE
        ASSERT_EQ(ExpandSteps(c), 31);
        std::vector<uint32_t> m = Masks(c);
        std::vector<uint32_t> noPe = {1, 2, 4, 8, 3, 5, 9, 6, 10, 12, 7, 11, 13, 14, 15};
        std::vector<uint32_t> expected = noPe;
        expected.push_back(16);
        for (uint32_t x : noPe)
            expected.push_back(x | 16);
        EXPECT_THAT(m, ElementsAreArray(expected));
        EXPECT_EQ(m[14], 15u);
        EXPECT_EQ(m[15], 16u);
        EXPECT_EQ(m[16], 17u);
        EXPECT_EQ(m.back(), 31u);
    }
}

TEST(Expansion, AngleChangesFastest) {
    CSettingData c = LineSweep(0, 7, 0);
    c.m_outOutput.m_aopOutputPort[0].m_nSync = 1; // default angle sweep 0..270 step 90
    ASSERT_EQ(ExpandSteps(c), 12);
    std::vector<std::pair<uint32_t, int32_t>> got;
    for (const CExecData& s : c.m_listExec)
        got.push_back({s.m_ulInjLine, s.m_lAngle});
    EXPECT_EQ(got[0], (std::pair<uint32_t, int32_t>{1, 0}));
    EXPECT_EQ(got[3], (std::pair<uint32_t, int32_t>{1, 270}));
    EXPECT_EQ(got[4], (std::pair<uint32_t, int32_t>{2, 0}));
    EXPECT_EQ(got[11], (std::pair<uint32_t, int32_t>{4, 270}));
}

TEST(Expansion, DownwardFrequencySweepCarriesItsDurations) {
    CSettingData c;
    c.m_valFreq.m_nValueType = VALUE_SWEEP;
    c.m_valFreq.m_lStart = 100000;
    c.m_valFreq.m_lEnd = 90000;
    c.m_valFreq.m_lStep = 5000;
    ASSERT_EQ(ExpandSteps(c), 3);
    std::vector<std::pair<int32_t, int32_t>> got;
    for (const CExecData& s : c.m_listExec)
        got.push_back({s.m_lFreq, s.m_lBurstDura});
    EXPECT_THAT(got, ElementsAre(std::pair{100000, 750}, std::pair{95000, 790}, std::pair{90000, 840}));
}

TEST(Expansion, LimitOfThousandStepsIsCheckedBeforeTouchingTheList) {
    CSettingData c;
    c.m_ulPola = 3;
    c.m_valVolt.m_nValueType = VALUE_SWEEP;
    c.m_valVolt.m_lStart = 200;
    c.m_valVolt.m_lEnd = 5000;
    c.m_valVolt.m_lStep = 10;
    ASSERT_EQ(ExpandSteps(c), 962);
    ASSERT_EQ(c.m_listExec.size(), 962u);

    c.m_valFreq.m_nValueType = VALUE_VARIABLE;
    c.m_valFreq.m_abUse[2] = 1; // three frequencies
    EXPECT_EQ(ExpandSteps(c), 2886);
    EXPECT_EQ(c.m_listExec.size(), 962u); // the previous steps stay

    // Exactly 1000: 5 voltages × 2 polarities × 100 frequencies.
    c.m_valVolt.m_nValueType = VALUE_VARIABLE;
    for (int i = 0; i < 5; ++i)
        c.m_valVolt.m_abUse[i] = 1;
    c.m_valFreq.m_nValueType = VALUE_SWEEP;
    c.m_valFreq.m_lStart = 1000;
    c.m_valFreq.m_lEnd = 100000;
    c.m_valFreq.m_lStep = 1000;
    EXPECT_EQ(ExpandSteps(c), 1000);
    EXPECT_EQ(c.m_listExec.size(), 1000u);
    c.m_valFreq.m_lEnd = 101000;
    EXPECT_EQ(ExpandSteps(c), 1010);
    EXPECT_EQ(c.m_listExec.size(), 1000u);
}

TEST(Expansion, BurstDurationFormula) {
    EXPECT_EQ(BurstDuration(5000, 75), 15000);
    EXPECT_EQ(BurstDuration(100000, 75), 750);
    EXPECT_EQ(BurstDuration(3000, 1), 340);
    EXPECT_EQ(BurstDuration(2000000, 1), 10);
    EXPECT_EQ(BurstDuration(0, 75), 0);
    EXPECT_EQ(BurstDuration(-5, 75), 0);
    EXPECT_EQ(BurstDuration(1, INT32_MAX), INT32_MAX);
}

// Conditions read from damaged files: each gives a defined count and never a
// crash, a division by zero or a runaway allocation.
TEST(Expansion, HostileConditions) {
    struct Case {
        const char* what;
        void (*damage)(CSettingData&);
        int64_t total;
    };
    const Case cases[] = {
        {"polarity mask 0", [](CSettingData& c) { c.m_ulPola = 0; }, 0},
        {"all 32 polarity bits", [](CSettingData& c) { c.m_ulPola = 0xFFFFFFFF; }, 32},
        {"frequency 0", [](CSettingData& c) { c.m_valFreq.m_lValue = 0; }, 1},
        {"value type 7", [](CSettingData& c) { c.m_valVolt.m_nValueType = 7; }, 0},
        {"negative frequency type", [](CSettingData& c) { c.m_valFreq.m_nValueType = -1; }, 0},
        {"no used variable row",
         [](CSettingData& c) {
             c.m_valFreq.m_nValueType = VALUE_VARIABLE;
             for (int& u : c.m_valFreq.m_abUse)
                 u = 0;
         },
         0},
        {"negative voltage step",
         [](CSettingData& c) { c.m_valVolt = VALUE_STRUCT{VALUE_SWEEP, 0, 500, 4000, -10, {}, {}}; }, 0},
        {"two reversed sweeps do not multiply to a positive count",
         [](CSettingData& c) {
             c.m_valVolt = VALUE_STRUCT{VALUE_SWEEP, 0, 4000, 500, 10, {}, {}};
             c.m_outOutput.m_aopOutputPort[0].m_nSync = 1;
             c.m_outOutput.m_aopOutputPort[0].m_valAngle = VALUE_STRUCT{VALUE_SWEEP, 0, 270, 0, 90, {}, {}};
         },
         0},
        {"empty line mask with sweep",
         [](CSettingData& c) {
             c.m_outOutput.m_aopOutputPort[0].m_uCouplingType = 1;
             c.m_outOutput.m_aopOutputPort[0].m_aulInjBitSweep[0] = 0;
         },
         0},
        {"huge sweep",
         [](CSettingData& c) { c.m_valVolt = VALUE_STRUCT{VALUE_SWEEP, 0, INT32_MIN, INT32_MAX, 1, {}, {}}; },
         int64_t(UINT32_MAX) + 1},
        {"32-line mask, all combinations",
         [](CSettingData& c) {
             OUTPUT_PORT_STRUCT& p = c.m_outOutput.m_aopOutputPort[0];
             p.m_uCouplingType = 1;
             p.m_uSweepType = 1;
             p.m_aulInjBitSweep[0] = 0xFFFFFFFF;
         },
         2 * (31 + 465 + 4495 + 31465 + 169911) + 1},
        {"six lines, all combinations, PE",
         [](CSettingData& c) {
             OUTPUT_PORT_STRUCT& p = c.m_outOutput.m_aopOutputPort[0];
             p.m_uCouplingType = 1;
             p.m_uSweepType = 1;
             p.m_aulInjBitSweep[0] = 0x3F;
         },
         63},
        {"output port out of range", [](CSettingData& c) { c.m_outOutput.m_nOutputPort = 77; }, 1},
        {"output detail out of range",
         [](CSettingData& c) { c.m_outOutput.m_aopOutputPort[0].m_nOutputDetail = -3; }, 1},
    };
    for (const Case& k : cases) {
        CSettingData c;
        k.damage(c);
        EXPECT_EQ(CountSteps(c), k.total) << k.what;
        const int64_t total = ExpandSteps(c);
        EXPECT_EQ(total, k.total) << k.what;
        if (total <= kMaxSteps) {
            EXPECT_EQ(int64_t(c.m_listExec.size()), total) << k.what;
        }
        for (CExecData& s : c.m_listExec)
            for (int col = 1; col <= COL_COUNT; ++col)
                (void)s.GetText(col);
        for (int col = 1; col <= COL_COUNT; ++col)
            (void)c.GetText(col);
    }
}

} // namespace torvex
