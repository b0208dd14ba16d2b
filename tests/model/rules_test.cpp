// Derived quantities, pulse count and burst duration, special functions,
// continuous-output limits and test time.

#include "RulesTestSupport.h"

#include <gtest/gtest.h>

namespace torvex {

TEST(RulesDerived, FrequenciesAndVoltageOfEachValueType) {
    struct Case {
        VALUE_STRUCT vs;
        int32_t lowest, first, highest;
    } cases[] = {
        {Fixed(5000), 5000, 5000, 5000},
        {Sweep(100000, 5000, 5000), 5000, 100000, 100000}, // downward sweep
        {Sweep(1000, 9000, 100), 1000, 1000, 9000},
        {Variable({0, 1, 0, 1, 1}, {1, 7000, 2, 3000, 9000}), 3000, 7000, 9000},
        {Variable({0, 0, 0, 0, 0}, {1, 2, 3, 4, 5}), 0, 0, 0},
        {OfType(7), 0, 0, 0},
        {OfType(-1), 0, 0, 0},
    };
    for (const Case& c : cases) {
        const CSettingData cond = Condition(c.vs, c.vs);
        EXPECT_EQ(LowestFrequency(cond), c.lowest);
        EXPECT_EQ(FirstFrequency(cond), c.first);
        EXPECT_EQ(HighestFrequency(cond), c.highest);
        EXPECT_EQ(HighestVoltage(cond), c.highest);
    }
}

TEST(RulesBurst, DurationOfPulses) {
    struct Case {
        int32_t n, f, dura;
    } cases[] = {
        {75, 5000, 15000},
        {75, 100000, 750},
        {1, 2000000, 10},
        {1, 3000, 340}, // 3333 × 0.1 µs
                        // rounded up
        {76, 5000, 15200},
        {0, 5000, 0},
        {75, 0, 0},
        {75, -5000, 0},
        {-3, 5000, 0},
        {1, INT32_MAX, 0},         // period below 0.1 µs
        {INT32_MAX, 1, INT32_MAX}, // saturates
        {1000, 100, 10000000},
    };
    for (const Case& c : cases)
        EXPECT_EQ(BurstDurationOf(c.n, c.f), c.dura) << c.n << " pulses at " << c.f;
}

TEST(RulesBurst, MaxPulseCount) {
    struct Case {
        int32_t f, period;
        bool alt;
        int32_t max;
    } cases[] = {
        {5000, 300, false, 300}, // above 1 kHz: one pulse per ms
        {1001, 1000, false, 1000},
        {1000, 300, false, 299}, // 1000 × 299990 div 10^6
        {1000, 500, true, 400},  // window (500 − 100) ms
        {100, 1000, false, 99},
        {100, 10, false, 1}, // never below 1
        {1000, 50, true, 1}, // negative window
        {0, 300, false, 1},  // no frequency
        {-1000, 300, false, 1},
        {5000, INT32_MAX, false, 1000}, // a damaged period never exceeds the pulse maximum
        {1000, INT32_MAX, true, 1000},
        {1000, INT32_MIN, true, 1},
        {5000, INT32_MIN, false, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MaxPulseCount(c.f, c.period, c.alt), c.max) << c.f << " Hz, " << c.period << " ms";
}

TEST(RulesBurst, CorrectPulseCountLimitsAndReturnsDuration) {
    struct Case {
        int32_t lowest, first, period;
        bool alt;
        int32_t pulses, newPulses, dura;
    } cases[] = {
        {5000, 5000, 100, false, 150, 100, 20000}, // period lowered from 300 to 100
        {5000, 5000, 300, false, 75, 75, 15000},
        {1000, 5000, 300, false, 300, 299, 59800}, // lowest limits, first gives the duration
        {5000, 5000, 300, false, 0, 1, 200},
        {5000, 5000, 300, false, INT32_MIN, 1, 200},
        {5000, 5000, 300, false, INT32_MAX, 300, 60000},
        {0, 0, 300, false, 75, 1, 0},
    };
    for (const Case& c : cases) {
        int32_t n = c.pulses;
        EXPECT_EQ(CorrectPulseCount(c.lowest, c.first, c.period, c.alt, n), c.dura);
        EXPECT_EQ(n, c.newPulses);
    }
}

TEST(RulesBurst, DurationEntryMovesPulseCountItsWay) {
    struct Case {
        int32_t entered, pulses, snapped;
    } cases[] = {
        {15100, 76, 15200}, // less than one period longer: still one pulse more
        {14990, 74, 14800},  {15000, 75, 15000},
        {30000, 150, 30000}, {999000, 300, 60000}, // limited by the burst period
        {10, 1, 200},        {15010, 76, 15200},
    };
    for (const Case& c : cases) {
        int32_t d = c.entered;
        EXPECT_EQ(PulsesFromDuration(5000, 5000, 300, false, 75, 15000, d), c.pulses) << c.entered;
        EXPECT_EQ(d, c.snapped) << c.entered;
    }
    // Hostile stored values and frequencies stay defined.
    int32_t d = 20000;
    EXPECT_EQ(PulsesFromDuration(5000, 5000, 300, false, INT32_MAX, 15000, d), 300);
    d = 10;
    EXPECT_EQ(PulsesFromDuration(5000, 5000, 300, false, INT32_MIN, 15000, d), 1);
    d = INT32_MAX;
    EXPECT_EQ(PulsesFromDuration(INT32_MAX, INT32_MAX, 300, false, 75, 15000, d), 300);
    d = 15000;
    EXPECT_EQ(PulsesFromDuration(0, 0, 300, false, 75, 1000, d), 1);
    EXPECT_EQ(d, 0);
}

TEST(RulesBurst, DurationLimitsShown) {
    struct Case {
        int32_t lowest, first, period;
        bool alt;
        int32_t min, max;
    } cases[] = {
        {5000, 5000, 300, false, 200, 60000},
        {1000, 1000, 300, false, 1000, 299000},
        {1000, 1000, 300, true, 1000, 200000}, // window bounds the maximum
        {100, 100, 10, false, 10000, 10000},   // never below the minimum
        {0, 0, 300, false, 0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MinBurstDuration(c.first), c.min);
        EXPECT_EQ(MaxBurstDuration(c.lowest, c.first, c.period, c.alt), c.max);
    }
}

TEST(RulesFunctions, AlternationAllowed) {
    struct Case {
        const char* what;
        VALUE_STRUCT freq;
        int32_t period, pulses, dura, time, continuous;
        bool allowed;
    } cases[] = {
        {"sound", Fixed(5000), 500, 75, 15000, 60, 0, true},
        {"period 490 ms", Fixed(5000), 490, 75, 15000, 60, 0, false},
        {"rest 99.99 ms", Fixed(5000), 500, 75, 400010, 60, 0, false},
        {"rest 100 ms", Fixed(5000), 500, 75, 400000, 60, 0, true},
        {"10 min 1 s", Fixed(5000), 500, 75, 15000, 601, 0, false},
        {"10 min", Fixed(5000), 500, 75, 15000, 600, 0, true},
        {"continuous on", Fixed(5000), 500, 75, 15000, 60, 1, false},
        {"sweep, lower bound", Sweep(5000, 1000, 100), 500, 400, 0, 60, 0, true},
        {"sweep, lower bound too long", Sweep(5000, 1000, 100), 500, 401, 0, 60, 0, false},
        {"variable, smallest used", Variable({1, 0, 1, 0, 0}, {5000, 100, 1000, 0, 0}), 500, 401, 0, 60, 0,
         false},
        {"variable, none used", Variable({0, 0, 0, 0, 0}, {100, 100, 100, 100, 100}), 500, 1000, 0, 60, 0,
         true},
        {"invalid type", OfType(7), 500, 75, 15000, 60, 0, false},
        {"frequency 0", Fixed(0), 500, 75, 15000, 60, 0, false},
        {"hostile period", Fixed(5000), INT32_MAX, 75, INT32_MIN, 60, 0, true},
    };
    for (const Case& c : cases) {
        CSettingData cond = Condition(Fixed(500), c.freq);
        cond.m_lBurstPeriod = c.period;
        cond.m_lPalseCount = c.pulses;
        cond.m_lBurstDura = c.dura;
        cond.m_lTestTime = c.time;
        cond.m_bContinuous = c.continuous;
        EXPECT_EQ(IsAlternationAllowed(cond), c.allowed) << c.what;
    }
}

TEST(RulesFunctions, ContinuousAllowed) {
    struct Case {
        const char* what;
        VALUE_STRUCT volt, freq;
        int32_t time, alt, trigger;
        bool allowed;
    } cases[] = {
        {"1000 V at 10 kHz", Fixed(1000), Fixed(10000), 60, 0, 0, true},
        {"1010 V at 10 kHz", Fixed(1010), Fixed(10000), 60, 0, 0, false},
        {"1010 V at 4 kHz", Fixed(1010), Fixed(4000), 60, 0, 0, true},
        {"5000 V at 1 kHz", Fixed(5000), Fixed(1000), 60, 0, 0, true},
        {"5000 V at 1.01 kHz", Fixed(5000), Fixed(1010), 60, 0, 0, false},
        {"test time over 10 min", Fixed(500), Fixed(5000), 601, 0, 0, false},
        {"alternation on", Fixed(500), Fixed(5000), 60, 1, 0, false},
        {"trigger on", Fixed(500), Fixed(5000), 60, 0, 1, false},
        {"voltage sweep to 2000 V", Sweep(200, 2000, 10), Fixed(4000), 60, 0, 0, true},
        {"voltage sweep to 2010 V", Sweep(200, 2010, 10), Fixed(4000), 60, 0, 0, false},
        {"every used voltage", Variable({1, 0, 1, 0, 0}, {500, 5000, 3000, 0, 0}), Fixed(1000), 60, 0, 0,
         true},
        {"every used voltage, too fast", Variable({1, 0, 1, 0, 0}, {500, 5000, 3000, 0, 0}), Fixed(2000), 60,
         0, 0, false},
        {"sweep end too high", Fixed(500), Sweep(1000, 20000, 1000), 60, 0, 0, false},
        {"sweep start too high", Fixed(500), Sweep(20000, 1000, 1000), 60, 0, 0, false},
        {"unused row ignored", Fixed(500), Variable({1, 0, 0, 0, 0}, {1000, 50000, 0, 0, 0}), 60, 0, 0, true},
        {"voltage above range", Fixed(6000), Fixed(5000), 60, 0, 0, false},
        {"voltage off the grid", Fixed(1005), Fixed(5000), 60, 0, 0, false},
        {"voltage below range", Fixed(100), Fixed(10000), 60, 0, 0, true},
        {"invalid voltage type", OfType(9), Fixed(1000), 60, 0, 0, false},
        {"no used voltage", Variable({0, 0, 0, 0, 0}, {500, 0, 0, 0, 0}), Fixed(1000), 60, 0, 0, false},
        {"no used frequency", Fixed(500), Variable({0, 0, 0, 0, 0}, {1000, 0, 0, 0, 0}), 60, 0, 0, false},
    };
    for (const Case& c : cases) {
        CSettingData cond = Condition(c.volt, c.freq);
        cond.m_lTestTime = c.time;
        cond.m_bAlternative = c.alt;
        cond.m_bTrigger = c.trigger;
        EXPECT_EQ(IsContinuousAllowed(cond), c.allowed) << c.what;
    }
}

TEST(RulesFunctions, TriggerOnlyWithoutContinuousOutput) {
    CSettingData cond;
    EXPECT_TRUE(IsTriggerAllowed(cond));
    cond.m_bContinuous = 1;
    EXPECT_FALSE(IsTriggerAllowed(cond));
}

TEST(RulesFunctions, ContinuousLimits) {
    const std::pair<int32_t, int32_t> voltByFreq[] = {
        {0, 5000}, {1000, 5000}, {1010, 2000}, {4000, 2000}, {4100, 1000}, {10000, 1000}, {2000000, 1000}};
    for (auto [f, v] : voltByFreq)
        EXPECT_EQ(ContinuousVoltageLimit(f), v) << f;
    const std::pair<int32_t, int32_t> freqByVolt[] = {{200, 10000},     {1000, 10000}, {1010, 4000},
                                                      {2000, 4000},     {2010, 1000},  {5000, 1000},
                                                      {INT32_MAX, 1000}};
    for (auto [v, f] : freqByVolt)
        EXPECT_EQ(ContinuousFrequencyLimit(v), f) << v;
}

TEST(RulesTestTime, Normalize) {
    struct Case {
        int32_t h, m, s;
        bool alt, cont;
        int32_t seconds;
    } cases[] = {
        {0, 0, 0, false, false, 1},
        {0, 1, 0, false, false, 60},
        {9, 59, 59, false, false, 35999},
        {10, 60, 60, false, false, 35999},
        {1, 0, 0, false, true, 600},
        {0, 10, 1, true, false, 600},
        {0, 9, 59, true, true, 599},
        {-1, -1, -1, false, false, 1},
        {INT32_MAX, INT32_MIN, 5, false, false, 9 * 3600 + 5},
    };
    for (const Case& c : cases)
        EXPECT_EQ(NormalizeTestTime(c.h, c.m, c.s, c.alt, c.cont), c.seconds)
            << c.h << ":" << c.m << ":" << c.s;
}

TEST(RulesTestTime, SplitAndStore) {
    int32_t h = -1, m = -1, s = -1;
    SplitTestTime(3725, h, m, s);
    EXPECT_EQ((std::array{h, m, s}), (std::array{1, 2, 5}));
    SplitTestTime(INT32_MIN, h, m, s);
    EXPECT_EQ((std::array{h, m, s}), (std::array{0, 0, 0}));

    CSettingData cond;
    cond.m_bContinuous = 1;
    EXPECT_EQ(StoreTestTime(cond, 1, 0, 0), uint32_t(CHANGED_TEST_TIME));
    EXPECT_EQ(cond.m_lTestTime, 600);
    EXPECT_EQ(StoreTestTime(cond, 0, 10, 0), 0u);
}

} // namespace torvex
