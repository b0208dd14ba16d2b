#include "config/TestProperty.h"
#include "files/TorvexDoc.h"
#include "instrument/TorvexCntl.h"
#include "results/StepListView.h"
#include "run/ConditionChange.h"
#include "run/RunEngine.h"
#include "support/RecordingRunView.h"
#include "support/ScriptedDialog.h"

#include <gtest/gtest.h>

namespace {

// No instrument is needed: the engine only keeps its flags and read-outs here.
struct ConditionChangeTest : ::testing::Test {
    ConditionChangeTest() : cntl(false), engine(cntl, doc, property, dialog, view) {
        doc.SetMachine(MODEL_K2, 0);
        doc.NewDocument();
    }
    CTorvexCntl cntl;
    CTorvexDoc doc;
    CTestProperty property;
    CScriptedDialog dialog;
    CRecordingRunView view;
    CRecordingList list;
    CRunEngine engine;
};

} // namespace

TEST_F(ConditionChangeTest, TheThousandStepBoundaryBlocksAndFreesTheStart) {
    CSettingData& c = doc.m_settingManual;
    c.m_ulPola = 3;
    c.m_valVolt = VALUE_STRUCT{VALUE_VARIABLE, 500, 0, 0, 0, {1, 1, 1, 1, 1}, {500, 600, 700, 800, 900}};
    c.m_valFreq = VALUE_STRUCT{VALUE_SWEEP, 0, 1000, 101000, 1000, {}, {}};
    property.m_timeStartManual = 1234;
    doc.m_nCurStep = 7;

    EXPECT_EQ(ManualConditionChanged(doc, engine, property, list), 1010);
    EXPECT_EQ(list.nLimitShown, 1010);
    EXPECT_EQ(list.nRows, -1); // the list is not refilled
    EXPECT_FALSE(engine.m_bStartAllowed);
    EXPECT_FALSE(view.bStartEnabled);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(property.m_timeStartManual, 0);

    c.m_valFreq.m_lEnd = 100000;
    EXPECT_EQ(ManualConditionChanged(doc, engine, property, list), 1000);
    EXPECT_EQ(list.nRows, 1000);
    EXPECT_EQ(list.nSelected, 0);
    EXPECT_EQ(doc.m_nCurStep, 0);
    EXPECT_TRUE(engine.m_bStartAllowed);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(engine.m_lShownTotal, 1000 * 60);
}

TEST_F(ConditionChangeTest, AChangeAfterARunAsksOnce) {
    EXPECT_EQ(ConfirmChange(engine, 1, dialog), CONFIRM_PROCEED); // never run: no question
    engine.m_bManualUnchanged = 0;
    engine.m_bManualLogOwed = 0;
    engine.m_nRunState = 2;
    EXPECT_EQ(ConfirmChange(engine, 1, dialog), CONFIRM_DISCARD); // running: input dropped, nothing asked
    EXPECT_TRUE(dialog.Texts().isEmpty());

    engine.m_nRunState = 0;
    dialog.QueueAnswer(COperatorDialog::Cancel);
    EXPECT_EQ(ConfirmChange(engine, 1, dialog), CONFIRM_DISCARD);
    EXPECT_FALSE(engine.m_bManualUnchanged);
    EXPECT_EQ(ConfirmChange(engine, 1, dialog), CONFIRM_CONFIRMED);
    EXPECT_TRUE(engine.m_bManualUnchanged);
    EXPECT_TRUE(engine.m_bManualLogOwed);
    EXPECT_EQ(ConfirmChange(engine, 1, dialog), CONFIRM_PROCEED);
    EXPECT_EQ(dialog.Texts().size(), 2);
    EXPECT_EQ(
        dialog.Texts().first(),
        QStringLiteral("設定を変更すると試験リストの判定やコメントが初期化されます。\nOKをクリックすると変更"
                       "が可能となりますがよろしいですか？"));
    // The STANDARD screen keeps its own flag.
    engine.m_bStandardUnchanged = 0;
    EXPECT_EQ(ConfirmChange(engine, 0, dialog), CONFIRM_CONFIRMED);
}
