// Number box text: filtering while typing, parsing, formatting, the round trip
// between them, rounding of typed values and spin steps.

#include "RulesTestSupport.h"

#include <gtest/gtest.h>

namespace torvex {

namespace {

const CSettingData kCond;
const VALUE_FORMAT& Fmt(int n) {
    return kCond.m_aValueFormat[n];
}

} // namespace

TEST(RulesText, FilterKeepsDigitsAndOnePointWithCaret) {
    struct Case {
        const char* in;
        int32_t selStart, selEnd;
        const char* out;
        int32_t newStart, newEnd;
    } cases[] = {
        {"12.5", 3, 3, "12.5", 3, 3},
        {"12a", 3, 3, "12", 2, 2}, // typed letter dropped: caret back one
        {"1a2", 2, 2, "12", 1, 1},
        {" 12", 1, 1, "12", 0, 0},
        {"12 ", 3, 3, "12", 2, 2},
        {"-5", 1, 1, "5", 0, 0},
        {"1.2.5", 2, 2, "1.25", 2, 2}, // point typed after "1" replaces the later one
        {"1.2.5", 4, 4, "12.5", 3, 3}, // point typed after "2" replaces the earlier one
        {"1.25.", 5, 5, "125.", 4, 4},
        {"1.2.5", 5, 5, "1.25", 4, 4}, // no point left of the caret: the first stays
        {"12x34", 1, 4, "1234", 1, 3}, // selection keeps its characters
        {"ab", 0, 2, "", 0, 0},
        {"", 0, 0, "", 0, 0},
        {"12", -3, 99, "12", 0, 2}, // positions outside the text
        {"\xef\xbc\x91"
         "2",
         2, 2, "2", 1, 1}, // full-width digit is not a digit
    };
    for (const Case& c : cases) {
        const QString in = QString::fromUtf8(c.in);
        const FILTERED_TEXT r = FilterNumericText(in, c.selStart, c.selEnd);
        EXPECT_EQ(r.m_strText, QString::fromUtf8(c.out)) << c.in;
        EXPECT_EQ(r.m_nSelStart, c.newStart) << c.in;
        EXPECT_EQ(r.m_nSelEnd, c.newEnd) << c.in;
        EXPECT_EQ(r.m_bChanged, r.m_strText != in) << c.in;
    }
}

TEST(RulesText, ParseReadsTheLeadingNumberScaledExactly) {
    struct Case {
        const char* text;
        int fmt;
        int32_t value;
    } cases[] = {
        {"2.01", VF_FREQ, 2009}, // 2.01 × 1000 is just below 2010 in double precision
        {"2.01", VF_BURST_DURA, 2009},
        {"8.03", VF_BURST_DURA, 8029},
        {"2.5", VF_BURST_DURA, 2500},
        {"12", VF_VOLT, 12},
        {"1234.5", VF_FREQ, 1234500},
        {"0.055", VF_FREQ, 55},
        {"0.0001", VF_FREQ, 0}, // below the storage unit: truncated
        {"2.0199", VF_FREQ, 2019},
        {"000012.000", VF_VOLT, 12},
        {"  7.9x", VF_VOLT, 7}, // blanks skipped, stops at the first non-number
        {"-3.7", VF_VOLT, -3},  // truncated toward zero
        {"1e3", VF_VOLT, 1000},
        {"2.5e", VF_BURST_DURA, 2500},
        {"", VF_VOLT, 0},
        {"abc", VF_VOLT, 0},
        {".", VF_VOLT, 0},
        {"-", VF_VOLT, 0},
        {"2147483647", VF_VOLT, INT32_MAX},
        {"2147483.647", VF_FREQ, INT32_MAX},
        {"2147483648", VF_VOLT, INT32_MAX}, // saturates
        {"-99999999999", VF_VOLT, INT32_MIN},
        {"1e99999999999999", VF_VOLT, INT32_MAX},
        {"1e-99999999999999", VF_VOLT, 0},
        {"0e99999", VF_VOLT, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseValue(QString::fromUtf8(c.text), Fmt(c.fmt)), c.value) << c.text;
    EXPECT_EQ(ParseValue(QString(100000, u'9'), Fmt(VF_VOLT)), INT32_MAX);
    EXPECT_EQ(ParseValue(QStringLiteral("0.") + QString(100000, u'0') + QStringLiteral("1"), Fmt(VF_FREQ)),
              0);
}

TEST(RulesText, FormatUsesDecimalsAndFrequencyDecimalsFollowTheValue) {
    EXPECT_EQ(FormatValue(5000, Fmt(VF_FREQ)), "5.00");
    EXPECT_EQ(FormatValue(15000, Fmt(VF_BURST_DURA)), "15.00");
    EXPECT_EQ(FormatValue(500, Fmt(VF_VOLT)), "500");
    EXPECT_EQ(FormatValue(INT32_MIN, Fmt(VF_VOLT)), "-2147483648");
    const std::pair<int32_t, const char*> freq[] = {
        {100, "0.10"}, {990, "0.99"},     {1000, "1.0"},     {9900, "9.9"},
        {10000, "10"}, {1200000, "1200"}, {2000000, "2000"}, {INT32_MAX, "2147484"}};
    for (auto [hz, text] : freq)
        EXPECT_EQ(FormatValue(KIND_FREQ, hz, Fmt(VF_FREQ)), text) << hz;
}

TEST(RulesText, EveryGridValueReadsBackAsItself) {
    // A burst duration may read back a microsecond low (the double product
    // truncates), but the box shows the same text again.
    for (int32_t us = DURA_MIN; us <= DURA_MAX; us += 10) {
        const int32_t back = ShownValue(KIND_ANGLE, us, Fmt(VF_BURST_DURA));
        ASSERT_TRUE(back == us || back == us - 1) << us;
        ASSERT_EQ(FormatValue(back, Fmt(VF_BURST_DURA)), FormatValue(us, Fmt(VF_BURST_DURA))) << us;
    }
    for (int32_t hz = FREQ_MIN; hz <= FREQ_MAX; hz += FreqBandStep(hz))
        ASSERT_EQ(ShownValue(KIND_FREQ, hz, Fmt(VF_FREQ)), hz) << hz;
    // Off the grid the box settles the value on it.
    EXPECT_EQ(ShownValue(KIND_FREQ, 1234, Fmt(VF_FREQ)), 1200);
    EXPECT_EQ(ShownValue(KIND_FREQ, 1234400, Fmt(VF_FREQ)), 1234000);
}

TEST(RulesText, RoundingOfTypedValues) {
    CSettingData cond;
    cond.m_valFreq = Sweep(1000, 5000, 100);
    struct Case {
        VALUE_KIND kind;
        int32_t field, typed, rounded;
    } cases[] = {
        {KIND_VOLT, FIELD_FIXED, 1234, 1230},     {KIND_VOLT, FIELD_FIXED, 1235, 1240},
        {KIND_VOLT, FIELD_STEP, 15, 20},          {KIND_VOLT, FIELD_FIXED, INT32_MAX, 2147483640},
        {KIND_FREQ, FIELD_FIXED, 2009, 2000},     {KIND_FREQ, FIELD_FIXED, 999, 990},
        {KIND_FREQ, FIELD_FIXED, 99999, 99000},   {KIND_FREQ, FIELD_FIXED, 100000, 100000},
        {KIND_FREQ, FIELD_FIXED, 999999, 990000}, {KIND_FREQ, FIELD_ROW0, 1234500, 1200000},
        {KIND_FREQ, FIELD_STEP, 150, 100}, // STEP follows the range's band, not its own
        {KIND_ANGLE, FIELD_FIXED, 7, 7},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RoundTypedValue(cond, c.kind, c.field, c.typed), c.rounded) << c.kind << " " << c.typed;
}

TEST(RulesText, SpinSteps) {
    struct Case {
        int param;
        int32_t box;
        bool up, ctrl, shift;
        int32_t step;
    } cases[] = {
        {VF_FREQ, 1000, true, false, false, 100}, // 1.0 kHz up to 1.1
        {VF_FREQ, 1000, false, false, false, 10}, // 1.0 kHz down to 0.99
        {VF_FREQ, 990, true, false, false, 10},
        {VF_FREQ, 10000, false, false, false, 100},
        {VF_FREQ, 10000, true, false, false, 1000},
        {VF_FREQ, 100000, false, false, false, 1000},
        {VF_FREQ, 1000000, false, false, false, 10000},
        {VF_FREQ, 1000000, true, false, false, 100000},
        {VF_FREQ, 1000, true, true, false, 1000},
        {VF_VOLT, 500, true, false, false, 10},
        {VF_VOLT, 500, true, true, true, 100}, // SHIFT means nothing here
        {VF_BURST_PERIOD, 300, false, true, false, 100},
        {VF_PULSE_COUNT, 75, true, true, false, 10},
        {VF_ANGLE, 0, true, false, false, 1},
        {VF_TIME_MIN, 0, true, true, false, 10},
        {VF_BURST_DURA, 0, true, false, false, 10},
        {VF_BURST_DURA, 0, true, true, false, 100},
        {VF_BURST_DURA, 0, true, false, true, 1000},
        {VF_BURST_DURA, 0, true, true, true, 10000},
        {99, 0, true, false, false, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SpinStep(c.param, c.box, c.up, c.ctrl, c.shift), c.step) << c.param << " " << c.box;
    EXPECT_EQ(SpunValue(VF_VOLT, INT32_MAX, true, true, false), INT32_MAX);
    EXPECT_EQ(SpunValue(VF_VOLT, INT32_MIN, false, true, false), INT32_MIN);
    EXPECT_EQ(FreqSweepStepSpin(10000, 50000, true), 10000);
}

} // namespace torvex
