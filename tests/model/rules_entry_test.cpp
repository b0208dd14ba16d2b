// Entry operations of the value editors and burst boxes: what a typed text or
// a spin click leaves in the condition, and what it reports as changed.

#include "RulesTestSupport.h"

#include <functional>
#include <gtest/gtest.h>

namespace torvex {

TEST(RulesEntry, FixedValuesTypedAreRoundedLimitedAndShownAsStored) {
    struct Case {
        VALUE_KIND kind;
        const char* typed;
        int32_t stored;
        const char* shown;
    } cases[] = {
        {KIND_FREQ, "0.055", 100, "0.10"},      {KIND_FREQ, "2.01", 2000, "2.0"},
        {KIND_FREQ, "1234.5", 1200000, "1200"}, {KIND_FREQ, "3000", 2000000, "2000"},
        {KIND_VOLT, "1234", 1230, "1230"},      {KIND_VOLT, "1235", 1240, "1240"},
        {KIND_VOLT, "6000", 5000, "5000"},      {KIND_VOLT, "abc", 200, "200"},
        {KIND_ANGLE, "400", 360, "360"},        {KIND_ANGLE, "45.9", 45, "45"},
    };
    for (const Case& c : cases) {
        CSettingData cond;
        cond.m_outOutput.m_aopOutputPort[PORT_CDN].m_valAngle = Fixed(0);
        EnterText(cond, c.kind, FIELD_FIXED, QString::fromUtf8(c.typed));
        EXPECT_EQ(FieldValue(cond, c.kind, FIELD_FIXED), c.stored) << c.typed;
        EXPECT_EQ(FieldText(cond, c.kind, FIELD_FIXED), c.shown) << c.typed;
    }
}

TEST(RulesEntry, FrequencySpinStepsByDirectionAndSettlesOnTheShownValue) {
    struct Case {
        const char* box;
        bool up;
        const char* shown;
    } cases[] = {{"1.0", false, "0.99"}, {"0.99", true, "1.0"},  {"1.0", true, "1.1"},
                 {"10", false, "9.9"},   {"2000", true, "2000"}, {"0.10", false, "0.10"}};
    for (const Case& c : cases) {
        CSettingData cond;
        SpinText(cond, KIND_FREQ, FIELD_FIXED, QString::fromUtf8(c.box), c.up, false);
        EXPECT_EQ(FieldText(cond, KIND_FREQ, FIELD_FIXED), c.shown) << c.box << (c.up ? " up" : " down");
        EXPECT_EQ(ParseValue(c.shown, cond.m_aValueFormat[VF_FREQ]), cond.m_valFreq.m_lValue);
    }
}

TEST(RulesEntry, ContinuousOutputLimitsVoltageAndFrequency) {
    CSettingData cond = Condition(Fixed(1500), Fixed(1000));
    cond.m_bContinuous = 1;
    EnterText(cond, KIND_FREQ, FIELD_FIXED, "10");
    EXPECT_EQ(cond.m_valFreq.m_lValue, 4000);
    EnterText(cond, KIND_VOLT, FIELD_FIXED, "5000");
    EXPECT_EQ(cond.m_valVolt.m_lValue, 2000);
    cond.m_valVolt = Sweep(200, 500, 10);
    EnterText(cond, KIND_VOLT, FIELD_END, "3000");
    EXPECT_EQ(cond.m_valVolt.m_lEnd, 2000);
}

TEST(RulesEntry, FrequencyChangeCorrectsPulseCountAndReportsIt) {
    CSettingData cond;
    cond.m_lPalseCount = 300;
    cond.m_lBurstDura = 60000;
    EXPECT_EQ(EnterText(cond, KIND_FREQ, FIELD_FIXED, "1"),
              uint32_t(CHANGED_VALUE | CHANGED_PULSE_COUNT | CHANGED_BURST_DURA));
    EXPECT_EQ(cond.m_lPalseCount, 299);
    EXPECT_EQ(cond.m_lBurstDura, 299000);
    // The same value again changes nothing unless storing is forced.
    cond.m_lPalseCount = 500;
    EXPECT_EQ(EnterText(cond, KIND_FREQ, FIELD_FIXED, "1.0"), 0u);
    EXPECT_EQ(cond.m_lPalseCount, 500);
    EXPECT_EQ(EnterText(cond, KIND_FREQ, FIELD_FIXED, "1.0", true), uint32_t(CHANGED_PULSE_COUNT));
    EXPECT_EQ(cond.m_lPalseCount, 299);
}

TEST(RulesEntry, FrequencySweepBoundKeepsTheRangeInOneBand) {
    struct Case {
        int32_t start, end, step, field, c;
        int32_t newStart, newEnd, newStep;
    } cases[] = {
        // range band 1
        {100, 500, 10, FIELD_END, 1000, 100, 1000, 10},
        {100, 500, 10, FIELD_END, 1100, 10000, 1100, 100},
        {1000, 500, 10, FIELD_END, 5000, 1000, 5000, 100}, // other on the shared edge is kept
        {100, 500, 10, FIELD_END, 50000, 100000, 50000, 1000},
        {100, 500, 10, FIELD_END, 200000, 1000000, 200000, 10000},
        {100, 500, 10, FIELD_END, 1500000, 2000000, 1500000, 100000},
        // range band 2
        {1000, 5000, 100, FIELD_START, 500, 500, 1000, 10},
        {1200, 5000, 100, FIELD_START, 1000, 1000, 5000, 100}, // edge value stays in the band
        {1000, 5000, 100, FIELD_START, 10000, 10000, 5000, 100},
        {1000, 5000, 100, FIELD_START, 20000, 20000, 100000, 1000},
        {1000, 10000, 100, FIELD_START, 20000, 20000, 10000, 1000},
        {1000, 5000, 100, FIELD_START, 2000000, 2000000, 2000000, 100000},
        // range band 3
        {20000, 50000, 1000, FIELD_START, 5000, 5000, 10000, 100},
        {20000, 50000, 1000, FIELD_START, 10000, 10000, 50000, 1000},
        {20000, 50000, 1000, FIELD_START, 1000, 1000, 1000, 10},
        {20000, 50000, 1000, FIELD_START, 100000, 100000, 50000, 1000},
        {20000, 50000, 1000, FIELD_START, 500000, 500000, 1000000, 10000},
        {20000, 100000, 1000, FIELD_START, 500000, 500000, 100000, 10000},
        // range band 4
        {200000, 500000, 10000, FIELD_END, 100000, 200000, 100000, 10000},
        {200000, 500000, 10000, FIELD_END, 90000, 100000, 90000, 1000},
        {200000, 500000, 10000, FIELD_END, 1100000, 2000000, 1100000, 100000},
        {1000000, 500000, 10000, FIELD_END, 1500000, 1000000, 1500000, 100000},
        // range band 5
        {1500000, 2000000, 100000, FIELD_START, 1000000, 1000000, 2000000, 100000},
        {1500000, 2000000, 100000, FIELD_START, 900000, 900000, 1000000, 10000},
        {1500000, 2000000, 100000, FIELD_START, 50000, 50000, 100000, 1000},
        {1500000, 2000000, 100000, FIELD_START, 100, 100, 1000, 10},
        {1500000, 2000000, 100000, FIELD_START, 5000000, 2000000, 2000000, 100000},
    };
    for (const Case& c : cases) {
        CSettingData cond = Condition(Fixed(500), Sweep(c.start, c.end, c.step));
        StoreValue(cond, KIND_FREQ, c.field, c.c, false);
        const VALUE_STRUCT& f = cond.m_valFreq;
        EXPECT_EQ((std::array{f.m_lStart, f.m_lEnd, f.m_lStep}),
                  (std::array{c.newStart, c.newEnd, c.newStep}))
            << c.start << ".." << c.end << (c.field == FIELD_START ? " START " : " STOP ") << c.c;
    }
}

TEST(RulesEntry, FrequencySweepWithContinuousOutputAndPulseCorrection) {
    CSettingData cond = Condition(Fixed(1500), Sweep(100, 500, 10));
    cond.m_bContinuous = 1;
    EnterText(cond, KIND_FREQ, FIELD_START, "5");
    EXPECT_EQ((std::array{cond.m_valFreq.m_lStart, cond.m_valFreq.m_lEnd, cond.m_valFreq.m_lStep}),
              (std::array{4000, 4000, 100}));

    // The lowest bound limits the pulses, START gives the duration.
    cond = Condition(Fixed(500), Sweep(5000, 5000, 100));
    cond.m_lPalseCount = 300;
    EnterText(cond, KIND_FREQ, FIELD_END, "1.0");
    EXPECT_EQ(cond.m_valFreq.m_lEnd, 1000);
    EXPECT_EQ(cond.m_lPalseCount, 299);
    EXPECT_EQ(cond.m_lBurstDura, BurstDurationOf(299, 5000));
}

TEST(RulesEntry, SweepSteps) {
    struct Case {
        VALUE_KIND kind;
        VALUE_STRUCT vs;
        const char* typed;
        int32_t step;
    } cases[] = {
        {KIND_FREQ, Sweep(1000, 5000, 100), "0.15", 100},
        {KIND_FREQ, Sweep(1000, 5000, 100), "20", 9000},
        {KIND_FREQ, Sweep(1000, 5000, 100), "0.01", 100},
        {KIND_FREQ, Sweep(1500000, 2000000, 100000), "50", 100000},
        {KIND_FREQ, Sweep(100, 500, 10), "0.05", 50},
        {KIND_VOLT, Sweep(200, 1000, 10), "15", 20},
        {KIND_VOLT, Sweep(200, 1000, 10), "3", 10},
        {KIND_VOLT, Sweep(200, 1000, 10), "9999", 5000},
        {KIND_ANGLE, Sweep(0, 270, 90), "0", 1},
        {KIND_ANGLE, Sweep(0, 270, 90), "400", 360},
    };
    for (const Case& c : cases) {
        CSettingData cond;
        *ValueOfKind(cond, c.kind) = c.vs;
        EnterText(cond, c.kind, FIELD_STEP, c.typed);
        EXPECT_EQ(ValueOfKind(cond, c.kind)->m_lStep, c.step) << c.kind << " " << c.typed;
    }
    CSettingData cond = Condition(Fixed(500), Sweep(10000, 50000, 1000));
    SpinText(cond, KIND_FREQ, FIELD_STEP, "1.0", true, true);
    EXPECT_EQ(cond.m_valFreq.m_lStep, 11000);
    SpinText(cond, KIND_FREQ, FIELD_STEP, "1.0", false, false);
    EXPECT_EQ(cond.m_valFreq.m_lStep, 1000);
}

TEST(RulesEntry, VoltageAndAngleSweepStartNeverAboveStop) {
    struct Case {
        VALUE_KIND kind;
        int32_t field;
        const char* typed;
        int32_t start, end;
    } cases[] = {
        {KIND_VOLT, FIELD_START, "3000", 2000, 2000}, {KIND_VOLT, FIELD_END, "300", 500, 500},
        {KIND_VOLT, FIELD_START, "100", 200, 2000},   {KIND_VOLT, FIELD_END, "9000", 500, 5000},
        {KIND_ANGLE, FIELD_START, "300", 180, 180},   {KIND_ANGLE, FIELD_END, "500", 90, 360},
    };
    for (const Case& c : cases) {
        CSettingData cond;
        cond.m_valVolt = Sweep(500, 2000, 10);
        cond.m_outOutput.m_aopOutputPort[PORT_CDN].m_valAngle = Sweep(90, 180, 90);
        EnterText(cond, c.kind, c.field, c.typed);
        const VALUE_STRUCT& vs = *ValueOfKind(cond, c.kind);
        EXPECT_EQ((std::array{vs.m_lStart, vs.m_lEnd}), (std::array{c.start, c.end})) << c.typed;
    }
}

TEST(RulesEntry, VariableRowsAndTheLastUsedRow) {
    CSettingData cond = Condition(Fixed(500), Variable({1, 0, 0, 0, 0}, {5000, 1000, 0, 0, 0}));
    cond.m_lPalseCount = 300;
    cond.m_lBurstDura = 60000;
    // Clearing the only used row leaves it in use.
    EXPECT_EQ(SetValueUse(cond, KIND_FREQ, 0, false), 0u);
    EXPECT_EQ(cond.m_valFreq.m_abUse[0], 1);
    // A used lower row limits the pulse count.
    EXPECT_EQ(SetValueUse(cond, KIND_FREQ, 1, true),
              uint32_t(CHANGED_VALUE | CHANGED_PULSE_COUNT | CHANGED_BURST_DURA));
    EXPECT_EQ(cond.m_lPalseCount, 299);
    EXPECT_EQ(cond.m_lBurstDura, BurstDurationOf(299, 5000)); // first used row
    // Each row is limited like a fixed value.
    EnterText(cond, KIND_FREQ, FIELD_ROW0 + 4, "0.055");
    EXPECT_EQ(cond.m_valFreq.m_alValue[4], 100);
    EXPECT_EQ(cond.m_lPalseCount, 299); // row 4 unused
    EXPECT_EQ(SetValueUse(cond, KIND_FREQ, 5, true), 0u);
    EXPECT_EQ(SetValueUse(cond, KIND_FREQ, -1, true), 0u);
}

TEST(RulesEntry, ValueTypeChangeReentersThePageForced) {
    // Rows left from earlier use are repaired, then the pulse count is judged
    // once against the repaired values.
    CSettingData cond = Condition(Fixed(500), Variable({1, 1, 1, 1, 1}, {0, 3000000, 1234, -5, 7}));
    cond.m_valFreq.m_nValueType = VALUE_FIXED;
    EXPECT_EQ(ChangeValueType(cond, KIND_FREQ, VALUE_VARIABLE) & CHANGED_VALUE, uint32_t(CHANGED_VALUE));
    EXPECT_EQ(
        (std::array{cond.m_valFreq.m_alValue[0], cond.m_valFreq.m_alValue[1], cond.m_valFreq.m_alValue[2],
                    cond.m_valFreq.m_alValue[3], cond.m_valFreq.m_alValue[4]}),
        (std::array{100, 2000000, 1200, 100, 100}));
    EXPECT_EQ(cond.m_lPalseCount, 29); // 100 Hz in a 300 ms period
    EXPECT_EQ(cond.m_lBurstDura, BurstDurationOf(29, 100));

    // A sweep over two bands is brought into one.
    cond = Condition(Fixed(500), Sweep(500, 50000, -7));
    ChangeValueType(cond, KIND_FREQ, VALUE_SWEEP);
    EXPECT_EQ((std::array{cond.m_valFreq.m_lStart, cond.m_valFreq.m_lEnd, cond.m_valFreq.m_lStep}),
              (std::array{500, 1000, 10}));

    // A variable page without a used row gets the first row in use.
    cond = Condition(Variable({0, 0, 0, 0, 0}, {500, 0, 0, 0, 0}), Fixed(5000));
    ChangeValueType(cond, KIND_VOLT, VALUE_VARIABLE);
    EXPECT_EQ(cond.m_valVolt.m_abUse[0], 1);
    EXPECT_EQ(ChangeValueType(cond, KIND_VOLT, 7), 0u);
    EXPECT_EQ(cond.m_valVolt.m_nValueType, VALUE_VARIABLE);
}

TEST(RulesEntry, BurstParameters) {
    struct Case {
        const char* what;
        int param;
        const char* text;
        bool spin, up;
        int32_t alt, period, pulses, dura;
    } cases[] = {
        {"period typed", VF_BURST_PERIOD, "305", false, false, 0, 300, 75, 15000},
        {"period below range", VF_BURST_PERIOD, "5", false, false, 0, 10, 10, 2000},
        {"period above range", VF_BURST_PERIOD, "2000", false, false, 0, 1000, 75, 15000},
        {"period 100 corrects pulses", VF_BURST_PERIOD, "100", false, false, 0, 100, 75, 15000},
        {"alternation needs 500 ms", VF_BURST_PERIOD, "300", false, false, 1, 500, 75, 15000},
        {"alternation spin down stays", VF_BURST_PERIOD, "500", true, false, 1, 500, 75, 15000},
        {"pulses above range", VF_PULSE_COUNT, "2000", false, false, 0, 300, 300, 60000},
        {"pulses zero", VF_PULSE_COUNT, "0", false, false, 0, 300, 1, 200},
        {"duration a little longer", VF_BURST_DURA, "15.10", false, false, 0, 300, 76, 15200},
        {"duration a little shorter", VF_BURST_DURA, "14.99", false, false, 0, 300, 74, 14800},
        {"duration spin with SHIFT", VF_BURST_DURA, "15.00", true, true, 0, 300, 80, 16000},
    };
    for (const Case& c : cases) {
        CSettingData cond;
        cond.m_bAlternative = c.alt;
        if (c.spin)
            SpinBurstText(cond, c.param, c.text, c.up, false, c.param == VF_BURST_DURA);
        else
            EnterBurstText(cond, c.param, c.text);
        EXPECT_EQ((std::array{cond.m_lBurstPeriod, cond.m_lPalseCount, cond.m_lBurstDura}),
                  (std::array{c.period, c.pulses, c.dura}))
            << c.what;
    }
    CSettingData cond;
    cond.m_lPalseCount = 150;
    EXPECT_EQ(EnterBurstText(cond, VF_BURST_PERIOD, "100"),
              uint32_t(CHANGED_BURST_PERIOD | CHANGED_PULSE_COUNT | CHANGED_BURST_DURA));
    EXPECT_EQ(cond.m_lPalseCount, 100);
    EXPECT_EQ(BurstText(cond, VF_BURST_DURA), "20.00");
    EXPECT_EQ(EnterBurstText(cond, VF_VOLT, "100"), 0u);
}

// Records as a damaged file may hold. Whatever they contain, every operation
// ends with a defined result inside the limits of what it edits.
TEST(RulesEntry, HostileRecordsGiveDefinedResults) {
    const std::pair<const char*, std::function<void(CSettingData&)>> records[] = {
        {"frequency 0", [](CSettingData& c) { c.m_valFreq = Fixed(0); }},
        {"frequency negative", [](CSettingData& c) { c.m_valFreq = Fixed(-5000); }},
        {"frequency INT32_MAX", [](CSettingData& c) { c.m_valFreq = Fixed(INT32_MAX); }},
        {"frequency type 7", [](CSettingData& c) { c.m_valFreq = OfType(7); }},
        {"no used frequency",
         [](CSettingData& c) {
             c.m_valFreq = Variable({0, 0, 0, 0, 0}, {5, 5, 5, 5, 5});
         }},
        {"frequency sweep extremes", [](CSettingData& c) { c.m_valFreq = Sweep(INT32_MIN, INT32_MAX, 0); }},
        {"frequency step negative", [](CSettingData& c) { c.m_valFreq = Sweep(1000, 5000, -100); }},
        {"voltage type -1", [](CSettingData& c) { c.m_valVolt = OfType(-1); }},
        {"voltage reversed", [](CSettingData& c) { c.m_valVolt = Sweep(INT32_MAX, INT32_MIN, INT32_MIN); }},
        {"no used voltage",
         [](CSettingData& c) {
             c.m_valVolt = Variable({0, 0, 0, 0, 0}, {0, 0, 0, 0, 0});
         }},
        {"garbage use flags",
         [](CSettingData& c) {
             c.m_valFreq = Variable({-1, 7, 0, 0, 0}, {INT32_MIN, INT32_MAX, 0, 0, 0});
         }},
        {"pulses 0", [](CSettingData& c) { c.m_lPalseCount = 0; }},
        {"pulses huge", [](CSettingData& c) { c.m_lPalseCount = INT32_MAX; }},
        {"period 0", [](CSettingData& c) { c.m_lBurstPeriod = 0; }},
        {"period extremes, alternation",
         [](CSettingData& c) {
             c.m_lBurstPeriod = INT32_MIN;
             c.m_bAlternative = 1;
         }},
        {"duration extremes", [](CSettingData& c) { c.m_lBurstDura = INT32_MIN; }},
        {"continuous at 2 MHz",
         [](CSettingData& c) {
             c.m_bContinuous = 1;
             c.m_valFreq = Fixed(2000000);
         }},
        {"angle type 7",
         [](CSettingData& c) { c.m_outOutput.m_aopOutputPort[PORT_CDN].m_valAngle = OfType(7); }},
        {"polarity 0, port 7",
         [](CSettingData& c) {
             c.m_ulPola = 0;
             c.m_outOutput.m_nOutputPort = 7;
         }},
        {"everything INT32_MIN",
         [](CSettingData& c) {
             for (VALUE_STRUCT* vs :
                  {&c.m_valVolt, &c.m_valFreq, &c.m_outOutput.m_aopOutputPort[0].m_valAngle})
                 *vs = Sweep(INT32_MIN, INT32_MIN, INT32_MIN);
             c.m_lPalseCount = c.m_lBurstPeriod = c.m_lBurstDura = c.m_lTestTime = INT32_MIN;
             c.m_bAlternative = c.m_bContinuous = c.m_bTrigger = INT32_MIN;
         }},
    };
    struct Range {
        int32_t lo, hi;
    };
    const Range kRange[] = {{VOLT_MIN, VOLT_MAX}, {FREQ_MIN, FREQ_MAX}, {ANGLE_MIN, ANGLE_MAX}};
    for (const auto& [what, spoil] : records) {
        SCOPED_TRACE(what);
        CSettingData hostile;
        spoil(hostile);
        IsAlternationAllowed(hostile);
        IsContinuousAllowed(hostile);
        const int32_t lMax =
            MaxPulseCount(LowestFrequency(hostile), hostile.m_lBurstPeriod, hostile.m_bAlternative);
        EXPECT_TRUE(lMax >= PULSE_MIN && lMax <= PULSE_MAX);
        EXPECT_GE(MaxBurstDuration(LowestFrequency(hostile), FirstFrequency(hostile), hostile.m_lBurstPeriod,
                                   hostile.m_bAlternative),
                  0);

        for (int nParam : {VF_BURST_PERIOD, VF_PULSE_COUNT, VF_BURST_DURA}) {
            CSettingData c = hostile;
            EnterBurstText(c, nParam, BurstText(c, nParam));
            SpinBurstText(c, nParam, BurstText(c, nParam), true, true, true);
            if (nParam == VF_BURST_PERIOD) {
                EXPECT_TRUE(c.m_lBurstPeriod >= PERIOD_MIN && c.m_lBurstPeriod <= PERIOD_MAX);
            }
            EXPECT_TRUE(c.m_lPalseCount >= PULSE_MIN && c.m_lPalseCount <= PULSE_MAX);
            EXPECT_GE(c.m_lBurstDura, 0);
        }
        for (VALUE_KIND kind : {KIND_VOLT, KIND_FREQ, KIND_ANGLE}) {
            const Range r = kRange[kind];
            for (int32_t nType : {VALUE_FIXED, VALUE_SWEEP, VALUE_VARIABLE}) {
                CSettingData c = hostile;
                ChangeValueType(c, kind, nType);
                const VALUE_STRUCT& vs = *ValueOfKind(c, kind);
                std::vector<int32_t> values;
                if (nType == VALUE_FIXED)
                    values = {vs.m_lValue};
                else if (nType == VALUE_SWEEP)
                    values = {vs.m_lStart, vs.m_lEnd};
                else
                    values.assign(std::begin(vs.m_alValue), std::end(vs.m_alValue));
                for (int32_t v : values)
                    EXPECT_TRUE(v >= r.lo && v <= r.hi) << kind << " type " << nType << ": " << v;
                if (nType == VALUE_SWEEP) {
                    EXPECT_GT(vs.m_lStep, 0);
                    if (kind == KIND_FREQ) { // both bounds inside one band (its lower edge is 10 steps)
                        const int32_t nBand = FreqRangeBand(vs.m_lStart, vs.m_lEnd);
                        EXPECT_GE(std::min(vs.m_lStart, vs.m_lEnd), 10 * FreqBandStepOf(nBand))
                            << vs.m_lStart << ".." << vs.m_lEnd;
                    } else {
                        EXPECT_LE(vs.m_lStart, vs.m_lEnd);
                    }
                }
                if (nType == VALUE_VARIABLE) {
                    EXPECT_GE(ValueCount(vs), 1);
                }
                if (kind == KIND_FREQ) {
                    EXPECT_TRUE(c.m_lPalseCount >= PULSE_MIN && c.m_lPalseCount <= PULSE_MAX);
                }
                for (int32_t nField = FIELD_FIXED; nField < FIELD_COUNT; ++nField) {
                    SpinText(c, kind, nField, FieldText(c, kind, nField), true, true);
                    EnterText(c, kind, nField, "99999999999");
                }
            }
        }
    }
}

} // namespace torvex
