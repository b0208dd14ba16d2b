#include "results/PlanChart.h"

#include <gtest/gtest.h>

#include <random>

namespace torvex {

namespace {

CExecData Step(int32_t lTime, int32_t lVolt = 500, int32_t lFreq = 5000, int32_t nJudge = JUDGE_NONE) {
    CExecData s;
    s.m_lTestTime = lTime;
    s.m_lVolt = lVolt;
    s.m_lFreq = lFreq;
    s.m_nJudge = nJudge;
    return s;
}

// The bars lie side by side over the whole width, and every step is in one.
void ExpectCovers(const std::vector<PLAN_BAR>& bars, int nWidth, int nSteps) {
    ASSERT_FALSE(bars.empty());
    EXPECT_EQ(bars.front().nLeft, 0);
    EXPECT_EQ(bars.back().nRight, nWidth);
    EXPECT_EQ(bars.front().nFirstStep, 0);
    EXPECT_EQ(bars.back().nLastStep, nSteps - 1);
    for (size_t i = 1; i < bars.size(); ++i) {
        EXPECT_EQ(bars[i].nLeft, bars[i - 1].nRight) << "bar " << i;
        EXPECT_LE(bars[i].nFirstStep, bars[i - 1].nLastStep + 1) << "bar " << i;
    }
}

} // namespace

TEST(PlanChart, StepsAreAsWideAsTheirTimeAndAsHighAsTheirValues) {
    // 1 kHz, 10 kHz and 100 kHz lie evenly on the frequency scale.
    const std::vector<CExecData> steps = {Step(60, 500, 1000, JUDGE_PASS), Step(180, -2000, 10000, JUDGE_FAIL),
                                          Step(0, 1000, 100000)};
    CPlanChart chart;
    chart.SetSteps(steps);
    EXPECT_EQ(chart.TotalSeconds(), 241); // the step without time counts one second
    EXPECT_EQ(chart.HighestVolt(), 2000);

    const std::vector<PLAN_BAR> bars = chart.Bars(steps, 241);
    ASSERT_EQ(bars.size(), 3u);
    ExpectCovers(bars, 241, 3);
    EXPECT_EQ(bars[0].nRight, 60);
    EXPECT_EQ(bars[1].nRight, 240);
    EXPECT_DOUBLE_EQ(bars[0].dVolt, 0.25);
    EXPECT_DOUBLE_EQ(bars[1].dVolt, 1.0); // a negative voltage is as high as its size
    EXPECT_DOUBLE_EQ(bars[0].dFreqLow, 0.0);
    EXPECT_NEAR(bars[1].dFreqLow, 0.5, 1e-12);
    EXPECT_DOUBLE_EQ(bars[2].dFreqHigh, 1.0);
    EXPECT_EQ(bars[0].nJudge, JUDGE_PASS);
    EXPECT_EQ(bars[1].nJudge, JUDGE_FAIL);
    EXPECT_EQ(bars[2].nJudge, JUDGE_NONE);

    // One frequency throughout sits in the middle.
    const std::vector<CExecData> flat = {Step(10), Step(10)};
    chart.SetSteps(flat);
    EXPECT_DOUBLE_EQ(chart.Bars(flat, 20)[0].dFreqLow, 0.5);
}

TEST(PlanChart, AShortFailedStepAmongLongOnesStaysInSight) {
    std::vector<CExecData> steps = {Step(3600, 500, 5000, JUDGE_PASS), Step(1, 4000, 100000, JUDGE_FAIL),
                                    Step(3600, 500, 5000, JUDGE_PASS)};
    CPlanChart chart;
    chart.SetSteps(steps);
    const std::vector<PLAN_BAR> bars = chart.Bars(steps, 100);
    ExpectCovers(bars, 100, 3);
    const auto shared = std::find_if(bars.begin(), bars.end(), [](const PLAN_BAR& b) { return b.nLastStep == 1; });
    ASSERT_NE(shared, bars.end());
    EXPECT_EQ(shared->nJudge, JUDGE_FAIL);
    EXPECT_DOUBLE_EQ(shared->dVolt, 1.0);
    EXPECT_DOUBLE_EQ(shared->dFreqHigh, 1.0);
    EXPECT_DOUBLE_EQ(shared->dFreqLow, 0.0);

    // Judged afterwards: the same plan shows the new judgment, and an
    // unjudged step outweighs a pass.
    steps[1].m_nJudge = JUDGE_NONE;
    const std::vector<PLAN_BAR> later = chart.Bars(steps, 100);
    EXPECT_EQ(std::find_if(later.begin(), later.end(), [](const PLAN_BAR& b) { return b.nLastStep == 1; })->nJudge,
              JUDGE_NONE);
}

TEST(PlanChart, ColumnsAndStepAtAgreeForAnyPlan) {
    std::mt19937 random(7);
    for (int nCase = 0; nCase < 50; ++nCase) {
        std::vector<CExecData> steps;
        const int nSteps = 1 + int(random() % 1000);
        for (int i = 0; i < nSteps; ++i)
            steps.push_back(Step(int32_t(random() % 5000), 500, 5000, int32_t(random() % 3)));
        const int nWidth = 1 + int(random() % 1500);
        CPlanChart chart;
        chart.SetSteps(steps);
        ExpectCovers(chart.Bars(steps, nWidth), nWidth, nSteps);
        for (int x = 0; x < nWidth; ++x) {
            const int nStep = chart.StepAt(x, nWidth);
            ASSERT_GE(nStep, 0);
            const auto [nLeft, nRight] = chart.Columns(nStep, nWidth);
            ASSERT_TRUE(nLeft <= x && x < nRight) << "case " << nCase << " column " << x;
        }
        for (int i = 0; i < nSteps; ++i) {
            const auto [nLeft, nRight] = chart.Columns(i, nWidth);
            ASSERT_LT(nLeft, nRight);
            ASSERT_LE(nRight, nWidth);
        }
    }
}

TEST(PlanChart, NothingToDrawIsNothing) {
    CPlanChart chart;
    const std::vector<CExecData> none;
    chart.SetSteps(none);
    EXPECT_TRUE(chart.Bars(none, 100).empty());
    EXPECT_EQ(chart.StepAt(0, 100), -1);
    const std::vector<CExecData> one = {Step(60)};
    chart.SetSteps(one);
    EXPECT_TRUE(chart.Bars(one, 0).empty());
    EXPECT_EQ(chart.StepAt(-1, 100), -1);
    EXPECT_EQ(chart.StepAt(100, 100), -1);
    EXPECT_EQ(chart.StepAt(99, 100), 0);
    // A list cut short since the plan was taken draws what is left.
    EXPECT_TRUE(chart.Bars(none, 100).empty());
}

} // namespace torvex
