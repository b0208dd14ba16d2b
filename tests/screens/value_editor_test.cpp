#include "ScreenFixture.h"
#include "gui/screens/ManualDlg.h"
#include "gui/screens/ValueDlg.h"
#include "gui/screens/ValuePage.h"

#include <QCheckBox>
#include <QLabel>
#include <QTabBar>

namespace torvex {

namespace {

struct ValueEditorTest : ScreenFixture {
    void SetUp() override {
        pScreen = std::make_unique<CManualDlg>(Session(), list);
        Show(*pScreen);
    }
    CValueDlg* Editor(VALUE_KIND e) const {
        return e == KIND_VOLT   ? pScreen->VoltEditor()
               : e == KIND_FREQ ? pScreen->FreqEditor()
                                : pScreen->AngleEditor();
    }
    const CValuePage::ROW& Row(VALUE_KIND e, int nType, int nRow) const {
        return Editor(e)->Page(nType)->Rows()[nRow];
    }
    CSettingData& Cond() { return doc.m_settingManual; }
    std::unique_ptr<CManualDlg> pScreen;
};

} // namespace

// The box always shows what is stored, after typing or a spin click.
TEST_F(ValueEditorTest, TypedAndSteppedValuesFollowTheRules) {
    struct Case {
        VALUE_KIND eKind;
        const char* pszStart; // typed first, to start from
        const char* pszTyped; // typed, or "up"/"down"/"ctrl-up" for a spin click
        const char* pszShown;
        int32_t lStored;
    };
    const Case cases[] = {
        {KIND_FREQ, "5", "0.055", "0.10", 100},      {KIND_VOLT, "500", "1234", "1230", 1230},
        {KIND_VOLT, "500", "1235", "1240", 1240},    {KIND_VOLT, "500", "6000", "5000", 5000},
        {KIND_FREQ, "5", "1234.5", "1200", 1200000}, {KIND_FREQ, "1.0", "down", "0.99", 990},
        {KIND_FREQ, "0.99", "up", "1.0", 1000},      {KIND_FREQ, "1.0", "up", "1.1", 1100},
        {KIND_VOLT, "500", "ctrl-up", "600", 600},   {KIND_ANGLE, "0", "400", "360", 360},
    };
    Cond().m_outOutput.m_aopOutputPort[PORT_CDN].m_nSync = 1;
    Cond().m_outOutput.m_aopOutputPort[PORT_CDN].m_valAngle.m_nValueType = VALUE_FIXED;
    pScreen->Refresh();
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.pszStart) + " then " + c.pszTyped);
        const CValuePage::ROW& row = Row(c.eKind, VALUE_FIXED, 0);
        Type(row.m_pBox, QString::fromUtf8(c.pszStart));
        const QString strAction = QString::fromUtf8(c.pszTyped);
        if (strAction == "up" || strAction == "down")
            Spin(row.m_pSpin, strAction == "up");
        else if (strAction == "ctrl-up")
            Spin(row.m_pSpin, true, Qt::ControlModifier);
        else
            Type(row.m_pBox, strAction);
        EXPECT_EQ(row.m_pBox->text(), QString::fromUtf8(c.pszShown));
        EXPECT_EQ(ValueOfKind(Cond(), c.eKind)->m_lValue, c.lStored);
    }
}

TEST_F(ValueEditorTest, FrequencySweepRunsDownwardsAndFollowsItsBand) {
    Click(Editor(KIND_FREQ)->TabBar());                        // "単独" is under the click: nothing
    Editor(KIND_FREQ)->TabBar()->setCurrentIndex(VALUE_SWEEP); // as the operator's tab click does
    ASSERT_EQ(Cond().m_valFreq.m_nValueType, VALUE_SWEEP);
    const auto& start = Row(KIND_FREQ, VALUE_SWEEP, 0);
    const auto& stop = Row(KIND_FREQ, VALUE_SWEEP, 1);
    const auto& step = Row(KIND_FREQ, VALUE_SWEEP, 2);

    Type(start.m_pBox, "5.0");
    Type(stop.m_pBox, "1.0");
    EXPECT_EQ(Cond().m_valFreq.m_lStart, 5000);
    EXPECT_EQ(Cond().m_valFreq.m_lEnd, 1000);
    EXPECT_EQ(start.m_pBox->text(), "5.0");
    EXPECT_EQ(stop.m_pBox->text(), "1.0");

    // A STOP in another band moves START and STEP into it.
    Type(start.m_pBox, "0.1");
    Type(stop.m_pBox, "0.5");
    Type(stop.m_pBox, "50");
    EXPECT_EQ(start.m_pBox->text(), "100");
    EXPECT_EQ(stop.m_pBox->text(), "50");
    EXPECT_EQ(step.m_pBox->text(), "1.0");
    EXPECT_EQ(Cond().m_valFreq.m_lStep, 1000);
}

TEST_F(ValueEditorTest, VoltageSweepKeepsStartAtMostStop) {
    Editor(KIND_VOLT)->TabBar()->setCurrentIndex(VALUE_SWEEP);
    const auto& start = Row(KIND_VOLT, VALUE_SWEEP, 0);
    const auto& stop = Row(KIND_VOLT, VALUE_SWEEP, 1);
    Type(stop.m_pBox, "1000");
    Type(start.m_pBox, "2000");
    EXPECT_EQ(start.m_pBox->text(), "1000");
    Type(start.m_pBox, "500");
    Type(stop.m_pBox, "300");
    EXPECT_EQ(stop.m_pBox->text(), "500");
}

TEST_F(ValueEditorTest, TheLastUsedValueStaysInUse) {
    Editor(KIND_VOLT)->TabBar()->setCurrentIndex(VALUE_VARIABLE);
    const VALUE_STRUCT& v = Cond().m_valVolt;
    int nUsed = 0;
    for (int i = 0; i < 5; ++i) {
        const auto& row = Row(KIND_VOLT, VALUE_VARIABLE, i);
        EXPECT_EQ(row.m_pUse->isChecked(), v.m_abUse[i] != 0);
        nUsed += v.m_abUse[i] != 0;
    }
    // Clear every box: the last one refuses.
    for (int i = 0; i < 5; ++i) {
        const auto& row = Row(KIND_VOLT, VALUE_VARIABLE, i);
        if (row.m_pUse->isChecked()) Click(row.m_pUse);
    }
    int nLeft = 0;
    for (int i = 0; i < 5; ++i) {
        nLeft += v.m_abUse[i] != 0;
        EXPECT_EQ(Row(KIND_VOLT, VALUE_VARIABLE, i).m_pUse->isChecked(), v.m_abUse[i] != 0);
    }
    EXPECT_GE(nUsed, 1);
    EXPECT_EQ(nLeft, 1);
}

TEST_F(ValueEditorTest, DisplayModeShowsLabelsAndNeverEdits) {
    CValueDlg editor;
    CSettingData cond = Cond();
    cond.m_valFreq.m_lValue = 2500;
    editor.Bind(&cond, KIND_FREQ, nullptr);
    editor.SetDisplayMode();
    editor.show();
    const auto& rows = editor.Page(VALUE_FIXED)->Rows();
    EXPECT_EQ(rows[0].m_pShown->text(), "2.5");
    EXPECT_EQ(rows[1].m_pShown->text(), "-----");
    EXPECT_EQ(rows[2].m_pShown->text(), "-----");
    EXPECT_FALSE(rows[0].m_pBox->isVisible());

    // The preview's tabs follow the condition, not the click.
    editor.TabBar()->setCurrentIndex(VALUE_SWEEP);
    EXPECT_EQ(cond.m_valFreq.m_nValueType, VALUE_FIXED);
    EXPECT_EQ(editor.ShownType(), VALUE_FIXED);

    cond.m_valFreq.m_nValueType = VALUE_SWEEP;
    cond.m_valFreq.m_lStart = 1000;
    cond.m_valFreq.m_lEnd = 3000;
    cond.m_valFreq.m_lStep = 500;
    editor.SelectType(VALUE_SWEEP);
    const auto& sweep = editor.Page(VALUE_SWEEP)->Rows();
    EXPECT_EQ(sweep[0].m_pShown->text() + "/" + sweep[1].m_pShown->text() + "/" + sweep[2].m_pShown->text(),
              "1.0/3.0/0.50");

    editor.ShowEmpty();
    EXPECT_EQ(editor.ShownType(), VALUE_FIXED);
    EXPECT_EQ(rows[0].m_pShown->text(), "-----");
}

// An editor that goes while one of its boxes has the focus: the box loses the
// focus as it goes, and whatever that calls on the editor finds it whole. What
// was typed but not yet applied is dropped.
TEST_F(ValueEditorTest, GoesSafelyWhileABoxHasTheFocus) {
    const CSettingData before = Cond();
    for (const bool bOwnWindow : {true, false}) {
        SCOPED_TRACE(bOwnWindow ? "an editor window" : "the editors of the manual screen");
        std::unique_ptr<CValueDlg> pEditor;
        if (bOwnWindow) {
            pEditor = std::make_unique<CValueDlg>();
            pEditor->Bind(&Cond(), KIND_VOLT, pScreen.get());
            Show(*pEditor);
        } else {
            Show(*pScreen);
        }
        CValueDlg* pTarget = pEditor ? pEditor.get() : Editor(KIND_VOLT);
        QLineEdit* pBox = pTarget->Page(VALUE_FIXED)->Rows()[0].m_pBox;
        pBox->setFocus(Qt::MouseFocusReason);
        ASSERT_TRUE(pBox->hasFocus());
        QTest::keyClicks(pBox, "9");

        // Asked through the base: the editor's own part may be gone by then.
        QWidget* pWhole = pTarget;
        QStringList left;
        QObject::connect(static_cast<CLeaveLineEdit*>(pBox), &CLeaveLineEdit::left,
                         [&] { left << QString::fromLatin1(pWhole->metaObject()->className()); });
        if (bOwnWindow)
            pEditor.reset();
        else
            pScreen.reset();
        for (const QString& strClass : left)
            EXPECT_EQ(strClass.toStdString(), "torvex::CValueDlg");
        EXPECT_EQ(Cond().m_valVolt.m_lValue, before.m_valVolt.m_lValue);
    }
}

} // namespace torvex
