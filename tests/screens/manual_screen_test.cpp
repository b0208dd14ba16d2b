#include "ScreenFixture.h"
#include "gui/screens/CouplingPhaseDlg.h"
#include "gui/screens/CouplingPhaseSweepDlg.h"
#include "gui/screens/ManualDlg.h"
#include "gui/screens/ValueDlg.h"
#include "gui/screens/ValuePage.h"

#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>

namespace torvex {

namespace {

struct ManualScreenTest : ScreenFixture {
    void Open(uint32_t ulModel = MODEL_K1) {
        pScreen = std::make_unique<CManualDlg>(Session(ulModel), list);
        Show(*pScreen);
    }
    CSettingData& Cond() { return doc.m_settingManual; }
    QLineEdit* Burst(CManualDlg::BURST_BOX e) const { return pScreen->BurstField(e).m_pBox; }
    QLineEdit* FreqBox() const { return pScreen->FreqEditor()->Page(VALUE_FIXED)->Rows()[0].m_pBox; }
    std::unique_ptr<CManualDlg> pScreen;
};

} // namespace

TEST_F(ManualScreenTest, BurstDurationMovesThePulseCount) {
    Open();
    Type(Burst(CManualDlg::BURST_DURA), "15.10");
    EXPECT_EQ(Burst(CManualDlg::BURST_PULSES)->text(), "76");
    EXPECT_EQ(Burst(CManualDlg::BURST_DURA)->text(), "15.20");
    Type(Burst(CManualDlg::BURST_DURA), "14.99");
    EXPECT_EQ(Cond().m_lPalseCount, 74);
    // A frequency change corrects them through the value editor.
    Type(Burst(CManualDlg::BURST_PULSES), "300");
    Type(FreqBox(), "1.0");
    EXPECT_EQ(Burst(CManualDlg::BURST_PULSES)->text(), "299");
    EXPECT_EQ(list.nRows, 1);
}

TEST_F(ManualScreenTest, ContinuousOutputBlanksTheBurstAndLimitsTheValues) {
    Open();
    Click(pScreen->FunctionBox(FUNC_CONTINUOUS));
    ASSERT_EQ(Cond().m_bContinuous, 1);
    for (auto e : {CManualDlg::BURST_PERIOD, CManualDlg::BURST_PULSES, CManualDlg::BURST_DURA}) {
        EXPECT_TRUE(Burst(e)->text().isEmpty());
        EXPECT_FALSE(Burst(e)->isEnabled());
        EXPECT_FALSE(pScreen->BurstField(e).m_pSpin->isEnabled());
    }
    EXPECT_EQ(Cond().m_lPalseCount, 75); // kept for later
    EXPECT_FALSE(pScreen->FunctionBox(FUNC_TRIGGER)->isEnabled());
    EXPECT_FALSE(pScreen->FunctionBox(FUNC_ALTERNATION)->isEnabled());

    Type(pScreen->VoltEditor()->Page(VALUE_FIXED)->Rows()[0].m_pBox, "3000"); // 5 kHz: at most 1000 V
    EXPECT_EQ(Cond().m_valVolt.m_lValue, 1000);
    Type(FreqBox(), "50");
    EXPECT_EQ(FreqBox()->text(), "10");
    Type(pScreen->TimeField(CManualDlg::TIME_HOUR).m_pBox, "1");
    EXPECT_EQ(Cond().m_lTestTime, 600);
    EXPECT_EQ(pScreen->TimeField(CManualDlg::TIME_MIN).m_pBox->text(), "10");

    Click(pScreen->FunctionBox(FUNC_CONTINUOUS));
    EXPECT_EQ(Burst(CManualDlg::BURST_PULSES)->text(), "75");
    EXPECT_TRUE(pScreen->FunctionBox(FUNC_TRIGGER)->isEnabled());
}

TEST_F(ManualScreenTest, AlternationStaysCheckedButGreyedWhenItsConditionFails) {
    Open();
    Type(Burst(CManualDlg::BURST_PERIOD), "500");
    Type(FreqBox(), "1.1");
    Click(pScreen->FunctionBox(FUNC_ALTERNATION));
    ASSERT_EQ(Cond().m_bAlternative, 1);
    Type(Burst(CManualDlg::BURST_PULSES), "500"); // the rest between bursts falls below 100 ms
    EXPECT_TRUE(pScreen->FunctionBox(FUNC_ALTERNATION)->isChecked());
    EXPECT_FALSE(pScreen->FunctionBox(FUNC_ALTERNATION)->isEnabled());
    EXPECT_EQ(Cond().m_bAlternative, 1);
    Type(Burst(CManualDlg::BURST_PULSES), "100");
    EXPECT_TRUE(pScreen->FunctionBox(FUNC_ALTERNATION)->isEnabled());
}

TEST_F(ManualScreenTest, AChangeAfterARunAsksOnce) {
    Open();
    CRunEngineProbe(engine).SetManualUnchanged(false);
    dialog.QueueAnswer(COperatorDialog::Cancel);
    Click(pScreen->PolarityButton(1));
    EXPECT_EQ(Cond().m_ulPola, 1u);
    EXPECT_TRUE(pScreen->PolarityButton(0)->isChecked());

    dialog.QueueAnswer(COperatorDialog::Ok); // OK replays the click once
    Click(pScreen->PolarityButton(1));
    EXPECT_EQ(Cond().m_ulPola, 2u);
    Click(pScreen->PolarityButton(2)); // no question now
    EXPECT_EQ(Cond().m_ulPola, 3u);
    EXPECT_EQ(dialog.Texts().size(), 2);

    // A spin click that asked is dropped; the operator repeats it.
    CRunEngineProbe(engine).SetManualUnchanged(false);
    const CSpinButtons* pSpin = pScreen->BurstField(CManualDlg::BURST_PULSES).m_pSpin;
    Spin(const_cast<CSpinButtons*>(pSpin), true);
    EXPECT_EQ(Cond().m_lPalseCount, 75);
    Spin(const_cast<CSpinButtons*>(pSpin), true);
    EXPECT_EQ(Cond().m_lPalseCount, 76);

    // Running: nothing asked, nothing changed; locked: clicks dropped.
    CRunEngineProbe(engine).SetManualUnchanged(false);
    CRunEngineProbe(engine).SetRunState(RunState::Running);
    Click(pScreen->PolarityButton(0));
    CRunEngineProbe(engine).SetManualUnchanged(true);
    engine.LockScreens(false);
    Click(pScreen->PolarityButton(0));
    Click(pScreen->FreqEditor()->TabBar());
    EXPECT_EQ(Cond().m_ulPola, 3u);
    EXPECT_EQ(dialog.Texts().size(), 3);
}

TEST_F(ManualScreenTest, MoreThanAThousandStepsBlockStartAndSaving) {
    Open();
    QSignalSpy spy(pScreen.get(), &CManualDlg::saveAllowedChanged);
    Cond().m_ulPola = 3;
    Cond().m_valVolt = VALUE_STRUCT{VALUE_VARIABLE, 500, 0, 0, 0, {1, 1, 1, 1, 1}, {500, 600, 700, 800, 900}};
    OUTPUT_PORT_STRUCT& port = Cond().m_outOutput.m_aopOutputPort[PORT_CDN];
    port.m_nSync = 1;
    port.m_valAngle = VALUE_STRUCT{VALUE_SWEEP, 0, 0, 99, 1, {}, {}};
    pScreen->Refresh();
    const auto& rows = pScreen->AngleEditor()->Page(VALUE_SWEEP)->Rows();
    Type(rows[1].m_pBox, "100"); // 101 angles × 5 voltages × 2 polarities
    EXPECT_EQ(list.nLimitShown, 1010);
    EXPECT_EQ(list.nRows, -1);
    EXPECT_FALSE(CRunEngineProbe(engine).StartAllowed());
    EXPECT_FALSE(view.bStartEnabled);
    EXPECT_FALSE(pScreen->SaveButton()->isEnabled());
    EXPECT_FALSE(pScreen->SaveAsButton()->isEnabled());
    EXPECT_FALSE(pScreen->IsSaveAllowed());
    Type(rows[1].m_pBox, "99");
    EXPECT_EQ(list.nRows, 1000);
    EXPECT_TRUE(CRunEngineProbe(engine).StartAllowed());
    EXPECT_TRUE(pScreen->SaveButton()->isEnabled());
    EXPECT_TRUE(pScreen->SaveAsButton()->isEnabled());
    EXPECT_GE(spy.count(), 2);
    // A run locks the file buttons whatever the count.
    pScreen->LockFileButtons(true);
    EXPECT_FALSE(pScreen->LoadButton()->isEnabled());
    EXPECT_FALSE(pScreen->SaveButton()->isEnabled());
    pScreen->LockFileButtons(false);
    EXPECT_TRUE(pScreen->SaveButton()->isEnabled());
}

TEST_F(ManualScreenTest, OutputSyncAndModelDecideWhatIsShown) {
    Cond().m_outOutput.m_aopOutputPort[PORT_CDN].m_nOutputDetail = DETAIL_THREE;
    Open(MODEL_K2);
    EXPECT_EQ(Cond().m_outOutput.m_aopOutputPort[PORT_CDN].m_nOutputDetail, DETAIL_SINGLE);
    EXPECT_FALSE(pScreen->PhaseButton(DETAIL_THREE)->isVisible());
    EXPECT_TRUE(pScreen->PhaseGroup()->isVisible());
    EXPECT_FALSE(pScreen->AngleGroup()->isVisible());
    Click(pScreen->SyncButton(true));
    EXPECT_TRUE(pScreen->AngleGroup()->isVisible());
    Click(pScreen->OutputButton(PORT_PULSE_OUT));
    EXPECT_FALSE(pScreen->SyncGroup()->isVisible());
    EXPECT_FALSE(pScreen->AngleGroup()->isVisible());
    EXPECT_FALSE(pScreen->PhaseGroup()->isVisible());
    Click(pScreen->OutputButton(PORT_CDN));
    EXPECT_TRUE(pScreen->AngleGroup()->isVisible());
    EXPECT_FALSE(pScreen->PhaseButton(DETAIL_THREE)->isVisible());
}

TEST_F(ManualScreenTest, CouplingLinesKeepOneLineAndTwoMasks) {
    Open();
    CCouplingPhaseDlg* pEditor = pScreen->CouplingEditor();
    CCouplingPhaseSweepDlg* pFix = pEditor->Page(0);
    EXPECT_FALSE(pFix->LineBox(3)->isVisible());
    EXPECT_EQ(pFix->LineBox(0)->text(), "L");
    Click(pScreen->PhaseButton(DETAIL_THREE));
    EXPECT_EQ(pFix->LineBox(0)->text(), "L1");
    EXPECT_TRUE(pFix->LineBox(4)->isVisible());
    const OUTPUT_PORT_STRUCT& port = Cond().m_outOutput.m_aopOutputPort[PORT_CDN];
    for (int i : {0, 2, 3, 4})
        Click(pFix->LineBox(i));
    EXPECT_EQ(port.m_aulInjBitFix[DETAIL_THREE], 2u);
    Click(pFix->LineBox(1)); // the only line left stays
    EXPECT_EQ(port.m_aulInjBitFix[DETAIL_THREE], 2u);
    EXPECT_TRUE(pFix->LineBox(1)->isChecked());
    EXPECT_FALSE(pFix->EachButton()->isEnabled());

    pEditor->TabBar()->setCurrentIndex(1);
    EXPECT_EQ(port.m_uCouplingType, 1u);
    EXPECT_EQ(port.m_aulInjBitSweep[DETAIL_THREE], 31u);
    EXPECT_TRUE(pEditor->Page(1)->LineBox(0)->isChecked());
    Click(pEditor->Page(1)->AllButton());
    EXPECT_EQ(port.m_uSweepType, 1u);
    EXPECT_TRUE(pEditor->Page(1)->AllButton()->isChecked());
    EXPECT_FALSE(pEditor->Page(1)->EachButton()->isChecked());
}

} // namespace torvex
