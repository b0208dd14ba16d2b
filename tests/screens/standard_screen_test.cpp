#include "ScreenFixture.h"
#include "gui/screens/StandardDlg.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

namespace torvex {

namespace {

struct StandardScreenTest : ScreenFixture {
    void Open(uint32_t ulModel = MODEL_K1) {
        pScreen = std::make_unique<CStandardDlg>(Session(ulModel), list);
        Show(*pScreen);
    }
    CSettingData& Cond() { return doc.m_settingStandard; }
    std::unique_ptr<CStandardDlg> pScreen;
};

} // namespace

TEST_F(StandardScreenTest, LevelsAndOutputsGiveTheTableVoltages) {
    Open();
    const int32_t expected[4][2] = {{500, 250}, {1000, 500}, {2000, 1000}, {4000, 2000}};
    for (int nPort : {PORT_PULSE_OUT, PORT_CDN}) {
        Click(pScreen->OutputButton(nPort));
        for (int nLevel = 0; nLevel < 4; ++nLevel) {
            Click(pScreen->LevelButton(nLevel));
            EXPECT_EQ(Cond().m_valVolt.m_lValue, expected[nLevel][nPort]);
            EXPECT_EQ(pScreen->VoltageText()->text(), QString::number(expected[nLevel][nPort]));
        }
    }
    EXPECT_EQ(list.nSelected, 0);
    EXPECT_EQ(property.m_timeStartStandard, 0);
}

TEST_F(StandardScreenTest, FrequencyTimeAndLines) {
    Open();
    Click(pScreen->FreqButton(1));
    EXPECT_EQ(Cond().m_lBurstDura, 750);
    EXPECT_EQ(pScreen->DurationText()->text(), "0.75");
    Click(pScreen->FreqButton(0));
    EXPECT_EQ(pScreen->DurationText()->text(), "15.00");

    Type(pScreen->TimeField(CStandardDlg::TIME_MIN).m_pBox, "0");
    Type(pScreen->TimeField(CStandardDlg::TIME_SEC).m_pBox, "0");
    EXPECT_EQ(Cond().m_lTestTime, 1);
    Type(pScreen->TimeField(CStandardDlg::TIME_HOUR).m_pBox, "9");
    Type(pScreen->TimeField(CStandardDlg::TIME_MIN).m_pBox, "59");
    Type(pScreen->TimeField(CStandardDlg::TIME_SEC).m_pBox, "59");
    EXPECT_EQ(Cond().m_lTestTime, 35999);
    EXPECT_FALSE(doc.IsModified()); // the STANDARD test is never saved

    EXPECT_FALSE(pScreen->LineBox(3)->isVisible());
    Click(pScreen->PhaseButton(DETAIL_THREE));
    EXPECT_TRUE(pScreen->LineBox(4)->isVisible());
    EXPECT_EQ(pScreen->LineBox(0)->text(), "L1");
    for (int i = 0; i < 5; ++i)
        Click(pScreen->LineBox(i));
    EXPECT_EQ(Cond().m_outOutput.m_aopOutputPort[PORT_CDN].m_aulInjBitFix[DETAIL_THREE], 16u);
    EXPECT_TRUE(pScreen->LineBox(4)->isChecked());
}

TEST_F(StandardScreenTest, ModelWithoutThreePhaseNeverShowsIt) {
    Open(MODEL_K2);
    EXPECT_FALSE(pScreen->PhaseButton(DETAIL_THREE)->isVisible());
    Click(pScreen->OutputButton(PORT_PULSE_OUT));
    EXPECT_FALSE(pScreen->PhaseGroup()->isVisible());
    Click(pScreen->OutputButton(PORT_CDN));
    EXPECT_TRUE(pScreen->PhaseGroup()->isVisible());
    EXPECT_FALSE(pScreen->PhaseButton(DETAIL_THREE)->isVisible());
}

TEST_F(StandardScreenTest, AChangeAfterARunAsksWithItsOwnFlag) {
    Open();
    CRunEngineProbe(engine).SetStandardUnchanged(false);
    dialog.QueueAnswer(COperatorDialog::Cancel);
    Click(pScreen->LevelButton(2));
    EXPECT_EQ(Cond().m_nTestLevel, 0);
    Click(pScreen->LevelButton(2)); // OK (the default answer): replayed once
    EXPECT_EQ(Cond().m_nTestLevel, 2);
    EXPECT_TRUE(pScreen->LevelButton(2)->isChecked());
    Click(pScreen->LevelButton(3));
    EXPECT_EQ(Cond().m_nTestLevel, 3);
    EXPECT_EQ(dialog.Texts().size(), 2);
    EXPECT_TRUE(engine.ManualUnchanged());
}

// The screen goes while a time box has the focus and holds a typed time: the
// box loses the focus as the window closes, and nothing is stored then.
TEST_F(StandardScreenTest, GoesWithoutStoringWhatATimeBoxHeld) {
    Open();
    const int32_t lBefore = Cond().m_lTestTime;
    QLineEdit* pBox = pScreen->TimeField(CStandardDlg::TIME_SEC).m_pBox;
    pBox->setFocus(Qt::MouseFocusReason);
    ASSERT_TRUE(pBox->hasFocus());
    pBox->selectAll();
    QTest::keyClicks(pBox, "7");
    ASSERT_EQ(pBox->text(), "7");
    pScreen.reset();
    EXPECT_EQ(Cond().m_lTestTime, lBefore);
}

} // namespace torvex
